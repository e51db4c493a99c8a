#include "cli/CliCommand.h"
#include "cli/CliFormats.h"
#include "core/Vocabulary.h"

#include <algorithm>

namespace {

int runInfo(const QCommandLineParser &arguments);

} // namespace

extern const CliCommand infoCommand = {
    "info",
    "info IN",
    "Reads the phone book IN and prints one \"key: value\" line each: model, customer\n"
    "name, customer number, write mode, MAC address, registered entries, set groups.\n",
    {},
    &runInfo};

namespace {

int runInfo(const QCommandLineParser &parsed)
{
    const QStringList arguments = parsed.positionalArguments();
    if (arguments.size() != 1)
        return usageError(infoCommand, QStringLiteral("info needs exactly one file"));
    const CliInputReader read = inputReader(arguments.first());
    if (!read)
        return usageError(infoCommand, QStringLiteral("Cannot read \"%1\": the input must end in %2")
                                           .arg(arguments.first(), inputExtensions().join(QStringLiteral(", "))));
    const CliInput input = read(arguments.first());
    for (const QString &message : input.messages)
        printMessage(message);

    const PhoneBook &book = input.book;
    const auto entries = std::count_if(book.entries.begin(), book.entries.end(),
                                       [](const DialEntry &entry) { return entry.isRegistered(); });
    const auto groups =
        std::count_if(book.groups.begin(), book.groups.end(), [](const GroupSetting &group) { return group.isSet(); });
    QString text;
    text += QStringLiteral("model: ") + book.model().nameText() + u'\n';
    text += QStringLiteral("customer-name: ") + book.UserName + u'\n';
    text += QStringLiteral("customer-number: ") + book.UserNo + u'\n';
    text += QStringLiteral("write-mode: ") + Vocabulary::writeModes().value(book.WriteMode) + u'\n';
    text += QStringLiteral("mac-address: ") + book.MACAddress + u'\n';
    text += QStringLiteral("entries: ") + QString::number(entries) + u'\n';
    text += QStringLiteral("groups: ") + QString::number(groups) + u'\n';
    printData(text);
    return ExitOk;
}

} // namespace
