// The phone-book reader on lines of any text (the input read as UTF-8, so every
// character can reach it): the line reader and the text reader agree, an accepted book
// has its 4000 entries and ten groups, and saving what was read is stable.
#include "PhoneBookChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(fuzzBytes(data, size));
    const PhoneBook current = fuzzCurrent(data, size);
    const bool leg = fuzzChoice(data, size, 7) == 0;

    const std::optional<XmlReadOutcome> fromText = readOrRefuse(text, current, leg);
    std::optional<XmlReadOutcome> fromLines;
    try {
        fromLines = readXmlPhoneBook(splitLines(text), current, leg);
    } catch (const DalvinoError &) {
    }
    FUZZ_REQUIRE(fromText.has_value() == fromLines.has_value());
    if (!fromText)
        return 0;
    FUZZ_REQUIRE(fromText->accepted == fromLines->accepted);
    FUZZ_REQUIRE(fromText->count == fromLines->count);
    FUZZ_REQUIRE(fromText->skipped == fromLines->skipped);
    FUZZ_REQUIRE(sameBook(fromText->book, fromLines->book));

    requireAcceptedShape(*fromText, current);
    requireStableRoundTrip(*fromText, [](const QString &written) { return written; });
    return 0;
}
