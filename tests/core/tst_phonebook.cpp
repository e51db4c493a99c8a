#include "core/PhoneBook.h"

#include <QTest>
#include <algorithm>

class TestPhoneBook : public QObject {
    Q_OBJECT
private slots:
    void freshDocument();
    void registeredAndSet_data();
    void registeredAndSet();
    void newAfterSortAndEdits();
    void newKeepsDocumentState();
    void progressOncePerEntry();
    void clearKeepsSlotNumber();
    void slotNumbers_data();
    void slotNumbers();
};

void TestPhoneBook::slotNumbers_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("number");
    QTest::newRow("first") << 0 << QStringLiteral("0000");
    QTest::newRow("one digit") << 7 << QStringLiteral("0007");
    QTest::newRow("two digits") << 42 << QStringLiteral("0042");
    QTest::newRow("three digits") << 999 << QStringLiteral("0999");
    QTest::newRow("four digits") << 1000 << QStringLiteral("1000");
    QTest::newRow("last") << 3999 << QStringLiteral("3999");
}

void TestPhoneBook::slotNumbers()
{
    QFETCH(int, index);
    QFETCH(QString, number);
    QCOMPARE(PhoneBook::slotNumber(index), number);
    QCOMPARE(PhoneBook().entries[index].No, number);
}

void TestPhoneBook::freshDocument()
{
    const PhoneBook book;
    QCOMPARE(book.entries.size(), size_t(PhoneBook::EntryCount));
    QCOMPARE(book.entries.front().No, QStringLiteral("0000"));
    QCOMPARE(book.entries[7].No, QStringLiteral("0007"));
    QCOMPARE(book.entries[123].No, QStringLiteral("0123"));
    QCOMPARE(book.entries.back().No, QStringLiteral("3999"));
    const DialEntry &e = book.entries[42];
    QCOMPARE(e.group(), QStringLiteral("グループ０"));
    QCOMPARE(e.ring(), QStringLiteral("設定なし"));
    QCOMPARE(e.extension(), QStringLiteral("01"));
    QCOMPARE(e.destination(), QStringLiteral("0"));
    QVERIFY(e.name().isEmpty() && e.kana().isEmpty() && e.phone().isEmpty() && e.memo().isEmpty());
    for (int g = 0; g < PhoneBook::GroupCount; ++g) {
        const GroupSetting &group = book.groups[g];
        QCOMPARE(group.Label, QStringLiteral("グループ") + QChar(0xFF10 + g));
        QCOMPARE(group.name(), QStringLiteral("登録なし"));
        QCOMPARE(group.ring(), QStringLiteral("設定なし"));
        QCOMPARE(group.lamp(), QStringLiteral("設定なし"));
        QCOMPARE(group.fax(), QStringLiteral("しない"));
        QCOMPARE(group.callback(), QStringLiteral("しない"));
        QVERIFY(!group.isSet());
    }
    QCOMPARE(book.FileName, QStringLiteral("無題"));
    QCOMPARE(book.MACAddress, QStringLiteral("000000000000"));
    QCOMPARE(book.Syubetu, int(ModelLM630Std));
    QCOMPARE(book.WriteMode, 0);
    QVERIFY(!book.Modified);
    QCOMPARE(book.FLastSortColumn, 0);
}

void TestPhoneBook::registeredAndSet_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("registered");
    QTest::newRow("name") << int(DialEntry::Name) << "山田" << true;
    QTest::newRow("kana") << int(DialEntry::Kana) << "ﾔﾏﾀﾞ" << true;
    QTest::newRow("phone") << int(DialEntry::Phone) << "1" << true;
    QTest::newRow("memo only") << int(DialEntry::Memo) << "メモ" << false;
    QTest::newRow("group only") << int(DialEntry::Group) << "個別" << false;
    QTest::newRow("ring only") << int(DialEntry::Ring) << "着信音Ａ" << false;
    QTest::newRow("extension only") << int(DialEntry::Extension) << "12" << false;
    QTest::newRow("destination only") << int(DialEntry::Destination) << "3" << false;
}

void TestPhoneBook::registeredAndSet()
{
    QFETCH(int, field);
    QFETCH(QString, value);
    QFETCH(bool, registered);
    DialEntry entry;
    entry.clear();
    entry.setField(field, value);
    QCOMPARE(entry.isRegistered(), registered);

    GroupSetting group;
    group.reset();
    group.setField(GroupSetting::Fax, QStringLiteral("する"));
    group.setField(GroupSetting::Callback, QStringLiteral("する"));
    QVERIFY(!group.isSet()); // the flags do not count
    group.setField(GroupSetting::Lamp, QStringLiteral("７色"));
    QVERIFY(group.isSet());
}

void TestPhoneBook::newAfterSortAndEdits()
{
    PhoneBook book;
    book.entries[5].setField(DialEntry::Name, QStringLiteral("山田"));
    book.groups[3].setField(GroupSetting::Name, QStringLiteral("営業"));
    book.UserName = QStringLiteral("顧客");
    book.FLastSortColumn = 2;
    std::reverse(book.entries.begin(), book.entries.end());
    QCOMPARE(book.entries.front().No, QStringLiteral("3999"));

    book.New();
    for (int i = 0; i < PhoneBook::EntryCount; i += 999)
        QCOMPARE(book.entries[i].No, PhoneBook::slotNumber(i));
    QVERIFY(book.entries[5].name().isEmpty());
    QVERIFY(book.entries[3994].name().isEmpty());
    QCOMPARE(book.groups[3].name(), QStringLiteral("登録なし"));
    QVERIFY(book.UserName.isEmpty());
    QCOMPARE(book.FLastSortColumn, 0);
}

void TestPhoneBook::newKeepsDocumentState()
{
    PhoneBook book;
    book.Syubetu = ModelZR410Std;
    book.WriteMode = 1;
    book.MACAddress = QStringLiteral("0123456789AB");
    book.SyubetuFlag = 5;
    book.Modified = true;
    book.FileName = QStringLiteral("/tmp/x.leg");
    book.New();
    QCOMPARE(book.Syubetu, int(ModelZR410Std));
    QCOMPARE(book.WriteMode, 1);
    QCOMPARE(book.MACAddress, QStringLiteral("0123456789AB"));
    QCOMPARE(book.SyubetuFlag, 5);
    QVERIFY(book.Modified);
    QCOMPARE(book.FileName, QStringLiteral("無題"));
    book.MACInit();
    QCOMPARE(book.MACAddress, QStringLiteral("000000000000"));
}

void TestPhoneBook::progressOncePerEntry()
{
    PhoneBook book;
    int calls = 0, last = 0;
    bool inOrder = true;
    book.New([&](int value) {
        ++calls;
        inOrder = inOrder && value == last + 1;
        last = value;
    });
    QCOMPARE(calls, PhoneBook::EntryCount);
    QCOMPARE(last, PhoneBook::EntryCount);
    QVERIFY(inOrder);
}

void TestPhoneBook::clearKeepsSlotNumber()
{
    PhoneBook book;
    DialEntry &e = book.entries[12];
    for (int f = 0; f < DialEntry::FieldCount; ++f)
        e.setField(f, QStringLiteral("x"));
    e.clear();
    QCOMPARE(e, PhoneBook().entries[12]);
}

QTEST_APPLESS_MAIN(TestPhoneBook)
#include "tst_phonebook.moc"
