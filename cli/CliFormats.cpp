#include "cli/CliFormats.h"

#include "core/DalvinoError.h"
#include "formats/AppPaths.h"
#include "formats/LegConverter.h"
#include "formats/PhoneBookFiles.h"
#include "formats/TextFile.h"
#include "formats/XmlPhoneBook.h"

#include <QDir>
#include <QFileInfo>

namespace {

struct Reader {
    const char *extension;
    CliInputReader read;
};
struct Writer {
    const char *extension;
    CliOutputWriter write;
};

const Reader Readers[] = {
    {"xml", &readPhoneBookInput},
    {"leg", &readPhoneBookInput},
    {"csv", &readLegacyCsvInput},
};
const Writer Writers[] = {
    {"xml", &writeXmlOutput},
    {"leg", &writeLegOutput},
    {"csv", &writeCsvOutput},
};

QString lowerSuffix(const QString &path)
{
    return QFileInfo(path).suffix().toLower();
}

// The converter needs its working folder, which the GUI makes at start-up.
void ensureWorkingFolder()
{
    QDir().mkpath(AppPaths::workingFolder());
}

} // namespace

CliInputReader inputReader(const QString &path)
{
    for (const Reader &reader : Readers) {
        if (lowerSuffix(path) == QLatin1StringView(reader.extension))
            return reader.read;
    }
    return nullptr;
}

CliOutputWriter outputWriter(const QString &path)
{
    for (const Writer &writer : Writers) {
        if (lowerSuffix(path) == QLatin1StringView(writer.extension))
            return writer.write;
    }
    return nullptr;
}

QStringList inputExtensions()
{
    QStringList list;
    for (const Reader &reader : Readers)
        list << QStringLiteral(".") + QLatin1StringView(reader.extension);
    return list;
}

QStringList outputExtensions()
{
    QStringList list;
    for (const Writer &writer : Writers)
        list << QStringLiteral(".") + QLatin1StringView(writer.extension);
    return list;
}

CliInput readPhoneBookInput(const QString &path)
{
    ensureWorkingFolder();
    const XmlReadOutcome outcome = PhoneBookFiles::load(path, PhoneBook());
    if (!outcome.accepted)
        throw DalvinoError(outcome.rejection);
    CliInput input{outcome.book, outcome.messages()};
    input.book.Syubetu = input.book.SyubetuFlag;
    return input;
}

QStringList writeXmlOutput(const PhoneBook &book, const QString &path)
{
    const XmlPhoneBookText text = buildXmlPhoneBook(book);
    writeText(path, text.text);
    return text.notices;
}

QStringList writeLegOutput(const PhoneBook &book, const QString &path)
{
    ensureWorkingFolder();
    const XmlPhoneBookText text = buildXmlPhoneBook(book);
    LegConverter::writeLeg(path, text.text);
    return text.notices;
}
