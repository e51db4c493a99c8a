#pragma once

#include <QByteArray>
#include <QString>

// The working file temp/temp.xml beside the executable, which the converter reads or
// writes. The window and any number of dalvino-cli runs beside the same converter share
// it, so each conversion holds it (WorkingFile::Hold) from its first removal of the file
// to its last. Nothing here follows a symbolic link at the working file, and a working
// folder in which another user could plant one is refused.
namespace WorkingFile {

// One conversion's hold on the working file: the lock file temp/temp.xml.lock, locked
// (flock) for as long as the hold lasts. The kernel lets go of such a lock when the last
// process that has it open ends, so a lock left by a program that was killed never keeps
// anyone waiting, whatever the file holds, while the converter a conversion started (and
// whatever that started) keeps it for as long as it runs.
class Hold {
public:
    // Checks the working folder, then waits while another program holds the working file,
    // dispatching window events (user input excepted). Throws DalvinoError when the folder
    // is refused, when the lock file cannot be used, or with busyText after the wait.
    // Without a working folder, or in one this user cannot write, there is nothing to
    // hold: the conversion's own step fails with the message that names the working file.
    Hold();
    ~Hold();
    Hold(const Hold &) = delete;
    Hold &operator=(const Hold &) = delete;

    // The locked descriptor for the converter to inherit; -1 when nothing is held.
    int descriptor() const { return descriptor_; }

private:
    QString path_;
    int descriptor_ = -1;
};

// Removes whatever is at the working file's place (a link itself, not its target); a
// missing file is no error.
void remove();
// Writes the bytes as a new working file (never through a link), each one checked and on
// disk before it returns. Throws DalvinoError "ファイル "%s" を作成できません。%s" with the
// system's reason, leaving no working file.
void write(const QByteArray &bytes);
// Reads the working file, never through a link. Throws DalvinoError "ファイル %s は開けません。 %s ".
QByteArray read();

QString busyText(const QString &workingFile);
QString lockUnusableText(const QString &lockFile, const QString &reason);

// How long a hold waits for another program's; below 0 the normal wait.
void setWaitForTesting(int milliseconds);

} // namespace WorkingFile
