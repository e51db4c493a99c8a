#include "FakePrompts.h"
#include "MainWindowParts.h"
#include "formats/AppPaths.h"
#include "ui/FindFrm.h"
#include "ui/HelpTopics.h"
#include "ui/MainFrm.h"
#include "ui/PhoneBookModels.h"
#include "ui/SplushFrm.h"

#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>

// The search dialog, driven through its handlers.
class tst_findfrm : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void captionsAtCreation();
    void noKindChosen();
    void emptyTextKeepsResults();
    void allWithGroupListsEveryEntry();
    void nameWithGroupListsOnlyNames();
    void entryListedOnceUnderAll();
    void noHitsMessageAfterStatus();
    void hitsInSortedOrderAndJump();
    void jumpWithoutSelectionDoesNothing();
    void jumpMovesOnlyFirstSelection();
    void reopeningKeepsEverything();
    void helpButtonShowsTopic();

private:
    QStringList resultColumn(int column) const
    {
        QStringList texts;
        for (int i = 0; i < find->ListView1->topLevelItemCount(); ++i)
            texts << find->ListView1->topLevelItem(i)->text(column);
        return texts;
    }
    void search(int kind, const QString &text)
    {
        find->ComboBox1->setCurrentIndex(kind);
        find->EFind->setText(text);
        find->Button1Click();
    }

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<TFormSplush> splush;
    std::unique_ptr<TFormMain> form;
    TFormFind *find = nullptr;
};

void tst_findfrm::init()
{
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    AppPaths::setExecutableFolder(folder->path());
    splush = std::make_unique<TFormSplush>();
    form = std::make_unique<TFormMain>(splush.get(), QStringList());
    form->createOtherWindows();
    form->NewFlag = false;
    find = partOf<TFormFind>(form, "FormFind");
    QVERIFY(find);
}

void tst_findfrm::cleanup()
{
    setHelpTopicHandler({});
    form.reset();
    splush.reset();
    folder.reset();
}

void tst_findfrm::captionsAtCreation()
{
    QCOMPARE(find->windowTitle(), QStringLiteral("検索"));
    QStringList kinds;
    for (int i = 0; i < find->ComboBox1->count(); ++i)
        kinds << find->ComboBox1->itemText(i);
    QCOMPARE(kinds, (QStringList{QStringLiteral("全て"), QStringLiteral("名前"), QStringLiteral("カナ"),
                                 QStringLiteral("電話番号"), QStringLiteral("グループ"), QStringLiteral("着信音"),
                                 QStringLiteral("登録実装"), QStringLiteral("着信先"), QStringLiteral("メモ")}));
    QCOMPARE(find->ComboBox1->currentIndex(), -1);
    QStringList headers;
    for (int c = 0; c < find->ListView1->columnCount(); ++c)
        headers << find->ListView1->headerItem()->text(c);
    QCOMPARE(headers, (QStringList{QStringLiteral("No"), QStringLiteral("名前（全角）"), QStringLiteral("カナ"),
                                   QStringLiteral("電話番号")}));
    QCOMPARE(find->Button1->text(), QStringLiteral("検　索"));
    QVERIFY(find->Button1->isDefault());
    QCOMPARE(find->Button2->text(), QStringLiteral("閉じる"));
    QCOMPARE(find->BitBtn1->toolTip(), QStringLiteral("検索のヘルプを表示"));
    QCOMPARE(find->Label3->text(), QStringLiteral("※検索したデータをダブルクリックすると移動します"));
}

void tst_findfrm::noKindChosen()
{
    FakePrompts prompts;
    find->EFind->setText(QStringLiteral("山"));
    find->Button1Click();
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral("検索種別を選択してください")});
    QCOMPARE(find->StatusPanel0->text(), QString());

    // Enter on the text runs the default button.
    prompts.clear();
    find->show();
    QVERIFY(QTest::qWaitForWindowExposed(find));
    QTest::keyClick(find->EFind, Qt::Key_Return);
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral("検索種別を選択してください")});
}

void tst_findfrm::emptyTextKeepsResults()
{
    arrangeBook(form, [&](PhoneBook &book) { book.entries[4].setField(DialEntry::Name, QStringLiteral("山田")); });
    FakePrompts prompts;
    search(1, QStringLiteral("山"));
    QCOMPARE(resultColumn(0), QStringList{QStringLiteral("0004")});
    search(2, QString());
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral("検索条件を入力してください")});
    QCOMPARE(resultColumn(0), QStringList{QStringLiteral("0004")});
    QCOMPARE(find->StatusPanel0->text(), QStringLiteral("検索結果：1件"));
    QCOMPARE(find->StatusPanel1->text(), QStringLiteral("検索種別：名前　検索条件：山"));
}

void tst_findfrm::allWithGroupListsEveryEntry()
{
    FakePrompts prompts;
    search(0, QStringLiteral("グループ"));
    QVERIFY(prompts.shown.isEmpty());
    QCOMPARE(find->ListView1->topLevelItemCount(), PhoneBook::EntryCount);
    QCOMPARE(find->StatusPanel0->text(), QStringLiteral("検索結果：4000件"));
    QCOMPARE(find->StatusPanel1->text(), QStringLiteral("検索種別：全て　検索条件：グループ"));
    QCOMPARE(find->ListView1->topLevelItem(3999)->text(0), QStringLiteral("3999"));
}

void tst_findfrm::nameWithGroupListsOnlyNames()
{
    arrangeBook(form,
                [&](PhoneBook &book) { book.entries[8].setField(DialEntry::Name, QStringLiteral("グループ会社")); });
    arrangeBook(form, [&](PhoneBook &book) { book.entries[8].setField(DialEntry::Kana, QStringLiteral("ｸﾞﾙｰﾌﾟ")); });
    arrangeBook(form,
                [&](PhoneBook &book) { book.entries[8].setField(DialEntry::Phone, QStringLiteral("0311112222")); });
    FakePrompts prompts;
    search(1, QStringLiteral("グループ"));
    QCOMPARE(find->ListView1->topLevelItemCount(), 1);
    const QTreeWidgetItem *hit = find->ListView1->topLevelItem(0);
    QCOMPARE(hit->text(0), QStringLiteral("0008"));
    QCOMPARE(hit->text(1), QStringLiteral("グループ会社"));
    QCOMPARE(hit->text(2), QStringLiteral("ｸﾞﾙｰﾌﾟ"));
    QCOMPARE(hit->text(3), QStringLiteral("0311112222"));
    QCOMPARE(find->StatusPanel0->text(), QStringLiteral("検索結果：1件"));
}

void tst_findfrm::entryListedOnceUnderAll()
{
    arrangeBook(form, [&](PhoneBook &book) { book.entries[5].setField(DialEntry::Name, QStringLiteral("東京")); });
    arrangeBook(form, [&](PhoneBook &book) { book.entries[5].setField(DialEntry::Memo, QStringLiteral("東京本社")); });
    FakePrompts prompts;
    search(0, QStringLiteral("東京"));
    QCOMPARE(resultColumn(0), QStringList{QStringLiteral("0005")});
    QCOMPARE(find->StatusPanel0->text(), QStringLiteral("検索結果：1件"));
}

void tst_findfrm::noHitsMessageAfterStatus()
{
    arrangeBook(form, [&](PhoneBook &book) { book.entries[0].setField(DialEntry::Name, QStringLiteral("山田")); });
    FakePrompts prompts;
    search(1, QStringLiteral("山"));
    QCOMPARE(find->ListView1->topLevelItemCount(), 1);

    QString panelsAtMessage;
    struct Watching : FakePrompts {
        std::function<void()> onInformation;
        void information(const QString &text) override
        {
            onInformation();
            FakePrompts::information(text);
        }
    } watching;
    watching.onInformation = [&] { panelsAtMessage = find->StatusPanel0->text() + find->StatusPanel1->text(); };
    search(3, QStringLiteral("999"));
    QCOMPARE(watching.texts(), QStringList{QStringLiteral("検索条件に一致するデータは見つかりませんでした")});
    QCOMPARE(panelsAtMessage, QStringLiteral("検索結果：0件検索種別：電話番号　検索条件：999"));
    QCOMPARE(find->ListView1->topLevelItemCount(), 0);
}

void tst_findfrm::hitsInSortedOrderAndJump()
{
    arrangeBook(form, [&](PhoneBook &book) { book.entries[0].setField(DialEntry::Name, QStringLiteral("ささき")); });
    arrangeBook(form, [&](PhoneBook &book) { book.entries[1].setField(DialEntry::Name, QStringLiteral("あさだ")); });
    arrangeBook(form, [&](PhoneBook &book) { book.entries[2].setField(DialEntry::Name, QStringLiteral("かさい")); });
    form->ListView1ColumnClick(1);
    FakePrompts prompts;
    search(1, QStringLiteral("さ"));
    QCOMPARE(resultColumn(0), (QStringList{QStringLiteral("0001"), QStringLiteral("0002"), QStringLiteral("0000")}));

    // Sorted again since the search: the jump goes by slot number.
    form->ListView1ColumnClick(0); // ascending
    form->ListView1ColumnClick(0); // descending
    form->show();
    find->show();
    QVERIFY(QTest::qWaitForWindowExposed(find));
    find->ListView1->setCurrentItem(find->ListView1->topLevelItem(1));
    find->ListView1DblClick();
    QVERIFY(!find->isVisible());
    const int position = 3999 - 2;
    QCOMPARE(form->book().entries[position].No, QStringLiteral("0002"));
    QCOMPARE(form->selectedPositions(), QList<int>{position});
    QCOMPARE(form->focusedPosition(), position);
    QCOMPARE(form->focusWidget(), static_cast<QWidget *>(entryList(form)));
}

void tst_findfrm::jumpWithoutSelectionDoesNothing()
{
    FakePrompts prompts;
    search(0, QStringLiteral("01"));
    find->show();
    form->selectPosition(9);
    find->ListView1->clearSelection();
    find->ListView1DblClick();
    QVERIFY(find->isVisible());
    QCOMPARE(form->selectedPositions(), QList<int>{9});
}

void tst_findfrm::jumpMovesOnlyFirstSelection()
{
    arrangeBook(form, [&](PhoneBook &book) { book.entries[50].setField(DialEntry::Name, QStringLiteral("目当て")); });
    QItemSelectionModel *model = entryList(form)->selectionModel();
    for (int p : {3, 40})
        model->select(entryModel(form)->index(p, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    FakePrompts prompts;
    search(1, QStringLiteral("目当て"));
    find->ListView1->setCurrentItem(find->ListView1->topLevelItem(0));
    find->ListView1DblClick();
    QCOMPARE(form->selectedPositions(), (QList<int>{40, 50}));
    QCOMPARE(form->focusedPosition(), 50);
}

void tst_findfrm::reopeningKeepsEverything()
{
    arrangeBook(form, [&](PhoneBook &book) { book.entries[11].setField(DialEntry::Phone, QStringLiteral("0451234")); });
    FakePrompts prompts;
    QTimer::singleShot(0, find, [this] {
        search(3, QStringLiteral("045"));
        find->Button2Click();
    });
    form->Z1Click();
    QVERIFY(!find->isVisible());

    int kind = -1;
    QString text, status0, status1;
    QStringList hits;
    QTimer::singleShot(0, find, [&] {
        kind = find->ComboBox1->currentIndex();
        text = find->EFind->text();
        status0 = find->StatusPanel0->text();
        status1 = find->StatusPanel1->text();
        hits = resultColumn(0);
        find->reject(); // Escape
    });
    form->Z1Click();
    QCOMPARE(kind, 3);
    QCOMPARE(text, QStringLiteral("045"));
    QCOMPARE(status0, QStringLiteral("検索結果：1件"));
    QCOMPARE(status1, QStringLiteral("検索種別：電話番号　検索条件：045"));
    QCOMPARE(hits, QStringList{QStringLiteral("0011")});
}

void tst_findfrm::helpButtonShowsTopic()
{
    QList<int> topics;
    setHelpTopicHandler([&](int topic) { topics << topic; });
    find->show();
    find->BitBtn1->click();
    QCOMPARE(topics, QList<int>{12});
    QVERIFY(find->isVisible());
}

QTEST_MAIN(tst_findfrm)
#include "tst_findfrm.moc"
