// The mapped import on any file: its decoding, its records, the table's two ways of
// splitting a row (which must agree), the checks, the conversions and the import of a row range chosen
// from the input. The import never fills more than 4000 slots, fills them from the
// first one, and stores exactly the conversions of the chosen fields.
#include "FuzzSupport.h"

#include "core/WidthRules.h"
#include "formats/CsvImport.h"
#include "formats/TextFile.h"

#include <QStringList>

namespace {

// A field choice: nothing, or a field of the table, now and then one beyond it.
int pickField(unsigned &seed, int fieldCount)
{
    const unsigned options = static_cast<unsigned>(fieldCount) + 2;
    const int pick = static_cast<int>(seed % options) - 1;
    seed = seed / options + 0x9E3779B9u * (seed % 7 + 1);
    return pick;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    QString text = CsvImport::decode(bytes);
    if (text.isEmpty())
        return 0; // an empty file is refused before the table is built
    const QStringList lines = splitLines(text);
    const bool quoted = text.contains(u'"');
    const QStringView whole(text);

    int progressCalls = 0;
    const CsvImport::Table table = CsvImport::buildTable(std::move(text), [&](int row, int rows) {
        FUZZ_REQUIRE(row == ++progressCalls);
        FUZZ_REQUIRE(rows > 0);
    });
    FUZZ_REQUIRE(progressCalls == table.rowCount());
    FUZZ_REQUIRE(table.fieldCount >= 1 && table.fieldCount <= CsvImport::MaxFields);
    if (!quoted) {
        // Without quotes the rows are the non-empty lines, split as they always were.
        FUZZ_REQUIRE(table.fieldCount == CsvImport::fieldCount(lines.first()));
        int row = 0;
        for (const QString &line : lines) {
            if (line.isEmpty())
                continue;
            FUZZ_REQUIRE(row < table.rowCount() && table.row(row) == line);
            ++row;
        }
        FUZZ_REQUIRE(row == table.rowCount());
    }
    // Rows are non-empty records in the order of the text, each ending at a line end or
    // the text's end, and at most one has a quote that never closed.
    qsizetype end = 0;
    for (int r = 0; r < table.rowCount(); ++r) {
        const CsvText::Record &record = table.rows[r];
        FUZZ_REQUIRE(record.length > 0 && record.start >= end);
        end = record.start + record.length;
        FUZZ_REQUIRE(end == whole.size() || whole[end] == u'\r' || whole[end] == u'\n');
        FUZZ_REQUIRE(!record.unclosed || r + 1 == table.unclosedRow);
    }

    // The preview's fields and the split rows agree (the first rows; a large file is
    // checked in part).
    for (int r = 0; r < table.rowCount() && r < 64; ++r) {
        const QStringList fields = table.fields(r);
        FUZZ_REQUIRE(fields.size() == table.fieldCount);
        for (int f = 0; f < table.fieldCount && f < 64; ++f)
            FUZZ_REQUIRE(table.field(r, f) == fields.at(f));
        FUZZ_REQUIRE(table.field(r, -1).isNull() && table.field(r, table.fieldCount).isNull());
    }

    unsigned seed = fuzzChoice(data, size, 0xFFFFFFFFu);
    CsvImport::Request request;
    request.startRow = CsvImport::clampStartRow(static_cast<int>(seed % (table.rowCount() + 2)));
    seed = seed * 1103515245u + 12345u;
    request.endRow = CsvImport::clampEndRow(request.startRow + static_cast<int>(seed % 4100) - 50);
    CsvImport::Mapping &m = request.mapping;
    for (int *choice : {&m.name, &m.kana, &m.phone, &m.group, &m.ring, &m.memo})
        *choice = pickField(seed, table.fieldCount);

    if (CsvImport::check(request))
        return 0;
    FUZZ_REQUIRE(request.startRow > 0 && request.endRow > 0);

    PhoneBook current;
    current.Syubetu = static_cast<int>(fuzzChoice(data, size, DeviceModelCount));
    const CsvImport::Outcome outcome = CsvImport::import(current, table, request);
    const PhoneBook &book = outcome.book;
    requireShape(book);
    FUZZ_REQUIRE(book.Modified && book.Syubetu == current.Syubetu);
    FUZZ_REQUIRE(outcome.imported >= 0 && outcome.imported <= PhoneBook::EntryCount);
    const int wanted = qMax(0, request.endRow - request.startRow + 1);
    FUZZ_REQUIRE(outcome.imported <= wanted);
    bool mappingValid = true;
    for (int choice : {m.name, m.kana, m.phone, m.group, m.ring, m.memo})
        mappingValid = mappingValid && choice < table.fieldCount;
    FUZZ_REQUIRE(outcome.failure.has_value() == (!mappingValid || outcome.imported < wanted));
    if (outcome.failure)
        FUZZ_REQUIRE(*outcome.failure == CsvImport::unexpectedFieldText());

    const DialEntry fresh = PhoneBook().entries[0];
    for (int slot = 0; slot < PhoneBook::EntryCount; ++slot) {
        const DialEntry &entry = book.entries[slot];
        if (slot >= outcome.imported) {
            FUZZ_REQUIRE(entry.fields == fresh.fields);
            continue;
        }
        if (slot >= 16)
            continue; // the conversions are checked on the first rows
        const QStringList fields = table.fields(request.startRow - 1 + slot);
        const auto expect = [&](int choice, int position, QString (*convert)(const QString &)) {
            const QString stored = entry.field(position);
            if (choice < 0)
                FUZZ_REQUIRE(stored == fresh.field(position));
            else
                FUZZ_REQUIRE(stored == convert(fields.at(choice)));
        };
        expect(m.name, DialEntry::Name, CsvImport::toName);
        expect(m.kana, DialEntry::Kana, CsvImport::toKana);
        expect(m.phone, DialEntry::Phone, CsvImport::toPhone);
        expect(m.group, DialEntry::Group, [](const QString &text) { return CsvImport::toGroup(text); });
        expect(m.memo, DialEntry::Memo, CsvImport::toMemo);
        if (m.ring >= 0)
            FUZZ_REQUIRE(entry.ring() == CsvImport::toRingTone(fields.at(m.ring), book.Syubetu));
        FUZZ_REQUIRE(entry.name().size() <= NameMaxLength && entry.kana().size() <= KanaMaxLength);
        FUZZ_REQUIRE(entry.phone().size() <= PhoneMaxLength && entry.memo().size() <= MemoMaxLength);
    }
    return 0;
}
