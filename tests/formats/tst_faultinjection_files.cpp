#include "FaultFiles.h"
#include "TestPaths.h"

#include "core/DalvinoError.h"
#include "formats/AppPaths.h"
#include "formats/CsvImport.h"
#include "formats/HelpData.h"
#include "formats/IniFile.h"
#include "formats/LegConverter.h"
#include "formats/LegacyCsv.h"
#include "formats/PhoneBookFiles.h"
#include "formats/TextFile.h"
#include "formats/XmlPhoneBook.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <memory>

using namespace FaultFiles;

namespace {

QString fixture(const QString &name)
{
    return sourceDir() + QStringLiteral("/tests/formats/data/") + name;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

// The file layer under faults: a phone book cut short, a converter that reports success
// for a damaged result, a write that runs out of space, an input without end.
class TestFaultInjectionFiles : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void cutPhoneBookIsRefused_data();
    void cutPhoneBookIsRefused();
    void legResultMustReadBack_data();
    void legResultMustReadBack();
    void writeLimitKeepsTheOldFile();
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void oversizedInputIsRefused_data();
    void oversizedInputIsRefused();
    void fullFileSystemKeepsTheOldLeg_data();
    void fullFileSystemKeepsTheOldLeg();

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestFaultInjectionFiles::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QDir().mkpath(dir_->filePath(QStringLiteral("bin/temp")));
    QDir().mkpath(dir_->filePath(QStringLiteral("files")));
    AppPaths::setExecutableFolder(dir_->filePath(QStringLiteral("bin")));
}

void TestFaultInjectionFiles::cleanup()
{
    setWriteLimitForTesting(-1);
    AppPaths::setExecutableFolder(QString());
    dir_.reset();
}

void TestFaultInjectionFiles::cutPhoneBookIsRefused_data()
{
    QTest::addColumn<QString>("file");
    for (const char *name : {"filled_LM630Pro.xml", "filled_ZR410Std.xml", "new_MorvelII.xml"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestFaultInjectionFiles::cutPhoneBookIsRefused()
{
    // Cut after every line but the last, and inside every line: never a partial document.
    QFETCH(QString, file);
    const QString text = decodeText(readFileBytes(fixture(file)));
    QVERIFY(readXmlPhoneBookText(text, PhoneBook(), false).accepted);
    const qsizetype speedDial = text.indexOf(QStringLiteral("<SpeedDial"));
    const qsizetype closing = text.lastIndexOf(QStringLiteral("</SpeedDial>"));
    QVERIFY(speedDial > 0 && closing > speedDial);
    int cuts = 0;
    for (qsizetype at = 0; at < closing + 11; at += 7, ++cuts) {
        const XmlReadOutcome outcome = readXmlPhoneBookText(text.left(at), PhoneBook(), false);
        QVERIFY2(!outcome.accepted, qPrintable(QStringLiteral("accepted when cut at %1").arg(at)));
        // Once the SpeedDial line is there the file is a phone book, one cut short.
        const bool named = at >= speedDial + qsizetype(sizeof "<SpeedDial") - 1;
        const QString expected = named ? incompleteText() : notPhoneBookText();
        QCOMPARE(outcome.rejection, expected);
    }
    QVERIFY(cuts > 10);
    QCOMPARE(incompleteText(), QStringLiteral("電話帳データが途中で切れています"));
}

void TestFaultInjectionFiles::legResultMustReadBack_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("expected"); // %1 the target
    const QString failed = QStringLiteral("変換プログラムが \"%1\" を作成できませんでした（終了コード ");
    // The stand-in converter's result cut to 100 bytes; reading it back fails.
    QTest::newRow("cut short") << QByteArray("if [ \"$1\" = -e ]; then\n"
                                             "  \"$REAL\" -e \"$2\" \"$3.whole\" || exit $?\n"
                                             "  head -c 100 \"$3.whole\" > \"$3\"; rm -f \"$3.whole\"; exit 0\n"
                                             "fi\n"
                                             "exec \"$REAL\" \"$@\"\n")
                               << failed + QStringLiteral("3）。\r\nQuenda: ");
    // A converter that writes something and then reads nothing back, silently.
    QTest::newRow("reads back nothing") << QByteArray("[ \"$1\" = -e ] && echo x > \"$3\"\nexit 0\n")
                                        << failed + QStringLiteral("0）。\r\n変換結果を読み戻せません");
    QTest::newRow("refuses its own result") << QByteArray("[ \"$1\" = -e ] && echo x > \"$3\" && exit 0\nexit 5\n")
                                            << failed + QStringLiteral("5）。\r\n変換結果を読み戻せません");
    // Results that read back well but hold another phone book: the first 700 bytes of
    // it, or one digit of a phone number changed.
    const QByteArray xml = readFileBytes(fixture(QStringLiteral("filled_KN820Std.xml")));
    const QString different = QStringLiteral("変換プログラムが作成した \"%1\" は保存する電話帳と一致しないため、"
                                             "保存しませんでした。\r\n読み戻した内容が %2 行目（%3 バイト目）から"
                                             "異なります（保存する電話帳 %4 バイト、読み戻した内容 %5 バイト）。");
    const auto lineAt = [&xml](qsizetype at) { return QString::number(xml.left(at).count('\n') + 1); };
    QTest::newRow("a cut phone book") << QByteArray("if [ \"$1\" = -e ]; then\n"
                                                    "  head -c 700 \"$2\" > \"$2.cut\"\n"
                                                    "  exec \"$REAL\" -e \"$2.cut\" \"$3\"\n"
                                                    "fi\n"
                                                    "exec \"$REAL\" \"$@\"\n")
                                      << QStringLiteral("%1").arg(
                                             different.arg(QStringLiteral("%1"), lineAt(700), QStringLiteral("701"),
                                                           QString::number(xml.size()), QStringLiteral("700")));
    const qsizetype digit = xml.indexOf("<d>6666") + 6;
    QTest::newRow("one digit changed") << QByteArray("if [ \"$1\" = -e ]; then\n"
                                                     "  sed 's/<d>6666/<d>6668/' \"$2\" > \"$2.changed\"\n"
                                                     "  exec \"$REAL\" -e \"$2.changed\" \"$3\"\n"
                                                     "fi\n"
                                                     "exec \"$REAL\" \"$@\"\n")
                                       << different.arg(QStringLiteral("%1"), lineAt(digit), QString::number(digit + 1),
                                                        QString::number(xml.size()), QString::number(xml.size()));
}

void TestFaultInjectionFiles::legResultMustReadBack()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, expected);
    const QString converter = AppPaths::converter();
    writeFile(converter, "#!/bin/sh\nREAL='" + QFile::encodeName(binDir()) + "/Quenda.dll'\n" + script);
    QFile::setPermissions(converter, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QString folder = dir_->filePath(QStringLiteral("files"));
    const QString target = folder + QStringLiteral("/book.leg");
    const QByteArray old = legContainer(readFileBytes(fixture(QStringLiteral("filled_LM630Std.xml"))));
    writeFile(target, old);
    const QString text = decodeText(readFileBytes(fixture(QStringLiteral("filled_KN820Std.xml"))));
    try {
        LegConverter::writeLeg(target, text);
        QFAIL("a result that does not read back replaced the target");
    } catch (const DalvinoError &e) {
        qInfo("%s", qPrintable(QString(e.text()).replace(QStringLiteral("\r\n"), QStringLiteral(" "))));
        QVERIFY2(e.text().startsWith(expected.arg(target)), qPrintable(e.text()));
    }
    QCOMPARE(readFileBytes(target), old);
    QCOMPARE(filesIn(folder), QStringList{QStringLiteral("book.leg")});
}

void TestFaultInjectionFiles::writeLimitKeepsTheOldFile()
{
    const QString folder = dir_->filePath(QStringLiteral("files"));
    const QString path = folder + QStringLiteral("/book.xml");
    writeFile(path, "old contents");
    setWriteLimitForTesting(5);
    try {
        writeFileAtomically(path, QByteArray(1000, 'n'));
        QFAIL("a write beyond the limit went through");
    } catch (const DalvinoError &e) {
        QCOMPARE(e.text(), cannotCreateText(path, QString::fromLocal8Bit(std::strerror(ENOSPC))));
    }
    QCOMPARE(readFileBytes(path), QByteArray("old contents"));
    QCOMPARE(filesIn(folder), QStringList{QStringLiteral("book.xml")});
    // Within the limit, and with it lifted, writes go through.
    writeFileAtomically(path, "new");
    QCOMPARE(readFileBytes(path), QByteArray("new"));
    setWriteLimitForTesting(-1);
    writeFileAtomically(path, QByteArray(1000, 'n'));
    QCOMPARE(readFileBytes(path).size(), 1000);
}

void TestFaultInjectionFiles::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("existing");
    // Up to 16 KB a buffered write may not reach the disk before the file is committed.
    for (const int size : {100, 16 * 1024, 16 * 1024 + 1, 200 * 1024}) {
        QTest::addRow("%d bytes over an old file", size) << size << true;
        QTest::addRow("%d bytes, new file", size) << size << false;
    }
}

void TestFaultInjectionFiles::fullDiskKeepsTheOldFile()
{
    QFETCH(int, size);
    QFETCH(bool, existing);
    const QString folder = dir_->filePath(QStringLiteral("files"));
    TmpfsMount mount(folder, 512);
    if (!mount.mounted())
        QSKIP("cannot mount a tmpfs here (needs root where mounting is allowed): no full disk to write to");
    const QString path = folder + QStringLiteral("/book.xml");
    if (existing)
        writeFile(path, "old contents");
    QVERIFY(mount.fill());
    try {
        writeFileAtomically(path, QByteArray(size, 'n'));
        QFAIL("a write onto a full disk went through");
    } catch (const DalvinoError &e) {
        QCOMPARE(e.text(), cannotCreateText(path, QString::fromLocal8Bit(std::strerror(ENOSPC))));
    }
    if (existing)
        QCOMPARE(readFileBytes(path), QByteArray("old contents"));
    const QStringList expected = existing ? QStringList{QStringLiteral("book.xml"), QStringLiteral("filler")}
                                          : QStringList{QStringLiteral("filler")};
    QCOMPARE(filesIn(folder), expected);
}

void TestFaultInjectionFiles::oversizedInputIsRefused_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("endless"); // a link to /dev/zero, else a sparse file just over the limit
    const std::pair<const char *, const char *> readers[] = {{"phone book", ".xml"},
                                                             {"legacy CSV", ".csv"},
                                                             {"import CSV", ".csv"},
                                                             {"help data", ".dat"},
                                                             {"settings", ".ini"}};
    for (const auto &[reader, suffix] : readers) {
        // The help reads only regular files.
        if (qstrcmp(reader, "help data") != 0)
            QTest::addRow("%s, link to /dev/zero", reader) << reader << suffix << true;
        QTest::addRow("%s, sparse file", reader) << reader << suffix << false;
    }
}

void TestFaultInjectionFiles::oversizedInputIsRefused()
{
    QFETCH(QString, reader);
    QFETCH(QString, suffix);
    QFETCH(bool, endless);
    const QString path = dir_->filePath(QStringLiteral("files/input") + suffix);
    if (endless) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(MaxFileBytes + 1));
    }
    const bool peakReset = resetPeak();
    const qint64 residentBefore = currentKilobytes();
    const qint64 processorBefore = processorMilliseconds();
    QString refusal;
    try {
        if (reader == QStringLiteral("phone book"))
            PhoneBookFiles::load(path, PhoneBook());
        else if (reader == QStringLiteral("legacy CSV"))
            LegacyCsv::read(path, PhoneBook(), {});
        else if (reader == QStringLiteral("import CSV"))
            CsvImport::decode(readFileBytes(path));
        else if (reader == QStringLiteral("help data"))
            loadHelpTree(path);
        else
            QVERIFY(!IniFile::load(path).contains(QStringLiteral("Setting"), QStringLiteral("Top")));
    } catch (const DalvinoError &e) {
        refusal = e.text();
    }
    const qint64 elapsed = processorMilliseconds() - processorBefore;
    const qint64 grown = peakKilobytes() - residentBefore;
    qInfo("%s: %lld ms of processor time, peak %lld KB above the %lld KB before%s", QTest::currentDataTag(), elapsed, grown,
          residentBefore, peakReset ? "" : " (peak not reset)");
    if (reader != QStringLiteral("settings")) // the settings file falls back to the defaults
        QCOMPARE(refusal, cannotOpenText(path, tooLargeText()));
    QVERIFY2(elapsed < timeLimitMilliseconds() / 10, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
    // A device is read up to the limit and no further.
    if (peakReset)
        QVERIFY2(grown < 3 * MaxFileBytes / 1024, qPrintable(QStringLiteral("%1 KB").arg(grown)));
}

void TestFaultInjectionFiles::fullFileSystemKeepsTheOldLeg_data()
{
    QTest::addColumn<bool>("workingFolder"); // the working folder is full, else the target's
    QTest::addColumn<int>("entries");
    // Below and above 16 KB, the size up to which a full disk once went unnoticed.
    for (const bool working : {false, true}) {
        for (const int entries : {60, 300})
            QTest::addRow("%s full, %d entries", working ? "working folder" : "target folder", entries)
                << working << entries;
    }
}

void TestFaultInjectionFiles::fullFileSystemKeepsTheOldLeg()
{
    QFETCH(bool, workingFolder);
    QFETCH(int, entries);
    const QString files = dir_->filePath(QStringLiteral("files"));
    QVERIFY(QFile::link(binDir() + QStringLiteral("/Quenda.dll"), AppPaths::converter()));
    const QString full = workingFolder ? AppPaths::workingFolder() : files;
    TmpfsMount mount(full, 256);
    if (!mount.mounted())
        QSKIP("no right to mount a tmpfs here");
    // A fresh tmpfs may be written by everyone, which a working folder must not be.
    QVERIFY(QFile::setPermissions(full, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString target = files + QStringLiteral("/book.leg");
    const QByteArray old = legContainer(readFileBytes(fixture(QStringLiteral("filled_LM630Std.xml"))));
    writeFile(target, old);

    PhoneBook book;
    book.Syubetu = ModelLM630Std;
    for (int i = 0; i < entries; ++i) {
        book.entries[i].setField(DialEntry::Name, QStringLiteral("名前%1").arg(i));
        book.entries[i].setField(DialEntry::Phone, QStringLiteral("0312345678"));
    }
    const QString text = buildXmlPhoneBook(book).text;
    const qsizetype size = encodeCp932(text).size();
    QVERIFY(entries < 100 ? size < 16 * 1024 : size > 16 * 1024);
    QVERIFY(mount.fill());

    const QString noSpace = QString::fromLocal8Bit(std::strerror(ENOSPC));
    try {
        LegConverter::writeLeg(target, text);
        QFAIL("saved onto a full disk");
    } catch (const DalvinoError &e) {
        qInfo("%lld bytes: %s", qlonglong(size),
              qPrintable(QString(e.text()).replace(QStringLiteral("\r\n"), QStringLiteral(" "))));
        QVERIFY2(e.text().contains(noSpace), qPrintable(e.text()));
    }
    QCOMPARE(readFileBytes(target), old);
    QStringList left{QStringLiteral("book.leg")};
    if (!workingFolder)
        left << QStringLiteral("filler");
    QCOMPARE(filesIn(files), left);
    if (workingFolder) {
        // Opening a .leg file needs the working folder too: the same reason.
        try {
            LegConverter::readLeg(target);
            QFAIL("opened through a full working folder");
        } catch (const DalvinoError &e) {
            QVERIFY2(e.text().contains(noSpace), qPrintable(e.text()));
        }
    }
}

QTEST_GUILESS_MAIN(TestFaultInjectionFiles)
#include "tst_faultinjection_files.moc"
