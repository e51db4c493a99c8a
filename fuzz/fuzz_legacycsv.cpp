// The legacy CSV dispatcher and its three layouts, on the decoded lines of any file as
// the program reads them: a read book has its 4000 entries, the count never passes
// 4000, the records beyond it are reported, and nothing of the current document leaks.
#include "FuzzSupport.h"

#include "formats/LegacyCsv.h"
#include "formats/TextFile.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines = splitLines(decodeText(fuzzBytes(data, size)));
    if (lines.isEmpty())
        return 0; // the program stops at an empty file before parsing

    PhoneBook current;
    current.Syubetu = static_cast<int>(fuzzChoice(data, size, DeviceModelCount));
    current.entries[0].setField(DialEntry::Name, QStringLiteral("残ってはいけない"));
    current.Modified = true;

    int resetSteps = 0;
    bool resetting = false, reading = false;
    LegacyCsv::Progress progress;
    progress.resetting = [&] { resetting = true; };
    progress.resetStep = [&](int step) { FUZZ_REQUIRE(step == ++resetSteps); };
    progress.reading = [&] {
        FUZZ_REQUIRE(resetting);
        reading = true;
    };

    const QString path = QStringLiteral("/fuzz/speed.csv");
    const LegacyCsv::Outcome outcome = LegacyCsv::parse(lines, path, current, progress);
    const QStringList header = LegacyCsv::splitCommaText(lines.first());
    const LegacyCsv::Layout *layout = LegacyCsv::recognise(header);

    FUZZ_REQUIRE((layout == nullptr) == (outcome.status == LegacyCsv::Outcome::Status::NotLegacy));
    if (!layout) {
        FUZZ_REQUIRE(outcome.error == LegacyCsv::notLegacyText());
        FUZZ_REQUIRE(!resetting && !reading);
        return 0;
    }
    FUZZ_REQUIRE(resetting && reading && resetSteps == PhoneBook::EntryCount);
    if (outcome.status == LegacyCsv::Outcome::Status::Failed) {
        FUZZ_REQUIRE(!outcome.error.isEmpty());
        return 0;
    }
    const PhoneBook &book = outcome.book;
    requireShape(book);
    FUZZ_REQUIRE(outcome.count >= 0 && outcome.count <= PhoneBook::EntryCount);
    FUZZ_REQUIRE(outcome.count < lines.size()); // one slot per data line at most
    FUZZ_REQUIRE(book.FileName == path && !book.Modified);
    FUZZ_REQUIRE(book.SyubetuFlag == outcome.model && book.Syubetu == current.Syubetu);
    FUZZ_REQUIRE(outcome.model == layout->model || outcome.model == layout->modelWith0x08);
    // Slots are taken from the first one on; none after the count holds anything.
    for (int i = outcome.count; i < PhoneBook::EntryCount; ++i) {
        DialEntry fresh;
        fresh.No = PhoneBook::slotNumber(i);
        fresh.clear();
        FUZZ_REQUIRE(book.entries[i] == fresh);
    }
    FUZZ_REQUIRE(outcome.notices.size() <= 1);
    if (outcome.count < PhoneBook::EntryCount)
        FUZZ_REQUIRE(outcome.notices.isEmpty());
    return 0;
}
