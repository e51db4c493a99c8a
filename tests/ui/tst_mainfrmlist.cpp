#include "FakePrompts.h"
#include "MainWindowParts.h"
#include "core/Vocabulary.h"
#include "formats/AppPaths.h"
#include "ui/FindFrm.h"
#include "ui/MainFrm.h"
#include "ui/PhoneBookModels.h"
#include "ui/SplushFrm.h"

#include <QAction>
#include <QApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

// The list commands of the main window, driven through their handlers.
class tst_mainfrmlist : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void nameClickedThreeTimes();
    void slotColumnFirstClickAfterStartAndNew();
    void sortKeepsSelectionWithEntries();
    void sortDoesNotMarkModified();
    void clearThreeRows();
    void clearAnsweredNo();
    void clearEmptyRowStillModifies();
    void nothingSelectedAsksNothing();
    void bulkGroupWithoutChangeKeepsModified();
    void bulkChangeQuestions_data();
    void bulkChangeQuestions();
    void ringItemsFollowModel_data();
    void ringItemsFollowModel();
    void freeSlotOnNewBook();
    void freeSlotMovesFirstSelection();
    void freeSlotNoneLeft();
    void freeSlotModelZeroLimit();
    void searchOpensModally();

private:
    QString cell(int row, int column) const
    {
        return entryModel(form)->data(entryModel(form)->index(row, column), Qt::DisplayRole).toString();
    }
    void select(const QList<int> &positions)
    {
        QItemSelectionModel *model = entryList(form)->selectionModel();
        model->clearSelection();
        for (int p : positions)
            model->select(entryModel(form)->index(p, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<TFormSplush> splush;
    std::unique_ptr<TFormMain> form;
};

void tst_mainfrmlist::init()
{
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    AppPaths::setExecutableFolder(folder->path());
    splush = std::make_unique<TFormSplush>();
    form = std::make_unique<TFormMain>(splush.get(), QStringList());
    form->createOtherWindows();
    form->NewFlag = false;
}

void tst_mainfrmlist::cleanup()
{
    form.reset();
    splush.reset();
    folder.reset();
}

void tst_mainfrmlist::nameClickedThreeTimes()
{
    arrangeBook(form, [&](PhoneBook &book) { book.entries[0].setField(DialEntry::Name, QStringLiteral("わたなべ")); });
    arrangeBook(form, [&](PhoneBook &book) { book.entries[1].setField(DialEntry::Name, QStringLiteral("あおき")); });
    form->ListView1ColumnClick(1);
    QCOMPARE(cell(0, 1), QString());
    QCOMPARE(cell(3998, 1), QStringLiteral("あおき"));
    QCOMPARE(cell(3999, 1), QStringLiteral("わたなべ"));
    QCOMPARE(cell(3999, 0), QStringLiteral("0000"));
    form->ListView1ColumnClick(1);
    QCOMPARE(cell(0, 1), QStringLiteral("わたなべ"));
    QCOMPARE(cell(1, 1), QStringLiteral("あおき"));
    QCOMPARE(cell(2, 0), QStringLiteral("0002"));
    form->ListView1ColumnClick(1);
    QCOMPARE(cell(3999, 1), QStringLiteral("わたなべ"));
    QCOMPARE(form->book().FLastSortColumn, 1);
}

void tst_mainfrmlist::slotColumnFirstClickAfterStartAndNew()
{
    form->ListView1ColumnClick(0);
    QCOMPARE(cell(0, 0), QStringLiteral("3999"));
    form->ListView1ColumnClick(0);
    QCOMPARE(cell(0, 0), QStringLiteral("0000"));

    form->ListView1ColumnClick(2);
    FakePrompts prompts;
    prompts.answerYes(); // 現在のデータを全てクリアします。
    form->N1Click();
    QCOMPARE(prompts.unexpected, 0);
    QCOMPARE(form->book().FLastSortColumn, 0);
    form->ListView1ColumnClick(0);
    QCOMPARE(cell(0, 0), QStringLiteral("3999"));
}

void tst_mainfrmlist::sortKeepsSelectionWithEntries()
{
    select({2, 5});
    entryList(form)->selectionModel()->setCurrentIndex(entryModel(form)->index(5, 0), QItemSelectionModel::NoUpdate);
    form->ListView1ColumnClick(0); // descending
    QCOMPARE(form->selectedPositions(), (QList<int>{3994, 3997}));
    QCOMPARE(form->focusedPosition(), 3994);
    QCOMPARE(cell(3994, 0), QStringLiteral("0005"));
}

void tst_mainfrmlist::sortDoesNotMarkModified()
{
    form->ListView1ColumnClick(3);
    QVERIFY(!form->book().Modified);
    QCOMPARE(partOf<QLabel>(form, "StatusPanel0")->text(), QString());
}

void tst_mainfrmlist::clearThreeRows()
{
    for (int p : {1, 4, 6}) {
        for (int f = 0; f < DialEntry::FieldCount; ++f)
            arrangeBook(form, [&](PhoneBook &book) { book.entries[p].setField(f, QStringLiteral("7")); });
    }
    arrangeBook(form, [&](PhoneBook &book) { book.entries[2].setField(DialEntry::Name, QStringLiteral("残る")); });
    select({1, 4, 6});
    FakePrompts prompts;
    prompts.answerYes();
    form->N4Click();
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral("現在選択されているデータをクリアします。よろしいですか？")});
    QCOMPARE(prompts.kinds(), QStringList{QStringLiteral("confirm")});
    const PhoneBook fresh;
    for (int p : {1, 4, 6}) {
        QCOMPARE(form->book().entries[p], fresh.entries[p]);
        QCOMPARE(cell(p, 1), QString());
        QCOMPARE(cell(p, 4), QStringLiteral("グループ０"));
    }
    QCOMPARE(form->book().entries[2].name(), QStringLiteral("残る"));
    QVERIFY(form->book().Modified);
    QCOMPARE(partOf<QLabel>(form, "StatusPanel0")->text(), QStringLiteral("変更あり"));
}

void tst_mainfrmlist::clearAnsweredNo()
{
    arrangeBook(form, [&](PhoneBook &book) { book.entries[3].setField(DialEntry::Phone, QStringLiteral("03")); });
    select({3});
    FakePrompts prompts;
    prompts.answerNo();
    form->N4Click();
    QCOMPARE(form->book().entries[3].phone(), QStringLiteral("03"));
    QVERIFY(!form->book().Modified);
    QCOMPARE(partOf<QLabel>(form, "StatusPanel0")->text(), QString());
}

void tst_mainfrmlist::clearEmptyRowStillModifies()
{
    select({0});
    FakePrompts prompts;
    prompts.answerYes();
    form->N4Click();
    QVERIFY(form->book().Modified);
}

void tst_mainfrmlist::nothingSelectedAsksNothing()
{
    FakePrompts prompts;
    form->N4Click();
    form->N11Click(3);
    form->N22Click(1);
    form->N012Click(5);
    QVERIFY(prompts.shown.isEmpty());
    QVERIFY(!form->book().Modified);
    QCOMPARE(form->book().entries[0].group(), QStringLiteral("グループ０"));
}

void tst_mainfrmlist::bulkGroupWithoutChangeKeepsModified()
{
    for (int p : {0, 1, 2})
        arrangeBook(form,
                    [&](PhoneBook &book) { book.entries[p].setField(DialEntry::Group, QStringLiteral("グループ３")); });
    select({0, 1, 2});
    FakePrompts prompts;
    prompts.answerYes();
    form->N11Click(3);
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral(
                                  "現在選択されているデータのグループを「グループ３」に変更します。よろしいですか？")});
    QVERIFY(!form->book().Modified);
    QCOMPARE(partOf<QLabel>(form, "StatusPanel0")->text(), QString());

    // One row that differs is enough.
    arrangeBook(form,
                [&](PhoneBook &book) { book.entries[3].setField(DialEntry::Group, QStringLiteral("グループ９")); });
    select({0, 3});
    prompts.answerYes();
    form->N11Click(3);
    QVERIFY(form->book().Modified);
    QCOMPARE(form->book().entries[3].group(), QStringLiteral("グループ３"));
}

void tst_mainfrmlist::bulkChangeQuestions_data()
{
    QTest::addColumn<int>("kind"); // 0 group, 1 ring, 2 extension
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("question");
    QTest::newRow("個別") << 0 << 10 << int(DialEntry::Group) << QStringLiteral("個別")
                          << QStringLiteral(
                                 "現在選択されているデータのグループを「個別」に変更します。よろしいですか？");
    QTest::newRow("着信音Ｈ") << 1 << 8 << int(DialEntry::Ring) << QStringLiteral("着信音Ｈ")
                              << QStringLiteral(
                                     "現在選択されているデータの着信音を「着信音Ｈ」に変更します。よろしいですか？");
    QTest::newRow("00") << 2 << 0 << int(DialEntry::Extension) << QStringLiteral("00")
                        << QStringLiteral("現在選択されているデータの登録実装を「00」に変更します。よろしいですか？");
    QTest::newRow("32") << 2 << 32 << int(DialEntry::Extension) << QStringLiteral("32")
                        << QStringLiteral("現在選択されているデータの登録実装を「32」に変更します。よろしいですか？");
}

void tst_mainfrmlist::bulkChangeQuestions()
{
    QFETCH(int, kind);
    QFETCH(int, item);
    QFETCH(int, field);
    QFETCH(QString, value);
    QFETCH(QString, question);
    form->ListView1ColumnClick(0); // the rows stand in reverse slot order
    select({0, 2});
    auto run = [&] {
        if (kind == 0)
            form->N11Click(item);
        else if (kind == 1)
            form->N22Click(item);
        else
            form->N012Click(item);
    };

    FakePrompts prompts;
    prompts.answerNo();
    run();
    QCOMPARE(prompts.texts(), QStringList{question});
    QVERIFY(!form->book().Modified);
    QVERIFY(form->book().entries[0].field(field) != value);

    prompts.answerYes();
    run();
    QCOMPARE(prompts.unexpected, 0);
    QCOMPARE(form->book().entries[0].field(field), value);
    QCOMPARE(form->book().entries[2].field(field), value);
    QVERIFY(form->book().entries[1].field(field) != value);
    QCOMPARE(form->book().entries[0].No, QStringLiteral("3999"));
    QCOMPARE(cell(2, field + 1), value);
    QVERIFY(form->book().Modified);
    QCOMPARE(partOf<QLabel>(form, "StatusPanel0")->text(), QStringLiteral("変更あり"));
}

void tst_mainfrmlist::ringItemsFollowModel_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("stored");
    QTest::newRow("Morvel 10") << ModelMorvel << 9 << QStringLiteral("保留メロディ");
    QTest::newRow("Morvel 11") << ModelMorvel << 10 << QStringLiteral("着信メロディ");
    QTest::newRow("MorvelII 11") << ModelMorvel2 << 10 << QStringLiteral("着信メロディ");
    QTest::newRow("LM630Std 11") << ModelLM630Std << 10 << QStringLiteral("保留メロディ２");
    QTest::newRow("LM630Pro 13") << ModelLM630Pro << 12 << QStringLiteral("着信メロディ２");
}

void tst_mainfrmlist::ringItemsFollowModel()
{
    QFETCH(int, model);
    QFETCH(int, item);
    QFETCH(QString, stored);
    form->setModel(model);
    select({7});
    FakePrompts prompts;
    prompts.answerYes();
    form->N22Click(item);
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral("現在選択されているデータの着信音を「") + stored +
                                          QStringLiteral("」に変更します。よろしいですか？")});
    QCOMPARE(form->book().entries[7].ring(), stored);
}

void tst_mainfrmlist::freeSlotOnNewBook()
{
    form->BtnSpaceFindClick();
    QCOMPARE(form->selectedPositions(), QList<int>{0});
    QCOMPARE(form->focusedPosition(), 0);

    for (int p = 0; p < 5; ++p)
        arrangeBook(form, [&](PhoneBook &book) { book.entries[p].setField(DialEntry::Phone, QStringLiteral("1")); });
    form->BtnSpaceFindClick();
    QCOMPARE(form->selectedPositions(), QList<int>{5});
    QCOMPARE(form->focusedPosition(), 5);
}

void tst_mainfrmlist::freeSlotMovesFirstSelection()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    arrangeBook(form, [&](PhoneBook &book) { book.entries[0].setField(DialEntry::Name, QStringLiteral("山田")); });
    arrangeBook(form, [&](PhoneBook &book) { book.entries[1].setField(DialEntry::Memo, QStringLiteral("メモだけ")); });
    select({20, 30});
    form->BtnSpaceFindClick();
    // Only the first selected row gives up its selection.
    QCOMPARE(form->selectedPositions(), (QList<int>{1, 30}));
    QCOMPARE(form->focusedPosition(), 1);
    QCOMPARE(form->focusWidget(), static_cast<QWidget *>(entryList(form)));
}

void tst_mainfrmlist::freeSlotNoneLeft()
{
    arrangeBook(form, [](PhoneBook &book) {
        for (DialEntry &e : book.entries)
            e.setField(DialEntry::Kana, QStringLiteral("ｱ"));
    });
    select({12});
    FakePrompts prompts;
    form->BtnSpaceFindClick();
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral("空き短縮はありません")});
    QCOMPARE(prompts.kinds(), QStringList{QStringLiteral("information")});
    QCOMPARE(form->selectedPositions(), QList<int>{12});
}

void tst_mainfrmlist::freeSlotModelZeroLimit()
{
    form->setModel(ModelZR410Std);
    for (int p = 0; p < 1000; ++p)
        arrangeBook(form, [&](PhoneBook &book) { book.entries[p].setField(DialEntry::Name, QStringLiteral("名")); });
    FakePrompts prompts;
    form->BtnSpaceFindClick();
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral("空き短縮はありません")});

    prompts.clear();
    form->setModel(ModelLM630Std);
    form->BtnSpaceFindClick();
    QVERIFY(prompts.shown.isEmpty());
    QCOMPARE(form->selectedPositions(), QList<int>{1000});
}

void tst_mainfrmlist::searchOpensModally()
{
    QVERIFY(partOf<TFormFind>(form, "FormFind"));
    bool wasModal = false;
    QTimer::singleShot(0, partOf<TFormFind>(form, "FormFind"), [&] {
        wasModal = partOf<TFormFind>(form, "FormFind")->isVisible() && partOf<TFormFind>(form, "FormFind")->isModal();
        partOf<TFormFind>(form, "FormFind")->Button2Click();
    });
    form->Z1Click();
    QVERIFY(wasModal);
    QVERIFY(!partOf<TFormFind>(form, "FormFind")->isVisible());
}

QTEST_MAIN(tst_mainfrmlist)
#include "tst_mainfrmlist.moc"
