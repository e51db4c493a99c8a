#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The kana field's reading of a name, built from a morphological analyser's words. The
// analyser itself lives in formats/KanaReader; everything here is plain text work.

// The parts of a name to read: the name in full-width form, company designators
// (株式会社, （株）, ㈱, ...) taken out wherever they stand, split at spaces; empty parts
// are dropped. designators as parseDesignatorList gives them: full-width, longest first.
QStringList kanaNameParts(const QString &name, const QStringList &designators);

// One word of an analysed part: its written form and the dictionary's reading in
// katakana, empty when the dictionary knows none.
struct KanaWord {
    QString surface;
    QString reading;
};

// The full-width reading of one part: each word's reading, except that letters and digits
// stay as written (a spelt-out "エヌティーティー" would take half the field) and a word
// without a reading keeps its text, hiragana turned into katakana.
QString partReading(const QList<KanaWord> &words);

// The kana field's text for a name read part by part: each part in half-width form
// through the width rules, anything left that is not half-width (an unread kanji)
// dropped, parts joined by one half-width space (family and given name stay apart, as
// users write them). Over the field's limit the text is cut at the limit, never between
// a kana and its sound mark, and without a trailing space.
QString kanaFieldText(const QStringList &partReadings);

// The proposals for a name from the candidate readings of each of its parts, best first:
// the first takes every part's best, the next ones change one part at a time. In the
// kana field's form, distinct, non-empty, at most maxCount.
QStringList kanaProposals(const QList<QStringList> &partCandidates, int maxCount);

// The designator list file: one designator a line; empty lines and lines starting with
// "#" are skipped. The result is in full-width form, distinct, longest first.
QStringList parseDesignatorList(const QString &text);
