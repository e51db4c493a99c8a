#include "CliRun.h"
#include "TestPaths.h"
#include "formats/TextFile.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Run = CliRun;

Run cli(const QStringList &arguments)
{
    return runCli(arguments);
}

QString legacyHeader(const QString &signature, const QString &field4, const QString &variant)
{
    QStringList fields{signature, QStringLiteral("x"), QStringLiteral("0"), field4};
    while (fields.size() < 14)
        fields << QStringLiteral("h");
    fields << variant;
    return fields.join(u',');
}

const QString Address = QStringLiteral("名前,カナ,電話,グループ,着信音,メモ\r\n"
                                       "山田,やまだ,(03)1234-5678,3,2,営業\r\n"
                                       "鈴木,すずき,03(1234)5678,10,A,\r\n");

} // namespace

class TestCliCsv : public QObject {
    Q_OBJECT

private slots:
    void convertLegacyCsvToXml();
    void convertToCsvExport();
    void convertRefusesOtherCsv();
    void convertLegacyErrorWritesNothing();
    void importCsvToCsv();
    void importCsvUtf8AndModel();
    void importCsvChecks_data();
    void importCsvChecks();
    void importCsvRows_data();
    void importCsvRows();
    void importCsvQuotedFields();
    void importCsvEncoding();
    void help();

private:
    QString path(const QString &name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

void TestCliCsv::convertLegacyCsvToXml()
{
    writeTextLines(path("old.csv"), {legacyHeader("PQ---R", "0x08", "4"), "1,2,3,4,5,6,7,山田,ﾔﾏﾀﾞ,03-1",
                                     "1,2,3,4,5,6,7,鈴木,ｽｽﾞｷ,04-2"});
    const Run run = cli({"convert", path("old.csv"), path("out.xml")});
    QCOMPARE(run.exitCode, 0);
    // The count message of the read comes first, the writer's notices after it.
    QVERIFY2(run.err.startsWith(QStringLiteral("2件のデータが登録されています\n")), qPrintable(run.err));
    const Run info = cli({"info", path("out.xml")});
    QCOMPARE(info.exitCode, 0);
    QVERIFY2(info.out.contains(QStringLiteral("model: ZR410Pro\n")), qPrintable(info.out));
    QVERIFY(info.out.contains(QStringLiteral("entries: 2\n")));
}

void TestCliCsv::convertToCsvExport()
{
    writeTextLines(path("old.csv"), {legacyHeader("NV300R", "0x01", "2"), "個別,05,3,4,5,6,7,山田,ﾔﾏﾀﾞ,03-1"});
    const Run run = cli({"convert", path("old.csv"), path("export.csv")});
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = readLines(path("export.csv"));
    QCOMPARE(lines.size(), 4001);
    QCOMPARE(lines.first(), QStringLiteral("短縮番号,名前,カナ,電話番号,グループ,着信音,登録実装,着信先,メモ"));
    QCOMPARE(lines.at(1), QStringLiteral("0000,山田,ﾔﾏﾀﾞ,03-1,個別,設定なし,05,0,"));
    QCOMPARE(lines.at(2), QStringLiteral("0001,,,,グループ０,設定なし,01,0,"));
}

void TestCliCsv::convertRefusesOtherCsv()
{
    writeTextLines(path("address.csv"), splitLines(Address));
    const Run run = cli({"convert", path("address.csv"), path("refused.xml")});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err, QStringLiteral("NVシリーズの短縮データではありません\n"));
    QVERIFY(!QFile::exists(path("refused.xml")));
}

void TestCliCsv::convertLegacyErrorWritesNothing()
{
    writeTextLines(path("broken.csv"), {legacyHeader("CW214R", "0x01", "3"), "1,2,3,4,5,山田,ﾔﾏﾀﾞ,03", "1,2,3"});
    const Run run = cli({"convert", path("broken.csv"), path("broken.xml")});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err, QStringLiteral("3行目にフィールド6がないため読み込みを中止しました\n"));
    QVERIFY(!QFile::exists(path("broken.xml")));
}

void TestCliCsv::importCsvToCsv()
{
    writeTextLines(path("address.csv"), splitLines(Address));
    const Run run = cli({"import-csv", path("address.csv"), path("imported.csv"), "--from", "2", "--to", "3", "--name",
                         "1", "--kana", "2", "--phone", "3", "--group", "4", "--ring", "5", "--memo", "6"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());
    const QStringList lines = readLines(path("imported.csv"));
    QCOMPARE(lines.at(1), QStringLiteral("0000,山田,ﾔﾏﾀﾞ,03-1234-5678,グループ３,着信メロディ１,01,0,営業"));
    QCOMPARE(lines.at(2), QStringLiteral("0001,鈴木,ｽｽﾞｷ,03-1234-5678,個別,着信音Ａ,01,0,"));
    QCOMPARE(lines.at(3), QStringLiteral("0002,,,,グループ０,設定なし,01,0,"));
}

void TestCliCsv::importCsvUtf8AndModel()
{
    QFile file(path("utf8.csv"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(Address.toUtf8());
    file.close();
    const Run run = cli({"import-csv", path("utf8.csv"), path("utf8.xml"), "--from", "2", "--to", "3", "--name", "1",
                         "--phone", "3", "--ring", "5", "--model", "Morvel"});
    QCOMPARE(run.exitCode, 0);
    const Run info = cli({"info", path("utf8.xml")});
    QVERIFY2(info.out.contains(QStringLiteral("model: Morvel\n")), qPrintable(info.out));
    QVERIFY(info.out.contains(QStringLiteral("entries: 2\n")));
    QVERIFY(readLines(path("utf8.xml")).join(u'\n').contains(QStringLiteral("山田")));
}

void TestCliCsv::importCsvChecks_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("message");
    QTest::newRow("rows beyond the file")
        << QStringList{"--from", "2", "--to", "9", "--name", "1", "--kana", "2"} << "--to 9: the file has 3 rows";
    QTest::newRow("unknown encoding") << QStringList{"--from", "1",      "--to", "2",          "--name",
                                                     "1",      "--kana", "2",    "--encoding", "latin1"}
                                      << "Unknown encoding \"latin1\"";
    QTest::newRow("one field")
        << QStringList{"--from", "1", "--to", "2", "--name", "1"}
        << "最低でも名前・カナ・電話番号いずれか2つのフィールドを指定し、全て別のフィールドにしてください";
    QTest::newRow("same field")
        << QStringList{"--from", "1", "--to", "2", "--name", "1", "--kana", "1"}
        << "最低でも名前・カナ・電話番号いずれか2つのフィールドを指定し、全て別のフィールドにしてください";
    QTest::newRow("field beyond the file")
        << QStringList{"--from", "1", "--to", "2", "--name", "1", "--kana", "9"} << "--kana 9: the file has 6 fields";
    QTest::newRow("not a number") << QStringList{"--from", "x", "--to", "2", "--name", "1", "--kana", "2"}
                                  << "--from needs a whole number from 1, not \"x\"";
}

void TestCliCsv::importCsvChecks()
{
    QFETCH(QStringList, options);
    QFETCH(QString, message);
    writeTextLines(path("address.csv"), splitLines(Address));
    const Run run = cli(QStringList{"import-csv", path("address.csv"), path("checked.xml")} + options);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err.split(u'\n').first(), message);
    QVERIFY(!QFile::exists(path("checked.xml")));
}

// Rows are taken as asked or refused, never moved.
void TestCliCsv::importCsvRows_data()
{
    QTest::addColumn<int>("fileRows");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("err");
    QTest::addColumn<int>("imported");
    QTest::newRow("start past 4000") << 4600 << 4500 << 4600 << 2 << "--from 4500: the row can be at most 4000\n" << 0;
    QTest::newRow("end past 4001") << 4600 << 3000 << 4002 << 2 << "--to 4002: the row can be at most 4001\n" << 0;
    QTest::newRow("last rows allowed") << 4600 << 3900 << 4001 << 0 << QString() << 102;
    QTest::newRow("end beyond the file") << 3000 << 2900 << 3100 << 2 << "--to 3100: the file has 3000 rows\n" << 0;
    QTest::newRow("start beyond the file") << 3000 << 3500 << 3600 << 2 << "--from 3500: the file has 3000 rows\n" << 0;
    QTest::newRow("more than 4000 rows")
        << 4600 << 1 << 4001 << 0 << "Rows 4001 to 4001 (1 rows) were left out: a phone book holds 4000 entries\n"
        << 4000;
}

void TestCliCsv::importCsvRows()
{
    QFETCH(int, fileRows);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, exitCode);
    QFETCH(QString, err);
    QFETCH(int, imported);
    QStringList lines;
    for (int row = 1; row <= fileRows; ++row)
        lines << QStringLiteral("名前%1,03-%1").arg(row);
    writeTextLines(path("rows.csv"), lines);
    const Run run = cli({"import-csv", path("rows.csv"), path("rows-out.csv"), "--from", QString::number(from), "--to",
                         QString::number(to), "--name", "1", "--phone", "2"});
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.err, err);
    QCOMPARE(QFile::exists(path("rows-out.csv")), exitCode == 0);
    if (exitCode != 0)
        return;
    const QStringList out = readLines(path("rows-out.csv"));
    QCOMPARE(out.at(1).section(u',', 3, 3), QStringLiteral("03-%1").arg(from));
    QCOMPARE(out.at(imported).section(u',', 3, 3), QStringLiteral("03-%1").arg(from + imported - 1));
    if (imported < 4000)
        QCOMPARE(out.at(imported + 1).section(u',', 3, 3), QString());
    QFile::remove(path("rows-out.csv"));
}

// An Outlook export, every field quoted, whose last line lost its closing quote.
void TestCliCsv::importCsvQuotedFields()
{
    QFile file(path("outlook.csv"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(encodeCp932(u"\"名\",\"姓\",\"勤務先電話\"\r\n\"太郎\",\"山田, 営業\",\"03-1234\"\r\n"
                           u"\"\",\"鈴木\",\"04-5678\r\n"));
    file.close();
    const Run run = cli({"import-csv", path("outlook.csv"), path("outlook-out.csv"), "--from", "2", "--to", "3",
                         "--name", "2", "--phone", "3"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err,
             QStringLiteral("3行目の「\"」が閉じられていないため、その行の終わりまでを１つのフィールドとして読み込みま"
                            "した\n"));
    const QStringList out = readLines(path("outlook-out.csv"));
    QCOMPARE(out.at(1), QStringLiteral("0000,山田，　営業,,03-1234,グループ０,設定なし,01,0,"));
    QCOMPARE(out.at(2), QStringLiteral("0001,鈴木,,04-5678,グループ０,設定なし,01,0,"));
}

// Half-width katakana in code page 932 that is also valid UTF-8: found as code page 932,
// read as UTF-8 only when asked; what code page 932 cannot hold is named on writing.
void TestCliCsv::importCsvEncoding()
{
    QFile file(path("kana.csv"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(encodeCp932(u"ﾅｶﾆｼ,03"));
    file.close();
    const Run found = cli(
        {"import-csv", path("kana.csv"), path("kana.xml"), "--from", "1", "--to", "1", "--kana", "1", "--phone", "2"});
    QCOMPARE(found.exitCode, 0);
    QCOMPARE(found.err, QString());
    QVERIFY(readLines(path("kana.xml")).contains(QStringLiteral("\t\t\t<kn>ﾅｶﾆｼ</kn>")));
    const Run asked = cli({"import-csv", path("kana.csv"), path("utf8.xml"), "--from", "1", "--to", "1", "--name", "1",
                           "--phone", "2", "--encoding", "utf-8"});
    QCOMPARE(asked.exitCode, 0);
    QCOMPARE(asked.err, QStringLiteral("Shift-JISにない文字を含むデータが1件あります（短縮番号 0000） "
                                       "これらの文字は「?」として保存されます\n"));
    QVERIFY(readLines(path("utf8.xml")).contains(QStringLiteral("\t\t\t<kj>?\?</kj>")));
}

void TestCliCsv::help()
{
    const Run run = cli({"--help"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.contains(QStringLiteral("dalvino-cli import-csv IN OUT --from R --to R")));
    QVERIFY(run.out.contains(QStringLiteral(".xml, .leg, .csv")));
}

QTEST_GUILESS_MAIN(TestCliCsv)
#include "tst_cli_csv.moc"
