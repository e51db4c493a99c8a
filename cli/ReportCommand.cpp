#include "cli/ReportCommand.h"

#include "cli/CliFormats.h"
#include "formats/TextFile.h"

namespace {

// The report lists entries: the exit status of a check that found problems.
constexpr int ExitProblemsFound = 1;

} // namespace

int runReportCommand(const CliCommand &command, const QStringList &arguments, QString (*report)(const PhoneBook &book),
                     const QString &cleanReport)
{
    QStringList paths;
    QString reportPath;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QStringLiteral("--report")) {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).isEmpty())
                return usageError(command, QStringLiteral("--report needs a file"));
            reportPath = arguments.at(++i);
        } else if (argument.startsWith(QStringLiteral("--"))) {
            return usageError(command, QStringLiteral("Unknown option \"%1\"").arg(argument));
        } else {
            paths << argument;
        }
    }
    if (paths.size() != 1)
        return usageError(command, QStringLiteral("%1 needs exactly one file").arg(QLatin1StringView(command.name)));

    const CliInputReader read = inputReader(paths.first());
    if (!read)
        return usageError(command, QStringLiteral("Cannot read \"%1\": the input must end in %2")
                                       .arg(paths.first(), inputExtensions().join(QStringLiteral(", "))));
    const CliInput input = read(paths.first());
    for (const QString &message : input.messages)
        printMessage(message);

    const QString text = report(input.book);
    // The file first: a report that cannot be stored is an error, whatever it says.
    if (!reportPath.isEmpty())
        writeText(reportPath, text);
    printData(text.endsWith(u'\n') ? text : text + u'\n');
    return text == cleanReport ? ExitOk : ExitProblemsFound;
}
