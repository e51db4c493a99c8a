#pragma once

#include "core/PhoneBook.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Speed-dial CSV files of the older phone series: three fixed layouts, recognised by
// the header line, read into a new phone book.
namespace LegacyCsv {

// The header's comma text: commas, spaces and control characters separate; a field in
// double quotes keeps its commas and spaces and reads a doubled quote as one.
QStringList splitCommaText(const QString &line);
// A data line split at every comma; the text after the last comma is a field only when
// it is not empty.
QStringList splitDataLine(const QString &line);

// The reading rules of one layout, a row of a table.
struct Layout {
    const char16_t *signature; // header field 1 ("PQ---R", "NV300R", "CW214R")
    int nameField;             // data fields, from 1
    int kanaField;
    int numberField;
    const char16_t *plainCodes[2]; // header field 15 of the plain variants
    const char16_t *stopAt600Code; // the plain variant that ends at a data line "600"
    int model;                     // model recorded (a DeviceModel index)
    int modelWith0x08;             // model recorded when header field 4 is "0x08"
};

// The layout a header names; nothing when the file is no legacy CSV file.
const Layout *recognise(const QStringList &headerFields);

QString notLegacyText();        // "NVシリーズの短縮データではありません"
QString countText(int count);   // "25件のデータが登録されています"
QString notReadText(int count); // records beyond the 4000th
QString missingFieldText(int line, int field);

struct Outcome {
    enum class Status { Read, NotLegacy, Failed };
    Status status = Status::NotLegacy;
    PhoneBook book;      // Read: the new document; otherwise not to be used
    int count = 0;       // slots taken
    int model = 0;       // the layout's model (SyubetuFlag of book)
    QStringList notices; // shown after the count message
    QString error;       // NotLegacy or Failed: the text to show
};

// Hooks for the progress window around the two phases of a read.
struct Progress {
    std::function<void()> resetting;    // before the phone book is reset
    std::function<void(int)> resetStep; // New's progress, 1 … 4000
    std::function<void()> reading;      // before the data lines are read
};

// Reads the lines of a file: the document is current reset as New does, named after
// path and not modified. current itself is never changed.
Outcome parse(const QStringList &lines, const QString &path, const PhoneBook &current, const Progress &progress = {});
// Reads the file; throws DalvinoError when it cannot be read or is empty.
Outcome read(const QString &path, const PhoneBook &current, const Progress &progress = {});

} // namespace LegacyCsv
