#pragma once

#include "core/PhoneBook.h"

#include <QByteArray>
#include <QString>

// Damaged and oversized inputs, mounts that refuse writes, and measurements, for the
// fault-injection tests. Big files are made at run time, never kept in the repository.
namespace FaultFiles {

enum class Kind { Xml, Leg, LegacyCsv, ImportCsv };
enum class Damage { Truncated, Binary, Empty, Huge, WrongEncoding };

// The bytes of a sound file of the kind (a .leg file is the container the stand-in
// converter reads), then the same damaged.
QByteArray soundFile(Kind kind);
QByteArray damaged(Kind kind, Damage damage);
constexpr qint64 HugeSize = 50 * 1024 * 1024;

// An LM630Pro phone book with the given number of filled entries (some 150 bytes each).
QByteArray phoneBookXml(int records);

// The stand-in converter's container around an XML phone book.
QByteArray legContainer(const QByteArray &xml);

void writeFile(const QString &path, const QByteArray &bytes);

// The first difference between two phone books, empty when they are the same.
QString difference(const PhoneBook &a, const PhoneBook &b);

// A tmpfs of the given size mounted at a folder, unmounted when it goes. Mounting needs
// the right to mount (root in a container that allows it); mounted() says whether it worked.
class TmpfsMount {
public:
    TmpfsMount(const QString &folder, int kilobytes);
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount &) = delete;
    TmpfsMount &operator=(const TmpfsMount &) = delete;

    bool mounted() const { return mounted_; }
    bool makeReadOnly();
    // Fills the free space with a file, so that the next write finds the disk full.
    bool fill();

private:
    QString folder_;
    bool mounted_ = false;
};

// The peak resident memory of this process since the last reset, in kilobytes, and the
// reset (through /proc/self/clear_refs; false when the kernel refuses it).
qint64 peakKilobytes();
// The most memory reading a file of the given size may take, in kilobytes, on top of
// baseKilobytes. A reader holds the bytes (1×), the UTF-16 text (2×) and one string per
// line (2× and a header each): about six times a file of short lines. Eight times
// catches a reader that copies the text once more or keeps data per line beyond that.
// AddressSanitizer adds red zones to every allocation and keeps up to 256 MB of freed
// memory in quarantine, so its builds get half as much again and that quarantine.
qint64 memoryLimitKilobytes(qint64 fileBytes, qint64 baseKilobytes);
// The longest an open may take: 20 s, about twelve times the slowest 50 MB read on this
// machine; three times that under AddressSanitizer, which runs such reads 5–8 times slower.
qint64 timeLimitMilliseconds();
// Processor time of this process and of its children that have ended. The limits above are
// held against it rather than the wall clock, which a busy shared machine stretches threefold.
qint64 processorMilliseconds();
qint64 currentKilobytes();
bool resetPeak();

// Whether a process has ended: gone, or a zombie its new parent has not reaped.
bool processGone(qint64 pid);

} // namespace FaultFiles
