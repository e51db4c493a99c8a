#include "print/SpeedDialList.h"

#include <QTest>

using namespace SpeedDialList;

namespace {

// Slots 0005, 0001 and 0003 filled, in that list order (the window sorted by name
// descending), with kana that order them 0003, 0005, 0001.
PhoneBook sampleBook()
{
    PhoneBook book;
    auto fill = [&book](int slot, const QString &name, const QString &kana, const QString &phone,
                        const QString &group) {
        DialEntry &entry = book.entries[slot];
        entry.setField(DialEntry::Name, name);
        entry.setField(DialEntry::Kana, kana);
        entry.setField(DialEntry::Phone, phone);
        entry.setField(DialEntry::Group, group);
    };
    fill(1, QStringLiteral("和田"), QStringLiteral("ﾜﾀﾞ"), QStringLiteral("03-1111"), PhoneBook::groupLabel(2));
    fill(3, QStringLiteral("上野"), QStringLiteral("ｳｴﾉ"), QStringLiteral("03-3333"), QStringLiteral("個別"));
    fill(5, QStringLiteral("佐藤"), QStringLiteral("ｻﾄｳ"), QStringLiteral("03-5555"), PhoneBook::groupLabel(7));
    book.groups[2].setField(GroupSetting::Name, QStringLiteral("取引先"));
    std::swap(book.entries[0], book.entries[5]);
    std::swap(book.entries[1], book.entries[3]);
    book.UserName = QStringLiteral("丸山工業");
    book.UserNo = QStringLiteral("048-555-0100");
    return book;
}

QStringList firstColumn(const Content &content)
{
    QStringList numbers;
    for (const QStringList &row : content.rows)
        numbers << row.first();
    return numbers;
}

} // namespace

class tst_speeddiallist : public QObject {
    Q_OBJECT
private slots:
    void order_data();
    void order();
    void columns_data();
    void columns();
    void emptySlotsOnlyWhenAsked();
    void titleAndGroups();
};

void tst_speeddiallist::order_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("numbers");
    QTest::newRow("list") << int(Order::List) << QStringList{"0005", "0003", "0001"};
    QTest::newRow("slot") << int(Order::Slot) << QStringList{"0001", "0003", "0005"};
    QTest::newRow("kana") << int(Order::Kana) << QStringList{"0003", "0005", "0001"};
}

void tst_speeddiallist::order()
{
    QFETCH(int, order);
    QFETCH(QStringList, numbers);
    PhoneBook book = sampleBook();
    // The last sort of the window does not turn the printed order round.
    for (int lastSort : {0, 2}) {
        book.FLastSortColumn = lastSort;
        Options options;
        options.order = Order(order);
        QCOMPARE(firstColumn(build(book, options)), numbers);
    }
    QCOMPARE(book.entries[0].No, QStringLiteral("0005")); // the document keeps its order
}

void tst_speeddiallist::columns_data()
{
    QTest::addColumn<QList<int>>("left");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QStringList>("firstRow");
    QTest::newRow("all") << QList<int>{Name, Kana, Phone, Group}
                         << QStringList{"短縮No.", "名前", "カナ", "電話番号", "グループ"}
                         << QStringList{"0005", "佐藤", "ｻﾄｳ", "03-5555", "グループ７"};
    QTest::newRow("name and phone") << QList<int>{Name, Phone} << QStringList{"短縮No.", "名前", "電話番号"}
                                    << QStringList{"0005", "佐藤", "03-5555"};
    QTest::newRow("slot alone") << QList<int>{} << QStringList{"短縮No."} << QStringList{"0005"};
}

void tst_speeddiallist::columns()
{
    QFETCH(QList<int>, left);
    QFETCH(QStringList, headers);
    QFETCH(QStringList, firstRow);
    Options options;
    options.columns.fill(false);
    options.columns[Slot] = false; // the slot number is printed all the same
    for (int column : left)
        options.columns[column] = true;
    const Content content = build(sampleBook(), options);
    QCOMPARE(content.headers, headers);
    QCOMPARE(content.rows.front(), firstRow);
}

void tst_speeddiallist::emptySlotsOnlyWhenAsked()
{
    Options options;
    options.order = Order::Slot;
    options.filledOnly = false;
    const Content all = build(sampleBook(), options);
    QCOMPARE(int(all.rows.size()), PhoneBook::EntryCount);
    QCOMPARE(all.rows[2], (QStringList{"0002", "", "", "", ""})); // no default group either
    QCOMPARE(all.rows[1][Group], QStringLiteral("取引先")); // the group's name where it has one
    QCOMPARE(all.rows[3][Group], QStringLiteral("個別"));
    QCOMPARE(all.rows.back().first(), QStringLiteral("3999"));
}

void tst_speeddiallist::titleAndGroups()
{
    Options options;
    options.date = QDate(2026, 4, 1);
    const Content content = build(sampleBook(), options);
    QCOMPARE(content.title, QStringLiteral("短縮ダイヤル一覧"));
    QCOMPARE(content.date, QStringLiteral("作成日：2026年4月1日"));
    QVERIFY(content.customer.contains(QStringLiteral("丸山工業")));
    QVERIFY(content.customer.contains(QStringLiteral("048-555-0100")));
    QCOMPARE(content.groupHeaders.size(), 6);
    QCOMPARE(int(content.groupRows.size()), PhoneBook::GroupCount);
    QCOMPARE(content.groupRows[2].mid(0, 2), (QStringList{"グループ２", "取引先"}));
    QCOMPARE(pageNumberText(1, 5), QStringLiteral("1 / 5"));
}

QTEST_GUILESS_MAIN(tst_speeddiallist)
#include "tst_speeddiallist.moc"
