#include "TestPaths.h"
#include "core/DalvinoError.h"
#include "formats/KanaReader.h"

#include <QTest>

class TestKanaReader : public QObject {
    Q_OBJECT
private slots:
    void proposals_data();
    void proposals();
    void loadsOnFirstUseOnly();
    void missingDictionary();
};

namespace {
QString designatorFile()
{
    return sourceDir() + QStringLiteral("/data/kana_designators.txt");
}
} // namespace

void TestKanaReader::proposals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("alternative");

    QTest::newRow("company without its designator")
        << QStringLiteral("株式会社丸山工業") << QStringLiteral("ﾏﾙﾔﾏｺｳｷﾞｮｳ") << QString();
    QTest::newRow("bracketed designator after")
        << QStringLiteral("関東塗料（株）") << QStringLiteral("ｶﾝﾄｳﾄﾘｮｳ") << QString();
    QTest::newRow("person with a space") << QStringLiteral("佐藤　健一") << QStringLiteral("ｻﾄｳ ｹﾝｲﾁ") << QString();
    QTest::newRow("letters kept") << QStringLiteral("ＮＴＴ東日本") << QStringLiteral("NTTﾋｶﾞｼﾆｯﾎﾟﾝ")
                                  << QStringLiteral("NTTﾋｶﾞｼﾆﾎﾝ");
    QTest::newRow("cut to the field") << QStringLiteral("大宮中央総合病院前郵便局")
                                      << QStringLiteral("ｵｵﾐﾔﾁｭｳｵｳｿｳｺﾞｳﾋﾞ") << QString();
    QTest::newRow("nothing readable") << QStringLiteral("㈱") << QString() << QString();
}

void TestKanaReader::proposals()
{
    QFETCH(QString, name);
    QFETCH(QString, first);
    QFETCH(QString, alternative);
    KanaReader reader(KanaDictionary::installed(), designatorFile());
    const QStringList proposals = reader.proposals(name);
    QCOMPARE(proposals.value(0), first);
    QVERIFY(proposals.size() <= KanaReader::MaxProposals);
    if (!alternative.isEmpty())
        QVERIFY2(proposals.contains(alternative), qPrintable(proposals.join(u'|')));
}

void TestKanaReader::loadsOnFirstUseOnly()
{
    KanaReader reader(KanaDictionary::installed(), designatorFile());
    QVERIFY(!reader.isLoaded());
    reader.proposals(QStringLiteral("青葉"));
    QVERIFY(reader.isLoaded());
}

void TestKanaReader::missingDictionary()
{
    const QString folder = QStringLiteral("/nonexistent/mecab/ipadic-utf8");
    KanaReader reader(KanaDictionary{folder, 7}, designatorFile());
    try {
        reader.proposals(QStringLiteral("丸山工業"));
        QFAIL("no error for a missing dictionary");
    } catch (const DalvinoError &error) {
        QCOMPARE(error.text(), QStringLiteral("読みの辞書 /nonexistent/mecab/ipadic-utf8 を読み込めません。"
                                              "mecab-ipadic-utf8 をインストールしてください。"));
        QVERIFY(!error.text().contains(u'\n'));
    }
    QVERIFY(!reader.isLoaded());
}

QTEST_GUILESS_MAIN(TestKanaReader)
#include "tst_kanareader.moc"
