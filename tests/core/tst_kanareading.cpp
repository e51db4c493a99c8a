#include "core/KanaReading.h"

#include <QTest>

class TestKanaReading : public QObject {
    Q_OBJECT
private slots:
    void nameParts_data();
    void nameParts();
    void partReadings_data();
    void partReadings();
    void fieldText_data();
    void fieldText();
    void proposals_data();
    void proposals();
};

namespace {
const QStringList Designators =
    parseDesignatorList(QStringLiteral("# comment\n株式会社\n\n(株)\n㈱\n医療法人\n医療法人社団\n"
                                       "Co.,Ltd.\n"));
}

void TestKanaReading::nameParts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("parts");

    QTest::newRow("plain") << QStringLiteral("丸山工業") << QStringList{QStringLiteral("丸山工業")};
    QTest::newRow("designator before") << QStringLiteral("株式会社丸山工業") << QStringList{QStringLiteral("丸山工業")};
    QTest::newRow("designator after, branch")
        << QStringLiteral("丸山工業株式会社　本社") << QStringList{QStringLiteral("丸山工業"), QStringLiteral("本社")};
    QTest::newRow("half-width brackets") << QStringLiteral("(株)丸山") << QStringList{QStringLiteral("丸山")};
    QTest::newRow("full-width brackets") << QStringLiteral("丸山（株）") << QStringList{QStringLiteral("丸山")};
    QTest::newRow("one-character sign") << QStringLiteral("㈱丸山") << QStringList{QStringLiteral("丸山")};
    QTest::newRow("longer form first") << QStringLiteral("医療法人社団青葉会") << QStringList{QStringLiteral("青葉会")};
    QTest::newRow("latin form") << QStringLiteral("Aoba Co.,Ltd.") << QStringList{QStringLiteral("Ａｏｂａ")};
    QTest::newRow("person, ascii space") << QStringLiteral("佐藤 健一")
                                         << QStringList{QStringLiteral("佐藤"), QStringLiteral("健一")};
    QTest::newRow("only a designator") << QStringLiteral("株式会社") << QStringList{};
    QTest::newRow("empty") << QString() << QStringList{};
}

void TestKanaReading::nameParts()
{
    QFETCH(QString, name);
    QFETCH(QStringList, parts);
    QCOMPARE(kanaNameParts(name, Designators), parts);
}

void TestKanaReading::partReadings_data()
{
    QTest::addColumn<QStringList>("surfaces");
    QTest::addColumn<QStringList>("readings");
    QTest::addColumn<QString>("reading");

    QTest::newRow("readings joined") << QStringList{QStringLiteral("丸山"), QStringLiteral("工業")}
                                     << QStringList{QStringLiteral("マルヤマ"), QStringLiteral("コウギョウ")}
                                     << QStringLiteral("マルヤマコウギョウ");
    QTest::newRow("letters as written") << QStringList{QStringLiteral("ＮＴＴ"), QStringLiteral("東")}
                                        << QStringList{QStringLiteral("エヌティーティー"), QStringLiteral("ヒガシ")}
                                        << QStringLiteral("ＮＴＴヒガシ");
    QTest::newRow("digits as written") << QStringList{QStringLiteral("第"), QStringLiteral("３")}
                                       << QStringList{QStringLiteral("ダイ"), QStringLiteral("サン")}
                                       << QStringLiteral("ダイ３");
    QTest::newRow("unknown word keeps its text")
        << QStringList{QStringLiteral("ぴよ")} << QStringList{QString()} << QStringLiteral("ぴよ");
}

void TestKanaReading::partReadings()
{
    QFETCH(QStringList, surfaces);
    QFETCH(QStringList, readings);
    QFETCH(QString, reading);
    QList<KanaWord> words;
    for (qsizetype i = 0; i < surfaces.size(); ++i)
        words += KanaWord{surfaces[i], readings[i]};
    QCOMPARE(partReading(words), reading);
}

void TestKanaReading::fieldText_data()
{
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<QString>("kana");

    QTest::newRow("sound marks") << QStringList{QStringLiteral("マルヤマコウギョウ")} << QStringLiteral("ﾏﾙﾔﾏｺｳｷﾞｮｳ");
    QTest::newRow("semi-voiced") << QStringList{QStringLiteral("プラスチック")} << QStringLiteral("ﾌﾟﾗｽﾁｯｸ");
    QTest::newRow("parts with one space")
        << QStringList{QStringLiteral("サトウ"), QStringLiteral("ケンイチ")} << QStringLiteral("ｻﾄｳ ｹﾝｲﾁ");
    QTest::newRow("hiragana") << QStringList{QStringLiteral("さくら")} << QStringLiteral("ｻｸﾗ");
    QTest::newRow("kana without a half-width form")
        << QStringList{QStringLiteral("ヶヵヰヱヮゐ")} << QStringLiteral("ｹｶｲｴﾜｲ");
    QTest::newRow("letters and digits half-width")
        << QStringList{QStringLiteral("ＮＴＴヒガシ３")} << QStringLiteral("NTTﾋｶﾞｼ3");
    QTest::newRow("long vowel and dot") << QStringList{QStringLiteral("タクシー・ワン")} << QStringLiteral("ﾀｸｼｰ･ﾜﾝ");
    QTest::newRow("unread kanji dropped") << QStringList{QStringLiteral("ヤマ𠀋ダ")} << QStringLiteral("ﾔﾏﾀﾞ");
    QTest::newRow("empty part skipped") << QStringList{QString(), QStringLiteral("ミナト")} << QStringLiteral("ﾐﾅﾄ");
    QTest::newRow("cut at sixteen") << QStringList{QStringLiteral("オオミヤチュウオウビョウインマエ")}
                                    << QStringLiteral("ｵｵﾐﾔﾁｭｳｵｳﾋﾞｮｳｲﾝﾏ");
    QTest::newRow("cut keeps a kana with its mark")
        << QStringList{QStringLiteral("アイウエオカキクケコサシスセソガ")} << QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿ");
    QTest::newRow("cut before a space drops it")
        << QStringList{QStringLiteral("ムサシノギンコウホンテンマエ"), QStringLiteral("オオミヤ")}
        << QStringLiteral("ﾑｻｼﾉｷﾞﾝｺｳﾎﾝﾃﾝﾏｴ");
    QTest::newRow("exactly sixteen") << QStringList{QStringLiteral("アイウエオカキクケコサシスセソタ")}
                                     << QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀ");
}

void TestKanaReading::fieldText()
{
    QFETCH(QStringList, parts);
    QFETCH(QString, kana);
    QCOMPARE(kanaFieldText(parts), kana);
}

void TestKanaReading::proposals_data()
{
    QTest::addColumn<QList<QStringList>>("candidates");
    QTest::addColumn<int>("maxCount");
    QTest::addColumn<QStringList>("proposals");

    const QList<QStringList> person{
        {QStringLiteral("カミヤ"), QStringLiteral("カミタニ")},
        {QStringLiteral("ケンイチ"), QStringLiteral("ケンカズ"), QStringLiteral("タケイチ")}};
    QTest::newRow("best first, then one part changed, rank by rank")
        << person << 6
        << QStringList{QStringLiteral("ｶﾐﾔ ｹﾝｲﾁ"), QStringLiteral("ｶﾐﾀﾆ ｹﾝｲﾁ"), QStringLiteral("ｶﾐﾔ ｹﾝｶｽﾞ"),
                       QStringLiteral("ｶﾐﾔ ﾀｹｲﾁ")};
    QTest::newRow("at most maxCount") << person << 2
                                      << QStringList{QStringLiteral("ｶﾐﾔ ｹﾝｲﾁ"), QStringLiteral("ｶﾐﾀﾆ ｹﾝｲﾁ")};
    QTest::newRow("same field text once")
        << QList<QStringList>{{QStringLiteral("オオタ"), QStringLiteral("おおた"), QStringLiteral("オータ")}} << 6
        << QStringList{QStringLiteral("ｵｵﾀ"), QStringLiteral("ｵｰﾀ")};
    QTest::newRow("nothing to read") << QList<QStringList>{} << 6 << QStringList{};
}

void TestKanaReading::proposals()
{
    QFETCH(QList<QStringList>, candidates);
    QFETCH(int, maxCount);
    QFETCH(QStringList, proposals);
    QCOMPARE(kanaProposals(candidates, maxCount), proposals);
}

QTEST_APPLESS_MAIN(TestKanaReading)
#include "tst_kanareading.moc"
