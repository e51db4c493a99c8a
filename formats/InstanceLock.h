#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// The single-instance rule: a lock named after the program, one per user, held until
// the program ends. A lock left by a crashed instance is taken over.
class InstanceLock {
public:
    explicit InstanceLock(const QString &name = QStringLiteral("KelvoMaster"));

    // True when this process now holds the lock; false when another running instance
    // does, or when the lock's folder could be changed by other users.
    bool tryAcquire();
    // Why tryAcquire gave false: "すでに起動しています。", or what is wrong with the folder.
    QString refusalText() const;
    QString lockFilePath() const { return path_; }

    // The per-user folder the lock lives in: the session's runtime folder, or without
    // one a folder of the user's own in the temporary folder.
    static QString lockFolder();

private:
    QString path_;
    QString folderProblem_;
    std::unique_ptr<QLockFile> lock_;
};
