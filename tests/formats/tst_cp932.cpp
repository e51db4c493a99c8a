#include "formats/Cp932.h"

#include <QTest>

#include <iconv.h>
#include <map>
#include <optional>

namespace {

// glibc's converter, the independent reference: bytes, or nothing where it refuses.
class Iconv {
public:
    Iconv(const char *to, const char *from) : handle_(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (ok())
            iconv_close(handle_);
    }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;
    bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    std::optional<QByteArray> convert(const QByteArray &in)
    {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char out[16];
        char *inPointer = const_cast<char *>(in.constData());
        char *outPointer = out;
        size_t inLeft = static_cast<size_t>(in.size());
        size_t outLeft = sizeof out;
        if (iconv(handle_, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<size_t>(-1) || inLeft != 0)
            return std::nullopt;
        return QByteArray(out, outPointer - out);
    }

private:
    iconv_t handle_;
};

QByteArray bytesOf(unsigned first, unsigned second)
{
    QByteArray bytes;
    bytes.append(static_cast<char>(first)).append(static_cast<char>(second));
    return bytes;
}

bool isLeadByte(unsigned b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

} // namespace

class TestCp932 : public QObject {
    Q_OBJECT
private slots:
    void asWindowsWritesIt_data();
    void asWindowsWritesIt();
    void oneQuestionMarkPerCharacter_data();
    void oneQuestionMarkPerCharacter();
    void brokenBytes_data();
    void brokenBytes();
    void writingMatchesGlibc();
    void readingMatchesGlibc();
    void lossNotice();
};

// Characters that must come back as the bytes they were read from.
void TestCp932::asWindowsWritesIt_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("control codes as themselves")
        << QByteArray("\x00\x01\x1A\x1B\x1C\x1F\x7F", 7)
        << QString::fromUtf16(u"\u0000\u0001\u001A\u001B\u001C\u001F\u007F", 7);
    QTest::newRow("0x80") << QByteArray("\x80") << QStringLiteral("\u0080");
    QTest::newRow("0xA0, 0xFD-0xFF") << QByteArray("\xA0\xFD\xFE\xFF") << QStringLiteral("\uF8F0\uF8F1\uF8F2\uF8F3");
    QTest::newRow("half-width katakana") << QByteArray("\xB6\xDE\xDF") << QStringLiteral("ｶﾞﾟ");
    QTest::newRow("user-defined area") << QByteArray("\xF0\x40\xF9\xFC") << QStringLiteral("\uE000\uE757");
    QTest::newRow("IBM extension kept in FA-FC") << QByteArray("\xFA\x40\xFA\x5C") << QStringLiteral("ⅰ纊");
    QTest::newRow("NEC row 13") << QByteArray("\x87\x54\x87\x8A") << QStringLiteral("Ⅰ㈱");
}

void TestCp932::asWindowsWritesIt()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decodeCp932(bytes), text);
    QCOMPARE(encodeCp932(text), bytes);
}

void TestCp932::oneQuestionMarkPerCharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("soft hyphen") << QStringLiteral("a\u00ADb") << QByteArray("a?b");
    QTest::newRow("zero width space, bidi marks") << QStringLiteral("\u200B\u200F\u202A\u202E") << QByteArray("????");
    QTest::newRow("word joiner, variation selector, BOM") << QStringLiteral("\u2060\uFE00\uFEFF") << QByteArray("???");
    QTest::newRow("José") << QStringLiteral("José") << QByteArray("Jos?");
    QTest::newRow("𠮷 outside the BMP") << QStringLiteral("𠮷野") << QByteArray("?\x96\xEC");
    QTest::newRow("lone surrogate") << QString(QChar(0xD842)) << QByteArray("?");
    QTest::newRow("NEC-selected copy written as IBM") << decodeCp932("\xEE\xEF") << QByteArray("\xFA\x40");
}

void TestCp932::oneQuestionMarkPerCharacter()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(encodeCp932(text), bytes);
    QCOMPARE(fitsCp932(text), !bytes.contains('?'));
}

void TestCp932::brokenBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("cell without a character") << QByteArray("\x85\x40"
                                                            "a")
                                              << QStringLiteral("\uFFFDa");
    QTest::newRow("lead byte before a line end") << QByteArray("\x81\r\nb") << QStringLiteral("\uFFFD\r\nb");
    QTest::newRow("lead byte at the end") << QByteArray("a\x81") << QStringLiteral("a\uFFFD");
}

void TestCp932::brokenBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decodeCp932(bytes), text);
    QVERIFY(!isPlainCp932(bytes));
}

// Every character of the BMP written one at a time, against glibc's CP932. The
// differences are the ones chosen: the bytes only Windows reads (0x80, 0xA0, 0xFD-0xFF)
// are written back, and characters whose bytes would read back as another character
// are written as "?" rather than changed silently.
void TestCp932::writingMatchesGlibc()
{
    Iconv glibc("CP932", "UTF-16LE");
    QVERIFY(glibc.ok());
    const std::map<char16_t, QByteArray> chosen = {
        {0x0080, "\x80"}, {0xF8F0, "\xA0"}, {0xF8F1, "\xFD"},
        {0xF8F2, "\xFE"}, {0xF8F3, "\xFF"}, {0x00A2, "?"}, // ¢: glibc writes the bytes of ￠
        {0x00A3, "?"},                                     // £: of ￡
        {0x00A5, "?"},                                     // ¥: of the backslash
        {0x00AC, "?"},                                     // ¬: of ￢
        {0x2014, "?"},                                     // em dash: of the horizontal bar
        {0x2016, "?"},                                     // double vertical line: of ∥
        {0x203E, "?"},                                     // overline: of the tilde
        {0x2212, "?"},                                     // minus sign: of －
        {0x301C, "?"},                                     // wave dash: of ～
    };
    std::map<char16_t, QByteArray> differences;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const auto unit = static_cast<char16_t>(c);
        const QByteArray ours = encodeCp932(QStringView(&unit, 1));
        const QByteArray theirs = glibc.convert(bytesOf(unit & 0xFF, unit >> 8)).value_or("?");
        if (ours != theirs)
            differences[unit] = ours;
        QCOMPARE(hasCp932Form(unit), ours != "?" || c == u'?');
    }
    QCOMPARE(differences, chosen);
}

// Every single byte and every lead byte with every second byte, against glibc's CP932.
// The differences: the single bytes only Windows reads, and cells without a character,
// which glibc refuses and which read here as U+FFFD (with the second byte read again when
// it cannot follow a lead byte).
void TestCp932::readingMatchesGlibc()
{
    Iconv glibc("UTF-16LE", "CP932");
    QVERIFY(glibc.ok());
    QStringList differences;
    int cells = 0;
    for (unsigned b = 0; b <= 0xFF; ++b) {
        if (isLeadByte(b))
            continue;
        const QByteArray byte(1, static_cast<char>(b));
        const std::optional<QByteArray> theirs = glibc.convert(byte);
        const QString ours = decodeCp932(byte);
        if (!theirs || ours != QString::fromUtf16(reinterpret_cast<const char16_t *>(theirs->constData()), 1))
            differences << QString::number(b, 16) + u'=' + QString::number(ours.at(0).unicode(), 16);
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        for (unsigned trail = 0; trail <= 0xFF && isLeadByte(lead); ++trail) {
            const QByteArray pair = bytesOf(lead, trail);
            const std::optional<QByteArray> theirs = glibc.convert(pair);
            const QString ours = decodeCp932(pair);
            if (theirs && theirs->size() == 2) {
                QCOMPARE(ours.size(), 1);
                QCOMPARE(ours.at(0).unicode(), *reinterpret_cast<const char16_t *>(theirs->constData()));
                ++cells;
            } else {
                QCOMPARE(ours.at(0), QChar(0xFFFD));
            }
        }
    }
    QCOMPARE(differences, (QStringList{"80=80", "a0=f8f0", "fd=f8f1", "fe=f8f2", "ff=f8f3"}));
    QVERIFY(cells > 9000); // JIS X 0208 with the Windows extensions, the user-defined area
}

void TestCp932::lossNotice()
{
    Cp932Losses losses;
    QVERIFY(!losses.notice());
    losses.checkOther(QStringLiteral("お客様"));
    losses.checkEntry(u"0001", u"山田");
    QVERIFY(!losses.notice());
    for (const char16_t *slot : {u"0003", u"0003", u"0010", u"0011", u"0012", u"0013", u"0020"})
        losses.checkEntry(slot, u"José");
    QCOMPARE(*losses.notice(), QStringLiteral("Shift-JISにない文字を含むデータが6件あります（短縮番号 0003、0010、"
                                              "0011、0012、0013 ほか）\r\nこれらの文字は「?」として保存されます"));
    Cp932Losses other;
    other.checkOther(QStringLiteral("𠮷野家"));
    QCOMPARE(*other.notice(), QStringLiteral("お客様名・お客様電話番号・グループ名にShift-JISにない文字があります\r\n"
                                             "これらの文字は「?」として保存されます"));
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
