#include "FakePrompts.h"
#include "MainWindowParts.h"
#include "TestPaths.h"

#include "formats/AppPaths.h"
#include "formats/TextFile.h"
#include "ui/CommandGuard.h"
#include "ui/CsvSaveDialogFrm.h"
#include "ui/MainFrm.h"
#include "ui/SplushFrm.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <unistd.h>

namespace {

QString fixture(const QString &name)
{
    return sourceDir() + QStringLiteral("/tests/formats/data/") + name;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
}

} // namespace

class TestMainFrmFiles : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void saveUntitledLegModel();
    void saveUntitledXmlModel();
    void saveOpenedXmlUnderLegModel();
    void saveUpperCaseLegKeepsTheName();
    void saveAsDismissedChangesNothing();
    void saveAsTakesTheNewName();
    void savedDocumentClosesWithoutQuestion();
    void saveWithMissingConverterLosesNothing();
    void saveIntoUnwritableFolderLosesNothing();
    void saveThatCannotBeBuiltLosesNothing();
    void saveFromLegacyCsvNameKeepsTheCsvFile();
    void replacingAFileAsksAboutThatFile_data();
    void replacingAFileAsksAboutThatFile();

    void openThroughTheMenu_data();
    void openThroughTheMenu();
    void openWhileModifiedStillShowsTheOpenDialog();
    void openWhenTheSaveFailsStops();
    void rejectedFileLeavesTheDocument();
    void brokenFileLeavesTheDocument();
    void skippedRecordsAreReported();
    void openLegWithMissingConverter();
    void openLegWithSilentConverter();

    void dropRefusesOtherTypes_data();
    void dropRefusesOtherTypes();
    void dropOpensOnlyTheFirstFile();
    void dropWhileModified_data();
    void dropWhileModified();
    void dropCsvWithoutQuestion();
    void commandLineFileIsOpenedOnShow();

private:
    std::unique_ptr<TFormMain> start(const QStringList &arguments = {});
    // Makes a document modified with one edited entry.
    void editSomething(TFormMain &window);
    QString legFile(const QString &fixtureName, const QString &name);
    void useConverterScript(const QByteArray &body);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TFormSplush> splush_;
    QString files_;
};

void TestMainFrmFiles::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    const QString exe = dir_->filePath(QStringLiteral("bin"));
    files_ = dir_->filePath(QStringLiteral("phone books"));
    QDir().mkpath(exe);
    QDir().mkpath(files_);
    QFile::link(binDir() + QStringLiteral("/Quenda.dll"), exe + QStringLiteral("/Quenda.dll"));
    AppPaths::setExecutableFolder(exe);
    splush_ = std::make_unique<TFormSplush>();
}

void TestMainFrmFiles::cleanup()
{
    splush_.reset();
    AppPaths::setExecutableFolder(QString());
    dir_.reset();
}

std::unique_ptr<TFormMain> TestMainFrmFiles::start(const QStringList &arguments)
{
    auto window = std::make_unique<TFormMain>(splush_.get(), arguments);
    window->createOtherWindows();
    return window;
}

void TestMainFrmFiles::editSomething(TFormMain &window)
{
    arrangeBook(&window, [&](PhoneBook &book) { book.entries[3].setField(DialEntry::Name, QStringLiteral("編集中")); });
    window.setModified(true);
}

QString TestMainFrmFiles::legFile(const QString &fixtureName, const QString &name)
{
    const QString xml = files_ + QStringLiteral("/source.xml");
    QFile::copy(fixture(fixtureName), xml);
    const QString leg = files_ + u'/' + name;
    QProcess quenda;
    quenda.start(binDir() + QStringLiteral("/Quenda.dll"), {QStringLiteral("-e"), xml, leg});
    quenda.waitForFinished();
    QFile::remove(xml);
    return leg;
}

void TestMainFrmFiles::useConverterScript(const QByteArray &body)
{
    const QString path = AppPaths::converter();
    QFile::remove(path);
    writeFile(path, "#!/bin/sh\n" + body);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// --- Saving ---------------------------------------------------------------------

void TestMainFrmFiles::saveUntitledLegModel()
{
    FakePrompts prompts;
    FakeFileChoices choices;
    auto window = start();
    window->FormActivate();
    QCOMPARE(window->model(), ModelLM630Std);
    editSomething(*window);
    const QString target = files_ + QStringLiteral("/abc.leg");
    choices.paths.enqueue(target);
    QCOMPARE(window->S1Click(), TFormMain::SaveOutcome::Saved);

    QCOMPARE(choices.requests.size(), 1);
    QCOMPARE(choices.requests.first().purpose, QStringLiteral("save"));
    QCOMPARE(choices.requests.first().filter, QStringLiteral("leg"));
    QCOMPARE(choices.requests.first().caption, QStringLiteral("名前を付けて保存"));
    QVERIFY(readFileBytes(target).startsWith("QLEG"));
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral("保存しました")});
    QCOMPARE(window->windowTitle(), QStringLiteral("Dalvino - [%1]").arg(target));
    QVERIFY(!window->book().Modified);
    QCOMPARE(partOf<QLabel>(window, "StatusPanel0")->text(), QString());
    QVERIFY(!QFile::exists(AppPaths::workingFile()));
}

void TestMainFrmFiles::saveUntitledXmlModel()
{
    FakePrompts prompts;
    FakeFileChoices choices;
    auto window = start();
    window->FormActivate();
    window->setModel(ModelZR410Std);
    choices.paths.enqueue(files_ + QStringLiteral("/abc.leg"));
    QCOMPARE(window->S1Click(), TFormMain::SaveOutcome::Saved);
    QCOMPARE(prompts.texts(), (QStringList{QStringLiteral("Celdraの場合は1000件分保存されます"),
                                           QStringLiteral("[abc.leg]を[abc.xml]として保存しました")}));
    QCOMPARE(window->book().FileName, files_ + QStringLiteral("/abc.xml"));
    QCOMPARE(readFileBytes(files_ + QStringLiteral("/abc.xml")),
             readFileBytes(fixture(QStringLiteral("new_ZR410Std.xml"))));
    QVERIFY(!QFile::exists(files_ + QStringLiteral("/abc.leg")));
}

void TestMainFrmFiles::saveOpenedXmlUnderLegModel()
{
    FakePrompts prompts;
    FakeFileChoices choices;
    auto window = start();
    window->FormActivate();
    const QString xml = files_ + QStringLiteral("/x.xml");
    QFile::copy(fixture(QStringLiteral("filled_LM630Pro.xml")), xml);
    window->openPhoneBookFile(xml);
    QCOMPARE(window->model(), ModelLM630Pro);
    prompts.clear();
    editSomething(*window);
    QCOMPARE(window->S1Click(), TFormMain::SaveOutcome::Saved);
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral("[x.xml]を[x.leg]として保存しました")});
    QCOMPARE(window->book().FileName, files_ + QStringLiteral("/x.leg"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Dalvino - [%1/x.leg]").arg(files_));
    QCOMPARE(readFileBytes(xml), readFileBytes(fixture(QStringLiteral("filled_LM630Pro.xml"))));
    QVERIFY(choices.requests.isEmpty());

    // And it opens again with the edit.
    window->openPhoneBookFile(files_ + QStringLiteral("/x.leg"));
    QCOMPARE(window->book().entries[3].name(), QStringLiteral("編集中"));
}

void TestMainFrmFiles::saveUpperCaseLegKeepsTheName()
{
    FakePrompts prompts;
    auto window = start();
    window->FormActivate();
    window->setModel(ModelLM630Pro);
    const QString leg = files_ + QStringLiteral("/OLD.LEG");
    arrangeBook(window, [&](PhoneBook &book) { book.FileName = leg; });
    editSomething(*window);
    QCOMPARE(window->S1Click(), TFormMain::SaveOutcome::Saved);
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral("保存しました")});
    QCOMPARE(window->book().FileName, leg);
    QCOMPARE(QDir(files_).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("OLD.LEG")});
}

void TestMainFrmFiles::saveAsDismissedChangesNothing()
{
    FakePrompts prompts;
    FakeFileChoices choices;
    auto window = start();
    window->FormActivate();
    editSomething(*window);
    const QString caption = window->windowTitle();
    choices.paths.enqueue(QString());
    QCOMPARE(window->A1Click(), TFormMain::SaveOutcome::Cancelled);
    QCOMPARE(window->windowTitle(), caption);
    QCOMPARE(window->book().FileName, QStringLiteral("無題"));
    QVERIFY(window->book().Modified);
    QVERIFY(prompts.shown.isEmpty());
    QVERIFY(QDir(files_).isEmpty());
}

void TestMainFrmFiles::saveAsTakesTheNewName()
{
    FakePrompts prompts;
    FakeFileChoices choices;
    auto window = start();
    window->FormActivate();
    arrangeBook(window, [&](PhoneBook &book) { book.FileName = files_ + QStringLiteral("/first.leg"); });
    choices.paths.enqueue(files_ + QStringLiteral("/second.leg"));
    QCOMPARE(window->A1Click(), TFormMain::SaveOutcome::Saved);
    QCOMPARE(window->book().FileName, files_ + QStringLiteral("/second.leg"));
    QCOMPARE(QDir(files_).entryList(QDir::Files), QStringList{QStringLiteral("second.leg")});
}

void TestMainFrmFiles::savedDocumentClosesWithoutQuestion()
{
    FakePrompts prompts;
    FakeFileChoices choices;
    auto window = start();
    window->FormActivate();
    editSomething(*window);
    choices.paths.enqueue(files_ + QStringLiteral("/abc.leg"));
    window->S1Click();
    prompts.clear();
    QVERIFY(window->FormCloseQuery());
    QVERIFY(prompts.shown.isEmpty());
}

void TestMainFrmFiles::saveWithMissingConverterLosesNothing()
{
    FakePrompts prompts;
    FakeFileChoices choices;
    auto window = start();
    window->FormActivate();
    const QString leg = legFile(QStringLiteral("filled_LM630Std.xml"), QStringLiteral("kept.leg"));
    const QByteArray before = readFileBytes(leg);
    window->openPhoneBookFile(leg);
    editSomething(*window);
    prompts.clear();
    QFile::remove(AppPaths::converter());
    QVERIFY(!runGuarded([&] { window->S1Click(); }));
    QCOMPARE(prompts.kinds(), QStringList{QStringLiteral("error")});
    QVERIFY(prompts.texts().first().startsWith(QStringLiteral("システムエラー。コード：2.\r\n")));
    QVERIFY(window->book().Modified);
    QCOMPARE(partOf<QLabel>(window, "StatusPanel0")->text(), QStringLiteral("変更あり"));
    QCOMPARE(window->book().FileName, leg);
    QCOMPARE(readFileBytes(leg), before);
}

void TestMainFrmFiles::saveIntoUnwritableFolderLosesNothing()
{
    FakePrompts prompts;
    FakeFileChoices choices;
    auto window = start();
    window->FormActivate();
    window->setModel(ModelZR410Pro);
    editSomething(*window);
    // As root a read-only folder is still writable; a folder that is a file is not.
    QString folder = files_ + QStringLiteral("/read only");
    if (::geteuid() == 0) {
        writeFile(folder, "a file");
    } else {
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    }
    choices.paths.enqueue(folder + QStringLiteral("/abc.leg"));
    QVERIFY(!runGuarded([&] { window->S1Click(); }));
    QCOMPARE(prompts.kinds(), (QStringList{QStringLiteral("information"), QStringLiteral("error")}));
    QVERIFY2(
        prompts.texts().last().startsWith(QStringLiteral("ファイル \"%1/abc.xml\" を作成できません。").arg(folder)),
        qPrintable(prompts.texts().last()));
    QVERIFY(window->book().Modified);
    QCOMPARE(window->book().FileName, QStringLiteral("無題"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Dalvino - [無題]"));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestMainFrmFiles::saveThatCannotBeBuiltLosesNothing()
{
    FakePrompts prompts;
    auto window = start();
    window->FormActivate();
    const QString xml = files_ + QStringLiteral("/x.leg");
    arrangeBook(window, [&](PhoneBook &book) { book.FileName = xml; });
    arrangeBook(window, [&](PhoneBook &book) { book.entries[10].setField(DialEntry::Group, QStringLiteral("個別")); });
    arrangeBook(window, [&](PhoneBook &book) { book.entries[10].setField(DialEntry::Extension, QString()); });
    window->setModified(true);
    QVERIFY(!runGuarded([&] { window->S1Click(); }));
    QCOMPARE(prompts.kinds(), QStringList{QStringLiteral("error")});
    QVERIFY(window->book().Modified);
    QVERIFY(QDir(files_).isEmpty());
}

void TestMainFrmFiles::saveFromLegacyCsvNameKeepsTheCsvFile()
{
    FakePrompts prompts;
    auto window = start();
    window->FormActivate();
    window->setModel(ModelZR410Std);
    const QString csv = files_ + QStringLiteral("/old.csv");
    writeFile(csv, "legacy data\r\n");
    arrangeBook(window, [&](PhoneBook &book) { book.FileName = csv; });
    QCOMPARE(window->S1Click(), TFormMain::SaveOutcome::Saved);
    QCOMPARE(readFileBytes(csv), QByteArray("legacy data\r\n"));
    QCOMPARE(window->book().FileName, files_ + QStringLiteral("/old.xml"));
    QCOMPARE(prompts.texts().last(), QStringLiteral("[old.csv]を[old.xml]として保存しました"));
}

void TestMainFrmFiles::replacingAFileAsksAboutThatFile_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("typed");   // into the chooser; empty when there is none
    QTest::addColumn<QString>("written"); // the file the command writes, there before
    QTest::addColumn<QString>("other");   // a file beside it that stays as it was
    QTest::addColumn<bool>("yes");
    for (const bool yes : {false, true}) {
        const char *answer = yes ? "Yes" : "No";
        // The chooser's name ends in .leg; an XML model writes the .xml file.
        QTest::addRow("Save As under ZR410Std onto book.xml, %s", answer) << "save as"
                                                                          << "book"
                                                                          << "book.xml"
                                                                          << "book.leg" << yes;
        QTest::addRow("Save of x.xml under LM630Pro onto x.leg, %s", answer) << "save"
                                                                             << ""
                                                                             << "x.leg"
                                                                             << "x.xml" << yes;
        QTest::addRow("CSV export onto DATA.CSV, %s", answer) << "export"
                                                              << "DATA.CSV"
                                                              << "DATA.CSV"
                                                              << "" << yes;
    }
}

void TestMainFrmFiles::replacingAFileAsksAboutThatFile()
{
    QFETCH(QString, command);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QString, other);
    QFETCH(bool, yes);

    FakePrompts prompts;
    auto window = start();
    window->FormActivate();
    const QString target = files_ + u'/' + written;
    if (command == QStringLiteral("save")) {
        legFile(QStringLiteral("filled_LM630Std.xml"), written);
        QFile::copy(fixture(QStringLiteral("filled_LM630Pro.xml")), files_ + u'/' + other);
        window->openPhoneBookFile(files_ + u'/' + other);
        QCOMPARE(window->model(), ModelLM630Pro);
    } else {
        writeFile(target, "old contents\r\n");
        if (!other.isEmpty())
            writeFile(files_ + u'/' + other, "the other file\r\n");
        window->setModel(ModelZR410Std);
    }
    editSomething(*window);
    QStringList files = QDir(files_).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    QMap<QString, QByteArray> before;
    for (const QString &name : files)
        before.insert(name, readFileBytes(files_ + u'/' + name));
    prompts.clear();
    prompts.answer(yes ? Prompts::Answer::Yes : Prompts::Answer::No);

    bool chooserStayedOpen = false;
    TFormCsvSaveDialog *chooser = partOf<TFormCsvSaveDialog>(window, "FormCsvSaveDialog");
    if (!typed.isEmpty())
        QTimer::singleShot(0, chooser, [&] {
            chooser->setCurrentFolder(files_);
            chooser->Edit1->setText(typed);
            chooser->Button1->click();
            chooserStayedOpen = chooser->isVisible();
            if (chooserStayedOpen)
                chooser->Button2->click();
        });
    if (command == QStringLiteral("save as"))
        window->A1Click();
    else if (command == QStringLiteral("save"))
        window->S1Click();
    else
        window->csvC1Click();

    QVERIFY(!prompts.shown.isEmpty());
    QCOMPARE(prompts.shown.first().kind, QStringLiteral("confirmWarning"));
    QCOMPARE(prompts.shown.first().text, TFormCsvSaveDialog::overwriteQuestion(target));
    QCOMPARE(prompts.unexpected, 0);
    QCOMPARE(chooserStayedOpen, !yes && !typed.isEmpty());
    // No second file, and only the file asked about changes, only after a Yes.
    QCOMPARE(QDir(files_).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot), files);
    for (const QString &name : files)
        QCOMPARE(readFileBytes(files_ + u'/' + name) == before.value(name), !yes || name != written);
    if (command != QStringLiteral("export"))
        QCOMPARE(window->book().Modified, !yes);
}

// --- Opening --------------------------------------------------------------------

void TestMainFrmFiles::openThroughTheMenu_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("asLeg");
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<int>("count");
    QTest::newRow("LM630Pro .xml") << "filled_LM630Pro.xml" << false << ModelLM630Pro << 1 << 5;
    QTest::newRow("LM630Std .leg") << "filled_LM630Std.xml" << true << ModelLM630Std << 0 << 4;
    QTest::newRow("KN820Std .leg") << "filled_KN820Std.xml" << true << ModelKN820Std << 1 << 4;
    QTest::newRow("ZR410Std .xml") << "filled_ZR410Std.xml" << false << ModelZR410Std << 1 << 3;
    QTest::newRow("MorvelII .leg") << "filled_MorvelII.xml" << true << ModelMorvel2 << 1 << 4;
}

void TestMainFrmFiles::openThroughTheMenu()
{
    QFETCH(QString, file);
    QFETCH(bool, asLeg);
    QFETCH(int, model);
    QFETCH(int, deviceType);
    QFETCH(int, count);
    FakePrompts prompts;
    FakeFileChoices choices;
    auto window = start();
    window->FormActivate();
    const QString path = asLeg ? legFile(file, QStringLiteral("customer.leg")) : fixture(file);
    choices.paths.enqueue(path);
    QVERIFY(runGuarded([&] { window->O1Click(); }));

    QCOMPARE(choices.requests.first().purpose, QStringLiteral("open"));
    QCOMPARE(choices.requests.first().filter, QStringLiteral("電話帳ファイル|*.csv;*.leg"));
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral("%1件のデータが登録されています").arg(count)});
    QCOMPARE(window->model(), model);
    QCOMPARE(window->book().SyubetuFlag, model);
    QCOMPARE(window->deviceType(), deviceType);
    QCOMPARE(window->book().FileName, path);
    QCOMPARE(window->windowTitle(), QStringLiteral("Dalvino - [%1]").arg(path));
    QVERIFY(!window->book().Modified);
    QCOMPARE(partOf<QLabel>(window, "StatusPanel0")->text(), QString());
    QCOMPARE(partOf<QLineEdit>(window, "UserName")->text(), QStringLiteral("山田商事"));
    QCOMPARE(partOf<QLineEdit>(window, "UserNo")->text(), QStringLiteral("03-1234-5678"));
    QCOMPARE(window->writeMode(), 1);
    QCOMPARE(window->book().entries[12].name(), QStringLiteral("総務"));
    QCOMPARE(window->book().groups[1].name(), QStringLiteral("営業"));
    QCOMPARE(window->focusedPosition(), 0);
    QVERIFY(!QFile::exists(AppPaths::workingFile()));
    QVERIFY(!splush_->isVisible());
}

void TestMainFrmFiles::openWhileModifiedStillShowsTheOpenDialog()
{
    FakePrompts prompts;
    FakeFileChoices choices;
    auto window = start();
    window->FormActivate();
    editSomething(*window);
    prompts.answerYes();
    choices.paths.enqueue(QString()); // the name chooser of the save, dismissed
    choices.paths.enqueue(QString()); // the open dialog, cancelled
    window->O1Click();
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral("[無題]は変更されています。保存しますか？")});
    QCOMPARE(choices.requests.size(), 2);
    QCOMPARE(choices.requests.at(0).purpose, QStringLiteral("save"));
    QCOMPARE(choices.requests.at(1).purpose, QStringLiteral("open"));
    QVERIFY(window->book().Modified);
}

void TestMainFrmFiles::openWhenTheSaveFailsStops()
{
    FakePrompts prompts;
    FakeFileChoices choices;
    auto window = start();
    window->FormActivate();
    editSomething(*window);
    QFile::remove(AppPaths::converter());
    prompts.answerYes();
    choices.paths.enqueue(files_ + QStringLiteral("/abc.leg"));
    QVERIFY(!runGuarded([&] { window->O1Click(); }));
    QCOMPARE(choices.requests.size(), 1); // no open dialog: the changes would be lost
    QCOMPARE(window->book().entries[3].name(), QStringLiteral("編集中"));
}

void TestMainFrmFiles::rejectedFileLeavesTheDocument()
{
    FakePrompts prompts;
    FakeFileChoices choices;
    auto window = start();
    window->FormActivate();
    arrangeBook(window, [&](PhoneBook &book) { book.MACAddress = QStringLiteral("AAAAAAAAAAAA"); });
    editSomething(*window);
    const PhoneBook before = window->book();
    const QString path = files_ + QStringLiteral("/kn.xml");
    // A first line with a "/" that is no phone book.
    writeFile(path, "<!-- notes/123456789012 -->\r\n<?xml version=\"1.0\" ?>\r\n<Notes/>\r\n");
    prompts.answerNo();
    choices.paths.enqueue(path);
    window->O1Click();
    QCOMPARE(prompts.texts().last(), QStringLiteral("Brisantの電話帳データではありません"));
    QCOMPARE(window->book().MACAddress, QStringLiteral("AAAAAAAAAAAA"));
    QCOMPARE(window->book().entries, before.entries);
    QCOMPARE(window->book().FileName, before.FileName);
    QVERIFY(window->book().Modified);
    QCOMPARE(partOf<QLabel>(window, "StatusPanel0")->text(), QStringLiteral("変更あり"));
    QVERIFY(!splush_->isVisible());
}

void TestMainFrmFiles::brokenFileLeavesTheDocument()
{
    FakePrompts prompts;
    auto window = start();
    window->FormActivate();
    const QString good = files_ + QStringLiteral("/good.xml");
    QFile::copy(fixture(QStringLiteral("filled_LM630Pro.xml")), good);
    window->openPhoneBookFile(good);
    editSomething(*window);
    const PhoneBook before = window->book();

    // The second entry record's group code is not a number.
    QString text = decodeText(readFileBytes(good));
    const qsizetype second = text.indexOf(QStringLiteral("<r no=\"0005\">"));
    text.replace(text.indexOf(QStringLiteral("<g>10</g>"), second), 9, QStringLiteral("<g>x</g>"));
    const QString broken = files_ + QStringLiteral("/broken.xml");
    writeFile(broken, encodeCp932(text));
    prompts.clear();
    QVERIFY(!runGuarded([&] { window->openPhoneBookFile(broken); }));
    QCOMPARE(prompts.kinds(), QStringList{QStringLiteral("error")});
    QCOMPARE(window->book().entries, before.entries);
    QCOMPARE(window->book().groups, before.groups);
    QCOMPARE(window->book().FileName, good);
    QVERIFY(window->book().Modified);
    QVERIFY(!splush_->isVisible());
}

void TestMainFrmFiles::skippedRecordsAreReported()
{
    FakePrompts prompts;
    auto window = start();
    window->FormActivate();
    QString text = decodeText(readFileBytes(fixture(QStringLiteral("filled_LM630Pro.xml"))));
    text.replace(QStringLiteral("<r no=\"1500\">"), QStringLiteral("<r no=\"4500\">"));
    const QString path = files_ + QStringLiteral("/big.xml");
    writeFile(path, encodeCp932(text));
    window->openPhoneBookFile(path);
    QCOMPARE(prompts.texts(), (QStringList{QStringLiteral("4件のデータが登録されています"),
                                           QStringLiteral("電話帳に収まらないレコード1件を読み飛ばしました")}));
    QCOMPARE(window->book().FileName, path);
}

void TestMainFrmFiles::openLegWithMissingConverter()
{
    FakePrompts prompts;
    auto window = start();
    window->FormActivate();
    editSomething(*window);
    const PhoneBook before = window->book();
    const QString leg = legFile(QStringLiteral("filled_LM630Pro.xml"), QStringLiteral("a.leg"));
    QFile::remove(AppPaths::converter());
    QVERIFY(!runGuarded([&] { window->openPhoneBookFile(leg); }));
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral("システムエラー。コード：2.\r\nNo such file or directory")});
    QCOMPARE(window->book().entries, before.entries);
    QCOMPARE(window->book().FileName, before.FileName);
    QVERIFY(window->book().Modified);
}

void TestMainFrmFiles::openLegWithSilentConverter()
{
    // A working file left from an earlier failure must not be read as this file.
    FakePrompts prompts;
    auto window = start();
    window->FormActivate();
    QFile::copy(fixture(QStringLiteral("filled_LM630Pro.xml")), AppPaths::workingFile());
    useConverterScript("exit 0\n");
    QVERIFY(!runGuarded([&] { window->openPhoneBookFile(files_ + QStringLiteral("/x.leg")); }));
    QVERIFY(
        prompts.texts().first().startsWith(QStringLiteral("ファイル %1 は開けません。").arg(AppPaths::workingFile())));
    QCOMPARE(window->book().entries, PhoneBook().entries);
    QCOMPARE(window->book().FileName, QStringLiteral("無題"));
}

// --- Dropping and the command line ----------------------------------------------

void TestMainFrmFiles::dropRefusesOtherTypes_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("xml") << "phone.xml";
    QTest::newRow("XML") << "phone.XML";
    QTest::newRow("txt") << "notes.txt";
    QTest::newRow("no extension") << "README";
}

void TestMainFrmFiles::dropRefusesOtherTypes()
{
    QFETCH(QString, name);
    FakePrompts prompts;
    auto window = start();
    window->FormActivate();
    editSomething(*window);
    window->dropFiles(
        {fixture(QStringLiteral("filled_LM630Pro.xml")).replace(QStringLiteral("filled_LM630Pro.xml"), name)});
    QCOMPARE(prompts.kinds(), QStringList{QStringLiteral("warning")});
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral("読み込めないファイル形式です。")});
    QCOMPARE(window->book().entries[3].name(), QStringLiteral("編集中"));
}

void TestMainFrmFiles::dropOpensOnlyTheFirstFile()
{
    FakePrompts prompts;
    auto window = start();
    window->FormActivate();
    const QString first = legFile(QStringLiteral("filled_LM630Std.xml"), QStringLiteral("first.leg"));
    const QString second = legFile(QStringLiteral("filled_LM630Pro.xml"), QStringLiteral("second.leg"));
    window->dropFiles({first, second});
    QCOMPARE(window->book().FileName, first);
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral("4件のデータが登録されています")});
    window->dropFiles({});
    QCOMPARE(prompts.shown.size(), 1);
}

void TestMainFrmFiles::dropWhileModified_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("chooser"); // the name chooser's answer when the save asks
    QTest::addColumn<bool>("opened");
    QTest::newRow("cancel") << int(Prompts::Answer::Cancel) << QString() << false;
    QTest::newRow("no") << int(Prompts::Answer::No) << QString() << true;
    QTest::newRow("yes, chooser dismissed") << int(Prompts::Answer::Yes) << QString() << false;
    QTest::newRow("yes, saved") << int(Prompts::Answer::Yes) << QStringLiteral("saved.leg") << true;
}

void TestMainFrmFiles::dropWhileModified()
{
    QFETCH(int, answer);
    QFETCH(QString, chooser);
    QFETCH(bool, opened);
    FakePrompts prompts;
    FakeFileChoices choices;
    auto window = start();
    window->FormActivate();
    editSomething(*window);
    const QString leg = legFile(QStringLiteral("filled_LM630Pro.xml"), QStringLiteral("dropped.leg"));
    prompts.answer(Prompts::Answer(answer));
    if (answer == int(Prompts::Answer::Yes))
        choices.paths.enqueue(chooser.isEmpty() ? QString() : files_ + u'/' + chooser);
    window->dropFiles({leg});
    QCOMPARE(prompts.shown.first().kind, QStringLiteral("confirmWithCancel"));
    QCOMPARE(prompts.shown.first().text, QStringLiteral("[無題]は、変更されています。\r\n保存しますか？"));
    QCOMPARE(window->book().FileName == leg, opened);
    QCOMPARE(window->book().entries[3].name() == QStringLiteral("編集中"), !opened);
    if (!chooser.isEmpty())
        QVERIFY(QFile::exists(files_ + u'/' + chooser));
    QCOMPARE(prompts.unexpected, 0);
}

void TestMainFrmFiles::dropCsvWithoutQuestion()
{
    FakePrompts prompts;
    auto window = start();
    window->FormActivate();
    const QString csv = files_ + QStringLiteral("/legacy.csv");
    writeFile(csv, "x\r\n");
    runGuarded([&] { window->dropFiles({csv}); });
    QCOMPARE(prompts.kinds().count(QStringLiteral("confirmWithCancel")), 0);
    QCOMPARE(prompts.kinds().count(QStringLiteral("warning")), 0);
}

void TestMainFrmFiles::commandLineFileIsOpenedOnShow()
{
    FakePrompts prompts;
    const QString leg = legFile(QStringLiteral("filled_KN820Std.xml"), QStringLiteral("start.leg"));
    auto window = start({leg, QStringLiteral("ignored.leg")});
    QVERIFY(window->DropFlag);
    window->FormShow();
    QVERIFY(!window->DropFlag);
    QCOMPARE(window->book().FileName, leg);
    QCOMPARE(window->book().SyubetuFlag, ModelKN820Std);
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral("4件のデータが登録されています")});
    // The first activation then fixes the model from the model choice (1: LM630Pro).
    window->FormActivate();
    QCOMPARE(window->model(), ModelLM630Pro);

    // A broken start-up file: the window opens all the same, DropFlag is cleared.
    FakePrompts second;
    auto other = start({files_ + QStringLiteral("/missing.xml")});
    other->FormShow();
    QVERIFY(!other->DropFlag);
    QCOMPARE(second.kinds(), QStringList{QStringLiteral("error")});
}

QTEST_MAIN(TestMainFrmFiles)
#include "tst_mainfrmfiles.moc"
