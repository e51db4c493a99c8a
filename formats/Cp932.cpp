#include "formats/Cp932.h"

#include "core/DalvinoError.h"

#include <unicode/ucnv.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr char16_t NoCharacter = 0xFFFD;

constexpr bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

constexpr bool isTrailByte(unsigned char b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// The user-defined area F040–F9FC, which reads as private-use characters.
constexpr bool isUserDefinedLead(unsigned char b)
{
    return b >= 0xF0 && b <= 0xF9;
}

// A byte from 0x80 that is no lead byte, as Windows reads it.
constexpr char16_t singleByte(unsigned char b)
{
    if (b >= 0xA1 && b <= 0xDF)
        return static_cast<char16_t>(0xFF61 + (b - 0xA1)); // half-width katakana
    switch (b) {
    case 0x80:
        return 0x0080;
    case 0xA0:
        return 0xF8F0;
    default: // 0xFD, 0xFE, 0xFF
        return static_cast<char16_t>(0xF8F1 + (b - 0xFD));
    }
}

struct Tables {
    // The character of each double-byte cell, at (lead - 0x80) << 8 | trail.
    std::array<char16_t, 0x8000> decode;
    // The bytes of each character: 0 when it has none, below 0x100 one byte, else the
    // lead byte in the high half.
    std::array<std::uint16_t, 0x10000> encode;
};

constexpr std::size_t cellIndex(unsigned lead, unsigned trail)
{
    return (lead - 0x80) << 8 | trail;
}

// ICU's windows-31j knows the double-byte cells; its single bytes and control codes
// differ from what Windows does (it swaps 0x1A, 0x1C and 0x7F and reads 0x80, 0xA0 and
// 0xFD–0xFF as U+001A), so those are set here. Built once, at first use.
std::unique_ptr<const Tables> buildTables()
{
    auto tables = std::make_unique<Tables>();
    tables->decode.fill(NoCharacter);
    tables->encode.fill(0);

    QByteArray cells;
    cells.reserve(2 * 60 * 188);
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFC && isLeadByte(lead); ++trail) {
            if (isTrailByte(trail))
                cells.append(static_cast<char>(lead)).append(static_cast<char>(trail));
        }
    }
    // Every cell reads as exactly one UTF-16 unit, U+FFFD when it has no character.
    const auto count = static_cast<int32_t>(cells.size() / 2);
    std::vector<UChar> read(cells.size());
    UErrorCode status = U_ZERO_ERROR;
    UConverter *converter = ucnv_open("windows-31j", &status);
    const int32_t length = U_SUCCESS(status)
                               ? ucnv_toUChars(converter, read.data(), static_cast<int32_t>(read.size()),
                                               cells.constData(), static_cast<int32_t>(cells.size()), &status)
                               : 0;
    ucnv_close(converter);
    if (U_FAILURE(status) || length != count)
        throw DalvinoError(QStringLiteral("windows-31j: %1").arg(QString::fromLatin1(u_errorName(status))));
    for (int32_t i = 0; i < count; ++i) {
        const auto lead = static_cast<unsigned char>(cells[2 * i]);
        const auto trail = static_cast<unsigned char>(cells[2 * i + 1]);
        tables->decode[cellIndex(lead, trail)] = read[i];
    }

    for (unsigned b = 0; b < 0x80; ++b)
        tables->encode[b] = static_cast<std::uint16_t>(b);
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        if (!isLeadByte(static_cast<unsigned char>(b)))
            tables->encode[singleByte(static_cast<unsigned char>(b))] = static_cast<std::uint16_t>(b);
    }
    // Some characters have several cells; Windows writes the JIS and NEC cells first,
    // then the IBM extensions (FA–FC), then the NEC-selected copies of them (ED–EE).
    const auto takeCells = [&](unsigned firstLead, unsigned lastLead) {
        for (unsigned lead = firstLead; lead <= lastLead; ++lead) {
            for (unsigned trail = 0x40; trail <= 0xFC && isLeadByte(lead); ++trail) {
                const char16_t c = tables->decode[cellIndex(lead, trail)];
                if (isTrailByte(trail) && c != NoCharacter && tables->encode[c] == 0)
                    tables->encode[c] = static_cast<std::uint16_t>(lead << 8 | trail);
            }
        }
    };
    takeCells(0x81, 0xEC);
    takeCells(0xFA, 0xFC);
    takeCells(0xED, 0xF9);
    return tables;
}

const Tables &tables()
{
    static const std::unique_ptr<const Tables> built = buildTables();
    return *built;
}

} // namespace

QString decodeCp932(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QString();
    const Tables &t = tables();
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    QString text(size, Qt::Uninitialized); // never more UTF-16 units than bytes
    char16_t *const begin = reinterpret_cast<char16_t *>(text.data());
    char16_t *out = begin;
    for (qsizetype i = 0; i < size; ++i) {
        const unsigned char b = in[i];
        if (b < 0x80) {
            *out++ = b;
        } else if (!isLeadByte(b)) {
            *out++ = singleByte(b);
        } else if (i + 1 < size && isTrailByte(in[i + 1])) {
            *out++ = t.decode[cellIndex(b, in[i + 1])];
            ++i;
        } else {
            *out++ = NoCharacter; // the byte after it is read on its own
        }
    }
    text.truncate(out - begin);
    return text;
}

QByteArray encodeCp932(QStringView text)
{
    if (text.isEmpty())
        return QByteArray();
    const Tables &t = tables();
    QByteArray bytes(2 * text.size(), Qt::Uninitialized); // at most two bytes a UTF-16 unit
    char *const begin = bytes.data();
    char *out = begin;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text[i].unicode();
        const std::uint16_t code = t.encode[c];
        if (c < 0x80) {
            *out++ = static_cast<char>(c);
        } else if (code == 0) {
            *out++ = '?';
            if (QChar::isHighSurrogate(c) && i + 1 < size && text[i + 1].isLowSurrogate())
                ++i; // one "?" for the whole character
        } else if (code < 0x100) {
            *out++ = static_cast<char>(code);
        } else {
            *out++ = static_cast<char>(code >> 8);
            *out++ = static_cast<char>(code & 0xFF);
        }
    }
    bytes.truncate(out - begin);
    return bytes;
}

bool hasCp932Form(char16_t c)
{
    return c < 0x80 || tables().encode[c] != 0;
}

bool fitsCp932(QStringView text)
{
    const Tables &t = tables();
    for (const QChar c : text) {
        if (c.unicode() >= 0x80 && t.encode[c.unicode()] == 0)
            return false;
    }
    return true;
}

bool isPlainCp932(const QByteArray &bytes)
{
    const Tables &t = tables();
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const unsigned char b = in[i];
        if (b < 0x80 || (b >= 0xA1 && b <= 0xDF))
            continue;
        if (!isLeadByte(b) || isUserDefinedLead(b) || i + 1 >= size || !isTrailByte(in[i + 1]) ||
            t.decode[cellIndex(b, in[i + 1])] == NoCharacter)
            return false;
        ++i;
    }
    return true;
}

void Cp932Losses::checkEntry(QStringView slot, QStringView text)
{
    // The first few slot numbers tell the user where to look; the count says the rest.
    constexpr qsizetype Named = 5;
    if (slot == lastSlot_ || fitsCp932(text))
        return;
    lastSlot_ = slot.toString();
    ++entries_;
    if (firstSlots_.size() < Named)
        firstSlots_ << slot.toString();
}

void Cp932Losses::checkOther(QStringView text)
{
    other_ = other_ || !fitsCp932(text);
}

std::optional<QString> Cp932Losses::notice() const
{
    if (entries_ == 0 && !other_)
        return std::nullopt;
    QStringList lines;
    if (entries_ > 0) {
        QString named = firstSlots_.join(QStringLiteral("、"));
        if (entries_ > firstSlots_.size())
            named += QStringLiteral(" ほか");
        lines
            << QStringLiteral("Shift-JISにない文字を含むデータが%1件あります（短縮番号 %2）").arg(entries_).arg(named);
    }
    if (other_)
        lines << QStringLiteral("お客様名・お客様電話番号・グループ名にShift-JISにない文字があります");
    lines << QStringLiteral("これらの文字は「?」として保存されます");
    return lines.join(QStringLiteral("\r\n"));
}
