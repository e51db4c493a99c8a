#include "formats/LegConverter.h"

#include "core/DalvinoError.h"
#include "formats/AppPaths.h"
#include "formats/ConsoleReDirect.h"
#include "formats/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryFile>

#include <chrono>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace LegConverter {

namespace {

// The longest one conversion holds the working file: two converter runs (a save converts
// and then reads its result back), each within its time limit.
constexpr int LongestConversionMs = 2 * RunTimeLimitMs + 10000;
int lockWaitMs = LongestConversionMs;

// The window and any number of dalvino-cli runs beside the same converter share one
// working file. Each conversion holds this lock from its first removal of the working
// file to its last, so that no other program writes, reads or deletes the file meanwhile
// (one customer's phone book could otherwise end up in another customer's .leg file).
class WorkingFileLock {
public:
    WorkingFileLock() : lock_(AppPaths::workingFileLock())
    {
        lock_.setStaleLockTime(0); // stale only when its program is gone, however long it runs
        QElapsedTimer waiting;
        waiting.start();
        while (!lock_.tryLock(std::chrono::milliseconds(50))) {
            // No working folder, or one this user cannot write: the conversion's own
            // step fails on it with the message that names the working file.
            if (lock_.error() != QLockFile::LockFailedError)
                return;
            if (waiting.elapsed() >= lockWaitMs)
                throw DalvinoError(workingFileBusyText(AppPaths::workingFile()));
            if (QCoreApplication::instance())
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    }
    WorkingFileLock(const WorkingFileLock &) = delete;
    WorkingFileLock &operator=(const WorkingFileLock &) = delete;

private:
    QLockFile lock_; // released when it goes
};

void removeWorkingFileHeld()
{
    const QString path = AppPaths::workingFile();
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw DalvinoError(cannotCreateText(path, QStringLiteral("削除できません")));
}

} // namespace

void setLockWaitForTesting(int milliseconds)
{
    lockWaitMs = milliseconds < 0 ? LongestConversionMs : milliseconds;
}

QString workingFileBusyText(const QString &workingFile)
{
    return QStringLiteral("作業ファイル \"%1\" は別のプログラムが変換に使用しています。しばらくしてからもう一度実行してください。")
        .arg(workingFile);
}

QStringList legToXmlCommand(const QString &legPath)
{
    return {AppPaths::converter(), legPath, AppPaths::workingFile()};
}

QStringList xmlToLegCommand(const QString &legPath)
{
    return {AppPaths::converter(), QStringLiteral("-e"), AppPaths::workingFile(), legPath};
}

void removeWorkingFile()
{
    const WorkingFileLock lock;
    removeWorkingFileHeld();
}

QString failedText(const QString &target, int exitCode, const QString &converterMessage)
{
    return QStringLiteral("変換プログラムが \"%1\" を作成できませんでした（終了コード %2）。\r\n%3")
        .arg(target)
        .arg(exitCode)
        .arg(converterMessage.trimmed());
}

QString readLeg(const QString &legPath)
{
    const WorkingFileLock lock;
    removeWorkingFileHeld();
    const RedirectResult run = RunRedirected(legToXmlCommand(legPath));
    if (!run.succeeded())
        throw DalvinoError(failedText(AppPaths::workingFile(), run.exitCode, run.errorText()));
    QString text = decodeText(readFileBytes(AppPaths::workingFile()));
    removeWorkingFileHeld();
    return text;
}

void writeLeg(const QString &legPath, const QString &text)
{
    const WorkingFileLock lock;
    removeWorkingFileHeld();
    writeText(AppPaths::workingFile(), text);

    // The converter writes beside the target; the result replaces the target in one rename.
    const QFileInfo target(legPath);
    QTemporaryFile converted(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                             QStringLiteral(".XXXXXX"));
    if (!converted.open())
        throw DalvinoError(cannotCreateText(legPath, converted.errorString()));
    converted.close();
    const QString convertedPath = converted.fileName();

    const RedirectResult run = RunRedirected(xmlToLegCommand(convertedPath));
    if (!run.succeeded() || QFileInfo(convertedPath).size() <= 0) {
        QString message = run.errorText();
        if (run.succeeded() && message.trimmed().isEmpty())
            message = QStringLiteral("変換結果が空です");
        throw DalvinoError(failedText(legPath, run.exitCode, message));
    }
    // A run that ended well may still have left a damaged file (one cut short, say): only
    // a result that converts back replaces the target.
    removeWorkingFileHeld();
    const RedirectResult check = RunRedirected(legToXmlCommand(convertedPath));
    if (!check.succeeded() || QFileInfo(AppPaths::workingFile()).size() <= 0) {
        QString message = check.errorText();
        if (message.trimmed().isEmpty())
            message = QStringLiteral("変換結果を読み戻せません");
        throw DalvinoError(failedText(legPath, check.exitCode, message));
    }

    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    if (target.exists())
        permissions = QFile::permissions(legPath);
    QFile::setPermissions(convertedPath, permissions);
    if (std::rename(QFile::encodeName(convertedPath).constData(), QFile::encodeName(legPath).constData()) != 0)
        throw DalvinoError(cannotCreateText(legPath, QString::fromLocal8Bit(std::strerror(errno))));
    converted.setAutoRemove(false);
    removeWorkingFileHeld();
}

} // namespace LegConverter
