#include "formats/TextEncoding.h"

#include "formats/Cp932.h"

#include <QStringDecoder>

namespace {

// Length of a valid UTF-8 sequence at bytes[i], 0 when it is not one (overlong forms,
// surrogates and code points above U+10FFFF are not valid).
int utf8SequenceLength(const unsigned char *bytes, qsizetype i, qsizetype size)
{
    const unsigned char lead = bytes[i];
    int length;
    unsigned char low = 0x80, high = 0xBF; // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > size)
        return 0;
    if (bytes[i + 1] < low || bytes[i + 1] > high)
        return 0;
    for (int k = 2; k < length; ++k) {
        if ((bytes[i + k] & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

// Whether bytes are valid UTF-8 with at least one character beyond ASCII.
bool isUtf8BeyondAscii(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    bool multiByte = false;
    for (qsizetype i = 0; i < size;) {
        if (data[i] < 0x80) {
            ++i;
            continue;
        }
        const int length = utf8SequenceLength(data, i, size);
        if (length == 0)
            return false;
        multiByte = true;
        i += length;
    }
    return multiByte;
}

bool isHalfWidthKatakana(QChar c)
{
    return c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F;
}

// Whether a character of a UTF-8 reading is one that text in UTF-8 holds: a three-byte
// character code page 932 has (kana, kanji, full-width forms), or a Latin letter with an
// accent. Other two-byte characters (Latin extensions, Greek, Cyrillic) are what pairs
// of half-width katakana in code page 932 look like read as UTF-8 ("ﾅｶﾆｼ" reads "ŶƼ").
bool isLikelyInUtf8(char16_t c)
{
    if (c >= 0xC0 && c <= 0xFF)
        return c != 0xD7 && c != 0xF7;
    return c >= 0x800 && !(c >= 0xE000 && c <= 0xF8FF) && hasCp932Form(c);
}

// Japanese text in UTF-8 read as code page 932 is rarely-used kanji mixed with
// half-width katakana ("森" reads as "譽ｮ"); Japanese text puts half-width katakana
// after other half-width katakana or after ASCII.
bool hasKatakanaAfterWideCharacter(QStringView text)
{
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (isHalfWidthKatakana(text[i]) && text[i - 1].unicode() >= 0x80 && !isHalfWidthKatakana(text[i - 1]))
            return true;
    }
    return false;
}

} // namespace

std::optional<TextEncoding> markedEncoding(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return TextEncoding::Utf8;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return TextEncoding::Utf16;
    return std::nullopt;
}

TextEncoding detectEncoding(const QByteArray &bytes)
{
    if (const std::optional<TextEncoding> marked = markedEncoding(bytes))
        return *marked;
    if (!isUtf8BeyondAscii(bytes))
        return TextEncoding::Cp932;
    if (!isPlainCp932(bytes))
        return TextEncoding::Utf8;
    // Valid both ways, as short texts often are. Code page 932 stays unless the UTF-8
    // reading looks like text and the other does not: two or more such characters in
    // UTF-8 are almost never code page 932 text by chance, and one is when the code page
    // 932 reading puts half-width katakana after a wide character.
    const QString utf8 = QString::fromUtf8(bytes);
    int nonAscii = 0;
    for (const QChar c : utf8) {
        if (c.unicode() < 0x80)
            continue;
        if (!isLikelyInUtf8(c.unicode()))
            return TextEncoding::Cp932;
        ++nonAscii;
    }
    if (nonAscii >= 2 || hasKatakanaAfterWideCharacter(decodeCp932(bytes)))
        return TextEncoding::Utf8;
    return TextEncoding::Cp932;
}

QString decodeAs(const QByteArray &bytes, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8: {
        const qsizetype mark = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
        return QString::fromUtf8(bytes.constData() + mark, bytes.size() - mark);
    }
    case TextEncoding::Utf16: {
        const bool bigEndian = bytes.startsWith("\xFE\xFF");
        const qsizetype mark = bigEndian || bytes.startsWith("\xFF\xFE") ? 2 : 0;
        QStringDecoder decoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                               QStringConverter::Flag::Stateless);
        return decoder(QByteArrayView(bytes).sliced(mark));
    }
    case TextEncoding::Cp932:
        break;
    }
    return decodeCp932(bytes);
}

QString encodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case TextEncoding::Utf16:
        return QStringLiteral("UTF-16");
    case TextEncoding::Cp932:
        break;
    }
    return QStringLiteral("Shift-JIS");
}
