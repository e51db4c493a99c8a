#include "FakePrompts.h"
#include "MainWindowParts.h"
#include "core/DeviceModel.h"
#include "formats/AppPaths.h"
#include "formats/TextFile.h"
#include "ui/CommandGuard.h"
#include "ui/CsvSaveDialogFrm.h"
#include "ui/MainFrm.h"
#include "ui/SplushFrm.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

QString legacyHeader(const QString &signature, const QString &variant)
{
    QStringList fields{signature, QStringLiteral("x"), QStringLiteral("0"), QStringLiteral("0x01")};
    while (fields.size() < 14)
        fields << QStringLiteral("h");
    fields << variant;
    return fields.join(u',');
}

QString legacyRecord(const QString &name, const QString &kana, const QString &number)
{
    return QStringLiteral("1,01,0,4,5,6,7,%1,%2,%3").arg(name, kana, number);
}

} // namespace

class TestMainFrmCsv : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void exportCancelled();
    void exportWritesTheList();
    void exportNamesLostCharacters();
    void exportFailureShowsNoSuccess();
    void exportThroughTheChooser();
    void legacyRead();
    void legacyRefused();
    void legacyErrorLeavesTheDocument();
    void legacyMoreThan4000();
    void legacyFromTheCommandLine();
    void legacyDropped();

private:
    QString path(const QString &name) const { return dir_.filePath(name); }
    void fillDocument();

    QTemporaryDir dir_;
    TFormSplush *splush_ = nullptr;
    TFormMain *main_ = nullptr;
    FakePrompts *prompts_ = nullptr;
    FakeFileChoices *files_ = nullptr;
};

void TestMainFrmCsv::init()
{
    AppPaths::setExecutableFolder(dir_.path());
    prompts_ = new FakePrompts;
    files_ = new FakeFileChoices;
    splush_ = new TFormSplush;
    main_ = new TFormMain(splush_, {});
    main_->createOtherWindows();
}

void TestMainFrmCsv::cleanup()
{
    QCOMPARE(prompts_->unexpected, 0);
    QCOMPARE(files_->unexpected, 0);
    delete main_;
    delete splush_;
    delete files_;
    delete prompts_;
}

void TestMainFrmCsv::fillDocument()
{
    arrangeBook(main_, [](PhoneBook &book) {
        book.entries[5].setField(DialEntry::Name, QStringLiteral("残す"));
        book.FileName = QStringLiteral("/work/book.leg");
    });
    main_->setModified(true);
}

void TestMainFrmCsv::exportCancelled()
{
    files_->paths.enqueue(QString());
    main_->csvC1Click();
    QCOMPARE(files_->requests.size(), 1);
    QCOMPARE(files_->requests[0].purpose, QStringLiteral("export"));
    QCOMPARE(files_->requests[0].caption, QStringLiteral("CSVファイルとしてエクスポート"));
    QCOMPARE(files_->requests[0].filter, QStringLiteral("csv"));
    QVERIFY(prompts_->shown.isEmpty());
}

void TestMainFrmCsv::exportWritesTheList()
{
    fillDocument();
    arrangeBook(main_, [](PhoneBook &book) {
        book.entries[0].setField(DialEntry::Phone, QStringLiteral("09"));
        book.entries[1].setField(DialEntry::Phone, QStringLiteral("01"));
        std::swap(book.entries[0], book.entries[1]);
    });
    files_->paths.enqueue(path(QStringLiteral("data.csv")));
    main_->csvC1Click();
    QCOMPARE(prompts_->texts(), QStringList{QStringLiteral("［data.csv］を保存しました")});
    QCOMPARE(prompts_->kinds(), QStringList{QStringLiteral("information")});
    const QStringList lines = readLines(path(QStringLiteral("data.csv")));
    QCOMPARE(lines.size(), 4001);
    QCOMPARE(lines.at(1), QStringLiteral("0001,,,01,グループ０,設定なし,01,0,"));
    QCOMPARE(lines.at(6), QStringLiteral("0005,残す,,,グループ０,設定なし,01,0,"));
    // The export is no save: the document keeps its name and its modified flag.
    QCOMPARE(main_->book().FileName, QStringLiteral("/work/book.leg"));
    QVERIFY(main_->book().Modified);
    QCOMPARE(partOf<QLabel>(main_, "StatusPanel0")->text(), QStringLiteral("変更あり"));
}

// Characters code page 932 lacks are named before the file is written, then written as "?".
void TestMainFrmCsv::exportNamesLostCharacters()
{
    arrangeBook(main_, [&](PhoneBook &book) { book.entries[7].setField(DialEntry::Memo, QStringLiteral("𠮷田")); });
    files_->paths.enqueue(path(QStringLiteral("lost.csv")));
    main_->csvC1Click();
    QCOMPARE(prompts_->texts(), (QStringList{QStringLiteral("Shift-JISにない文字を含むデータが1件あります（短縮番号 "
                                                            "0007）\r\nこれらの文字は「?」として保存されます"),
                                             QStringLiteral("［lost.csv］を保存しました")}));
    QCOMPARE(readLines(path(QStringLiteral("lost.csv"))).at(8), QStringLiteral("0007,,,,グループ０,設定なし,01,0,?田"));
}

void TestMainFrmCsv::exportFailureShowsNoSuccess()
{
    const QString target = path(QStringLiteral("missing/data.csv"));
    files_->paths.enqueue(target);
    QVERIFY(!runGuarded([this] { main_->csvC1Click(); }));
    QCOMPARE(prompts_->kinds(), QStringList{QStringLiteral("error")});
    QVERIFY(prompts_->texts().first().startsWith(QStringLiteral("ファイル \"%1\" を作成できません。").arg(target)));
}

void TestMainFrmCsv::exportThroughTheChooser()
{
    // The program's own chooser answers the export: a typed report.txt becomes report.csv.
    FileChoices::install(nullptr);
    TFormCsvSaveDialog *chooser = partOf<TFormCsvSaveDialog>(main_, "FormCsvSaveDialog");
    QVERIFY(chooser);
    QString caption, filter;
    QTimer::singleShot(0, chooser, [&] {
        caption = chooser->windowTitle();
        filter = chooser->Filter;
        chooser->setCurrentFolder(dir_.path());
        chooser->Edit1->setText(QStringLiteral("report.txt"));
        chooser->Button1Click();
    });
    main_->csvC1Click();
    QCOMPARE(caption, QStringLiteral("CSVファイルとしてエクスポート"));
    QCOMPARE(filter, QStringLiteral("csv"));
    QVERIFY(QFile::exists(path(QStringLiteral("report.csv"))));
    QVERIFY(!QFile::exists(path(QStringLiteral("report.txt"))));
    QCOMPARE(prompts_->texts(), QStringList{QStringLiteral("［report.csv］を保存しました")});
}

void TestMainFrmCsv::legacyRead()
{
    fillDocument();
    main_->selectPosition(7);
    const QString file = path(QStringLiteral("old.csv"));
    writeTextLines(file, {legacyHeader("CW214R", "3"), QStringLiteral("1,01,0,4,5,山田,ﾔﾏﾀﾞ,03-1"),
                          QStringLiteral("1,01,0,4,5,鈴木,ｽｽﾞｷ,04-2")});
    main_->openLegacyCsv(file);
    QCOMPARE(prompts_->texts(), QStringList{QStringLiteral("2件のデータが登録されています")});
    QCOMPARE(main_->book().entries[0].name(), QStringLiteral("山田"));
    QCOMPARE(main_->book().entries[1].phone(), QStringLiteral("04-2"));
    QVERIFY(!main_->book().entries[5].isRegistered());
    QCOMPARE(main_->book().FileName, file);
    QCOMPARE(main_->windowTitle(), QStringLiteral("Dalvino - [%1]").arg(file));
    QVERIFY(!main_->book().Modified);
    QCOMPARE(partOf<QLabel>(main_, "StatusPanel0")->text(), QString());
    QCOMPARE(main_->model(), ModelZR410Pro);
    QCOMPARE(main_->book().SyubetuFlag, ModelZR410Pro);
    QCOMPARE(main_->selectedPositions(), QList<int>{0});
    QCOMPARE(main_->focusedPosition(), 0);
    QCOMPARE(entryList(main_)->model()->index(1, 1).data().toString(), QStringLiteral("鈴木"));
    QVERIFY(splush_->isHidden());
}

void TestMainFrmCsv::legacyRefused()
{
    fillDocument();
    const QString file = path(QStringLiteral("other.csv"));
    writeTextLines(file, {QStringLiteral("a,b,c,d,e,f,g,h,i,j,k,l,m,n"), legacyRecord("A", "ｱ", "1")});
    main_->openLegacyCsv(file);
    QCOMPARE(prompts_->texts(), QStringList{QStringLiteral("NVシリーズの短縮データではありません")});
    QCOMPARE(main_->book().entries[5].name(), QStringLiteral("残す"));
    QCOMPARE(main_->book().FileName, QStringLiteral("/work/book.leg"));
    QVERIFY(main_->book().Modified);
}

void TestMainFrmCsv::legacyErrorLeavesTheDocument()
{
    fillDocument();
    const int model = main_->model();
    const PhoneBook before = main_->book();
    const QString file = path(QStringLiteral("broken.csv"));
    writeTextLines(file,
                   {legacyHeader("PQ---R", "4"), legacyRecord("A", "ｱ", "1"), QString(), legacyRecord("B", "ｲ", "2")});
    QVERIFY(!runGuarded([&] { main_->openLegacyCsv(file); }));
    QCOMPARE(prompts_->kinds(), QStringList{QStringLiteral("error")});
    QCOMPARE(prompts_->texts(), QStringList{QStringLiteral("3行目にフィールド8がないため読み込みを中止しました")});
    QCOMPARE(main_->book().entries, before.entries);
    QCOMPARE(main_->book().FileName, before.FileName);
    QCOMPARE(main_->book().SyubetuFlag, before.SyubetuFlag);
    QVERIFY(main_->book().Modified);
    QCOMPARE(main_->model(), model);
    QCOMPARE(main_->windowTitle(), QStringLiteral("Dalvino - [/work/book.leg]"));
    QVERIFY(splush_->isHidden());
}

void TestMainFrmCsv::legacyMoreThan4000()
{
    QStringList lines{legacyHeader("NV300R", "1")};
    for (int i = 0; i < 4010; ++i)
        lines << legacyRecord(QStringLiteral("N%1").arg(i), "ｶ", "1");
    const QString file = path(QStringLiteral("big.csv"));
    writeTextLines(file, lines);
    main_->openLegacyCsv(file);
    QCOMPARE(prompts_->texts(), (QStringList{QStringLiteral("4000件のデータが登録されています"),
                                             QStringLiteral("4000件を超える10件のデータは読み込まれませんでした")}));
    QCOMPARE(main_->book().entries[3999].name(), QStringLiteral("N3999"));
    QCOMPARE(main_->model(), ModelZR410Std);
}

void TestMainFrmCsv::legacyFromTheCommandLine()
{
    const QString file = path(QStringLiteral("start.csv"));
    writeTextLines(file, {legacyHeader("PQ---R", "3"), legacyRecord("A", "ｱ", "1")});
    delete main_;
    main_ = new TFormMain(splush_, {file});
    main_->createOtherWindows();
    main_->FormShow();
    QCOMPARE(prompts_->texts(), QStringList{QStringLiteral("1件のデータが登録されています")});
    QCOMPARE(main_->book().entries[0].name(), QStringLiteral("A"));
    QVERIFY(!main_->DropFlag);
}

void TestMainFrmCsv::legacyDropped()
{
    const QString file = path(QStringLiteral("dropped.csv"));
    writeTextLines(file, {legacyHeader("NV300R", "3"), legacyRecord("B", "ｲ", "2")});
    main_->dropFiles({file});
    // Not modified: no question, the file is read at once.
    QCOMPARE(prompts_->kinds(), QStringList{QStringLiteral("information")});
    QCOMPARE(prompts_->texts(), QStringList{QStringLiteral("1件のデータが登録されています")});
    QCOMPARE(main_->book().FileName, file);
}

QTEST_MAIN(TestMainFrmCsv)
#include "tst_mainfrmcsv.moc"
