#include "core/WidthRules.h"

#include <QTest>
#include <vector>

class TestWidthRules : public QObject {
    Q_OBJECT
private slots:
    void widthClasses_data();
    void widthClasses();
    void changeFullSize_data();
    void changeFullSize();
    void changeHalfSize_data();
    void changeHalfSize();
    void substrings_data();
    void substrings();
    void entryCheck_data();
    void entryCheck();
    void groupNameCheck();
    void trimming();
};

void TestWidthRules::widthClasses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("full");
    QTest::addColumn<bool>("half");

    QTest::newRow("empty") << QString() << true << true;
    QTest::newRow("kanji with ideographic space") << QStringLiteral("山田　太郎") << true << false;
    QTest::newRow("kanji with ascii space") << QStringLiteral("山田 太郎") << false << false;
    QTest::newRow("times sign below U+0100") << QStringLiteral("×") << false << false;
    QTest::newRow("latin-1 degree") << QStringLiteral("°") << false << false;
    QTest::newRow("U+0100 is full") << QString(QChar(0x0100)) << true << false;
    QTest::newRow("U+FF60 is full") << QString(QChar(0xFF60)) << true << false;
    QTest::newRow("U+FF61 is half") << QString(QChar(0xFF61)) << false << true;
    QTest::newRow("U+FF9F is half") << QString(QChar(0xFF9F)) << false << true;
    QTest::newRow("U+FFA0 neither") << QString(QChar(0xFFA0)) << false << false;
    QTest::newRow("full-width yen U+FFE5 neither") << QStringLiteral("￥") << false << false;
    QTest::newRow("half kana with space") << QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ") << false << true;
    QTest::newRow("full katakana") << QStringLiteral("ヤマダ") << true << false;
    QTest::newRow("tab") << QStringLiteral("ab\tc") << false << false;
    QTest::newRow("DEL") << QString(QChar(0x7F)) << false << false;
    QTest::newRow("tilde U+007E half") << QStringLiteral("~") << false << true;
    QTest::newRow("surrogate pair") << QString::fromUcs4(U"𠀋") << true << false;
    QTest::newRow("lone high surrogate") << QString(QChar(0xD800)) << true << false;
    QTest::newRow("full-width ascii") << QStringLiteral("ＡＢＣ１２３") << true << false;
}

void TestWidthRules::widthClasses()
{
    QFETCH(QString, text);
    QFETCH(bool, full);
    QFETCH(bool, half);
    QCOMPARE(IsFullString(text), full);
    QCOMPARE(IsHalfString(text), half);
}

void TestWidthRules::changeFullSize_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("voiced composition") << QStringLiteral("ｶﾞｯｺｳ 1") << QStringLiteral("ガッコウ　１");
    QTest::newRow("ascii") << QStringLiteral("A1-#") << QStringLiteral("Ａ１－＃");
    QTest::newRow("semi-voiced") << QStringLiteral("ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ") << QStringLiteral("パピプペポ");
    QTest::newRow("vu") << QStringLiteral("ｳﾞ") << QStringLiteral("ヴ");
    QTest::newRow("marks") << QStringLiteral("｡｢｣､･ｰ") << QStringLiteral("。「」、・ー");
    QTest::newRow("lone voiced mark") << QStringLiteral("ﾞ") << QStringLiteral("゛");
    QTest::newRow("lone semi-voiced mark") << QStringLiteral("ﾟ") << QStringLiteral("゜");
    QTest::newRow("voiced mark after a kana without voiced form") << QStringLiteral("ｱﾞ") << QStringLiteral("ア゛");
    QTest::newRow("semi-voiced after ka stays apart") << QStringLiteral("ｶﾟ") << QStringLiteral("カ゜");
    QTest::newRow("tsu and small tsu") << QStringLiteral("ﾂﾞｯ") << QStringLiteral("ヅッ");
    QTest::newRow("hiragana and kanji unchanged") << QStringLiteral("やまだ山田") << QStringLiteral("やまだ山田");
    QTest::newRow("latin-1 and control unchanged") << QStringLiteral("×\t") << QStringLiteral("×\t");
    QTest::newRow("nul ends the result") << QStringLiteral("ab") + QChar(0) + QStringLiteral("cd")
                                         << QStringLiteral("ａｂ");
    QTest::newRow("wo and n") << QStringLiteral("ｦﾝ") << QStringLiteral("ヲン");
    QTest::newRow("va and vo") << QStringLiteral("ﾜﾞｦﾞ") << QStringLiteral("ヷヺ");
}

void TestWidthRules::changeFullSize()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(ChangeFullSize(input), expected);
    // The writer behind it, into a buffer that already holds other text.
    std::vector<char16_t> buffer(input.size() + 2, u'#');
    const qsizetype written = writeFullSize(input, buffer.data() + 1);
    QCOMPARE(QStringView(buffer.data() + 1, written), expected);
    QCOMPARE(buffer.back(), u'#');
}

void TestWidthRules::changeHalfSize_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("voiced decomposition") << QStringLiteral("ガッコウ") << QStringLiteral("ｶﾞｯｺｳ");
    QTest::newRow("phone") << QStringLiteral("０３－１２３４") << QStringLiteral("03-1234");
    QTest::newRow("hiragana unchanged") << QStringLiteral("やまだ") << QStringLiteral("やまだ");
    QTest::newRow("semi-voiced") << QStringLiteral("パポ") << QStringLiteral("ﾊﾟﾎﾟ");
    QTest::newRow("vu") << QStringLiteral("ヴ") << QStringLiteral("ｳﾞ");
    QTest::newRow("marks") << QStringLiteral("。「」、・ー゛゜") << QStringLiteral("｡｢｣､･ｰﾞﾟ");
    QTest::newRow("no half form") << QStringLiteral("ヮヰヱヵヶ") << QStringLiteral("ヮヰヱヵヶ");
    QTest::newRow("ideographic space") << QStringLiteral("山田　太郎") << QStringLiteral("山田 太郎");
    QTest::newRow("full-width tilde") << QStringLiteral("～") << QStringLiteral("~");
    QTest::newRow("zu and du") << QStringLiteral("ズヅ") << QStringLiteral("ｽﾞﾂﾞ");
    QTest::newRow("va and vo") << QStringLiteral("ヷヺ") << QStringLiteral("ﾜﾞｦﾞ");
    QTest::newRow("vi and ve have no half form") << QStringLiteral("ヸヹ") << QStringLiteral("ヸヹ");
    QTest::newRow("nul ends the result") << QStringLiteral("ア") + QChar(0) + QStringLiteral("イ")
                                         << QStringLiteral("ｱ");
}

void TestWidthRules::changeHalfSize()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(ChangeHalfSize(input), expected);
    std::vector<char16_t> buffer(2 * input.size() + 2, u'#');
    const qsizetype written = writeHalfSize(input, buffer.data() + 1);
    QCOMPARE(QStringView(buffer.data() + 1, written), expected);
    QCOMPARE(buffer.back(), u'#');
}

void TestWidthRules::substrings_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");

    QTest::newRow("right 4 of 0005") << "right"
                                     << "0005" << 4 << "0005";
    QTest::newRow("right 4 of 00012") << "right"
                                      << "00012" << 4 << "0012";
    QTest::newRow("right 5 of ab") << "right"
                                   << "ab" << 5 << "ab";
    QTest::newRow("right 0") << "right"
                             << "abc" << 0 << "";
    QTest::newRow("right negative") << "right"
                                    << "abc" << -2 << "";
    QTest::newRow("right 2 of 07") << "right"
                                   << "07" << 2 << "07";
    QTest::newRow("right 2 of 012") << "right"
                                    << "012" << 2 << "12";
    QTest::newRow("right of empty") << "right"
                                    << "" << 3 << "";
    QTest::newRow("left 4") << "left"
                            << "abcdef" << 4 << "abcd";
    QTest::newRow("left over-long") << "left"
                                    << "ab" << 10 << "ab";
    QTest::newRow("left 0") << "left"
                            << "ab" << 0 << "";
    QTest::newRow("left negative") << "left"
                                   << "ab" << -1 << "";
    QTest::newRow("delete 3") << "delete"
                              << "abcdef" << 3 << "abc";
    QTest::newRow("delete more than held") << "delete"
                                           << "ab" << 3 << "";
    QTest::newRow("delete all") << "delete"
                                << "ab" << 2 << "";
    QTest::newRow("delete 0") << "delete"
                              << "ab" << 0 << "ab";
    QTest::newRow("delete negative") << "delete"
                                     << "ab" << -5 << "ab";
}

void TestWidthRules::substrings()
{
    QFETCH(QString, function);
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(QString, expected);
    QString result;
    if (function == "right")
        result = CopyRight(text, count);
    else if (function == "left")
        result = CopyLeft(text, count);
    else
        result = DeleteRight(text, count);
    QCOMPARE(result, expected);
}

void TestWidthRules::entryCheck_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kana");
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<int>("field"); // -1: passes
    QTest::addColumn<QString>("message");

    const int name = int(CheckedField::Name), kana = int(CheckedField::Kana), phone = int(CheckedField::Phone),
              memo = int(CheckedField::Memo);
    QTest::newRow("all empty") << ""
                               << ""
                               << ""
                               << "" << -1 << "";
    QTest::newRow("typical entry") << "山田　太郎"
                                   << "ﾔﾏﾀﾞ ﾀﾛｳ"
                                   << "03-1234-5678"
                                   << "営業部" << -1 << "";
    QTest::newRow("dial characters") << ""
                                     << ""
                                     << "P12#"
                                     << "" << -1 << "";
    QTest::newRow("brackets star E") << ""
                                     << ""
                                     << "[1]*E"
                                     << "" << -1 << "";
    QTest::newRow("space in phone") << ""
                                    << ""
                                    << "03 1234"
                                    << "" << phone << "電話番号に不正文字が存在している可能性があります";
    QTest::newRow("lower-case p") << ""
                                  << ""
                                  << "p123"
                                  << "" << phone << "電話番号に不正文字が存在している可能性があります";
    QTest::newRow("plus sign") << ""
                               << ""
                               << "+81"
                               << "" << phone << "電話番号に不正文字が存在している可能性があります";
    QTest::newRow("full-width digits") << ""
                                       << ""
                                       << "０３"
                                       << "" << phone << "電話番号に全角文字が存在している可能性があります";
    QTest::newRow("half in name beats full in kana") << "山田A"
                                                     << "ヤマダ"
                                                     << ""
                                                     << "" << name << "名前に半角文字が存在している可能性があります";
    QTest::newRow("full in kana") << "山田"
                                  << "ヤマダ"
                                  << ""
                                  << "" << kana << "カナに全角文字が存在している可能性があります";
    QTest::newRow("memo before phone characters") << ""
                                                  << ""
                                                  << "p"
                                                  << "memo" << memo << "メモに半角文字が存在している可能性があります";
}

void TestWidthRules::entryCheck()
{
    QFETCH(QString, name);
    QFETCH(QString, kana);
    QFETCH(QString, phone);
    QFETCH(QString, memo);
    QFETCH(int, field);
    QFETCH(QString, message);
    const auto failure = checkEntry(name, kana, phone, memo);
    QCOMPARE(failure.has_value(), field >= 0);
    if (failure) {
        QCOMPARE(int(failure->field), field);
        QCOMPARE(failure->message, message);
    }
}

void TestWidthRules::groupNameCheck()
{
    QVERIFY(!checkGroupName(QString()));
    QVERIFY(!checkGroupName(QStringLiteral("営業部")));
    const auto failure = checkGroupName(QStringLiteral("営業1"));
    QVERIFY(failure);
    QCOMPARE(failure->message, QStringLiteral("グループ名に半角文字が存在している可能性があります"));
}

void TestWidthRules::trimming()
{
    QCOMPARE(trimControlAndSpace(QStringLiteral(" \t03-1234\r\n ")), QStringLiteral("03-1234"));
    QCOMPARE(trimControlAndSpace(QStringLiteral("　山田　")), QStringLiteral("　山田　")); // U+3000 stays
    QCOMPARE(trimControlAndSpace(QStringLiteral("  ")), QString());
}

QTEST_APPLESS_MAIN(TestWidthRules)
#include "tst_widthrules.moc"
