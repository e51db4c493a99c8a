#include "FakePrompts.h"
#include "MainWindowParts.h"
#include "core/DalvinoError.h"
#include "formats/AppPaths.h"
#include "formats/TextFile.h"
#include "ui/EditFrm.h"
#include "ui/HelpTopics.h"
#include "ui/InportFrm.h"
#include "ui/MainFrm.h"
#include "ui/PhoneBookModels.h"
#include "ui/SplushFrm.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

const QString RowsNotSet = QStringLiteral("開始行と終了行を設定してください");
const QString TooMany = QStringLiteral("電話帳は最大4000件までです");
const QString Fields =
    QStringLiteral("最低でも名前・カナ・電話番号いずれか2つのフィールドを指定し、全て別のフィールドにしてください");

} // namespace

class TestInportFrm : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void captions();
    void loadFillsPreviewAndSelectors();
    void loadResetsThePreviousFile();
    void utf8FileWithoutBom();
    void emptyFileIsRefused();
    void encodingChoiceChangesThePreview();
    void quotedRecordsAndTheirNotice();
    void largeFileLoadsQuickly_data();
    void largeFileLoadsQuickly();
    void rowButtons();
    void validationInOrder();
    void importBuildsNewPhoneBook();
    void rowBeyondTheFileStopsTheImport();
    void cancelLeavesThePhoneBook();
    void helpButtonOpensTopic24();
    void i1ClickCancelled();
    void i1ClickShowsTheWindow();

private:
    QString writeFile(const QString &name, const QByteArray &bytes);
    void selectRow(int row);

    QTemporaryDir dir_;
    TFormSplush *splush_ = nullptr;
    TFormMain *main_ = nullptr;
    TFormInport *form_ = nullptr;
    FakePrompts *prompts_ = nullptr;
    FakeFileChoices *files_ = nullptr;
};

void TestInportFrm::init()
{
    AppPaths::setExecutableFolder(dir_.path());
    prompts_ = new FakePrompts;
    files_ = new FakeFileChoices;
    splush_ = new TFormSplush;
    main_ = new TFormMain(splush_, {});
    main_->createOtherWindows();
    form_ = partOf<TFormInport>(main_, "FormInport");
    QVERIFY(form_);
}

void TestInportFrm::cleanup()
{
    QCOMPARE(prompts_->unexpected, 0);
    QCOMPARE(files_->unexpected, 0);
    delete main_;
    delete splush_;
    delete files_;
    delete prompts_;
}

QString TestInportFrm::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = dir_.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestInportFrm::selectRow(int row)
{
    form_->ListView1->selectionModel()->select(form_->Preview->index(row - 1, 0),
                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TestInportFrm::captions()
{
    QCOMPARE(form_->windowTitle(), QStringLiteral("csvファイルのインポート"));
    QCOMPARE(form_->Button1->text(), QStringLiteral("キャンセル"));
    QCOMPARE(form_->Button2->text(), QStringLiteral("Ｏ　Ｋ"));
    QVERIFY(form_->Button2->isDefault());
    QCOMPARE(form_->Button3->text(), QStringLiteral("開始行に設定"));
    QCOMPARE(form_->Button3->toolTip(), QStringLiteral("リストで選択されている行を開始行に設定する"));
    QCOMPARE(form_->Button4->text(), QStringLiteral("終了行に設定"));
    QCOMPARE(form_->Button4->toolTip(), QStringLiteral("リストで選択されている行を終了行に設定する"));
    QCOMPARE(form_->BitBtn1->toolTip(), QStringLiteral("インポートのヘルプを表示"));
    QStringList labels;
    for (const QLabel *label : form_->findChildren<QLabel *>())
        labels << label->text();
    for (const char *text : {"名前フィールド", "カナフィールド", "電話番号フィールド", "グループフィールド",
                             "着信音フィールド", "メモフィールド", "開始行", "終了行"})
        QVERIFY2(labels.contains(QString::fromUtf8(text)), text);
    QCOMPARE(form_->SpinEdit1->maximum(), 4000);
    QCOMPARE(form_->SpinEdit2->maximum(), 4001);
    QVERIFY(form_->SpinEdit1->isReadOnly());
    QCOMPARE(form_->ListView1->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(form_->ListView1->editTriggers(), QAbstractItemView::NoEditTriggers);
}

void TestInportFrm::loadFillsPreviewAndSelectors()
{
    const QString path = writeFile(
        "a.csv",
        encodeCp932(QStringLiteral("名前,カナ,電話,メモ\r\n\r\n山田,やまだ,03[SP]1\r\n鈴木,すずき,04,x,y\r\n")));
    form_->loadFile(path);
    QCOMPARE(form_->Preview->columnCount(), 4);
    QCOMPARE(form_->Preview->rowCount(), 3);
    QCOMPARE(form_->Preview->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("フィールド1"));
    QCOMPARE(form_->Preview->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("フィールド4"));
    QCOMPARE(form_->Preview->index(1, 2).data().toString(), QStringLiteral("031"));
    QCOMPARE(form_->Preview->index(1, 3).data().toString(), QString());
    QCOMPARE(form_->Preview->index(2, 3).data().toString(), QStringLiteral("x"));
    QCOMPARE(form_->ListView1->columnWidth(0), 80);
    QCOMPARE(form_->ListView1->columnWidth(3), 80);
    for (QComboBox *box :
         {form_->ComboBox1, form_->ComboBox2, form_->ComboBox3, form_->ComboBox4, form_->ComboBox5, form_->ComboBox6}) {
        QCOMPARE(box->count(), 4);
        QCOMPARE(box->itemText(0), QStringLiteral("フィールド1"));
        QCOMPARE(box->itemText(3), QStringLiteral("フィールド4"));
        QCOMPARE(box->currentIndex(), -1);
    }
    QCOMPARE(form_->SpinEdit1->value(), 0);
    QVERIFY(splush_->isHidden());
    QCOMPARE(splush_->Label1->text(), QStringLiteral("読み込み中..."));
    QCOMPARE(splush_->Gauge1->MaxValue(), 3);
}

void TestInportFrm::loadResetsThePreviousFile()
{
    form_->loadFile(writeFile("a.csv", "a,b,c\r\n1,2,3\r\n"));
    form_->ComboBox1->setCurrentIndex(2);
    selectRow(2);
    form_->Button3Click();
    QCOMPARE(form_->SpinEdit1->value(), 2);
    form_->loadFile(writeFile("b.csv", "a,b\r\n"));
    QCOMPARE(form_->ComboBox1->count(), 2);
    QCOMPARE(form_->ComboBox1->currentIndex(), -1);
    QCOMPARE(form_->SpinEdit1->value(), 0);
    QCOMPARE(form_->Preview->rowCount(), 1);
}

void TestInportFrm::utf8FileWithoutBom()
{
    form_->loadFile(writeFile("u.csv", QStringLiteral("山田,やまだ\r\n").toUtf8()));
    QCOMPARE(form_->Preview->index(0, 1).data().toString(), QStringLiteral("やまだ"));
}

void TestInportFrm::emptyFileIsRefused()
{
    const QString path = writeFile("empty.csv", QByteArray());
    QVERIFY_THROWS_EXCEPTION(DalvinoError, form_->loadFile(path));
    try {
        form_->loadFile(dir_.filePath("missing.csv"));
        QFAIL("a missing file was read");
    } catch (const DalvinoError &e) {
        QVERIFY(e.text().startsWith(QStringLiteral("ファイル %1 は開けません。").arg(dir_.filePath("missing.csv"))));
    }
}

// 自動 finds code page 932 for half-width katakana that are also valid UTF-8; another
// choice shows the file again at once, keeping the fields chosen.
void TestInportFrm::encodingChoiceChangesThePreview()
{
    QStringList items;
    for (int i = 0; i < form_->CbEncoding->count(); ++i)
        items << form_->CbEncoding->itemText(i);
    QCOMPARE(items, (QStringList{"自動", "Shift-JIS", "UTF-8", "UTF-16"}));
    form_->loadFile(writeFile("kana.csv", encodeCp932(u"ﾅｶﾆｼ,03")));
    QCOMPARE(form_->Preview->index(0, 0).data().toString(), QStringLiteral("ﾅｶﾆｼ"));
    QCOMPARE(form_->EncodingFound->text(), QStringLiteral("（Shift-JIS）"));
    form_->ComboBox2->setCurrentIndex(0);
    form_->CbEncoding->setCurrentIndex(2);
    form_->CbEncodingChange();
    QCOMPARE(form_->Preview->index(0, 0).data().toString(), QStringLiteral("ŶƼ"));
    QCOMPARE(form_->ComboBox2->currentIndex(), 0);
    QCOMPARE(form_->EncodingFound->text(), QString());
    form_->CbEncoding->setCurrentIndex(3);
    form_->CbEncodingChange();
    QCOMPARE(form_->Preview->columnCount(), 1); // no comma in UTF-16
    QCOMPARE(form_->ComboBox2->currentIndex(), 0);
    form_->CbEncoding->setCurrentIndex(0);
    form_->CbEncodingChange();
    QCOMPARE(form_->Preview->index(0, 1).data().toString(), QStringLiteral("03"));
    // A new file starts from 自動 again.
    form_->CbEncoding->setCurrentIndex(2);
    form_->loadFile(writeFile("kana2.csv", encodeCp932(u"ﾅｶﾆｼ,03")));
    QCOMPARE(form_->CbEncoding->currentIndex(), 0);
    QVERIFY(splush_->isHidden());
}

// A quoted line break stays in its row: the row numbers, the gauge and the rows set
// count records. A quote that never closes is named once the file is read.
void TestInportFrm::quotedRecordsAndTheirNotice()
{
    form_->loadFile(writeFile("q.csv", encodeCp932(u"名前,住所\r\n\"山田\",\"東京都\r\n1-1\"\r\n\"鈴木,大阪\r\n")));
    QCOMPARE(form_->Preview->rowCount(), 3);
    QCOMPARE(form_->Preview->index(1, 1).data().toString(), QStringLiteral("東京都 1-1"));
    QCOMPARE(form_->Preview->index(2, 0).data().toString(), QStringLiteral("鈴木,大阪"));
    QCOMPARE(splush_->Gauge1->MaxValue(), 3);
    QCOMPARE(prompts_->texts(),
             QStringList{QStringLiteral(
                 "3行目の「\"」が閉じられていないため、その行の終わりまでを１つのフィールドとして読み込みました")});
    selectRow(3);
    form_->Button3Click();
    QCOMPARE(form_->SpinEdit1->value(), 3);
}

// Large files open at once: many rows, or a first line of a million commas, of which the
// window offers the fields a user can map and says so.
void TestInportFrm::largeFileLoadsQuickly_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QStringList>("notices");
    QByteArray manyRows;
    for (int i = 1; i <= 10000; ++i)
        manyRows += encodeCp932(QStringLiteral("名前%1,ﾅﾏｴ,03-%1,3,A,メモ\r\n").arg(i));
    QTest::newRow("10000 rows") << manyRows << 10000 << 6 << QStringList();
    QTest::newRow("a million commas") << QByteArray(1000000, ',') + "\r\n名前10000\r\n"
                                      << 2 << CsvImport::MaxFields
                                      << QStringList{QStringLiteral(
                                             "1行目のフィールドが256を超えるため、フィールド256までを読み込みました")};
}

void TestInportFrm::largeFileLoadsQuickly()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(QStringList, notices);
    const QString path = writeFile("large.csv", bytes);
    form_->show();
    QElapsedTimer timer;
    timer.start();
    form_->loadFile(path);
    QCoreApplication::processEvents();
    const qint64 elapsed = timer.elapsed();
    form_->hide();
    QCOMPARE(form_->Preview->rowCount(), rows);
    QCOMPARE(form_->Preview->columnCount(), columns);
    QCOMPARE(form_->ComboBox6->count(), columns);
    QCOMPARE(form_->Preview->index(rows - 1, 0).data().toString(), QStringLiteral("名前10000"));
    QCOMPARE(prompts_->texts(), notices);
    QVERIFY2(elapsed < 2000, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
}

void TestInportFrm::rowButtons()
{
    QByteArray bytes;
    for (int i = 1; i <= 5000; ++i)
        bytes += "n" + QByteArray::number(i) + ",k,1\r\n";
    form_->loadFile(writeFile("rows.csv", bytes));
    form_->Button3Click(); // nothing selected
    QCOMPARE(form_->SpinEdit1->value(), 0);
    selectRow(3);
    form_->Button3Click();
    QCOMPARE(form_->SpinEdit1->value(), 3);
    selectRow(17);
    form_->Button4Click();
    QCOMPARE(form_->SpinEdit2->value(), 17);
    selectRow(5000);
    form_->Button4Click();
    QCOMPARE(form_->SpinEdit2->value(), 4001);
    form_->Button3Click();
    QCOMPARE(form_->SpinEdit1->value(), 4000);
}

void TestInportFrm::validationInOrder()
{
    QByteArray bytes;
    for (int i = 1; i <= 4001; ++i)
        bytes += "n" + QByteArray::number(i) + ",k,1\r\n";
    form_->loadFile(writeFile("rows.csv", bytes));
    arrangeBook(main_, [&](PhoneBook &book) { book.entries[0].setField(DialEntry::Name, QStringLiteral("元")); });
    const PhoneBook before = main_->book();

    form_->Button2Click();
    selectRow(1);
    form_->Button3Click();
    selectRow(4001);
    form_->Button4Click();
    form_->Button2Click();
    selectRow(2);
    form_->Button3Click();
    form_->Button2Click();
    form_->ComboBox1->setCurrentIndex(0);
    form_->Button2Click();
    form_->ComboBox2->setCurrentIndex(0);
    form_->Button2Click();
    QCOMPARE(prompts_->texts(), (QStringList{RowsNotSet, TooMany, Fields, Fields, Fields}));
    QCOMPARE(prompts_->kinds().count(QStringLiteral("information")), 5);
    // Everything stays as it was, the choices included.
    QCOMPARE(main_->book().entries, before.entries);
    QCOMPARE(form_->ComboBox1->currentIndex(), 0);
    QCOMPARE(form_->SpinEdit1->value(), 2);
    QCOMPARE(form_->result(), int(QDialog::Rejected));
}

void TestInportFrm::importBuildsNewPhoneBook()
{
    form_->loadFile(writeFile(
        "a.csv",
        encodeCp932(QStringLiteral("名前,カナ,電話,グループ,着信音,メモ\r\n山田,やまだ,(03)1234-5678,3,2,ﾒﾓ\r\n"
                                   "\r\n鈴木,すずき,03(1234)5678,10,A,\r\n佐藤,さとう,０３ー１２３４,x,I\r\n"))));
    arrangeBook(main_, [&](PhoneBook &book) { book.entries[3000].setField(DialEntry::Name, QStringLiteral("古い")); });
    arrangeBook(main_, [&](PhoneBook &book) { book.FileName = QStringLiteral("/tmp/old.leg"); });
    main_->setWriteMode(1);
    main_->setModified(false);
    const int model = main_->model();
    QComboBox *boxes[] = {form_->ComboBox1, form_->ComboBox2, form_->ComboBox3,
                          form_->ComboBox4, form_->ComboBox5, form_->ComboBox6};
    for (int i = 0; i < 6; ++i)
        boxes[i]->setCurrentIndex(i);
    selectRow(2);
    form_->Button3Click();
    selectRow(4);
    form_->Button4Click();
    partOf<TFormEdit>(main_, "FormEdit")->show(); // the import fills the document in place: the editors close first
    form_->Button2Click();

    QVERIFY(prompts_->shown.isEmpty());
    QVERIFY(partOf<TFormEdit>(main_, "FormEdit")->isHidden());
    QCOMPARE(form_->result(), int(QDialog::Accepted));
    const PhoneBook &book = main_->book();
    QCOMPARE(book.entries[0].name(), QStringLiteral("山田"));
    QCOMPARE(book.entries[0].kana(), QStringLiteral("ﾔﾏﾀﾞ"));
    QCOMPARE(book.entries[0].phone(), QStringLiteral("03-1234-5678"));
    QCOMPARE(book.entries[0].group(), QStringLiteral("グループ３"));
    QCOMPARE(book.entries[0].ring(), QStringLiteral("着信メロディ１"));
    QCOMPARE(book.entries[0].memo(), QStringLiteral("メモ"));
    QCOMPARE(book.entries[1].group(), QStringLiteral("個別"));
    QCOMPARE(book.entries[1].ring(), QStringLiteral("着信音Ａ"));
    QCOMPARE(book.entries[2].phone(), QStringLiteral("03-1234"));
    QCOMPARE(book.entries[2].ring(), QStringLiteral("着信音Ｉ"));
    QVERIFY(!book.entries[3].isRegistered());
    QVERIFY(!book.entries[3000].isRegistered());
    QVERIFY(book.Modified);
    QCOMPARE(partOf<QLabel>(main_, "StatusPanel0")->text(), QStringLiteral("変更あり"));
    QCOMPARE(book.FileName, QStringLiteral("無題"));
    QCOMPARE(main_->windowTitle(), QStringLiteral("Dalvino - [無題]"));
    QCOMPARE(main_->model(), model);
    QCOMPARE(main_->writeMode(), 1);
    QCOMPARE(entryModel(main_)->index(0, 1).data().toString(), QStringLiteral("山田"));
    QVERIFY(splush_->isHidden());
}

void TestInportFrm::rowBeyondTheFileStopsTheImport()
{
    // The end row of a table with fewer rows: possible only when the rows are set by hand.
    form_->loadFile(writeFile("a.csv", "a,b\r\nc,d\r\n"));
    form_->ComboBox1->setCurrentIndex(0);
    form_->ComboBox2->setCurrentIndex(1);
    form_->SpinEdit1->setValue(1);
    form_->SpinEdit2->setValue(5);
    form_->Button2Click();
    QCOMPARE(prompts_->texts(),
             QStringList{QStringLiteral("予期しないデータ形式のフィールドを発見したので処理を中断します")});
    QCOMPARE(main_->book().entries[1].name(), QStringLiteral("ｃ"));
    QVERIFY(main_->book().Modified);
    QCOMPARE(form_->result(), int(QDialog::Accepted));
}

void TestInportFrm::cancelLeavesThePhoneBook()
{
    form_->loadFile(writeFile("a.csv", "a,b\r\n"));
    arrangeBook(main_, [&](PhoneBook &book) { book.entries[0].setField(DialEntry::Name, QStringLiteral("元")); });
    main_->setModified(false);
    form_->Button1Click();
    QCOMPARE(form_->result(), int(QDialog::Rejected));
    QCOMPARE(main_->book().entries[0].name(), QStringLiteral("元"));
    QVERIFY(!main_->book().Modified);
}

void TestInportFrm::helpButtonOpensTopic24()
{
    QList<int> topics;
    setHelpTopicHandler([&](int topic) { topics << topic; });
    form_->BitBtn1Click();
    setHelpTopicHandler({});
    QCOMPARE(topics, QList<int>{24});
}

void TestInportFrm::i1ClickCancelled()
{
    files_->paths.enqueue(QString());
    arrangeBook(main_, [&](PhoneBook &book) { book.entries[0].setField(DialEntry::Name, QStringLiteral("元")); });
    main_->I1Click();
    QCOMPARE(files_->requests.size(), 1);
    QCOMPARE(files_->requests[0].purpose, QStringLiteral("import"));
    QCOMPARE(files_->requests[0].caption, QStringLiteral("CSVファイルのインポート"));
    QCOMPARE(files_->requests[0].filter, QStringLiteral("csvファイル|*.csv"));
    QVERIFY(form_->isHidden());
    QCOMPARE(main_->book().entries[0].name(), QStringLiteral("元"));
}

void TestInportFrm::i1ClickShowsTheWindow()
{
    files_->paths.enqueue(writeFile("a.csv", encodeCp932(QStringLiteral("山田,やまだ,03\r\n鈴木,すずき,04\r\n"))));
    bool shown = false;
    QTimer::singleShot(0, form_, [&] {
        shown = form_->isVisible();
        form_->ComboBox1->setCurrentIndex(0);
        form_->ComboBox3->setCurrentIndex(2);
        form_->SpinEdit1->setValue(1);
        form_->SpinEdit2->setValue(2);
        form_->Button2Click();
    });
    main_->I1Click();
    QVERIFY(shown);
    QVERIFY(form_->isHidden());
    QCOMPARE(main_->book().entries[1].name(), QStringLiteral("鈴木"));
    QCOMPARE(main_->book().entries[1].kana(), QString());
    QCOMPARE(main_->book().entries[1].phone(), QStringLiteral("04"));
    QVERIFY(main_->book().Modified);
}

QTEST_MAIN(TestInportFrm)
#include "tst_inportfrm.moc"
