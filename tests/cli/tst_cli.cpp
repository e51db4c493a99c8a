#include "CliRun.h"
#include "TestPaths.h"
#include "formats/TextFile.h"

#include <QDir>
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

QString fixture(const QString &name)
{
    return sourceDir() + QStringLiteral("/tests/formats/data/") + name;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void infoOfSeveralModels_data();
    void infoOfSeveralModels();
    void convertXmlToXmlOfAnotherModel();
    void convertKeepsTheFileModel();
    void convertIsByteExactForTheSameModel_data();
    void convertIsByteExactForTheSameModel();
    void convertThroughLegIsByteExact_data();
    void convertThroughLegIsByteExact();
    void twoProgramsConvertingAtOnceKeepTheirBooks();
    void damagedLegIsAnError();
    void errors_data();
    void errors();
    void notAPhoneBookLeavesNoOutput();
    void help();
    void samplesOpen_data();
    void samplesOpen();
};

void TestCli::infoOfSeveralModels_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("messages");
    QTest::newRow("LM630Pro") << "filled_LM630Pro.xml"
                              << "model: LM630Pro\ncustomer-name: 山田商事\ncustomer-number: 03-1234-5678\n"
                                 "write-mode: 追加モード\nmac-address: 0123456789AB\nentries: 5\ngroups: 3\n"
                              << "5件のデータが登録されています\n";
    QTest::newRow("ZR410Std") << "filled_ZR410Std.xml"
                              << "model: ZR410Std\ncustomer-name: 山田商事\ncustomer-number: 03-1234-5678\n"
                                 "write-mode: 追加モード\nmac-address: 000000000000\nentries: 3\ngroups: 3\n"
                              << "3件のデータが登録されています\n";
    QTest::newRow("KN820Std new")
        << "new_KN820Std.xml"
        << "model: KN820Std\ncustomer-name: \ncustomer-number: \n"
           "write-mode: 書き込み時にクリア\nmac-address: 000000000000\nentries: 0\ngroups: 0\n"
        << "0件のデータが登録されています\n";
    // Saved again by an editor as UTF-8 without a byte-order mark: the same book.
    QTest::newRow("LM630Pro as UTF-8") << "utf-8:filled_LM630Pro.xml"
                                       << "model: LM630Pro\ncustomer-name: 山田商事\ncustomer-number: 03-1234-5678\n"
                                          "write-mode: 追加モード\nmac-address: 0123456789AB\nentries: 5\ngroups: 3\n"
                                       << "5件のデータが登録されています\n";
    QTest::newRow("MorvelII") << "filled_MorvelII.xml"
                              << "model: MorvelⅡ\ncustomer-name: 山田商事\ncustomer-number: 03-1234-5678\n"
                                 "write-mode: 追加モード\nmac-address: 0123456789AB\nentries: 4\ngroups: 3\n"
                              << "4件のデータが登録されています\n";
}

void TestCli::infoOfSeveralModels()
{
    QFETCH(QString, file);
    QFETCH(QString, expected);
    QFETCH(QString, messages);
    QTemporaryDir dir;
    QString path = fixture(file);
    if (file.startsWith(QStringLiteral("utf-8:"))) {
        path = dir.filePath(QStringLiteral("utf8.xml"));
        writeFile(path, readLines(fixture(file.mid(6))).join(QStringLiteral("\r\n")).toUtf8());
    }
    const Run run = cli({QStringLiteral("info"), path});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, expected);
    QCOMPARE(run.err, messages);
}

void TestCli::convertXmlToXmlOfAnotherModel()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.xml"));
    const Run run = cli({QStringLiteral("convert"), fixture(QStringLiteral("filled_LM630Pro.xml")), out,
                         QStringLiteral("--model"), QStringLiteral("MorvelII")});
    QCOMPARE(run.exitCode, 0);
    // The writer's notice, one line.
    QCOMPARE(run.err, QStringLiteral("5件のデータが登録されています\n実装7以降の個別短縮は出力されません\n"));
    const QStringList lines = readLines(out);
    QCOMPARE(lines.at(0), QStringLiteral("<!-- VB150/0123456789AB -->"));
    QCOMPARE(lines.at(2), QStringLiteral("<SpeedDial System=\"VB150\" >"));

    const Run zr = cli({QStringLiteral("convert"), fixture(QStringLiteral("filled_LM630Pro.xml")), out,
                        QStringLiteral("--model"), QStringLiteral("zr410std")});
    QCOMPARE(zr.exitCode, 0);
    QVERIFY(zr.err.contains(
        QStringLiteral("実装11以降の個別短縮は出力されません また、Celdraの場合は1000件分保存されます\n")));
    QCOMPARE(readLines(out).at(0), QStringLiteral("<?xml version=\"1.0\" encoding=\"Shift-JIS\" ?>"));
}

void TestCli::convertKeepsTheFileModel()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.XML"));
    const Run run = cli({QStringLiteral("convert"), fixture(QStringLiteral("filled_KN820Std.xml")), out});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(readLines(out).at(0), QStringLiteral("<!-- KN820Std/0123456789AB -->"));
}

void TestCli::convertIsByteExactForTheSameModel_data()
{
    QTest::addColumn<QString>("file");
    for (const char *name : {"filled_LM630Pro.xml", "filled_LM630Std.xml", "filled_ZR410Pro.xml", "new_Morvel.xml"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestCli::convertIsByteExactForTheSameModel()
{
    // The fixtures are what the writer gives, so reading and writing them again changes
    // nothing (entries not written, like 個別 12 under LM630Std, are already absent).
    QFETCH(QString, file);
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("again.xml"));
    const Run run = cli({QStringLiteral("convert"), fixture(file), out});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(readFileBytes(out), readFileBytes(fixture(file)));
}

void TestCli::convertThroughLegIsByteExact_data()
{
    QTest::addColumn<QString>("file");
    // (The MorvelII fixture's group ring tones are codes of the long vocabulary, which a
    // MorvelII file reads by the short one, so it does not come back byte for byte.)
    for (const char *name : {"filled_LM630Pro.xml", "filled_KN820Std.xml", "filled_LM630Std.xml"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestCli::convertThroughLegIsByteExact()
{
    QFETCH(QString, file);
    QTemporaryDir dir;
    const QString leg = dir.filePath(QStringLiteral("customer dir/phone book.leg"));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("customer dir"))));
    const Run toLeg = cli({QStringLiteral("convert"), fixture(file), leg});
    QVERIFY2(toLeg.exitCode == 0, qPrintable(toLeg.err));
    QVERIFY(readFileBytes(leg).startsWith("QLEG"));

    const Run info = cli({QStringLiteral("info"), leg});
    QCOMPARE(info.exitCode, 0);
    QVERIFY(info.out.contains(QStringLiteral("mac-address: 0123456789AB\n")));

    const QString back = dir.filePath(QStringLiteral("back.xml"));
    const Run toXml = cli({QStringLiteral("convert"), leg, back});
    QCOMPARE(toXml.exitCode, 0);
    QCOMPARE(readFileBytes(back), readFileBytes(fixture(file)));
    QVERIFY(!QFile::exists(binDir() + QStringLiteral("/temp/temp.xml")));
}

void TestCli::twoProgramsConvertingAtOnceKeepTheirBooks()
{
    // Two runs beside the same converter share its working file. They take turns with
    // it: neither fails, and neither customer's .leg file gets the other's phone book.
    QTemporaryDir dir;
    const QString customers[2] = {fixture(QStringLiteral("filled_LM630Pro.xml")),
                                  fixture(QStringLiteral("filled_KN820Std.xml"))};
    QByteArray alone[2];
    for (int k = 0; k < 2; ++k) {
        const QString leg = dir.filePath(QStringLiteral("alone%1.leg").arg(k));
        QCOMPARE(cli({QStringLiteral("convert"), customers[k], leg}).exitCode, 0);
        alone[k] = readFileBytes(leg);
    }
    QVERIFY(alone[0] != alone[1]);

    for (int round = 0; round < 10; ++round) {
        QProcess runs[2];
        QString legs[2];
        for (int k = 0; k < 2; ++k) {
            legs[k] = dir.filePath(QStringLiteral("round%1-%2.leg").arg(round).arg(k));
            runs[k].start(binDir() + QStringLiteral("/dalvino-cli"),
                          {QStringLiteral("convert"), customers[k], legs[k]});
        }
        for (int k = 0; k < 2; ++k) {
            QVERIFY(runs[k].waitForFinished(60000));
            QVERIFY2(runs[k].exitCode() == 0, runs[k].readAllStandardError().constData());
            QVERIFY2(readFileBytes(legs[k]) == alone[k],
                     qPrintable(QStringLiteral("round %1, run %2").arg(round).arg(k)));
        }
    }
}

void TestCli::damagedLegIsAnError()
{
    QTemporaryDir dir;
    const QString leg = dir.filePath(QStringLiteral("bad.leg"));
    writeFile(leg, "not a leg file at all");
    const Run run = cli({QStringLiteral("info"), leg});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(QStringLiteral("no QLEG header")), qPrintable(run.err));
    QCOMPARE(run.err.count(u'\n'), 1);
    QCOMPARE(run.out, QString());
}

void TestCli::errors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString good = fixture(QStringLiteral("filled_LM630Pro.xml"));
    QTest::newRow("missing file") << QStringList{QStringLiteral("info"), QStringLiteral("/nonexistent/a.xml")}
                                  << QStringLiteral("ファイル /nonexistent/a.xml は開けません。");
    QTest::newRow("unknown model") << QStringList{QStringLiteral("convert"), good, QStringLiteral("/tmp/x.xml"),
                                                  QStringLiteral("--model"), QStringLiteral("LM999")}
                                   << QStringLiteral("Unknown model \"LM999\"");
    QTest::newRow("model without name") << QStringList{QStringLiteral("convert"), good, QStringLiteral("/tmp/x.xml"),
                                                       QStringLiteral("--model")}
                                        << QStringLiteral("--model needs a model name");
    QTest::newRow("unknown command") << QStringList{QStringLiteral("frobnicate")}
                                     << QStringLiteral("Unknown command \"frobnicate\"");
    QTest::newRow("input extension") << QStringList{QStringLiteral("info"), QStringLiteral("/tmp/a.txt")}
                                     << QStringLiteral("Cannot read \"/tmp/a.txt\"");
    QTest::newRow("output extension") << QStringList{QStringLiteral("convert"), good, QStringLiteral("/tmp/a.doc")}
                                      << QStringLiteral("Cannot write \"/tmp/a.doc\"");
    QTest::newRow("one path") << QStringList{QStringLiteral("convert"), good}
                              << QStringLiteral("convert needs IN and OUT");
    QTest::newRow("no command") << QStringList{} << QStringLiteral("Usage: dalvino-cli COMMAND");
    QTest::newRow("unwritable output") << QStringList{QStringLiteral("convert"), good,
                                                      QStringLiteral("/nonexistent/dir/out.xml")}
                                       << QStringLiteral("ファイル \"/nonexistent/dir/out.xml\" を作成できません。");
}

void TestCli::errors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run run = cli(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QCOMPARE(run.out, QString());
}

void TestCli::notAPhoneBookLeavesNoOutput()
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("list.xml"));
    writeFile(in, "<?xml version=\"1.0\" ?>\r\n<Other/>\r\n");
    const QString out = dir.filePath(QStringLiteral("out.xml"));
    const Run run = cli({QStringLiteral("convert"), in, out});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err, QStringLiteral("Brisantの電話帳データではありません\n"));
    QVERIFY(!QFile::exists(out));
}

void TestCli::help()
{
    const Run run = cli({QStringLiteral("--help")});
    QCOMPARE(run.exitCode, 0);
    for (const char *text : {"convert IN OUT [--model NAME]", "info IN", "Exit status", "MorvelII", ".leg"})
        QVERIFY2(run.out.contains(QString::fromUtf8(text)), text);
    const Run command = cli({QStringLiteral("info"), QStringLiteral("--help")});
    QCOMPARE(command.exitCode, 0);
    QVERIFY(command.out.startsWith(QStringLiteral("Usage: dalvino-cli info IN\n")));
}

void TestCli::samplesOpen_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("mac");
    QTest::newRow("xml") << "zr410std.xml"
                         << "ZR410Std"
                         << "000000000000";
    QTest::newRow("leg") << "lm630pro.leg"
                         << "LM630Pro"
                         << "00A0B1C2D3E4";
}

void TestCli::samplesOpen()
{
    QFETCH(QString, file);
    QFETCH(QString, model);
    QFETCH(QString, mac);
    const Run run = cli({QStringLiteral("info"), sourceDir() + QStringLiteral("/samples/") + file});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QStringLiteral("model: %1\ncustomer-name: 株式会社丸山工業\ncustomer-number: 048-555-0100\n"
                                     "write-mode: 書き込み時にクリア\nmac-address: %2\nentries: 38\ngroups: 6\n")
                          .arg(model, mac));
    QCOMPARE(run.err, QStringLiteral("38件のデータが登録されています\n"));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
