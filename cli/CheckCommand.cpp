#include "cli/ReportCommand.h"
#include "core/Analysis.h"

namespace {

int runCheck(const QCommandLineParser &arguments);

} // namespace

extern const CliCommand checkCommand = {
    "check",
    "check IN [--report FILE]",
    "Reads the phone book IN and runs the data analysis of the program over its\n"
    "entries in slot order: the report goes to standard output (a line end is added\n"
    "after the no-problems sentence), and with --report to FILE exactly as the program\n"
    "saves it (code page 932, CR LF). Exit status 0 when no problem was found, 1 when\n"
    "the report lists entries, 2 on error.\n",
    {ReportOption},
    &runCheck};

namespace {

int runCheck(const QCommandLineParser &arguments)
{
    return runReportCommand(
        checkCommand, arguments, [](const PhoneBook &book) { return analysisReport(book); }, noProblemsReport());
}

} // namespace
