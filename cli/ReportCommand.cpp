#include "cli/ReportCommand.h"

#include "cli/CliFormats.h"
#include "formats/TextFile.h"

namespace {

// The report lists entries: the exit status of a check that found problems.
constexpr int ExitProblemsFound = 1;

} // namespace

int runReportCommand(const CliCommand &command, const QCommandLineParser &arguments,
                     QString (*report)(const PhoneBook &book), const QString &cleanReport)
{
    const QString reportOption = QString::fromLatin1(ReportOption.name);
    const QString reportPath = arguments.value(reportOption);
    if (arguments.isSet(reportOption) && reportPath.isEmpty())
        return usageError(command, QString::fromUtf8(ReportOption.missingValue));
    const QStringList paths = arguments.positionalArguments();
    if (paths.size() != 1)
        return usageError(command, QStringLiteral("%1 needs exactly one file").arg(QLatin1StringView(command.name)));

    const CliInputReader read = inputReader(command, paths.first());
    if (!read)
        return ExitError;
    const CliInput input = readReported(read, paths.first());

    const QString text = report(input.book);
    // The file first: a report that cannot be stored is an error, whatever it says.
    if (!reportPath.isEmpty())
        writeText(reportPath, text);
    printData(text.endsWith(u'\n') ? text : text + u'\n');
    return text == cleanReport ? ExitOk : ExitProblemsFound;
}
