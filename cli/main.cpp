// dalvino-cli: the phone-book file work of Dalvino without a window.
#include "cli/CliCommand.h"
#include "cli/CliFormats.h"
#include "core/DalvinoError.h"

#include <QGuiApplication>

#include <cstdio>
#include <memory>

#define DALVINO_DECLARE_COMMAND(name) extern const CliCommand name##Command;
DALVINO_CLI_COMMANDS(DALVINO_DECLARE_COMMAND)

namespace {

#define DALVINO_COMMAND_ROW(name) &name##Command,
const CliCommand *const Commands[] = {DALVINO_CLI_COMMANDS(DALVINO_COMMAND_ROW)};

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
    writeTo(stderr, QStringLiteral("Usage: dalvino-cli ") + QString::fromUtf8(command.usage) + u'\n');
    return ExitError;
}

int main(int argc, char *argv[])
{
    // Printing draws text, which takes the GUI application; on the offscreen platform it
    // needs no display. The other commands start no more than the core.
    const bool draws = argc > 1 && qstrcmp(argv[1], "print") == 0;
    if (draws)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app(draws ? new QGuiApplication(argc, argv)
                                                      : new QCoreApplication(argc, argv));
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    if (arguments.isEmpty()) {
        writeTo(stderr, helpText());
        return ExitError;
    }
    const QString name = arguments.takeFirst();
    if (name == QStringLiteral("--help") || name == QStringLiteral("-h") || name == QStringLiteral("help")) {
        writeTo(stdout, helpText());
        return ExitOk;
    }
    for (const CliCommand *command : Commands) {
        if (name != QLatin1StringView(command->name))
            continue;
        if (arguments.contains(QStringLiteral("--help"))) {
            writeTo(stdout, QStringLiteral("Usage: dalvino-cli ") + QString::fromUtf8(command->usage) + u'\n' +
                                QString::fromUtf8(command->description));
            return ExitOk;
        }
        try {
            return command->run(arguments);
        } catch (const DalvinoError &e) {
            printMessage(e.text());
        } catch (const std::exception &e) {
            printMessage(QString::fromLocal8Bit(e.what()));
        }
        return ExitError;
    }
    printMessage(QStringLiteral("Unknown command \"%1\"; see dalvino-cli --help").arg(name));
    return ExitError;
}
