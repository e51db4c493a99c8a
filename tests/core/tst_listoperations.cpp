#include "core/ListOperations.h"

#include <QCollator>
#include <QRandomGenerator>
#include <QTest>

using namespace ListOperations;

namespace {

QStringList column(const PhoneBook &book, int col, int count = PhoneBook::EntryCount)
{
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << columnText(book.entries[i], col);
    return texts;
}

QStringList slotNumbersOf(const PhoneBook &book, int count)
{
    QStringList numbers;
    for (int i = 0; i < count; ++i)
        numbers << book.entries[i].No;
    return numbers;
}

} // namespace

class tst_listoperations : public QObject {
    Q_OBJECT
private slots:
    void columnTextByColumn();
    void compareIsCaseSensitiveJapanese_data();
    void compareIsCaseSensitiveJapanese();
    void compareTurnsRoundOnLastColumn();
    void nameClickedThreeTimes();
    void slotColumnFirstClickDescends();
    void textOrderOfExtensionAndDestination();
    void equalKeysKeepTheirOrder();
    void sortAgreesWithCompare();
    void compareIsTheJapaneseQCollator();
    void sortReturnsPreviousPositions();
    void otherColumnStartsAscendingAgain();
    void clearPutsBackDefaults();
    void changeFieldReportsChange();
    void changeFieldIgnoresBadArguments();
    void freeSlotOnNewBook();
    void freeSlotSkipsUsedRows();
    void freeSlotLimitByModel_data();
    void freeSlotLimitByModel();
    void freeSlotFollowsListOrder();
    void freeSlotIgnoresOtherFields_data();
    void freeSlotIgnoresOtherFields();
    void findSlotByNumber();
    void searchByKind_data();
    void searchByKind();
    void searchAllListsEveryEntryOnce();
    void searchFollowsListOrder();
    void searchNothing_data();
    void searchNothing();
};

void tst_listoperations::columnTextByColumn()
{
    DialEntry e;
    e.No = QStringLiteral("0042");
    for (int f = 0; f < DialEntry::FieldCount; ++f)
        e.setField(f, QStringLiteral("f%1").arg(f));
    QCOMPARE(columnText(e, 0), QStringLiteral("0042"));
    QCOMPARE(columnText(e, 1), QStringLiteral("f0"));
    QCOMPARE(columnText(e, 8), QStringLiteral("f7"));
    QCOMPARE(columnText(e, 9), QString());
    QCOMPARE(columnText(e, -1), QString());
}

void tst_listoperations::compareIsCaseSensitiveJapanese_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty first") << QString() << QStringLiteral("a") << -1;
    QTest::newRow("text, not numbers") << QStringLiteral("10") << QStringLiteral("2") << -1;
    QTest::newRow("digits before letters") << QStringLiteral("2") << QStringLiteral("a") << -1;
    QTest::newRow("lower before upper") << QStringLiteral("a") << QStringLiteral("A") << -1;
    QTest::newRow("upper before next letter") << QStringLiteral("A") << QStringLiteral("b") << -1;
    QTest::newRow("case differs") << QStringLiteral("A") << QStringLiteral("a") << 1;
    QTest::newRow("extensions") << QStringLiteral("00") << QStringLiteral("01") << -1;
    QTest::newRow("groups") << QStringLiteral("グループ９") << QStringLiteral("グループ１") << 1;
    QTest::newRow("kana forms equal") << QStringLiteral("か") << QStringLiteral("ｶ") << 0;
    QTest::newRow("same") << QStringLiteral("山田") << QStringLiteral("山田") << 0;
}

void tst_listoperations::compareIsCaseSensitiveJapanese()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(int, expected);
    DialEntry a, b;
    a.setField(DialEntry::Name, first);
    b.setField(DialEntry::Name, second);
    QCOMPARE(ListView1Compare(a, b, 1, 0), expected);
    QCOMPARE(ListView1Compare(b, a, 1, 0), -expected);
}

void tst_listoperations::compareTurnsRoundOnLastColumn()
{
    DialEntry a, b;
    a.No = QStringLiteral("0001");
    b.No = QStringLiteral("0002");
    QCOMPARE(ListView1Compare(a, b, 0, 0), 1);
    QCOMPARE(ListView1Compare(a, b, 0, -1), -1);
    QCOMPARE(ListView1Compare(a, b, 0, 3), -1);
}

void tst_listoperations::nameClickedThreeTimes()
{
    PhoneBook book;
    book.entries[0].setField(DialEntry::Name, QStringLiteral("佐藤"));
    book.entries[1].setField(DialEntry::Name, QStringLiteral("あべ"));
    book.entries[2].setField(DialEntry::Name, QStringLiteral("いとう"));

    sortByColumn(book, 1);
    QCOMPARE(book.FLastSortColumn, 1);
    QCOMPARE(column(book, 1, 2), (QStringList{QString(), QString()}));
    QCOMPARE(column(book, 1).mid(PhoneBook::EntryCount - 3),
             (QStringList{QStringLiteral("あべ"), QStringLiteral("いとう"), QStringLiteral("佐藤")}));

    sortByColumn(book, 1);
    QCOMPARE(book.FLastSortColumn, -1);
    QCOMPARE(column(book, 1, 4),
             (QStringList{QStringLiteral("佐藤"), QStringLiteral("いとう"), QStringLiteral("あべ"), QString()}));

    sortByColumn(book, 1);
    QCOMPARE(book.FLastSortColumn, 1);
    QCOMPARE(column(book, 1).mid(PhoneBook::EntryCount - 3),
             (QStringList{QStringLiteral("あべ"), QStringLiteral("いとう"), QStringLiteral("佐藤")}));
}

void tst_listoperations::slotColumnFirstClickDescends()
{
    PhoneBook book;
    QCOMPARE(book.FLastSortColumn, 0);
    sortByColumn(book, 0);
    QCOMPARE(book.entries.front().No, QStringLiteral("3999"));
    QCOMPARE(book.entries.back().No, QStringLiteral("0000"));
    QCOMPARE(book.FLastSortColumn, -1);
    sortByColumn(book, 0);
    QCOMPARE(book.entries.front().No, QStringLiteral("0000"));
    QCOMPARE(book.entries[3999].No, QStringLiteral("3999"));
    QCOMPARE(book.FLastSortColumn, 0);

    // New puts the slot order back and makes the next click descend again.
    sortByColumn(book, 1);
    book.New();
    sortByColumn(book, 0);
    QCOMPARE(book.entries.front().No, QStringLiteral("3999"));
}

void tst_listoperations::textOrderOfExtensionAndDestination()
{
    PhoneBook book;
    book.entries[0].setField(DialEntry::Extension, QStringLiteral("32"));
    book.entries[1].setField(DialEntry::Extension, QStringLiteral("00"));
    book.entries[2].setField(DialEntry::Extension, QStringLiteral("10"));
    sortByColumn(book, 6); // 登録実装
    QCOMPARE(book.entries[0].extension(), QStringLiteral("00"));
    QCOMPARE(book.entries[1].extension(), QStringLiteral("01"));
    QCOMPARE(book.entries[3997].extension(), QStringLiteral("01"));
    QCOMPARE(book.entries[3998].extension(), QStringLiteral("10"));
    QCOMPARE(book.entries[3999].extension(), QStringLiteral("32"));

    PhoneBook dest;
    dest.entries[0].setField(DialEntry::Destination, QStringLiteral("2"));
    dest.entries[1].setField(DialEntry::Destination, QStringLiteral("10"));
    dest.entries[2].setField(DialEntry::Destination, QStringLiteral("内線グループＡ"));
    sortByColumn(dest, 7); // 着信先
    const QStringList tail = column(dest, 7).mid(PhoneBook::EntryCount - 3);
    QCOMPARE(tail, (QStringList{QStringLiteral("10"), QStringLiteral("2"), QStringLiteral("内線グループＡ")}));
    QCOMPARE(dest.entries[0].destination(), QStringLiteral("0"));
}

void tst_listoperations::equalKeysKeepTheirOrder()
{
    PhoneBook book;
    // か, カ and ｶ rank equal; their slots must keep the order they had, both ways.
    book.entries[10].setField(DialEntry::Name, QStringLiteral("ｶ"));
    book.entries[20].setField(DialEntry::Name, QStringLiteral("か"));
    book.entries[30].setField(DialEntry::Name, QStringLiteral("カ"));
    book.entries[40].setField(DialEntry::Name, QStringLiteral("あ"));

    sortByColumn(book, 1);
    QCOMPARE(slotNumbersOf(book, 3), (QStringList{"0000", "0001", "0002"})); // empty names in slot order
    const int n = PhoneBook::EntryCount;
    QCOMPARE(column(book, 0).mid(n - 4), (QStringList{"0040", "0010", "0020", "0030"}));

    sortByColumn(book, 1);
    QCOMPARE(column(book, 0).mid(0, 4), (QStringList{"0010", "0020", "0030", "0040"}));
    // The empty names keep the slot order they had.
    QCOMPARE(column(book, 0).mid(4, 3), (QStringList{"0000", "0001", "0002"}));
    QCOMPARE(book.entries.back().No, QStringLiteral("3999"));

    // Deterministic: the same clicks on the same data give the same order.
    PhoneBook again;
    again.entries = book.entries;
    again.FLastSortColumn = book.FLastSortColumn;
    sortByColumn(book, 2);
    sortByColumn(again, 2);
    QCOMPARE(column(book, 0), column(again, 0));
}

void tst_listoperations::sortAgreesWithCompare()
{
    PhoneBook book;
    QRandomGenerator random(4711);
    const QStringList pool = {
        QStringLiteral("あ"), QStringLiteral("ア"), QStringLiteral("ｱ"), QStringLiteral("a"),    QStringLiteral("A"),
        QStringLiteral("ａ"), QStringLiteral("10"), QStringLiteral("2"), QStringLiteral("漢字"), QString(),
        QStringLiteral("ab"), QStringLiteral("aB")};
    for (int i = 0; i < PhoneBook::EntryCount; ++i) {
        DialEntry &e = book.entries[i];
        e.setField(DialEntry::Name, pool.at(random.bounded(pool.size())) + pool.at(random.bounded(pool.size())));
        e.setField(DialEntry::Memo, pool.at(random.bounded(pool.size())));
        // Runs of one text broken by empty texts and by equal-ranking forms.
        const int block = i / 37;
        e.setField(DialEntry::Kana, block % 3 == 0 ? QString() : pool.at(block % pool.size()));
    }
    for (int col : {1, 1, 8, 0, 8, 2, 2, 1, 2}) {
        const int last = book.FLastSortColumn;
        const std::vector<int> order = sortByColumn(book, col);
        for (int i = 1; i < PhoneBook::EntryCount; ++i) {
            const int r = ListView1Compare(book.entries[i - 1], book.entries[i], col, last);
            QVERIFY2(r <= 0, qPrintable(QStringLiteral("column %1 position %2").arg(col).arg(i)));
            // Equal keys: the one that stood earlier stays earlier.
            if (r == 0)
                QVERIFY(order[i - 1] < order[i]);
        }
    }
}

void tst_listoperations::compareIsTheJapaneseQCollator()
{
    // The list's collator is ICU's own; it must rank as QCollator does for the Japanese
    // locale, case-sensitive.
    QCollator reference(QLocale(QLocale::Japanese, QLocale::Japan));
    reference.setCaseSensitivity(Qt::CaseSensitive);
    const QString pool = QStringLiteral("山田中村佐藤あいうかがぱゃっアイウカガパャッヴｱｲｳｶｷﾞﾊﾟｯｰﾞﾟ"
                                        "abzABZａＢ019０９ -_.,()（）・ー～￥¥#*&'\"");
    QRandomGenerator random(1209);
    auto text = [&] {
        QString t;
        for (int n = random.bounded(6); n > 0; --n)
            t += pool.at(random.bounded(pool.size()));
        return t;
    };
    DialEntry a;
    DialEntry b;
    for (int i = 0; i < 3000; ++i) {
        a.setField(DialEntry::Name, text());
        b.setField(DialEntry::Name, i % 10 == 0 ? a.name() : text());
        const int expected = reference.compare(a.name(), b.name());
        QVERIFY2(ListView1Compare(a, b, 1, 0) == (expected > 0) - (expected < 0),
                 qPrintable(a.name() + QStringLiteral(" / ") + b.name()));
    }
}

void tst_listoperations::sortReturnsPreviousPositions()
{
    PhoneBook book;
    for (int i = 0; i < PhoneBook::EntryCount; ++i)
        book.entries[i].setField(DialEntry::Phone, QString::number((i * 7919) % 4000));
    const std::vector<DialEntry> before = book.entries;
    const std::vector<int> order = sortByColumn(book, 3);
    QCOMPARE(order.size(), before.size());
    for (int i = 0; i < PhoneBook::EntryCount; ++i)
        QCOMPARE(book.entries[i], before[order[i]]); // slot numbers travel with their fields
    QCOMPARE(int(book.entries.size()), PhoneBook::EntryCount);
}

void tst_listoperations::otherColumnStartsAscendingAgain()
{
    PhoneBook book;
    book.entries[5].setField(DialEntry::Kana, QStringLiteral("ｱ"));
    sortByColumn(book, 2);
    sortByColumn(book, 2); // descending
    QCOMPARE(book.FLastSortColumn, -1);
    sortByColumn(book, 1);
    QCOMPARE(book.FLastSortColumn, 1);
    sortByColumn(book, 2);
    QCOMPARE(book.FLastSortColumn, 2);
    QCOMPARE(book.entries.back().kana(), QStringLiteral("ｱ"));
}

void tst_listoperations::clearPutsBackDefaults()
{
    PhoneBook book;
    for (int p : {3, 4, 9}) {
        for (int f = 0; f < DialEntry::FieldCount; ++f)
            book.entries[p].setField(f, QStringLiteral("x"));
    }
    const PhoneBook fresh;
    clearEntries(book, {3, 9, -1, 4000});
    QCOMPARE(book.entries[3], fresh.entries[3]);
    QCOMPARE(book.entries[9], fresh.entries[9]);
    QCOMPARE(book.entries[4].name(), QStringLiteral("x"));

    // The slot number stays with a sorted entry.
    sortByColumn(book, 0);
    clearEntries(book, {0});
    QCOMPARE(book.entries[0].No, QStringLiteral("3999"));
    QVERIFY(!book.entries[0].isRegistered());
}

void tst_listoperations::changeFieldReportsChange()
{
    PhoneBook book;
    book.entries[1].setField(DialEntry::Group, QStringLiteral("グループ３"));
    book.entries[2].setField(DialEntry::Group, QStringLiteral("グループ３"));
    QVERIFY(!changeField(book, {1, 2}, DialEntry::Group, QStringLiteral("グループ３")));
    QVERIFY(changeField(book, {0, 1, 2}, DialEntry::Group, QStringLiteral("グループ３")));
    QCOMPARE(column(book, 4, 4), (QStringList{QStringLiteral("グループ３"), QStringLiteral("グループ３"),
                                              QStringLiteral("グループ３"), QStringLiteral("グループ０")}));
    QVERIFY(changeField(book, {7}, DialEntry::Ring, QStringLiteral("着信メロディ")));
    QCOMPARE(book.entries[7].ring(), QStringLiteral("着信メロディ"));
    QVERIFY(changeField(book, {7}, DialEntry::Extension, QStringLiteral("00")));
    QVERIFY(!changeField(book, {7}, DialEntry::Extension, QStringLiteral("00")));
}

void tst_listoperations::changeFieldIgnoresBadArguments()
{
    PhoneBook book;
    const std::vector<DialEntry> before = book.entries;
    QVERIFY(!changeField(book, {}, DialEntry::Group, QStringLiteral("個別")));
    QVERIFY(!changeField(book, {-1, 4000}, DialEntry::Group, QStringLiteral("個別")));
    QVERIFY(!changeField(book, {0}, DialEntry::FieldCount, QStringLiteral("個別")));
    QVERIFY(!changeField(book, {0}, -1, QStringLiteral("個別")));
    QVERIFY(book.entries == before);
}

void tst_listoperations::freeSlotOnNewBook()
{
    PhoneBook book;
    QCOMPARE(findFreeSlot(book), 0);
}

void tst_listoperations::freeSlotSkipsUsedRows()
{
    PhoneBook book;
    for (int i = 0; i < 5; ++i)
        book.entries[i].setField(DialEntry::Phone, QStringLiteral("0312345678"));
    QCOMPARE(findFreeSlot(book), 5);
    book.entries[5].setField(DialEntry::Kana, QStringLiteral("ｱ"));
    book.entries[6].setField(DialEntry::Name, QStringLiteral("山田"));
    QCOMPARE(findFreeSlot(book), 7);
}

void tst_listoperations::freeSlotLimitByModel_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("expected"); // with the first 1000 rows in use and row 1000 free
    QTest::newRow("ZR410Std") << ModelZR410Std << -1;
    QTest::newRow("Morvel") << ModelMorvel << -1;
    QTest::newRow("KN820Std") << ModelKN820Std << 1000;
    QTest::newRow("LM630Std") << ModelLM630Std << 1000;
    QTest::newRow("ZR410Pro") << ModelZR410Pro << -1;
    QTest::newRow("MorvelII") << ModelMorvel2 << 1000;
    QTest::newRow("KN820Pro") << ModelKN820Pro << 1000;
    QTest::newRow("LM630Pro") << ModelLM630Pro << 1000;
}

void tst_listoperations::freeSlotLimitByModel()
{
    QFETCH(int, model);
    QFETCH(int, expected);
    PhoneBook book;
    book.Syubetu = model;
    for (int i = 0; i < 1000; ++i)
        book.entries[i].setField(DialEntry::Name, QStringLiteral("名"));
    QCOMPARE(findFreeSlot(book), expected);

    // The last row of the range is searched too.
    for (int i = 1000; i < PhoneBook::EntryCount - 1; ++i)
        book.entries[i].setField(DialEntry::Name, QStringLiteral("名"));
    const int lastRow = expected < 0 ? -1 : PhoneBook::EntryCount - 1;
    QCOMPARE(findFreeSlot(book), lastRow);
    book.entries[PhoneBook::EntryCount - 1].setField(DialEntry::Name, QStringLiteral("名"));
    QCOMPARE(findFreeSlot(book), -1);
}

void tst_listoperations::freeSlotFollowsListOrder()
{
    PhoneBook book;
    book.Syubetu = ModelLM630Std;
    book.entries[3999].setField(DialEntry::Name, QStringLiteral("山田"));
    sortByColumn(book, 0); // descending: 3999 first
    const int position = findFreeSlot(book);
    QCOMPARE(position, 1);
    QCOMPARE(book.entries[position].No, QStringLiteral("3998"));

    // Under a 1000-slot model the first 1000 positions are searched, whatever their slots.
    book.Syubetu = ModelZR410Std;
    for (int i = 0; i < 1000; ++i)
        book.entries[i].setField(DialEntry::Phone, QStringLiteral("1"));
    QCOMPARE(findFreeSlot(book), -1);
}

void tst_listoperations::freeSlotIgnoresOtherFields_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::newRow("memo") << int(DialEntry::Memo) << QStringLiteral("メモ");
    QTest::newRow("group") << int(DialEntry::Group) << QStringLiteral("グループ５");
    QTest::newRow("ring") << int(DialEntry::Ring) << QStringLiteral("着信音Ａ");
    QTest::newRow("extension") << int(DialEntry::Extension) << QStringLiteral("12");
    QTest::newRow("destination") << int(DialEntry::Destination) << QStringLiteral("内線グループＣ");
}

void tst_listoperations::freeSlotIgnoresOtherFields()
{
    QFETCH(int, field);
    QFETCH(QString, value);
    PhoneBook book;
    book.entries[0].setField(DialEntry::Phone, QStringLiteral("1"));
    book.entries[1].setField(field, value);
    QCOMPARE(findFreeSlot(book), 1);
}

void tst_listoperations::findSlotByNumber()
{
    PhoneBook book;
    QCOMPARE(findSlot(book, QStringLiteral("0123")), 123);
    sortByColumn(book, 0);
    QCOMPARE(findSlot(book, QStringLiteral("0123")), 3999 - 123);
    QCOMPARE(findSlot(book, QStringLiteral("4000")), -1);
    QCOMPARE(findSlot(book, QString()), -1);
}

void tst_listoperations::searchByKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("expected");
    // Rows 0..3 hold the fixture of searchByKind.
    QTest::newRow("name グループ") << 1 << QStringLiteral("グループ") << QList<int>{0};
    QTest::newRow("name substring") << 1 << QStringLiteral("山") << QList<int>{0, 1};
    QTest::newRow("kana") << 2 << QStringLiteral("ﾔﾏ") << QList<int>{1};
    QTest::newRow("kana full-width misses") << 2 << QStringLiteral("ヤマ") << QList<int>{};
    QTest::newRow("phone") << 3 << QStringLiteral("0312") << QList<int>{1, 2};
    QTest::newRow("group") << 4 << QStringLiteral("個別") << QList<int>{3};
    QTest::newRow("ring") << 5 << QStringLiteral("メロディ") << QList<int>{2};
    QTest::newRow("extension") << 6 << QStringLiteral("32") << QList<int>{3};
    QTest::newRow("destination") << 7 << QStringLiteral("内線") << QList<int>{2};
    QTest::newRow("memo") << 8 << QStringLiteral("abc") << QList<int>{3};
    QTest::newRow("lower misses upper") << 8 << QStringLiteral("a") << QList<int>{3};
    QTest::newRow("upper") << 8 << QStringLiteral("A") << QList<int>{1};
    QTest::newRow("full-width a misses") << 8 << QStringLiteral("ａ") << QList<int>{2};
    QTest::newRow("all, name and memo once") << 0 << QStringLiteral("山") << QList<int>{0, 1};
    QTest::newRow("all, no trimming") << 0 << QStringLiteral(" 山") << QList<int>{};
}

void tst_listoperations::searchByKind()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QList<int>, expected);
    PhoneBook book;
    DialEntry *e = book.entries.data();
    e[0].setField(DialEntry::Name, QStringLiteral("グループ山"));
    e[0].setField(DialEntry::Memo, QStringLiteral("山"));
    e[1].setField(DialEntry::Name, QStringLiteral("山田"));
    e[1].setField(DialEntry::Kana, QStringLiteral("ﾔﾏﾀﾞ"));
    e[1].setField(DialEntry::Phone, QStringLiteral("0312"));
    e[1].setField(DialEntry::Memo, QStringLiteral("A"));
    e[2].setField(DialEntry::Phone, QStringLiteral("03120"));
    e[2].setField(DialEntry::Ring, QStringLiteral("着信メロディ１"));
    e[2].setField(DialEntry::Destination, QStringLiteral("内線グループＢ"));
    e[2].setField(DialEntry::Memo, QStringLiteral("ａ"));
    e[3].setField(DialEntry::Group, QStringLiteral("個別"));
    e[3].setField(DialEntry::Extension, QStringLiteral("32"));
    e[3].setField(DialEntry::Memo, QStringLiteral("abc"));
    QCOMPARE(findEntries(book, kind, text), expected);
}

void tst_listoperations::searchAllListsEveryEntryOnce()
{
    PhoneBook book;
    book.entries[0].setField(DialEntry::Name, QStringLiteral("グループ"));
    const QList<int> all = findEntries(book, SearchAllFields, QStringLiteral("グループ"));
    QCOMPARE(all.size(), PhoneBook::EntryCount);
    QCOMPARE(all.first(), 0);
    QCOMPARE(all.last(), PhoneBook::EntryCount - 1);
    QCOMPARE(findEntries(book, 1, QStringLiteral("グループ")), QList<int>{0});
    QCOMPARE(findEntries(book, SearchAllFields, QStringLiteral("設定なし")).size(), PhoneBook::EntryCount);
}

void tst_listoperations::searchFollowsListOrder()
{
    PhoneBook book;
    book.entries[0].setField(DialEntry::Name, QStringLiteral("ゆき"));
    book.entries[1].setField(DialEntry::Name, QStringLiteral("あき"));
    book.entries[2].setField(DialEntry::Name, QStringLiteral("みき"));
    sortByColumn(book, 1);
    QStringList found;
    for (int p : findEntries(book, 1, QStringLiteral("き")))
        found << book.entries[p].No;
    QCOMPARE(found, (QStringList{"0001", "0002", "0000"}));
}

void tst_listoperations::searchNothing_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty text") << 0 << QString();
    QTest::newRow("negative kind") << -1 << QStringLiteral("0");
    QTest::newRow("kind past memo") << 9 << QStringLiteral("0");
    QTest::newRow("no hit") << 0 << QStringLiteral("存在しない");
    QTest::newRow("empty fields never hit") << 1 << QStringLiteral(" ");
}

void tst_listoperations::searchNothing()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    PhoneBook book;
    QVERIFY(findEntries(book, kind, text).isEmpty());
}

QTEST_APPLESS_MAIN(tst_listoperations)
#include "tst_listoperations.moc"
