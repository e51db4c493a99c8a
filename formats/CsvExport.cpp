#include "formats/CsvExport.h"

#include "formats/TextFile.h"

#include <QFileInfo>

namespace CsvExport {

QString header()
{
    return QStringLiteral("短縮番号,名前,カナ,電話番号,グループ,着信音,登録実装,着信先,メモ");
}

QString line(const DialEntry &entry)
{
    qsizetype size = entry.No.size() + DialEntry::FieldCount;
    for (const QString &field : entry.fields)
        size += field.size();
    QString text;
    text.reserve(size);
    text += entry.No;
    for (const QString &field : entry.fields) {
        text += u',';
        text += field;
    }
    return text;
}

QStringList lines(const PhoneBook &book)
{
    QStringList result;
    result.reserve(static_cast<qsizetype>(book.entries.size()) + 1);
    result << header();
    for (const DialEntry &entry : book.entries)
        result << line(entry);
    return result;
}

QStringList notices(const PhoneBook &book)
{
    Cp932Losses losses;
    for (const DialEntry &entry : book.entries)
        losses.checkEntry(entry.No, line(entry));
    if (const std::optional<QString> lost = losses.notice())
        return {*lost};
    return {};
}

void write(const QString &path, const PhoneBook &book)
{
    writeTextLines(path, lines(book));
}

QString savedText(const QString &path)
{
    return QStringLiteral("［%1］を保存しました").arg(QFileInfo(path).fileName());
}

} // namespace CsvExport
