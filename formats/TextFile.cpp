#include "formats/TextFile.h"

#include "core/DalvinoError.h"
#include "formats/DurableFile.h"
#include "formats/TextEncoding.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString decodeText(const QByteArray &bytes)
{
    return decodeAs(bytes, markedEncoding(bytes).value_or(TextEncoding::Cp932));
}

std::vector<LineSpan> lineSpans(QStringView text)
{
    std::vector<LineSpan> lines;
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.push_back({start, i - start});
        if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.push_back({start, size - start});
    return lines;
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    const std::vector<LineSpan> spans = lineSpans(text);
    lines.reserve(static_cast<qsizetype>(spans.size()));
    for (const LineSpan &span : spans)
        lines.append(text.mid(span.start, span.length));
    return lines;
}

QString cannotOpenText(const QString &path, const QString &reason)
{
    return QStringLiteral("ファイル %1 は開けません。 %2 ").arg(path, reason);
}

QString cannotCreateText(const QString &path, const QString &reason)
{
    return QStringLiteral("ファイル \"%1\" を作成できません。%2").arg(path, reason);
}

QString tooLargeText()
{
    return QStringLiteral("ファイルが大きすぎます（%1 MB まで）。").arg(MaxFileBytes / (1024 * 1024));
}

QByteArray readFileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw DalvinoError(cannotOpenText(path, file.errorString()));
    // A size the file system knows (a sparse file's too) is refused before a byte is
    // read; a device or a pipe, which has none, is read only up to the limit.
    if (file.size() > MaxFileBytes)
        throw DalvinoError(cannotOpenText(path, tooLargeText()));
    QByteArray bytes;
    if (file.size() > 0) {
        bytes = file.readAll();
    } else {
        constexpr qint64 Step = 1024 * 1024;
        for (qint64 got = Step; got > 0 && bytes.size() <= MaxFileBytes;) {
            const qsizetype have = bytes.size();
            bytes.resize(have + Step);
            got = file.read(bytes.data() + have, Step);
            bytes.resize(have + qMax<qint64>(got, 0));
        }
    }
    if (file.error() != QFileDevice::NoError)
        throw DalvinoError(cannotOpenText(path, file.errorString()));
    if (bytes.size() > MaxFileBytes)
        throw DalvinoError(cannotOpenText(path, tooLargeText()));
    return bytes;
}

QStringList readLines(const QString &path)
{
    return splitLines(decodeText(readFileBytes(path)));
}

QString joinLines(const QStringList &lines)
{
    qsizetype total = 0;
    for (const QString &line : lines)
        total += line.size() + 2;
    QString text;
    text.reserve(total);
    for (const QString &line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text;
}

namespace {

qint64 writeLimit = -1;

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The file a write replaces. A symbolic link is written through, so that it stays a link
// to the new contents; a chain of links is followed to its end.
QByteArray writtenPath(const QString &path)
{
    QString target = path;
    for (int links = 0; links < 40; ++links) { // the system's own limit on links in a row
        const QFileInfo info(target);
        if (!info.isSymLink())
            return QFile::encodeName(info.absoluteFilePath());
        target = info.symLinkTarget();
    }
    throw DalvinoError(cannotCreateText(path, systemReason(ELOOP)));
}

// The temporary file beside the target, removed unless it has taken the target's place.
class TemporaryFile {
public:
    TemporaryFile(const QString &path, const QByteArray &target, mode_t mode) : path_(path)
    {
        // Hidden, and short enough beside the longest name the folder allows.
        const qsizetype slash = target.lastIndexOf('/');
        const QByteArray stem = target.left(slash + 1) + '.' + target.mid(slash + 1).left(200) + '.';
        for (int attempt = 0; fd_ < 0; ++attempt) {
            name_ = stem + QByteArray::number(QRandomGenerator::global()->generate(), 36);
            // O_EXCL: never an existing file, nor the file a planted link names.
            fd_ = ::open(name_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd_ < 0 && (errno != EEXIST || attempt == 100))
                fail(errno);
        }
    }
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!name_.isEmpty())
            ::unlink(name_.constData());
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    [[noreturn]] void fail(int error) const { throw DalvinoError(cannotCreateText(path_, systemReason(error))); }

    void setPermissions(mode_t mode) const
    {
        if (::fchmod(fd_, mode) != 0)
            fail(errno);
    }

    // Every byte on the disk, all of them, before the file may replace anything.
    void write(const QByteArray &bytes)
    {
        if (writeLimit >= 0 && bytes.size() > writeLimit) {
            DurableFile::writeAll(fd_, bytes.left(writeLimit));
            fail(ENOSPC);
        }
        if (const int error = DurableFile::writeAll(fd_, bytes))
            fail(error);
        const int fd = std::exchange(fd_, -1);
        if (::close(fd) != 0) // a file system on the network may report its error only here
            fail(errno);
    }

    void replace(const QByteArray &target)
    {
        if (::rename(name_.constData(), target.constData()) != 0)
            fail(errno);
        name_.clear();
    }

private:
    QString path_; // as the user named it, for the messages
    QByteArray name_;
    int fd_ = -1;
};

} // namespace

void setWriteLimitForTesting(qint64 bytes)
{
    writeLimit = bytes;
}

void writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    const QByteArray target = writtenPath(path);
    struct stat old {};
    const bool replacing = ::stat(target.constData(), &old) == 0;
    // A folder, a device or a pipe is never replaced by a file, nor a file the user made
    // read-only (the rename below would not ask).
    if (replacing && !S_ISREG(old.st_mode))
        throw DalvinoError(cannotCreateText(
            path, S_ISDIR(old.st_mode) ? systemReason(EISDIR) : QStringLiteral("通常のファイルではありません。")));
    if (replacing && ::access(target.constData(), W_OK) != 0)
        throw DalvinoError(cannotCreateText(path, systemReason(errno)));
    // A new file gets what the umask leaves of rw for everyone, as any program's would; a
    // replaced one keeps its permissions, set before a byte is written.
    TemporaryFile file(path, target, replacing ? S_IRUSR | S_IWUSR : 0666);
    if (replacing)
        file.setPermissions(old.st_mode & 07777);
    file.write(bytes);
    file.replace(target);
}

void writeTextLines(const QString &path, const QStringList &lines)
{
    writeFileAtomically(path, encodeCp932(joinLines(lines)));
}

void writeText(const QString &path, const QString &text)
{
    writeFileAtomically(path, encodeCp932(text));
}
