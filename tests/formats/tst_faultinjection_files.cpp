#include "FaultFiles.h"
#include "TestPaths.h"

#include "core/DalvinoError.h"
#include "formats/AppPaths.h"
#include "formats/LegConverter.h"
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
// for a damaged result, a write that runs out of space.
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
    void fullFileSystemKeepsTheOldFile();

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

void TestFaultInjectionFiles::fullFileSystemKeepsTheOldFile()
{
    const QString folder = dir_->filePath(QStringLiteral("files"));
    TmpfsMount mount(folder, 64);
    if (!mount.mounted())
        QSKIP("no right to mount a tmpfs here; writeLimitKeepsTheOldFile covers the failure");
    const QString path = folder + QStringLiteral("/book.xml");
    writeFile(path, "old contents");
    QVERIFY(mount.fill());
    try {
        writeFileAtomically(path, QByteArray(64 * 1024, 'n'));
        QFAIL("a write onto a full disk went through");
    } catch (const DalvinoError &e) {
        QVERIFY2(e.text().startsWith(cannotCreateText(path, QString())), qPrintable(e.text()));
    }
    QCOMPARE(readFileBytes(path), QByteArray("old contents"));
    QCOMPARE(filesIn(folder), (QStringList{QStringLiteral("book.xml"), QStringLiteral("filler")}));
}

QTEST_GUILESS_MAIN(TestFaultInjectionFiles)
#include "tst_faultinjection_files.moc"
