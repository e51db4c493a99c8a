#include "TestPaths.h"
#include "core/DalvinoError.h"
#include "formats/AppPaths.h"
#include "formats/LegConverter.h"
#include "formats/PhoneBookFiles.h"
#include "formats/PrivateFolder.h"
#include "formats/TextFile.h"
#include "formats/WorkingFile.h"
#include "formats/XmlPhoneBook.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray fixtureBytes(const QString &name)
{
    return readFileBytes(sourceDir() + QStringLiteral("/tests/formats/data/") + name);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
}

struct QuendaRun {
    int exitCode;
    QString err;
};

QuendaRun quenda(const QStringList &arguments)
{
    QProcess process;
    process.start(binDir() + QStringLiteral("/Quenda.dll"), arguments);
    process.waitForFinished(30000);
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError())};
}

} // namespace

class TestLegConverter : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void commandLines();
    void xmlToLegToXmlIsByteExact();
    void uppercaseLegTargetKeepsItsName();
    void staleWorkingFileIsNeverRead();
    void failedConversionKeepsTheOldTarget_data();
    void failedConversionKeepsTheOldTarget();
    void missingConverterIsASystemError();
    void unwritableTargetFolder();
    void failedOpeningConversionReportsTheConverter();
    void loadAndStoreThroughPhoneBookFiles();
    void waitsWhileAnotherProgramConverts_data();
    void waitsWhileAnotherProgramConverts();
    void lockNobodyHoldsIsTakenAtOnce_data();
    void lockNobodyHoldsIsTakenAtOnce();
    void workingFolderCannotBeTurnedAgainstTheUser_data();
    void workingFolderCannotBeTurnedAgainstTheUser();
    void legTargets_data();
    void legTargets();
    void newLegFollowsTheUmask();
    void saveTargets_data();
    void saveTargets();

    void quendaRejectsDamagedInput_data();
    void quendaRejectsDamagedInput();

private:
    // Replaces the converter beside the "executable" by a script.
    void useConverterScript(const QByteArray &body);
    QString legOf(const QByteArray &xml);

    QTemporaryDir *root = nullptr;
    QString exeFolder;
    QString files;
};

void TestLegConverter::init()
{
    root = new QTemporaryDir;
    // Spaces in every path: each must reach the converter as one argument.
    exeFolder = root->filePath(QStringLiteral("Program Files/Dalvino"));
    files = root->filePath(QStringLiteral("My Phone Books"));
    QDir().mkpath(exeFolder + QStringLiteral("/temp"));
    QDir().mkpath(files);
    QFile::link(binDir() + QStringLiteral("/Quenda.dll"), exeFolder + QStringLiteral("/Quenda.dll"));
    AppPaths::setExecutableFolder(exeFolder);
}

void TestLegConverter::cleanup()
{
    WorkingFile::setWaitForTesting(-1);
    AppPaths::setExecutableFolder(QString());
    delete root;
    root = nullptr;
}

void TestLegConverter::useConverterScript(const QByteArray &body)
{
    const QString path = exeFolder + QStringLiteral("/Quenda.dll");
    QFile::remove(path);
    writeFile(path, "#!/bin/sh\n" + body);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString TestLegConverter::legOf(const QByteArray &xml)
{
    // Percent signs in the name: messages must show it as it is.
    const QString path = files + QStringLiteral("/existing %2 %1.leg");
    const QString source = files + QStringLiteral("/source.xml");
    writeFile(source, xml);
    if (quenda({QStringLiteral("-e"), source, path}).exitCode != 0)
        qFatal("Quenda could not encode");
    QFile::remove(source);
    return path;
}

void TestLegConverter::commandLines()
{
    QCOMPARE(LegConverter::legToXmlCommand(QStringLiteral("/a b/x.leg")),
             (QStringList{exeFolder + QStringLiteral("/Quenda.dll"), QStringLiteral("/a b/x.leg"),
                          exeFolder + QStringLiteral("/temp/temp.xml")}));
    QCOMPARE(LegConverter::xmlToLegCommand(QStringLiteral("/a b/x.leg")),
             (QStringList{exeFolder + QStringLiteral("/Quenda.dll"), QStringLiteral("-e"),
                          exeFolder + QStringLiteral("/temp/temp.xml"), QStringLiteral("/a b/x.leg")}));
}

void TestLegConverter::xmlToLegToXmlIsByteExact()
{
    const QByteArray xml = fixtureBytes(QStringLiteral("filled_LM630Pro.xml"));
    const QString leg = files + QStringLiteral("/customer.leg");
    LegConverter::writeLeg(leg, decodeText(xml));
    QVERIFY(!QFile::exists(AppPaths::workingFile()));
    const QByteArray legBytes = readFileBytes(leg);
    QVERIFY(legBytes.startsWith("QLEG"));
    QCOMPARE(legBytes.size(), xml.size() + 16);
    // Nothing but the target is left in its folder.
    QCOMPARE(QDir(files).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("customer.leg")});

    const QString text = LegConverter::readLeg(leg);
    QCOMPARE(encodeCp932(text), xml);
    QVERIFY(!QFile::exists(AppPaths::workingFile()));
    QVERIFY(!QFile::exists(AppPaths::workingFileLock()));
}

void TestLegConverter::uppercaseLegTargetKeepsItsName()
{
    const QString leg = files + QStringLiteral("/OLD.LEG");
    LegConverter::writeLeg(leg, decodeText(fixtureBytes(QStringLiteral("new_LM630Pro.xml"))));
    QCOMPARE(QDir(files).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("OLD.LEG")});
}

void TestLegConverter::staleWorkingFileIsNeverRead()
{
    // A converter that ends well but writes nothing.
    useConverterScript("exit 0\n");
    writeFile(AppPaths::workingFile(), fixtureBytes(QStringLiteral("filled_LM630Pro.xml")));
    try {
        LegConverter::readLeg(files + QStringLiteral("/x.leg"));
        QFAIL("the stale working file was read");
    } catch (const DalvinoError &e) {
        QVERIFY2(e.text().startsWith(QStringLiteral("ファイル %1 は開けません。").arg(AppPaths::workingFile())),
                 qPrintable(e.text()));
    }
}

void TestLegConverter::failedConversionKeepsTheOldTarget_data()
{
    QTest::addColumn<QByteArray>("converter");
    QTest::addColumn<QString>("message");
    QTest::newRow("exit 1 with a message")
        << QByteArray("echo 'disk full' >&2\nexit 1\n") << QStringLiteral("（終了コード 1）。\r\ndisk full");
    QTest::newRow("ends well, writes nothing") << QByteArray("exit 0\n") << QStringLiteral("変換結果が空です");
    QTest::newRow("half a file, then fails")
        << QByteArray("printf 'QLEG' > \"$4\"\nexit 5\n") << QStringLiteral("（終了コード 5）");
}

void TestLegConverter::failedConversionKeepsTheOldTarget()
{
    QFETCH(QByteArray, converter);
    QFETCH(QString, message);
    const QString leg = legOf(fixtureBytes(QStringLiteral("filled_LM630Pro.xml")));
    const QByteArray before = readFileBytes(leg);
    useConverterScript(converter);
    try {
        LegConverter::writeLeg(leg, decodeText(fixtureBytes(QStringLiteral("new_LM630Pro.xml"))));
        QFAIL("reported as success");
    } catch (const DalvinoError &e) {
        QVERIFY2(e.text().contains(message), qPrintable(e.text()));
        QVERIFY(e.text().contains(leg));
    }
    QCOMPARE(readFileBytes(leg), before);
    QCOMPARE(QDir(files).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("existing %2 %1.leg")});
}

void TestLegConverter::missingConverterIsASystemError()
{
    QFile::remove(exeFolder + QStringLiteral("/Quenda.dll"));
    const QString leg = files + QStringLiteral("/x.leg");
    QVERIFY_THROWS_EXCEPTION(DalvinoError, LegConverter::readLeg(leg));
    try {
        LegConverter::writeLeg(leg, QStringLiteral("<SpeedDial >\r\n"));
        QFAIL("no error");
    } catch (const DalvinoError &e) {
        QVERIFY(e.text().startsWith(QStringLiteral("システムエラー。コード：2.\r\n")));
    }
    QVERIFY(!QFile::exists(leg));
}

void TestLegConverter::unwritableTargetFolder()
{
    // As root a read-only folder is still writable; a folder that is a file is not.
    QString folder = files + QStringLiteral("/read only");
    if (::geteuid() == 0) {
        folder = files + QStringLiteral("/not a folder");
        writeFile(folder, "x");
    } else {
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    }
    const QString leg = folder + QStringLiteral("/x.leg");
    try {
        LegConverter::writeLeg(leg, decodeText(fixtureBytes(QStringLiteral("new_LM630Pro.xml"))));
        QFAIL("no error");
    } catch (const DalvinoError &e) {
        QVERIFY2(e.text().startsWith(QStringLiteral("ファイル \"%1\" を作成できません。").arg(leg)),
                 qPrintable(e.text()));
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestLegConverter::failedOpeningConversionReportsTheConverter()
{
    const QString leg = files + QStringLiteral("/broken.leg");
    writeFile(leg, QByteArray("QLEG\x01\x00\x00\x00\x40\x00\x00\x00\x00\x00\x00\x00garbage", 23));
    try {
        LegConverter::readLeg(leg);
        QFAIL("no error");
    } catch (const DalvinoError &e) {
        QVERIFY2(e.text().contains(QStringLiteral("damaged .leg file")), qPrintable(e.text()));
    }
    QVERIFY(!QFile::exists(AppPaths::workingFile()));
}

void TestLegConverter::loadAndStoreThroughPhoneBookFiles()
{
    const XmlReadOutcome xml =
        PhoneBookFiles::load(sourceDir() + QStringLiteral("/tests/formats/data/filled_KN820Std.xml"), PhoneBook());
    QVERIFY(xml.accepted);
    PhoneBook book = xml.book;
    book.Syubetu = ModelKN820Std;
    const PhoneBookFiles::SaveTarget target = PhoneBookFiles::saveTarget(book.FileName, book.model());
    QVERIFY(target.renamed);
    QVERIFY(target.viaConverter);
    QVERIFY(target.path.endsWith(QStringLiteral("filled_KN820Std.leg")));

    const QString leg = files + QStringLiteral("/kn820.leg");
    PhoneBookFiles::store(buildXmlPhoneBook(book).text, {leg, true, false});
    const XmlReadOutcome back = PhoneBookFiles::load(leg, PhoneBook());
    QVERIFY(back.accepted);
    QCOMPARE(back.book.FileName, leg);
    QCOMPARE(back.book.SyubetuFlag, ModelKN820Std);
    QCOMPARE(back.book.entries, book.entries);
    QCOMPARE(back.book.MACAddress, QStringLiteral("0123456789AB"));
    // The working file is gone after a load, also after a rejected one.
    QVERIFY(!QFile::exists(AppPaths::workingFile()));
    const QString foreign = legOf("<SpeedDial System=\"X\" >\r\n");
    writeFile(AppPaths::workingFile(), "old");
    const XmlReadOutcome rejected = PhoneBookFiles::load(foreign, PhoneBook());
    QVERIFY(!rejected.accepted);
    QVERIFY(!QFile::exists(AppPaths::workingFile()));
}

void TestLegConverter::waitsWhileAnotherProgramConverts_data()
{
    QTest::addColumn<int>("step");
    QTest::newRow("opening a .leg file") << 0;
    QTest::newRow("saving a .leg file") << 1;
    QTest::newRow("removing the working file after opening an .xml file") << 2;
}

void TestLegConverter::waitsWhileAnotherProgramConverts()
{
    QFETCH(int, step);
    const QByteArray xml = fixtureBytes(QStringLiteral("filled_LM630Pro.xml"));
    const QString leg = files + QStringLiteral("/customer.leg");
    LegConverter::writeLeg(leg, decodeText(xml));
    const QByteArray legBytes = readFileBytes(leg);
    const auto runStep = [&] {
        if (step == 0)
            QCOMPARE(encodeCp932(LegConverter::readLeg(leg)), xml);
        else if (step == 1)
            LegConverter::writeLeg(leg, decodeText(fixtureBytes(QStringLiteral("new_LM630Pro.xml"))));
        else
            LegConverter::removeWorkingFile();
    };

    // Another program is in the middle of a conversion: its working file is not touched
    // and, when it takes too long, the step gives up with a message and changes nothing.
    QLockFile other(AppPaths::workingFileLock());
    QVERIFY(other.tryLock());
    writeFile(AppPaths::workingFile(), "the other program's phone book");
    WorkingFile::setWaitForTesting(300);
    // The window is painted meanwhile.
    bool painted = false;
    QTimer::singleShot(100, [&painted] { painted = true; });
    QElapsedTimer waited;
    waited.start();
    try {
        runStep();
        QFAIL("the step did not wait for the other program");
    } catch (const DalvinoError &e) {
        QCOMPARE(e.text(), WorkingFile::busyText(AppPaths::workingFile()));
    }
    QVERIFY2(waited.elapsed() >= 300, qPrintable(QString::number(waited.elapsed())));
    QVERIFY(painted);
    QCOMPARE(readFileBytes(AppPaths::workingFile()), QByteArray("the other program's phone book"));
    QCOMPARE(readFileBytes(leg), legBytes);

    // Once the other program is done the step goes ahead.
    other.unlock();
    QFile::remove(AppPaths::workingFile());
    runStep();
    QVERIFY(!QFile::exists(AppPaths::workingFile()));
    QVERIFY(!QFile::exists(AppPaths::workingFileLock()));
}

void TestLegConverter::lockNobodyHoldsIsTakenAtOnce_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("usable");
    QTest::newRow("empty file") << "empty" << true;
    QTest::newRow("garbage") << "garbage" << true;
    QTest::newRow("another machine's lock") << "host" << true;
    QTest::newRow("an empty folder") << "folder" << true;
    QTest::newRow("a link elsewhere") << "link" << true;
    QTest::newRow("a folder with files in it") << "full folder" << false;
}

void TestLegConverter::lockNobodyHoldsIsTakenAtOnce()
{
    // Left by a program that ended, or by another machine on a shared folder: whatever
    // it holds, a lock no running program holds never makes the user wait.
    QFETCH(QString, kind);
    QFETCH(bool, usable);
    const QByteArray xml = fixtureBytes(QStringLiteral("filled_LM630Pro.xml"));
    const QString leg = files + QStringLiteral("/customer.leg");
    LegConverter::writeLeg(leg, decodeText(xml));

    const QString lock = AppPaths::workingFileLock();
    const QString elsewhere = root->filePath(QStringLiteral("elsewhere"));
    if (kind == QStringLiteral("empty"))
        writeFile(lock, QByteArray());
    else if (kind == QStringLiteral("garbage"))
        writeFile(lock, QByteArray("\x8f\x00\xff garbage", 12));
    else if (kind == QStringLiteral("host"))
        writeFile(lock, "4242\ndalvino-cli\nanother-machine\n");
    else if (kind == QStringLiteral("link"))
        QVERIFY(QFile::link(elsewhere, lock));
    else
        QVERIFY(QDir().mkpath(kind == QStringLiteral("folder") ? lock : lock + QStringLiteral("/inside")));

    WorkingFile::setWaitForTesting(20000);
    QElapsedTimer clock;
    clock.start();
    try {
        QCOMPARE(encodeCp932(LegConverter::readLeg(leg)), xml);
        QVERIFY(usable);
    } catch (const DalvinoError &e) {
        QVERIFY2(!usable, qPrintable(e.text()));
        QCOMPARE(e.text(), WorkingFile::lockUnusableText(lock, QString::fromLocal8Bit(std::strerror(EISDIR))));
        QCOMPARE(e.text(), QStringLiteral("作業ファイルのロック \"%1\" を使用できません。Is a directory\r\n"
                                          "変換中のプログラムがないことを確かめてから、これを削除してください。")
                               .arg(lock));
    }
    qInfo("%lld ms", clock.elapsed());
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!QFileInfo::exists(elsewhere));
    if (usable)
        QVERIFY(!QFileInfo(lock).exists() && !QFileInfo(lock).isSymLink());
}

void TestLegConverter::workingFolderCannotBeTurnedAgainstTheUser_data()
{
    QTest::addColumn<QString>("planted");
    QTest::addColumn<QString>("problem"); // empty: the conversions go ahead
    QTest::newRow("working file: a link to a new file") << "link to new"
                                                        << "";
    QTest::newRow("working file: a link to the user's file") << "link to file"
                                                             << "";
    QTest::newRow("working file: another user's, read-only") << "other's file"
                                                             << "";
    QTest::newRow("working folder: a link") << "folder link"
                                            << "シンボリックリンクです";
    QTest::newRow("working folder: writable by everyone") << "folder 0777"
                                                          << "他のユーザーも書き込めます";
    QTest::newRow("working folder: another user's") << "folder other's"
                                                    << "他のユーザー (UID 65534) のフォルダーです";
}

void TestLegConverter::workingFolderCannotBeTurnedAgainstTheUser()
{
    QFETCH(QString, planted);
    QFETCH(QString, problem);
    if (planted.contains(QStringLiteral("other's")) && ::geteuid() != 0)
        QSKIP("planting another user's file needs root");
    const QString folder = AppPaths::workingFolder();
    const QString working = AppPaths::workingFile();
    const QString victim = root->filePath(QStringLiteral("victim.txt"));
    if (planted == QStringLiteral("link to new")) {
        QVERIFY(QFile::link(victim, working));
    } else if (planted == QStringLiteral("link to file")) {
        writeFile(victim, "the user's own file");
        QVERIFY(QFile::link(victim, working));
    } else if (planted == QStringLiteral("other's file")) {
        writeFile(working, "planted");
        QVERIFY(::chown(QFile::encodeName(working).constData(), 65534, 65534) == 0);
        QVERIFY(QFile::setPermissions(working, QFile::ReadOwner));
    } else if (planted == QStringLiteral("folder link")) {
        QVERIFY(QDir().rename(folder, folder + QStringLiteral(".real")));
        QVERIFY(QFile::link(folder + QStringLiteral(".real"), folder));
    } else if (planted == QStringLiteral("folder 0777")) {
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0777) == 0);
    } else {
        QVERIFY(::chown(QFile::encodeName(folder).constData(), 65534, 65534) == 0);
    }

    const QByteArray xml = fixtureBytes(QStringLiteral("filled_LM630Pro.xml"));
    const QString leg = files + QStringLiteral("/customer.leg");
    const QString refusal =
        problem.isEmpty() ? QString() : privateFolderRefusalText(QStringLiteral("作業フォルダー"), folder, problem);
    for (int step = 0; step < 2; ++step) {
        try {
            if (step == 0)
                LegConverter::writeLeg(leg, decodeText(xml));
            else
                QCOMPARE(encodeCp932(LegConverter::readLeg(leg)), xml);
            QVERIFY(refusal.isEmpty());
        } catch (const DalvinoError &e) {
            QCOMPARE(e.text(), refusal);
        }
    }
    QCOMPARE(QFileInfo::exists(leg), refusal.isEmpty());
    if (planted == QStringLiteral("link to file"))
        QCOMPARE(readFileBytes(victim), QByteArray("the user's own file"));
    else
        QVERIFY(!QFileInfo::exists(victim));
    QCOMPARE(refusal, problem.isEmpty() ? QString()
                                        : QStringLiteral("作業フォルダー \"%1\" は使用できません（%2）。シンボリック"
                                                         "リンクでない、このユーザーだけが書き込めるフォルダーにしてく"
                                                         "ださい。")
                                              .arg(folder, problem));
}

void TestLegConverter::legTargets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("linkedTo"); // the name is a link to this file
    QTest::newRow("a name of 255 bytes") << QString(251, u'n') + QStringLiteral(".leg") << "";
    QTest::newRow("a name of 249 bytes") << QString(245, u'n') + QStringLiteral(".LEG") << "";
    QTest::newRow("a link to the file") << "link.leg"
                                        << "real.leg";
    QTest::newRow("a link to a new file") << "link.leg"
                                          << "new.leg";
}

void TestLegConverter::legTargets()
{
    QFETCH(QString, name);
    QFETCH(QString, linkedTo);
    const QString leg = files + u'/' + name;
    QStringList expected{name};
    if (!linkedTo.isEmpty()) {
        QVERIFY(QFile::link(linkedTo, leg));
        if (linkedTo == QStringLiteral("real.leg"))
            writeFile(files + QStringLiteral("/real.leg"), "the old .leg file");
        expected << linkedTo;
        expected.sort();
    }
    const QByteArray xml = fixtureBytes(QStringLiteral("filled_KN820Std.xml"));
    LegConverter::writeLeg(leg, decodeText(xml));
    QCOMPARE(encodeCp932(LegConverter::readLeg(leg)), xml);
    QCOMPARE(QDir(files).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), expected);
    if (!linkedTo.isEmpty()) {
        QVERIFY(QFileInfo(leg).isSymLink());
        QCOMPARE(readFileBytes(files + u'/' + linkedTo), readFileBytes(leg));
    }
}

void TestLegConverter::newLegFollowsTheUmask()
{
    const QString text = decodeText(fixtureBytes(QStringLiteral("new_LM630Pro.xml")));
    const mode_t saved = ::umask(077);
    LegConverter::writeLeg(files + QStringLiteral("/private.leg"), text);
    ::umask(022);
    LegConverter::writeLeg(files + QStringLiteral("/shared.leg"), text);
    // A file that is there keeps its own permissions.
    writeFile(files + QStringLiteral("/group.leg"), "old");
    QVERIFY(::chmod(QFile::encodeName(files + QStringLiteral("/group.leg")).constData(), 0640) == 0);
    LegConverter::writeLeg(files + QStringLiteral("/group.leg"), text);
    ::umask(saved);
    const auto mode = [this](const char *name) {
        struct stat info {};
        ::stat(QFile::encodeName(files + u'/' + QLatin1StringView(name)).constData(), &info);
        return info.st_mode & 0777;
    };
    QCOMPARE(mode("private.leg"), mode_t(0600));
    QCOMPARE(mode("shared.leg"), mode_t(0644));
    QCOMPARE(mode("group.leg"), mode_t(0640));
}

void TestLegConverter::saveTargets_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("message");
    QTest::newRow("leg model, .leg") << "/d/abc.leg" << ModelLM630Std << "/d/abc.leg"
                                     << "保存しました";
    QTest::newRow("leg model, .LEG") << "/d/abc.LEG" << ModelLM630Pro << "/d/abc.LEG"
                                     << "保存しました";
    QTest::newRow("leg model, .xml") << "/d/x.xml" << ModelLM630Pro << "/d/x.leg"
                                     << "[x.xml]を[x.leg]として保存しました";
    QTest::newRow("xml model, .leg") << "/d/abc.leg" << ModelZR410Std << "/d/abc.xml"
                                     << "[abc.leg]を[abc.xml]として保存しました";
    QTest::newRow("xml model, .xml") << "/d/abc.xml" << ModelMorvel << "/d/abc.xml"
                                     << "保存しました";
    // A document read from a legacy CSV file: its CSV file is not overwritten with XML.
    QTest::newRow("xml model, .csv") << "/d/old.csv" << ModelZR410Pro << "/d/old.xml"
                                     << "[old.csv]を[old.xml]として保存しました";
    QTest::newRow("no extension") << "/d.x/abc" << ModelKN820Pro << "/d.x/abc.leg"
                                  << "[abc]を[abc.leg]として保存しました";
    QTest::newRow("two dots") << "/d/a.b.c" << ModelMorvel2 << "/d/a.b.leg"
                              << "[a.b.c]を[a.b.leg]として保存しました";
}

void TestLegConverter::saveTargets()
{
    QFETCH(QString, fileName);
    QFETCH(int, model);
    QFETCH(QString, target);
    QFETCH(QString, message);
    const PhoneBookFiles::SaveTarget got = PhoneBookFiles::saveTarget(fileName, deviceModel(model));
    QCOMPARE(got.path, target);
    QCOMPARE(got.viaConverter, deviceModel(model).keptAsLeg);
    QCOMPARE(got.renamed, target != fileName);
    QCOMPARE(PhoneBookFiles::savedText(fileName, got), message);
}

void TestLegConverter::quendaRejectsDamagedInput_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<bool>("encode");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const QByteArray xml = fixtureBytes(QStringLiteral("new_LM630Pro.xml"));
    QByteArray good;
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("a.xml")), xml);
        quenda({QStringLiteral("-e"), dir.filePath(QStringLiteral("a.xml")), dir.filePath(QStringLiteral("a.leg"))});
        good = readFileBytes(dir.filePath(QStringLiteral("a.leg")));
    }
    QByteArray badMagic = good;
    badMagic[0] = 'X';
    QByteArray badVersion = good;
    badVersion[4] = 2;
    QByteArray badChecksum = good;
    badChecksum[good.size() - 3] ^= 0x01;
    QTest::newRow("foreign") << QByteArray("PK\x03\x04zipfile") << false << 3 << "no QLEG header";
    QTest::newRow("bad magic") << badMagic << false << 3 << "no QLEG header";
    QTest::newRow("too short") << QByteArray("QLEG") << false << 3 << "no QLEG header";
    QTest::newRow("version") << badVersion << false << 3 << "unsupported .leg format version 2";
    QTest::newRow("truncated") << good.left(good.size() - 1) << false << 3 << "the header names";
    QTest::newRow("extra bytes") << good + "x" << false << 3 << "the header names";
    QTest::newRow("checksum") << badChecksum << false << 3 << "checksum mismatch";
    QTest::newRow("not a phone book") << QByteArray("hello\r\n") << true << 3 << "is not an XML phone book";
}

void TestLegConverter::quendaRejectsDamagedInput()
{
    QFETCH(QByteArray, input);
    QFETCH(bool, encode);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const QString source = files + QStringLiteral("/in.bin");
    const QString target = files + QStringLiteral("/out.bin");
    writeFile(source, input);
    QStringList arguments = {source, target};
    if (encode)
        arguments.prepend(QStringLiteral("-e"));
    const QuendaRun run = quenda(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.startsWith(QStringLiteral("Quenda: ")) && run.err.contains(message), qPrintable(run.err));
    QVERIFY(!QFile::exists(target));

    const QuendaRun unreadable = quenda({files + QStringLiteral("/missing.leg"), target});
    QCOMPARE(unreadable.exitCode, 2);
    QVERIFY(unreadable.err.contains(QStringLiteral("cannot read")));
    QCOMPARE(quenda({source}).exitCode, 1);
    QVERIFY(!QFile::exists(target));
}

QTEST_GUILESS_MAIN(TestLegConverter)
#include "tst_legconverter.moc"
