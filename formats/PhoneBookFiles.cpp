#include "formats/PhoneBookFiles.h"

#include "formats/LegConverter.h"
#include "formats/TextFile.h"

#include <QFileInfo>

namespace PhoneBookFiles {

namespace {

QString lowerSuffix(const QString &path)
{
    return QFileInfo(path).suffix().toLower();
}

} // namespace

bool isPhoneBookFile(const QString &path)
{
    const QString suffix = lowerSuffix(path);
    return suffix == QStringLiteral("xml") || suffix == QStringLiteral("leg");
}

bool endsWithLeg(const QString &path)
{
    return path.right(4).compare(QStringLiteral(".leg"), Qt::CaseInsensitive) == 0;
}

XmlReadOutcome load(const QString &path, const PhoneBook &current)
{
    const bool leg = lowerSuffix(path) == QStringLiteral("leg");
    const QString text = leg ? LegConverter::readLeg(path) : decodePhoneBookFile(readFileBytes(path));
    XmlReadOutcome outcome = readXmlPhoneBookText(text, current, leg);
    // Opening an .xml file clears the working file too; a .leg file's was removed once read.
    if (!leg)
        LegConverter::removeWorkingFile();
    if (outcome.accepted)
        outcome.book.FileName = path;
    return outcome;
}

QString replaceExtension(const QString &path, const QString &extensionWithoutDot)
{
    const qsizetype separator = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const qsizetype dot = path.lastIndexOf(u'.');
    const QString stem = dot > separator ? path.left(dot) : path;
    return stem + u'.' + extensionWithoutDot;
}

SaveTarget saveTarget(const QString &fileName, const DeviceModel &model)
{
    SaveTarget target;
    target.viaConverter = model.keptAsLeg;
    // An XML phone book only ever goes to an .xml name: a document read from a legacy
    // CSV file keeps that file's name, and the CSV file must not be overwritten by XML.
    const QString extension = model.keptAsLeg ? QStringLiteral(".leg") : QStringLiteral(".xml");
    if (fileName.right(4).compare(extension, Qt::CaseInsensitive) == 0) {
        target.path = fileName;
    } else {
        target.path = replaceExtension(fileName, extension.mid(1));
        target.renamed = true;
    }
    return target;
}

QString savedText(const QString &fileName, const SaveTarget &target)
{
    if (!target.renamed)
        return QStringLiteral("保存しました");
    return QStringLiteral("[%1]を[%2]として保存しました")
        .arg(QFileInfo(fileName).fileName(), QFileInfo(target.path).fileName());
}

void store(const QString &text, const SaveTarget &target)
{
    if (target.viaConverter)
        LegConverter::writeLeg(target.path, text);
    else
        writeText(target.path, text);
}

} // namespace PhoneBookFiles
