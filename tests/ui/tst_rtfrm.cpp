#include "ui/RtFrm.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

class TestRtFrm : public QObject {
    Q_OBJECT
private slots:
    void createsCaptionsAndLists();
    void preselectsFromText_data();
    void preselectsFromText();
    void keepsPreviousChoiceForOtherNumbers();
    void givesResults_data();
    void givesResults();
    void enablesOnlyTheOwnList();
    void roundTripsSingleExtension();
    void okAndCancelThroughTheModalLoop();
};

void TestRtFrm::createsCaptionsAndLists()
{
    TFormRt rt;
    QCOMPARE(rt.windowTitle(), QStringLiteral("着信先設定"));
    QCOMPARE(rt.RadioButton1->text(), QStringLiteral("一斉着信（初期）"));
    QCOMPARE(rt.RadioButton2->text(), QStringLiteral("内線グループ指定"));
    QCOMPARE(rt.RadioButton3->text(), QStringLiteral("内線個別指定"));
    QCOMPARE(rt.Button1->text(), QStringLiteral("Ｏ　Ｋ"));
    QCOMPARE(rt.Button2->text(), QStringLiteral("キャンセル"));
    QVERIFY(rt.RadioButton1->isChecked());
    QCOMPARE(rt.ComboBox1->count(), 9);
    QCOMPARE(rt.ComboBox1->itemText(0), QStringLiteral("グループＡ"));
    QCOMPARE(rt.ComboBox1->itemText(8), QStringLiteral("グループＩ"));
    QCOMPARE(rt.ComboBox2->count(), 34);
    QCOMPARE(rt.ComboBox2->itemText(0), QStringLiteral("実装01"));
    QCOMPARE(rt.ComboBox2->itemText(6), QStringLiteral("実装07"));
    QCOMPARE(rt.ComboBox2->itemText(33), QStringLiteral("実装34"));
    QVERIFY(rt.windowFlags() & Qt::WindowStaysOnTopHint);
}

void TestRtFrm::preselectsFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("radio");
    QTest::addColumn<int>("groupItem");
    QTest::addColumn<int>("extensionItem");
    QTest::newRow("0") << QStringLiteral("0") << 1 << -1 << -1;
    QTest::newRow("group C") << QStringLiteral("内線グループＣ") << 2 << 2 << -1;
    QTest::newRow("group I") << QStringLiteral("内線グループＩ") << 2 << 8 << -1;
    QTest::newRow("7") << QStringLiteral("7") << 3 << -1 << 6;
    QTest::newRow("34") << QStringLiteral("34") << 3 << -1 << 33;
    QTest::newRow("empty") << QString() << 1 << -1 << -1;
    QTest::newRow("not a number") << QStringLiteral("x") << 1 << -1 << -1;
}

void TestRtFrm::preselectsFromText()
{
    QFETCH(QString, text);
    QFETCH(int, radio);
    QFETCH(int, groupItem);
    QFETCH(int, extensionItem);
    TFormRt rt;
    // Start from another choice, so that the preselection must move it.
    rt.prepare(QStringLiteral("12"));
    rt.prepare(text);
    QCOMPARE(rt.RadioButton1->isChecked(), radio == 1);
    QCOMPARE(rt.RadioButton2->isChecked(), radio == 2);
    QCOMPARE(rt.RadioButton3->isChecked(), radio == 3);
    QCOMPARE(rt.ComboBox1->currentIndex(), groupItem);
    QCOMPARE(rt.ComboBox2->currentIndex(), extensionItem);
    QCOMPARE(rt.ComboBox1->isEnabled(), radio == 2);
    QCOMPARE(rt.ComboBox2->isEnabled(), radio == 3);
}

void TestRtFrm::keepsPreviousChoiceForOtherNumbers()
{
    TFormRt rt;
    rt.prepare(QStringLiteral("内線グループＢ"));
    rt.prepare(QStringLiteral("35"));
    QVERIFY(rt.RadioButton2->isChecked());
    QVERIFY(rt.ComboBox1->isEnabled());
    // Both lists are cleared on every opening.
    QCOMPARE(rt.ComboBox1->currentIndex(), -1);
    // OK with no group chosen leaves the destination as it was.
    rt.Button1Click();
    QCOMPARE(rt.resultText(), QStringLiteral("35"));
}

void TestRtFrm::givesResults_data()
{
    QTest::addColumn<int>("radio");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all") << 1 << -1 << QStringLiteral("0");
    QTest::newRow("group A") << 2 << 0 << QStringLiteral("内線グループＡ");
    QTest::newRow("group I") << 2 << 8 << QStringLiteral("内線グループＩ");
    QTest::newRow("group none") << 2 << -1 << QStringLiteral("12");
    QTest::newRow("extension 07") << 3 << 6 << QStringLiteral("7");
    QTest::newRow("extension 34") << 3 << 33 << QStringLiteral("34");
    QTest::newRow("extension none") << 3 << -1 << QStringLiteral("0");
}

void TestRtFrm::givesResults()
{
    QFETCH(int, radio);
    QFETCH(int, item);
    QFETCH(QString, expected);
    TFormRt rt;
    rt.prepare(QStringLiteral("12"));
    if (radio == 1)
        rt.RadioButton1->click();
    if (radio == 2) {
        rt.RadioButton2->click();
        rt.ComboBox1->setCurrentIndex(item);
    }
    if (radio == 3) {
        rt.RadioButton3->click();
        rt.ComboBox2->setCurrentIndex(item);
    }
    rt.Button1Click();
    QCOMPARE(rt.resultText(), expected);
}

void TestRtFrm::enablesOnlyTheOwnList()
{
    TFormRt rt;
    rt.RadioButton2->click();
    QVERIFY(rt.RadioButton2->isChecked());
    QVERIFY(!rt.RadioButton1->isChecked());
    QVERIFY(rt.ComboBox1->isEnabled());
    QVERIFY(!rt.ComboBox2->isEnabled());
    rt.RadioButton3->click();
    QVERIFY(!rt.ComboBox1->isEnabled());
    QVERIFY(rt.ComboBox2->isEnabled());
    rt.RadioButton1->click();
    QVERIFY(!rt.ComboBox1->isEnabled());
    QVERIFY(!rt.ComboBox2->isEnabled());
}

void TestRtFrm::roundTripsSingleExtension()
{
    TFormRt rt;
    rt.prepare(QStringLiteral("0"));
    rt.RadioButton3->click();
    rt.ComboBox2->setCurrentIndex(rt.ComboBox2->findText(QStringLiteral("実装07")));
    rt.Button1Click();
    QCOMPARE(rt.resultText(), QStringLiteral("7"));
    rt.prepare(rt.resultText());
    QVERIFY(rt.RadioButton3->isChecked());
    QCOMPARE(rt.ComboBox2->currentText(), QStringLiteral("実装07"));
}

void TestRtFrm::okAndCancelThroughTheModalLoop()
{
    TFormRt rt;
    QString result = QStringLiteral("unchanged");
    QTimer::singleShot(0, &rt, [&] {
        rt.RadioButton2->click();
        rt.ComboBox1->setCurrentIndex(4);
        rt.Button1Click();
    });
    QVERIFY(rt.choose(QStringLiteral("0"), result));
    QCOMPARE(result, QStringLiteral("内線グループＥ"));
    QVERIFY(rt.isHidden());

    QTimer::singleShot(0, &rt, [&] { rt.Button2Click(); });
    result = QStringLiteral("unchanged");
    QVERIFY(!rt.choose(QStringLiteral("3"), result));
    QCOMPARE(result, QStringLiteral("unchanged"));

    // Esc is Cancel.
    QTimer::singleShot(0, &rt, [&] { QTest::keyClick(&rt, Qt::Key_Escape); });
    QVERIFY(!rt.choose(QStringLiteral("3"), result));
    QCOMPARE(result, QStringLiteral("unchanged"));
}

QTEST_MAIN(TestRtFrm)
#include "tst_rtfrm.moc"
