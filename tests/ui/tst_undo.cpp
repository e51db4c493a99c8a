#include "FakePrompts.h"
#include "MainWindowParts.h"
#include "TestPaths.h"

#include "core/DalvinoError.h"
#include "formats/AppPaths.h"
#include "ui/EditFrm.h"
#include "ui/GroupEditFrm.h"
#include "ui/MainFrm.h"
#include "ui/PhoneFormatFrm.h"
#include "ui/SplushFrm.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

// What a step may change, compared as a whole.
struct Snapshot {
    std::vector<DialEntry> entries;
    std::array<GroupSetting, PhoneBook::GroupCount> groups;
    QString userName, userNo, fileName;
    int writeMode, model, lastSortColumn;

    explicit Snapshot(const PhoneBook &b)
        : entries(b.entries), groups(b.groups), userName(b.UserName), userNo(b.UserNo), fileName(b.FileName),
          writeMode(b.WriteMode), model(b.Syubetu), lastSortColumn(b.FLastSortColumn)
    {
    }
    bool operator==(const Snapshot &) const = default;
};

using Change = std::function<void(TFormMain &, FakePrompts &)>;

void selectRows(TFormMain &window, int first, int last)
{
    QItemSelectionModel *selection = entryList(&window)->selectionModel();
    selection->clear();
    for (int p = first; p <= last; ++p)
        selection->select(entryModel(&window)->index(p, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void chooseRadio(TFormMain &window, const char *box, int index)
{
    partOf<QWidget>(&window, box)->findChildren<QRadioButton *>().at(index)->click();
}

} // namespace

Q_DECLARE_METATYPE(Change)

class TestUndo : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void everyChangeIsUndoneAndRedone_data();
    void everyChangeIsUndoneAndRedone();
    void modifiedFollowsTheSavedState();
    void saveMarksTheCleanState();
    void menuSitsBetweenFileAndSearch();
    void customerTypingIsOneStep();
    void bulkStepKeepsOnlyWhatChanged();
    void undoClosesTheEditorsWithoutWriting();
    void progressWindowGoesWhenTheWorkThrows();

private:
    QTemporaryDir *dir_ = nullptr;
    FakePrompts *prompts_ = nullptr;
    TFormSplush *splush_ = nullptr;
    TFormMain *window_ = nullptr;
};

void TestUndo::init()
{
    dir_ = new QTemporaryDir;
    AppPaths::setExecutableFolder(dir_->path());
    prompts_ = new FakePrompts;
    splush_ = new TFormSplush;
    window_ = new TFormMain(splush_, {});
    window_->createOtherWindows();
    window_->FormActivate();
    arrangeBook(window_, [](PhoneBook &book) {
        for (int p = 0; p < 20; ++p)
            book.entries[p].setField(DialEntry::Name, QStringLiteral("名前%1").arg(19 - p));
        for (int p = 0; p < 3; ++p)
            book.entries[p].setField(DialEntry::Phone, QStringLiteral("035321111%1").arg(p));
        book.UserName = QStringLiteral("顧客");
    });
}

void TestUndo::cleanup()
{
    delete window_;
    delete splush_;
    delete prompts_;
    AppPaths::setExecutableFolder(QString());
    delete dir_;
}

void TestUndo::everyChangeIsUndoneAndRedone_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("step");
    QTest::addColumn<bool>("marksModified");

    QTest::newRow("entry edit") << Change([](TFormMain &w, FakePrompts &) {
        selectRows(w, 3, 3);
        w.ListView1DblClick();
        auto *editor = partOf<TFormEdit>(&w, "FormEdit");
        editor->NameEdit->setText(QStringLiteral("山田"));
        editor->Button1Click();
    }) << QStringLiteral("項目の編集")
                                << true;
    QTest::newRow("group edit") << Change([](TFormMain &w, FakePrompts &) {
        groupList(&w)->selectionModel()->setCurrentIndex(
            groupModel(&w)->index(2, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        w.GroupListDblClick();
        auto *editor = partOf<TFormGroupEdit>(&w, "FormGroupEdit");
        editor->NameEdit->setText(QStringLiteral("営業"));
        editor->Button2Click();
    }) << QStringLiteral("グループの編集")
                                << true;
    QTest::newRow("clear") << Change([](TFormMain &w, FakePrompts &p) {
        selectRows(w, 18, 21);
        p.answerYes();
        w.N4Click();
    }) << QStringLiteral("クリア (4件)")
                           << true;
    QTest::newRow("bulk change") << Change([](TFormMain &w, FakePrompts &p) {
        selectRows(w, 0, 11);
        p.answerYes();
        w.N11Click(3);
    }) << QStringLiteral("一括変更 (12件)")
                                 << true;
    QTest::newRow("number form") << Change([](TFormMain &w, FakePrompts &) {
        QTimer::singleShot(0, &w, [&w] { w.findChild<TFormPhoneFormat *>()->BtnApply->click(); });
        partOf<QAction>(&w, "N5")->trigger();
    }) << QStringLiteral("番号の書式 (3件)")
                                 << true;
    QTest::newRow("sort") << Change([](TFormMain &w, FakePrompts &) { w.ListView1ColumnClick(1); })
                          << QStringLiteral("並べ替え") << false;
    QTest::newRow("new") << Change([](TFormMain &w, FakePrompts &p) {
        p.answerYes();
        w.N1Click();
    }) << QStringLiteral("初期化")
                         << true;
    QTest::newRow("load") << Change([](TFormMain &w, FakePrompts &) {
        w.openPhoneBookFile(sourceDir() + QStringLiteral("/tests/formats/data/filled_ZR410Pro.xml"));
    }) << QStringLiteral("読み込み")
                          << true;
    QTest::newRow("import") << Change([](TFormMain &w, FakePrompts &) {
        PhoneBook imported = w.book();
        imported.New();
        imported.entries[0].setField(DialEntry::Name, QStringLiteral("取込"));
        imported.Modified = true;
        w.document().import(std::move(imported));
    }) << QStringLiteral("CSVインポート")
                            << true;
    QTest::newRow("customer name") << Change([](TFormMain &w, FakePrompts &) {
        partOf<QLineEdit>(&w, "UserName")->setText(QStringLiteral("新しい顧客"));
    }) << QStringLiteral("お客様名の変更")
                                   << true;
    QTest::newRow("customer number") << Change([](TFormMain &w, FakePrompts &) {
        partOf<QLineEdit>(&w, "UserNo")->setText(QStringLiteral("03-1234"));
    }) << QStringLiteral("お客様電話番号の変更")
                                     << true;
    QTest::newRow("write mode") << Change([](TFormMain &w, FakePrompts &) { chooseRadio(w, "WriteMode", 1); })
                                << QStringLiteral("書き込み設定の変更") << false;
    QTest::newRow("model") << Change([](TFormMain &w, FakePrompts &) { chooseRadio(w, "RadioGroup1", 1); })
                           << QStringLiteral("機種の変更") << false;
}

void TestUndo::everyChangeIsUndoneAndRedone()
{
    QFETCH(Change, change);
    QFETCH(QString, step);
    QFETCH(bool, marksModified);
    auto *undo = partOf<QAction>(window_, "UndoAction");
    auto *redo = partOf<QAction>(window_, "RedoAction");
    auto *panel = partOf<QLabel>(window_, "StatusPanel0");

    const Snapshot before(window_->book());
    change(*window_, *prompts_);
    const Snapshot after(window_->book());
    QVERIFY(after != before);
    QCOMPARE(undo->text(), QStringLiteral("元に戻す: ") + step);
    QVERIFY(undo->isEnabled());
    QVERIFY(!redo->isEnabled());
    // A load is the saved state it read; every other edit is a change to save.
    const bool modifiedAfter = marksModified && step != QStringLiteral("読み込み") && step != QStringLiteral("初期化");
    QCOMPARE(window_->book().Modified, modifiedAfter);

    undo->trigger();
    QVERIFY(Snapshot(window_->book()) == before);
    QCOMPARE(redo->text(), QStringLiteral("やり直し: ") + step);
    QCOMPARE(window_->book().Modified, marksModified && !modifiedAfter);
    QCOMPARE(panel->text().isEmpty(), !window_->book().Modified);
    QCOMPARE(partOf<QLineEdit>(window_, "UserName")->text(), before.userName);
    QCOMPARE(entryModel(window_)->index(3, 1).data().toString(), before.entries[3].name());
    QCOMPARE(window_->deviceType(), 0);

    redo->trigger();
    QVERIFY(Snapshot(window_->book()) == after);
    QCOMPARE(window_->book().Modified, modifiedAfter);
    QCOMPARE(undo->text(), QStringLiteral("元に戻す: ") + step);
    QCOMPARE(partOf<QLineEdit>(window_, "UserNo")->text(), after.userNo);
}

void TestUndo::modifiedFollowsTheSavedState()
{
    auto *panel = partOf<QLabel>(window_, "StatusPanel0");
    selectRows(*window_, 0, 1);
    prompts_->answerYes();
    window_->N4Click();
    QCOMPARE(panel->text(), QStringLiteral("変更あり"));
    window_->undo();
    QVERIFY(!window_->book().Modified);
    QVERIFY(panel->text().isEmpty());
    // A model change in between is no edit: the document is still the saved one.
    window_->setModel(ModelLM630Pro);
    QVERIFY(!window_->book().Modified);
    window_->undo();
    window_->redo();
    QVERIFY(!window_->book().Modified);
    // A new step after an undo drops the steps that were undone.
    window_->setModel(ModelLM630Std);
    QVERIFY(!partOf<QAction>(window_, "RedoAction")->isEnabled());
    QCOMPARE(partOf<QAction>(window_, "RedoAction")->text(), QStringLiteral("やり直し"));
}

void TestUndo::saveMarksTheCleanState()
{
    window_->setModel(ModelZR410Pro); // a model whose files are plain XML
    const QString target = dir_->path() + QStringLiteral("/book.xml");
    arrangeBook(window_, [&](PhoneBook &book) { book.FileName = target; });
    partOf<QLineEdit>(window_, "UserNo")->setText(QStringLiteral("045"));
    QVERIFY(window_->book().Modified);
    QCOMPARE(window_->S1Click(), TFormMain::SaveOutcome::Saved);
    QVERIFY(!window_->book().Modified);
    window_->undo();
    QVERIFY(window_->book().Modified);
    QCOMPARE(partOf<QLabel>(window_, "StatusPanel0")->text(), QStringLiteral("変更あり"));
    window_->redo();
    QVERIFY(!window_->book().Modified);
    QVERIFY(partOf<QLabel>(window_, "StatusPanel0")->text().isEmpty());
    QCOMPARE(window_->book().FileName, target);
}

void TestUndo::menuSitsBetweenFileAndSearch()
{
    QStringList bar;
    for (const QAction *item : window_->menuBar()->actions())
        bar << item->text();
    QCOMPARE(bar, (QStringList{"ファイル(&F)", "編集(&E)", "検索(&Z)...", "ヘルプ(&H)"}));
    auto *undo = partOf<QAction>(window_, "UndoAction");
    auto *redo = partOf<QAction>(window_, "RedoAction");
    QCOMPARE(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(redo->shortcuts(),
             (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
    // The arranged book is the start: nothing to undo yet beyond it.
    window_->document().undoStack()->clear();
    QCOMPARE(undo->text(), QStringLiteral("元に戻す"));
    QVERIFY(!undo->isEnabled());
    QCOMPARE(redo->text(), QStringLiteral("やり直し"));
    QVERIFY(!redo->isEnabled());
}

void TestUndo::customerTypingIsOneStep()
{
    auto *box = partOf<QLineEdit>(window_, "UserName");
    box->clear();
    QTest::keyClicks(box, QStringLiteral("abc"));
    QCOMPARE(window_->book().UserName, QStringLiteral("abc"));
    window_->undo();
    QCOMPARE(box->text(), QStringLiteral("顧客"));
    QCOMPARE(window_->book().UserName, QStringLiteral("顧客"));
}

void TestUndo::bulkStepKeepsOnlyWhatChanged()
{
    // Rows that already hold the value are no part of the step: undoing gives them back
    // nothing, and a change of nothing is no step at all.
    selectRows(*window_, 0, 3);
    prompts_->answerYes();
    window_->N11Click(3);
    const int steps = window_->document().undoStack()->count();
    prompts_->answerYes();
    window_->N11Click(3);
    QCOMPARE(window_->document().undoStack()->count(), steps);
    selectRows(*window_, 0, 7);
    prompts_->answerYes();
    window_->N11Click(5);
    window_->undo();
    for (int p = 0; p < 8; ++p)
        QCOMPARE(window_->book().entries[p].group(),
                 p < 4 ? QStringLiteral("グループ３") : QStringLiteral("グループ０"));
}

void TestUndo::undoClosesTheEditorsWithoutWriting()
{
    // The unapplied values belong to an entry the step may change under them.
    selectRows(*window_, 0, 1);
    prompts_->answerYes();
    window_->N4Click();
    selectRows(*window_, 0, 0);
    window_->ListView1DblClick();
    auto *editor = partOf<TFormEdit>(window_, "FormEdit");
    QVERIFY(editor->isVisible());
    editor->NameEdit->setText(QStringLiteral("書きかけ"));
    window_->undo();
    QVERIFY(editor->isHidden());
    QCOMPARE(window_->book().entries[0].name(), QStringLiteral("名前19"));
}

void TestUndo::progressWindowGoesWhenTheWorkThrows()
{
    splush_->setDetail(QStringLiteral("途中"));
    QVERIFY_THROWS_EXCEPTION(DalvinoError, [&] {
        const ProgressScope progress(splush_, QStringLiteral("インポート中..."), PhoneBook::EntryCount);
        QVERIFY(splush_->isVisible());
        throw DalvinoError(QStringLiteral("x"));
    }());
    QVERIFY(!splush_->isVisible());
    QCOMPARE(splush_->Label2->text(), TFormSplush::defaultDetail());
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
