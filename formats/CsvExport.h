#pragma once

#include "core/PhoneBook.h"

#include <QString>
#include <QStringList>

// The CSV export: a header and one line per entry in the list's order, every field
// written as stored (no quoting, no escaping), so the file always has 4001 lines.
namespace CsvExport {

QString header(); // "短縮番号,名前,カナ,電話番号,グループ,着信音,登録実装,着信先,メモ"
QString line(const DialEntry &entry);
QStringList lines(const PhoneBook &book);

// What to tell the user before the export is written: characters code page 932 lacks.
QStringList notices(const PhoneBook &book);

// Writes the export atomically in code page 932 with CR LF line ends; throws
// DalvinoError with the file error text when the file cannot be written.
void write(const QString &path, const PhoneBook &book);

// "［data.csv］を保存しました": the file name without its folder.
QString savedText(const QString &path);

} // namespace CsvExport
