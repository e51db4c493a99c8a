#include "formats/AppPaths.h"
#include "formats/HelpData.h"
#include "formats/IniFile.h"
#include "formats/TextFile.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// Each topic as "title/depth/parent/image", joined by spaces.
QString describe(const HelpTree &tree)
{
    QStringList parts;
    for (int i = 0; i < int(tree.topics.size()); ++i) {
        const HelpTopic &t = tree.topics[i];
        parts << QStringLiteral("%1/%2/%3/%4").arg(t.title).arg(t.depth).arg(t.parent).arg(helpTopicImage(tree, i));
    }
    return parts.join(u' ');
}

} // namespace

class TestHelpData : public QObject {
    Q_OBJECT
private slots:
    void tree_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("topics");
        QTest::addColumn<QString>("error");

        QTest::newRow("four lines") << "T1\n\tT2\n\tT3\nT4"
                                    << "T1/0/-1/0 T2/1/0/1 T3/1/0/1 T4/0/-1/1"
                                    << "";
        QTest::newRow("space and tab are one level each") << "A\n B\n\tC\n \tD"
                                                          << "A/0/-1/0 B/1/0/1 C/1/0/0 D/2/2/1"
                                                          << "";
        QTest::newRow("first line at the top whatever its level") << "\t\tA\n\tB\nC"
                                                                  << "A/0/-1/0 B/1/0/1 C/0/-1/1"
                                                                  << "";
        QTest::newRow("back by two levels") << "A\n\tB\n\t\tC\nD\n\tE"
                                            << "A/0/-1/0 B/1/0/0 C/2/1/1 D/0/-1/0 E/1/3/1"
                                            << "";
        QTest::newRow("back by one level under the grandparent") << "A\n\tB\n\t\tC\n\tD"
                                                                 << "A/0/-1/0 B/1/0/0 C/2/1/1 D/1/0/1"
                                                                 << "";
        QTest::newRow("first topic without children keeps image 0") << "A\nB"
                                                                    << "A/0/-1/0 B/0/-1/1"
                                                                    << "";
        QTest::newRow("two levels deeper stops, topics before it stay")
            << "A\n\tB\n\t\t\tBad\n\tC"
            << "A/0/-1/0 B/1/0/1" << QStringLiteral("項目 \"Bad\" の階層 (3) が不正です");
        QTest::newRow("second line too deep") << "A\n  X"
                                              << "A/0/-1/0" << QStringLiteral("項目 \"X\" の階層 (2) が不正です");
        QTest::newRow("empty") << ""
                               << ""
                               << "";
    }
    void tree()
    {
        QFETCH(QString, file);
        QFETCH(QString, topics);
        QFETCH(QString, error);
        const HelpTree tree = parseHelpTree(splitLines(file));
        QCOMPARE(describe(tree), topics);
        QCOMPARE(tree.error, error);
    }

    void ideographicSpaceIsPartOfTheTitle()
    {
        const HelpTree tree = parseHelpTree({QStringLiteral("A"), QStringLiteral("　B")});
        QCOMPARE(tree.topics.size(), size_t(2));
        QCOMPARE(tree.topics[1].title, QStringLiteral("　B"));
        QCOMPARE(tree.topics[1].depth, 0);
    }

    void treeFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tree.dat"));
        QVERIFY(loadHelpTree(path).topics.empty());
        // Code page 932 without a mark, as the phone system's tools write it.
        writeText(path, QStringLiteral("目次\r\n\t検索\r\n"));
        QCOMPARE(describe(loadHelpTree(path)), QStringLiteral("目次/0/-1/0 検索/1/0/1"));
    }

    void text_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");

        const QString file = QStringLiteral("[help]\r\n"
                                            "検索 = 検索の説明 \r\n"
                                            "Quoted=\"  in quotes  \"\r\n"
                                            "Single='single'\r\n"
                                            "Half=\"half'\r\n"
                                            "Lines=one[br]two[br]three\r\n"
                                            "Caps=one[BR]two\r\n"
                                            "検索=second line loses\r\n"
                                            "[other]\r\n"
                                            "Elsewhere=not help\r\n");
        QTest::newRow("trimmed") << file << "検索"
                                 << "検索の説明";
        QTest::newRow("title without regard to case") << file << "QUOTED"
                                                      << "  in quotes  ";
        QTest::newRow("single quotes") << file << "single"
                                       << "single";
        QTest::newRow("unpaired quotes stay") << file << "Half"
                                              << "\"half'";
        QTest::newRow("two br marks give three lines") << file << "Lines"
                                                       << "one\r\ntwo\r\nthree";
        QTest::newRow("BR in capitals is kept") << file << "Caps"
                                                << "one[BR]two";
        QTest::newRow("unknown title") << file << "Missing"
                                       << "";
        QTest::newRow("other section") << file << "Elsewhere"
                                       << "";
    }
    void text()
    {
        QFETCH(QString, file);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QCOMPARE(helpTextOf(IniFile::parse(file), title), text);
    }

    void textIsCutAt2047Characters()
    {
        const QString longText = QString(2046, u'あ') + QStringLiteral("いう");
        const QString text = helpTextOf(IniFile::parse(QStringLiteral("[HELP]\nT=") + longText), QStringLiteral("T"));
        QCOMPARE(text.size(), 2047);
        QCOMPARE(text.back(), u'い');
    }

    void brIsReplacedAfterTheCut()
    {
        // A mark that the cut splits is no longer a mark.
        const QString longText = QString(2045, u'x') + QStringLiteral("[br]");
        const QString text = helpTextOf(IniFile::parse(QStringLiteral("[HELP]\nT=") + longText), QStringLiteral("T"));
        QCOMPARE(text.right(2), QStringLiteral("[b"));
    }

    void textFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("help.dat"));
        QCOMPARE(readHelpText(path, QStringLiteral("T")), std::optional<QString>());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\xEF\xBB\xBF[HELP]\r\nT=\xE3\x81\x82[br]b\r\n");
        file.close();
        QCOMPARE(readHelpText(path, QStringLiteral("T")), std::optional<QString>(QStringLiteral("あ\r\nb")));
        QCOMPARE(readHelpText(path, QStringLiteral("U")), std::optional<QString>(QString()));
    }

    void pathsBesideTheExecutable()
    {
        AppPaths::setExecutableFolder(QStringLiteral("/opt/dalvino"));
        QCOMPARE(helpTreeFile(), QStringLiteral("/opt/dalvino/data/kelvo_helptree.dat"));
        QCOMPARE(helpTextFile(), QStringLiteral("/opt/dalvino/data/kelvo_help.dat"));
    }
};

QTEST_GUILESS_MAIN(TestHelpData)
#include "tst_helpdata.moc"
