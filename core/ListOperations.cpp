#include "core/ListOperations.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>

#include <algorithm>
#include <numeric>

namespace ListOperations {

namespace {

// Japanese, case-sensitive: "" < "10" < "2" < "a" < "A". Making a collator is costly, so
// there is one for the whole run.
const QCollator &entryCollator()
{
    static const QCollator collator = [] {
        QCollator c{QLocale(QLocale::Japanese, QLocale::Japan)};
        c.setCaseSensitivity(Qt::CaseSensitive);
        c.setNumericMode(false);
        c.setIgnorePunctuation(false);
        return c;
    }();
    return collator;
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
    const int r = sign(entryCollator().compare(text1, text2));
    return Data == lastSortColumn ? -r : r;
}

std::vector<int> sortByColumn(PhoneBook &book, int column)
{
    const bool descending = column == book.FLastSortColumn;
    const int count = static_cast<int>(book.entries.size());

    // One sort key per entry instead of a collator call per comparison.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(static_cast<size_t>(count));
    for (const DialEntry &entry : book.entries)
        keys.push_back(entryCollator().sortKey(columnText(entry, column)));
    auto before = [&](int a, int b) { return keys[a].compare(keys[b]) < 0; };

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
