#include "core/WidthRules.h"

#include <algorithm>
#include <array>

namespace {

// Full-width forms of U+FF61..U+FF9F, in code order.
constexpr std::array<char16_t, 0x3F> HalfKanaToFull = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};

constexpr char16_t HalfVoicedMark = 0xFF9E;
constexpr char16_t HalfSemiVoicedMark = 0xFF9F;

// Voiced forms that are not the next code point after their base: ヴ, ヷ and ヺ.
struct VoicedForm {
    char16_t base;
    char16_t voiced;
};
constexpr VoicedForm IrregularVoiced[] = {{0x30A6, 0x30F4}, {0x30EF, 0x30F7}, {0x30F2, 0x30FA}};

// カ…ト and ハ…ホ take the voiced mark (the voiced form is the next code point).
constexpr bool takesVoicedMark(char16_t full)
{
    constexpr char16_t bases[] = {0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD,
                                  0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB};
    for (char16_t base : bases) {
        if (base == full)
            return true;
    }
    return false;
}

// ハ…ホ also take the semi-voiced mark (two code points on).
constexpr bool takesSemiVoicedMark(char16_t full)
{
    return full >= 0x30CF && full <= 0x30DB && (full - 0x30CF) % 3 == 0;
}

// Half-width form of a full-width katakana or mark, and the sound mark that follows it.
struct HalfForm {
    char16_t base = 0;
    char16_t mark = 0;
};

// Every full-width form with a half-width one lies in U+3000..U+30FF: a table of that
// block, built by the compiler, small enough to stay in the cache.
constexpr char16_t FullBlockFirst = 0x3000;
constexpr std::array<HalfForm, 0x100> FullToHalf = [] {
    std::array<HalfForm, 0x100> t{};
    for (int i = 0; i < static_cast<int>(HalfKanaToFull.size()); ++i) {
        const char16_t full = HalfKanaToFull[i];
        const auto half = static_cast<char16_t>(0xFF61 + i);
        t[full - FullBlockFirst].base = half;
        if (takesVoicedMark(full))
            t[full + 1 - FullBlockFirst] = {half, HalfVoicedMark};
        if (takesSemiVoicedMark(full))
            t[full + 2 - FullBlockFirst] = {half, HalfSemiVoicedMark};
    }
    for (const VoicedForm &form : IrregularVoiced)
        t[form.voiced - FullBlockFirst] = {t[form.base - FullBlockFirst].base, HalfVoicedMark};
    return t;
}();

// The voiced form of a full-width katakana, 0 when it has none.
constexpr char16_t voicedFormOf(char16_t full)
{
    for (const VoicedForm &form : IrregularVoiced) {
        if (form.base == full)
            return form.voiced;
    }
    return takesVoicedMark(full) ? static_cast<char16_t>(full + 1) : 0;
}

constexpr HalfForm halfFormOf(char16_t c)
{
    return c >= FullBlockFirst && c < FullBlockFirst + FullToHalf.size() ? FullToHalf[c - FullBlockFirst] : HalfForm{};
}

// What the mappings change: a NUL (it ends the text), and the characters each one maps.
bool changesInFullSize(char16_t c)
{
    return c == 0 || (c >= 0x0020 && c <= 0x007E) || (c >= 0xFF61 && c <= 0xFF9F);
}

bool changesInHalfSize(char16_t c)
{
    return c == 0 || c == 0x3000 || (c >= 0xFF01 && c <= 0xFF5E) || halfFormOf(c).base != 0;
}

template <typename Changes> bool anyChanges(QStringView S, Changes changes)
{
    return std::any_of(S.begin(), S.end(), [&](QChar c) { return changes(c.unicode()); });
}

} // namespace

bool isFullWidthChar(char16_t c)
{
    return c >= 0x0100 && c <= 0xFF60;
}

bool isHalfWidthChar(char16_t c)
{
    return (c >= 0x0020 && c <= 0x007E) || (c >= 0xFF61 && c <= 0xFF9F);
}

qsizetype writeFullSize(QStringView S, char16_t *out)
{
    char16_t *to = out;
    const qsizetype size = S.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = S[i].unicode();
        // From U+007F to U+FF60 nothing changes: kanji and kana are copied at once.
        if (c - 0x7Fu <= 0xFF60u - 0x7Fu) {
            *to++ = c;
            continue;
        }
        if (c == 0)
            break;
        if (c == 0x0020) {
            *to++ = 0x3000;
        } else if (c >= 0x0021 && c <= 0x007E) {
            *to++ = static_cast<char16_t>(c + 0xFEE0);
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            const char16_t full = HalfKanaToFull[c - 0xFF61];
            const char16_t next = i + 1 < size ? S[i + 1].unicode() : 0;
            if (next == HalfVoicedMark && voicedFormOf(full) != 0) {
                *to++ = voicedFormOf(full);
                ++i;
            } else if (next == HalfSemiVoicedMark && takesSemiVoicedMark(full)) {
                *to++ = static_cast<char16_t>(full + 2);
                ++i;
            } else {
                *to++ = full;
            }
        } else {
            *to++ = c;
        }
    }
    return to - out;
}

qsizetype writeHalfSize(QStringView S, char16_t *out)
{
    char16_t *to = out;
    for (const QChar ch : S) {
        const char16_t c = ch.unicode();
        // Below U+3000 only NUL changes: ASCII, as in phone numbers, is copied at once.
        if (c - 1u < 0x2FFFu) {
            *to++ = c;
            continue;
        }
        if (c == 0)
            break;
        if (c == 0x3000) {
            *to++ = 0x0020;
        } else if (c >= 0xFF01 && c <= 0xFF5E) {
            *to++ = static_cast<char16_t>(c - 0xFEE0);
        } else if (const HalfForm half = halfFormOf(c); half.base != 0) {
            *to++ = half.base;
            if (half.mark != 0)
                *to++ = half.mark;
        } else {
            *to++ = c;
        }
    }
    return to - out;
}

QString ChangeFullSize(const QString &S)
{
    if (!anyChanges(S, changesInFullSize))
        return S;
    QString result(S.size(), Qt::Uninitialized);
    result.truncate(writeFullSize(S, reinterpret_cast<char16_t *>(result.data())));
    return result;
}

QString ChangeHalfSize(const QString &S)
{
    if (!anyChanges(S, changesInHalfSize))
        return S;
    QString result(2 * S.size(), Qt::Uninitialized);
    result.truncate(writeHalfSize(S, reinterpret_cast<char16_t *>(result.data())));
    return result;
}

bool IsFullString(const QString &S)
{
    for (const QChar c : S) {
        if (!isFullWidthChar(c.unicode()))
            return false;
    }
    return true;
}

bool IsHalfString(const QString &S)
{
    for (const QChar c : S) {
        if (!isHalfWidthChar(c.unicode()))
            return false;
    }
    return true;
}

QString CopyRight(const QString &S, int Len)
{
    if (Len <= 0)
        return QString();
    if (Len >= S.size())
        return S;
    return S.right(Len);
}

QString CopyLeft(const QString &S, int Len)
{
    if (Len <= 0)
        return QString();
    return S.left(Len);
}

QString DeleteRight(const QString &S, int Count)
{
    if (Count <= 0)
        return S;
    if (Count >= S.size())
        return QString();
    return S.left(S.size() - Count);
}

QString trimControlAndSpace(const QString &S)
{
    qsizetype begin = 0;
    qsizetype end = S.size();
    while (begin < end && S.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && S.at(end - 1).unicode() <= 0x20)
        --end;
    return S.mid(begin, end - begin);
}

bool isDialChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || u == u'#' || u == u'*' || u == u'-' || u == u'E' || u == u'P' || u == u'[' ||
           u == u']';
}

QString nameWidthMessage()
{
    return QStringLiteral("名前に半角文字が存在している可能性があります");
}
QString kanaWidthMessage()
{
    return QStringLiteral("カナに全角文字が存在している可能性があります");
}
QString phoneWidthMessage()
{
    return QStringLiteral("電話番号に全角文字が存在している可能性があります");
}
QString phoneCharacterMessage()
{
    return QStringLiteral("電話番号に不正文字が存在している可能性があります");
}
QString memoWidthMessage()
{
    return QStringLiteral("メモに半角文字が存在している可能性があります");
}
QString groupNameWidthMessage()
{
    return QStringLiteral("グループ名に半角文字が存在している可能性があります");
}

std::optional<CheckFailure> checkEntry(const QString &name, const QString &kana, const QString &phone,
                                       const QString &memo)
{
    if (!IsFullString(name))
        return CheckFailure{CheckedField::Name, nameWidthMessage()};
    if (!IsHalfString(kana))
        return CheckFailure{CheckedField::Kana, kanaWidthMessage()};
    if (!IsHalfString(phone))
        return CheckFailure{CheckedField::Phone, phoneWidthMessage()};
    if (!IsFullString(memo))
        return CheckFailure{CheckedField::Memo, memoWidthMessage()};
    for (const QChar c : phone) {
        if (!isDialChar(c))
            return CheckFailure{CheckedField::Phone, phoneCharacterMessage()};
    }
    return std::nullopt;
}

std::optional<CheckFailure> checkGroupName(const QString &groupName)
{
    if (!IsFullString(groupName))
        return CheckFailure{CheckedField::GroupName, groupNameWidthMessage()};
    return std::nullopt;
}
