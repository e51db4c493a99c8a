#include "core/NumberLint.h"
#include "core/PhoneNumbers.h"

#include <QTest>

Q_DECLARE_METATYPE(NumberVerdict)

class TestPhoneNumbers : public QObject {
    Q_OBJECT
private slots:
    void judge_data();
    void judge();
    void format_data();
    void format();
    void report_data();
    void report();
    void plan();
};

void TestPhoneNumbers::judge_data()
{
    QTest::addColumn<QString>("phone");
    QTest::addColumn<NumberVerdict>("verdict");
    const auto row = [](const char *name, const char16_t *phone, NumberVerdict verdict) {
        QTest::newRow(name) << QString::fromUtf16(phone) << verdict;
    };
    using V = NumberVerdict;
    // Public numbers of every kind (town halls and well-known offices where there is one).
    row("Tokyo, 2-digit area code", u"03-5321-1111", V::Valid);
    row("Osaka, 2-digit area code", u"06-6208-8181", V::Valid);
    row("Yokohama, 3-digit area code", u"045-671-2121", V::Valid);
    row("Sapporo, 3-digit area code", u"011-211-2111", V::Valid);
    row("Musashino, 4-digit area code", u"0422-51-5131", V::Valid);
    row("Matsusaka, 4-digit area code", u"0598-53-4111", V::Valid);
    row("Ogasawara, 5-digit area code", u"04998-2-3111", V::Valid);
    row("fixed line without hyphens", u"0353211111", V::Valid);
    row("fixed line in parentheses", u"03(5321)1111", V::Valid);
    row("mobile 090", u"090-1234-5678", V::Valid);
    row("mobile 080", u"080-2345-6789", V::Valid);
    row("mobile 070", u"070-3456-7890", V::Valid);
    row("IP phone 050", u"050-1234-5678", V::Valid);
    row("free dial 0120", u"0120-123-456", V::Valid);
    row("free dial 0800", u"0800-123-4567", V::Valid);
    row("navi dial 0570", u"0570-012-345", V::Valid);
    row("international USA via 010", u"010-1-212-555-1234", V::Valid);
    row("international UK via 010", u"010-44-20-7946-0000", V::Valid);
    row("international with +", u"+81-3-5321-1111", V::Valid);
    row("caller ID sent, 186", u"186-03-5321-1111", V::Valid);
    row("caller ID withheld, 184", u"18403-5321-1111", V::Valid);
    row("line code and pause", u"0P03-5321-1111", V::Valid);
    row("number, pause, tones", u"03-5321-1111P123#", V::Valid);
    // Slips that must be found.
    row("fixed line, a digit missing", u"03-5321-111", V::TooFewDigits);
    row("mobile of 10 digits", u"090-1234-567", V::TooFewDigits);
    row("fixed line, a digit too many", u"03-5321-11111", V::TooManyDigits);
    row("free dial, a digit too many", u"0120-123-4567", V::TooManyDigits);
    row("unknown prefix", u"030-1234-5678", V::Invalid);
    row("exchange starting with 0", u"03-0123-4567", V::Invalid);
    row("international, a digit missing", u"010-1-212-555-123", V::InvalidAbroad);
    row("pause after a whole wrong number", u"090-1234-567P1", V::TooFewDigits);
    // Internal and special numbers: never an alarm.
    row("empty", u"", V::NotJudged);
    row("extension of 3 digits", u"201", V::NotJudged);
    row("extension of 4 digits", u"0123", V::NotJudged);
    row("police", u"110", V::NotJudged);
    row("time signal", u"117", V::NotJudged);
    row("local number without area code", u"5321-1111", V::NotJudged);
    row("feature code with star", u"*72", V::NotJudged);
    row("short number with hash", u"#7119", V::NotJudged);
    row("number ending with hash", u"03-5321-1111#", V::NotJudged);
    row("sub-address brackets", u"[12]0353211111", V::NotJudged);
    row("E in the number", u"0353211111E", V::NotJudged);
    row("carrier code", u"0033-03-5321-1111", V::NotJudged);
    row("line code and pause before an extension", u"9P201", V::NotJudged);
    row("full-width digits (the analysis reports them)", u"０３－５３２１－１１１１", V::NotJudged);
    row("lower-case p", u"0p0353211111", V::NotJudged);
}

void TestPhoneNumbers::judge()
{
    QFETCH(QString, phone);
    QFETCH(NumberVerdict, verdict);
    QCOMPARE(judgePhoneNumber(phone), verdict);
    QCOMPARE(numberProblemMessage(verdict).isEmpty(),
             verdict == NumberVerdict::Valid || verdict == NumberVerdict::NotJudged);
}

void TestPhoneNumbers::format_data()
{
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("formatted"); // empty: not rewritten
    QTest::newRow("fixed line") << "0353211111"
                                << "03-5321-1111";
    QTest::newRow("fixed line, hyphens elsewhere") << "035-321-1111"
                                                   << "03-5321-1111";
    QTest::newRow("4-digit area code") << "0422515131"
                                       << "0422-51-5131";
    QTest::newRow("5-digit area code") << "0499823111"
                                       << "04998-2-3111";
    QTest::newRow("mobile") << "09012345678"
                            << "090-1234-5678";
    QTest::newRow("IP phone") << "05012345678"
                              << "050-1234-5678";
    QTest::newRow("free dial 0120") << "0120123456"
                                    << "0120-123-456";
    QTest::newRow("free dial 0800") << "08001234567"
                                    << "0800-123-4567";
    QTest::newRow("navi dial") << "0570012345"
                               << "0570-012-345";
    QTest::newRow("spaces and parentheses") << "03 (5321) 1111"
                                            << "03-5321-1111";
    QTest::newRow("international") << "01012125551234"
                                   << "010-1-212-555-1234";
    QTest::newRow("already in form") << "03-5321-1111"
                                     << "03-5321-1111";
    QTest::newRow("a digit missing") << "0353211"
                                     << "";
    QTest::newRow("extension") << "201"
                               << "";
    QTest::newRow("with a prefix") << "1860353211111"
                                   << "";
    QTest::newRow("with a pause") << "0P0353211111"
                                  << "";
    QTest::newRow("with +") << "+81353211111"
                            << "";
}

void TestPhoneNumbers::format()
{
    QFETCH(QString, phone);
    QFETCH(QString, formatted);
    QCOMPARE(formattedPhoneNumber(phone).value_or(QString()), formatted);
}

namespace {

// Entries given as "name|phone" in slot order.
PhoneBook bookOf(const QStringList &entries)
{
    PhoneBook book;
    for (int p = 0; p < entries.size(); ++p) {
        const QStringList parts = entries.at(p).split(u'|');
        book.entries[p].setField(DialEntry::Name, parts.at(0));
        book.entries[p].setField(DialEntry::Phone, parts.at(1));
    }
    return book;
}

} // namespace

void TestPhoneNumbers::report_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("report");
    QTest::newRow("empty book") << QStringList() << numberLintCleanReport();
    QTest::newRow("good numbers, internal ones, a name without number")
        << QStringList{"本社|03-5321-1111", "受付|201", "本社|", "倉庫|*72"} << numberLintCleanReport();
    QTest::newRow("wrong number")
        << QStringList{"本社|03-5321-1111", "山田|090-1234-567"}
        << QStringLiteral(
               "■番号として正しくない電話番号\r\n【短縮0001】\r\n    090-1234-567　電話番号の桁が足りません\r\n\r\n");
    QTest::newRow("same number written twice differently, with a third slot")
        << QStringList{"本社|03-5321-1111", "支店|06-6208-8181", "本社代表|0353211111", "総務|03(5321)1111"}
        << QStringLiteral("■同じ番号が複数の短縮にあります\r\n【0353211111】\r\n"
                          "    短縮0000　03-5321-1111　本社\r\n    短縮0002　0353211111　本社代表\r\n"
                          "    短縮0003　03(5321)1111　総務\r\n\r\n");
    QTest::newRow("same name, two numbers")
        << QStringList{"山田|03-5321-1111", "鈴木|06-6208-8181", "山田|090-1234-5678"}
        << QStringLiteral("■同じ名前で番号が違う短縮があります\r\n【山田】\r\n"
                          "    短縮0000　03-5321-1111\r\n    短縮0002　090-1234-5678\r\n\r\n");
}

void TestPhoneNumbers::report()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, report);
    QCOMPARE(numberLintReport(bookOf(entries)), report);
}

void TestPhoneNumbers::plan()
{
    const PhoneBook book = bookOf({"a|0353211111", "b|03-5321-1111", "c|201", "d|", "e|09012345678"});
    const PhoneFormatPlan all = planPhoneFormatting(book, {});
    QCOMPARE(all.changes.size(), 2);
    QCOMPARE(all.changes.at(0).position, 0);
    QCOMPARE(all.changes.at(0).value, QStringLiteral("03-5321-1111"));
    QCOMPARE(all.changes.at(1).position, 4);
    QCOMPARE(all.unrecognised, QList<int>{2});
    QCOMPARE(phoneFormatPreview(book, all),
             QStringLiteral("■書式をそろえる番号（変更前　→　変更後）\r\n"
                            "    短縮0000　0353211111　→　03-5321-1111\r\n"
                            "    短縮0004　09012345678　→　090-1234-5678\r\n\r\n"
                            "■番号として認識できないため、そのままにする番号\r\n    短縮0002　201\r\n\r\n"));

    const PhoneFormatPlan selected = planPhoneFormatting(book, {1, 2, 3});
    QVERIFY(selected.changes.isEmpty());
    QCOMPARE(selected.unrecognised, QList<int>{2});
}

QTEST_GUILESS_MAIN(TestPhoneNumbers)
#include "tst_phonenumbers.moc"
