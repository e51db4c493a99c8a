#include "core/LineBreaks.h"

#include <QTest>

class TestLineBreaks : public QObject {
    Q_OBJECT
private slots:
    void breaksAtPhrases_data();
    void breaksAtPhrases();
};

void TestLineBreaks::breaksAtPhrases_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxWidth"); // in characters
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("fits") << "現在のデータを全てクリアします。よろしいですか？" << 30
                          << QStringList{"現在のデータを全てクリアします。よろしいですか？"};
    QTest::newRow("question kept whole") << "現在のデータを全てクリアします。よろしいですか？" << 20
                                         << QStringList{"現在のデータを全てクリアします。", "よろしいですか？"};
    QTest::newRow("narrow") << "データの解析には時間がかかる場合があります。実行しますか？" << 12
                            << QStringList{"データの解析には時間が", "かかる場合があります。", "実行しますか？"};
    QTest::newRow("own line ends kept") << "/d/a.csvは既に存在します。\r\n上書きしますか？" << 40
                                        << QStringList{"/d/a.csvは既に存在します。", "上書きしますか？"};
    QTest::newRow("path at its separators")
        << "/home/dealer/customers/maruyama/data.csvは既に存在します。\r\n上書きしますか？" << 20
        << QStringList{"/home/dealer/", "customers/maruyama/", "data.csvは既に存在します。", "上書きしますか？"};
    QTest::newRow("overlong word cut") << "ABCDEFGHIJKLMNOPQRSTUVWXY" << 10
                                       << QStringList{"ABCDEFGHIJ", "KLMNOPQRST", "UVWXY"};
    QTest::newRow("empty") << "" << 10 << QStringList{""};
}

void TestLineBreaks::breaksAtPhrases()
{
    QFETCH(QString, text);
    QFETCH(int, maxWidth);
    QFETCH(QStringList, lines);
    const auto width = [](const QString &piece) { return static_cast<int>(piece.size()); };
    QCOMPARE(breakIntoLines(text, maxWidth, width), lines);
}

QTEST_GUILESS_MAIN(TestLineBreaks)
#include "tst_linebreaks.moc"
