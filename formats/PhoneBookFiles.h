#pragma once

#include "core/PhoneBook.h"
#include "formats/XmlPhoneBook.h"

#include <QString>
#include <QStringList>

// Opening and storing phone-book files, shared by the main window and dalvino-cli.
namespace PhoneBookFiles {

// ".xml" and ".leg" in any letter case.
bool isPhoneBookFile(const QString &path);
bool endsWithLeg(const QString &path);

// Reads a .xml file, or a .leg file through the converter, into a fresh phone book named
// after path. The working file is deleted once it has been read, also when its contents
// are rejected. Throws DalvinoError when a file cannot be read or converted.
XmlReadOutcome load(const QString &path, const PhoneBook &current);

// Where Save puts the phone book of a model: the document's own name, or that name with
// the extension the model keeps its files in.
struct SaveTarget {
    QString path;
    bool viaConverter = false; // a .leg file made by the converter
    bool renamed = false;      // path differs from the document's name
};
SaveTarget saveTarget(const QString &fileName, const DeviceModel &model);

// "保存しました", or "[old]を[new]として保存しました" when the document takes a new name.
QString savedText(const QString &fileName, const SaveTarget &target);

// Writes the text to the target: the XML text directly, or through the converter.
void store(const QString &text, const SaveTarget &target);

// The path with its last extension replaced (added when there is none).
QString replaceExtension(const QString &path, const QString &extensionWithoutDot);

} // namespace PhoneBookFiles
