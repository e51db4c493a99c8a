#include "formats/WorkingFile.h"

#include "core/DalvinoError.h"
#include "formats/AppPaths.h"
#include "formats/ConsoleReDirect.h"
#include "formats/DurableFile.h"
#include "formats/PrivateFolder.h"
#include "formats/TextFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace WorkingFile {

namespace {

// The longest one conversion holds the working file: two converter runs (a save converts
// and then reads its result back), each within its time limit.
constexpr int LongestConversionMs = 2 * RunTimeLimitMs + 10000;
int waitMs = LongestConversionMs;

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

// Removes a file, a link or an empty folder at the path; the error number otherwise.
int removeEntry(const QString &path)
{
    const QByteArray name = nativePath(path);
    if (::unlink(name.constData()) == 0 || errno == ENOENT)
        return 0;
    if (errno == EISDIR && ::rmdir(name.constData()) == 0)
        return 0;
    return errno;
}

bool sameFile(int descriptor, const QString &path)
{
    struct stat held {};
    struct stat there {};
    return ::fstat(descriptor, &held) == 0 && ::lstat(nativePath(path).constData(), &there) == 0 &&
           held.st_dev == there.st_dev && held.st_ino == there.st_ino;
}

} // namespace

void setWaitForTesting(int milliseconds)
{
    waitMs = milliseconds < 0 ? LongestConversionMs : milliseconds;
}

QString busyText(const QString &workingFile)
{
    return QStringLiteral(
               "作業ファイル \"%1\" は別のプログラムが変換に使用しています。しばらくしてからもう一度実行してください。")
        .arg(workingFile);
}

QString lockUnusableText(const QString &lockFile, const QString &reason)
{
    return QStringLiteral("作業ファイルのロック \"%1\" を使用できません。%2\r\n"
                          "変換中のプログラムがないことを確かめてから、これを削除してください。")
        .arg(lockFile, reason);
}

Hold::Hold() : path_(AppPaths::workingFileLock())
{
    const QString folder = AppPaths::workingFolder();
    const QString problem = privateFolderProblem(folder);
    if (!problem.isEmpty())
        throw DalvinoError(privateFolderRefusalText(QStringLiteral("作業フォルダー"), folder, problem));

    const QByteArray name = nativePath(path_);
    QElapsedTimer waiting;
    waiting.start();
    for (;;) {
        // Never through a link; read access is all a lock needs, so a lock file of
        // another user's that this user can read serves as well.
        const int descriptor = ::open(name.constData(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (descriptor < 0) {
            const int openError = errno;
            struct stat there {};
            if (::lstat(name.constData(), &there) != 0)
                return; // nothing in its place: no working folder, or one this user cannot write
            // Whatever else is in the lock's place cannot be a lock anyone holds, and is
            // ours to remove: a link, an empty folder, a file this user cannot read.
            const int removeError = removeEntry(path_);
            if (removeError == 0)
                continue;
            if (removeError == EACCES || removeError == EPERM || removeError == EROFS)
                return; // a folder this user cannot write
            throw DalvinoError(lockUnusableText(path_, systemReason(openError)));
        }
        if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            // The previous holder removes the file as it lets go: only a lock on the file
            // that is still in place counts.
            if (sameFile(descriptor, path_)) {
                descriptor_ = descriptor;
                return;
            }
            ::close(descriptor);
            continue;
        }
        const int lockError = errno;
        ::close(descriptor);
        if (lockError != EWOULDBLOCK)
            throw DalvinoError(lockUnusableText(path_, systemReason(lockError)));
        if (waiting.elapsed() >= waitMs)
            throw DalvinoError(busyText(AppPaths::workingFile()));
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        ::usleep(15 * 1000); // a short wait on this thread before the next try
    }
}

Hold::~Hold()
{
    if (descriptor_ < 0)
        return;
    ::unlink(nativePath(path_).constData());
    ::close(descriptor_);
}

void remove()
{
    const QString path = AppPaths::workingFile();
    const int error = removeEntry(path);
    if (error != 0)
        throw DalvinoError(cannotCreateText(path, QStringLiteral("削除できません。") + systemReason(error)));
}

void write(const QByteArray &bytes)
{
    const QString path = AppPaths::workingFile();
    remove();
    const QByteArray name = nativePath(path);
    const int descriptor = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor < 0)
        throw DalvinoError(cannotCreateText(path, systemReason(errno)));
    int error = DurableFile::writeAll(descriptor, bytes);
    if (::close(descriptor) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(name.constData());
        throw DalvinoError(cannotCreateText(path, systemReason(error)));
    }
}

QByteArray read()
{
    const QString path = AppPaths::workingFile();
    const int descriptor = ::open(nativePath(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0)
        throw DalvinoError(cannotOpenText(path, systemReason(errno)));
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        throw DalvinoError(cannotOpenText(path, file.errorString()));
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw DalvinoError(cannotOpenText(path, file.errorString()));
    return bytes;
}

} // namespace WorkingFile
