#include "CliRun.h"
#include "formats/TextFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// name, phone number, kana: the first entry has a kana of its own.
const QStringList Rows{QStringLiteral("丸山工業株式会社,03-1,ﾃｽﾄ"), QStringLiteral("佐藤　健一,03-2,"),
                       QStringLiteral("㈱,03-3,")};

class TestCliKana : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void kana_data();
    void kana();
    void importKanaFromName();
    void importKanaFromNameWithKanaField();

private:
    QString path(const QString &name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

void TestCliKana::initTestCase()
{
    writeTextLines(path("rows.csv"), Rows);
    const CliRun run = runCli({"import-csv", path("rows.csv"), path("book.xml"), "--from", "1", "--to", "3", "--name",
                               "1", "--phone", "2", "--kana", "3"});
    QCOMPARE(run.exitCode, 0);
}

void TestCliKana::kana_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("kana");
    QTest::addColumn<QStringList>("proposals");

    QTest::newRow("empty kana only") << QStringList{}
                                     << QStringList{QStringLiteral("ﾃｽﾄ"), QStringLiteral("ｻﾄｳ ｹﾝｲﾁ"), QString()}
                                     << QStringList{QStringLiteral("0001 佐藤　健一: ｻﾄｳ ｹﾝｲﾁ"),
                                                    QStringLiteral("0002 ㈱: no reading")};
    QTest::newRow("every kana") << QStringList{QStringLiteral("--all")}
                                << QStringList{QStringLiteral("ﾏﾙﾔﾏｺｳｷﾞｮｳ"), QStringLiteral("ｻﾄｳ ｹﾝｲﾁ"), QString()}
                                << QStringList{QStringLiteral("0000 丸山工業株式会社: ﾏﾙﾔﾏｺｳｷﾞｮｳ"),
                                               QStringLiteral("0001 佐藤　健一: ｻﾄｳ ｹﾝｲﾁ"),
                                               QStringLiteral("0002 ㈱: no reading")};
}

void TestCliKana::kana()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, kana);
    QFETCH(QStringList, proposals);
    QFile::remove(path("out.csv"));
    const CliRun run = runCli(QStringList{"kana", path("book.xml"), path("out.csv")} + options);
    QCOMPARE(run.exitCode, 0);
    // The count of the read, then one line per proposal; alternatives may follow a proposal.
    QStringList lines = run.err.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.takeFirst(), QStringLiteral("3件のデータが登録されています"));
    QCOMPARE(lines.size(), proposals.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        QVERIFY2(lines[i] == proposals[i] || lines[i].startsWith(proposals[i] + QStringLiteral(" (also ")),
                 qPrintable(lines[i]));
    const QStringList out = readLines(path("out.csv"));
    for (qsizetype i = 0; i < kana.size(); ++i)
        QCOMPARE(out.at(i + 1).split(u',').at(2), kana[i]);
}

void TestCliKana::importKanaFromName()
{
    const CliRun run = runCli({"import-csv", path("rows.csv"), path("named.csv"), "--from", "1", "--to", "3", "--name",
                               "1", "--phone", "2", "--kana-from-name"});
    QCOMPARE(run.exitCode, 0);
    const QStringList out = readLines(path("named.csv"));
    QCOMPARE(out.at(1), QStringLiteral("0000,丸山工業株式会社,ﾏﾙﾔﾏｺｳｷﾞｮｳ,03-1,グループ０,設定なし,01,0,"));
    QCOMPARE(out.at(2).split(u',').at(2), QStringLiteral("ｻﾄｳ ｹﾝｲﾁ"));
    QCOMPARE(out.at(3).split(u',').at(2), QString());
}

void TestCliKana::importKanaFromNameWithKanaField()
{
    const CliRun run = runCli({"import-csv", path("rows.csv"), path("refused.csv"), "--from", "1", "--to", "3",
                               "--name", "1", "--kana", "3", "--kana-from-name"});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.startsWith(QStringLiteral("--kana-from-name is for a file without a kana field\n")),
             qPrintable(run.err));
    QVERIFY(!QFile::exists(path("refused.csv")));
}

QTEST_GUILESS_MAIN(TestCliKana)
#include "tst_clikana.moc"
