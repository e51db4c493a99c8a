#include "formats/TextFile.h"

#include "core/DalvinoError.h"
#include "formats/CharSearch.h"
#include "formats/TextEncoding.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

QString decodeText(const QByteArray &bytes)
{
    return decodeAs(bytes, markedEncoding(bytes).value_or(TextEncoding::Cp932));
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
