#include "core/KanaFill.h"

#include <algorithm>

QList<int> kanaTargets(const PhoneBook &book, const QList<int> &selected, bool alsoFilled)
{
    QList<int> targets;
    const auto consider = [&](int position) {
        const DialEntry &entry = book.entries[static_cast<size_t>(position)];
        if (!entry.name().isEmpty() && (alsoFilled || entry.kana().isEmpty()))
            targets += position;
    };
    if (selected.isEmpty()) {
        for (int position = 0; position < PhoneBook::EntryCount; ++position)
            consider(position);
    } else {
        QList<int> positions = selected;
        std::sort(positions.begin(), positions.end());
        for (int position : positions)
            consider(position);
    }
    return targets;
}

QList<KanaChange> firstProposals(const QList<KanaRow> &rows)
{
    QList<KanaChange> changes;
    for (const KanaRow &row : rows) {
        if (!row.proposals.isEmpty())
            changes += KanaChange{row.position, row.proposals.first()};
    }
    return changes;
}

bool setKana(PhoneBook &book, const QList<KanaChange> &changes)
{
    bool changed = false;
    for (const KanaChange &change : changes) {
        DialEntry &entry = book.entries[static_cast<size_t>(change.position)];
        if (entry.kana() != change.kana) {
            entry.setField(DialEntry::Kana, change.kana);
            changed = true;
        }
    }
    return changed;
}
