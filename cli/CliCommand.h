#pragma once

#include "core/PhoneBook.h"

#include <QString>
#include <QStringList>

// A command of dalvino-cli. run gets the arguments after the command's name and returns
// the exit status: 0 on success, 2 on any error or rejection.
struct CliCommand {
    const char *name;
    const char *usage;       // e.g. "convert IN OUT [--model NAME]"
    const char *description; // lines of help, each ended by "\n"
    int (*run)(const QStringList &arguments);
};

// The commands, one line each; every command lives in cli/<Name>Command.cpp and defines
// `const CliCommand <name>Command`.
#define DALVINO_CLI_COMMANDS(X)                                                                                        \
    X(convert)                                                                                                         \
    X(info)                                                                                                            \
    X(check)                                                                                                           \
    X(lint)                                                                                                            \
    X(importCsv)

constexpr int ExitOk = 0;
constexpr int ExitError = 2;

// A message the GUI would show in a box: one line on standard error.
void printMessage(const QString &text);
// Output data: standard output, UTF-8.
void printData(const QString &text);
// A usage error: the message and the command's usage on standard error; ExitError.
int usageError(const CliCommand &command, const QString &text);
