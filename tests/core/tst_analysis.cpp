#include "core/Analysis.h"
#include "core/PhoneBook.h"
#include "formats/TextFile.h"

#include <QTest>
#include <algorithm>

namespace {

const QString NameWidth = QStringLiteral("    名前に半角文字が存在している可能性があります\r\n");
const QString KanaWidth = QStringLiteral("    カナに全角文字が存在している可能性があります\r\n");
const QString PhoneWidth = QStringLiteral("    電話番号に全角文字が存在している可能性があります\r\n");
const QString PhoneChar = QStringLiteral("    電話番号に不正文字が存在している可能性があります\r\n");
const QString MemoWidth = QStringLiteral("    メモに半角文字が存在している可能性があります\r\n");
const QString NameLength = QStringLiteral("    名前が全角１６文字を越えています\r\n");
const QString KanaLength = QStringLiteral("    カナが１６文字を越えています\r\n");
const QString PhoneLength = QStringLiteral("    電話番号が２４文字を越えています\r\n");
const QString MemoLength = QStringLiteral("    メモが全角１６文字を越えています\r\n");
const QString NoProblems = QStringLiteral("この電話帳データに異常は見つかりませんでした");

QString block(const QString &slot, const QStringList &lines)
{
    return QStringLiteral("【短縮") + slot + QStringLiteral("】\r\n") + lines.join(QString()) + QStringLiteral("\r\n");
}

DialEntry &entryAt(PhoneBook &book, int position)
{
    return book.entries[position];
}

} // namespace

class TestAnalysis : public QObject {
    Q_OBJECT
private slots:
    void emptyBookHasNoProblems();
    void oneEntry_data();
    void oneEntry();
    void blocksFollowTheCurrentOrder();
    void progressVisitsEveryPosition();
    void everyFindingAtOnce();
    void savedNoProblemsReportIsTwentyTwoCharacters();
    void reportDoesNotChangeTheBook();
};

void TestAnalysis::emptyBookHasNoProblems()
{
    const PhoneBook book;
    QCOMPARE(analysisReport(book), NoProblems);
    QCOMPARE(noProblemsReport(), NoProblems);
    QVERIFY(!noProblemsReport().endsWith(u'\n'));
}

void TestAnalysis::oneEntry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kana");
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QStringList>("lines"); // empty: the entry passes

    const QString full16 = QString(16, QChar(0x5C71)); // 山 × 16
    const QString full17 = QString(17, QChar(0x5C71));
    const QString half16 = QString(16, QChar(0xFF71)); // ｱ × 16
    const QString half17 = QString(17, QChar(0xFF71));

    QTest::newRow("all empty") << QString() << QString() << QString() << QString() << QStringList();
    QTest::newRow("good entry") << QStringLiteral("山田　太郎") << QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ")
                                << QStringLiteral("03-1234-5678") << QStringLiteral("営業部") << QStringList();
    QTest::newRow("name of 16 passes") << full16 << QString() << QString() << QString() << QStringList();
    QTest::newRow("name of 17 gives F only")
        << full17 << QString() << QString() << QString() << QStringList{NameLength};
    QTest::newRow("one half-width character in a name")
        << QStringLiteral("山田A") << QString() << QString() << QString() << QStringList{NameWidth};
    QTest::newRow("half-width character in a long name") << QString(16, QChar(0x5C71)) + u'A' << QString() << QString()
                                                         << QString() << QStringList{NameWidth, NameLength};
    QTest::newRow("Latin-1 in a name is not full-width")
        << QStringLiteral("山×田") << QString() << QString() << QString() << QStringList{NameWidth};
    QTest::newRow("kana of 16 passes") << QString() << half16 << QString() << QString() << QStringList();
    QTest::newRow("kana of 17") << QString() << half17 << QString() << QString() << QStringList{KanaLength};
    QTest::newRow("full-width kana") << QString() << QStringLiteral("ヤマダ") << QString() << QString()
                                     << QStringList{KanaWidth};
    QTest::newRow("tab in kana") << QString() << QStringLiteral("ﾔ\tﾏ") << QString() << QString()
                                 << QStringList{KanaWidth};
    QTest::newRow("dialling characters pass")
        << QString() << QString() << QStringLiteral("P12#") << QString() << QStringList();
    QTest::newRow("brackets star and E pass")
        << QString() << QString() << QStringLiteral("[1]*E") << QString() << QStringList();
    QTest::newRow("spaces in a phone number")
        << QString() << QString() << QStringLiteral("03 1234 5678") << QString() << QStringList{PhoneChar};
    QTest::newRow("lower-case p") << QString() << QString() << QStringLiteral("p123") << QString()
                                  << QStringList{PhoneChar};
    QTest::newRow("full-width digits") << QString() << QString() << QStringLiteral("０３１２３４") << QString()
                                       << QStringList{PhoneWidth, PhoneChar};
    QTest::newRow("control character in a phone number")
        << QString() << QString() << QStringLiteral("03\r1") << QString() << QStringList{PhoneWidth, PhoneChar};
    QTest::newRow("24 digits pass") << QString() << QString() << QString(24, u'1') << QString() << QStringList();
    QTest::newRow("25 digits give H only")
        << QString() << QString() << QString(25, u'1') << QString() << QStringList{PhoneLength};
    QTest::newRow("memo of 17") << QString() << QString() << QString() << full17 << QStringList{MemoLength};
    QTest::newRow("half-width memo") << QString() << QString() << QString() << QStringLiteral("memo")
                                     << QStringList{MemoWidth};
    QTest::newRow("A and D: name line before memo line")
        << QStringLiteral("a") << QString() << QString() << QStringLiteral("m") << QStringList{NameWidth, MemoWidth};
    QTest::newRow("C and D: memo line before phone lines")
        << QString() << QString() << QStringLiteral("０３") << QStringLiteral("m")
        << QStringList{MemoWidth, PhoneWidth, PhoneChar};
    // A character outside the Basic Multilingual Plane counts two code units.
    QTest::newRow("surrogate pairs count twice")
        << QString(8, QChar(0x5C71)) + QString::fromUcs4(U"\U00020BB7\U00020BB7\U00020BB7\U00020BB7\U00020BB7")
        << QString() << QString() << QString() << QStringList{NameLength};
}

void TestAnalysis::oneEntry()
{
    QFETCH(QString, name);
    QFETCH(QString, kana);
    QFETCH(QString, phone);
    QFETCH(QString, memo);
    QFETCH(QStringList, lines);

    PhoneBook book;
    DialEntry &entry = entryAt(book, 1234);
    entry.setField(DialEntry::Name, name);
    entry.setField(DialEntry::Kana, kana);
    entry.setField(DialEntry::Phone, phone);
    entry.setField(DialEntry::Memo, memo);

    const QString expected = lines.isEmpty() ? NoProblems : block(QStringLiteral("1234"), lines);
    QCOMPARE(analysisReport(book), expected);
    QCOMPARE(analyseEntry(entry) == 0, lines.isEmpty());
}

void TestAnalysis::blocksFollowTheCurrentOrder()
{
    PhoneBook book;
    entryAt(book, 5).setField(DialEntry::Name, QStringLiteral("b"));
    entryAt(book, 3000).setField(DialEntry::Name, QStringLiteral("a"));
    entryAt(book, 3999).setField(DialEntry::Memo, QStringLiteral("c"));
    // Fields outside the four tested ones do not count.
    entryAt(book, 7).setField(DialEntry::Destination, QStringLiteral("x y"));
    entryAt(book, 8).setField(DialEntry::Group, QStringLiteral("abc"));

    QCOMPARE(analysisReport(book), block(QStringLiteral("0005"), {NameWidth}) +
                                       block(QStringLiteral("3000"), {NameWidth}) +
                                       block(QStringLiteral("3999"), {MemoWidth}));

    // Sorted by name, as the list command does: the slot numbers travel with their entries.
    std::stable_sort(book.entries.begin(), book.entries.end(),
                     [](const DialEntry &l, const DialEntry &r) { return l.name() > r.name(); });
    QCOMPARE(book.entries[0].No, QStringLiteral("0005"));
    QCOMPARE(analysisReport(book), block(QStringLiteral("0005"), {NameWidth}) +
                                       block(QStringLiteral("3000"), {NameWidth}) +
                                       block(QStringLiteral("3999"), {MemoWidth}));
    std::rotate(book.entries.begin(), book.entries.begin() + 1, book.entries.end());
    QCOMPARE(book.entries[0].No, QStringLiteral("3000"));
    QCOMPARE(analysisReport(book), block(QStringLiteral("3000"), {NameWidth}) +
                                       block(QStringLiteral("3999"), {MemoWidth}) +
                                       block(QStringLiteral("0005"), {NameWidth}));
}

void TestAnalysis::progressVisitsEveryPosition()
{
    PhoneBook book;
    QList<int> positions;
    analysisReport(book, [&](int p) { positions << p; });
    QCOMPARE(positions.size(), PhoneBook::EntryCount);
    for (int p = 0; p < positions.size(); ++p)
        QCOMPARE(positions.at(p), p);
}

void TestAnalysis::everyFindingAtOnce()
{
    PhoneBook book;
    DialEntry &entry = entryAt(book, 0);
    entry.setField(DialEntry::Name, QString(17, u'a'));
    entry.setField(DialEntry::Kana, QString(17, QChar(0x30A2)));
    entry.setField(DialEntry::Phone, QString(25, QChar(0xFF11)));
    entry.setField(DialEntry::Memo, QString(17, u'm'));
    QCOMPARE(analysisReport(book),
             block(QStringLiteral("0000"), {NameWidth, KanaWidth, MemoWidth, PhoneWidth, PhoneChar, NameLength,
                                            KanaLength, PhoneLength, MemoLength}));
    QCOMPARE(analyseEntry(entry), (1u << FindingCount) - 1);
}

void TestAnalysis::savedNoProblemsReportIsTwentyTwoCharacters()
{
    const QString report = analysisReport(PhoneBook());
    QCOMPARE(report.size(), 22);
    const QByteArray bytes = encodeCp932(report);
    QCOMPARE(bytes.size(), 44);
    QCOMPARE(decodeCp932(bytes), NoProblems);
}

void TestAnalysis::reportDoesNotChangeTheBook()
{
    PhoneBook book;
    entryAt(book, 10).setField(DialEntry::Name, QStringLiteral("x"));
    const PhoneBook before = book;
    analysisReport(book);
    QVERIFY(book.entries == before.entries);
    QCOMPARE(book.Modified, before.Modified);
}

QTEST_APPLESS_MAIN(TestAnalysis)
#include "tst_analysis.moc"
