#include "cli/CliCommand.h"
#include "cli/CliFormats.h"
#include "core/Analysis.h"
#include "formats/TextFile.h"

namespace {

int runCheck(const QCommandLineParser &arguments);

// The report lists entries: the exit status of a check that found problems.
constexpr int ExitProblemsFound = 1;

constexpr const char *ReportNeedsAFile = "--report needs a file";

} // namespace

extern const CliCommand checkCommand = {
    "check",
    "check IN [--report FILE]",
    "Reads the phone book IN and runs the data analysis of the program over its\n"
    "entries in slot order: the report goes to standard output (a line end is added\n"
    "after the no-problems sentence), and with --report to FILE exactly as the program\n"
    "saves it (code page 932, CR LF). Exit status 0 when no problem was found, 1 when\n"
    "the report lists entries, 2 on error.\n",
    {{"report", ReportNeedsAFile}},
    &runCheck};

namespace {

int runCheck(const QCommandLineParser &arguments)
{
    const QString reportPath = arguments.value(QStringLiteral("report"));
    if (arguments.isSet(QStringLiteral("report")) && reportPath.isEmpty())
        return usageError(checkCommand, QString::fromUtf8(ReportNeedsAFile));
    const QStringList paths = arguments.positionalArguments();
    if (paths.size() != 1)
        return usageError(checkCommand, QStringLiteral("check needs exactly one file"));

    const CliInputReader read = inputReader(paths.first());
    if (!read)
        return usageError(checkCommand, QStringLiteral("Cannot read \"%1\": the input must end in %2")
                                            .arg(paths.first(), inputExtensions().join(QStringLiteral(", "))));
    const CliInput input = read(paths.first());
    for (const QString &message : input.messages)
        printMessage(message);

    const QString report = analysisReport(input.book);
    // The file first: a report that cannot be stored is an error, whatever it says.
    if (!reportPath.isEmpty())
        writeText(reportPath, report);
    printData(report.endsWith(u'\n') ? report : report + u'\n');
    return report == noProblemsReport() ? ExitOk : ExitProblemsFound;
}

} // namespace
