#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// The single-instance rule: a lock named after the program, one per user, held until
// the program ends. A lock left by a crashed instance is taken over.
class InstanceLock {
public:
    explicit InstanceLock(const QString &name = QStringLiteral("KelvoMaster"));

    // True when this process now holds the lock; false when another running instance does.
    bool tryAcquire();
    QString lockFilePath() const { return path_; }

    // The per-user folder the lock lives in.
    static QString lockFolder();

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};
