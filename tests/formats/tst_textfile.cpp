#include "core/DalvinoError.h"
#include "formats/IniFile.h"
#include "formats/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

class TestTextFile : public QObject {
    Q_OBJECT
private slots:
    void cp932RoundTrip_data();
    void cp932RoundTrip();
    void unmappable_data();
    void unmappable();
    void byteOrderMarks_data();
    void byteOrderMarks();
    void lineEnds_data();
    void lineEnds();
    void writeLinesEndsEveryLine();
    void writeKeepsOldFileOnFailure();
    void writeThroughLinksKeepsPermissions();
    void errorTexts();
    void iniFile();
};

void TestTextFile::cp932RoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("fullwidth hyphen-minus") << QStringLiteral("－") << QByteArray("\x81\x7C");
    QTest::newRow("fullwidth tilde") << QStringLiteral("～") << QByteArray("\x81\x60");
    QTest::newRow("parallel") << QStringLiteral("∥") << QByteArray("\x81\x61");
    QTest::newRow("cent") << QStringLiteral("￠") << QByteArray("\x81\x91");
    QTest::newRow("pound") << QStringLiteral("￡") << QByteArray("\x81\x92");
    QTest::newRow("not sign") << QStringLiteral("￢") << QByteArray("\x81\xCA");
    QTest::newRow("circled one") << QStringLiteral("①") << QByteArray("\x87\x40");
    QTest::newRow("roman one") << QStringLiteral("Ⅰ") << QByteArray("\x87\x54");
    QTest::newRow("kabushiki") << QStringLiteral("㈱") << QByteArray("\x87\x8A");
    QTest::newRow("backslash") << QStringLiteral("\\") << QByteArray("\x5C");
    QTest::newRow("half kana") << QStringLiteral("ｶﾞ") << QByteArray("\xB6\xDE");
    QTest::newRow("kanji") << QStringLiteral("山田") << QByteArray("\x8E\x52\x93\x63");
    QTest::newRow("ascii") << QStringLiteral("<r no=\"0001\">") << QByteArray("<r no=\"0001\">");
}

void TestTextFile::cp932RoundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(encodeCp932(text), bytes);
    QCOMPARE(decodeCp932(bytes), text);
    QCOMPARE(decodeText(bytes), text);
}

void TestTextFile::unmappable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("minus sign") << QStringLiteral("a\u2212b") << QByteArray("a?b");
    QTest::newRow("wave dash") << QStringLiteral("\u301C") << QByteArray("?");
    QTest::newRow("outside the BMP") << QString::fromUcs4(U"x\U0001F600y") << QByteArray("x?y");
    QTest::newRow("hangul") << QStringLiteral("한") << QByteArray("?");
}

void TestTextFile::unmappable()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(encodeCp932(text), bytes);
}

void TestTextFile::byteOrderMarks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("utf-8") << QByteArray("\xEF\xBB\xBF\xE5\xB1\xB1") << QStringLiteral("山");
    QTest::newRow("utf-16 le") << QByteArray("\xFF\xFE\x71\x5C", 4) << QStringLiteral("山");
    QTest::newRow("utf-16 be") << QByteArray("\xFE\xFF\x5C\x71", 4) << QStringLiteral("山");
    QTest::newRow("no mark is cp932") << QByteArray("\x8E\x52") << QStringLiteral("山");
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestTextFile::byteOrderMarks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decodeText(bytes), text);
}

void TestTextFile::lineEnds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << "a\r\nb\r\n" << QStringList{"a", "b"};
    QTest::newRow("lone cr") << "a\rb" << QStringList{"a", "b"};
    QTest::newRow("lone lf") << "a\nb\n" << QStringList{"a", "b"};
    QTest::newRow("mixed with empty lines") << "a\n\r\n\rb" << QStringList{"a", "", "", "b"};
    QTest::newRow("lf cr is two ends") << "a\n\rb" << QStringList{"a", "", "b"};
    QTest::newRow("no final end") << "a\r\nb" << QStringList{"a", "b"};
    QTest::newRow("only a line end") << "\r\n" << QStringList{""};
    QTest::newRow("empty") << "" << QStringList{};
    // Line ends are looked for eight characters at a time: ends on both sides of and
    // across the boundaries, and several in one group of eight.
    QTest::newRow("crlf across a boundary")
        << "1234567\r\n0123456789abcde\r\nx" << QStringList{"1234567", "0123456789abcde", "x"};
    QTest::newRow("cr ending a group") << "1234567\r89" << QStringList{"1234567", "89"};
    QTest::newRow("several in a group") << "a\nb\r\nc\rd\n\ne" << QStringList{"a", "b", "c", "d", "", "e"};
    QTest::newRow("long line without an end")
        << "abcdefghijklmnopqrstuvwxyz" << QStringList{"abcdefghijklmnopqrstuvwxyz"};
    QTest::newRow("end in the tail") << "abcdefghijklmnopq\r\n" << QStringList{"abcdefghijklmnopq"};
}

void TestTextFile::lineEnds()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(splitLines(text), lines);
}

void TestTextFile::writeLinesEndsEveryLine()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    writeTextLines(path, {QStringLiteral("山田"), QString(), QStringLiteral("～")});
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\x8E\x52\x93\x63\r\n\r\n\x81\x60\r\n"));
    QCOMPARE(readLines(path), (QStringList{QStringLiteral("山田"), QString(), QStringLiteral("～")}));
}

void TestTextFile::writeKeepsOldFileOnFailure()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.txt");
    writeText(path, QStringLiteral("old"));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool canStillWrite = QFile(dir.filePath("probe")).open(QIODevice::WriteOnly); // root ignores modes
    if (!canStillWrite) {
        QVERIFY_THROWS_EXCEPTION(DalvinoError, writeText(path, QStringLiteral("new")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("old"));
    }
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // A target inside a missing folder cannot be created, for root too.
    const QString missing = dir.filePath("no/such/folder/out.txt");
    try {
        writeText(missing, QStringLiteral("x"));
        QFAIL("writing into a missing folder succeeded");
    } catch (const DalvinoError &e) {
        QVERIFY(e.text().startsWith(QStringLiteral("ファイル \"%1\" を作成できません。").arg(missing)));
    }
}

void TestTextFile::writeThroughLinksKeepsPermissions()
{
    QTemporaryDir dir;
    const QString real = dir.filePath("real.xml");
    const auto mode = [](const QString &path) {
        struct stat st {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0u;
    };
    // A new file follows the umask.
    const mode_t oldMask = ::umask(027);
    writeFileAtomically(real, "one");
    ::umask(oldMask);
    QCOMPARE(mode(real), 0640u);
    // A replaced file keeps its permissions.
    QVERIFY(::chmod(QFile::encodeName(real).constData(), 0604) == 0);
    writeFileAtomically(real, "two");
    QCOMPARE(mode(real), 0604u);
    // A link, relative and in another folder, is written through and stays a link.
    QVERIFY(QDir(dir.path()).mkdir("links"));
    const QString link = dir.filePath("links/book.xml");
    QVERIFY(QFile::link("../real.xml", link));
    writeFileAtomically(link, "three");
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readFileBytes(real), QByteArray("three"));
    QCOMPARE(mode(real), 0604u);
    QCOMPARE(QDir(dir.filePath("links")).entryList(QDir::Files | QDir::System | QDir::Hidden), QStringList{"book.xml"});
    // A link to a file not yet there makes that file.
    const QString dangling = dir.filePath("links/new.xml");
    QVERIFY(QFile::link(dir.filePath("made.xml"), dangling));
    writeFileAtomically(dangling, "four");
    QCOMPARE(readFileBytes(dir.filePath("made.xml")), QByteArray("four"));
    // Nor a file made read-only (root may write any file).
    if (::geteuid() != 0) {
        QVERIFY(::chmod(QFile::encodeName(real).constData(), 0444) == 0);
        QVERIFY_THROWS_EXCEPTION(DalvinoError, writeFileAtomically(real, "six"));
        QCOMPARE(readFileBytes(real), QByteArray("three"));
    }
    // A folder is never replaced by a file.
    try {
        writeFileAtomically(dir.filePath("links"), "five");
        QFAIL("a folder was replaced");
    } catch (const DalvinoError &e) {
        QCOMPARE(e.text(), cannotCreateText(dir.filePath("links"), QString::fromLocal8Bit(std::strerror(EISDIR))));
    }
}

void TestTextFile::errorTexts()
{
    QCOMPARE(cannotOpenText("C:/a.xml", "reason"), QStringLiteral("ファイル C:/a.xml は開けません。 reason "));
    QCOMPARE(cannotCreateText("C:/a.xml", "reason"), QStringLiteral("ファイル \"C:/a.xml\" を作成できません。reason"));
    try {
        readLines(QStringLiteral("/no/such/file.xml"));
        QFAIL("reading a missing file succeeded");
    } catch (const DalvinoError &e) {
        QVERIFY(e.text().startsWith(QStringLiteral("ファイル /no/such/file.xml は開けません。 ")));
        QVERIFY(e.text().endsWith(u' '));
    }
}

void TestTextFile::iniFile()
{
    const IniFile ini = IniFile::parse(QStringLiteral("[setting]\r\n top = 12 \r\nTop=99\r\nname=\"a b\"\r\n"
                                                      "Width=abc\r\n[Other]\r\nTop=5\r\n"));
    QCOMPARE(ini.readInteger("Setting", "TOP", 0), 12); // first line wins, names case-insensitive
    QCOMPARE(ini.readString("Setting", "name"), QStringLiteral("a b"));
    QCOMPARE(ini.readInteger("Setting", "Width", 669), 669);
    QCOMPARE(ini.readInteger("Setting", "Height", 557), 557);
    QCOMPARE(ini.readInteger("Other", "Top", 0), 5);

    IniFile written;
    written.writeString("Setting", "WindowState", "wsNormal");
    written.writeInteger("Setting", "DeviceType", -1);
    written.writeInteger("Setting", "DeviceType", 1);
    QCOMPARE(written.toText(), QStringLiteral("[Setting]\r\nWindowState=wsNormal\r\nDeviceType=1\r\n\r\n"));
}

QTEST_APPLESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
