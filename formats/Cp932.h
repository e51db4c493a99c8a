#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// Code page 932 (Shift-JIS with the Windows extensions) as Windows reads and writes it:
// every byte below 0x80 is the character of the same code, control codes included; the
// single bytes 0x80, 0xA0, 0xFD, 0xFE and 0xFF read as U+0080 and U+F8F0–U+F8F3 and are
// written back as the same bytes. A double-byte cell without a character, or a lead byte
// without its trail byte, reads as U+FFFD.

QString decodeCp932(const QByteArray &bytes);
// Every character without a code page 932 form (one outside the BMP included) becomes
// one "?".
QByteArray encodeCp932(QStringView text);

// Whether the character has a form in code page 932 that reads back as itself.
bool hasCp932Form(char16_t c);
// Whether the whole text can be written without a "?" standing in for a character.
bool fitsCp932(QStringView text);

// Whether the bytes read as code page 932 without a cell that has no character and
// without the bytes only Windows gives a meaning to (0x80, 0xA0, 0xFD–0xFF, the user-
// defined area): what a file written as Japanese text holds.
bool isPlainCp932(const QByteArray &bytes);

// Gathers, before a file is written, the entries whose text code page 932 cannot hold,
// for the one notice that names them.
class Cp932Losses {
public:
    // slot: the entry's slot number; text: what will be written of the entry, in one
    // piece or in consecutive pieces.
    void checkEntry(QStringView slot, QStringView text);
    // The other texts of the file: customer name and number, group names.
    void checkOther(QStringView text);
    // The notice, when a character will be written as "?".
    std::optional<QString> notice() const;

private:
    int entries_ = 0;
    QStringList firstSlots_;
    QString lastSlot_; // counted last, so that an entry counts once
    bool other_ = false;
};
