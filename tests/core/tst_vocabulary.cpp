#include "core/DeviceModel.h"
#include "core/Vocabulary.h"

#include <QTest>

using namespace Vocabulary;

Q_DECLARE_METATYPE(RingVocabulary)

class TestVocabulary : public QObject {
    Q_OBJECT
private slots:
    void groupCodes_data();
    void groupCodes();
    void ringCodes_data();
    void ringCodes();
    void ringsFromCodes_data();
    void ringsFromCodes();
    void editorRingTones_data();
    void editorRingTones();
    void lampsAndFlags();
    void extensions_data();
    void extensions();
    void destinations_data();
    void destinations();
    void modelTable();
};

void TestVocabulary::groupCodes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    QTest::newRow("group 0") << "グループ０" << 0;
    QTest::newRow("group 9") << "グループ９" << 9;
    QTest::newRow("individual") << "個別" << 10;
    QTest::newRow("half-width digit is unknown") << "グループ3" << 0;
    QTest::newRow("empty is unknown") << "" << 0;
}

void TestVocabulary::groupCodes()
{
    QFETCH(QString, text);
    QFETCH(int, code);
    QCOMPARE(groupCode(text), code);
    if (entryGroups().contains(text))
        QCOMPARE(groupFromCode(code).value(), text);
}

void TestVocabulary::ringCodes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<RingVocabulary>("vocabulary");
    QTest::addColumn<int>("entryCode");
    QTest::addColumn<int>("groupCode");

    const auto L = RingVocabulary::Long, S = RingVocabulary::Short;
    QTest::newRow("default long") << "設定なし" << L << 0 << 0;
    QTest::newRow("tone H long") << "着信音Ｈ" << L << 8 << 8;
    QTest::newRow("hold 1 long") << "保留メロディ１" << L << 9 << 9;
    QTest::newRow("ring 2 long") << "着信メロディ２" << L << 12 << 12;
    QTest::newRow("short hold under long") << "保留メロディ" << L << 9 << 9;
    QTest::newRow("short ring under long") << "着信メロディ" << L << 10 << 10;
    QTest::newRow("unknown under long") << "着信音Ｉ" << L << 0 << -1;
    QTest::newRow("hold under short") << "保留メロディ" << S << 9 << 9;
    QTest::newRow("ring under short") << "着信メロディ" << S << 10 << 10;
    QTest::newRow("long hold 1 under short") << "保留メロディ１" << S << 9 << 9;
    QTest::newRow("long hold 2 under short") << "保留メロディ２" << S << 10 << 10;
    QTest::newRow("long ring 1 under short") << "着信メロディ１" << S << 10 << 10;
    QTest::newRow("long ring 2 under short") << "着信メロディ２" << S << 10 << 10;
    QTest::newRow("unknown under short") << "" << S << 0 << -1;
}

void TestVocabulary::ringCodes()
{
    QFETCH(QString, text);
    QFETCH(RingVocabulary, vocabulary);
    QFETCH(int, entryCode);
    QFETCH(int, groupCode);
    QCOMPARE(entryRingCode(text, vocabulary), entryCode);
    QCOMPARE(groupRingCode(text, vocabulary), groupCode);
}

void TestVocabulary::ringsFromCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<RingVocabulary>("vocabulary");
    QTest::addColumn<QString>("text"); // empty: no text for the code

    const auto L = RingVocabulary::Long, S = RingVocabulary::Short;
    QTest::newRow("0 long") << 0 << L << "設定なし";
    QTest::newRow("10 long") << 10 << L << "保留メロディ２";
    QTest::newRow("12 long") << 12 << L << "着信メロディ２";
    QTest::newRow("13 long") << 13 << L << "";
    QTest::newRow("negative long") << -1 << L << "";
    QTest::newRow("9 short") << 9 << S << "保留メロディ";
    QTest::newRow("10 short") << 10 << S << "着信メロディ";
    QTest::newRow("12 short capped") << 12 << S << "着信メロディ";
    QTest::newRow("negative short") << -3 << S << "";
}

void TestVocabulary::ringsFromCodes()
{
    QFETCH(int, code);
    QFETCH(RingVocabulary, vocabulary);
    QFETCH(QString, text);
    const auto result = ringFromCode(code, vocabulary);
    QCOMPARE(result.value_or(QString()), text);
}

void TestVocabulary::editorRingTones_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<RingVocabulary>("vocabulary");
    QTest::addColumn<QString>("shown");

    const auto L = RingVocabulary::Long, S = RingVocabulary::Short;
    QTest::newRow("short shows hold 1 as hold") << "保留メロディ１" << S << "保留メロディ";
    QTest::newRow("short shows hold 2 as ring") << "保留メロディ２" << S << "着信メロディ";
    QTest::newRow("short shows ring 1 as ring") << "着信メロディ１" << S << "着信メロディ";
    QTest::newRow("short shows ring 2 as ring") << "着信メロディ２" << S << "着信メロディ";
    QTest::newRow("long shows hold as hold 1") << "保留メロディ" << L << "保留メロディ１";
    QTest::newRow("long shows ring as hold 2") << "着信メロディ" << L << "保留メロディ２";
    QTest::newRow("own text unchanged") << "着信音Ａ" << S << "着信音Ａ";
    QTest::newRow("unknown unchanged") << "着信音Ｉ" << L << "着信音Ｉ";
}

void TestVocabulary::editorRingTones()
{
    QFETCH(QString, stored);
    QFETCH(RingVocabulary, vocabulary);
    QFETCH(QString, shown);
    QCOMPARE(ringToneForEditor(stored, vocabulary), shown);
}

void TestVocabulary::lampsAndFlags()
{
    QCOMPARE(lampCode(QStringLiteral("シグナルレッド")), 1);
    QCOMPARE(lampCode(QStringLiteral("７色")), 8);
    QCOMPARE(lampCode(QStringLiteral("赤")), -1);
    QCOMPARE(lampFromCode(8).value(), QStringLiteral("７色"));
    QVERIFY(!lampFromCode(9));
    QCOMPARE(flagToXml(QStringLiteral("する")), QStringLiteral("1"));
    QCOMPARE(flagToXml(QStringLiteral("しない")), QStringLiteral("0"));
    QCOMPARE(flagToXml(QStringLiteral("何か")), QStringLiteral("1"));
    QCOMPARE(flagFromXml(QStringLiteral("0")), QStringLiteral("しない"));
    QCOMPARE(flagFromXml(QStringLiteral("2")), QStringLiteral("する"));
    QCOMPARE(writeModes().at(1), QStringLiteral("追加モード"));
}

void TestVocabulary::extensions_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("00") << "00" << "0" << "00";
    QTest::newRow("01") << "01" << "1" << "01";
    QTest::newRow("09") << "09" << "9" << "09";
    QTest::newRow("10") << "10" << "10" << "10";
    QTest::newRow("32") << "32" << "32" << "32";
    QTest::newRow("empty") << "" << "1" << "01";
}

void TestVocabulary::extensions()
{
    QFETCH(QString, stored);
    QFETCH(QString, xml);
    QFETCH(QString, readBack);
    QCOMPARE(extensionToXml(stored), xml);
    QCOMPARE(extensionFromXml(xml), readBack);
    QCOMPARE(Vocabulary::extensions().size(), 33);
}

void TestVocabulary::destinations_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("xml");
    QTest::newRow("default") << "0" << "0";
    QTest::newRow("group A") << "内線グループＡ" << "225";
    QTest::newRow("group E") << "内線グループＥ" << "229";
    QTest::newRow("group I") << "内線グループＩ" << "233";
    QTest::newRow("extension 12") << "12" << "12";
    QTest::newRow("extension 34") << "34" << "34";
}

void TestVocabulary::destinations()
{
    QFETCH(QString, stored);
    QFETCH(QString, xml);
    QCOMPARE(destinationToXml(stored), xml);
    QCOMPARE(destinationFromXml(xml), stored);
}

void TestVocabulary::modelTable()
{
    // The columns the writer and the editors rely on, for every model.
    const int entries[] = {1000, 1000, 4000, 4000, 1000, 4000, 4000, 4000};
    const int limits[] = {11, 7, 11, 11, -1, 7, -1, -1};
    const bool leg[] = {false, false, true, true, false, true, true, true};
    for (int i = 0; i < DeviceModelCount; ++i) {
        const DeviceModel &m = deviceModel(i);
        QCOMPARE(m.index, i);
        QCOMPARE(m.entriesWritten, entries[i]);
        QCOMPARE(m.slotDigits, entries[i] == 1000 ? 3 : 4);
        QCOMPARE(m.individualMaxExtension, limits[i]);
        QCOMPARE(m.keptAsLeg, leg[i]);
        QCOMPARE(m.hasDestinationAndMemo, leg[i]);
        QCOMPARE(m.hasFaxAndCallback, leg[i]);
        QCOMPARE(m.commentText().isEmpty(), !leg[i]);
        QCOMPARE(m.ringVocabulary == RingVocabulary::Short, i == ModelMorvel || i == ModelMorvel2);
    }
    QCOMPARE(deviceModel(ModelMorvel2).systemText(), QStringLiteral("VB150"));
    QCOMPARE(deviceModelByName(QStringLiteral("MorvelII")), ModelMorvel2);
    QCOMPARE(deviceModelByName(QStringLiteral("MorvelⅡ")), ModelMorvel2);
    QCOMPARE(deviceModelByName(QStringLiteral("lm630pro")), ModelLM630Pro);
    QCOMPARE(deviceModelByName(QStringLiteral("LM999")), -1);
}

QTEST_APPLESS_MAIN(TestVocabulary)
#include "tst_vocabulary.moc"
