#pragma once

#include <QCommandLineParser>
#include <QList>
#include <QString>

// An option of a command: --name VALUE, or --name alone for a switch. missingValue is the
// usage error when no value follows it; "--name needs a value" when it is not given.
struct CliOption {
    const char *name; // without the dashes
    const char *missingValue = nullptr;
    bool isSwitch = false;
};

constexpr CliOption cliSwitch(const char *name)
{
    return {name, nullptr, true};
}

// A command of dalvino-cli. run gets its arguments as parsed by the command's options
// and returns the exit status: 0 on success, 2 on any error or rejection.
struct CliCommand {
    const char *name;
    const char *usage;       // e.g. "convert IN OUT [--model NAME]"
    const char *description; // lines of help, each ended by "\n"
    QList<CliOption> options;
    int (*run)(const QCommandLineParser &arguments);
    // Draws text (a PDF), which takes the GUI application on the offscreen platform; the
    // other commands start no more than the core.
    bool drawsText = false;
};

// The commands; each lives in cli/<Name>Command.cpp.
extern const CliCommand convertCommand;
extern const CliCommand infoCommand;
extern const CliCommand checkCommand;
extern const CliCommand lintCommand;
extern const CliCommand importCsvCommand;
extern const CliCommand kanaCommand;
extern const CliCommand printCommand;

constexpr int ExitOk = 0;
constexpr int ExitError = 2;

// A message the GUI would show in a box: one line on standard error.
void printMessage(const QString &text);
// Output data: standard output, UTF-8.
void printData(const QString &text);
// A usage error: the message and the command's usage on standard error; ExitError.
int usageError(const CliCommand &command, const QString &text);
