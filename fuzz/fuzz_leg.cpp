// The converter's .leg container reader on any bytes: what it accepts packs back into
// the same bytes, what it packs it accepts, and an accepted payload goes on to the
// phone-book reader as the program reads a converted file.
#include "PhoneBookChecks.h"

#include "LegContainer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray leg = fuzzBytes(data, size);
    QString error;
    const std::optional<QByteArray> payload = LegContainer::unpack(leg, error);
    if (payload) {
        // The reserved header field is not read; everything else packs back as it was.
        QByteArray normalised = leg;
        normalised[6] = normalised[7] = '\0';
        FUZZ_REQUIRE(LegContainer::pack(*payload) == normalised);
        const PhoneBook current = fuzzCurrent(data, size);
        if (const auto outcome = readOrRefuse(decodeText(*payload), current, true))
            requireAcceptedShape(*outcome, current);
    } else {
        FUZZ_REQUIRE(!error.isEmpty());
    }

    // Any bytes packed are unpacked unchanged; a flipped byte in the payload is caught.
    const QByteArray packed = LegContainer::pack(leg);
    QString packedError;
    const std::optional<QByteArray> unpacked = LegContainer::unpack(packed, packedError);
    FUZZ_REQUIRE(unpacked && *unpacked == leg);
    if (!leg.isEmpty()) {
        QByteArray damaged = packed;
        const qsizetype at = LegContainer::HeaderSize +
                             static_cast<qsizetype>(fuzzChoice(data, size, static_cast<unsigned>(leg.size())));
        damaged[at] = static_cast<char>(damaged[at] ^ 0x01);
        FUZZ_REQUIRE(!LegContainer::unpack(damaged, packedError));
    }
    return 0;
}
