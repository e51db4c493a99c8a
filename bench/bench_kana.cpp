// Kana proposals: accuracy on hand-written names (--accuracy), the speed of 4000 proposals
// against loading the dictionary alone, and writing 4000 kana as one step of the history.
#include "core/KanaFill.h"
#include "core/KanaReading.h"
#include "core/WidthRules.h"
#include "formats/KanaReader.h"
#include "ui/PhoneBookDocument.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct NamedKana {
    QString name;
    QString kana; // in the kana field's form
};

QString sourceFile(const char *path)
{
    return QStringLiteral(DALVINO_SOURCE_DIR "/") + QString::fromUtf8(path);
}

std::vector<NamedKana> accuracySet()
{
    QFile file(sourceFile("bench/data/kana_names.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    std::vector<NamedKana> names;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const QStringList columns = line.split(u'\t');
        if (line.startsWith(u'#') || columns.size() != 2)
            continue;
        names.push_back({columns[0], kanaFieldText(columns[1].split(u' '))});
    }
    return names;
}

struct Score {
    int first = 0;
    int anywhere = 0;
};

void printRow(const char *method, const QString &dictionary, const Score &score, size_t count)
{
    const auto percent = [count](int hits) { return 100.0 * hits / static_cast<double>(count); };
    std::printf("| %s | %s | %d (%.1f %%) | %d (%.1f %%) | %zu |\n", method, qPrintable(dictionary), score.first,
                percent(score.first), score.anywhere, percent(score.anywhere), count);
}

void accuracy(const std::vector<NamedKana> &names, const KanaDictionary &dictionary, const QString &label)
{
    KanaReader reader(dictionary, sourceFile("data/kana_designators.txt"));
    Score ours;
    Score plain;
    for (const NamedKana &entry : names) {
        const QStringList proposals = reader.proposals(entry.name);
        ours.first += proposals.value(0) == entry.kana;
        ours.anywhere += proposals.contains(entry.kana);
        const QString yomi = CopyLeft(ChangeHalfSize(reader.plainReading(entry.name)), KanaMaxLength);
        plain.first += yomi == entry.kana;
        plain.anywhere += yomi == entry.kana;
        if (qEnvironmentVariableIsSet("KANA_MISSES") && proposals.value(0) != entry.kana)
            std::printf("  miss: %s expected %s got %s\n", qPrintable(entry.name), qPrintable(entry.kana),
                        qPrintable(proposals.join(u'|')));
    }
    printRow("Dalvino's proposals", label, ours, names.size());
    printRow("plain `mecab -Oyomi`, half-width, cut to 16", label, plain, names.size());
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void speed(const std::vector<NamedKana> &names)
{
    const int rounds = 7;
    std::vector<double> loadMs;
    std::vector<double> proposeMs;
    for (int round = 0; round < rounds; ++round) {
        {
            KanaReader reader(KanaDictionary::installed(), sourceFile("data/kana_designators.txt"));
            QElapsedTimer timer;
            timer.start();
            reader.load();
            loadMs.push_back(timer.nsecsElapsed() / 1e6);
        }
        KanaReader reader(KanaDictionary::installed(), sourceFile("data/kana_designators.txt"));
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 4000; ++i)
            reader.proposals(names[static_cast<size_t>(i) % names.size()].name);
        proposeMs.push_back(timer.nsecsElapsed() / 1e6);
    }
    const double baseline = median(loadMs);
    const double ours = median(proposeMs);
    std::printf("| kana proposals for 4000 names, dictionary load included (median of %d) | loading the "
                "dictionary alone %.2f ms | %.1f ms | %.1f | - |\n",
                rounds, baseline, ours, ours / baseline);
    std::printf("| of which the proposals alone, per name | - | %.3f ms | - | - |\n", (ours - baseline) / 4000);
}

double elapsedMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// The step of "カナを自動入力…" over 4000 named entries, its undo and its redo, against
// writing the same kana into a bare phone book.
void historyStep(const std::vector<NamedKana> &names)
{
    const int rounds = 51;
    PhoneBook named;
    named.New();
    QList<KanaChange> changes;
    for (int i = 0; i < PhoneBook::EntryCount; ++i) {
        const NamedKana &entry = names[static_cast<size_t>(i) % names.size()];
        named.entries[static_cast<size_t>(i)].setField(DialEntry::Name, entry.name);
        changes += KanaChange{i, entry.kana};
    }
    std::vector<double> bareMs, stepMs, undoMs, redoMs;
    for (int round = 0; round < rounds; ++round) {
        PhoneBook bare = named;
        bareMs.push_back(elapsedMs([&] { setKana(bare, changes); }));
        PhoneBookDocument document;
        document.load(PhoneBook(named), named.Syubetu);
        stepMs.push_back(elapsedMs([&] { document.fillKana(changes); }));
        undoMs.push_back(elapsedMs([&] { document.undoStack()->undo(); }));
        redoMs.push_back(elapsedMs([&] { document.undoStack()->redo(); }));
    }
    const double baseline = median(bareMs);
    const auto row = [&](const char *what, const std::vector<double> &times) {
        std::printf("| %s (median of %d) | bare setKana %.2f ms | %.2f ms | %.2f | < 16.7 ms |\n", what, rounds,
                    baseline, median(times), median(times) / baseline);
    };
    row("4000 kana written as one step of the history", stepMs);
    row("undo of that step", undoMs);
    row("redo of that step", redoMs);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const std::vector<NamedKana> names = accuracySet();
    if (names.empty()) {
        std::fprintf(stderr, "bench_kana: bench/data/kana_names.tsv not found\n");
        return 1;
    }
    if (app.arguments().contains(QStringLiteral("--accuracy"))) {
        std::printf("| method | dictionary | first proposal exact | among the proposals | names |\n");
        std::printf("|---|---|---|---|---|\n");
        accuracy(names, KanaDictionary::installed(), QStringLiteral("mecab-ipadic-utf8"));
        const KanaDictionary unidic{QStringLiteral("/var/lib/mecab/dic/unidic"), 20};
        if (QFileInfo::exists(unidic.folder + QStringLiteral("/sys.dic")))
            accuracy(names, unidic, QStringLiteral("unidic-mecab"));
        return 0;
    }
    speed(names);
    historyStep(names);
    return 0;
}
