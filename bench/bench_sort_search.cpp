// Sorting 4000 filled rows by name against a plain collator sort of the same texts, and
// a search over all fields of 4000 filled rows.
#include "bench/BenchStats.h"
#include "core/ListOperations.h"

#include <QCollator>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Rounds = 31;

// Names, kana and numbers as a customer's directory holds them: kanji, kana, Latin.
PhoneBook filledBook()
{
    PhoneBook book;
    QRandomGenerator random(20261209);
    const QString kanji = QStringLiteral("山田中村佐藤鈴木高橋伊渡辺小林加藤吉本松井上木清水森林");
    const QString kana = QStringLiteral("あいうえおかきくけこさしすせそたちつてとアイウエオカキクケコｱｲｳｴｵｶｷｸｹｺ");
    const QString latin = QStringLiteral("abcdeABCDE");
    const QString halfKana = QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄ");
    auto pick = [&](const QString &from, int length) {
        QString text;
        for (int i = 0; i < length; ++i)
            text += from.at(random.bounded(from.size()));
        return text;
    };
    for (DialEntry &e : book.entries) {
        const int style = random.bounded(3);
        e.setField(DialEntry::Name, style == 0   ? pick(kanji, 2 + random.bounded(4))
                                    : style == 1 ? pick(kana, 3 + random.bounded(6))
                                                 : pick(latin, 4 + random.bounded(8)));
        e.setField(DialEntry::Kana, pick(halfKana, 4 + random.bounded(8)));
        e.setField(DialEntry::Phone, QStringLiteral("03") + QString::number(10000000 + random.bounded(89999999)));
        e.setField(DialEntry::Group, PhoneBook::groupLabel(random.bounded(10)));
        e.setField(DialEntry::Memo, pick(kanji + kana, random.bounded(10)));
    }
    return book;
}

// Microseconds taken by work, started after prepare.
template <typename P, typename W> double timed(P prepare, W work)
{
    auto state = prepare();
    QElapsedTimer timer;
    timer.start();
    work(state);
    return timer.nsecsElapsed() / 1000.0;
}

} // namespace

int main()
{
    const PhoneBook filled = filledBook();

    QCollator collator(QLocale(QLocale::Japanese, QLocale::Japan));
    collator.setCaseSensitivity(Qt::CaseSensitive);
    QStringList names;
    QStringList allTexts; // the search baseline scans these 32000 texts once, without early exit
    for (const DialEntry &e : filled.entries) {
        names << e.name();
        for (const QString &field : e.fields)
            allTexts << field;
    }

    // A directory as it usually stands: 500 registered rows, the rest empty.
    PhoneBook sparse = filled;
    for (int i = 500; i < PhoneBook::EntryCount; ++i)
        sparse.entries[i].clear();

    auto copyOf = [](const auto &value) { return [&value] { return value; }; };
    auto sortBy = [](int column) { return [column](PhoneBook &book) { ListOperations::sortByColumn(book, column); }; };
    int hits = 0;
    int misses = 0;
    int scanned = 0;

    // The cases take turns within each round, so that the load of a shared machine falls
    // on the baseline and on our sort alike; ratios are taken per round.
    enum { Baseline, ByName, BySlot, Sparse, SearchBaseline, SearchHit, SearchMiss, CaseCount };
    std::vector<std::vector<double>> times(CaseCount);
    std::vector<std::vector<double>> ratios(CaseCount);
    for (int round = 0; round < Rounds; ++round) {
        double t[CaseCount];
        t[Baseline] = timed(copyOf(names), [&](QStringList &texts) {
            std::stable_sort(texts.begin(), texts.end(),
                             [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
        });
        t[ByName] = timed(copyOf(filled), sortBy(1));
        t[BySlot] = timed(copyOf(filled), sortBy(0));
        t[Sparse] = timed(copyOf(sparse), sortBy(1));
        t[SearchBaseline] = timed([] { return 0; },
                                  [&](int) {
                                      scanned = 0;
                                      for (const QString &text : allTexts)
                                          scanned += text.contains(QStringLiteral("グループ"));
                                  });
        t[SearchHit] = timed([] { return 0; },
                             [&](int) {
                                 hits = ListOperations::findEntries(filled, ListOperations::SearchAllFields,
                                                                    QStringLiteral("グループ"))
                                            .size();
                             });
        t[SearchMiss] = timed([] { return 0; },
                              [&](int) {
                                  misses = ListOperations::findEntries(filled, ListOperations::SearchAllFields,
                                                                       QStringLiteral("該当なし"))
                                               .size();
                              });
        for (int c = 0; c < CaseCount; ++c) {
            times[c].push_back(t[c]);
            ratios[c].push_back(t[c] / t[c >= SearchBaseline ? SearchBaseline : Baseline]);
        }
    }

    const double sortBase = median(times[Baseline]) / 1000;
    const double searchBase = median(times[SearchBaseline]) / 1000;
    std::printf("| benchmark | baseline | ours | ratio | target |\n|---|---|---|---|---|\n");
    std::printf(
        "| sort 4000 filled rows by name (median of %d rounds) | std::stable_sort + QCollator::compare %.2f ms | "
        "%.2f ms | %.2f | %s |\n",
        Rounds, sortBase, median(times[ByName]) / 1000, median(ratios[ByName]), FrameTarget);
    std::printf("| sort 4000 filled rows by slot number, descending | same baseline %.2f ms | %.2f ms | %.2f | - |\n",
                sortBase, median(times[BySlot]) / 1000, median(ratios[BySlot]));
    std::printf("| sort by name, 500 filled + 3500 empty rows | same baseline %.2f ms | %.2f ms | %.2f | - |\n",
                sortBase, median(times[Sparse]) / 1000, median(ratios[Sparse]));
    std::printf("| search \"全て\" for \"グループ\" in 4000 filled rows (%d hits) | one contains() over the 32000 "
                "texts %.2f ms | %.2f ms | %.2f | %s |\n",
                hits, searchBase, median(times[SearchHit]) / 1000, median(ratios[SearchHit]), FrameTarget);
    std::printf("| search \"全て\", no hit (%d hits) | same baseline %.2f ms | %.2f ms | %.2f | %s |\n", misses,
                searchBase, median(times[SearchMiss]) / 1000, median(ratios[SearchMiss]), FrameTarget);
    return scanned < 0 ? 1 : 0;
}
