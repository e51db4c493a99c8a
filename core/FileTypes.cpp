#include "core/FileTypes.h"

std::optional<QString> extensionOfFileType(const QString &filter, int n)
{
    if (n <= 0)
        return std::nullopt;
    // The pattern of the n-th type starts after the (2n − 1)-th bar.
    const int wanted = 2 * n - 1;
    qsizetype bar = -1;
    for (int found = 0; found < wanted; ++found) {
        bar = filter.indexOf(u'|', bar + 1);
        if (bar < 0)
            return std::nullopt;
    }
    QStringView pattern = QStringView(filter).mid(bar + 1);
    // Both ends are found before either cut; the ";" only counts inside this pattern.
    const qsizetype endOfPattern = pattern.indexOf(u'|');
    const qsizetype endOfMask = pattern.indexOf(u';');
    if (endOfPattern >= 0)
        pattern = pattern.left(endOfPattern);
    if (endOfMask >= 0 && endOfMask < pattern.size())
        pattern = pattern.left(endOfMask);
    const qsizetype dot = pattern.indexOf(u'.');
    if (dot < 0)
        return QString();
    return pattern.mid(dot).toString();
}

QString defaultExtFrom(const QString &extension)
{
    return extension.mid(1);
}

QString replaceFileExtension(const QString &name, const QString &extension)
{
    qsizetype dot = name.size();
    for (qsizetype i = name.size() - 1; i >= 0; --i) {
        const QChar c = name.at(i);
        if (c == u'/' || c == u'\\' || c == u':')
            break;
        if (c == u'.') {
            dot = i;
            break;
        }
    }
    return name.left(dot) + extension;
}

QString fileNameFieldForType(const QString &field, const QString &extension)
{
    if (field.isEmpty())
        return QStringLiteral("*") + extension;
    return replaceFileExtension(field, extension);
}

QList<FileType> fileTypesOf(const QString &filter)
{
    QList<FileType> types;
    if (filter.isEmpty())
        return types;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        types.append({parts.at(i), parts.at(i + 1).split(u';', Qt::SkipEmptyParts)});
    return types;
}
