#pragma once

#include "formats/Cp932.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// Text files of the phone system: code page 932 (Shift-JIS with the Windows extensions)
// without a byte-order mark, every line ended by CR LF. Reading also accepts a UTF-8,
// UTF-16 LE or UTF-16 BE byte-order mark.

// Decodes by byte-order mark, code page 932 otherwise.
QString decodeText(const QByteArray &bytes);
// Splits at CR LF, a lone CR or a lone LF; a final line end does not start another line.
QStringList splitLines(const QString &text);
// Where a line of a text starts and how long it is, without its end.
struct LineSpan {
    qsizetype start = 0;
    qsizetype length = 0;
};
// The lines of splitLines as places in text, for readers that need no string per line.
std::vector<LineSpan> lineSpans(QStringView text);

// The most any file the program reads may hold. A phone book, a CSV file or the settings
// take a few MB at most; a bigger input (a link to /dev/zero, a sparse file) is refused
// before it is read, or once a device or a pipe has given that much.
constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;
QString tooLargeText(); // the reason given for such a file

// Reads a whole file; throws DalvinoError "ファイル %s は開けません。 %s " on failure and
// for a file over MaxFileBytes.
QByteArray readFileBytes(const QString &path);
QStringList readLines(const QString &path);

// Joins the lines, each followed by CR LF.
QString joinLines(const QStringList &lines);

// Writes bytes atomically: a new temporary file beside the target, every write checked,
// synced to the disk and its size compared, then renamed over the target. A symbolic link
// is written through; a new file follows the umask, a replaced one keeps its permissions.
// Throws DalvinoError "ファイル "%s" を作成できません。%s" with the system's reason on
// failure (a full disk, a read-only folder), and leaves an existing file byte for byte
// as it was.
void writeFileAtomically(const QString &path, const QByteArray &bytes);
// Testing only, for machines where a test cannot mount a small file system: from now on
// writeFileAtomically stops after this many bytes as on a full disk; -1 ends that.
void setWriteLimitForTesting(qint64 bytes);
// The lines in code page 932, each ended by CR LF.
void writeTextLines(const QString &path, const QStringList &lines);
// The text in code page 932 exactly as it is (no line end added).
void writeText(const QString &path, const QString &text);

QString cannotOpenText(const QString &path, const QString &reason);
QString cannotCreateText(const QString &path, const QString &reason);
