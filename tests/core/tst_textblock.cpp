#include "core/TextBlock.h"

#include <QTest>
#include <algorithm>
#include <vector>

// Texts shared out of one allocation must behave as texts of their own: right contents,
// 0-terminated, independent when changed, and released exactly once (the sanitizer build
// reports a leak or a use after release).
class TestTextBlock : public QObject {
    Q_OBJECT
private slots:
    void textsAsWritten_data();
    void textsAsWritten();
    void changingOneLeavesTheOthers();
    void releasedInAnyOrder();
    void handedOutWhenTheBlockGoes();
    void replacesWhatTheTargetHeld();
    void aTargetGivenTwoTextsKeepsTheLater_data();
    void aTargetGivenTwoTextsKeepsTheLater();
};

namespace {

// Texts of the given lengths, each of its own letter: "", "a", "bb", …
std::vector<QString> textsOfLengths(const std::vector<int> &lengths)
{
    std::vector<QString> texts;
    for (size_t i = 0; i < lengths.size(); ++i)
        texts.push_back(QString(lengths[i], QChar(u'a' + static_cast<char16_t>(i % 26))));
    return texts;
}

} // namespace

void TestTextBlock::textsAsWritten_data()
{
    QTest::addColumn<std::vector<int>>("lengths");
    QTest::newRow("one") << std::vector<int>{5};
    QTest::newRow("empty ones between") << std::vector<int>{0, 3, 0, 0, 7, 0};
    // Enough to fill several blocks, so that texts of more than one allocation are mixed.
    QTest::newRow("several blocks") << std::vector<int>(5000, 9);
    QTest::newRow("one longer than a block") << std::vector<int>{4, 20000, 4};
    QTest::newRow("a block filled exactly") << std::vector<int>{4095, 1, 2};
}

void TestTextBlock::textsAsWritten()
{
    QFETCH(std::vector<int>, lengths);
    const std::vector<QString> expected = textsOfLengths(lengths);
    std::vector<QString> targets(expected.size());
    {
        TextBlock block;
        for (size_t i = 0; i < expected.size(); ++i)
            block.add(expected[i], targets[i]);
        block.flush();
    }
    for (size_t i = 0; i < expected.size(); ++i) {
        QCOMPARE(targets[i], expected[i]);
        QCOMPARE(targets[i].isNull(), expected[i].isEmpty());
        if (!targets[i].isEmpty())
            QCOMPARE(targets[i].utf16()[targets[i].size()], u'\0');
    }
}

void TestTextBlock::changingOneLeavesTheOthers()
{
    QString first, second, third;
    {
        TextBlock block;
        block.add(u"山田", first);
        block.add(u"ﾔﾏﾀﾞ", second);
        block.add(u"03-1234", third);
    }
    first.append(u"太郎");
    second[0] = u'X';
    third.replace(0, 2, QStringLiteral("06"));
    QCOMPARE(first, QStringLiteral("山田太郎"));
    QCOMPARE(second, QStringLiteral("Xﾏﾀﾞ"));
    QCOMPARE(third, QStringLiteral("06-1234"));

    // The last text left of a block may grow in place over the released ones.
    QString a, b;
    {
        TextBlock block;
        block.add(u"abc", a);
        block.add(u"def", b);
    }
    b = QString();
    a.append(u"ghijkl");
    QCOMPARE(a, QStringLiteral("abcghijkl"));
}

void TestTextBlock::releasedInAnyOrder()
{
    for (const bool firstLast : {true, false}) {
        std::vector<QString> targets(6);
        {
            TextBlock block;
            for (QString &target : targets)
                block.add(u"text", target);
        }
        std::vector<QString> copies = targets; // more owners of the same texts
        if (firstLast)
            std::reverse(targets.begin(), targets.end());
        for (QString &target : targets)
            target = QString();
        for (const QString &copy : copies)
            QCOMPARE(copy, QStringLiteral("text"));
    }
}

void TestTextBlock::handedOutWhenTheBlockGoes()
{
    QString name;
    {
        TextBlock block;
        block.add(u"名前", name);
        QVERIFY(name.isNull()); // not before the texts are shared out
    }
    QCOMPARE(name, QStringLiteral("名前"));
}

void TestTextBlock::replacesWhatTheTargetHeld()
{
    QString target = QStringLiteral("old text");
    QString empty = QStringLiteral("old too");
    {
        TextBlock block;
        block.add(u"new", target);
        block.add(QStringView(), empty);
    }
    QCOMPARE(target, QStringLiteral("new"));
    QVERIFY(empty.isNull());
}

void TestTextBlock::aTargetGivenTwoTextsKeepsTheLater_data()
{
    // (A phone book file may hold two records of one slot; the later one counts.)
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("text, then text") << "first" << "second";
    QTest::newRow("text, then empty") << "first" << "";
    QTest::newRow("empty, then text") << "" << "second";
}

void TestTextBlock::aTargetGivenTwoTextsKeepsTheLater()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QString target = QStringLiteral("old");
    QString other;
    {
        TextBlock block;
        block.add(first, target);
        block.add(u"between", other);
        block.add(second, target);
    }
    QCOMPARE(target, second);
    QCOMPARE(target.isNull(), second.isEmpty());
    QCOMPARE(other, QStringLiteral("between"));
}

QTEST_APPLESS_MAIN(TestTextBlock)
#include "tst_textblock.moc"
