#include "formats/TextFile.h"

#include "core/DalvinoError.h"
#include "formats/CharSearch.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <unicode/ucnv.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ConverterCloser {
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter openCp932()
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open("windows-31j", &status));
    if (U_FAILURE(status))
        throw DalvinoError(QStringLiteral("windows-31j: %1").arg(QString::fromLatin1(u_errorName(status))));
    return converter;
}

} // namespace

QString decodeCp932(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QString();
    Converter converter = openCp932();
    QString text(bytes.size(), Qt::Uninitialized); // never more UTF-16 units than bytes
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        ucnv_toUChars(converter.get(), reinterpret_cast<UChar *>(text.data()), static_cast<int32_t>(text.size()),
                      bytes.constData(), static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status))
        throw DalvinoError(QStringLiteral("windows-31j: %1").arg(QString::fromLatin1(u_errorName(status))));
    text.truncate(length);
    return text;
}

QByteArray encodeCp932(const QString &text)
{
    if (text.isEmpty())
        return QByteArray();
    Converter converter = openCp932();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setSubstChars(converter.get(), "?", 1, &status);
    QByteArray bytes(text.size() * 2, Qt::Uninitialized); // at most two bytes a UTF-16 unit
    const int32_t length =
        ucnv_fromUChars(converter.get(), bytes.data(), static_cast<int32_t>(bytes.size()),
                        reinterpret_cast<const UChar *>(text.constData()), static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING)
        throw DalvinoError(QStringLiteral("windows-31j: %1").arg(QString::fromLatin1(u_errorName(status))));
    bytes.truncate(length);
    return bytes;
}

QString decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const auto encoding = bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
        QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
        return decoder(bytes.mid(2));
    }
    return decodeCp932(bytes);
}

std::vector<LineSpan> lineSpans(QStringView text)
{
    std::vector<LineSpan> lines;
    qsizetype start = 0;
    forEachOfEither(text, u'\r', u'\n', [&](qsizetype i) {
        if (i < start) // the LF of a CR LF
            return true;
        lines.push_back({start, i - start});
        start = i + 1;
        if (text[i] == u'\r' && start < text.size() && text[start] == u'\n')
            ++start;
        return true;
    });
    if (start < text.size())
        lines.push_back({start, text.size() - start});
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

    void write(const QByteArray &bytes) const
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            qsizetype chunk = bytes.size() - done;
            if (writeLimit >= 0 && done + chunk > writeLimit) {
                if (done >= writeLimit)
                    fail(ENOSPC);
                chunk = writeLimit - done;
            }
            const ssize_t n = ::write(fd_, bytes.constData() + done, static_cast<size_t>(chunk));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                fail(n < 0 ? errno : EIO);
            done += n;
        }
    }

    // On the disk, all of it, before it may replace anything.
    void sync(qsizetype size)
    {
        struct stat written {};
        if (::fsync(fd_) != 0 || ::fstat(fd_, &written) != 0)
            fail(errno);
        if (written.st_size != size)
            fail(EIO);
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
    file.sync(bytes.size());
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
