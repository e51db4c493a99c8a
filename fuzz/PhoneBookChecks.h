#pragma once

// What must hold for every phone book the XML reader accepts, shared by the targets that
// reach the reader (text, bytes, .leg payload).
#include "FuzzSupport.h"

#include "core/DalvinoError.h"
#include "formats/TextFile.h"
#include "formats/XmlPhoneBook.h"

#include <QStringList>
#include <optional>

// The document the program would start from: New under some model.
inline PhoneBook fuzzCurrent(const uint8_t *data, size_t size)
{
    PhoneBook current;
    current.Syubetu = static_cast<int>(fuzzChoice(data, size, DeviceModelCount));
    current.SyubetuFlag = current.Syubetu;
    return current;
}

// The read, or nothing when the reader refused with its conversion error.
inline std::optional<XmlReadOutcome> readOrRefuse(const QString &text, const PhoneBook &current, bool leg)
{
    try {
        return readXmlPhoneBookText(text, current, leg);
    } catch (const DalvinoError &) {
        return std::nullopt;
    }
}

inline void requireAcceptedShape(const XmlReadOutcome &outcome, const PhoneBook &current)
{
    if (!outcome.accepted) {
        // Not a phone book at all, or one cut short before its closing line.
        FUZZ_REQUIRE(outcome.rejection == notPhoneBookText() || outcome.rejection == incompleteText());
        return;
    }
    requireShape(outcome.book);
    FUZZ_REQUIRE(outcome.count >= 0 && outcome.skipped >= 0);
    FUZZ_REQUIRE(!outcome.book.Modified);
    FUZZ_REQUIRE(outcome.book.Syubetu == current.Syubetu);
    FUZZ_REQUIRE(outcome.book.SyubetuFlag >= 0 && outcome.book.SyubetuFlag < DeviceModelCount);
    FUZZ_REQUIRE(outcome.book.WriteMode == 0 || outcome.book.WriteMode == 1);
    FUZZ_REQUIRE(outcome.messages().size() == (outcome.skipped > 0 ? 2 : 1));
}

// The text the program writes for an accepted book once it has taken the file's model,
// or nothing when the writer refuses it with its conversion error.
inline std::optional<QString> writeAsProgram(PhoneBook book)
{
    book.Syubetu = book.SyubetuFlag;
    try {
        return buildXmlPhoneBook(book).text;
    } catch (const DalvinoError &) {
        return std::nullopt;
    }
}

// Saved and opened again as the program does it, or nothing when the writer refuses.
template <typename Through> std::optional<XmlReadOutcome> saveAndOpen(const PhoneBook &book, Through through)
{
    const std::optional<QString> written = writeAsProgram(book);
    if (!written)
        return std::nullopt;
    PhoneBook current = book;
    current.Syubetu = current.SyubetuFlag;
    const std::optional<XmlReadOutcome> again = readOrRefuse(through(*written), current, false);
    FUZZ_REQUIRE(again.has_value()); // the program cannot open what it saved
    FUZZ_REQUIRE(again->accepted);
    FUZZ_REQUIRE(again->skipped == 0);
    requireShape(again->book);
    FUZZ_REQUIRE(again->book.SyubetuFlag == current.Syubetu);
    return again;
}

// Save and open again: what the writer wrote is read back as the same phone book, so a
// second save writes the same text. through stands for the file on disk (the encoder
// and decoder of the bytes case, nothing for the text case).
template <typename Through> void requireStableRoundTrip(const XmlReadOutcome &outcome, Through through)
{
    if (!outcome.accepted)
        return;
    std::optional<XmlReadOutcome> base = outcome;
    // The reader takes the 12 characters after the "/" of the first line, so a shorter
    // MAC address takes in the comment's end " -->" at each save until it has 12, as the
    // format has it; the round trip is checked from there.
    for (int save = 0; save < 3 && base->book.MACAddress.size() < 12; ++save) {
        std::optional<XmlReadOutcome> next = saveAndOpen(base->book, through);
        if (!next)
            return;
        if (next->book.MACAddress == base->book.MACAddress)
            break;
        base = std::move(next);
    }
    const std::optional<QString> written = writeAsProgram(base->book);
    if (!written)
        return;
    const QString onDisk = through(*written);
    const std::optional<XmlReadOutcome> again = saveAndOpen(base->book, through);
    FUZZ_REQUIRE(again.has_value());
    const std::optional<QString> rewritten = writeAsProgram(again->book);
    FUZZ_REQUIRE(rewritten.has_value());
    const QString second = through(*rewritten);
    if (second != onDisk)
        dumpTexts(onDisk, second);
    FUZZ_REQUIRE(second == onDisk); // a second save changes the file
}
