#pragma once

#include "core/KanaFill.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// A MeCab dictionary: its folder and which field of a word's features holds the reading.
struct KanaDictionary {
    QString folder;
    int readingField = 7;

    // Debian's mecab-ipadic-utf8, the dictionary the program uses.
    static KanaDictionary installed();
};

// Proposes kana readings for names with MeCab. The dictionary (tens of megabytes) and the
// designator list (data/kana_designators.txt) are loaded on the first use, never before.
class KanaReader {
public:
    explicit KanaReader(KanaDictionary dictionary = KanaDictionary::installed(), QString designatorFile = {});
    ~KanaReader();
    KanaReader(const KanaReader &) = delete;
    KanaReader &operator=(const KanaReader &) = delete;

    // Loads what is not loaded yet; throws DalvinoError with a one-line message when the
    // dictionary or the designator list cannot be read. Nothing is changed by a failure.
    void load();
    bool isLoaded() const;

    // The proposals for a name in the kana field's form, best first, at most
    // MaxProposals; empty when nothing of the name can be read. Loads on first use.
    QStringList proposals(const QString &name);
    static constexpr int MaxProposals = 6;

    // The candidate readings of each part of a name (full-width katakana, best first).
    QList<QStringList> partCandidates(const QStringList &parts);

    // The reading MeCab's plain "-Oyomi" output gives for a text: each word's reading,
    // or its text when it has none. For comparison with the proposals.
    QString plainReading(const QString &text);

    // The message for a dictionary that cannot be loaded.
    static QString missingDictionaryMessage(const QString &folder);

private:
    struct Engine;
    KanaDictionary dictionary_;
    QString designatorFile_;
    QStringList designators_;
    std::unique_ptr<Engine> engine_;
};

// The program's one reader, shared by the windows and the command line.
KanaReader &programKanaReader();
// Points the program's reader at another dictionary folder (a missing one in tests);
// what was loaded is dropped.
void setProgramKanaDictionary(const QString &folder);

// The proposals for the entries at the positions; progress(i + 1) after each. Throws
// DalvinoError, before any work, when the reader cannot be loaded.
QList<KanaRow> proposeKana(const PhoneBook &book, const QList<int> &positions, KanaReader &reader,
                           const std::function<void(int)> &progress = {});
