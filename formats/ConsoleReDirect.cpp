#include "formats/ConsoleReDirect.h"

#include "core/DalvinoError.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The system's number for a program that did not start. QProcess gives only its text
// ("execvp: Permission denied"), so the usual causes are looked up as the system sees
// them, and anything else is recognised by its text.
int startFailureCode(const QString &program, const QString &processMessage)
{
    const QByteArray path = QFile::encodeName(program);
    struct stat info {};
    if (::stat(path.constData(), &info) != 0)
        return errno;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (::access(path.constData(), X_OK) != 0)
        return errno;
    for (int code = 1; code < 200; ++code) {
        if (processMessage.endsWith(QStringLiteral(": ") + systemReason(code)))
            return code;
    }
    return EIO;
}

[[noreturn]] void throwStartFailure(const QString &program, const QProcess &process)
{
    const int code = startFailureCode(program, process.errorString());
    throw DalvinoError(systemErrorText(code, systemReason(code)));
}

// One output stream: what is kept of it and how much it has written.
struct Stream {
    QByteArray &kept;
    qint64 written = 0;

    void take(const QByteArray &bytes)
    {
        written += bytes.size();
        if (kept.size() < RunKeptBytes)
            kept += bytes.first(qMin(bytes.size(), RunKeptBytes - kept.size()));
    }
};

// The whole group: a converter that is a script ends with what it started.
void endProgram(QProcess &process)
{
    const qint64 pid = process.processId();
    if (pid > 0)
        ::kill(-static_cast<pid_t>(pid), SIGKILL);
    process.kill();
}

// A run of characters without a space longer than ShownWordCharacters gets line breaks,
// so that a message box can wrap it (a path, or output without spaces).
QString breakLongWords(QStringView line)
{
    QString broken;
    int run = 0;
    for (const QChar character : line) {
        run = character.isSpace() ? 0 : run + 1;
        if (run > ShownWordCharacters) {
            broken += QStringLiteral("\r\n");
            run = 1;
        }
        broken += character;
    }
    return broken;
}

} // namespace

QString systemReason(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

QString systemErrorText(int code, const QString &reason)
{
    return QStringLiteral("システムエラー。コード：%1.\r\n%2").arg(QString::number(code), reason);
}

QString timedOutText(int timeLimitMs)
{
    return QStringLiteral("%1 秒以内に終了しなかったため、中止しました。").arg(timeLimitMs / 1000.0);
}

QString floodedText()
{
    return QStringLiteral("出力が %1 MB を超えたため、中止しました。").arg(RunKeptBytes / (1024 * 1024));
}

QString RedirectResult::errorText() const
{
    // A message box shows the first lines: a program that wrote pages, or one endless
    // line, would push the box and its OK button off the screen.
    const QString all = QString::fromLocal8Bit(error).trimmed();
    qsizetype end = -1;
    for (int line = 0; line < ShownErrorLines; ++line) {
        end = all.indexOf(u'\n', end + 1);
        if (end < 0) {
            end = all.size();
            break;
        }
    }
    end = qMin(end, qsizetype(ShownErrorCharacters));
    QStringList lines;
    if (!all.isEmpty()) {
        for (QStringView line : QStringView(all).left(end).split(u'\n'))
            lines << breakLongWords(line.endsWith(u'\r') ? line.chopped(1) : line);
    }
    if (end < all.size())
        lines << QStringLiteral("…（以下省略）");
    if (timedOut)
        lines << timedOutText(timeLimitMs);
    if (flooded)
        lines << floodedText();
    return lines.join(QStringLiteral("\r\n"));
}

RedirectResult RunRedirected(const QStringList &command, const QByteArray &input, int timeLimitMs,
                             int inheritedDescriptor)
{
    RedirectResult result;
    if (command.isEmpty())
        throw DalvinoError(systemErrorText(ENOENT, systemReason(ENOENT)));

    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setProgram(command.first());
    process.setArguments(command.mid(1));
    const pid_t parent = ::getpid();
    process.setChildProcessModifier([parent, inheritedDescriptor] {
        // Killed when the thread that started it ends: that is this program's only
        // thread with windows, which runs until the program ends.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127); // this program died before the line above
        ::setpgid(0, 0);
        if (inheritedDescriptor >= 0)
            ::fcntl(inheritedDescriptor, F_SETFD, 0);
    });

    Stream output{result.output};
    Stream error{result.error};
    // Everything that arrives is taken at once, so that QProcess buffers no more than one
    // read; a program that writes without end is ended as soon as it is seen to.
    const auto take = [&](Stream &stream, const QByteArray &bytes) {
        stream.take(bytes);
        if (stream.written > RunKeptBytes && !result.flooded) {
            result.flooded = true;
            endProgram(process);
        }
    };
    QObject::connect(&process, &QProcess::readyReadStandardOutput,
                     [&] { take(output, process.readAllStandardOutput()); });
    QObject::connect(&process, &QProcess::readyReadStandardError, [&] { take(error, process.readAllStandardError()); });

    process.start(QIODevice::ReadWrite);
    if (!process.waitForStarted(-1))
        throwStartFailure(command.first(), process);

    QByteArray stdinBytes = input;
    stdinBytes.append('\x1A');
    process.write(stdinBytes);
    // Standard input is not closed: the child sees the end mark, not the end of the pipe.

    QElapsedTimer running;
    running.start();
    while (process.state() != QProcess::NotRunning) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (running.elapsed() >= timeLimitMs && !result.flooded && !result.timedOut) {
            result.timedOut = true;
            result.timeLimitMs = timeLimitMs;
            endProgram(process);
        }
        process.waitForFinished(20);
    }
    // What arrived together with the end of the program.
    take(output, process.readAllStandardOutput());
    take(error, process.readAllStandardError());

    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = result.crashed ? -1 : process.exitCode();
    return result;
}
