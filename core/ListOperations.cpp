#include "core/ListOperations.h"

#include "core/DalvinoError.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <numeric>
#include <optional>

namespace ListOperations {

namespace {

struct CollatorCloser {
    void operator()(UCollator *collator) const { ucol_close(collator); }
};

// Japanese, case-sensitive, no ignore options: "" < "10" < "2" < "a" < "A". These are the
// settings QCollator makes for the Japanese locale, case-sensitive; the collator is ICU's
// own so that the sort can build its keys into one buffer. Opening an ICU collator is
// costly, so there is one for the whole run.
const UCollator *entryCollator()
{
    static const std::unique_ptr<UCollator, CollatorCloser> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<UCollator, CollatorCloser> c(ucol_open("ja", &status));
        ucol_setAttribute(c.get(), UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
        ucol_setAttribute(c.get(), UCOL_STRENGTH, UCOL_DEFAULT_STRENGTH, &status);
        ucol_setAttribute(c.get(), UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
        ucol_setAttribute(c.get(), UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
        if (U_FAILURE(status))
            throw DalvinoError(QStringLiteral("ja collation: %1").arg(QString::fromLatin1(u_errorName(status))));
        return c;
    }();
    return collator.get();
}

const UChar *utf16(const QString &text)
{
    return reinterpret_cast<const UChar *>(text.constData());
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

const QString &columnText(const DialEntry &entry, int column)
{
    static const QString empty;
    if (column == 0)
        return entry.No;
    if (column < 1 || column >= ColumnCount)
        return empty;
    return entry.field(column - 1);
}

int ListView1Compare(const DialEntry &Item1, const DialEntry &Item2, int Data, int lastSortColumn)
{
    const QString &text1 = columnText(Item1, Data);
    const QString &text2 = columnText(Item2, Data);
    const int r = sign(ucol_strcoll(entryCollator(), utf16(text1), static_cast<int32_t>(text1.size()), utf16(text2),
                                    static_cast<int32_t>(text2.size())));
    return Data == lastSortColumn ? -r : r;
}

std::vector<int> sortByColumn(PhoneBook &book, int column)
{
    const bool descending = column == book.FLastSortColumn;
    const int count = static_cast<int>(book.entries.size());

    // One sort key per text instead of a collator call per comparison, all in one buffer;
    // keys compare as bytes. Empty texts and runs of one text (unregistered slots, default
    // choices) share a key, and entries sharing a key need no comparison at all.
    const UCollator *collator = entryCollator();
    struct Key {
        size_t offset = 0;
        size_t length = 0; // with the terminating zero, so that a prefix sorts first
    };
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(count) * 48);
    auto keyOfText = [&](const QString &text) {
        const size_t offset = bytes.size();
        const auto size = static_cast<int32_t>(text.size());
        auto room = static_cast<int32_t>(32 + 8 * text.size());
        bytes.resize(offset + room);
        int32_t length = ucol_getSortKey(collator, utf16(text), size, bytes.data() + offset, room);
        if (length > room) {
            bytes.resize(offset + length);
            length = ucol_getSortKey(collator, utf16(text), size, bytes.data() + offset, length);
        }
        bytes.resize(offset + length);
        return Key{offset, static_cast<size_t>(length)};
    };
    std::vector<Key> keyOf(count);
    std::optional<Key> emptyKey;
    for (int i = 0; i < count; ++i) {
        const QString &text = columnText(book.entries[i], column);
        if (text.isEmpty()) {
            if (!emptyKey)
                emptyKey = keyOfText(text);
            keyOf[i] = *emptyKey;
        } else if (i > 0 && columnText(book.entries[i - 1], column) == text) {
            keyOf[i] = keyOf[i - 1];
        } else {
            keyOf[i] = keyOfText(text);
        }
    }
    const uint8_t *const keys = bytes.data();
    auto before = [&](int a, int b) {
        const Key &ka = keyOf[a];
        const Key &kb = keyOf[b];
        return ka.offset != kb.offset &&
               std::memcmp(keys + ka.offset, keys + kb.offset, std::min(ka.length, kb.length)) < 0;
    };

    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    // Stable: entries the collation ranks equal (か, カ, ｶ) keep their order in both
    // directions, so the result depends only on the previous order.
    if (descending)
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return before(b, a); });
    else
        std::stable_sort(order.begin(), order.end(), before);

    // Moved into place cycle by cycle: a second 4000-entry vector would cost more in
    // fresh pages than the whole sort.
    std::vector<bool> placed(count, false);
    for (int start = 0; start < count; ++start) {
        if (placed[start] || order[start] == start)
            continue;
        DialEntry first = std::move(book.entries[start]);
        int to = start;
        while (order[to] != start) {
            book.entries[to] = std::move(book.entries[order[to]]);
            placed[to] = true;
            to = order[to];
        }
        book.entries[to] = std::move(first);
        placed[to] = true;
    }

    book.FLastSortColumn = descending ? -1 : column;
    return order;
}

void clearEntries(PhoneBook &book, const QList<int> &positions)
{
    const int count = static_cast<int>(book.entries.size());
    for (int position : positions) {
        if (position >= 0 && position < count)
            book.entries[position].clear();
    }
}

bool changeField(PhoneBook &book, const QList<int> &positions, int field, const QString &value)
{
    QList<FieldChange> changes;
    changes.reserve(positions.size());
    for (int position : positions)
        changes.append({position, value});
    return changeFields(book, field, changes);
}

bool changeFields(PhoneBook &book, int field, const QList<FieldChange> &changes)
{
    if (field < 0 || field >= DialEntry::FieldCount)
        return false;
    const int count = static_cast<int>(book.entries.size());
    bool changed = false;
    for (const FieldChange &change : changes) {
        if (change.position < 0 || change.position >= count)
            continue;
        DialEntry &entry = book.entries[change.position];
        if (entry.field(field) != change.value) {
            entry.setField(field, change.value);
            changed = true;
        }
    }
    return changed;
}

int findFreeSlot(const PhoneBook &book)
{
    // The model's phone system holds as many slots as the writer writes.
    const int last = std::min(book.model().entriesWritten, static_cast<int>(book.entries.size()));
    for (int position = 0; position < last; ++position) {
        if (!book.entries[position].isRegistered())
            return position;
    }
    return -1;
}

int findSlot(const PhoneBook &book, const QString &no)
{
    const int count = static_cast<int>(book.entries.size());
    for (int position = 0; position < count; ++position) {
        if (book.entries[position].No == no)
            return position;
    }
    return -1;
}

QList<int> findEntries(const PhoneBook &book, int kind, const QString &text)
{
    QList<int> hits;
    if (text.isEmpty() || kind < 0 || kind >= SearchKindCount)
        return hits;
    const int count = static_cast<int>(book.entries.size());
    for (int position = 0; position < count; ++position) {
        const DialEntry &entry = book.entries[position];
        bool hit = false;
        if (kind == SearchAllFields) {
            for (const QString &field : entry.fields) {
                if (field.contains(text)) {
                    hit = true;
                    break;
                }
            }
        } else {
            hit = entry.field(kind - 1).contains(text);
        }
        if (hit)
            hits << position;
    }
    return hits;
}

} // namespace ListOperations
