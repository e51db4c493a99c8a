#include "core/DalvinoError.h"
#include "core/DeviceModel.h"
#include "core/PhoneBook.h"
#include "formats/LegacyCsv.h"
#include "formats/TextFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace LegacyCsv;
using Status = Outcome::Status;

namespace {

// A header of 15 fields with the given signature, field 2, field 3, field 4 and variant.
QString header(const QString &signature, const QString &variant, const QString &field4 = QStringLiteral("0x01"),
               const QString &field2 = QStringLiteral("x"), const QString &field3 = QStringLiteral("0"))
{
    QStringList fields{signature, field2, field3, field4};
    while (fields.size() < 14)
        fields << QStringLiteral("h%1").arg(fields.size() + 1);
    fields << variant;
    return fields.join(u',');
}

// A data line with name, kana and number at fields first, first + 1, first + 2.
QString record(int first, const QString &name, const QString &kana, const QString &number,
               const QString &field1 = QStringLiteral("1"), const QString &field2 = QStringLiteral("01"),
               const QString &field3 = QStringLiteral("0"))
{
    QStringList fields{field1, field2, field3};
    while (fields.size() < first - 1)
        fields << QStringLiteral("f%1").arg(fields.size() + 1);
    fields << name << kana << number << QStringLiteral("tail");
    return fields.join(u',');
}

Outcome parseLines(const QStringList &lines, const PhoneBook &current = PhoneBook())
{
    return parse(lines, QStringLiteral("/data/old.csv"), current);
}

} // namespace

class TestLegacyCsv : public QObject {
    Q_OBJECT
private slots:
    void commaText_data();
    void commaText();
    void dataLine_data();
    void dataLine();
    void refused_data();
    void refused();
    void layouts_data();
    void layouts();
    void skippedLinesTakeNoSlot();
    void commonIndividual();
    void unknownVariantGivesNoRecords();
    void stopAt600();
    void headerField3Is600();
    void textsCopiedUnchanged();
    void errorLineNamesItsNumber_data();
    void errorLineNamesItsNumber();
    void moreThan4000Records();
    void keepsModelAndMac();
    void readsFile();
    void emptyFileIsAnError();
};

void TestLegacyCsv::commaText_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("plain") << "a,b,c" << QStringList{"a", "b", "c"};
    QTest::newRow("space separates") << "a b,c" << QStringList{"a", "b", "c"};
    QTest::newRow("tab separates") << "a\tb" << QStringList{"a", "b"};
    QTest::newRow("space before comma") << "a ,b" << QStringList{"a", "b"};
    QTest::newRow("space after comma") << "a, b" << QStringList{"a", "b"};
    QTest::newRow("leading spaces skipped") << "  a,b" << QStringList{"a", "b"};
    QTest::newRow("quoted comma and space") << "\"a, b\",c" << QStringList{"a, b", "c"};
    QTest::newRow("doubled quote") << "\"say \"\"hi\"\"\",x" << QStringList{"say \"hi\"", "x"};
    QTest::newRow("empty fields") << "a,,b" << QStringList{"a", "", "b"};
    QTest::newRow("trailing comma") << "a,b," << QStringList{"a", "b", ""};
    QTest::newRow("leading comma") << ",a" << QStringList{"", "a"};
    QTest::newRow("unclosed quote") << "\"a,b" << QStringList{"a,b"};
    QTest::newRow("quoted empty") << "\"\",a" << QStringList{"", "a"};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("japanese") << "PQ---R,全角　文字" << QStringList{"PQ---R", "全角　文字"};
}

void TestLegacyCsv::commaText()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(splitCommaText(line), fields);
}

void TestLegacyCsv::dataLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("plain") << "a,b" << QStringList{"a", "b"};
    QTest::newRow("no quoting") << "\"a,b\"" << QStringList{"\"a", "b\""};
    QTest::newRow("spaces kept") << " a b ,c" << QStringList{" a b ", "c"};
    QTest::newRow("trailing comma gives no field") << "a,b," << QStringList{"a", "b"};
    QTest::newRow("inner empty kept") << "a,,b" << QStringList{"a", "", "b"};
    QTest::newRow("two trailing commas") << "a,," << QStringList{"a", ""};
    QTest::newRow("empty line") << "" << QStringList{};
}

void TestLegacyCsv::dataLine()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(splitDataLine(line), fields);
}

void TestLegacyCsv::refused_data()
{
    QTest::addColumn<QString>("headerLine");
    QStringList fourteen;
    for (int i = 0; i < 14; ++i)
        fourteen << QStringLiteral("PQ---R");
    QTest::newRow("14 fields") << fourteen.join(u',');
    QTest::newRow("unknown signature") << header(QStringLiteral("XX000R"), QStringLiteral("4"));
    QTest::newRow("lower case signature") << header(QStringLiteral("pq---r"), QStringLiteral("4"));
    QTest::newRow("empty first line") << QString();
}

void TestLegacyCsv::refused()
{
    QFETCH(QString, headerLine);
    PhoneBook current;
    current.entries[0].setField(DialEntry::Name, QStringLiteral("元"));
    const Outcome outcome = parseLines({headerLine, record(8, "名", "ｶﾅ", "1")}, current);
    QCOMPARE(outcome.status, Status::NotLegacy);
    QCOMPARE(outcome.error, QStringLiteral("NVシリーズの短縮データではありません"));
}

void TestLegacyCsv::layouts_data()
{
    QTest::addColumn<QString>("headerLine");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("model");
    QTest::newRow("PQ---R 4") << header("PQ---R", "4") << 8 << ModelZR410Std;
    QTest::newRow("PQ---R 3") << header("PQ---R", "3") << 8 << ModelZR410Std;
    QTest::newRow("PQ---R 0x08") << header("PQ---R", "4", "0x08") << 8 << ModelZR410Pro;
    QTest::newRow("NV300R 1") << header("NV300R", "1") << 8 << ModelZR410Std;
    QTest::newRow("NV300R 3 with 0x08") << header("NV300R", "3", "0x08") << 8 << ModelZR410Std;
    QTest::newRow("CW214R 3") << header("CW214R", "3") << 6 << ModelZR410Pro;
    QTest::newRow("CW214R 1") << header("CW214R", "1") << 6 << ModelZR410Pro;
    QTest::newRow("field 2 is 2") << header("OTHER", "3", "0x01", "2") << 6 << ModelZR410Pro;
    // The space inside the unquoted field counts as a separator: 15 fields, not 14.
    QTest::newRow("space makes field 15")
        << "PQ---R,a,b,0x08,h5 h6,h7,h8,h9,h10,h11,h12,h13,h14,4" << 8 << ModelZR410Pro;
}

void TestLegacyCsv::layouts()
{
    QFETCH(QString, headerLine);
    QFETCH(int, first);
    QFETCH(int, model);
    const Outcome outcome =
        parseLines({headerLine, record(first, "山田", "ﾔﾏﾀﾞ", "03-1"), record(first, "鈴木", "ｽｽﾞｷ", "04-2")});
    QCOMPARE(outcome.status, Status::Read);
    QCOMPARE(outcome.count, 2);
    QCOMPARE(outcome.model, model);
    QCOMPARE(outcome.book.SyubetuFlag, model);
    QCOMPARE(outcome.book.entries[0].name(), QStringLiteral("山田"));
    QCOMPARE(outcome.book.entries[0].kana(), QStringLiteral("ﾔﾏﾀﾞ"));
    QCOMPARE(outcome.book.entries[0].phone(), QStringLiteral("03-1"));
    QCOMPARE(outcome.book.entries[1].name(), QStringLiteral("鈴木"));
    QCOMPARE(outcome.book.entries[1].group(), QStringLiteral("グループ０"));
    QCOMPARE(outcome.book.entries[1].extension(), QStringLiteral("01"));
    QVERIFY(!outcome.book.entries[2].isRegistered());
    QCOMPARE(outcome.book.FileName, QStringLiteral("/data/old.csv"));
    QVERIFY(!outcome.book.Modified);
    QVERIFY(outcome.notices.isEmpty());
    QCOMPARE(countText(outcome.count), QStringLiteral("2件のデータが登録されています"));
}

void TestLegacyCsv::skippedLinesTakeNoSlot()
{
    const Outcome outcome = parseLines({header("PQ---R", "4"), record(8, "A", "", "1"), record(8, "", "ｶ", "1"),
                                        record(8, "B", "ｶ", ""), record(8, "C", "ｶ", "3")});
    QCOMPARE(outcome.status, Status::Read);
    QCOMPARE(outcome.count, 1);
    QCOMPARE(outcome.book.entries[0].name(), QStringLiteral("C"));
}

void TestLegacyCsv::commonIndividual()
{
    const Outcome outcome = parseLines({header("NV300R", "2"), record(8, "個", "ｺ", "1", "個別", "05"),
                                        record(8, "共", "ｷ", "2", "共通", "07"), record(8, "他", "ﾀ", "3", "その他"),
                                        record(8, "空", "", "4", "個別"), record(8, "後", "ｱ", "5", "共通")});
    QCOMPARE(outcome.status, Status::Read);
    QCOMPARE(outcome.count, 4);
    const auto &e = outcome.book.entries;
    QCOMPARE(e[0].name(), QStringLiteral("個"));
    QCOMPARE(e[0].group(), QStringLiteral("個別"));
    QCOMPARE(e[0].extension(), QStringLiteral("05"));
    QCOMPARE(e[1].name(), QStringLiteral("共"));
    QCOMPARE(e[1].group(), QStringLiteral("グループ０"));
    QCOMPARE(e[1].extension(), QStringLiteral("01"));
    // Other text in field 1 takes the slot and leaves it empty.
    QVERIFY(!e[2].isRegistered());
    QCOMPARE(e[2].group(), QStringLiteral("グループ０"));
    QCOMPARE(e[3].name(), QStringLiteral("後"));
}

void TestLegacyCsv::unknownVariantGivesNoRecords()
{
    for (const QString &variant : {QStringLiteral("5"), QStringLiteral(""), QStringLiteral("1")}) {
        const Outcome outcome = parseLines({header("PQ---R", variant), record(8, "A", "ｱ", "1")});
        QCOMPARE(outcome.status, Status::Read);
        QCOMPARE(outcome.count, 0);
    }
}

void TestLegacyCsv::stopAt600()
{
    QStringList lines{header("CW214R", "1")};
    for (int i = 1; i <= 8; ++i)
        lines << record(6, QStringLiteral("N%1").arg(i), "ｶ", "1", "1", "01", i == 5 ? "600" : "0");
    Outcome outcome = parseLines(lines);
    QCOMPARE(outcome.count, 5);
    QCOMPARE(outcome.book.entries[4].name(), QStringLiteral("N5"));
    // Only variant "1" stops there.
    lines[0] = header("CW214R", "3");
    outcome = parseLines(lines);
    QCOMPARE(outcome.count, 8);
    // The end mark also ends a line that is no record, and lines after it are not read.
    lines[0] = header("CW214R", "1");
    lines[2] = record(6, "", "ｶ", "1", "1", "01", "600");
    lines << QString();
    outcome = parseLines(lines);
    QCOMPARE(outcome.status, Status::Read);
    QCOMPARE(outcome.count, 1);
}

void TestLegacyCsv::headerField3Is600()
{
    const Outcome outcome = parseLines({header("CW214R", "1", "0x01", "x", "600"), record(6, "A", "ｱ", "1")});
    QCOMPARE(outcome.status, Status::Read);
    QCOMPARE(outcome.count, 0);
}

void TestLegacyCsv::textsCopiedUnchanged()
{
    const Outcome outcome = parseLines({header("PQ---R", "4"), record(8, "ABC 半角", "カタカナ全角", "０３(1)")});
    QCOMPARE(outcome.book.entries[0].name(), QStringLiteral("ABC 半角"));
    QCOMPARE(outcome.book.entries[0].kana(), QStringLiteral("カタカナ全角"));
    QCOMPARE(outcome.book.entries[0].phone(), QStringLiteral("０３(1)"));
}

void TestLegacyCsv::errorLineNamesItsNumber_data()
{
    QTest::addColumn<QString>("badLine");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty line") << QString() << "3行目にフィールド8がないため読み込みを中止しました";
    QTest::newRow("kana after last comma") << "1,2,3,4,5,6,7,名前,"
                                           << "3行目にフィールド9がないため読み込みを中止しました";
    QTest::newRow("number missing") << "1,2,3,4,5,6,7,名前,ｶﾅ"
                                    << "3行目にフィールド10がないため読み込みを中止しました";
}

void TestLegacyCsv::errorLineNamesItsNumber()
{
    QFETCH(QString, badLine);
    QFETCH(QString, message);
    const Outcome outcome =
        parseLines({header("PQ---R", "4"), record(8, "A", "ｱ", "1"), badLine, record(8, "B", "ｲ", "2")});
    QCOMPARE(outcome.status, Status::Failed);
    QCOMPARE(outcome.error, message);
}

void TestLegacyCsv::moreThan4000Records()
{
    QStringList lines{header("PQ---R", "4")};
    for (int i = 0; i < 4003; ++i)
        lines << record(8, QStringLiteral("N%1").arg(i), "ｶ", "1");
    const Outcome outcome = parseLines(lines);
    QCOMPARE(outcome.status, Status::Read);
    QCOMPARE(outcome.count, 4000);
    QCOMPARE(outcome.book.entries[3999].name(), QStringLiteral("N3999"));
    QCOMPARE(outcome.notices, QStringList{QStringLiteral("4000件を超える3件のデータは読み込まれませんでした")});
}

void TestLegacyCsv::keepsModelAndMac()
{
    PhoneBook current;
    current.Syubetu = ModelLM630Pro;
    current.MACAddress = QStringLiteral("AABBCCDDEEFF");
    current.UserName = QStringLiteral("顧客");
    current.Modified = true;
    current.entries[7].setField(DialEntry::Name, QStringLiteral("古い"));
    const Outcome outcome = parseLines({header("PQ---R", "4"), record(8, "A", "ｱ", "1")}, current);
    QCOMPARE(outcome.book.Syubetu, ModelLM630Pro); // the caller makes the model current
    QCOMPARE(outcome.book.MACAddress, QStringLiteral("AABBCCDDEEFF"));
    QCOMPARE(outcome.book.UserName, QString());
    QVERIFY(!outcome.book.entries[7].isRegistered());
    QVERIFY(!outcome.book.Modified);
}

void TestLegacyCsv::readsFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.csv"));
    writeTextLines(path, {header("PQ---R", "4"), record(8, "山田", "ﾔﾏﾀﾞ", "03")});
    int resets = 0, steps = 0, reads = 0;
    Progress progress{[&] { ++resets; }, [&](int) { ++steps; }, [&] { ++reads; }};
    const Outcome outcome = read(path, PhoneBook(), progress);
    QCOMPARE(outcome.status, Status::Read);
    QCOMPARE(outcome.book.entries[0].name(), QStringLiteral("山田"));
    QCOMPARE(outcome.book.FileName, path);
    QCOMPARE(resets, 1);
    QCOMPARE(steps, 4000);
    QCOMPARE(reads, 1);

    try {
        read(dir.filePath(QStringLiteral("missing.csv")), PhoneBook());
        QFAIL("a missing file was read");
    } catch (const DalvinoError &e) {
        QVERIFY(e.text().startsWith(QStringLiteral("ファイル %1 は開けません。").arg(dir.filePath("missing.csv"))));
    }
}

void TestLegacyCsv::emptyFileIsAnError()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("empty.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY_THROWS_EXCEPTION(DalvinoError, read(path, PhoneBook()));
}

QTEST_GUILESS_MAIN(TestLegacyCsv)
#include "tst_legacycsv.moc"
