// The phone-book reader on the raw bytes of a file, decoded as the program opens an
// .xml file (byte-order mark, otherwise code page 932); saved again through the
// code page 932 encoder and opened, it stays the same.
#include "PhoneBookChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = decodeText(fuzzBytes(data, size));
    const PhoneBook current = fuzzCurrent(data, size);
    const std::optional<XmlReadOutcome> outcome = readOrRefuse(text, current, false);
    if (!outcome)
        return 0;
    requireAcceptedShape(*outcome, current);
    requireStableRoundTrip(*outcome, [](const QString &written) { return decodeText(encodeCp932(written)); });
    return 0;
}
