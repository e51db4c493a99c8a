#include "FakePrompts.h"
#include "MainWindowParts.h"
#include "core/Analysis.h"
#include "formats/AppPaths.h"
#include "formats/TextFile.h"
#include "ui/AnalysisFrm.h"
#include "ui/CommandGuard.h"
#include "ui/MainFrm.h"
#include "ui/SplushFrm.h"
#include "ui/TextDlgs.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>

namespace {

const QString Question = QStringLiteral("データの解析には時間がかかる場合があります。実行しますか？");
const QString NoProblems = QStringLiteral("この電話帳データに異常は見つかりませんでした");

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

} // namespace

class TestAnalysisFrm : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void windowAsCreated();
    void createdWithTheOtherWindows();
    void noKeepsThePreviousReport();
    void emptyBookReportsNoProblems();
    void reportFollowsTheListOrder();
    void progressLine();
    void menuAndToolButtonRunTheCommand();
    void saveWritesTheTextInCodePage932();
    void saveNoProblemsReport();
    void cancelWritesNothing();
    void failedSaveKeepsTheReport();
    void registeredDialogSavesAsTxt();
    void closeKeepsTheReport();
    void memoScrollsAndCopies();

private:
    QTemporaryDir *dir = nullptr;
    TFormSplush *splush = nullptr;
    TFormMain *main = nullptr;
};

void TestAnalysisFrm::init()
{
    dir = new QTemporaryDir;
    AppPaths::setExecutableFolder(dir->path());
    splush = new TFormSplush;
    main = new TFormMain(splush, {});
    main->createOtherWindows();
}

void TestAnalysisFrm::cleanup()
{
    delete main;
    delete splush;
    delete dir;
    main = nullptr;
    splush = nullptr;
    dir = nullptr;
}

void TestAnalysisFrm::windowAsCreated()
{
    TFormAnalysis window;
    QCOMPARE(window.windowTitle(), QStringLiteral("レポート"));
    QCOMPARE(window.BtnSave->text(), QStringLiteral("テキスト保存"));
    QCOMPARE(window.BtnClose->text(), QStringLiteral("閉じる"));
    QVERIFY(window.Memo1->isReadOnly());
    QCOMPARE(window.Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(window.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(!window.isModal());
    QVERIFY(window.isWindow());
    // The file dialog is built on first use, and is the same dialog from then on.
    QVERIFY(!window.findChild<QFileDialog *>());
    QCOMPARE(window.SaveDialog(), window.SaveDialog());
    QCOMPARE(window.SaveDialog()->Filter, QStringLiteral("TXTファイル|*.txt"));
    QVERIFY(window.SaveDialog()->Options & TExtChangeOpenDialog::ofOverwritePrompt);
    QVERIFY(window.SaveDialog()->Options & TExtChangeOpenDialog::ofEnableSizing);
    QVERIFY(window.SaveDialog()->ShowPlacesBar());
    QVERIFY(window.report().isEmpty());
}

void TestAnalysisFrm::createdWithTheOtherWindows()
{
    QVERIFY(partOf<TFormAnalysis>(main, "FormAnalysis"));
    QCOMPARE(partOf<TFormAnalysis>(main, "FormAnalysis")->parent(), main);
    QVERIFY(!partOf<TFormAnalysis>(main, "FormAnalysis")->isVisible());
}

void TestAnalysisFrm::noKeepsThePreviousReport()
{
    FakePrompts prompts;
    partOf<TFormAnalysis>(main, "FormAnalysis")->setReport(QStringLiteral("【短縮0001】\r\n    old\r\n\r\n"));
    arrangeBook(main, [&](PhoneBook &book) { book.entries[0].setField(DialEntry::Name, QStringLiteral("a")); });
    prompts.answerNo();
    main->ToolButton6Click();
    QCOMPARE(prompts.texts(), QStringList{Question});
    QCOMPARE(prompts.kinds(), QStringList{QStringLiteral("confirm")});
    QCOMPARE(partOf<TFormAnalysis>(main, "FormAnalysis")->report(), QStringLiteral("【短縮0001】\r\n    old\r\n\r\n"));
    QVERIFY(!partOf<TFormAnalysis>(main, "FormAnalysis")->isVisible());
    QVERIFY(!splush->isVisible());
    QCOMPARE(splush->Label1->text(), QStringLiteral("起動中..."));
}

void TestAnalysisFrm::emptyBookReportsNoProblems()
{
    FakePrompts prompts;
    partOf<TFormAnalysis>(main, "FormAnalysis")->setReport(QStringLiteral("old"));
    prompts.answerYes();
    main->ToolButton6Click();
    QCOMPARE(prompts.unexpected, 0);
    QCOMPARE(partOf<TFormAnalysis>(main, "FormAnalysis")->report(), NoProblems);
    QCOMPARE(partOf<TFormAnalysis>(main, "FormAnalysis")->Memo1->toPlainText(), NoProblems);
    QVERIFY(partOf<TFormAnalysis>(main, "FormAnalysis")->isVisible());
    // The progress window is put away with its detail line as it was.
    QVERIFY(!splush->isVisible());
    QCOMPARE(splush->Label1->text(), QStringLiteral("データ解析中..."));
    QCOMPARE(splush->Label2->text(), QStringLiteral("しばらくお待ちください"));
    QCOMPARE(splush->Gauge1->MaxValue(), 4000);
    QCOMPARE(splush->Gauge1->Progress(), 4000);
    QVERIFY(!main->book().Modified);
}

void TestAnalysisFrm::reportFollowsTheListOrder()
{
    FakePrompts prompts;
    arrangeBook(main, [&](PhoneBook &book) { book.entries[2].setField(DialEntry::Name, QStringLiteral("b")); });
    arrangeBook(main, [&](PhoneBook &book) { book.entries[9].setField(DialEntry::Name, QStringLiteral("a")); });
    arrangeBook(main, [&](PhoneBook &book) { book.entries[9].setField(DialEntry::Memo, QStringLiteral("m")); });
    // Sorted by name, descending: 0002 ("b") comes before 0009 ("a").
    arrangeBook(main, [](PhoneBook &book) {
        std::stable_sort(book.entries.begin(), book.entries.end(),
                         [](const DialEntry &l, const DialEntry &r) { return l.name() > r.name(); });
    });
    main->setModified(false);
    const std::vector<DialEntry> before = main->book().entries;

    prompts.answerYes();
    main->ToolButton6Click();
    const QString expected = QStringLiteral("【短縮0002】\r\n"
                                            "    名前に半角文字が存在している可能性があります\r\n"
                                            "\r\n"
                                            "【短縮0009】\r\n"
                                            "    名前に半角文字が存在している可能性があります\r\n"
                                            "    メモに半角文字が存在している可能性があります\r\n"
                                            "\r\n");
    QCOMPARE(partOf<TFormAnalysis>(main, "FormAnalysis")->report(), expected);
    QCOMPARE(partOf<TFormAnalysis>(main, "FormAnalysis")->Memo1->lines(), splitLines(expected));
    QCOMPARE(partOf<TFormAnalysis>(main, "FormAnalysis")->Memo1->lines().size(), 7);
    QCOMPARE(partOf<TFormAnalysis>(main, "FormAnalysis")->Memo1->lines().last(), QString());
    // The analysis only reads the phone book.
    QVERIFY(main->book().entries == before);
    QVERIFY(!main->book().Modified);

    // A second run replaces the report; editing afterwards does not change it.
    arrangeBook(main, [&](PhoneBook &book) { book.entries[0].setField(DialEntry::Name, QStringLiteral("山")); });
    QCOMPARE(partOf<TFormAnalysis>(main, "FormAnalysis")->report(), expected);
    prompts.answerYes();
    main->ToolButton6Click();
    QVERIFY(partOf<TFormAnalysis>(main, "FormAnalysis")->report().startsWith(QStringLiteral("【短縮0009】")));
}

void TestAnalysisFrm::progressLine()
{
    QCOMPARE(TFormAnalysis::progressDetail(0), QStringLiteral("短縮0000解析中..."));
    QCOMPARE(TFormAnalysis::progressDetail(41), QStringLiteral("短縮0041解析中..."));
    QCOMPARE(TFormAnalysis::progressDetail(3999), QStringLiteral("短縮3999解析中..."));
    splush->setMaximum(4000);
    const auto progress = TFormAnalysis::progressOn(splush);
    progress(41);
    QCOMPARE(splush->Label2->text(), QStringLiteral("短縮0041解析中..."));
    QCOMPARE(splush->Gauge1->Progress(), 42);
    // Within the same percent only the gauge moves; the next percent names its position.
    progress(42);
    QCOMPARE(splush->Label2->text(), QStringLiteral("短縮0041解析中..."));
    QCOMPARE(splush->Gauge1->Progress(), 43);
    progress(79);
    QCOMPARE(splush->Label2->text(), QStringLiteral("短縮0079解析中..."));

    // A whole walk: the first and the last position are named, once per percent.
    const auto walk = TFormAnalysis::progressOn(splush);
    QStringList shown;
    for (int p = 0; p < PhoneBook::EntryCount; ++p) {
        walk(p);
        if (shown.isEmpty() || shown.last() != splush->Label2->text())
            shown << splush->Label2->text();
        QCOMPARE(splush->Gauge1->Progress(), p + 1);
    }
    QCOMPARE(shown.size(), 101);
    QCOMPARE(shown.first(), QStringLiteral("短縮0000解析中..."));
    QCOMPARE(shown.at(1), QStringLiteral("短縮0039解析中..."));
    QCOMPARE(shown.last(), QStringLiteral("短縮3999解析中..."));
    QVERIFY(!TFormAnalysis::progressOn(nullptr));
}

void TestAnalysisFrm::menuAndToolButtonRunTheCommand()
{
    FakePrompts prompts;
    prompts.answerNo();
    partOf<QAction>(main, "D1")->trigger();
    QCOMPARE(prompts.texts(), QStringList{Question});
    QCOMPARE(partOf<QAction>(main, "D1")->text(), QStringLiteral("　データ解析(&D)"));
}

void TestAnalysisFrm::saveWritesTheTextInCodePage932()
{
    FakePrompts prompts;
    FakeFileChoices files;
    arrangeBook(main, [&](PhoneBook &book) { book.entries[3].setField(DialEntry::Phone, QStringLiteral("０３")); });
    prompts.answerYes();
    main->ToolButton6Click();
    const QString report = partOf<TFormAnalysis>(main, "FormAnalysis")->report();
    const QString path = dir->filePath(QStringLiteral("report.txt"));
    files.paths.enqueue(path);
    partOf<TFormAnalysis>(main, "FormAnalysis")->BtnSaveClick();
    QCOMPARE(files.requests.size(), 1);
    QCOMPARE(files.requests.first().purpose, QStringLiteral("report"));
    QCOMPARE(files.requests.first().filter, QStringLiteral("TXTファイル|*.txt"));
    const QByteArray bytes = fileBytes(path);
    QCOMPARE(bytes, encodeCp932(report));
    QVERIFY(bytes.startsWith("\x81\x79")); // 【 in code page 932, no byte-order mark
    QVERIFY(bytes.endsWith("\r\n\r\n"));
    QCOMPARE(decodeCp932(bytes), report);
}

void TestAnalysisFrm::saveNoProblemsReport()
{
    FakePrompts prompts;
    FakeFileChoices files;
    prompts.answerYes();
    main->ToolButton6Click();
    const QString path = dir->filePath(QStringLiteral("ok.txt"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("a longer file that was here before the report");
    old.close();
    files.paths.enqueue(path);
    partOf<TFormAnalysis>(main, "FormAnalysis")->BtnSaveClick();
    const QByteArray bytes = fileBytes(path);
    QCOMPARE(bytes.size(), 44);
    QCOMPARE(decodeCp932(bytes), NoProblems);
}

void TestAnalysisFrm::cancelWritesNothing()
{
    FakeFileChoices files;
    partOf<TFormAnalysis>(main, "FormAnalysis")->setReport(NoProblems);
    files.paths.enqueue(QString());
    partOf<TFormAnalysis>(main, "FormAnalysis")->BtnSaveClick();
    QCOMPARE(files.requests.size(), 1);
    QVERIFY(QDir(dir->path()).entryList({QStringLiteral("*.txt")}).isEmpty());
}

void TestAnalysisFrm::failedSaveKeepsTheReport()
{
    FakePrompts prompts;
    FakeFileChoices files;
    partOf<TFormAnalysis>(main, "FormAnalysis")->setReport(NoProblems);
    const QString path = dir->filePath(QStringLiteral("missing/report.txt"));
    files.paths.enqueue(path);
    QVERIFY(!runGuarded([&] { partOf<TFormAnalysis>(main, "FormAnalysis")->BtnSaveClick(); }));
    QCOMPARE(prompts.kinds(), QStringList{QStringLiteral("error")});
    QVERIFY(prompts.texts().first().startsWith(QStringLiteral("ファイル \"%1\" を作成できません。").arg(path)) ||
            prompts.texts().first().startsWith(
                QStringLiteral("ファイル \"%1\" を作成できません。").arg(QDir::toNativeSeparators(path))));
    QCOMPARE(partOf<TFormAnalysis>(main, "FormAnalysis")->report(), NoProblems);
    QVERIFY(!QFile::exists(path));
}

void TestAnalysisFrm::registeredDialogSavesAsTxt()
{
    // No fake installed: the report's own dialog answers, with the type's extension.
    partOf<TFormAnalysis>(main, "FormAnalysis")->setReport(NoProblems);
    TExtChangeSaveDialog *dialog = partOf<TFormAnalysis>(main, "FormAnalysis")->SaveDialog();
    dialog->InitialDir = dir->path();
    bool sawDialog = false;
    QTimer::singleShot(0, dialog, [&] {
        sawDialog = dialog->isVisible() && dialog->acceptMode() == QFileDialog::AcceptSave;
        dialog->fileNameField()->setText(QStringLiteral("解析結果"));
        dialog->accept();
    });
    partOf<TFormAnalysis>(main, "FormAnalysis")->BtnSaveClick();
    QVERIFY(sawDialog);
    const QString path = dir->filePath(QStringLiteral("解析結果.txt"));
    QCOMPARE(dialog->FileName, path);
    QCOMPARE(fileBytes(path), encodeCp932(NoProblems));
}

void TestAnalysisFrm::closeKeepsTheReport()
{
    partOf<TFormAnalysis>(main, "FormAnalysis")->setReport(NoProblems);
    partOf<TFormAnalysis>(main, "FormAnalysis")->showReport();
    QVERIFY(partOf<TFormAnalysis>(main, "FormAnalysis")->isVisible());
    partOf<TFormAnalysis>(main, "FormAnalysis")->BtnCloseClick();
    QVERIFY(!partOf<TFormAnalysis>(main, "FormAnalysis")->isVisible());
    QCOMPARE(partOf<TFormAnalysis>(main, "FormAnalysis")->report(), NoProblems);
    QCOMPARE(partOf<TFormAnalysis>(main, "FormAnalysis")->Memo1->toPlainText(), NoProblems);
}

void TestAnalysisFrm::memoScrollsAndCopies()
{
    TReportMemo memo;
    memo.resize(200, 150);
    memo.show();
    QStringList lines;
    for (int i = 0; i < 1000; ++i)
        lines << QStringLiteral("【短縮%1】").arg(i, 4, 10, QLatin1Char('0'));
    lines << QString(200, QChar(0x5C71));
    memo.setPlainText(joinLines(lines));
    QCOMPARE(memo.lines(), lines);
    QScrollBar *vertical = memo.verticalScrollBar();
    QScrollBar *horizontal = memo.horizontalScrollBar();
    QVERIFY(vertical->maximum() > 900);
    QVERIFY(vertical->maximum() < 1001);
    QCOMPARE(horizontal->maximum(), memo.textWidth() + 8 - memo.viewport()->width());
    QVERIFY(memo.textWidth() > memo.fontMetrics().horizontalAdvance(QString(100, QChar(0x5C71))));

    QTest::keyClick(&memo, Qt::Key_Down);
    QCOMPARE(vertical->value(), 1);
    QTest::keyClick(&memo, Qt::Key_PageDown);
    QCOMPARE(vertical->value(), 1 + vertical->pageStep());
    QTest::keyClick(&memo, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(vertical->value(), vertical->maximum());
    QTest::keyClick(&memo, Qt::Key_Right);
    QVERIFY(horizontal->value() > 0);
    QTest::keyClick(&memo, Qt::Key_Home);
    QCOMPARE(horizontal->value(), 0);
    QTest::keyClick(&memo, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(vertical->value(), 0);

    QVERIFY(!memo.hasSelection());
    QTest::keyClick(&memo, Qt::Key_A, Qt::ControlModifier);
    QVERIFY(memo.hasSelection());
    QTest::keyClick(&memo, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), lines.join(u'\n'));

    // A new text starts at the top, unselected.
    vertical->setValue(50);
    memo.setPlainText(QStringLiteral("a\r\nb"));
    QCOMPARE(memo.lines(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    QCOMPARE(vertical->value(), 0);
    QVERIFY(!memo.hasSelection());
}

QTEST_MAIN(TestAnalysisFrm)
#include "tst_analysisfrm.moc"
