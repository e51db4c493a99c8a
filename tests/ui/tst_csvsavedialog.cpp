#include "FakePrompts.h"

#include "ui/CsvSaveDialogFrm.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

void touch(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
}

QStringList names(const QStringList &paths)
{
    QStringList list;
    for (const QString &path : paths)
        list << QFileInfo(path).fileName();
    return list;
}

} // namespace

class TestCsvSaveDialog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void listingRule_data();
    void listingRule();
    void listsFoldersAndFilesOfTheFilter();
    void changingTheFilterRefillsTheList();
    void chosenPath_data();
    void chosenPath();
    void emptyNameDoesNothing();
    void existingFileAsksBeforeOverwriting();
    void navigation();
    void selectingAFileCopiesItsName();
    void doubleClickOnAFileSaves();
    void chooseRunsModallyAndGivesThePath();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TFormCsvSaveDialog> dialog_;
};

void TestCsvSaveDialog::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QDir root(dir_->path());
    root.mkdir(QStringLiteral("sub"));
    root.mkdir(QStringLiteral("archive.zip"));
    root.mkdir(QStringLiteral("Packed.ZIP"));
    touch(root.filePath(QStringLiteral("DATA.CSV")));
    touch(root.filePath(QStringLiteral("data.xml")));
    touch(root.filePath(QStringLiteral("phone.leg")));
    touch(root.filePath(QStringLiteral("sub/inner.csv")));
    dialog_ = std::make_unique<TFormCsvSaveDialog>();
    dialog_->setCurrentFolder(dir_->path());
}

void TestCsvSaveDialog::cleanup()
{
    dialog_.reset();
    dir_.reset();
}

void TestCsvSaveDialog::listingRule_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isDirectory");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("listed");
    QTest::newRow("csv file") << "a.csv" << false << "csv" << true;
    QTest::newRow("upper case extension") << "DATA.CSV" << false << "csv" << true;
    QTest::newRow("other extension") << "data.xml" << false << "csv" << false;
    QTest::newRow("no extension") << "csv" << false << "csv" << false;
    QTest::newRow("folder") << "sub" << true << "leg" << true;
    QTest::newRow("folder with dot") << "v1.csv.d" << true << "csv" << true;
    QTest::newRow("zip folder") << "a.zip" << true << "csv" << false;
    QTest::newRow("zip folder, zip filter") << "a.zip" << true << "zip" << true;
    // Only ".zip" in lower case makes a folder count as a file.
    QTest::newRow("ZIP folder") << "a.ZIP" << true << "leg" << true;
    QTest::newRow("leg file") << "x.Leg" << false << "leg" << true;
}

void TestCsvSaveDialog::listingRule()
{
    QFETCH(QString, name);
    QFETCH(bool, isDirectory);
    QFETCH(QString, filter);
    QFETCH(bool, listed);
    QCOMPARE(ChooserFilterModel::listsItem(name, isDirectory, filter), listed);
}

void TestCsvSaveDialog::listsFoldersAndFilesOfTheFilter()
{
    QCOMPARE(dialog_->Filter, QStringLiteral("csv"));
    dialog_->RefreshList();
    QTRY_COMPARE(names(dialog_->listedPaths()),
                 (QStringList{QStringLiteral("Packed.ZIP"), QStringLiteral("sub"), QStringLiteral("DATA.CSV")}));
    QCOMPARE(dialog_->ComboBox1->count(), 1);
    QCOMPARE(dialog_->ComboBox1->itemText(0), QStringLiteral("csvファイル"));
}

void TestCsvSaveDialog::changingTheFilterRefillsTheList()
{
    QTRY_VERIFY(names(dialog_->listedPaths()).contains(QStringLiteral("DATA.CSV")));
    dialog_->Filter = QStringLiteral("leg");
    dialog_->RefreshList();
    QCOMPARE(dialog_->ComboBox1->count(), 1);
    QCOMPARE(dialog_->ComboBox1->itemText(0), QStringLiteral("legファイル"));
    QTRY_COMPARE(names(dialog_->listedPaths()),
                 (QStringList{QStringLiteral("Packed.ZIP"), QStringLiteral("sub"), QStringLiteral("phone.leg")}));
}

void TestCsvSaveDialog::chosenPath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("path");
    QTest::newRow("other extension") << "/d"
                                     << "report.txt"
                                     << "csv"
                                     << "/d/report.csv";
    QTest::newRow("two dots") << "/d"
                              << "a.b.c"
                              << "csv"
                              << "/d/a.b.csv";
    QTest::newRow("no dot") << "/d"
                            << "abc"
                            << "csv"
                            << "/d/abc.csv";
    QTest::newRow("already right") << "/d"
                                   << "abc.leg"
                                   << "leg"
                                   << "/d/abc.leg";
    // The file of that name itself, not a second one beside it.
    QTest::newRow("right in capitals") << "/d"
                                       << "DATA.CSV"
                                       << "csv"
                                       << "/d/DATA.CSV";
    QTest::newRow("root folder") << "/"
                                 << "abc"
                                 << "leg"
                                 << "/abc.leg";
    QTest::newRow("dot in folder only") << "/d.x"
                                        << "abc"
                                        << "leg"
                                        << "/d.x/abc.leg";
    QTest::newRow("full path typed") << "/d"
                                     << "/home/user/book.xml"
                                     << "leg"
                                     << "/home/user/book.leg";
    QTest::newRow("path below the folder") << "/d"
                                           << "sub/book"
                                           << "csv"
                                           << "/d/sub/book.csv";
}

void TestCsvSaveDialog::chosenPath()
{
    QFETCH(QString, folder);
    QFETCH(QString, typed);
    QFETCH(QString, filter);
    QFETCH(QString, path);
    QCOMPARE(TFormCsvSaveDialog::chosenPath(folder, typed, filter), path);
}

void TestCsvSaveDialog::emptyNameDoesNothing()
{
    FakePrompts prompts;
    dialog_->show();
    dialog_->Edit1->clear();
    dialog_->Button1Click();
    QVERIFY(dialog_->isVisible());
    QVERIFY(prompts.shown.isEmpty());
}

void TestCsvSaveDialog::existingFileAsksBeforeOverwriting()
{
    FakePrompts prompts;
    dialog_->show();
    // report.txt becomes report.csv, which exists.
    const QString existing = QDir::cleanPath(dir_->path()) + QStringLiteral("/report.csv");
    touch(existing);
    dialog_->Edit1->setText(QStringLiteral("report.txt"));
    prompts.answerNo();
    dialog_->Button1Click();
    QCOMPARE(prompts.kinds(), QStringList{QStringLiteral("confirmWarning")});
    QCOMPARE(prompts.texts(), QStringList{existing + QStringLiteral("は既に存在します。\r\n上書きしますか？")});
    QVERIFY(dialog_->isVisible());
    QCOMPARE(dialog_->Edit1->text(), QStringLiteral("report.txt"));

    prompts.answerYes();
    dialog_->Button1Click();
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    QCOMPARE(dialog_->FileName, existing);
    QCOMPARE(prompts.unexpected, 0);
}

void TestCsvSaveDialog::navigation()
{
    const QString root = QDir::cleanPath(dir_->path());
    const QString sub = root + QStringLiteral("/sub");
    QTRY_VERIFY(names(dialog_->listedPaths()).contains(QStringLiteral("sub")));
    const QModelIndex subIndex = dialog_->ShellListView1->model()->index(
        static_cast<int>(names(dialog_->listedPaths()).indexOf(QStringLiteral("sub"))), 0,
        dialog_->ShellListView1->rootIndex());
    dialog_->ShellListView1DblClick(subIndex);
    QCOMPARE(dialog_->currentFolder(), sub);
    QCOMPARE(dialog_->ShellComboBox1->currentData().toString(), sub);
    QTRY_COMPARE(names(dialog_->listedPaths()), QStringList{QStringLiteral("inner.csv")});

    dialog_->SpeedButton1Click();
    QCOMPARE(dialog_->currentFolder(), root);
    QCOMPARE(dialog_->ShellComboBox1->currentData().toString(), root);

    // The drop-down holds the folders above; choosing one makes it current.
    const int parentItem = dialog_->ShellComboBox1->findData(QFileInfo(root).absolutePath());
    QVERIFY(parentItem >= 0);
    dialog_->ShellComboBox1Change(parentItem);
    QCOMPARE(dialog_->currentFolder(), QFileInfo(root).absolutePath());
}

void TestCsvSaveDialog::selectingAFileCopiesItsName()
{
    QTRY_VERIFY(names(dialog_->listedPaths()).contains(QStringLiteral("DATA.CSV")));
    const QStringList listed = names(dialog_->listedPaths());
    const QModelIndex root = dialog_->ShellListView1->rootIndex();
    auto *model = dialog_->ShellListView1->model();
    dialog_->Edit1->setText(QStringLiteral("typed"));
    dialog_->ShellListView1Click(model->index(static_cast<int>(listed.indexOf(QStringLiteral("sub"))), 0, root));
    QCOMPARE(dialog_->Edit1->text(), QStringLiteral("typed")); // a folder's name is not copied
    QCOMPARE(dialog_->FileName, QDir::cleanPath(dir_->path()) + QStringLiteral("/sub"));
    dialog_->ShellListView1Click(model->index(static_cast<int>(listed.indexOf(QStringLiteral("DATA.CSV"))), 0, root));
    QCOMPARE(dialog_->Edit1->text(), QStringLiteral("DATA.CSV"));
}

void TestCsvSaveDialog::doubleClickOnAFileSaves()
{
    FakePrompts prompts;
    dialog_->show();
    QTRY_VERIFY(names(dialog_->listedPaths()).contains(QStringLiteral("DATA.CSV")));
    const QStringList listed = names(dialog_->listedPaths());
    // DATA.CSV is the file chosen, and it exists: the question names it.
    const QString existing = QDir::cleanPath(dir_->path()) + QStringLiteral("/DATA.CSV");
    prompts.answerYes();
    dialog_->ShellListView1DblClick(dialog_->ShellListView1->model()->index(
        static_cast<int>(listed.indexOf(QStringLiteral("DATA.CSV"))), 0, dialog_->ShellListView1->rootIndex()));
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    QCOMPARE(dialog_->FileName, existing);
    QCOMPARE(prompts.texts(), QStringList{TFormCsvSaveDialog::overwriteQuestion(existing)});
    QCOMPARE(prompts.unexpected, 0);
}

void TestCsvSaveDialog::chooseRunsModallyAndGivesThePath()
{
    QTimer::singleShot(0, dialog_.get(), [this] {
        QCOMPARE(dialog_->windowTitle(), QStringLiteral("名前を付けて保存"));
        QCOMPARE(dialog_->ComboBox1->currentText(), QStringLiteral("legファイル"));
        dialog_->Edit1->setText(QStringLiteral("abc"));
        dialog_->Button1->click();
    });
    QCOMPARE(dialog_->choose(QStringLiteral("leg"), QStringLiteral("名前を付けて保存")),
             QDir::cleanPath(dir_->path()) + QStringLiteral("/abc.leg"));

    QTimer::singleShot(0, dialog_.get(), [this] { dialog_->Button2->click(); });
    QCOMPARE(dialog_->choose(QStringLiteral("csv"), QStringLiteral("CSVファイルとしてエクスポート")), QString());
    // The folder and the typed name are kept for the next use.
    QCOMPARE(dialog_->Edit1->text(), QStringLiteral("abc"));
    QCOMPARE(dialog_->currentFolder(), QDir::cleanPath(dir_->path()));
}

QTEST_MAIN(TestCsvSaveDialog)
#include "tst_csvsavedialog.moc"
