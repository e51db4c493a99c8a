#include "formats/InstanceLock.h"

#include "formats/PrivateFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

namespace {
// How long an instance that is starting may take from making its lock file to locking it.
constexpr int StartingSeconds = 5;
} // namespace

InstanceLock::InstanceLock(const QString &name)
    : path_(lockFolder() + u'/' + name + QStringLiteral(".lock")), lock_(std::make_unique<QLockFile>(path_))
{
    // Stale only when its owner is gone (QLockFile checks the process id and host);
    // a running instance is never taken over however long it runs.
    lock_->setStaleLockTime(0);
    // Qt checks the runtime folder itself; the folder in the temporary folder, which
    // anyone may have made first, is checked here.
    folderProblem_ = privateFolderProblem(QFileInfo(path_).absolutePath());
}

QString InstanceLock::lockFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return runtime;
    const QString folder =
        QDir::tempPath() + QStringLiteral("/dalvino-") + qEnvironmentVariable("USER", QStringLiteral("user"));
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return folder;
}

bool InstanceLock::tryAcquire()
{
    if (!folderProblem_.isEmpty())
        return false;
    // QLockFile takes over the lock of a program that is gone. A lock file it cannot
    // read (empty, damaged, another machine's) is taken when no process holds it; but
    // one only just made may be an instance's that is starting and has not locked it
    // yet, and is left alone.
    if (lock_->tryLock(0))
        return true;
    const QDateTime made = QFileInfo(path_).lastModified();
    const bool old = qAbs(made.secsTo(QDateTime::currentDateTime())) >= StartingSeconds;
    if (lock_->error() == QLockFile::LockFailedError && old && lock_->removeStaleLockFile())
        return lock_->tryLock(0);
    return false;
}

QString InstanceLock::refusalText() const
{
    if (!folderProblem_.isEmpty())
        return privateFolderRefusalText(QStringLiteral("ロック用フォルダー"), QFileInfo(path_).absolutePath(),
                                        folderProblem_);
    return QStringLiteral("すでに起動しています。");
}
