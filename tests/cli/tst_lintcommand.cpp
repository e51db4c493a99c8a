#include "CliRun.h"
#include "core/NumberLint.h"
#include "formats/TextFile.h"
#include "formats/XmlPhoneBook.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestLintCommand : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void run_data();
    void run();

private:
    QTemporaryDir dir;
};

void TestLintCommand::initTestCase()
{
    QVERIFY(dir.isValid());
    PhoneBook clean;
    clean.entries[0].setField(DialEntry::Name, QStringLiteral("本社"));
    clean.entries[0].setField(DialEntry::Phone, QStringLiteral("03-5321-1111"));
    clean.entries[1].setField(DialEntry::Name, QStringLiteral("受付"));
    clean.entries[1].setField(DialEntry::Phone, QStringLiteral("201"));
    writeTextLines(dir.filePath(QStringLiteral("clean.xml")), buildXmlPhoneBook(clean).lines());

    PhoneBook faulty = clean;
    faulty.entries[2].setField(DialEntry::Name, QStringLiteral("本社"));
    faulty.entries[2].setField(DialEntry::Phone, QStringLiteral("090-1234-567"));
    writeTextLines(dir.filePath(QStringLiteral("faulty.xml")), buildXmlPhoneBook(faulty).lines());
}

void TestLintCommand::run_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("report"); // also the report file's text; empty: no report
    QTest::newRow("clean") << QStringList{"clean.xml", "--report", "clean.txt"} << 0 << numberLintCleanReport();
    QTest::newRow("faulty") << QStringList{"faulty.xml", "--report", "faulty.txt"} << 1
                            << QStringLiteral("■番号として正しくない電話番号\r\n【短縮0002】\r\n"
                                              "    090-1234-567　電話番号の桁が足りません\r\n\r\n"
                                              "■同じ名前で番号が違う短縮があります\r\n【本社】\r\n"
                                              "    短縮0000　03-5321-1111\r\n    短縮0002　090-1234-567\r\n\r\n");
    QTest::newRow("two files") << QStringList{"clean.xml", "faulty.xml"} << 2 << QString();
    QTest::newRow("report without a file") << QStringList{"clean.xml", "--report"} << 2 << QString();
    QTest::newRow("missing file") << QStringList{"missing.xml"} << 2 << QString();
    QTest::newRow("report that cannot be written")
        << QStringList{"faulty.xml", "--report", "no/such/folder.txt"} << 2 << QString();
}

void TestLintCommand::run()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, report);
    QStringList command{QStringLiteral("lint")};
    for (const QString &argument : arguments)
        command << (argument.startsWith(u'-') ? argument : dir.filePath(argument));

    const CliRun run = runCli(command);
    QCOMPARE(run.exitCode, exitCode);
    if (report.isEmpty()) {
        QVERIFY(run.out.isEmpty());
        QVERIFY(!run.err.isEmpty());
        return;
    }
    QCOMPARE(run.out, report.endsWith(u'\n') ? report : report + u'\n');
    QFile file(command.last());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), encodeCp932(report));
}

QTEST_GUILESS_MAIN(TestLintCommand)
#include "tst_lintcommand.moc"
