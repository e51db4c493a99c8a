#pragma once

#include <QStringList>
#include <QStringView>
#include <vector>

// Comma-separated text as address-book programs and spreadsheets write it: a field that
// starts with a double quote runs to its closing quote and may hold commas and line
// breaks, "" inside it is one quote, and the enclosing quotes are not part of its text.
// A quote anywhere else is an ordinary character, and text after a closing quote up to
// the next comma belongs to the field. Nothing is trimmed. A text without quotes splits
// at every comma and line end.
namespace CsvText {

// Where a record lies in its text. A record ends at a line end outside quotes (CR LF, a
// lone CR or a lone LF); a quoted field that never closes ends at the end of its line.
struct Record {
    qsizetype start = 0;
    qsizetype length = 0;  // without the line end; 0 for an empty line
    bool quoted = false;   // holds a double quote
    bool unclosed = false; // a quoted field of it never closed
};

// Every record of text in order, empty lines included.
std::vector<Record> records(QStringView text);

// The first fields of a record, at most limit of them (a record has its separating
// commas plus one). A line break inside a quoted field becomes one space, since a phone
// book's field is one line.
QStringList splitFields(QStringView record, int limit);

} // namespace CsvText
