#pragma once

#include "core/PhoneBook.h"
#include "formats/CsvText.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// The mapped import: any comma-separated file becomes a table of numbered fields, and
// the rows the user picks become entries 0000, 0001, … of a new phone book.
namespace CsvImport {

// The text of a file: its encoding as detectEncoding tells.
QString decode(const QByteArray &bytes);
// The error of an empty file, which has no first line to work from.
QString emptyFileText(const QString &path);

// The fields offered for mapping: far more than any address book has (Outlook writes
// 92), and a bound on what a file whose first line is mostly commas makes the window do.
constexpr int MaxFields = 256;

// The number of fields of every row: the fields of the file's first record (its commas
// outside quotes plus one), at most MaxFields.
int fieldCount(QStringView firstRecord);
// A record split into fieldCount fields as the import splits it (quoted fields read as
// quoting reads them), padded with empty fields or cut; "[SP]" is deleted from every
// field but the first.
QStringList splitRow(QStringView record, int fieldCount);

// The rows of a file: its text and where each non-empty record lies in it (a quoted
// field may carry a record over several lines). A field is split out when it is asked
// for, so a large file opens without a string per row or per field.
struct Table {
    int fieldCount = 0;
    QString text;                      // the whole file
    std::vector<CsvText::Record> rows; // its non-empty records, row 1 first
    int unclosedRow = 0;               // the row (from 1) whose quoted field never closed
    bool fieldsCut = false;            // the first record has more than MaxFields fields

    int rowCount() const { return static_cast<int>(rows.size()); }
    QStringView row(int row) const { return QStringView(text).sliced(rows[row].start, rows[row].length); }
    // Field (from 0) of row (from 0), as splitRow gives it.
    QString field(int row, int field) const;
    QStringList fields(int row) const;
    // What the user is told once the file is read: a quote that never closed, fields cut.
    QStringList notices() const;
};

// The table of a file's text; progress(row, rows) is called after row (from 1) is taken.
Table buildTable(QString text, const std::function<void(int, int)> &progress = {});

// The notices of Table.
QString unclosedQuoteText(int row);
QString fieldsCutText();

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
// reset is New's progress: 1 … 4000 in order, each slot reported just before it is
// reset and filled.
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
