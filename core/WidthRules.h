#pragma once

#include <QString>
#include <optional>

// Full-width text: every code unit in U+0100..U+FF60 (surrogate halves included).
// Half-width text: every code unit in U+0020..U+007E or U+FF61..U+FF9F.
bool isFullWidthChar(char16_t c);
bool isHalfWidthChar(char16_t c);

// The Japanese width mapping: ASCII and the space to their full-width forms, half-width
// katakana to full-width katakana (composing a following sound mark: ｶﾞ → ガ), and the
// reverse (ガ → ｶﾞ). Everything else is kept; a NUL ends the result.
// A text that needs no change comes back as itself, shared, without a copy.
QString ChangeFullSize(const QString &S);
QString ChangeHalfSize(const QString &S);
// The same mappings written to out, which holds S.size() units for the full-width form and
// 2 * S.size() for the half-width one (a sound mark may follow each unit); they return the
// units written. A caller can so convert a borrowed text into a buffer it reuses.
qsizetype writeFullSize(QStringView S, char16_t *out);
qsizetype writeHalfSize(QStringView S, char16_t *out);

bool IsFullString(const QString &S);
bool IsHalfString(const QString &S);

// Substring helpers that never pad; counts may be negative or larger than S.
QString CopyRight(const QString &S, int Len);
QString CopyLeft(const QString &S, int Len);
QString DeleteRight(const QString &S, int Count);

// Trimming of the XML writer: drops leading and trailing code units up to U+0020.
QString trimControlAndSpace(const QString &S);

// "#", "*", "-", "0"–"9", "E", "P", "[", "]".
bool isDialChar(QChar c);

// Longest texts of the free-text fields.
constexpr int NameMaxLength = 16;
constexpr int KanaMaxLength = 16;
constexpr int PhoneMaxLength = 24;
constexpr int MemoMaxLength = 16;
constexpr int GroupNameMaxLength = 10;

enum class CheckedField { Name, Kana, Phone, Memo, GroupName };

struct CheckFailure {
    CheckedField field;
    QString message;
};

// The entry check of the editors: the first broken rule of name, kana, phone number
// and memo, in that order; nothing when all four pass.
std::optional<CheckFailure> checkEntry(const QString &name, const QString &kana, const QString &phone,
                                       const QString &memo);
std::optional<CheckFailure> checkGroupName(const QString &groupName);

// The messages of the width rules, shared by the checks and the analysis report.
QString nameWidthMessage();
QString kanaWidthMessage();
QString phoneWidthMessage();
QString phoneCharacterMessage();
QString memoWidthMessage();
QString groupNameWidthMessage();
