#pragma once

#include "core/PhoneBook.h"
#include "formats/TextFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// The mapped import: any comma-separated file becomes a table of numbered fields, and
// the rows the user picks become entries 0000, 0001, … of a new phone book.
namespace CsvImport {

// A file without a byte-order mark is read as UTF-8 when it is valid UTF-8 holding at
// least one multi-byte sequence (what address-book programs write today), otherwise as
// code page 932; a byte-order mark decides as everywhere else.
bool looksLikeUtf8(const QByteArray &bytes);
QString decode(const QByteArray &bytes);
// The error of an empty file, which has no first line to work from.
QString emptyFileText(const QString &path);

// The number of fields of every row: the commas of the file's first line plus one.
int fieldCount(QStringView firstLine);
// A line split at every comma (no quoting), padded with empty fields or cut to
// fieldCount fields; "[SP]" is deleted from every field but the first.
QStringList splitRow(QStringView line, int fieldCount);

// The rows of a file: its text and where each non-empty line lies in it. A field is
// split out when it is asked for, so a large file opens without a string per line or
// per field.
struct Table {
    int fieldCount = 0;
    QString text;               // the whole file
    std::vector<LineSpan> rows; // its non-empty lines, row 1 first

    int rowCount() const { return static_cast<int>(rows.size()); }
    QStringView row(int row) const { return QStringView(text).mid(rows[row].start, rows[row].length); }
    // Field (from 0) of row (from 0), as splitRow gives it.
    QString field(int row, int field) const;
    QStringList fields(int row) const { return splitRow(this->row(row), fieldCount); }
};

// The table of a file's text; progress(i) is called after row i (from 1) is taken.
Table buildTable(QString text, const std::function<void(int)> &progress = {});
// Non-empty lines of a file's text, the gauge maximum of buildTable.
int rowCount(QStringView text);

// Row limits of the start and end row selectors.
constexpr int MaxStartRow = 4000;
constexpr int MaxEndRow = 4001;
int clampStartRow(int row);
int clampEndRow(int row);

// Which field (from 0) each target takes; -1 when its selector has nothing chosen.
struct Mapping {
    int name = -1;
    int kana = -1;
    int phone = -1;
    int group = -1;
    int ring = -1;
    int memo = -1;
};

struct Request {
    int startRow = 0; // rows from 1; 0 means not set
    int endRow = 0;
    Mapping mapping;
};

// The checks before an import, in their order; the first broken one's message.
std::optional<QString> check(const Request &request);
QString rowsNotSetText();
QString tooManyRowsText();
QString fieldChoiceText();
// The import stopped at a row that could not be converted.
QString unexpectedFieldText();

// Conversions of a field text into the entry's fields.
QString hiraganaToKatakana(const QString &text);
QString toName(const QString &text);
QString toKana(const QString &text);
QString toPhone(const QString &text);
QString toMemo(const QString &text);
// The group and the ring tone are texts of the vocabularies, never of the field.
QString toGroup(QStringView text);
QString toRingTone(QStringView text, int model);

struct Result {
    int imported = 0; // rows turned into entries
    // Set when a row could not be converted; the rows before it stay in the book.
    std::optional<QString> failure;
};

// Imports into book itself: New (model, write mode and MAC address kept), Modified
// set, then rows startRow..endRow into slots 0000 onward. The request must have passed
// check; a mapping that names a field the table does not have changes nothing.
// reset is New's progress: 1 … 4000 in order, called from the calling thread. A large
// import fills part of the rows on a second thread, so nothing else may use book until
// it returns.
Result importInto(PhoneBook &book, const Table &table, const Request &request,
                  const std::function<void(int)> &reset = {});

struct Outcome {
    PhoneBook book;   // the new document, Modified set
    int imported = 0; // rows turned into entries
    std::optional<QString> failure;
};

// The same into a new phone book that takes what New keeps from current.
Outcome import(const PhoneBook &current, const Table &table, const Request &request,
               const std::function<void(int)> &reset = {});

} // namespace CsvImport
