#include "FakePrompts.h"
#include "FaultFiles.h"
#include "MainWindowParts.h"
#include "TestPaths.h"

#include "formats/AppPaths.h"
#include "formats/CsvExport.h"
#include "formats/TextFile.h"
#include "formats/XmlPhoneBook.h"
#include "ui/AnalysisFrm.h"
#include "ui/CommandGuard.h"
#include "ui/InportFrm.h"
#include "ui/MainFrm.h"
#include "ui/SplushFrm.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>

using namespace FaultFiles;

Q_DECLARE_METATYPE(FaultFiles::Kind)
Q_DECLARE_METATYPE(FaultFiles::Damage)

namespace {

QString fixture(const QString &name)
{
    return sourceDir() + QStringLiteral("/tests/formats/data/") + name;
}

QString cannotCreate()
{
    return QStringLiteral("ファイル \"%1\" を作成できません。");
}
QString converterFailed(int code)
{
    return QStringLiteral("変換プログラムが \"%1\" を作成できませんでした（終了コード ") + QString::number(code) +
           QStringLiteral("）。\r\n");
}

} // namespace

// Saving that fails for reasons outside the program, and files that cannot be opened:
// whatever happens, the file on disk and the document in memory stay as they were and
// the user is told.
class TestFaultInjection : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void saveFault_data();
    void saveFault();
    void fullDiskLosesNoFile_data();
    void fullDiskLosesNoFile();

    void openDamaged_data();
    void openDamaged();

private:
    std::unique_ptr<TFormMain> start();
    void useConverterScript(const QByteArray &body);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TFormSplush> splush_;
    QString files_;
};

void TestFaultInjection::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    const QString exe = dir_->filePath(QStringLiteral("bin"));
    files_ = dir_->filePath(QStringLiteral("phone books"));
    QDir().mkpath(exe + QStringLiteral("/temp"));
    QDir().mkpath(files_);
    QFile::link(binDir() + QStringLiteral("/Quenda.dll"), exe + QStringLiteral("/Quenda.dll"));
    AppPaths::setExecutableFolder(exe);
    splush_ = std::make_unique<TFormSplush>();
}

void TestFaultInjection::cleanup()
{
    setWriteLimitForTesting(-1);
    splush_.reset();
    AppPaths::setExecutableFolder(QString());
    dir_.reset();
}

std::unique_ptr<TFormMain> TestFaultInjection::start()
{
    auto window = std::make_unique<TFormMain>(splush_.get(), QStringList());
    window->createOtherWindows();
    window->FormActivate();
    return window;
}

void TestFaultInjection::useConverterScript(const QByteArray &body)
{
    const QString path = AppPaths::converter();
    QFile::remove(path);
    writeFile(path, "#!/bin/sh\nREAL='" + QFile::encodeName(binDir()) + "/Quenda.dll'\n" + body);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// --- Saving ---------------------------------------------------------------------

void TestFaultInjection::saveFault_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("leg");
    QTest::addColumn<bool>("saveAs");
    QTest::addColumn<QString>("expected"); // %1 is the target
    QTest::addColumn<bool>("exact");       // otherwise the start of the text

    QTest::newRow("read-only folder, .xml, Save") << "read-only" << false << false << cannotCreate() << false;
    QTest::newRow("read-only folder, .leg, Save As") << "read-only" << true << true << cannotCreate() << false;
    QTest::newRow("full disk, .xml, Save As") << "full" << false << true << cannotCreate() << false;
    QTest::newRow("full disk, .leg, Save") << "full" << true << false << converterFailed(4) << false;
    QTest::newRow("converter missing") << "missing" << true << false
                                       << "システムエラー。コード：2.\r\nNo such file or directory" << true;
    QTest::newRow("converter crashing") << "kill -SEGV $$\n" << true << false << converterFailed(-1) << true;
    QTest::newRow("converter exiting 3") << "echo 'Quenda: damaged' >&2\nexit 3\n"
                                         << true << true << converterFailed(3) + QStringLiteral("Quenda: damaged")
                                         << true;
    QTest::newRow("converter writing nothing")
        << "exit 0\n"
        << true << false << converterFailed(0) + QStringLiteral("変換結果が空です") << true;
    QTest::newRow("converter writing a truncated file")
        << "if [ \"$1\" = -e ]; then\n"
           "  \"$REAL\" -e \"$2\" \"$3.whole\" || exit $?\n"
           "  head -c 200 \"$3.whole\" > \"$3\"; rm -f \"$3.whole\"; exit 0\n"
           "fi\n"
           "exec \"$REAL\" \"$@\"\n"
        << true << false << converterFailed(3) << false;
}

void TestFaultInjection::saveFault()
{
    QFETCH(QString, fault);
    QFETCH(bool, leg);
    QFETCH(bool, saveAs);
    QFETCH(QString, expected);
    QFETCH(bool, exact);

    FakePrompts prompts;
    FakeFileChoices choices;
    auto window = start();

    QString folder = files_ + QStringLiteral("/target");
    QDir().mkpath(folder);
    std::unique_ptr<TmpfsMount> mount;
    if (fault == QStringLiteral("read-only") || fault == QStringLiteral("full"))
        mount = std::make_unique<TmpfsMount>(folder, 256);
    const bool mounted = mount && mount->mounted();

    const QString target = folder + (leg ? QStringLiteral("/book.leg") : QStringLiteral("/book.xml"));
    writeFile(target, leg ? legContainer(readFileBytes(fixture(QStringLiteral("filled_LM630Std.xml"))))
                          : readFileBytes(fixture(QStringLiteral("filled_ZR410Pro.xml"))));
    const QByteArray old = readFileBytes(target);
    QVERIFY(runGuarded([&] { window->openPhoneBookFile(target); }));
    QCOMPARE(window->book().FileName, target);
    // Every slot filled: the new file is many times the old one.
    arrangeBook(window, [](PhoneBook &book) {
        for (int i = 0; i < PhoneBook::EntryCount; ++i) {
            book.entries[i].setField(DialEntry::Name, QStringLiteral("新しい名前%1").arg(i));
            book.entries[i].setField(DialEntry::Phone, QStringLiteral("0312345678"));
        }
    });
    window->setModified(true);
    const QString caption = window->windowTitle();

    QStringList expectedFiles{QFileInfo(target).fileName()};
    QString targetBefore = target;
    if (fault == QStringLiteral("read-only")) {
        if (mounted) {
            QVERIFY(mount->makeReadOnly());
        } else {
            // Without the right to mount: a folder whose parent is a regular file stops
            // even root. The document keeps its name, the save goes to the impossible path.
            qInfo("read-only folder: no tmpfs, a path below a regular file");
            const QString file = files_ + QStringLiteral("/plain file");
            writeFile(file, "a file");
            targetBefore = file + QStringLiteral("/book") + (leg ? QStringLiteral(".leg") : QStringLiteral(".xml"));
            arrangeBook(window, [&](PhoneBook &book) { book.FileName = targetBefore; });
            expectedFiles.clear();
        }
    } else if (fault == QStringLiteral("full")) {
        if (mounted) {
            QVERIFY(mount->fill());
            expectedFiles << QStringLiteral("filler");
        } else {
            qInfo("full disk: no tmpfs, the write stopped through setWriteLimitForTesting");
            setWriteLimitForTesting(100);
            if (leg)
                expected = cannotCreate().arg(AppPaths::workingFile());
        }
    } else if (fault == QStringLiteral("missing")) {
        QFile::remove(AppPaths::converter());
    } else {
        useConverterScript(fault.toUtf8());
    }
    const PhoneBook before = window->book();
    const QString savedPath = mounted || fault != QStringLiteral("read-only") ? target : targetBefore;
    if (saveAs)
        choices.paths.enqueue(savedPath);
    prompts.clear();

    QVERIFY(!runGuarded([&] { saveAs ? window->A1Click() : window->S1Click(); }));

    QCOMPARE(prompts.kinds().count(QStringLiteral("error")), 1);
    QCOMPARE(prompts.kinds().last(), QStringLiteral("error"));
    const QString shown = prompts.texts().last();
    const QString wanted = expected.contains(QStringLiteral("%1")) ? expected.arg(savedPath) : expected;
    if (exact)
        QCOMPARE(shown, wanted);
    else
        QVERIFY2(shown.startsWith(wanted), qPrintable(shown));
    QVERIFY(!prompts.texts().contains(QStringLiteral("保存しました")));
    QCOMPARE(choices.unexpected, 0);

    QCOMPARE(difference(window->book(), before), QString());
    QVERIFY(window->book().Modified);
    QCOMPARE(partOf<QLabel>(window, "StatusPanel0")->text(), QStringLiteral("変更あり"));
    QCOMPARE(window->windowTitle(), savedPath == target ? caption : window->windowTitle());
    QCOMPARE(readFileBytes(target), old);
    // No half-written or temporary file is left beside the target.
    if (!expectedFiles.isEmpty())
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name), expectedFiles);
    if (fault == QStringLiteral("read-only") && !mounted)
        QVERIFY(!QFileInfo::exists(targetBefore));
}

void TestFaultInjection::fullDiskLosesNoFile_data()
{
    QTest::addColumn<QString>("writer");
    QTest::addColumn<int>("entries"); // filled entries, for the size of the phone book
    QTest::addColumn<bool>("existing");
    QTest::addColumn<bool>("small"); // 16 KB or less
    QTest::newRow("Save .xml, 40 entries, over its file") << "save" << 40 << true << true;
    QTest::newRow("Save .xml, 400 entries, over its file") << "save" << 400 << true << false;
    QTest::newRow("Save .xml, 40 entries, new file") << "save" << 40 << false << true;
    QTest::newRow("CSV export, over a file") << "export" << 40 << true << false;
    QTest::newRow("report, over a file") << "report" << 40 << true << true;
    QTest::newRow("Dalvino.ini, over the file") << "settings" << 0 << true << true;
    QTest::newRow("Dalvino.ini, new file") << "settings" << 0 << false << true;
}

void TestFaultInjection::fullDiskLosesNoFile()
{
    QFETCH(QString, writer);
    QFETCH(int, entries);
    QFETCH(bool, existing);
    QFETCH(bool, small);

    FakePrompts prompts;
    FakeFileChoices choices;
    auto window = start();
    const QString disk = files_ + QStringLiteral("/disk");
    QDir().mkpath(disk);
    TmpfsMount mount(disk, 512);
    if (!mount.mounted())
        QSKIP("cannot mount a tmpfs here (needs root where mounting is allowed): no full disk to write to");

    window->setModel(ModelZR410Pro);
    arrangeBook(window, [&](PhoneBook &book) {
        for (int i = 0; i < entries; ++i) {
            book.entries[i].setField(DialEntry::Name, QStringLiteral("株式会社丸山工業%1").arg(i));
            book.entries[i].setField(DialEntry::Phone, QStringLiteral("048-555-0100"));
        }
    });
    window->setModified(true);
    QString target;
    QByteArray bytes; // what the writer would write
    std::function<void()> command;
    if (writer == QStringLiteral("save")) {
        target = disk + QStringLiteral("/book.xml");
        arrangeBook(window, [&](PhoneBook &book) { book.FileName = target; });
        bytes = encodeCp932(buildXmlPhoneBook(window->book()).text);
        command = [&] { window->S1Click(); };
    } else if (writer == QStringLiteral("export")) {
        target = disk + QStringLiteral("/book.csv");
        choices.paths.enqueue(target);
        bytes = encodeCp932(joinLines(CsvExport::lines(window->book())));
        command = [&] { window->csvC1Click(); };
    } else if (writer == QStringLiteral("report")) {
        target = disk + QStringLiteral("/report.txt");
        prompts.answerYes(); // the analysis may take a while
        window->ToolButton6Click();
        choices.paths.enqueue(target);
        bytes = encodeCp932(partOf<TFormAnalysis>(window, "FormAnalysis")->report());
        command = [&] { partOf<TFormAnalysis>(window, "FormAnalysis")->BtnSaveClick(); };
    } else {
        AppPaths::setExecutableFolder(disk);
        target = AppPaths::settingsFile();
        window->setModified(false);
        command = [&] { window->FormCloseQuery(); };
    }
    if (existing)
        writeFile(target, readFileBytes(fixture(QStringLiteral("filled_ZR410Pro.xml"))));
    // Nothing is added beside the files there were, nor lost.
    QStringList expectedFiles = QDir(disk).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    expectedFiles << QStringLiteral("filler");
    expectedFiles.sort();
    const PhoneBook book = window->book();
    QVERIFY(mount.fill());
    prompts.clear();

    runGuarded(command);

    qInfo("%s: %lld bytes to write; %s", QTest::currentDataTag(), qint64(bytes.size()),
          qPrintable(prompts.texts().join(QStringLiteral(" | "))));
    if (!bytes.isEmpty())
        QCOMPARE(bytes.size() <= 16 * 1024, small);
    QCOMPARE(prompts.kinds().count(QStringLiteral("error")), 1);
    QCOMPARE(prompts.texts().last(), cannotCreate().arg(target) + QString::fromLocal8Bit(std::strerror(ENOSPC)));
    QVERIFY(!prompts.texts().contains(QStringLiteral("保存しました")));
    QCOMPARE(difference(window->book(), book), QString());
    if (existing)
        QCOMPARE(readFileBytes(target), readFileBytes(fixture(QStringLiteral("filled_ZR410Pro.xml"))));
    QStringList files = QDir(disk).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    files.sort();
    QCOMPARE(files, expectedFiles);
}

// --- Opening --------------------------------------------------------------------

void TestFaultInjection::openDamaged_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<bool>("accepted"); // the file is read: a document of its own

    const std::pair<const char *, Kind> kinds[] = {
        {".xml", Kind::Xml}, {".leg", Kind::Leg}, {"legacy .csv", Kind::LegacyCsv}, {"import .csv", Kind::ImportCsv}};
    const std::pair<const char *, Damage> damages[] = {{"truncated", Damage::Truncated},
                                                       {"binary", Damage::Binary},
                                                       {"empty", Damage::Empty},
                                                       {"50 MB", Damage::Huge},
                                                       {"UTF-16 without mark", Damage::WrongEncoding}};
    for (const auto &[kindName, kind] : kinds) {
        for (const auto &[damageName, damage] : damages) {
            // A CSV file cut short at a line is still a CSV file: what it holds is read.
            const bool accepted = (damage == Damage::Huge && kind != Kind::ImportCsv) ||
                                  (damage == Damage::Truncated && kind == Kind::LegacyCsv);
            QTest::addRow("%s, %s", kindName, damageName) << kind << damage << accepted;
        }
    }
}

void TestFaultInjection::openDamaged()
{
    QFETCH(Kind, kind);
    QFETCH(Damage, damage);
    QFETCH(bool, accepted);

    FakePrompts prompts;
    auto window = start();
    const QString good = files_ + QStringLiteral("/good.xml");
    QFile::copy(fixture(QStringLiteral("filled_LM630Pro.xml")), good);
    window->openPhoneBookFile(good);
    arrangeBook(window, [&](PhoneBook &book) { book.entries[3].setField(DialEntry::Name, QStringLiteral("編集中")); });
    window->setModified(true);
    const PhoneBook before = window->book();

    const char *suffix = kind == Kind::Xml ? ".xml" : kind == Kind::Leg ? ".leg" : ".csv";
    const QString path = files_ + QStringLiteral("/damaged") + QLatin1StringView(suffix);
    {
        const QByteArray bytes = damaged(kind, damage);
        writeFile(path, bytes);
    }
    prompts.clear();

    const bool peakReset = resetPeak();
    const qint64 residentBefore = currentKilobytes();
    QElapsedTimer timer;
    timer.start();
    bool ended = false;
    if (kind == Kind::ImportCsv)
        ended = runGuarded([&] { partOf<TFormInport>(window, "FormInport")->loadFile(path); });
    else if (kind == Kind::LegacyCsv)
        ended = runGuarded([&] { window->openLegacyCsv(path); });
    else
        ended = runGuarded([&] { window->openPhoneBookFile(path); });
    const qint64 elapsed = timer.elapsed();
    const qint64 grown = peakKilobytes() - residentBefore;
    qInfo("%s: %lld ms, peak %lld KB above the %lld KB before%s; %s", QTest::currentDataTag(), elapsed, grown,
          residentBefore, peakReset ? "" : " (peak not reset)",
          qPrintable(prompts.texts().join(QStringLiteral(" | ")).left(200)));

    QVERIFY2(elapsed < timeLimitMilliseconds(), qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
    // Above what the window held before; 64 MB for the window's own work.
    if (peakReset)
        QVERIFY2(grown < memoryLimitKilobytes(QFileInfo(path).size(), 64 * 1024),
                 qPrintable(QStringLiteral("%1 KB").arg(grown)));
    QVERIFY(!splush_->isVisible());

    if (kind == Kind::ImportCsv) {
        // Loading fills only the import window; the document is the import's to replace.
        QCOMPARE(difference(window->book(), before), QString());
        if (damage == Damage::Empty) {
            QVERIFY(!ended);
            QCOMPARE(prompts.texts(),
                     QStringList{QStringLiteral("ファイル %1 は開けません。 ファイルが空です。 ").arg(path)});
        }
        return;
    }
    if (!accepted) {
        QVERIFY(!prompts.texts().isEmpty());
        QVERIFY(!prompts.texts().last().trimmed().isEmpty());
        QCOMPARE(difference(window->book(), before), QString());
        QCOMPARE(partOf<QLabel>(window, "StatusPanel0")->text(), QStringLiteral("変更あり"));
        return;
    }
    QVERIFY(ended);
    QCOMPARE(window->book().FileName, path);
    QVERIFY(prompts.texts().first().endsWith(QStringLiteral("件のデータが登録されています")));
    if (damage == Damage::Huge)
        QCOMPARE(prompts.texts().size(), 2);
}

QTEST_MAIN(TestFaultInjection)
#include "tst_faultinjection.moc"
