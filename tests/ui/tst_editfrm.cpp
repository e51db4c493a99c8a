#include "FakePrompts.h"
#include "MainWindowParts.h"
#include "core/Vocabulary.h"
#include "formats/AppPaths.h"
#include "ui/EditFrm.h"
#include "ui/GroupEditFrm.h"
#include "ui/HelpTopics.h"
#include "ui/MainFrm.h"
#include "ui/PhoneBookModels.h"
#include "ui/RtFrm.h"
#include "ui/SplushFrm.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

class TestEditFrm : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void opensAnEmptySlot();
    void opensNothingWithoutSelection();
    void opensOnEnterInTheList();
    void brokenLoadedEntryMustBeCorrected();
    void downWritesAndMoves();
    void arrowsWrapAround_data();
    void arrowsWrapAround();
    void filtersPhoneKeys_data();
    void filtersPhoneKeys();
    void dropsThePasteShortcut();
    void catchesPastedTextByTheCheck();
    void writesValueNotInListAsEmpty();
    void adjustsRingToneWithoutMarking_data();
    void adjustsRingToneWithoutMarking();
    void walksSortedList();
    void revertsIncludingDestination();
    void writesIntoShownEntryAfterClickOnOtherRow();
    void writesIntoFirstOfSeveralSelectedRows();
    void followsShownEntryWhenListIsSorted();
    void reopeningDiscardsUnappliedEdits();
    void modelChangeClosesWithoutWriting();
    void newAndLoadCloseWithoutWriting();
    void hidesDestinationAndMemoByModel_data();
    void hidesDestinationAndMemoByModel();
    void hiddenMemoDoesNotBlockApply();
    void tabWalksTheTextFields_data();
    void tabWalksTheTextFields();
    void swallowsUpDownInLists();
    void keysInAnOpenList();
    void stopFlagSuppressesNavigation();
    void cannotBeClosedFromTheTitleBar();
    void helpShowsTopic17();

private:
    TFormEdit *open(int position);
    QString field(int position, int f) const { return main->book().entries[position].field(f); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakePrompts> prompts;
    std::unique_ptr<TFormMain> main;
};

void TestEditFrm::init()
{
    dir = std::make_unique<QTemporaryDir>();
    AppPaths::setExecutableFolder(dir->path());
    prompts = std::make_unique<FakePrompts>();
    main = std::make_unique<TFormMain>(nullptr, QStringList());
    main->NewFlag = false;
    main->createOtherWindows();
}

void TestEditFrm::cleanup()
{
    QCOMPARE(prompts->unexpected, 0);
    main.reset();
    prompts.reset();
    dir.reset();
}

TFormEdit *TestEditFrm::open(int position)
{
    main->selectPosition(position);
    main->ListView1DblClick();
    return partOf<TFormEdit>(main, "FormEdit");
}

void TestEditFrm::opensAnEmptySlot()
{
    TFormEdit *ed = open(12);
    QVERIFY(ed->isVisible());
    QCOMPARE(ed->windowTitle(), QStringLiteral("編集フォーム"));
    QCOMPARE(ed->LblNo->text(), QStringLiteral("短縮番号：0012"));
    QCOMPARE(ed->NameEdit->text(), QString());
    QCOMPARE(ed->KanaEdit->text(), QString());
    QCOMPARE(ed->NoEdit->text(), QString());
    QCOMPARE(ed->MemoEdit->text(), QString());
    QCOMPARE(ed->CbGroup->currentText(), QStringLiteral("グループ０"));
    QCOMPARE(ed->CbMelody->currentText(), QStringLiteral("設定なし"));
    QCOMPARE(ed->CbStNo->currentText(), QStringLiteral("01"));
    QCOMPARE(ed->RtEdit->text(), QStringLiteral("0"));
    QCOMPARE(ed->UpDown1Position(), 12);
    QCOMPARE(ed->NameEdit->maxLength(), 16);
    QCOMPARE(ed->KanaEdit->maxLength(), 16);
    QCOMPARE(ed->NoEdit->maxLength(), 24);
    QCOMPARE(ed->MemoEdit->maxLength(), 16);
    QVERIFY(ed->RtEdit->isReadOnly());
    QVERIFY(!ed->NoEdit->testAttribute(Qt::WA_InputMethodEnabled));
    QCOMPARE(ed->CbGroup->count(), 11);
    QCOMPARE(ed->CbStNo->count(), 33);
    QCOMPARE(ed->CbMelody->count(), 13);
    QVERIFY(!ed->StopFlag);

    ed->Button1Click();
    QVERIFY(ed->isHidden());
    QVERIFY(!main->book().Modified);
    QVERIFY(prompts->shown.isEmpty());
    QCOMPARE(main->selectedPositions(), QList<int>{12}); // the row stays selected
}

void TestEditFrm::opensNothingWithoutSelection()
{
    entryList(main)->clearSelection();
    main->ListView1DblClick();
    QVERIFY(partOf<TFormEdit>(main, "FormEdit")->isHidden());
    QVERIFY(partOf<TFormEdit>(main, "FormEdit")->shownSlot().isEmpty());
}

void TestEditFrm::opensOnEnterInTheList()
{
    main->selectPosition(7);
    QTest::keyClick(entryList(main), Qt::Key_Return);
    QVERIFY(partOf<TFormEdit>(main, "FormEdit")->isVisible());
    QCOMPARE(partOf<TFormEdit>(main, "FormEdit")->LblNo->text(), QStringLiteral("短縮番号：0007"));
}

void TestEditFrm::brokenLoadedEntryMustBeCorrected()
{
    const QString nameMessage = QStringLiteral("名前に半角文字が存在している可能性があります");
    arrangeBook(main, [&](PhoneBook &book) { book.entries[5].setField(DialEntry::Name, QStringLiteral("ﾔﾏﾀﾞ")); });
    TFormEdit *ed = open(5);

    ed->Button1Click();
    QCOMPARE(prompts->texts(), QStringList{nameMessage});
    QCOMPARE(prompts->kinds(), QStringList{QStringLiteral("information")});
    QVERIFY(ed->isVisible());
    QCOMPARE(ed->focusWidget(), ed->NameEdit);

    prompts->clear();
    QTest::keyClick(ed->KanaEdit, Qt::Key_Down);
    QCOMPARE(prompts->texts(), QStringList{nameMessage});
    QCOMPARE(ed->NameEdit->selectedText(), QStringLiteral("ﾔﾏﾀﾞ"));
    QCOMPARE(ed->UpDown1Position(), 5);
    QCOMPARE(ed->LblNo->text(), QStringLiteral("短縮番号：0005"));

    prompts->clear();
    ed->UpDown1Step(1); // the arrows refuse as well
    QCOMPARE(prompts->texts(), QStringList{nameMessage});
    QCOMPARE(ed->UpDown1Position(), 5);
    QVERIFY(!main->book().Modified);

    prompts->clear();
    ed->NameEdit->setText(QStringLiteral("ヤマダ"));
    ed->Button1Click();
    QVERIFY(prompts->shown.isEmpty());
    QVERIFY(ed->isHidden());
    QCOMPARE(field(5, DialEntry::Name), QStringLiteral("ヤマダ"));
    QVERIFY(main->book().Modified);
}

void TestEditFrm::downWritesAndMoves()
{
    TFormEdit *ed = open(10);
    ed->CbGroup->setCurrentIndex(ed->CbGroup->findText(QStringLiteral("グループ３")));
    QTest::keyClick(ed->NameEdit, Qt::Key_Down);
    QCOMPARE(field(10, DialEntry::Group), QStringLiteral("グループ３"));
    QCOMPARE(main->selectedPositions(), QList<int>{11});
    QCOMPARE(main->focusedPosition(), 11);
    QCOMPARE(ed->LblNo->text(), QStringLiteral("短縮番号：0011"));
    QCOMPARE(ed->CbGroup->currentText(), QStringLiteral("グループ０"));
    QCOMPARE(ed->UpDown1Position(), 11);
    QVERIFY(main->book().Modified);
    QCOMPARE(partOf<QLabel>(main, "StatusPanel0")->text(), QStringLiteral("変更あり"));
    QCOMPARE(ed->focusWidget(), ed->NameEdit);

    // ↑ back: row 11 unchanged, nothing more to mark.
    main->setModified(false);
    QTest::keyClick(ed->NameEdit, Qt::Key_Up);
    QCOMPARE(ed->LblNo->text(), QStringLiteral("短縮番号：0010"));
    QCOMPARE(ed->CbGroup->currentText(), QStringLiteral("グループ３"));
    QVERIFY(!main->book().Modified);
}

void TestEditFrm::arrowsWrapAround_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");
    QTest::newRow("up on 0") << 0 << int(Qt::Key_Up) << 3999;
    QTest::newRow("down on 3999") << 3999 << int(Qt::Key_Down) << 0;
    QTest::newRow("down on 0") << 0 << int(Qt::Key_Down) << 1;
}

void TestEditFrm::arrowsWrapAround()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    TFormEdit *ed = open(from);
    ed->NameEdit->setText(QStringLiteral("山田"));
    QTest::keyClick(ed->NameEdit, Qt::Key(key));
    QCOMPARE(field(from, DialEntry::Name), QStringLiteral("山田"));
    QCOMPARE(ed->UpDown1Position(), to);
    QCOMPARE(ed->LblNo->text(), QStringLiteral("短縮番号：") + PhoneBook::slotNumber(to));
    QCOMPARE(main->selectedPositions(), QList<int>{to});

    // The arrow buttons do the same.
    ed->UpDown1Step(key == Qt::Key_Up ? 1 : -1);
    QCOMPARE(ed->UpDown1Position(), from);
}

void TestEditFrm::filtersPhoneKeys_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("dial characters") << QStringLiteral("0123456789#*-EP[]") << QStringLiteral("0123456789#*-EP[]");
    QTest::newRow("letter a") << QStringLiteral("a") << QString();
    QTest::newRow("space") << QStringLiteral(" ") << QString();
    QTest::newRow("plus") << QStringLiteral("+") << QString();
    QTest::newRow("mixed") << QStringLiteral("03 (1234)+e") << QStringLiteral("031234");
}

void TestEditFrm::filtersPhoneKeys()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    TFormEdit *ed = open(0);
    QTest::keyClicks(ed->NoEdit, typed);
    QCOMPARE(ed->NoEdit->text(), expected);
    // Backspace passes.
    if (!expected.isEmpty()) {
        QTest::keyClick(ed->NoEdit, Qt::Key_Backspace);
        QCOMPARE(ed->NoEdit->text(), expected.chopped(1));
    }
}

void TestEditFrm::dropsThePasteShortcut()
{
    TFormEdit *ed = open(0);
    QApplication::clipboard()->setText(QStringLiteral("0312"));
    QTest::keyClick(ed->NoEdit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(ed->NoEdit->text(), QString());
    // The other fields take it.
    QTest::keyClick(ed->KanaEdit, Qt::Key_V, Qt::ControlModifier);
    if (QApplication::clipboard()->text() == QStringLiteral("0312"))
        QCOMPARE(ed->KanaEdit->text(), QStringLiteral("0312"));
}

void TestEditFrm::catchesPastedTextByTheCheck()
{
    TFormEdit *ed = open(0);
    ed->NoEdit->setText(QStringLiteral("03 1234")); // as a context-menu paste puts it
    ed->Button1Click();
    QCOMPARE(prompts->texts(), QStringList{QStringLiteral("電話番号に不正文字が存在している可能性があります")});
    QVERIFY(ed->isVisible());
    QCOMPARE(field(0, DialEntry::Phone), QString());
    QCOMPARE(ed->focusWidget(), ed->NoEdit);
}

void TestEditFrm::writesValueNotInListAsEmpty()
{
    arrangeBook(main,
                [&](PhoneBook &book) { book.entries[7].setField(DialEntry::Group, QStringLiteral("グループ十")); });
    arrangeBook(main, [&](PhoneBook &book) { book.entries[7].setField(DialEntry::Extension, QStringLiteral("33")); });
    arrangeBook(main, [&](PhoneBook &book) { book.entries[7].setField(DialEntry::Ring, QStringLiteral("着信音Ｚ")); });
    TFormEdit *ed = open(7);
    QCOMPARE(ed->CbGroup->currentIndex(), -1);
    QCOMPARE(ed->CbGroup->currentText(), QString());
    QCOMPARE(ed->CbStNo->currentIndex(), -1);
    QCOMPARE(ed->CbMelody->currentIndex(), -1);
    ed->Button1Click();
    QCOMPARE(field(7, DialEntry::Group), QString());
    QCOMPARE(field(7, DialEntry::Extension), QString());
    QCOMPARE(field(7, DialEntry::Ring), QString());
    QVERIFY(main->book().Modified);
}

void TestEditFrm::adjustsRingToneWithoutMarking_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("items");
    QTest::newRow("model 3 hold") << 3 << QStringLiteral("保留メロディ") << QStringLiteral("保留メロディ１") << 13;
    QTest::newRow("model 3 ring") << 3 << QStringLiteral("着信メロディ") << QStringLiteral("保留メロディ２") << 13;
    QTest::newRow("model 7 ring") << 7 << QStringLiteral("着信メロディ") << QStringLiteral("保留メロディ２") << 13;
    QTest::newRow("model 1 ring 2") << 1 << QStringLiteral("着信メロディ２") << QStringLiteral("着信メロディ") << 11;
    QTest::newRow("model 1 hold 1") << 1 << QStringLiteral("保留メロディ１") << QStringLiteral("保留メロディ") << 11;
    QTest::newRow("model 5 hold 2") << 5 << QStringLiteral("保留メロディ２") << QStringLiteral("着信メロディ") << 11;
    QTest::newRow("model 3 plain") << 3 << QStringLiteral("着信音Ｃ") << QStringLiteral("着信音Ｃ") << 13;
}

void TestEditFrm::adjustsRingToneWithoutMarking()
{
    QFETCH(int, model);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(int, items);
    main->setModel(model == ModelLM630Std ? ModelLM630Pro : ModelLM630Std);
    main->setModel(model);
    arrangeBook(main, [&](PhoneBook &book) { book.entries[3].setField(DialEntry::Ring, stored); });
    TFormEdit *ed = open(3);
    QCOMPARE(ed->CbMelody->count(), items);
    QCOMPARE(ed->CbMelody->currentText(), shown);
    QCOMPARE(ed->OldMelody, shown);
    ed->Button1Click();
    QCOMPARE(field(3, DialEntry::Ring), shown);
    QVERIFY(!main->book().Modified);
}

void TestEditFrm::walksSortedList()
{
    // Three names in slot order ウ, ア, イ; the list sorted by name puts them ア, イ, ウ.
    arrangeBook(main, [&](PhoneBook &book) { book.entries[0].setField(DialEntry::Name, QStringLiteral("ウ")); });
    arrangeBook(main, [&](PhoneBook &book) { book.entries[1].setField(DialEntry::Name, QStringLiteral("ア")); });
    arrangeBook(main, [&](PhoneBook &book) { book.entries[2].setField(DialEntry::Name, QStringLiteral("イ")); });
    arrangeBook(main, [](PhoneBook &book) {
        std::swap(book.entries[0], book.entries[1]); // ア ウ イ
        std::swap(book.entries[1], book.entries[2]); // ア イ ウ
    });

    TFormEdit *ed = open(0);
    QCOMPARE(ed->LblNo->text(), QStringLiteral("短縮番号：0001"));
    QTest::keyClick(ed->NameEdit, Qt::Key_Down);
    QCOMPARE(ed->NameEdit->text(), QStringLiteral("イ"));
    QCOMPARE(ed->LblNo->text(), QStringLiteral("短縮番号：0002"));
    QTest::keyClick(ed->NameEdit, Qt::Key_Down);
    QCOMPARE(ed->NameEdit->text(), QStringLiteral("ウ"));
    QCOMPARE(ed->LblNo->text(), QStringLiteral("短縮番号：0000"));
    QVERIFY(!main->book().Modified);
}

void TestEditFrm::revertsIncludingDestination()
{
    arrangeBook(main, [&](PhoneBook &book) { book.entries[4].setField(DialEntry::Name, QStringLiteral("佐藤")); });
    arrangeBook(main, [&](PhoneBook &book) { book.entries[4].setField(DialEntry::Destination, QStringLiteral("12")); });
    TFormEdit *ed = open(4);
    ed->NameEdit->setText(QStringLiteral("鈴木"));
    ed->CbStNo->setCurrentIndex(20);
    QTimer::singleShot(0, partOf<TFormRt>(main, "FormRt"), [this] {
        partOf<TFormRt>(main, "FormRt")->RadioButton2->click();
        partOf<TFormRt>(main, "FormRt")->ComboBox1->setCurrentIndex(1);
        partOf<TFormRt>(main, "FormRt")->Button1Click();
    });
    ed->Button2Click();
    QCOMPARE(ed->RtEdit->text(), QStringLiteral("内線グループＢ"));
    QCOMPARE(field(4, DialEntry::Destination), QStringLiteral("12")); // not yet written

    ed->Button3Click();
    QVERIFY(ed->isVisible());
    QCOMPARE(ed->NameEdit->text(), QStringLiteral("佐藤"));
    QCOMPARE(ed->CbStNo->currentText(), QStringLiteral("01"));
    QCOMPARE(ed->RtEdit->text(), QStringLiteral("12"));
    QVERIFY(!main->book().Modified);
    ed->Button1Click();
    QVERIFY(!main->book().Modified);
    QCOMPARE(field(4, DialEntry::Name), QStringLiteral("佐藤"));

    // Cancel in the destination dialog leaves the field alone.
    open(4);
    QTimer::singleShot(0, partOf<TFormRt>(main, "FormRt"), [this] { partOf<TFormRt>(main, "FormRt")->Button2Click(); });
    ed->Button2Click();
    QCOMPARE(ed->RtEdit->text(), QStringLiteral("12"));
}

void TestEditFrm::writesIntoShownEntryAfterClickOnOtherRow()
{
    TFormEdit *ed = open(20);
    ed->NameEdit->setText(QStringLiteral("田中"));
    main->selectPosition(30); // a single click on another row
    ed->Button1Click();
    QCOMPARE(field(20, DialEntry::Name), QStringLiteral("田中"));
    QCOMPARE(field(30, DialEntry::Name), QString());

    // Moving on goes from the entry shown, not from the clicked row.
    ed = open(20);
    ed->KanaEdit->setText(QStringLiteral("ﾀﾅｶ"));
    main->selectPosition(30);
    QTest::keyClick(ed->NameEdit, Qt::Key_Down);
    QCOMPARE(field(20, DialEntry::Kana), QStringLiteral("ﾀﾅｶ"));
    QCOMPARE(field(30, DialEntry::Kana), QString());
    QCOMPARE(ed->LblNo->text(), QStringLiteral("短縮番号：0021"));
}

void TestEditFrm::writesIntoFirstOfSeveralSelectedRows()
{
    main->selectPosition(42);
    auto *selection = entryList(main)->selectionModel();
    selection->select(entryModel(main)->index(40, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->select(entryModel(main)->index(41, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    main->ListView1DblClick();
    TFormEdit *ed = partOf<TFormEdit>(main, "FormEdit");
    QCOMPARE(ed->LblNo->text(), QStringLiteral("短縮番号：0040"));
    ed->NameEdit->setText(QStringLiteral("伊藤"));
    ed->Button1Click();
    QCOMPARE(field(40, DialEntry::Name), QStringLiteral("伊藤"));
    QCOMPARE(field(41, DialEntry::Name), QString());
    QCOMPARE(field(42, DialEntry::Name), QString());
}

void TestEditFrm::followsShownEntryWhenListIsSorted()
{
    TFormEdit *ed = open(5);
    ed->NameEdit->setText(QStringLiteral("高橋"));
    arrangeBook(main, [](PhoneBook &book) { std::reverse(book.entries.begin(), book.entries.end()); });
    ed->Button1Click();
    QCOMPARE(main->book().entries[3994].No, QStringLiteral("0005"));
    QCOMPARE(field(3994, DialEntry::Name), QStringLiteral("高橋"));
    QCOMPARE(field(5, DialEntry::Name), QString());
}

void TestEditFrm::reopeningDiscardsUnappliedEdits()
{
    TFormEdit *ed = open(1);
    ed->NameEdit->setText(QStringLiteral("渡辺"));
    open(2);
    QCOMPARE(field(1, DialEntry::Name), QString());
    QCOMPARE(ed->LblNo->text(), QStringLiteral("短縮番号：0002"));
    QCOMPARE(ed->UpDown1Position(), 2);
    QVERIFY(!main->book().Modified);

    // A broken field of the previous entry is reported, and the new entry is shown.
    ed->KanaEdit->setText(QStringLiteral("ワタナベ"));
    open(8);
    QCOMPARE(prompts->texts(), QStringList{QStringLiteral("カナに全角文字が存在している可能性があります")});
    QCOMPARE(ed->LblNo->text(), QStringLiteral("短縮番号：0008"));
    QCOMPARE(ed->KanaEdit->text(), QString());
    QCOMPARE(ed->UpDown1Position(), 8);
    QCOMPARE(field(2, DialEntry::Kana), QString());
}

void TestEditFrm::modelChangeClosesWithoutWriting()
{
    QPointer<TFormEdit> old = open(3);
    old->NameEdit->setText(QStringLiteral("中村"));
    main->setModel(ModelMorvel);
    QVERIFY(old.isNull() || old->isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(old.isNull());
    QVERIFY(partOf<TFormEdit>(main, "FormEdit"));
    QVERIFY(partOf<TFormEdit>(main, "FormEdit")->isHidden());
    QCOMPARE(partOf<TFormEdit>(main, "FormEdit")->CbMelody->count(), 11);
    QCOMPARE(field(3, DialEntry::Name), QString());
    QVERIFY(!main->book().Modified);

    // The fresh editor opens on a row and writes only there.
    TFormEdit *ed = open(4);
    QCOMPARE(ed->NameEdit->text(), QString());
    ed->Button1Click();
    QVERIFY(!main->book().Modified);
    main->setModel(ModelLM630Pro);
    QCOMPARE(partOf<TFormEdit>(main, "FormEdit")->CbMelody->count(), 13);
}

void TestEditFrm::newAndLoadCloseWithoutWriting()
{
    // A load replaces the entries: the unapplied edits belong to none of them.
    TFormEdit *ed = open(3);
    ed->NameEdit->setText(QStringLiteral("中村"));
    PhoneBook loaded;
    loaded.entries[3].setField(DialEntry::Name, QStringLiteral("山本"));
    main->commitPhoneBook(std::move(loaded), main->model());
    QVERIFY(ed->isHidden());
    QVERIFY(partOf<TFormGroupEdit>(main, "FormGroupEdit")->isHidden());
    QCOMPARE(field(3, DialEntry::Name), QStringLiteral("山本"));

    // New does the same.
    ed = open(3);
    QCOMPARE(ed->NameEdit->text(), QStringLiteral("山本"));
    ed->NameEdit->setText(QStringLiteral("中村"));
    prompts->answerYes();
    main->N1Click();
    QVERIFY(ed->isHidden());
    QCOMPARE(field(3, DialEntry::Name), QString());
    QVERIFY(!main->book().Modified);
}

void TestEditFrm::hidesDestinationAndMemoByModel_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<bool>("shown");
    for (int m = 0; m < DeviceModelCount; ++m)
        QTest::newRow(qPrintable(deviceModel(m).nameText())) << m << (m != 0 && m != 1 && m != 4);
}

void TestEditFrm::hidesDestinationAndMemoByModel()
{
    QFETCH(int, model);
    QFETCH(bool, shown);
    main->setModel(model == ModelLM630Std ? ModelLM630Pro : ModelLM630Std);
    main->setModel(model);
    arrangeBook(main, [&](PhoneBook &book) { book.entries[9].setField(DialEntry::Memo, QStringLiteral("メモ")); });
    arrangeBook(main, [&](PhoneBook &book) { book.entries[9].setField(DialEntry::Destination, QStringLiteral("5")); });
    TFormEdit *ed = open(9);
    QCOMPARE(!ed->RtEdit->isHidden(), shown);
    QCOMPARE(!ed->Button2->isHidden(), shown);
    QCOMPARE(!ed->MemoEdit->isHidden(), shown);
    // A hidden field still carries its value through loading and writing back.
    ed->NameEdit->setText(QStringLiteral("小林"));
    ed->Button1Click();
    QCOMPARE(field(9, DialEntry::Memo), QStringLiteral("メモ"));
    QCOMPARE(field(9, DialEntry::Destination), QStringLiteral("5"));
}

void TestEditFrm::hiddenMemoDoesNotBlockApply()
{
    main->setModel(ModelZR410Std);
    arrangeBook(main, [&](PhoneBook &book) { book.entries[6].setField(DialEntry::Memo, QStringLiteral("memo")); });
    TFormEdit *ed = open(6);
    ed->NameEdit->setText(QStringLiteral("加藤"));
    ed->Button1Click();
    QVERIFY(prompts->shown.isEmpty());
    QVERIFY(ed->isHidden());
    QCOMPARE(field(6, DialEntry::Memo), QStringLiteral("memo"));

    // Shown, the memo must be corrected like any other field.
    main->setModel(ModelLM630Std);
    ed = open(6);
    ed->Button1Click();
    QCOMPARE(prompts->texts(), QStringList{QStringLiteral("メモに半角文字が存在している可能性があります")});
    QVERIFY(ed->isVisible());
}

void TestEditFrm::tabWalksTheTextFields_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");
    const int tab = Qt::Key_Tab;
    QTest::newRow("name") << 3 << "NameEdit" << tab << "KanaEdit";
    QTest::newRow("kana") << 3 << "KanaEdit" << tab << "NoEdit";
    QTest::newRow("phone") << 3 << "NoEdit" << tab << "MemoEdit";
    QTest::newRow("memo") << 3 << "MemoEdit" << tab << "NameEdit";
    QTest::newRow("shift-tab kana") << 3 << "KanaEdit" << int(Qt::Key_Backtab) << "NoEdit";
    QTest::newRow("phone, memo hidden") << 0 << "NoEdit" << tab << "NameEdit";
    QTest::newRow("ring list") << 3 << "CbMelody" << tab << "CbMelody";
    QTest::newRow("apply button") << 3 << "Button1" << tab << "Button1";
}

void TestEditFrm::tabWalksTheTextFields()
{
    QFETCH(int, model);
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, to);
    main->setModel(model);
    TFormEdit *ed = open(0);
    const QHash<QString, QWidget *> widgets = {{"NameEdit", ed->NameEdit}, {"KanaEdit", ed->KanaEdit},
                                               {"NoEdit", ed->NoEdit},     {"MemoEdit", ed->MemoEdit},
                                               {"CbMelody", ed->CbMelody}, {"Button1", ed->Button1}};
    widgets[from]->setFocus();
    QTest::keyClick(widgets[from], Qt::Key(key), key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(ed->focusWidget(), widgets[to]);
}

void TestEditFrm::swallowsUpDownInLists()
{
    TFormEdit *ed = open(15);
    ed->CbMelody->setCurrentIndex(2);
    QTest::keyClick(ed->CbMelody, Qt::Key_Down);
    // The key moved to the next row; it did not step the list first.
    QCOMPARE(field(15, DialEntry::Ring), QStringLiteral("着信音Ｂ"));
    QCOMPARE(ed->LblNo->text(), QStringLiteral("短縮番号：0016"));
    QCOMPARE(ed->CbMelody->currentIndex(), 0);
    QTest::keyClick(ed->CbStNo, Qt::Key_Up);
    QCOMPARE(ed->LblNo->text(), QStringLiteral("短縮番号：0015"));
    QCOMPARE(ed->CbStNo->currentText(), QStringLiteral("01"));
    // Enter and Esc press no button.
    QTest::keyClick(ed->Button1, Qt::Key_Return);
    QTest::keyClick(ed->NameEdit, Qt::Key_Escape);
    QVERIFY(ed->isVisible());
}

void TestEditFrm::keysInAnOpenList()
{
    TFormEdit *ed = open(15);
    // The lists are built when first opened, and then pass their keys to the editor.
    QVERIFY(!ed->CbGroup->findChild<QAbstractItemView *>());
    ed->CbGroup->showPopup();
    QAbstractItemView *list = ed->CbGroup->view();
    QVERIFY(list->isVisible());
    // Enter in an open list still chooses in the list and closes it.
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(!list->isVisible());
    QVERIFY(ed->isVisible());

    ed->CbGroup->showPopup();
    QTest::keyClick(list, Qt::Key_Down);
    QVERIFY(!list->isVisible());
    QCOMPARE(ed->LblNo->text(), QStringLiteral("短縮番号：0016"));
}

void TestEditFrm::stopFlagSuppressesNavigation()
{
    TFormEdit *ed = open(25);
    ed->NameEdit->setText(QStringLiteral("木村"));
    ed->StopFlag = true;
    QVERIFY(ed->setUpDown1Position(26));
    ed->UpDown1Click();
    ed->StopFlag = false;
    QCOMPARE(field(25, DialEntry::Name), QString());
    QCOMPARE(ed->LblNo->text(), QStringLiteral("短縮番号：0025"));
    QVERIFY(!main->book().Modified);
}

void TestEditFrm::cannotBeClosedFromTheTitleBar()
{
    TFormEdit *ed = open(0);
    QVERIFY(!(ed->windowFlags() & Qt::WindowCloseButtonHint));
    ed->close();
    QVERIFY(ed->isVisible());
}

void TestEditFrm::helpShowsTopic17()
{
    QList<int> topics;
    setHelpTopicHandler([&](int topic) { topics << topic; });
    open(0)->BitBtn1Click();
    setHelpTopicHandler({});
    QCOMPARE(topics, QList<int>{17});
    QCOMPARE(partOf<TFormEdit>(main, "FormEdit")->BitBtn1->toolTip(), QStringLiteral("追加／編集のヘルプを表示"));
}

QTEST_MAIN(TestEditFrm)
#include "tst_editfrm.moc"
