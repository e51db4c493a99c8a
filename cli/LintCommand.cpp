#include "cli/ReportCommand.h"
#include "core/NumberLint.h"

namespace {

int runLint(const QCommandLineParser &arguments);

} // namespace

extern const CliCommand lintCommand = {
    "lint",
    "lint IN [--report FILE]",
    "Reads the phone book IN and checks its numbers in slot order, as the program's\n"
    "number and duplicate check does: numbers that cannot be numbers of their kind\n"
    "(libphonenumber, region JP; extensions, service numbers and numbers with *, #, E,\n"
    "[ or ] are not judged), the same number in several slots, and the same name in\n"
    "several slots with different numbers. The report goes to standard output (a line\n"
    "end is added after the no-problems sentence), and with --report to FILE exactly as\n"
    "the program saves it (code page 932, CR LF). Exit status 0 when nothing was found,\n"
    "1 when the report lists entries, 2 on error.\n",
    {ReportOption},
    &runLint};

namespace {

int runLint(const QCommandLineParser &arguments)
{
    return runReportCommand(lintCommand, arguments, &numberLintReport, numberLintCleanReport());
}

} // namespace
