#include "FakePrompts.h"
#include "MainWindowParts.h"
#include "TestPaths.h"
#include "formats/AppPaths.h"
#include "formats/Cp932.h"
#include "formats/KanaReader.h"
#include "ui/EditFrm.h"
#include "ui/InportFrm.h"
#include "ui/KanaFromName.h"
#include "ui/MainFrm.h"
#include "ui/SplushFrm.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString MissingFolder = QStringLiteral("/nonexistent/ipadic-utf8");
const QString MissingMessage = QStringLiteral(
    "読みの辞書 /nonexistent/ipadic-utf8 を読み込めません。mecab-ipadic-utf8 をインストールしてください。");
} // namespace

class TestKanaFromName : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void editorButton_data();
    void editorButton();
    void editorDropDown();
    void bulkPreviewApplies_data();
    void bulkPreviewApplies();
    void commandInPopUpAndEditMenus();
    void importFillsKana();
    void missingDictionaryChangesNothing();

private:
    void fillBook();
    TFormEdit *editor() const { return partOf<TFormEdit>(main_, "FormEdit"); }
    TFormInport *importWindow() const { return partOf<TFormInport>(main_, "FormInport"); }
    QTemporaryDir dir_;
    TFormSplush *splush_ = nullptr;
    TFormMain *main_ = nullptr;
    FakePrompts *prompts_ = nullptr;
};

void TestKanaFromName::init()
{
    // The designator list is found in data/ beside the built programs.
    AppPaths::setExecutableFolder(binDir());
    setProgramKanaDictionary(KanaDictionary::installed().folder);
    prompts_ = new FakePrompts;
    splush_ = new TFormSplush;
    main_ = new TFormMain(splush_, {});
    main_->createOtherWindows();
}

void TestKanaFromName::cleanup()
{
    QCOMPARE(prompts_->unexpected, 0);
    delete main_;
    delete splush_;
    delete prompts_;
}

void TestKanaFromName::fillBook()
{
    arrangeBook(main_, [](PhoneBook &book) {
        const QStringList names{QStringLiteral("株式会社丸山工業"), QStringLiteral("佐藤　健一"), QStringLiteral("㈱")};
        for (int i = 0; i < names.size(); ++i)
            book.entries[static_cast<size_t>(i)].setField(DialEntry::Name, names[i]);
        book.entries[0].setField(DialEntry::Kana, QStringLiteral("ﾃｽﾄ"));
        book.entries[3].setField(DialEntry::Phone, QStringLiteral("03")); // no name: nothing to read
    });
}

void TestKanaFromName::editorButton_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kana");

    QTest::newRow("typed kana replaced on request")
        << QStringLiteral("丸山工業（株）") << QStringLiteral("ﾏﾙﾔﾏ") << QStringLiteral("ﾏﾙﾔﾏｺｳｷﾞｮｳ");
    QTest::newRow("empty kana filled") << QStringLiteral("佐藤　健一") << QString() << QStringLiteral("ｻﾄｳ ｹﾝｲﾁ");
    QTest::newRow("no reading keeps the kana")
        << QStringLiteral("㈱") << QStringLiteral("ﾏﾙﾔﾏ") << QStringLiteral("ﾏﾙﾔﾏ");
}

void TestKanaFromName::editorButton()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, kana);
    TFormEdit *editor = this->editor();
    editor->NameEdit->setText(name);
    editor->KanaEdit->setText(typed);
    editor->KanaButton->click();
    QCOMPARE(editor->KanaEdit->text(), kana);
    QVERIFY(prompts_->shown.isEmpty());
    editor->KanaEdit->undo();
    QCOMPARE(editor->KanaEdit->text(), typed);
}

void TestKanaFromName::editorDropDown()
{
    TFormEdit *editor = this->editor();
    editor->NameEdit->setText(QStringLiteral("ＮＴＴ東日本"));
    const QStringList offered = editor->KanaButton->refreshMenu();
    QVERIFY2(offered.size() > 1 && offered.contains(QStringLiteral("NTTﾋｶﾞｼﾆﾎﾝ")), qPrintable(offered.join(u'|')));
    QCOMPARE(editor->KanaEdit->text(), QString()); // offering changes nothing
    editor->KanaButton->menu()->actions().at(1)->trigger();
    QCOMPARE(editor->KanaEdit->text(), offered.at(1));
}

void TestKanaFromName::bulkPreviewApplies_data()
{
    QTest::addColumn<bool>("alsoFilled");
    QTest::addColumn<QStringList>("kana");
    QTest::addColumn<QString>("step");

    QTest::newRow("empty kana only") << false
                                     << QStringList{QStringLiteral("ﾃｽﾄ"), QStringLiteral("ｻﾄｳ ｹﾝ"), QString(),
                                                    QString()}
                                     << QStringLiteral("カナの自動入力 (1件)");
    QTest::newRow("also filled kana") << true
                                      << QStringList{QStringLiteral("ﾏﾙﾔﾏｺｳｷﾞｮｳ"), QStringLiteral("ｻﾄｳ ｹﾝ"), QString(),
                                                     QString()}
                                      << QStringLiteral("カナの自動入力 (2件)");
}

void TestKanaFromName::bulkPreviewApplies()
{
    QFETCH(bool, alsoFilled);
    QFETCH(QStringList, kana);
    QFETCH(QString, step);
    fillBook();
    const PhoneBook before = main_->book();
    TFormKanaFill window(main_->document(), splush_, {}, main_);
    window.CbAlsoFilled->setChecked(alsoFilled);
    window.propose();
    KanaPreviewModel *preview = window.Preview;
    const int rows = preview->rowCount();
    // 佐藤　健一 and ㈱, and 丸山工業 when filled kana are redone; the entry without a name never.
    QCOMPARE(rows, alsoFilled ? 3 : 2);
    QCOMPARE(preview->index(rows - 1, KanaPreviewModel::Proposed).data().toString(), QString()); // ㈱
    // The user corrects a proposal (typed in full width, kept in the field's form) and
    // refuses one that cannot be a kana.
    const QModelIndex sato = preview->index(rows - 2, KanaPreviewModel::Proposed);
    QVERIFY(preview->setData(sato, QStringLiteral("サトウ　ケン"), Qt::EditRole));
    QVERIFY(!preview->setData(sato, QStringLiteral("佐藤"), Qt::EditRole));
    window.Button1Click();
    const auto compareKana = [&] {
        for (int i = 0; i < kana.size(); ++i)
            QCOMPARE(main_->book().entries[static_cast<size_t>(i)].kana(), kana[i]);
    };
    compareKana();
    QVERIFY(main_->book().Modified);

    // One step: undo puts every kana back, redo writes them again.
    auto *undo = partOf<QAction>(main_, "UndoAction");
    QCOMPARE(undo->text(), QStringLiteral("元に戻す: ") + step);
    undo->trigger();
    QVERIFY(main_->book().entries == before.entries);
    QVERIFY(!main_->book().Modified);
    auto *redo = partOf<QAction>(main_, "RedoAction");
    QCOMPARE(redo->text(), QStringLiteral("やり直し: ") + step);
    redo->trigger();
    compareKana();
}

void TestKanaFromName::commandInPopUpAndEditMenus()
{
    auto *command = partOf<QAction>(main_, "KanaFillAction");
    QCOMPARE(command->text(), QStringLiteral("カナを自動入力…"));
    QVERIFY(partOf<QMenu>(main_, "PopupMenu1")->actions().contains(command));
    QVERIFY(partOf<QMenu>(main_, "EditMenu")->actions().contains(command));
}

void TestKanaFromName::importFillsKana()
{
    TFormInport *form = importWindow();
    const QString path = dir_.filePath(QStringLiteral("names.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(encodeCp932(u"株式会社丸山工業,03-1\r\n佐藤　健一,03-2\r\n"));
    file.close();
    form->loadFile(path);
    QVERIFY(form->CbKanaFromName->isEnabled());
    form->ComboBox1->setCurrentIndex(0);
    form->ComboBox3->setCurrentIndex(1);
    form->SpinEdit1->setValue(1);
    form->SpinEdit2->setValue(2);
    form->CbKanaFromName->setChecked(true);
    form->Button2Click();
    QVERIFY(prompts_->shown.isEmpty());
    QCOMPARE(main_->book().entries[0].kana(), QStringLiteral("ﾏﾙﾔﾏｺｳｷﾞｮｳ"));
    QCOMPARE(main_->book().entries[1].kana(), QStringLiteral("ｻﾄｳ ｹﾝｲﾁ"));
    // The kana came with the import, in its one step.
    QCOMPARE(partOf<QAction>(main_, "UndoAction")->text(), QStringLiteral("元に戻す: CSVインポート"));
    form->ComboBox2->setCurrentIndex(0);
    QVERIFY(!form->CbKanaFromName->isEnabled());
}

void TestKanaFromName::missingDictionaryChangesNothing()
{
    fillBook();
    const PhoneBook before = main_->book();
    setProgramKanaDictionary(MissingFolder);

    TFormEdit *editor = this->editor();
    editor->NameEdit->setText(QStringLiteral("丸山工業"));
    editor->KanaEdit->setText(QStringLiteral("ﾏﾙﾔﾏ"));
    editor->KanaButton->click();
    QCOMPARE(editor->KanaEdit->text(), QStringLiteral("ﾏﾙﾔﾏ"));

    importWindow()->CbKanaFromName->setEnabled(true);
    importWindow()->CbKanaFromName->setChecked(true);
    importWindow()->SpinEdit1->setValue(1);
    importWindow()->SpinEdit2->setValue(1);
    importWindow()->ComboBox1->addItem(QStringLiteral("フィールド1"));
    importWindow()->ComboBox3->addItems({QStringLiteral("フィールド1"), QStringLiteral("フィールド2")});
    importWindow()->ComboBox3->setCurrentIndex(1);
    importWindow()->Button2->click();

    QCOMPARE(prompts_->kinds(), (QStringList{QStringLiteral("error"), QStringLiteral("error")}));
    QCOMPARE(prompts_->texts(), (QStringList{MissingMessage, MissingMessage}));
    QVERIFY(main_->book().entries == before.entries);
    QVERIFY(!main_->book().Modified);
}

QTEST_MAIN(TestKanaFromName)
#include "tst_kanafromname.moc"
