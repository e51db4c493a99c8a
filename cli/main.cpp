// dalvino-cli: the phone-book file work of Dalvino without a window.
#include "cli/CliCommand.h"
#include "cli/CliFormats.h"
#include "core/DalvinoError.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>

namespace {

const CliCommand *const Commands[] = {&convertCommand, &infoCommand, &checkCommand, &lintCommand, &importCsvCommand, &kanaCommand, &printCommand};

void writeTo(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

QString helpText()
{
    QString text = QStringLiteral("Usage: dalvino-cli COMMAND ARGUMENTS...\n"
                                  "       dalvino-cli --help\n\n"
                                  "The phone-book file work of Dalvino without a window, with the same readers\n"
                                  "and writers as the program. Commands:\n");
    for (const CliCommand *command : Commands) {
        text += QStringLiteral("\n  dalvino-cli ") + QString::fromUtf8(command->usage) + u'\n';
        const QStringList lines = QString::fromUtf8(command->description).split(u'\n', Qt::SkipEmptyParts);
        for (const QString &line : lines)
            text += QStringLiteral("      ") + line + u'\n';
    }
    text += QStringLiteral("\nFiles are chosen by extension. Read: %1. Written: %2.\n"
                           "A .leg file is read and written through the converter Quenda.dll beside\n"
                           "dalvino-cli, with its working file temp/temp.xml.\n\n"
                           "Every message the program would show in a box (the count of entries read,\n"
                           "the notes about entries that are not written, \"not a phone book\") goes to\n"
                           "standard error as one line; output data goes to standard output as UTF-8.\n\n"
                           "Exit status: 0 on success, 2 on any error or rejection (its text on standard\n"
                           "error).\n")
                .arg(inputExtensions().join(QStringLiteral(", ")), outputExtensions().join(QStringLiteral(", ")));
    return text;
}

QString usageLine(const CliCommand &command)
{
    return QStringLiteral("Usage: dalvino-cli ") + QString::fromUtf8(command.usage) + u'\n';
}

// Parses the arguments after the command's name by its options, each taking one value
// unless it is a switch, and runs it.
int runCommand(const CliCommand &command, const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringLiteral("help"));
    parser.addOption(help);
    for (const CliOption &option : command.options)
        parser.addOption(QCommandLineOption(QString::fromLatin1(option.name), QString(),
                                            option.isSwitch ? QString() : QStringLiteral("value")));
    // The parser skips the first argument as the program's name.
    const bool parsed = parser.parse(QStringList{QCoreApplication::applicationFilePath()} + arguments);
    if (parser.isSet(help)) {
        writeTo(stdout, usageLine(command) + QString::fromUtf8(command.description));
        return ExitOk;
    }
    if (!parsed) {
        if (!parser.unknownOptionNames().isEmpty())
            return usageError(command,
                              QStringLiteral("Unknown option \"--%1\"").arg(parser.unknownOptionNames().first()));
        // Otherwise an option that takes a value came last.
        for (const CliOption &option : command.options) {
            const QString name = QStringLiteral("--") + QLatin1StringView(option.name);
            if (!option.isSwitch && arguments.last() == name)
                return usageError(command, option.missingValue ? QString::fromUtf8(option.missingValue)
                                                               : QStringLiteral("%1 needs a value").arg(name));
        }
        return usageError(command, parser.errorText());
    }
    try {
        return command.run(parser);
    } catch (const DalvinoError &e) {
        printMessage(e.text());
    } catch (const std::exception &e) {
        printMessage(QString::fromLocal8Bit(e.what()));
    }
    return ExitError;
}

} // namespace

void printMessage(const QString &text)
{
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(u'\n', u' ');
    line.replace(u'\r', u' ');
    writeTo(stderr, line + u'\n');
}

void printData(const QString &text)
{
    writeTo(stdout, text);
}

int usageError(const CliCommand &command, const QString &text)
{
    printMessage(text);
    writeTo(stderr, usageLine(command));
    return ExitError;
}

int main(int argc, char *argv[])
{
    // The command is found before the application starts, because the command decides
    // which application that is.
    QStringList given;
    for (int i = 0; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    // The command's own arguments, options too, are left to the command.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help(QStringList{QStringLiteral("help"), QStringLiteral("h")});
    parser.addOption(help);
    const bool parsed = parser.parse(given);
    QStringList arguments = parser.positionalArguments();

    if (parsed && (parser.isSet(help) || arguments.value(0) == QStringLiteral("help"))) {
        writeTo(stdout, helpText());
        return ExitOk;
    }
    if (parsed && arguments.isEmpty()) {
        writeTo(stderr, helpText());
        return ExitError;
    }
    const QString name = parsed ? arguments.takeFirst() : given.value(1);
    for (const CliCommand *command : Commands) {
        if (!parsed || name != QLatin1StringView(command->name))
            continue;
        // The application gets the program's name only: the command line is the command's,
        // and Qt's own options (-platform …) must not move the print off the offscreen
        // platform, which draws text without a display.
        int programOnly = 1;
        if (command->drawsText) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            QGuiApplication app(programOnly, argv);
            return runCommand(*command, arguments);
        }
        QCoreApplication app(programOnly, argv);
        return runCommand(*command, arguments);
    }
    printMessage(QStringLiteral("Unknown command \"%1\"; see dalvino-cli --help").arg(name));
    return ExitError;
}
