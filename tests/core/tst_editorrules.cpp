#include "core/EditorRules.h"

#include <QTest>

using namespace EditorRules;

Q_DECLARE_METATYPE(EditorRules::TextField)

class TestEditorRules : public QObject {
    Q_OBJECT
private slots:
    void wrapsPositions_data();
    void wrapsPositions();
    void filtersPhoneKeys_data();
    void filtersPhoneKeys();
    void ordersTextFields_data();
    void ordersTextFields();
    void detectsChangesByExactText();
    void preselectsDestination_data();
    void preselectsDestination();
    void givesDestinationText_data();
    void givesDestinationText();
    void storesGroupName();
    void readsFlags();
};

void TestEditorRules::wrapsPositions_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("expected");
    QTest::newRow("next") << 10 << 1 << 11;
    QTest::newRow("previous") << 10 << -1 << 9;
    QTest::newRow("last to first") << 3999 << 1 << 0;
    QTest::newRow("first to last") << 0 << -1 << 3999;
    QTest::newRow("same") << 0 << 0 << 0;
}

void TestEditorRules::wrapsPositions()
{
    QFETCH(int, position);
    QFETCH(int, step);
    QFETCH(int, expected);
    QCOMPARE(wrapPosition(position, step, 4000), expected);
}

void TestEditorRules::filtersPhoneKeys_data()
{
    QTest::addColumn<QChar>("typed");
    QTest::addColumn<bool>("accepted");
    for (QChar c : QStringLiteral("0123456789#*-EP[]"))
        QTest::newRow(qPrintable(QStringLiteral("dial %1").arg(c))) << c << true;
    QTest::newRow("backspace") << QChar(u'\b') << true;
    QTest::newRow("a") << QChar(u'a') << false;
    QTest::newRow("lower p") << QChar(u'p') << false;
    QTest::newRow("lower e") << QChar(u'e') << false;
    QTest::newRow("space") << QChar(u' ') << false;
    QTest::newRow("plus") << QChar(u'+') << false;
    QTest::newRow("parenthesis") << QChar(u'(') << false;
    QTest::newRow("ctrl-v") << QChar(u'\x16') << false;
    QTest::newRow("ctrl-c") << QChar(u'\x03') << false;
    QTest::newRow("full-width 1") << QChar(u'１') << false;
}

void TestEditorRules::filtersPhoneKeys()
{
    QFETCH(QChar, typed);
    QFETCH(bool, accepted);
    QCOMPARE(acceptsPhoneKey(typed), accepted);
}

void TestEditorRules::ordersTextFields_data()
{
    QTest::addColumn<TextField>("from");
    QTest::addColumn<bool>("memoShown");
    QTest::addColumn<TextField>("to");
    QTest::newRow("name") << TextField::Name << true << TextField::Kana;
    QTest::newRow("kana") << TextField::Kana << true << TextField::Phone;
    QTest::newRow("phone, memo shown") << TextField::Phone << true << TextField::Memo;
    QTest::newRow("phone, memo hidden") << TextField::Phone << false << TextField::Name;
    QTest::newRow("memo") << TextField::Memo << true << TextField::Name;
    QTest::newRow("name, memo hidden") << TextField::Name << false << TextField::Kana;
}

void TestEditorRules::ordersTextFields()
{
    QFETCH(TextField, from);
    QFETCH(bool, memoShown);
    QFETCH(TextField, to);
    QCOMPARE(nextTextField(from, memoShown), to);
}

void TestEditorRules::detectsChangesByExactText()
{
    const std::array<QString, 3> loaded = {QStringLiteral("山田"), QString(), QStringLiteral("01")};
    QVERIFY(!anyChanged(loaded, loaded));
    // Width and trailing spaces count: the comparison is exact.
    QVERIFY(anyChanged(loaded, {QStringLiteral("山田　"), QString(), QStringLiteral("01")}));
    QVERIFY(anyChanged(loaded, {QStringLiteral("山田"), QString(), QStringLiteral("１")}));
    // A value no longer in its list reads empty and so is a change.
    QVERIFY(anyChanged(loaded, {QStringLiteral("山田"), QString(), QString()}));
}

void TestEditorRules::preselectsDestination_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("preselect");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("item");
    const int all = DestinationChoice::AllExtensions;
    const int group = DestinationChoice::ExtensionGroup;
    const int single = DestinationChoice::SingleExtension;
    QTest::newRow("0") << QStringLiteral("0") << true << all << -1;
    QTest::newRow("group A") << QStringLiteral("内線グループＡ") << true << group << 0;
    QTest::newRow("group C") << QStringLiteral("内線グループＣ") << true << group << 2;
    QTest::newRow("group I") << QStringLiteral("内線グループＩ") << true << group << 8;
    QTest::newRow("1") << QStringLiteral("1") << true << single << 0;
    QTest::newRow("7") << QStringLiteral("7") << true << single << 6;
    QTest::newRow("07") << QStringLiteral("07") << true << single << 6;
    QTest::newRow("34") << QStringLiteral("34") << true << single << 33;
    QTest::newRow("35") << QStringLiteral("35") << false << all << -1;
    QTest::newRow("00") << QStringLiteral("00") << false << all << -1;
    QTest::newRow("-3") << QStringLiteral("-3") << false << all << -1;
    QTest::newRow("empty") << QString() << true << all << -1;
    QTest::newRow("not a number") << QStringLiteral("abc") << true << all << -1;
    QTest::newRow("group letter J") << QStringLiteral("内線グループＪ") << true << all << -1;
}

void TestEditorRules::preselectsDestination()
{
    QFETCH(QString, text);
    QFETCH(bool, preselect);
    QFETCH(int, kind);
    QFETCH(int, item);
    const DestinationPreselection p = destinationPreselection(text);
    QCOMPARE(p.preselect, preselect);
    if (preselect) {
        QCOMPARE(static_cast<int>(p.choice.kind), kind);
        QCOMPARE(p.choice.item, item);
    }
}

void TestEditorRules::givesDestinationText_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("expected");
    const int all = DestinationChoice::AllExtensions;
    const int group = DestinationChoice::ExtensionGroup;
    const int single = DestinationChoice::SingleExtension;
    QTest::newRow("all") << all << -1 << QStringLiteral("12") << QStringLiteral("0");
    QTest::newRow("group A") << group << 0 << QStringLiteral("0") << QStringLiteral("内線グループＡ");
    QTest::newRow("group I") << group << 8 << QStringLiteral("0") << QStringLiteral("内線グループＩ");
    QTest::newRow("group none keeps") << group << -1 << QStringLiteral("12") << QStringLiteral("12");
    QTest::newRow("extension 07") << single << 6 << QStringLiteral("0") << QStringLiteral("7");
    QTest::newRow("extension 34") << single << 33 << QStringLiteral("0") << QStringLiteral("34");
    QTest::newRow("extension none") << single << -1 << QStringLiteral("12") << QStringLiteral("0");
}

void TestEditorRules::givesDestinationText()
{
    QFETCH(int, kind);
    QFETCH(int, item);
    QFETCH(QString, current);
    QFETCH(QString, expected);
    QCOMPARE(destinationText({static_cast<DestinationChoice::Kind>(kind), item}, current), expected);
}

void TestEditorRules::storesGroupName()
{
    QCOMPARE(groupNameToStore(QString()), QStringLiteral("登録なし"));
    QCOMPARE(groupNameToStore(QStringLiteral("営業部")), QStringLiteral("営業部"));
    QCOMPARE(groupNameToStore(QStringLiteral("　")), QStringLiteral("　"));
}

void TestEditorRules::readsFlags()
{
    QVERIFY(flagIsOn(QStringLiteral("する")));
    QVERIFY(!flagIsOn(QStringLiteral("しない")));
    QVERIFY(!flagIsOn(QStringLiteral("1")));
    QVERIFY(!flagIsOn(QString()));
}

QTEST_APPLESS_MAIN(TestEditorRules)
#include "tst_editorrules.moc"
