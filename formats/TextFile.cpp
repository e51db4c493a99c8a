#include "formats/TextFile.h"

#include "core/DalvinoError.h"
#include "formats/CharSearch.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <unicode/ucnv.h>

#include <cerrno>
#include <cstring>
#include <memory>

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
    const int32_t length = ucnv_toUChars(converter.get(), reinterpret_cast<UChar *>(text.data()),
                                         static_cast<int32_t>(text.size()), bytes.constData(),
                                         static_cast<int32_t>(bytes.size()), &status);
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
    const int32_t length = ucnv_fromUChars(converter.get(), bytes.data(), static_cast<int32_t>(bytes.size()),
                                           reinterpret_cast<const UChar *>(text.constData()),
                                           static_cast<int32_t>(text.size()), &status);
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

QByteArray readFileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DalvinoError(cannotOpenText(path, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw DalvinoError(cannotOpenText(path, file.errorString()));
    return bytes;
}

QStringList readLines(const QString &path) { return splitLines(decodeText(readFileBytes(path))); }

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
} // namespace

void setWriteLimitForTesting(qint64 bytes) { writeLimit = bytes; }

void writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw DalvinoError(cannotCreateText(path, file.errorString()));
    const bool limited = writeLimit >= 0 && bytes.size() > writeLimit;
    const qint64 written = limited ? file.write(bytes.constData(), writeLimit) : file.write(bytes);
    if (limited || written != bytes.size()) {
        const QString reason = limited ? QString::fromLocal8Bit(std::strerror(ENOSPC)) : file.errorString();
        file.cancelWriting();
        throw DalvinoError(cannotCreateText(path, reason));
    }
    if (!file.commit())
        throw DalvinoError(cannotCreateText(path, file.errorString()));
}

void writeTextLines(const QString &path, const QStringList &lines)
{
    writeFileAtomically(path, encodeCp932(joinLines(lines)));
}

void writeText(const QString &path, const QString &text) { writeFileAtomically(path, encodeCp932(text)); }
