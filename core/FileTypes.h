#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// File types of the file dialogs, written as pairs of description and pattern joined by
// "|": "TXTファイル|*.txt|電話帳ファイル|*.csv;*.leg". A pattern may hold several masks
// separated by ";".

// The extension of the n-th type (1-based): the first mask of its pattern from its first
// "." on, ".txt" for "*.txt"; empty for a pattern without a dot. Nothing when the filter
// has no n-th type.
std::optional<QString> extensionOfFileType(const QString &filter, int n);

// The default extension of a dialog from an extension: without its dot (".txt" → "txt").
QString defaultExtFrom(const QString &extension);

// The name with its extension replaced: the old extension runs from the last "." after the
// last path separator or drive colon; a name without one gets the extension appended, and
// an empty extension removes the old one.
QString replaceFileExtension(const QString &name, const QString &extension);

// The file-name field after the user picked a type with that extension: the name with the
// extension replaced, or "*" and the extension when the field is empty.
QString fileNameFieldForType(const QString &field, const QString &extension);

// The types as the pairs of the filter, for a dialog that lists them: each pair's
// description and its masks.
struct FileType {
    QString description;
    QStringList masks;
};
QList<FileType> fileTypesOf(const QString &filter);
