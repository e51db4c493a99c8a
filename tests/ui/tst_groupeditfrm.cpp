#include "FakePrompts.h"
#include "MainWindowParts.h"
#include "formats/AppPaths.h"
#include "ui/GroupEditFrm.h"
#include "ui/HelpTopics.h"
#include "ui/MainFrm.h"
#include "ui/PhoneBookModels.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

class TestGroupEditFrm : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsWithItsDefaults();
    void opensTheSelectedGroup();
    void opensNothingWithoutSelection();
    void storesPlaceholderForEmptiedName_data();
    void storesPlaceholderForEmptiedName();
    void limitsNameToTenCharacters();
    void checksTheName_data();
    void checksTheName();
    void roundTripsFaxAndCallback();
    void showsFaxChoiceByModel_data();
    void showsFaxChoiceByModel();
    void adjustsRingToneWithoutMarking();
    void writesLampNotInListAsEmpty();
    void cancelAndEscapeLeaveTheGroup();
    void writesIntoShownGroupAfterOtherRowSelected();
    void modelChangeClosesWithoutWriting();
    void helpShowsTopic23();

private:
    TFormGroupEdit *open(int group);
    const GroupSetting &group(int g) const { return main->book().groups[g]; }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakePrompts> prompts;
    std::unique_ptr<TFormMain> main;
};

void TestGroupEditFrm::init()
{
    dir = std::make_unique<QTemporaryDir>();
    AppPaths::setExecutableFolder(dir->path());
    prompts = std::make_unique<FakePrompts>();
    main = std::make_unique<TFormMain>(nullptr, QStringList());
    main->NewFlag = false;
    main->createOtherWindows();
}

void TestGroupEditFrm::cleanup()
{
    QCOMPARE(prompts->unexpected, 0);
    main.reset();
    prompts.reset();
    dir.reset();
}

TFormGroupEdit *TestGroupEditFrm::open(int g)
{
    groupList(main)->selectionModel()->setCurrentIndex(groupModel(main)->index(g, 0),
                                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QTest::keyClick(groupList(main), Qt::Key_Return); // the same as a double-click
    return partOf<TFormGroupEdit>(main, "FormGroupEdit");
}

void TestGroupEditFrm::startsWithItsDefaults()
{
    TFormGroupEdit *ed = partOf<TFormGroupEdit>(main, "FormGroupEdit");
    QCOMPARE(ed->windowTitle(), QStringLiteral("グループ設定"));
    QCOMPARE(ed->NameEdit->text(), QStringLiteral("登録なし"));
    QCOMPARE(ed->RadioFaxItems->checkedId(), 1);
    QCOMPARE(ed->RadioCbItems->checkedId(), 1);
    QCOMPARE(ed->RadioFax->title(), QStringLiteral("FAX指定"));
    QCOMPARE(ed->RadioCb->title(), QStringLiteral("コールバック指定"));
    QCOMPARE(ed->RadioFaxItems->button(0)->text(), QStringLiteral("する"));
    QCOMPARE(ed->RadioFaxItems->button(1)->text(), QStringLiteral("しない"));
    QCOMPARE(ed->CbLamp->count(), 9);
    QCOMPARE(ed->CbLamp->itemText(8), QStringLiteral("７色"));
    QCOMPARE(ed->CbMelody->count(), 13);
    QCOMPARE(ed->Button2->text(), QStringLiteral("Ｏ　Ｋ"));
    QVERIFY(ed->Button2->isDefault());
    QCOMPARE(ed->Button1->text(), QStringLiteral("キャンセル"));
    QCOMPARE(ed->BitBtn1->toolTip(), QStringLiteral("グループ設定のヘルプを表示"));
    // OK before any opening writes nothing.
    ed->Button2Click();
    QVERIFY(!main->book().Modified);
}

void TestGroupEditFrm::opensTheSelectedGroup()
{
    arrangeBook(main, [](PhoneBook &book) {
        GroupSetting &g = book.groups[3];
        g.setField(GroupSetting::Name, QStringLiteral("営業"));
        g.setField(GroupSetting::Ring, QStringLiteral("着信音Ｄ"));
        g.setField(GroupSetting::Lamp, QStringLiteral("バイオレット"));
        g.setField(GroupSetting::Callback, QStringLiteral("する"));
    });
    TFormGroupEdit *ed = open(3);
    QVERIFY(ed->isVisible());
    QCOMPARE(ed->windowTitle(), QStringLiteral("グループ３の設定"));
    QCOMPARE(ed->NameEdit->text(), QStringLiteral("営業"));
    QCOMPARE(ed->CbMelody->currentText(), QStringLiteral("着信音Ｄ"));
    QCOMPARE(ed->CbLamp->currentText(), QStringLiteral("バイオレット"));
    QCOMPARE(ed->RadioFaxItems->checkedId(), 1);
    QCOMPARE(ed->RadioCbItems->checkedId(), 0);
    QCOMPARE(ed->focusWidget(), ed->NameEdit);
    ed->Button2Click();
    QVERIFY(ed->isHidden());
    QVERIFY(!main->book().Modified);
    QCOMPARE(group(3).name(), QStringLiteral("営業"));
}

void TestGroupEditFrm::opensNothingWithoutSelection()
{
    groupList(main)->clearSelection();
    main->GroupListDblClick();
    QVERIFY(partOf<TFormGroupEdit>(main, "FormGroupEdit")->isHidden());
    QCOMPARE(partOf<TFormGroupEdit>(main, "FormGroupEdit")->shownGroup(), -1);
}

void TestGroupEditFrm::storesPlaceholderForEmptiedName_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("changed");
    QTest::newRow("named") << QStringLiteral("総務") << true;
    QTest::newRow("placeholder") << QStringLiteral("登録なし") << true;
    QTest::newRow("already empty") << QString() << false;
}

void TestGroupEditFrm::storesPlaceholderForEmptiedName()
{
    QFETCH(QString, stored);
    QFETCH(bool, changed);
    arrangeBook(main, [&](PhoneBook &book) { book.groups[2].setField(GroupSetting::Name, stored); });
    TFormGroupEdit *ed = open(2);
    ed->NameEdit->clear();
    ed->Button2Click();
    QCOMPARE(group(2).name(), QStringLiteral("登録なし"));
    QCOMPARE(main->book().Modified, changed);
    QCOMPARE(partOf<QLabel>(main, "StatusPanel0")->text(), changed ? QStringLiteral("変更あり") : QString());
}

void TestGroupEditFrm::limitsNameToTenCharacters()
{
    TFormGroupEdit *ed = open(0);
    ed->NameEdit->clear();
    // Typed one character at a time, as an input method commits them.
    for (QChar c : QStringLiteral("一二三四五六七八九十百")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(ed->NameEdit, &press);
    }
    QCOMPARE(ed->NameEdit->text(), QStringLiteral("一二三四五六七八九十"));
    ed->Button2Click();
    QVERIFY(prompts->shown.isEmpty());
    QCOMPARE(group(0).name(), QStringLiteral("一二三四五六七八九十"));
}

void TestGroupEditFrm::checksTheName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("ASCII space") << QStringLiteral("営業 一課") << false;
    QTest::newRow("half-width katakana") << QStringLiteral("ｴｲｷﾞｮｳ") << false;
    QTest::newRow("ASCII letter") << QStringLiteral("A班") << false;
    QTest::newRow("ideographic space") << QStringLiteral("営業　一課") << true;
    QTest::newRow("full-width letter") << QStringLiteral("Ａ班") << true;
}

void TestGroupEditFrm::checksTheName()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    TFormGroupEdit *ed = open(5);
    ed->NameEdit->setText(name);
    ed->Button2Click();
    if (accepted) {
        QVERIFY(prompts->shown.isEmpty());
        QVERIFY(ed->isHidden());
        QCOMPARE(group(5).name(), name);
    } else {
        QCOMPARE(prompts->texts(), QStringList{QStringLiteral("グループ名に半角文字が存在している可能性があります")});
        QCOMPARE(prompts->kinds(), QStringList{QStringLiteral("information")});
        QVERIFY(ed->isVisible());
        QCOMPARE(ed->NameEdit->text(), name);
        QCOMPARE(ed->focusWidget(), ed->NameEdit);
        QCOMPARE(group(5).name(), QStringLiteral("登録なし"));
        QVERIFY(!main->book().Modified);
    }
}

void TestGroupEditFrm::roundTripsFaxAndCallback()
{
    arrangeBook(main, [&](PhoneBook &book) { book.groups[4].setField(GroupSetting::Fax, QStringLiteral("する")); });
    TFormGroupEdit *ed = open(4);
    QCOMPARE(ed->RadioFaxItems->checkedId(), 0);
    QCOMPARE(ed->RadioCbItems->checkedId(), 1);
    ed->Button2Click();
    QVERIFY(!main->book().Modified);
    QCOMPARE(group(4).fax(), QStringLiteral("する"));

    ed = open(4);
    ed->RadioFaxItems->button(1)->click();
    ed->RadioCbItems->button(0)->click();
    ed->Button2Click();
    QCOMPARE(group(4).fax(), QStringLiteral("しない"));
    QCOMPARE(group(4).callback(), QStringLiteral("する"));
    QVERIFY(main->book().Modified);

    // A flag that is neither text shows "しない" and is written back as such: a change.
    main->setModified(false);
    arrangeBook(main, [&](PhoneBook &book) { book.groups[6].setField(GroupSetting::Fax, QStringLiteral("1")); });
    ed = open(6);
    QCOMPARE(ed->RadioFaxItems->checkedId(), 1);
    ed->Button2Click();
    QCOMPARE(group(6).fax(), QStringLiteral("しない"));
    QVERIFY(main->book().Modified);
}

void TestGroupEditFrm::showsFaxChoiceByModel_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("rings");
    for (int m = 0; m < DeviceModelCount; ++m) {
        QTest::newRow(qPrintable(deviceModel(m).nameText()))
            << m << (m != 0 && m != 1 && m != 4) << (m == 1 || m == 5 ? 11 : 13);
    }
}

void TestGroupEditFrm::showsFaxChoiceByModel()
{
    QFETCH(int, model);
    QFETCH(bool, shown);
    QFETCH(int, rings);
    main->setModel(model == ModelLM630Std ? ModelLM630Pro : ModelLM630Std);
    main->setModel(model);
    TFormGroupEdit *ed = open(1);
    QCOMPARE(!ed->RadioFax->isHidden(), shown);
    QVERIFY(!ed->RadioCb->isHidden());
    QCOMPARE(ed->CbMelody->count(), rings);
}

void TestGroupEditFrm::adjustsRingToneWithoutMarking()
{
    main->setModel(ModelLM630Pro);
    arrangeBook(main,
                [&](PhoneBook &book) { book.groups[7].setField(GroupSetting::Ring, QStringLiteral("着信メロディ")); });
    TFormGroupEdit *ed = open(7);
    QCOMPARE(ed->CbMelody->currentText(), QStringLiteral("保留メロディ２"));
    QCOMPARE(ed->OldGroupMelody, QStringLiteral("保留メロディ２"));
    ed->Button2Click();
    QCOMPARE(group(7).ring(), QStringLiteral("保留メロディ２"));
    QVERIFY(!main->book().Modified);
}

void TestGroupEditFrm::writesLampNotInListAsEmpty()
{
    arrangeBook(main,
                [&](PhoneBook &book) { book.groups[8].setField(GroupSetting::Lamp, QStringLiteral("ブラック")); });
    TFormGroupEdit *ed = open(8);
    QCOMPARE(ed->CbLamp->currentIndex(), -1);
    ed->Button2Click();
    QCOMPARE(group(8).lamp(), QString());
    QVERIFY(main->book().Modified);
}

void TestGroupEditFrm::cancelAndEscapeLeaveTheGroup()
{
    const GroupSetting before = group(9);
    TFormGroupEdit *ed = open(9);
    ed->NameEdit->setText(QStringLiteral("経理"));
    ed->CbLamp->setCurrentIndex(3);
    ed->Button1Click();
    QVERIFY(ed->isHidden());
    QCOMPARE(group(9), before);

    ed = open(9);
    QCOMPARE(ed->NameEdit->text(), QStringLiteral("登録なし"));
    ed->NameEdit->setText(QStringLiteral("経理"));
    QTest::keyClick(ed->NameEdit, Qt::Key_Escape);
    QVERIFY(ed->isHidden());
    QCOMPARE(group(9), before);
    QVERIFY(!main->book().Modified);
}

void TestGroupEditFrm::writesIntoShownGroupAfterOtherRowSelected()
{
    TFormGroupEdit *ed = open(1);
    ed->NameEdit->setText(QStringLiteral("技術"));
    groupList(main)->selectionModel()->setCurrentIndex(groupModel(main)->index(2, 0),
                                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ed->Button2Click();
    QCOMPARE(group(1).name(), QStringLiteral("技術"));
    QCOMPARE(group(2).name(), QStringLiteral("登録なし"));
}

void TestGroupEditFrm::modelChangeClosesWithoutWriting()
{
    QPointer<TFormGroupEdit> old = open(2);
    old->NameEdit->setText(QStringLiteral("製造"));
    main->setModel(ModelMorvel);
    QVERIFY(old.isNull() || old->isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(old.isNull());
    QVERIFY(partOf<TFormGroupEdit>(main, "FormGroupEdit")->isHidden());
    QCOMPARE(partOf<TFormGroupEdit>(main, "FormGroupEdit")->windowTitle(), QStringLiteral("グループ設定"));
    QVERIFY(partOf<TFormGroupEdit>(main, "FormGroupEdit")->RadioFax->isHidden());
    QCOMPARE(group(2).name(), QStringLiteral("登録なし"));
    QVERIFY(!main->book().Modified);
}

void TestGroupEditFrm::helpShowsTopic23()
{
    QList<int> topics;
    setHelpTopicHandler([&](int topic) { topics << topic; });
    open(0)->BitBtn1Click();
    setHelpTopicHandler({});
    QCOMPARE(topics, QList<int>{23});
}

QTEST_MAIN(TestGroupEditFrm)
#include "tst_groupeditfrm.moc"
