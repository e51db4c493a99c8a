// The phone-book reader on the raw bytes of a file, decoded as the program opens an
// .xml file (byte-order mark, UTF-8 found as such, otherwise code page 932); saved
// through the code page 932 encoder and opened again, it stays the same.
#include "PhoneBookChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = decodePhoneBookFile(fuzzBytes(data, size));
    const PhoneBook current = fuzzCurrent(data, size);
    const std::optional<XmlReadOutcome> outcome = readOrRefuse(text, current, false);
    if (!outcome)
        return 0;
    requireAcceptedShape(*outcome, current);
    if (!outcome->accepted)
        return 0;

    // A character without a code page 932 form is lost at the first save: it becomes "?",
    // which a full-width field turns into "？" at the next one. So the file is stable
    // from the first save on.
    const auto onDisk = [](const QString &written) { return decodeText(encodeCp932(written)); };
    const std::optional<QString> written = writeAsProgram(outcome->book);
    if (!written)
        return 0;
    PhoneBook reopened = outcome->book;
    reopened.Syubetu = reopened.SyubetuFlag;
    const std::optional<XmlReadOutcome> saved = readOrRefuse(onDisk(*written), reopened, false);
    FUZZ_REQUIRE(saved && saved->accepted);
    requireStableRoundTrip(*saved, onDisk);
    return 0;
}
