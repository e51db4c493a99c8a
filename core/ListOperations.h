#pragma once

#include "core/PhoneBook.h"

#include <QList>
#include <QString>
#include <vector>

// Operations on the entry list as a whole: sorting by a column, clearing and changing
// many entries at once, the free-slot search and the search by field. They work on
// positions in the current list order; the windows only wire them.
namespace ListOperations {

// Columns of the entry list: 0 is the slot number, 1 … 8 the fields 0 … 7.
constexpr int ColumnCount = DialEntry::FieldCount + 1;

// The text a column compares: the slot number, a field, or empty for a column the
// entry does not have.
const QString &columnText(const DialEntry &entry, int column);

// The list's comparison of two entries by column Data: the Japanese collation,
// case-sensitive, reduced to -1, 0 or 1; turned round when Data is the column of the
// last ascending sort.
int ListView1Compare(const DialEntry &Item1, const DialEntry &Item2, int Data, int lastSortColumn);

// Sorts the entries by a column as ListView1Compare orders them, keeping entries whose
// keys compare equal in their previous order, and updates FLastSortColumn: -1 after a
// descending sort, otherwise the column. Returns the previous position of the entry
// now at each position.
std::vector<int> sortByColumn(PhoneBook &book, int column);

// Puts back the defaults of the entries at the positions; the slot numbers stay.
void clearEntries(PhoneBook &book, const QList<int> &positions);

// Sets field position field of the entries at the positions to value. Returns whether
// any entry held a different value before.
bool changeField(PhoneBook &book, const QList<int> &positions, int field, const QString &value);

// One new value for the entry at a position.
struct FieldChange {
    int position;
    QString value;
};

// Sets field position field of each entry named to its new value. Returns whether any
// entry held a different value before.
bool changeFields(PhoneBook &book, int field, const QList<FieldChange> &changes);

// The first position, within the slots the current model holds, whose entry is not
// registered; -1 when there is none.
int findFreeSlot(const PhoneBook &book);

// The position of the entry with slot number no; -1 when there is none.
int findSlot(const PhoneBook &book, const QString &no);

// Search kinds: 0 for any of the eight fields, k = 1 … 8 for field k - 1.
constexpr int SearchAllFields = 0;
constexpr int SearchKindCount = DialEntry::FieldCount + 1;

// The positions, in list order, of the entries whose field of the kind (or any field)
// contains text as an exact, case- and width-sensitive substring. An empty text or an
// unknown kind finds nothing.
QList<int> findEntries(const PhoneBook &book, int kind, const QString &text);

} // namespace ListOperations
