#include "formats/ConsoleReDirect.h"

#include "core/DalvinoError.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

constexpr qint64 ChunkSize = 2049;

// The system's number and text for a program that did not start. QProcess gives only a
// message, so the number is taken from the same check the system makes.
[[noreturn]] void throwStartFailure(const QString &program, const QProcess &process)
{
    const QByteArray path = QFile::encodeName(program);
    if (::access(path.constData(), X_OK) != 0) {
        const int code = errno;
        throw DalvinoError(systemErrorText(code, QString::fromLocal8Bit(std::strerror(code))));
    }
    throw DalvinoError(systemErrorText(static_cast<int>(process.error()), process.errorString()));
}

// Reads one chunk of the channel when it has something; false when it had nothing.
// Beyond RunKeptBytes the chunks are read and dropped, so that a program that writes
// without end fills no memory before its time is up.
bool readChunk(QProcess &process, QProcess::ProcessChannel channel, QByteArray &into)
{
    process.setReadChannel(channel);
    if (process.bytesAvailable() <= 0)
        return false;
    const QByteArray chunk = process.read(ChunkSize);
    if (into.size() < RunKeptBytes)
        into += chunk.first(qMin(chunk.size(), RunKeptBytes - into.size()));
    return true;
}

} // namespace

QString systemErrorText(int code, const QString &reason)
{
    return QStringLiteral("システムエラー。コード：%1.\r\n%2").arg(code).arg(reason);
}

QString timedOutText(int timeLimitMs)
{
    return QStringLiteral("%1 秒以内に終了しなかったため、中止しました。").arg(timeLimitMs / 1000.0);
}

QString RedirectResult::errorText() const
{
    QString text = QString::fromLocal8Bit(error);
    if (timedOut)
        text = (text.trimmed().isEmpty() ? QString() : text.trimmed() + QStringLiteral("\r\n")) + timedOutText(timeLimitMs);
    return text;
}

RedirectResult RunRedirected(const QStringList &command, const QByteArray &input, int timeLimitMs)
{
    RedirectResult result;
    if (command.isEmpty())
        throw DalvinoError(systemErrorText(ENOENT, QString::fromLocal8Bit(std::strerror(ENOENT))));

    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setProgram(command.first());
    process.setArguments(command.mid(1));
    process.start(QIODevice::ReadWrite);
    if (!process.waitForStarted(-1))
        throwStartFailure(command.first(), process);

    QByteArray stdinBytes = input;
    stdinBytes.append('\x1A');
    process.write(stdinBytes);
    // Standard input is not closed: the child sees the end mark, not the end of the pipe.

    QElapsedTimer running;
    running.start();
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        const bool gotOutput = readChunk(process, QProcess::StandardOutput, result.output);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        const bool gotError = readChunk(process, QProcess::StandardError, result.error);
        if (running.elapsed() >= timeLimitMs && process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(-1);
            result.timedOut = true;
            result.timeLimitMs = timeLimitMs;
            break;
        }
        if (gotOutput || gotError)
            continue;
        if (process.state() == QProcess::NotRunning) {
            // The end of the program may have been seen in the same events as its last
            // output, after that channel was looked at: what is still buffered is read.
            for (bool more = true; more;) {
                const bool output = readChunk(process, QProcess::StandardOutput, result.output);
                const bool error = readChunk(process, QProcess::StandardError, result.error);
                more = output || error;
            }
            break;
        }
        // Waiting reads both pipes into the process's buffers, so neither stays full.
        process.waitForFinished(20);
    }

    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = result.crashed ? -1 : process.exitCode();
    return result;
}
