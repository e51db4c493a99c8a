#pragma once

#include "core/PhoneBook.h"

#include <QList>
#include <QString>
#include <QStringList>

// Filling the kana of many entries from their names: which entries, and writing the result.

// The positions whose kana is proposed: of selected (every position when it is empty), the
// entries with a name and, unless alsoFilled, an empty kana. In position order.
QList<int> kanaTargets(const PhoneBook &book, const QList<int> &selected, bool alsoFilled);

// The proposals for one entry, best first; empty when its name gives no reading.
struct KanaRow {
    int position = 0;
    QStringList proposals;
};

// A kana to write at a position.
struct KanaChange {
    int position = 0;
    QString kana;
};

// The first proposal of every row that has one.
QList<KanaChange> firstProposals(const QList<KanaRow> &rows);

// Writes the kana of the changes; returns whether any entry held another kana before.
bool setKana(PhoneBook &book, const QList<KanaChange> &changes);
