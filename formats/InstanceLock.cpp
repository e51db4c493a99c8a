#include "formats/InstanceLock.h"

#include <QDir>
#include <QStandardPaths>

InstanceLock::InstanceLock(const QString &name)
    : path_(lockFolder() + u'/' + name + QStringLiteral(".lock")), lock_(std::make_unique<QLockFile>(path_))
{
    // Stale only when its owner is gone (QLockFile checks the process id and host);
    // a running instance is never taken over however long it runs.
    lock_->setStaleLockTime(0);
}

QString InstanceLock::lockFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath() + QStringLiteral("/dalvino-") + qEnvironmentVariable("USER", QStringLiteral("user"));
    QDir().mkpath(folder);
    return folder;
}

bool InstanceLock::tryAcquire()
{
    if (lock_->tryLock(0))
        return true;
    if (lock_->error() == QLockFile::LockFailedError && lock_->removeStaleLockFile())
        return lock_->tryLock(0);
    return false;
}
