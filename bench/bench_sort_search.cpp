// Sorting 4000 filled rows by name against a plain collator sort of the same texts, and
// a search over all fields of 4000 filled rows.
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

template <typename F> double medianMicroseconds(F run)
{
    std::vector<double> times;
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer timer;
        double elapsed = 0;
        run(timer, elapsed);
        times.push_back(elapsed);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main()
{
    const PhoneBook filled = filledBook();

    QCollator collator(QLocale(QLocale::Japanese, QLocale::Japan));
    collator.setCaseSensitivity(Qt::CaseSensitive);
    QStringList names;
    for (const DialEntry &e : filled.entries)
        names << e.name();

    const double baseline = medianMicroseconds([&](QElapsedTimer &timer, double &elapsed) {
        QStringList texts = names;
        timer.start();
        std::stable_sort(texts.begin(), texts.end(),
                         [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
        elapsed = timer.nsecsElapsed() / 1000.0;
    });

    const double ours = medianMicroseconds([&](QElapsedTimer &timer, double &elapsed) {
        PhoneBook book = filled;
        timer.start();
        ListOperations::sortByColumn(book, 1);
        elapsed = timer.nsecsElapsed() / 1000.0;
    });

    const double oursBySlot = medianMicroseconds([&](QElapsedTimer &timer, double &elapsed) {
        PhoneBook book = filled;
        timer.start();
        ListOperations::sortByColumn(book, 0);
        elapsed = timer.nsecsElapsed() / 1000.0;
    });

    // A directory as it usually stands: 500 registered rows, the rest empty.
    PhoneBook sparse = filled;
    for (int i = 500; i < PhoneBook::EntryCount; ++i)
        sparse.entries[i].clear();
    const double oursSparse = medianMicroseconds([&](QElapsedTimer &timer, double &elapsed) {
        PhoneBook book = sparse;
        timer.start();
        ListOperations::sortByColumn(book, 1);
        elapsed = timer.nsecsElapsed() / 1000.0;
    });

    int hits = 0;
    const double searchHit = medianMicroseconds([&](QElapsedTimer &timer, double &elapsed) {
        timer.start();
        hits = ListOperations::findEntries(filled, ListOperations::SearchAllFields, QStringLiteral("グループ")).size();
        elapsed = timer.nsecsElapsed() / 1000.0;
    });
    int misses = 0;
    const double searchMiss = medianMicroseconds([&](QElapsedTimer &timer, double &elapsed) {
        timer.start();
        misses =
            ListOperations::findEntries(filled, ListOperations::SearchAllFields, QStringLiteral("該当なし")).size();
        elapsed = timer.nsecsElapsed() / 1000.0;
    });

    std::printf("median of %d rounds, 4000 filled rows\n", Rounds);
    std::printf("baseline: std::stable_sort + QCollator::compare  %9.1f us\n", baseline);
    std::printf("sort by name (sort keys, stable)                 %9.1f us  ratio %.2f\n", ours, ours / baseline);
    std::printf("sort by slot number (descending)                 %9.1f us  ratio %.2f\n", oursBySlot,
                oursBySlot / baseline);
    std::printf("sort by name, 500 filled + 3500 empty rows       %9.1f us  ratio %.2f\n", oursSparse,
                oursSparse / baseline);
    std::printf("search all fields, \"グループ\" (%d hits)          %9.1f us\n", hits, searchHit);
    std::printf("search all fields, no hit (%d hits)               %9.1f us\n", misses, searchMiss);
    return 0;
}
