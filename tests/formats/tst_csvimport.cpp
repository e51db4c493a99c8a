#include "core/DeviceModel.h"
#include "core/PhoneBook.h"
#include "formats/CsvImport.h"
#include "formats/TextFile.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace CsvImport;

namespace {

Table tableOf(const QString &text)
{
    return buildTable(text);
}

Request request(int start, int end, int name, int kana, int phone)
{
    Request r;
    r.startRow = start;
    r.endRow = end;
    r.mapping.name = name;
    r.mapping.kana = kana;
    r.mapping.phone = phone;
    return r;
}

QString manyLines(int count)
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("名前%1,ﾅﾏｴ,03-%1\r\n").arg(i);
    return text;
}

} // namespace

class TestCsvImport : public QObject {
    Q_OBJECT
private slots:
    void splitting_data();
    void splitting();
    void fieldCountComesFromTheFirstLine();
    void emptyLinesAreNotRows();
    void records_data();
    void records();
    void unclosedQuoteKeepsTheRest();
    void fieldsAreCapped();
    void realWorldFiles_data();
    void realWorldFiles();
    void checks_data();
    void checks();
    void rowLimits();
    void kana_data();
    void kana();
    void phone_data();
    void phone();
    void nameAndMemo();
    void group_data();
    void group();
    void ringTone_data();
    void ringTone();
    void headingSkippedByStartRow();
    void startRowOneTakesTheHeading();
    void fullRangeFillsAllSlots();
    void startAfterEndImportsNothing();
    void unmappedFieldsKeepDefaults();
    void keepsModelWriteModeAndMac();
    void resetsAsNewDoes();
    void rowBeyondTheFileStops();
    void fillsTheDocumentInPlace();
    void missingFieldLeavesTheDocument();
    void importedFieldsAreTheSplitFields_data();
    void importedFieldsAreTheSplitFields();
    void encodingIsDetected();
};

void TestCsvImport::splitting_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("exact") << "a,b,c" << 3 << QStringList{"a", "b", "c"};
    QTest::newRow("short row padded") << "a" << 3 << QStringList{"a", "", ""};
    QTest::newRow("long row cut") << "a,b,c,d,e" << 3 << QStringList{"a", "b", "c"};
    QTest::newRow("quoted comma") << "\"Example Co., Ltd.\",ｴｸｻﾞﾝﾌﾟﾙ,03" << 3
                                  << QStringList{"Example Co., Ltd.", "ｴｸｻﾞﾝﾌﾟﾙ", "03"};
    QTest::newRow("every field quoted") << "\"山田\",\"ﾔﾏﾀﾞ\",\"03\"" << 3 << QStringList{"山田", "ﾔﾏﾀﾞ", "03"};
    QTest::newRow("empty quoted cells") << "\"\",\"\",x" << 3 << QStringList{"", "", "x"};
    QTest::newRow("doubled quotes") << "\"say \"\"hi\"\"\",\"\"\"\"" << 2 << QStringList{"say \"hi\"", "\""};
    QTest::newRow("quoted line breaks become spaces")
        << "\"本社\r\n営業部\n二課\",b" << 2 << QStringList{"本社 営業部 二課", "b"};
    QTest::newRow("text after the closing quote") << "\"ab\"cd,e" << 2 << QStringList{"abcd", "e"};
    QTest::newRow("quote inside a field is text") << "5\" disk,a\"b\"" << 2 << QStringList{"5\" disk", "a\"b\""};
    QTest::newRow("unclosed quote runs to the end") << "\"abc,def" << 3 << QStringList{"abc,def", "", ""};
    QTest::newRow("[SP] removed inside quotes") << "a,\"b[SP]c,d\"" << 2 << QStringList{"a", "bc,d"};
    QTest::newRow("quoted fields past the count") << "a,\"b\",\"c,d\"" << 2 << QStringList{"a", "b"};
    QTest::newRow("nothing trimmed") << " a , b " << 2 << QStringList{" a ", " b "};
    QTest::newRow("[SP] removed after field 1")
        << "[SP]1,山田[SP]太郎,[SP][SP]" << 3 << QStringList{"[SP]1", "山田太郎", ""};
    QTest::newRow("trailing comma") << "a,b," << 3 << QStringList{"a", "b", ""};
}

void TestCsvImport::splitting()
{
    QFETCH(QString, line);
    QFETCH(int, count);
    QFETCH(QStringList, fields);
    QCOMPARE(splitRow(line, count), fields);
}

void TestCsvImport::fieldCountComesFromTheFirstLine()
{
    const Table table = tableOf(QStringLiteral("a,b\r\n1,2[SP]2,3,4\r\n[SP]x\r\n"));
    QCOMPARE(table.fieldCount, 2);
    QCOMPARE(table.rowCount(), 3);
    QCOMPARE(table.fields(1), (QStringList{"1", "22"}));
    QCOMPARE(table.fields(2), (QStringList{"[SP]x", ""}));
    // A field asked for alone is split as the whole row is.
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int field = 0; field < table.fieldCount; ++field)
            QCOMPARE(table.field(row, field), table.fields(row).at(field));
    }
}

void TestCsvImport::emptyLinesAreNotRows()
{
    const QString text = QStringLiteral("a,b,c\r\n\r\n\n1,2,3\r\r2,3,4");
    QList<int> steps;
    const Table table = buildTable(text, [&](int i, int rows) {
        QCOMPARE(rows, 3);
        steps << i;
    });
    QCOMPARE(steps, (QList<int>{1, 2, 3}));
    QCOMPARE(table.row(1), QStringLiteral("1,2,3"));
    QCOMPARE(table.field(2, 0), QStringLiteral("2"));
    // The field count comes from the file's first line, even an empty one.
    QCOMPARE(buildTable(QStringLiteral("\r\n1,2,3")).fieldCount, 1);
}

// Rows are records: a quoted line break stays inside its record; a quote that never
// closes ends at its line end, and its row is named.
void TestCsvImport::records_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("unclosed");
    QTest::newRow("no quotes: the lines") << "a,b\r\n\r\nc\rd\n" << QStringList{"a,b", "c", "d"} << 0;
    QTest::newRow("quoted line break") << "a,\"b\r\nc\",d\r\ne,f\r\n" << QStringList{"a,\"b\r\nc\",d", "e,f"} << 0;
    QTest::newRow("empty line inside quotes") << "\"x\r\n\r\ny\",1\r\n2" << QStringList{"\"x\r\n\r\ny\",1", "2"} << 0;
    QTest::newRow("closes lines later after doubled quotes")
        << "\"a\nb\"\"c\nd\",e\nf" << QStringList{"\"a\nb\"\"c\nd\",e", "f"} << 0;
    QTest::newRow("unclosed quote ends at its line end") << "a,\"b\r\nc,d\r\n" << QStringList{"a,\"b", "c,d"} << 1;
    QTest::newRow("unclosed after closed ones") << "\"a\",b\r\n\r\n\"c\"\"\r\nd,\"\"\r\n"
                                                << QStringList{"\"a\",b", "\"c\"\"", "d,\"\""} << 2;
    QTest::newRow("quote inside a field opens nothing") << "a\"b,c\nd\"" << QStringList{"a\"b,c", "d\""} << 0;
}

void TestCsvImport::records()
{
    QFETCH(QString, text);
    QFETCH(QStringList, rows);
    QFETCH(int, unclosed);
    const Table table = tableOf(text);
    QStringList found;
    for (int row = 0; row < table.rowCount(); ++row)
        found << table.row(row).toString();
    QCOMPARE(found, rows);
    QCOMPARE(table.unclosedRow, unclosed);
    QCOMPARE(table.notices().isEmpty(), unclosed == 0);
}

// A quote that never closes near the top of a large file takes its line only: the rows
// after it stay rows, and the file is still read in one pass.
void TestCsvImport::unclosedQuoteKeepsTheRest()
{
    QString text = QStringLiteral("名前,電話\r\n\"山田,03\r\n");
    for (int i = 0; i < 50000; ++i)
        text += QStringLiteral("\"\",y\r\n");
    QElapsedTimer timer;
    timer.start();
    const Table table = tableOf(text);
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
    QCOMPARE(table.rowCount(), 50002);
    QCOMPARE(table.fields(1), (QStringList{"山田,03", ""}));
    QCOMPARE(table.fields(50001), (QStringList{"", "y"}));
    QCOMPARE(table.notices(),
             QStringList{QStringLiteral(
                 "2行目の「\"」が閉じられていないため、その行の終わりまでを１つのフィールドとして読み込みました")});
}

// A first line of a million commas gives the fields a user can map, and says so.
void TestCsvImport::fieldsAreCapped()
{
    QElapsedTimer timer;
    timer.start();
    const Table table = tableOf(QString(1000000, u',') + QStringLiteral("\r\na,b\r\n"));
    QCOMPARE(table.fieldCount, MaxFields);
    QCOMPARE(table.fields(1).size(), MaxFields);
    QCOMPARE(table.field(1, 1), QStringLiteral("b"));
    QCOMPARE(table.notices(),
             QStringList{QStringLiteral("1行目のフィールドが256を超えるため、フィールド256までを読み込みました")});
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
    QVERIFY(tableOf(QString(MaxFields - 1, u',')).notices().isEmpty());
    QCOMPARE(tableOf(QStringLiteral("\"a,b\",c")).fieldCount, 2);
}

// Files in the shapes that Excel, Google Contacts and Outlook write: each row's name,
// kana and phone number land in their own entry.
void TestCsvImport::realWorldFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<int>>("fields"); // name, kana, phone, from 0
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("kanas");
    QTest::addColumn<QStringList>("phones");
    QTest::newRow("Excel save")
        << encodeCp932(
               QStringLiteral("会社名,フリガナ,電話番号,住所\r\n"
                              "\"Example Co., Ltd.\",ｴｸｻﾞﾝﾌﾟﾙ,03-1234-5678,\"東京都千代田区1-1\r\n丸の内ビル5F\"\r\n"
                              "山田商店,ﾔﾏﾀﾞｼｮｳﾃﾝ,06-1111-2222,大阪府\r\n"
                              "\"\"\"Quote\"\" Inc.\",,045-000-0000,\r\n"))
        << QList<int>{0, 1, 2} << QStringList{"Example Co., Ltd.", "山田商店", "\"Quote\" Inc."}
        << QStringList{"ｴｸｻﾞﾝﾌﾟﾙ", "ﾔﾏﾀﾞｼｮｳﾃﾝ", ""} << QStringList{"03-1234-5678", "06-1111-2222", "045-000-0000"};
    QTest::newRow("Google Contacts export")
        << QStringLiteral(
               "Name,Given Name,Additional Name,Family Name,Yomi Name,Notes,Group Membership,"
               "Phone 1 - Type,Phone 1 - Value\r\n"
               "山田 太郎,太郎,,山田,やまだ たろう,\"メモ, 一行目\n二行目\",* myContacts,Mobile,090-1234-5678\r\n"
               "鈴木 花子,花子,,鈴木,すずき はなこ,,* myContacts,Work,03-5555-6666\r\n")
               .toUtf8()
        << QList<int>{0, 4, 8} << QStringList{"山田 太郎", "鈴木 花子"} << QStringList{"やまだ たろう", "すずき はなこ"}
        << QStringList{"090-1234-5678", "03-5555-6666"};
    QTest::newRow("Outlook export") << encodeCp932(QStringLiteral(
                                           "\"名\",\"姓\",\"フリガナ\",\"会社\",\"勤務先電話\"\r\n"
                                           "\"太郎\",\"山田\",\"ﾔﾏﾀﾞ ﾀﾛｳ\",\"株式会社ＡＢＣ\",\"03-1234-5678\"\r\n"
                                           "\"\",\"鈴木\",\"\",\"\",\"\"\r\n"))
                                    << QList<int>{1, 2, 4} << QStringList{"山田", "鈴木"} << QStringList{"ﾔﾏﾀﾞ ﾀﾛｳ", ""}
                                    << QStringList{"03-1234-5678", ""};
}

void TestCsvImport::realWorldFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, fields);
    QFETCH(QStringList, names);
    QFETCH(QStringList, kanas);
    QFETCH(QStringList, phones);
    const Table table = buildTable(decode(bytes));
    QCOMPARE(table.rowCount(), names.size() + 1);
    const Outcome outcome = import(PhoneBook(), table, request(2, table.rowCount(), fields[0], fields[1], fields[2]));
    QVERIFY(!outcome.failure);
    for (int i = 0; i < names.size(); ++i) {
        const DialEntry &e = outcome.book.entries[i];
        QCOMPARE(e.name(), toName(names[i]));
        QCOMPARE(e.kana(), toKana(kanas[i]));
        QCOMPARE(e.phone(), phones[i]);
    }
    QVERIFY(!outcome.book.entries[names.size()].isRegistered());
}

void TestCsvImport::checks_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("name");
    QTest::addColumn<int>("kana");
    QTest::addColumn<int>("phone");
    QTest::addColumn<QString>("message");
    const QString rows = QStringLiteral("開始行と終了行を設定してください");
    const QString many = QStringLiteral("電話帳は最大4000件までです");
    const QString fields =
        QStringLiteral("最低でも名前・カナ・電話番号いずれか2つのフィールドを指定し、全て別のフィールドにしてください");
    QTest::newRow("start not set") << 0 << 5 << 0 << 1 << 2 << rows;
    QTest::newRow("end not set") << 1 << 0 << 0 << 1 << 2 << rows;
    QTest::newRow("rows before fields") << 0 << 0 << -1 << -1 << -1 << rows;
    QTest::newRow("1 to 4001 refused") << 1 << 4001 << 0 << 1 << 2 << many;
    QTest::newRow("2 to 4001 accepted") << 2 << 4001 << 0 << 1 << 2 << QString();
    QTest::newRow("only name") << 1 << 2 << 0 << -1 << -1 << fields;
    QTest::newRow("name and phone") << 1 << 2 << 0 << -1 << 2 << QString();
    QTest::newRow("kana and phone") << 1 << 2 << -1 << 1 << 2 << QString();
    QTest::newRow("same field twice") << 1 << 2 << 0 << 0 << 2 << fields;
    QTest::newRow("kana same as phone") << 1 << 2 << 0 << 3 << 3 << fields;
    QTest::newRow("start after end passes") << 5 << 3 << 0 << 1 << 2 << QString();
}

void TestCsvImport::checks()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, name);
    QFETCH(int, kana);
    QFETCH(int, phone);
    QFETCH(QString, message);
    QCOMPARE(check(request(start, end, name, kana, phone)).value_or(QString()), message);
}

void TestCsvImport::rowLimits()
{
    QCOMPARE(clampStartRow(5000), 4000);
    QCOMPARE(clampEndRow(5000), 4001);
    QCOMPARE(clampEndRow(17), 17);
    QCOMPARE(clampStartRow(-3), 0);
}

void TestCsvImport::kana_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("kana");
    QTest::newRow("hiragana") << "やまだ"
                              << "ﾔﾏﾀﾞ";
    QTest::newRow("small letters and ゖ") << "ぁっゖ"
                                          << "ｧｯヶ";
    QTest::newRow("katakana") << "ガッコウ"
                              << "ｶﾞｯｺｳ";
    QTest::newRow("full-width ascii") << "ＡＢ　１"
                                      << "AB 1";
    // 16 voiced katakana become 32 half-width characters, cut to 16.
    QTest::newRow("cut after conversion") << "ガギグゲゴザジズゼゾダヂヅデドバ"
                                          << "ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞ";
}

void TestCsvImport::kana()
{
    QFETCH(QString, field);
    QFETCH(QString, kana);
    QCOMPARE(toKana(field), kana);
    QVERIFY(toKana(field).size() <= 16);
}

void TestCsvImport::phone_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("phone");
    QTest::newRow("leading parenthesis") << "(03)1234-5678"
                                         << "03-1234-5678";
    QTest::newRow("inner parentheses") << "03(1234)5678"
                                       << "03-1234-5678";
    QTest::newRow("full width with prolonged mark") << "０３ー１２３４"
                                                    << "03-1234";
    QTest::newRow("half-width prolonged mark") << "03ｰ1"
                                               << "03-1";
    QTest::newRow("only closing parenthesis") << "03)12"
                                              << "03)12";
    QTest::newRow("leading parenthesis drops every opening one") << "(03)(12)34"
                                                                 << "03-12-34";
    QTest::newRow("full-width parentheses") << "（０３）１２３４"
                                            << "03-1234";
    QTest::newRow("unclosed inner parenthesis") << "03(12"
                                                << "03-12";
    QTest::newRow("cut to 24") << "0123456789012345678901234567"
                               << "012345678901234567890123";
}

void TestCsvImport::phone()
{
    QFETCH(QString, field);
    QFETCH(QString, phone);
    QCOMPARE(toPhone(field), phone);
}

void TestCsvImport::nameAndMemo()
{
    QCOMPARE(toName(QStringLiteral("ﾔﾏﾀﾞ Taro")), QStringLiteral("ヤマダ　Ｔａｒｏ"));
    QCOMPARE(toName(QStringLiteral("12345678901234567890")), QStringLiteral("１２３４５６７８９０１２３４５６"));
    QCOMPARE(toMemo(QStringLiteral("ｶﾞｯｺｳ")), QStringLiteral("ガッコウ"));
    QCOMPARE(toMemo(QString(20, u'x')).size(), 16);
    QCOMPARE(toName(QStringLiteral("やまだ")), QStringLiteral("やまだ"));
}

void TestCsvImport::group_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("group");
    QTest::newRow("0") << "0"
                       << "グループ０";
    QTest::newRow("3") << "3"
                       << "グループ３";
    QTest::newRow("9") << "9"
                       << "グループ９";
    QTest::newRow("10") << "10"
                        << "個別";
    QTest::newRow("個別") << "個別"
                          << "個別";
    QTest::newRow("グループ７") << "グループ７"
                                << "グループ７";
    QTest::newRow("full-width digit") << "３"
                                      << "グループ０";
    QTest::newRow("half-width in label") << "グループ3"
                                         << "グループ０";
    QTest::newRow("11") << "11"
                        << "グループ０";
    QTest::newRow("padded") << " 3"
                            << "グループ０";
    QTest::newRow("empty") << ""
                           << "グループ０";
}

void TestCsvImport::group()
{
    QFETCH(QString, field);
    QFETCH(QString, group);
    QCOMPARE(toGroup(field), group);
}

void TestCsvImport::ringTone_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("longModel");
    QTest::addColumn<QString>("shortModel");
    QTest::newRow("A") << "A"
                       << "着信音Ａ"
                       << "着信音Ａ";
    QTest::newRow("H") << "H"
                       << "着信音Ｈ"
                       << "着信音Ｈ";
    QTest::newRow("着信音Ｃ") << "着信音Ｃ"
                              << "着信音Ｃ"
                              << "着信音Ｃ";
    QTest::newRow("I") << "I"
                       << "着信音Ｉ"
                       << "着信音Ｉ";
    QTest::newRow("着信音Ｉ") << "着信音Ｉ"
                              << "着信音Ｉ"
                              << "着信音Ｉ";
    QTest::newRow("J") << "J"
                       << "設定なし"
                       << "設定なし";
    QTest::newRow("lower case a") << "a"
                                  << "設定なし"
                                  << "設定なし";
    QTest::newRow("0") << "0"
                       << "保留メロディ１"
                       << "保留メロディ";
    QTest::newRow("保留メロディ") << "保留メロディ"
                                  << "保留メロディ１"
                                  << "保留メロディ";
    QTest::newRow("保留メロディ１") << "保留メロディ１"
                                    << "保留メロディ１"
                                    << "保留メロディ";
    QTest::newRow("1") << "1"
                       << "保留メロディ２"
                       << "着信メロディ";
    QTest::newRow("着信メロディ") << "着信メロディ"
                                  << "保留メロディ２"
                                  << "着信メロディ";
    QTest::newRow("2") << "2"
                       << "着信メロディ１"
                       << "着信メロディ";
    QTest::newRow("3") << "3"
                       << "着信メロディ２"
                       << "着信メロディ";
    QTest::newRow("着信メロディ２") << "着信メロディ２"
                                    << "着信メロディ２"
                                    << "着信メロディ";
    QTest::newRow("4") << "4"
                       << "設定なし"
                       << "設定なし";
    QTest::newRow("empty") << ""
                           << "設定なし"
                           << "設定なし";
}

void TestCsvImport::ringTone()
{
    QFETCH(QString, field);
    QFETCH(QString, longModel);
    QFETCH(QString, shortModel);
    QCOMPARE(toRingTone(field, ModelLM630Std), longModel);
    QCOMPARE(toRingTone(field, ModelZR410Std), longModel);
    QCOMPARE(toRingTone(field, ModelMorvel), shortModel);
    QCOMPARE(toRingTone(field, ModelMorvel2), shortModel);
}

void TestCsvImport::headingSkippedByStartRow()
{
    const Table table = tableOf(QStringLiteral(
        "名前,カナ,電話\r\n山田,やまだ,03\r\n\r\n鈴木,すずき,04\r\n佐藤,さとう,05\r\n田中,たなか,06\r\n"));
    const Outcome outcome = import(PhoneBook(), table, request(2, 4, 0, 1, 2));
    QVERIFY(!outcome.failure);
    QCOMPARE(outcome.imported, 3);
    const PhoneBook &book = outcome.book;
    QCOMPARE(book.entries[0].name(), QStringLiteral("山田"));
    QCOMPARE(book.entries[0].kana(), QStringLiteral("ﾔﾏﾀﾞ"));
    QCOMPARE(book.entries[1].name(), QStringLiteral("鈴木"));
    QCOMPARE(book.entries[2].name(), QStringLiteral("佐藤"));
    QVERIFY(!book.entries[3].isRegistered());
    QCOMPARE(book.entries[2].No, QStringLiteral("0002"));
    QVERIFY(book.Modified);
    QCOMPARE(book.FileName, PhoneBook::untitledName());
}

void TestCsvImport::startRowOneTakesTheHeading()
{
    const Table table = tableOf(QStringLiteral("名前,カナ,電話\r\n山田,やまだ,03\r\n"));
    const Outcome outcome = import(PhoneBook(), table, request(1, 2, 0, 1, 2));
    QCOMPARE(outcome.book.entries[0].name(), QStringLiteral("名前"));
    QCOMPARE(outcome.book.entries[0].kana(), QStringLiteral("ｶﾅ"));
    QCOMPARE(outcome.book.entries[1].name(), QStringLiteral("山田"));
}

void TestCsvImport::fullRangeFillsAllSlots()
{
    const Table table = tableOf(manyLines(5000));
    const Outcome outcome = import(PhoneBook(), table, request(2, 4001, 0, 1, 2));
    QVERIFY(!outcome.failure);
    QCOMPARE(outcome.imported, 4000);
    QCOMPARE(outcome.book.entries[0].name(), QStringLiteral("名前２"));
    QCOMPARE(outcome.book.entries[3999].name(), QStringLiteral("名前４００１"));
    QCOMPARE(outcome.book.entries[3999].phone(), QStringLiteral("03-4001"));
}

void TestCsvImport::startAfterEndImportsNothing()
{
    PhoneBook current;
    current.entries[0].setField(DialEntry::Name, QStringLiteral("前の名前"));
    const Outcome outcome = import(current, tableOf(manyLines(10)), request(5, 3, 0, 1, 2));
    QVERIFY(!outcome.failure);
    QCOMPARE(outcome.imported, 0);
    QVERIFY(!outcome.book.entries[0].isRegistered());
    QVERIFY(outcome.book.Modified);
}

void TestCsvImport::unmappedFieldsKeepDefaults()
{
    const Table table = tableOf(QStringLiteral("a,b,3,A,x\r\n"));
    Request r = request(1, 1, 0, -1, 2);
    const Outcome outcome = import(PhoneBook(), table, r);
    const DialEntry &e = outcome.book.entries[0];
    QCOMPARE(e.name(), QStringLiteral("ａ"));
    QCOMPARE(e.kana(), QString());
    QCOMPARE(e.phone(), QStringLiteral("3"));
    QCOMPARE(e.group(), QStringLiteral("グループ０"));
    QCOMPARE(e.ring(), QStringLiteral("設定なし"));
    QCOMPARE(e.extension(), QStringLiteral("01"));
    QCOMPARE(e.destination(), QStringLiteral("0"));
    QCOMPARE(e.memo(), QString());

    r.mapping.group = 2;
    r.mapping.ring = 3;
    r.mapping.memo = 4;
    const Outcome mapped = import(PhoneBook(), table, r);
    const DialEntry &f = mapped.book.entries[0];
    QCOMPARE(f.group(), QStringLiteral("グループ３"));
    QCOMPARE(f.ring(), QStringLiteral("着信音Ａ"));
    QCOMPARE(f.memo(), QStringLiteral("ｘ"));
}

void TestCsvImport::keepsModelWriteModeAndMac()
{
    PhoneBook current;
    current.Syubetu = ModelMorvel;
    current.WriteMode = 1;
    current.MACAddress = QStringLiteral("00112233AABB");
    current.UserName = QStringLiteral("お客様");
    current.FileName = QStringLiteral("/tmp/a.leg");
    current.groups[1].setField(GroupSetting::Name, QStringLiteral("営業"));
    Request r = request(1, 1, 0, 1, -1);
    r.mapping.ring = 2;
    const Outcome outcome = import(current, tableOf(QStringLiteral("山田,やまだ,2\r\n")), r);
    QCOMPARE(outcome.book.Syubetu, ModelMorvel);
    QCOMPARE(outcome.book.WriteMode, 1);
    QCOMPARE(outcome.book.MACAddress, QStringLiteral("00112233AABB"));
    QCOMPARE(outcome.book.UserName, QString());
    QCOMPARE(outcome.book.FileName, PhoneBook::untitledName());
    QCOMPARE(outcome.book.groups[1].name(), QStringLiteral("登録なし"));
    QCOMPARE(outcome.book.entries[0].ring(), QStringLiteral("着信メロディ"));
}

void TestCsvImport::resetsAsNewDoes()
{
    PhoneBook current;
    current.SyubetuFlag = ModelMorvel;
    current.FLastSortColumn = 3;
    current.UserNo = QStringLiteral("03-1");
    current.entries[5].setField(DialEntry::Name, QStringLiteral("残り"));
    current.entries[5].No = QStringLiteral("0100");
    const Table table = tableOf(QStringLiteral("山田,やまだ,2\r\n"));
    const Request r = request(1, 1, 0, 1, 2);
    PhoneBook expected = current;
    expected.New();
    int calls = 0;
    const Outcome withGauge = import(current, table, r, [&](int i) { QCOMPARE(i, ++calls); });
    QCOMPARE(calls, PhoneBook::EntryCount);
    for (const Outcome &outcome : {import(current, table, r), withGauge}) {
        QCOMPARE(outcome.book.SyubetuFlag, ModelMorvel);
        QCOMPARE(outcome.book.FLastSortColumn, 0);
        QCOMPARE(outcome.book.UserNo, QString());
        QCOMPARE(outcome.book.groups, expected.groups);
        QVERIFY(std::equal(outcome.book.entries.begin() + 1, outcome.book.entries.end(), expected.entries.begin() + 1));
        QVERIFY(outcome.book.Modified);
    }
}

// The import window fills the program's own document: every entry of a filled, re-sorted
// document ends as New leaves it, but for the rows imported into slots 0000 onward.
void TestCsvImport::fillsTheDocumentInPlace()
{
    PhoneBook book;
    for (int i = 0; i < PhoneBook::EntryCount; ++i) {
        DialEntry &e = book.entries[i];
        e.No = PhoneBook::slotNumber(PhoneBook::EntryCount - 1 - i); // sorted descending
        for (int f = 0; f < DialEntry::FieldCount; ++f)
            e.setField(f, QStringLiteral("old %1 %2").arg(i).arg(f));
    }
    book.Syubetu = ModelMorvel;
    book.MACAddress = QStringLiteral("0123456789AB");
    book.UserName = QStringLiteral("お客様");
    Request r = request(2, 4, 0, 1, 2);
    r.mapping.memo = 0;
    int calls = 0;
    const Result result = importInto(book, tableOf(manyLines(3)), r, [&](int i) { QCOMPARE(i, ++calls); });

    QCOMPARE(calls, PhoneBook::EntryCount);
    QCOMPARE(result.imported, 2); // row 4 is beyond the file
    QVERIFY(result.failure.has_value());
    const PhoneBook fresh;
    for (int i = 0; i < PhoneBook::EntryCount; ++i) {
        const DialEntry &e = book.entries[i];
        QCOMPARE(e.No, PhoneBook::slotNumber(i));
        if (i >= 2) {
            QCOMPARE(e, fresh.entries[i]);
            continue;
        }
        QCOMPARE(e.name(), toName(QStringLiteral("名前%1").arg(i + 2)));
        QCOMPARE(e.kana(), QStringLiteral("ﾅﾏｴ"));
        QCOMPARE(e.phone(), QStringLiteral("03-%1").arg(i + 2));
        QCOMPARE(e.memo(), toMemo(QStringLiteral("名前%1").arg(i + 2)));
        QCOMPARE(e.group(), fresh.entries[i].group());
        QCOMPARE(e.extension(), fresh.entries[i].extension());
    }
    QCOMPARE(book.UserName, QString());
    QCOMPARE(book.Syubetu, ModelMorvel);
    QCOMPARE(book.MACAddress, QStringLiteral("0123456789AB"));
    QVERIFY(book.Modified);
}

void TestCsvImport::missingFieldLeavesTheDocument()
{
    PhoneBook book;
    book.entries[7].setField(DialEntry::Name, QStringLiteral("残す"));
    book.UserName = QStringLiteral("お客様");
    const PhoneBook before = book;
    Request r = request(1, 1, 0, 1, 2);
    r.mapping.memo = 3; // the file has three fields
    const Result result = importInto(book, tableOf(manyLines(1)), r);
    QCOMPARE(result.failure.value_or(QString()), unexpectedFieldText());
    QCOMPARE(book.entries, before.entries);
    QCOMPARE(book.UserName, before.UserName);
    QCOMPARE(book.Modified, before.Modified);
}

void TestCsvImport::rowBeyondTheFileStops()
{
    const Outcome outcome = import(PhoneBook(), tableOf(manyLines(3)), request(2, 10, 0, 1, 2));
    QCOMPARE(outcome.failure.value_or(QString()),
             QStringLiteral("予期しないデータ形式のフィールドを発見したので処理を中断します"));
    QCOMPARE(outcome.imported, 2);
    QCOMPARE(outcome.book.entries[1].name(), QStringLiteral("名前３"));
    QVERIFY(outcome.book.Modified);
}

void TestCsvImport::importedFieldsAreTheSplitFields_data()
{
    // The first line gives six fields; the second is the row imported.
    QTest::addColumn<QString>("row");
    QTest::newRow("all fields") << "ab,ｶﾅ,03-1,3,B,memo";
    QTest::newRow("missing fields") << "ab,ｶﾅ";
    QTest::newRow("trailing comma") << "ab,ｶﾅ,03-1,";
    QTest::newRow("empty fields") << ",,,,,";
    QTest::newRow("more fields than the first line") << "a,b,c,4,C,m,x,y";
    QTest::newRow("space marks") << "a[SP]b,ｶ[SP]ﾅ,03[SP]-1,[SP]3,D[SP],m[SP]e[SP]";
    QTest::newRow("bracket without a space mark") << "[a],[ｶ],(03)[1],[3],[A],[m]";
    QTest::newRow("one field") << "onlyname";
    // Long rows, with separators and "[SP]" at every kind of place.
    QTest::newRow("long fields")
        << "山田太郎商事株式会社営業部,やまだたろうしょうじ,(03)1234-5678,10,着信音Ｃ,第二営業部担当者";
    QTest::newRow("commas at the boundaries") << "1234567,90123456,,4567890,1,34567";
    QTest::newRow("space mark across a boundary") << "abcdefg,h[SP]ijklmn,opqrst[SP]u,3,A,vwxyz[SP][SP]ab";
    QTest::newRow("more long fields than the first line")
        << "aaaaaaaaaa,bbbbbbbbbb,cccccccccc,dddddddddd,eeeeeeeeee,ffffffffff,gggggggggg";
}

void TestCsvImport::importedFieldsAreTheSplitFields()
{
    QFETCH(QString, row);
    const Table table = tableOf(QStringLiteral("1,2,3,4,5,6\r\n") + row + QStringLiteral("\r\n"));
    Request r = request(2, 2, 0, 1, 2);
    r.mapping.group = 3;
    r.mapping.ring = 4;
    r.mapping.memo = 5;
    const Outcome outcome = import(PhoneBook(), table, r);
    QCOMPARE(outcome.imported, 1);
    const QStringList fields = splitRow(row, 6);
    const DialEntry &e = outcome.book.entries[0];
    QCOMPARE(e.name(), toName(fields[0]));
    QCOMPARE(e.kana(), toKana(fields[1]));
    QCOMPARE(e.phone(), toPhone(fields[2]));
    QCOMPARE(e.group(), toGroup(fields[3]));
    QCOMPARE(e.ring(), toRingTone(fields[4], PhoneBook().Syubetu));
    QCOMPARE(e.memo(), toMemo(fields[5]));
}

void TestCsvImport::encodingIsDetected()
{
    const QString text = QStringLiteral("山田,やまだ,03\r\n");
    QCOMPARE(decode(text.toUtf8()), text);
    const QString cp932 = QStringLiteral("山田,ﾔﾏﾀﾞ,03\r\n鈴木,ｽｽﾞｷ,04\r\n");
    QCOMPARE(decode(encodeCp932(cp932)), cp932);
    QCOMPARE(decode("\xEF\xBB\xBF" + text.toUtf8()), text);
}

QTEST_GUILESS_MAIN(TestCsvImport)
#include "tst_csvimport.moc"
