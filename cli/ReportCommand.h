#pragma once

#include "cli/CliCommand.h"

#include <QString>

class PhoneBook;

// The one option of the report commands: --report FILE.
constexpr CliOption ReportOption = {"report", "--report needs a file"};

// The shape of the commands that write a report over one phone book (check, lint):
// "NAME IN [--report FILE]". The report goes to standard output (a line end added after
// a one-line report) and with --report to FILE as the program saves it. Exit status 0
// when the report is the clean one, 1 when it lists entries, 2 on error.
int runReportCommand(const CliCommand &command, const QCommandLineParser &arguments,
                     QString (*report)(const PhoneBook &book), const QString &cleanReport);
