#include "formats/Cp932.h"
#include "formats/TextEncoding.h"

#include <QTest>

class TestTextEncoding : public QObject {
    Q_OBJECT
private slots:
    void detection_data();
    void detection();
    void decoding_data();
    void decoding();
};

void TestTextEncoding::detection_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("encoding");
    // Code page 932 whose bytes happen to be valid UTF-8: its UTF-8 reading is not Japanese.
    QTest::newRow("half-width katakana only") << encodeCp932(u"ﾅｶﾆｼ") << TextEncoding::Cp932;
    QTest::newRow("heading and a name") << encodeCp932(u"name,tel\r\n莉絵,090-1234-5678\r\n") << TextEncoding::Cp932;
    QTest::newRow("kanji") << encodeCp932(u"山田,ﾔﾏﾀﾞ,03\r\n") << TextEncoding::Cp932;
    QTest::newRow("ascii") << QByteArray("abc,def\r\n") << TextEncoding::Cp932;
    // UTF-8 whose bytes happen to be plain code page 932.
    QTest::newRow("utf-8 surname") << QStringLiteral("佐藤,090\r\n").toUtf8() << TextEncoding::Utf8;
    QTest::newRow("utf-8 one kanji") << QStringLiteral("森,090-1234-5678\r\n").toUtf8() << TextEncoding::Utf8;
    QTest::newRow("utf-8 kana") << QStringLiteral("やまだ,03").toUtf8() << TextEncoding::Utf8;
    QTest::newRow("utf-8 accents") << QStringLiteral("Müller,Zoë\r\n").toUtf8() << TextEncoding::Utf8;
    // Byte-order marks decide.
    QTest::newRow("utf-8 mark") << QByteArray("\xEF\xBB\xBF") + encodeCp932(u"ﾅｶ") << TextEncoding::Utf8;
    QTest::newRow("utf-16 le mark") << QByteArray("\xFF\xFE\x71\x5C", 4) << TextEncoding::Utf16;
    QTest::newRow("utf-16 be mark") << QByteArray("\xFE\xFF\x5C\x71", 4) << TextEncoding::Utf16;
    // Overlong forms and surrogates are not UTF-8.
    QTest::newRow("overlong") << QByteArray("\xC0\xAF") << TextEncoding::Cp932;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << TextEncoding::Cp932;
    QTest::newRow("cut short") << QByteArray("\xE5\xB1") << TextEncoding::Cp932;
}

void TestTextEncoding::detection()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, encoding);
    QCOMPARE(detectEncoding(bytes), encoding);
}

void TestTextEncoding::decoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QString>("text");
    QTest::newRow("utf-8 without mark") << QByteArray("\xE5\xB1\xB1") << TextEncoding::Utf8 << QStringLiteral("山");
    QTest::newRow("utf-8 mark dropped") << QByteArray("\xEF\xBB\xBF\xE5\xB1\xB1") << TextEncoding::Utf8
                                        << QStringLiteral("山");
    QTest::newRow("utf-16 without mark is little-endian")
        << QByteArray("\x71\x5C", 2) << TextEncoding::Utf16 << QStringLiteral("山");
    QTest::newRow("utf-16 be mark") << QByteArray("\xFE\xFF\x5C\x71", 4) << TextEncoding::Utf16 << QStringLiteral("山");
    QTest::newRow("shift-jis") << QByteArray("\x8E\x52") << TextEncoding::Cp932 << QStringLiteral("山");
    QTest::newRow("half-width katakana as utf-8") << encodeCp932(u"ﾅｶﾆｼ") << TextEncoding::Utf8 << QStringLiteral("ŶƼ");
}

void TestTextEncoding::decoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, encoding);
    QFETCH(QString, text);
    QCOMPARE(decodeAs(bytes, encoding), text);
}

QTEST_GUILESS_MAIN(TestTextEncoding)
#include "tst_textencoding.moc"
