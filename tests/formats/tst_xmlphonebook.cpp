#include "TestPaths.h"
#include "core/DalvinoError.h"
#include "core/ListOperations.h"
#include "core/PhoneBook.h"
#include "core/Vocabulary.h"
#include "formats/TextFile.h"
#include "formats/XmlPhoneBook.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray expectedFile(const QString &name)
{
    QFile file(sourceDir() + QStringLiteral("/tests/formats/data/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return file.readAll();
}

void setEntry(PhoneBook &book, int position, const QStringList &fields)
{
    for (int f = 0; f < DialEntry::FieldCount; ++f)
        book.entries[position].setField(f, fields.at(f));
}

// The filled phone book of the expected files.
PhoneBook filledBook(int model)
{
    PhoneBook book;
    book.Syubetu = model;
    book.SyubetuFlag = ModelZR410Std;
    book.MACAddress = QStringLiteral("0123456789AB");
    book.UserName = QStringLiteral("山田商事");
    book.UserNo = QStringLiteral("03-1234-5678");
    book.WriteMode = 1;
    book.groups[1].fields = {QStringLiteral("営業"), QStringLiteral("着信音Ａ"), QStringLiteral("シグナルレッド"),
                             QStringLiteral("する"), QStringLiteral("しない")};
    book.groups[3].fields = {QStringLiteral("ｿｳﾑ"), QStringLiteral("保留メロディ１"), QStringLiteral("設定なし"),
                             QStringLiteral("しない"), QStringLiteral("する")};
    // Only the FAX flag: not a set group.
    book.groups[5].fields[GroupSetting::Fax] = QStringLiteral("する");
    book.groups[9].fields = {QStringLiteral("登録なし"), QStringLiteral("着信メロディ２"), QStringLiteral("７色"),
                             QStringLiteral("しない"), QStringLiteral("しない")};
    setEntry(book, 0,
             {QStringLiteral(" ABC "), QStringLiteral("A&B<C>'\""), QStringLiteral("０３ "),
              QStringLiteral("グループ０"), QStringLiteral("着信音Ｂ"), QStringLiteral("10"), QStringLiteral("12"),
              QStringLiteral(" メモ ")});
    setEntry(book, 5,
             {QStringLiteral("田中"), QStringLiteral("ﾀﾅｶ"), QStringLiteral("5555"), QStringLiteral("個別"),
              QStringLiteral("着信メロディ１"), QStringLiteral("12"), QStringLiteral("0"), QString()});
    setEntry(book, 6,
             {QStringLiteral("佐藤"), QStringLiteral("ｻﾄｳ"), QStringLiteral("6666"), QStringLiteral("個別"),
              QStringLiteral("保留メロディ"), QStringLiteral("07"), QStringLiteral("内線"), QString()});
    setEntry(book, 12,
             {QStringLiteral("総務"), QStringLiteral("ｿｳﾑ"), QStringLiteral("1234"), QStringLiteral("グループ１"),
              QStringLiteral("保留メロディ１"), QStringLiteral("01"), QStringLiteral("内線グループＢ"), QString()});
    setEntry(book, 1500,
             {QStringLiteral("遠方"), QStringLiteral("エンポウ"), QStringLiteral("#*-0123456789EP[]"),
              QStringLiteral("グループ９"), QStringLiteral("設定なし"), QStringLiteral("32"), QStringLiteral("34"),
              QStringLiteral("ﾒﾓ")});
    // Registered nowhere: never written, also not for 個別 with a large extension.
    book.entries[7].setField(DialEntry::Group, QStringLiteral("個別"));
    book.entries[7].setField(DialEntry::Extension, QStringLiteral("30"));
    return book;
}

QString joined(const DialEntry &entry)
{
    return QStringList(entry.fields.begin(), entry.fields.end()).join(u'|');
}

QByteArray bytesOf(const QStringList &lines)
{
    return encodeCp932(joinLines(lines));
}

QStringList linesOf(const QByteArray &bytes)
{
    return splitLines(decodeText(bytes));
}

// A phone book whose every value survives a write and a read under the model.
PhoneBook roundTripBook(int model)
{
    const DeviceModel &m = deviceModel(model);
    const QStringList &rings = Vocabulary::ringTones(m.ringVocabulary);
    PhoneBook book;
    book.Syubetu = model;
    book.SyubetuFlag = model;
    book.MACAddress = QStringLiteral("00A0DE123456");
    book.UserName = QStringLiteral("株式会社①Ⅰ");
    book.UserNo = QStringLiteral("06-9876-5432");
    book.WriteMode = 1;
    for (int g = 0; g < PhoneBook::GroupCount; g += 2) {
        book.groups[g].fields = {QStringLiteral("グループ名%1").arg(QChar(0xFF10 + g)), rings.at(g + 1),
                                 Vocabulary::lamps().at(g % 9),
                                 m.hasFaxAndCallback && g % 4 == 0 ? QStringLiteral("する") : QStringLiteral("しない"),
                                 m.hasFaxAndCallback && g == 2 ? QStringLiteral("する") : QStringLiteral("しない")};
    }
    for (int p = 0; p < m.entriesWritten; p += 37) {
        const bool individual = p % 3 == 0;
        const int extension =
            individual ? (p / 3) % (m.individualMaxExtension < 0 ? 33 : m.individualMaxExtension + 1) : p % 33;
        setEntry(book, p,
                 {QStringLiteral("名前%1").arg(p).replace(u'0', u'０'), QStringLiteral("ｶﾅ&<>'\"%1").arg(p),
                  QStringLiteral("03-%1#").arg(p), Vocabulary::entryGroups().at(individual ? 10 : p % 10),
                  rings.at(p % rings.size()), Vocabulary::extensions().at(extension),
                  m.hasDestinationAndMemo ? (p % 2 ? QStringLiteral("内線グループＥ") : QString::number(p % 35))
                                          : QStringLiteral("0"),
                  m.hasDestinationAndMemo ? QStringLiteral("メモ%1").arg(p % 10) : QString()});
        // The name is full-width text: digits of the number as full-width digits.
        QString name = book.entries[p].name();
        for (QChar &c : name) {
            if (c >= u'0' && c <= u'9')
                c = QChar(c.unicode() - u'0' + 0xFF10);
        }
        book.entries[p].setField(DialEntry::Name, name);
    }
    return book;
}

QStringList entryRecord(const QString &no, const QString &kana, const QString &ring, bool withDestination)
{
    QStringList lines = {QStringLiteral("\t\t<r no=\"%1\">").arg(no),  QStringLiteral("\t\t\t<g>1</g>"),
                         QStringLiteral("\t\t\t<st>5</st>"),           QStringLiteral("\t\t\t<d>0311112222</d>"),
                         QStringLiteral("\t\t\t<kj>名前</kj>"),        QStringLiteral("\t\t\t<kn>%1</kn>").arg(kana),
                         QStringLiteral("\t\t\t<rg>%1</rg>").arg(ring)};
    if (withDestination)
        lines << QStringLiteral("\t\t\t<rt>229</rt>") << QStringLiteral("\t\t\t<m>メモ</m>");
    lines << QStringLiteral("\t\t</r>");
    return lines;
}

// A hand-made LM630Std file around the given group and entry records.
QStringList lm630File(const QStringList &groupRecords, const QStringList &entryRecords)
{
    QStringList lines = {QStringLiteral("<!-- LM630Std/AABBCCDDEEFF -->"),
                         QStringLiteral("<?xml version=\"1.0\" encoding=\"Shift-JIS\" ?>"),
                         QStringLiteral("<SpeedDial System=\"LM630Std\" >"),
                         QStringLiteral("\t<comment>Dalvino 1.40</comment>"),
                         QStringLiteral("<!-- お客様名(客)－お客様電話番号(123) -->"),
                         QStringLiteral("<!-- オールクリアフラグ（0:なし、1:あり） -->"),
                         QStringLiteral("\t<clear>1</clear>"),
                         QString(),
                         QStringLiteral("<!-- グループ設定データ -->"),
                         QStringLiteral("\t<group>")};
    lines << groupRecords;
    lines << QStringLiteral("\t</group>") << QString() << QStringLiteral("<!-- 電話帳設定データ -->")
          << QStringLiteral("\t<speed>");
    lines << entryRecords;
    lines << QStringLiteral("\t</speed>") << QStringLiteral("</SpeedDial>");
    return lines;
}

QStringList groupRecord(const QString &no, const QString &rg, const QString &lp, const QString &fx, const QString &cb)
{
    QStringList lines = {QStringLiteral("\t\t<r no=\"%1\">").arg(no), rg, lp, QStringLiteral("\t\t\t<kj>名</kj>")};
    if (!fx.isNull())
        lines << fx;
    if (!cb.isNull())
        lines << cb;
    lines << QStringLiteral("\t\t</r>");
    return lines;
}

const QStringList ModelFiles = {QStringLiteral("ZR410Std"),
                                QStringLiteral("Morvel"),
                                QStringLiteral("KN820Std"),
                                QStringLiteral("LM630Std"),
                                QStringLiteral("ZR410Pro"),
                                QStringLiteral("MorvelII"),
                                QString(),
                                QStringLiteral("LM630Pro")};

} // namespace

class TestXmlPhoneBook : public QObject {
    Q_OBJECT

private slots:
    void writesNewPhoneBook_data();
    void writesNewPhoneBook();
    void writesFilledPhoneBook_data();
    void writesFilledPhoneBook();
    void noticesPerModel_data();
    void noticesPerModel();
    void individualWithoutNumberStopsBuilding();
    void individualExtensionLimit_data();
    void individualExtensionLimit();
    void sortedBookSavesTheSameSlots_data();
    void sortedBookSavesTheSameSlots();
    void groupRingToneFollowsRecordedModel();
    void unlistedGroupRingAndLampWrittenEmpty();
    void charactersOutsideShiftJisBecomeQuestionMarks();

    void roundTripEveryModel_data();
    void roundTripEveryModel();
    void threeDigitRecordsOfZR410Std();
    void morvelTwoByModelComment();
    void unknownModelKeepsRecordedModel();
    void modelNamedFirstInOrder_data();
    void modelNamedFirstInOrder();
    void utf8WithoutByteOrderMark_data();
    void utf8WithoutByteOrderMark();
    void lostCharactersAreNamed_data();
    void lostCharactersAreNamed();
    void faxResetRule();
    void kanaUnescapingOrder();
    void notAPhoneBook_data();
    void notAPhoneBook();
    void recordsThatDoNotFitAreSkipped_data();
    void recordsThatDoNotFitAreSkipped();
    void aSlotRecordedTwiceKeepsTheLaterRecord();
    void notANumberRefusesTheFile_data();
    void notANumberRefusesTheFile();
    void customerLineAbsentLeavesCustomerEmpty();
    void macAddressKeptWithoutModelComment();
    void lineEndsOfTheText_data();
    void lineEndsOfTheText();
};

void TestXmlPhoneBook::writesNewPhoneBook_data()
{
    QTest::addColumn<int>("model");
    for (int m = 0; m < DeviceModelCount; ++m) {
        if (!ModelFiles.at(m).isEmpty())
            QTest::newRow(qPrintable(ModelFiles.at(m))) << m;
    }
}

void TestXmlPhoneBook::writesNewPhoneBook()
{
    QFETCH(int, model);
    PhoneBook book;
    book.Syubetu = model;
    const XmlPhoneBookText text = buildXmlPhoneBook(book);
    QCOMPARE(bytesOf(text.lines()), expectedFile(QStringLiteral("new_%1.xml").arg(ModelFiles.at(model))));
}

void TestXmlPhoneBook::writesFilledPhoneBook_data()
{
    writesNewPhoneBook_data();
}

void TestXmlPhoneBook::writesFilledPhoneBook()
{
    QFETCH(int, model);
    const XmlPhoneBookText text = buildXmlPhoneBook(filledBook(model));
    const QByteArray expected = expectedFile(QStringLiteral("filled_%1.xml").arg(ModelFiles.at(model)));
    // Line by line first, so that a failure names the line.
    const QStringList got = text.lines();
    const QStringList want = linesOf(expected);
    for (qsizetype i = 0; i < qMin(got.size(), want.size()); ++i)
        QCOMPARE(got.at(i), want.at(i));
    QCOMPARE(got.size(), want.size());

    // And the file itself, byte for byte.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.xml"));
    writeTextLines(path, text.lines());
    QCOMPARE(readFileBytes(path), expected);
}

void TestXmlPhoneBook::noticesPerModel_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QStringList>("filledNotices");
    QTest::addColumn<QStringList>("newNotices");
    // The filled phone book holds slot 1500, which the 1000-slot models do not.
    const QString beyond = QStringLiteral("短縮番号1000以降の1件は出力されません");
    QTest::newRow("ZR410Std")
        << ModelZR410Std
        << QStringList{QStringLiteral(
                           "実装11以降の個別短縮は出力されません\r\nまた、Celdraの場合は1000件分保存されます"),
                       beyond}
        << QStringList{QStringLiteral("Celdraの場合は1000件分保存されます")};
    QTest::newRow("Morvel")
        << ModelMorvel
        << QStringList{QStringLiteral(
                           "実装7以降の個別短縮は出力されません\r\nまた、Morvelの場合は1000件分保存されます"),
                       beyond}
        << QStringList{QStringLiteral("Morvelの場合は1000件分保存されます")};
    QTest::newRow("KN820Std") << ModelKN820Std << QStringList{QStringLiteral("実装11以降の個別短縮は出力されません")}
                              << QStringList{};
    QTest::newRow("LM630Std") << ModelLM630Std << QStringList{QStringLiteral("実装11以降の個別短縮は出力されません")}
                              << QStringList{};
    QTest::newRow("ZR410Pro") << ModelZR410Pro << QStringList{QStringLiteral("Celdraは1000件分保存されます"), beyond}
                              << QStringList{QStringLiteral("Celdraは1000件分保存されます")};
    QTest::newRow("MorvelII") << ModelMorvel2 << QStringList{QStringLiteral("実装7以降の個別短縮は出力されません")}
                              << QStringList{};
    QTest::newRow("KN820Pro") << ModelKN820Pro << QStringList{} << QStringList{};
    QTest::newRow("LM630Pro") << ModelLM630Pro << QStringList{} << QStringList{};
}

void TestXmlPhoneBook::noticesPerModel()
{
    QFETCH(int, model);
    QFETCH(QStringList, filledNotices);
    QFETCH(QStringList, newNotices);
    QCOMPARE(buildXmlPhoneBook(filledBook(model)).notices, filledNotices);
    PhoneBook book;
    book.Syubetu = model;
    QCOMPARE(buildXmlPhoneBook(book).notices, newNotices);
}

void TestXmlPhoneBook::individualWithoutNumberStopsBuilding()
{
    for (int model : {ModelZR410Std, ModelMorvel, ModelKN820Std, ModelLM630Std, ModelMorvel2}) {
        PhoneBook book = filledBook(model);
        // Not even registered: the search looks at every walked position.
        book.entries[40].setField(DialEntry::Group, QStringLiteral("個別"));
        book.entries[40].setField(DialEntry::Extension, QString());
        QVERIFY_THROWS_EXCEPTION(DalvinoError, buildXmlPhoneBook(book));
    }
    for (int model : {ModelZR410Pro, ModelKN820Pro, ModelLM630Pro}) {
        PhoneBook book = filledBook(model);
        book.entries[40].setField(DialEntry::Group, QStringLiteral("個別"));
        book.entries[40].setField(DialEntry::Extension, QString());
        QCOMPARE(buildXmlPhoneBook(book).lines(), buildXmlPhoneBook(filledBook(model)).lines());
    }
}

void TestXmlPhoneBook::individualExtensionLimit_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("notice");
    QTest::newRow("LM630Std 12") << ModelLM630Std << "12" << false << true;
    QTest::newRow("LM630Std 11") << ModelLM630Std << "11" << true << false;
    QTest::newRow("MorvelII 08") << ModelMorvel2 << "08" << false << true;
    QTest::newRow("MorvelII 07") << ModelMorvel2 << "07" << true << false;
    QTest::newRow("KN820Pro 32") << ModelKN820Pro << "32" << true << false;
}

void TestXmlPhoneBook::individualExtensionLimit()
{
    QFETCH(int, model);
    QFETCH(QString, extension);
    QFETCH(bool, written);
    QFETCH(bool, notice);
    PhoneBook book;
    book.Syubetu = model;
    setEntry(book, 100,
             {QStringLiteral("個別先"), QString(), QString(), QStringLiteral("個別"), QStringLiteral("設定なし"),
              extension, QStringLiteral("0"), QString()});
    const XmlPhoneBookText text = buildXmlPhoneBook(book);
    QCOMPARE(text.lines().contains(QStringLiteral("\t\t<r no=\"0100\">")), written);
    QCOMPARE(!text.notices.isEmpty(), notice);
}

void TestXmlPhoneBook::sortedBookSavesTheSameSlots_data()
{
    roundTripEveryModel_data();
}

void TestXmlPhoneBook::sortedBookSavesTheSameSlots()
{
    QFETCH(int, model);
    const DeviceModel &m = deviceModel(model);
    const bool small = m.entriesWritten < PhoneBook::EntryCount;
    PhoneBook book = roundTripBook(model);
    // Beyond the slots a small model holds.
    book.entries[1000].fields = book.entries[37].fields;
    book.entries[3999].fields = book.entries[37].fields;
    const XmlPhoneBookText unsorted = buildXmlPhoneBook(book);
    PhoneBook sorted = book;
    ListOperations::sortByColumn(sorted, 1); // by name: the empty rows first
    QVERIFY(!sorted.entries[0].isRegistered());
    const XmlPhoneBookText text = buildXmlPhoneBook(sorted);

    QCOMPARE(text.notices, unsorted.notices);
    QCOMPARE(text.notices.contains(QStringLiteral("短縮番号1000以降の2件は出力されません")), small);
    const XmlReadOutcome outcome = readXmlPhoneBookText(text.text, PhoneBook(), m.keptAsLeg);
    QVERIFY(outcome.accepted);
    const PhoneBook empty;
    for (int slot = 0; slot < PhoneBook::EntryCount; ++slot) {
        const DialEntry &expected = small && slot >= 1000 ? empty.entries[slot] : book.entries[slot];
        if (outcome.book.entries[slot] != expected)
            QFAIL(qPrintable(QStringLiteral("slot %1: %2 / %3")
                                 .arg(slot)
                                 .arg(joined(outcome.book.entries[slot]), joined(expected))));
    }
    // A small model's file is the same whatever the order; the others keep the list's order.
    if (small) {
        QCOMPARE(text.text, unsorted.text);
        return;
    }
    QStringList written, listed;
    for (const QString &line : text.lines().mid(text.lines().indexOf(QStringLiteral("\t<speed>")))) {
        if (line.startsWith(QStringLiteral("\t\t<r no=\"")))
            written << line.mid(9, 4);
    }
    for (const DialEntry &entry : sorted.entries) {
        if (entry.isRegistered())
            listed << entry.No;
    }
    QCOMPARE(written, listed);
}

void TestXmlPhoneBook::groupRingToneFollowsRecordedModel()
{
    PhoneBook book;
    book.Syubetu = ModelLM630Pro;
    book.groups[0].fields[GroupSetting::Ring] = QStringLiteral("着信メロディ１");
    book.SyubetuFlag = ModelMorvel;
    QVERIFY(buildXmlPhoneBook(book).lines().contains(QStringLiteral("\t\t\t<rg>10</rg>")));
    book.SyubetuFlag = ModelLM630Std;
    QVERIFY(buildXmlPhoneBook(book).lines().contains(QStringLiteral("\t\t\t<rg>11</rg>")));
}

void TestXmlPhoneBook::unlistedGroupRingAndLampWrittenEmpty()
{
    PhoneBook book;
    book.Syubetu = ModelLM630Pro;
    book.groups[2].fields[GroupSetting::Ring] = QStringLiteral("鐘");
    book.groups[2].fields[GroupSetting::Lamp] = QStringLiteral("金色");
    const QStringList lines = buildXmlPhoneBook(book).lines();
    const qsizetype at = lines.indexOf(QStringLiteral("\t\t<r no=\"2\">"));
    QVERIFY(at > 0);
    QCOMPARE(lines.at(at + 1), QStringLiteral("\t\t\t<rg/>"));
    QCOMPARE(lines.at(at + 2), QStringLiteral("\t\t\t<lp/>"));
    QCOMPARE(lines.at(at + 3), QStringLiteral("\t\t\t<kj/>"));
}

void TestXmlPhoneBook::charactersOutsideShiftJisBecomeQuestionMarks()
{
    PhoneBook book;
    book.Syubetu = ModelLM630Pro;
    setEntry(book, 0,
             {QStringLiteral("〜−"), QString(), QString(), QStringLiteral("グループ０"), QStringLiteral("設定なし"),
              QStringLiteral("01"), QStringLiteral("0"), QStringLiteral("～－")});
    const QByteArray bytes = bytesOf(buildXmlPhoneBook(book).lines());
    QVERIFY(bytes.contains(QByteArray("<kj>?"
                                      "?</kj>")));
    QVERIFY(bytes.contains(QByteArray("<m>\x81\x60\x81\x7C</m>")));
}

void TestXmlPhoneBook::roundTripEveryModel_data()
{
    QTest::addColumn<int>("model");
    for (int m = 0; m < DeviceModelCount; ++m)
        QTest::newRow(qPrintable(deviceModel(m).nameText())) << m;
}

void TestXmlPhoneBook::roundTripEveryModel()
{
    QFETCH(int, model);
    const PhoneBook book = roundTripBook(model);
    const QByteArray bytes = bytesOf(buildXmlPhoneBook(book).lines());

    PhoneBook current; // what the document held before
    current.SyubetuFlag = ModelZR410Pro;
    current.MACAddress = QStringLiteral("FFFFFFFFFFFF");
    const XmlReadOutcome outcome = readXmlPhoneBook(linesOf(bytes), current, deviceModel(model).keptAsLeg);
    QVERIFY(outcome.accepted);
    QCOMPARE(outcome.skipped, 0);
    const int registered = static_cast<int>(
        std::count_if(book.entries.begin(), book.entries.end(), [](const DialEntry &e) { return e.isRegistered(); }));
    QCOMPARE(outcome.count, registered);
    QCOMPARE(outcome.messages(), QStringList{QStringLiteral("%1件のデータが登録されています").arg(registered)});
    const PhoneBook &read = outcome.book;
    QCOMPARE(read.SyubetuFlag, model);
    QCOMPARE(read.UserName, book.UserName);
    QCOMPARE(read.UserNo, book.UserNo);
    QCOMPARE(read.WriteMode, book.WriteMode);
    QCOMPARE(read.MACAddress, deviceModel(model).commentText().isEmpty() ? current.MACAddress : book.MACAddress);
    QVERIFY(!read.Modified);
    for (int g = 0; g < PhoneBook::GroupCount; ++g)
        QCOMPARE(read.groups[g], book.groups[g]);
    for (int p = 0; p < PhoneBook::EntryCount; ++p) {
        if (read.entries[p] != book.entries[p])
            QFAIL(qPrintable(QStringLiteral("entry %1 differs: %2 / %3")
                                 .arg(p)
                                 .arg(joined(read.entries[p]), joined(book.entries[p]))));
    }
}

void TestXmlPhoneBook::threeDigitRecordsOfZR410Std()
{
    PhoneBook book;
    book.Syubetu = ModelZR410Std;
    setEntry(book, 12,
             {QStringLiteral("総務"), QStringLiteral("ｿｳﾑ"), QStringLiteral("1234"), QStringLiteral("グループ１"),
              QStringLiteral("保留メロディ１"), QStringLiteral("01"), QStringLiteral("内線グループＢ"),
              QStringLiteral("メモ")});
    const QStringList lines = buildXmlPhoneBook(book).lines();
    QVERIFY(lines.contains(QStringLiteral("\t\t<r no=\"012\">")));
    QVERIFY(!lines.join(u'\n').contains(QStringLiteral("<rt>")));
    QVERIFY(!lines.join(u'\n').contains(QStringLiteral("<m>")));

    PhoneBook current;
    current.SyubetuFlag = ModelLM630Pro;
    const XmlReadOutcome outcome = readXmlPhoneBook(lines, current, false);
    QVERIFY(outcome.accepted);
    QCOMPARE(outcome.book.SyubetuFlag, ModelZR410Std);
    const DialEntry &entry = outcome.book.entries[12];
    QCOMPARE(entry.No, QStringLiteral("0012"));
    QCOMPARE(entry.name(), QStringLiteral("総務"));
    QCOMPARE(entry.ring(), QStringLiteral("保留メロディ１"));
    QCOMPARE(entry.destination(), QStringLiteral("0"));
    QCOMPARE(entry.memo(), QString());
}

void TestXmlPhoneBook::morvelTwoByModelComment()
{
    // A MorvelⅡ phone book kept as .xml still has its model comment and its memos.
    PhoneBook book = roundTripBook(ModelMorvel2);
    const QStringList lines = buildXmlPhoneBook(book).lines();
    const XmlReadOutcome asXml = readXmlPhoneBook(lines, PhoneBook(), false);
    QCOMPARE(asXml.book.SyubetuFlag, ModelMorvel2);
    QCOMPARE(asXml.book.entries[37].memo(), book.entries[37].memo());

    PhoneBook morvel = roundTripBook(ModelMorvel);
    const XmlReadOutcome plain = readXmlPhoneBook(buildXmlPhoneBook(morvel).lines(), PhoneBook(), false);
    QCOMPARE(plain.book.SyubetuFlag, ModelMorvel);
    const XmlReadOutcome fromLeg = readXmlPhoneBook(buildXmlPhoneBook(morvel).lines(), PhoneBook(), true);
    QCOMPARE(fromLeg.book.SyubetuFlag, ModelMorvel2);
}

void TestXmlPhoneBook::unknownModelKeepsRecordedModel()
{
    QStringList lines =
        lm630File({}, entryRecord(QStringLiteral("0001"), QStringLiteral("ｱ"), QStringLiteral("1"), true));
    lines[0] = QStringLiteral("<!-- XY999/AABBCCDDEEFF -->");
    lines[2] = QStringLiteral("<SpeedDial System=\"XY999\" >");
    PhoneBook current;
    current.SyubetuFlag = ModelKN820Pro;
    const XmlReadOutcome outcome = readXmlPhoneBook(lines, current, false);
    QVERIFY(outcome.accepted);
    QCOMPARE(outcome.book.SyubetuFlag, ModelKN820Pro);
    QCOMPARE(outcome.book.entries[1].memo(), QStringLiteral("メモ"));
    QCOMPARE(outcome.book.entries[1].destination(), QStringLiteral("内線グループＥ"));
}

// A SpeedDial line that names two models takes the first of ZR410Std, ZR410Pro,
// KN820Std, KN820Pro, VB150, LM630Std, LM630Pro.
void TestXmlPhoneBook::modelNamedFirstInOrder_data()
{
    QTest::addColumn<QString>("system");
    QTest::addColumn<int>("model");
    QTest::newRow("VB150 before ZR410Pro") << "VB150 ZR410Pro" << ModelZR410Pro;
    QTest::newRow("LM630Std before KN820Pro") << "LM630Std KN820Pro" << ModelKN820Pro;
    QTest::newRow("ZR410Pro before ZR410Std") << "ZR410Pro ZR410Std" << ModelZR410Std;
    QTest::newRow("LM630Pro before LM630Std") << "LM630Pro LM630Std" << ModelLM630Std;
    QTest::newRow("LM630Std before VB150") << "LM630Std VB150" << ModelMorvel2; // the file has a model comment
}

void TestXmlPhoneBook::modelNamedFirstInOrder()
{
    QFETCH(QString, system);
    QFETCH(int, model);
    QStringList lines = lm630File({}, {});
    lines[2] = QStringLiteral("<SpeedDial System=\"%1\" >").arg(system);
    QCOMPARE(readXmlPhoneBook(lines, PhoneBook(), false).book.SyubetuFlag, model);
}

// A phone book an editor saved again as UTF-8 without a byte-order mark opens with its
// entries, also with a damaged byte in it.
void TestXmlPhoneBook::utf8WithoutByteOrderMark_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<bool>("damaged");
    for (const int model : {ModelZR410Std, ModelLM630Pro}) {
        QTest::addRow("%s", qPrintable(ModelFiles.at(model))) << model << false;
        QTest::addRow("%s, damaged", qPrintable(ModelFiles.at(model))) << model << true;
    }
}

void TestXmlPhoneBook::utf8WithoutByteOrderMark()
{
    QFETCH(int, model);
    QFETCH(bool, damaged);
    const QByteArray cp932 = expectedFile(QStringLiteral("filled_%1.xml").arg(ModelFiles.at(model)));
    QByteArray utf8 = decodeText(cp932).toUtf8();
    if (damaged)
        utf8.replace("\xE7\xB7\x8F", "\xE7\xB7"); // 総 of 総務 cut short
    const XmlReadOutcome expected = readXmlPhoneBookText(decodeText(cp932), PhoneBook(), false);
    const XmlReadOutcome outcome = readXmlPhoneBookText(decodePhoneBookFile(utf8), PhoneBook(), false);
    QVERIFY(outcome.accepted);
    QVERIFY(outcome.count > 0);
    QCOMPARE(outcome.count, expected.count);
    QCOMPARE(outcome.book.UserName, expected.book.UserName);
    QCOMPARE(outcome.book.entries[0], expected.book.entries[0]);
    QCOMPARE(outcome.book.entries[12].name() == expected.book.entries[12].name(), !damaged);
    QCOMPARE(decodePhoneBookFile(cp932), decodeText(cp932));
}

// Before a save that writes "?" for characters code page 932 lacks, one notice names how
// many entries and their first slots.
void TestXmlPhoneBook::lostCharactersAreNamed_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("userName");
    QTest::addColumn<QString>("notice");
    const QString tail = QStringLiteral("\r\nこれらの文字は「?」として保存されます");
    const QString entries = QStringLiteral("Shift-JISにない文字を含むデータが3件あります（短縮番号 0003、0010、0012）");
    QTest::newRow("entries") << ModelLM630Pro << QString() << entries + tail;
    QTest::newRow("customer too") << ModelLM630Pro << QStringLiteral("𠮷野")
                                  << entries +
                                         QStringLiteral("\r\nお客様名・お客様電話番号・グループ名に"
                                                        "Shift-JISにない文字があります") +
                                         tail;
    // Three-digit records, and no memo written: the entry with a lost memo is not named.
    QTest::newRow("ZR410Std") << ModelZR410Std << QString()
                              << QStringLiteral("Shift-JISにない文字を含むデータが2件あります（短縮番号 0003、0012）") +
                                     tail;
}

void TestXmlPhoneBook::lostCharactersAreNamed()
{
    QFETCH(int, model);
    QFETCH(QString, userName);
    QFETCH(QString, notice);
    PhoneBook book;
    book.Syubetu = model;
    book.UserName = userName;
    book.entries[1].setField(DialEntry::Name, QStringLiteral("山田"));
    book.entries[3].setField(DialEntry::Name, QStringLiteral("José"));
    book.entries[3].setField(DialEntry::Memo, QStringLiteral("ʤ"));
    book.entries[10].setField(DialEntry::Name, QStringLiteral("吉田"));
    book.entries[10].setField(DialEntry::Memo, QStringLiteral("𠮷田"));
    book.entries[12].setField(DialEntry::Kana, QStringLiteral("ʤ"));
    book.entries[20].setField(DialEntry::Memo, QStringLiteral("𠮷")); // not registered, not written
    const XmlPhoneBookText text = buildXmlPhoneBook(book);
    QCOMPARE(text.notices.last(), notice);
    book.entries[3].setField(DialEntry::Name, QStringLiteral("ホセ"));
    book.entries[3].setField(DialEntry::Memo, QString());
    book.entries[10].setField(DialEntry::Memo, QString());
    book.entries[12].setField(DialEntry::Kana, QStringLiteral("ｼﾞｬ"));
    book.UserName.clear();
    QVERIFY(!buildXmlPhoneBook(book).notices.join(u' ').contains(QStringLiteral("Shift-JIS")));
}

void TestXmlPhoneBook::faxResetRule()
{
    const QString rg = QStringLiteral("\t\t\t<rg>1</rg>");
    const QString lp = QStringLiteral("\t\t\t<lp>2</lp>");
    QStringList groups;
    groups << groupRecord(QStringLiteral("0"), rg, lp, QStringLiteral("\t\t\t<fx>1</fx>"),
                          QStringLiteral("\t\t\t<cb>1</cb>"));
    // Group 4 has neither flag line: every FAX and callback flag read so far is reset.
    groups << groupRecord(QStringLiteral("4"), rg, lp, QString(), QString());
    groups << groupRecord(QStringLiteral("7"), rg, lp, QStringLiteral("\t\t\t<fx>1</fx>"),
                          QStringLiteral("\t\t\t<cb>0</cb>"));
    const XmlReadOutcome outcome = readXmlPhoneBook(lm630File(groups, {}), PhoneBook(), true);
    QVERIFY(outcome.accepted);
    const auto &g = outcome.book.groups;
    QCOMPARE(g[0].fax(), QStringLiteral("しない"));
    QCOMPARE(g[0].callback(), QStringLiteral("しない"));
    QCOMPARE(g[4].fax(), QStringLiteral("しない"));
    QCOMPARE(g[7].fax(), QStringLiteral("する"));
    QCOMPARE(g[7].callback(), QStringLiteral("しない"));
    QCOMPARE(g[4].ring(), QStringLiteral("着信音Ａ"));
    QCOMPARE(g[4].lamp(), QStringLiteral("レモンイエロー"));
    QCOMPARE(g[4].name(), QStringLiteral("名"));
    QCOMPARE(g[1], PhoneBook().groups[1]);
}

void TestXmlPhoneBook::kanaUnescapingOrder()
{
    QCOMPARE(escapeKana(QStringLiteral("A&B<C")), QStringLiteral("A&amp;B&lt;C"));
    QCOMPARE(unescapeKana(QStringLiteral("A&amp;B&lt;C")), QStringLiteral("A&B<C"));
    QCOMPARE(unescapeKana(QStringLiteral("&amp;lt;")), QStringLiteral("&lt;"));
    // A part of a line, as the reader passes it: an entity cut off at the end stays text.
    const QString line = QStringLiteral("<kn>&amp;x&amp</kn>");
    QCOMPARE(unescapeKana(QStringView(line).mid(4, 10)), QStringLiteral("&x&amp"));
    const XmlReadOutcome outcome =
        readXmlPhoneBook(lm630File({}, entryRecord(QStringLiteral("0002"), QStringLiteral("&amp;lt;&quot;&apos;&gt;"),
                                                   QStringLiteral("0"), true)),
                         PhoneBook(), true);
    QCOMPARE(outcome.book.entries[2].kana(), QStringLiteral("&lt;\"'>"));
}

void TestXmlPhoneBook::notAPhoneBook_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QStringList{};
    QTest::newRow("one line") << QStringList{QStringLiteral("<?xml version=\"1.0\" ?>")};
    QTest::newRow("csv") << QStringList{QStringLiteral("短縮番号,名前"), QStringLiteral("0000,a")};
    QTest::newRow("comment but no SpeedDial") << QStringList{QStringLiteral("<!-- LM630Pro/112233445566 -->"),
                                                             QStringLiteral("<?xml ?>"), QStringLiteral("<Other>")};
}

void TestXmlPhoneBook::notAPhoneBook()
{
    QFETCH(QStringList, lines);
    const XmlReadOutcome outcome = readXmlPhoneBook(lines, PhoneBook(), true);
    QVERIFY(!outcome.accepted);
    QCOMPARE(outcome.rejection, QStringLiteral("Brisantの電話帳データではありません"));
    QVERIFY(outcome.messages().isEmpty());
}

void TestXmlPhoneBook::recordsThatDoNotFitAreSkipped_data()
{
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("skipped");
    const QStringList good = entryRecord(QStringLiteral("0003"), QStringLiteral("ｱ"), QStringLiteral("1"), true);
    QTest::newRow("record 4000") << QStringList{}
                                 << (good + entryRecord(QStringLiteral("4000"), QStringLiteral("ｲ"),
                                                        QStringLiteral("1"), true))
                                 << 1 << 1;
    QTest::newRow("record -1") << QStringList{}
                               << (entryRecord(QStringLiteral("-1"), QStringLiteral("ｲ"), QStringLiteral("1"), true) +
                                   good)
                               << 1 << 1;
    QStringList badGroup = entryRecord(QStringLiteral("0004"), QStringLiteral("ｲ"), QStringLiteral("1"), true);
    badGroup[1] = QStringLiteral("\t\t\t<g>11</g>");
    QTest::newRow("group code 11") << QStringList{} << (good + badGroup) << 1 << 1;
    QTest::newRow("ring code 13") << QStringList{}
                                  << (good + entryRecord(QStringLiteral("0005"), QStringLiteral("ｲ"),
                                                         QStringLiteral("13"), true))
                                  << 1 << 1;
    QTest::newRow("lamp code 9") << groupRecord(QStringLiteral("2"), QStringLiteral("\t\t\t<rg>1</rg>"),
                                                QStringLiteral("\t\t\t<lp>9</lp>"), QStringLiteral("\t\t\t<fx>1</fx>"),
                                                QStringLiteral("\t\t\t<cb>1</cb>"))
                                 << good << 1 << 1;
    QTest::newRow("group ring -1") << groupRecord(QStringLiteral("2"), QStringLiteral("\t\t\t<rg>-1</rg>"),
                                                  QStringLiteral("\t\t\t<lp/>"), QStringLiteral("\t\t\t<fx>1</fx>"),
                                                  QStringLiteral("\t\t\t<cb>1</cb>"))
                                   << good << 1 << 1;
}

void TestXmlPhoneBook::recordsThatDoNotFitAreSkipped()
{
    QFETCH(QStringList, groups);
    QFETCH(QStringList, entries);
    QFETCH(int, count);
    QFETCH(int, skipped);
    const XmlReadOutcome outcome = readXmlPhoneBook(lm630File(groups, entries), PhoneBook(), true);
    QVERIFY(outcome.accepted);
    QCOMPARE(outcome.count, count);
    QCOMPARE(outcome.skipped, skipped);
    QCOMPARE(outcome.messages(),
             (QStringList{QStringLiteral("%1件のデータが登録されています").arg(count),
                          QStringLiteral("電話帳に収まらないレコード%1件を読み飛ばしました").arg(skipped)}));
    QCOMPARE(outcome.book.entries[3].kana(), QStringLiteral("ｱ"));
    QCOMPARE(outcome.book.groups[2], PhoneBook().groups[2]);
}

void TestXmlPhoneBook::aSlotRecordedTwiceKeepsTheLaterRecord()
{
    // The texts of all records are handed to their entries together at the end; the
    // later record of a slot still wins, as it did when each was assigned at once.
    QStringList later = entryRecord(QStringLiteral("0003"), QStringLiteral("ｲ&amp;"), QStringLiteral("1"), true);
    later[4] = QStringLiteral("\t\t\t<kj>後の名前</kj>");
    later[8] = QStringLiteral("\t\t\t<m></m>");
    const QStringList records = entryRecord(QStringLiteral("0003"), QStringLiteral("ｱ"), QStringLiteral("1"), true) +
                                entryRecord(QStringLiteral("0004"), QStringLiteral("ｳ"), QStringLiteral("1"), true) +
                                later;
    const XmlReadOutcome outcome = readXmlPhoneBook(lm630File({}, records), PhoneBook(), true);
    QVERIFY(outcome.accepted);
    const DialEntry &twice = outcome.book.entries[3];
    QCOMPARE(twice.name(), QStringLiteral("後の名前"));
    QCOMPARE(twice.kana(), QStringLiteral("ｲ&"));
    QCOMPARE(twice.memo(), QString());
    QCOMPARE(outcome.book.entries[4].kana(), QStringLiteral("ｳ"));
    QCOMPARE(outcome.book.entries[4].memo(), QStringLiteral("メモ"));
}

void TestXmlPhoneBook::notANumberRefusesTheFile_data()
{
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<QStringList>("entries");
    QStringList badCode = entryRecord(QStringLiteral("0004"), QStringLiteral("ｲ"), QStringLiteral("1"), true);
    badCode[1] = QStringLiteral("\t\t\t<g>x</g>");
    QTest::newRow("group code") << QStringList{} << badCode;
    QTest::newRow("record number") << QStringList{}
                                   << entryRecord(QStringLiteral("00a1"), QStringLiteral("ｲ"), QStringLiteral("1"),
                                                  true);
    QTest::newRow("ring code") << QStringList{}
                               << entryRecord(QStringLiteral("0001"), QStringLiteral("ｲ"), QString(), true);
    QTest::newRow("group number") << groupRecord(QStringLiteral("x"), QStringLiteral("\t\t\t<rg>1</rg>"),
                                                 QStringLiteral("\t\t\t<lp/>"), QStringLiteral("\t\t\t<fx>1</fx>"),
                                                 QStringLiteral("\t\t\t<cb>1</cb>"))
                                  << QStringList{};
}

void TestXmlPhoneBook::notANumberRefusesTheFile()
{
    QFETCH(QStringList, groups);
    QFETCH(QStringList, entries);
    QVERIFY_THROWS_EXCEPTION(DalvinoError, readXmlPhoneBook(lm630File(groups, entries), PhoneBook(), true));
}

void TestXmlPhoneBook::customerLineAbsentLeavesCustomerEmpty()
{
    QStringList lines = lm630File({}, {});
    lines[4] = QStringLiteral("<!-- something else -->");
    lines[6] = QStringLiteral("\t<clear>0</clear>");
    PhoneBook current;
    current.UserName = QStringLiteral("前の客");
    const XmlReadOutcome outcome = readXmlPhoneBook(lines, current, true);
    QVERIFY(outcome.accepted);
    QCOMPARE(outcome.book.UserName, QString());
    QCOMPARE(outcome.book.WriteMode, 1);
    QCOMPARE(outcome.count, 0);
}

void TestXmlPhoneBook::macAddressKeptWithoutModelComment()
{
    PhoneBook book;
    book.Syubetu = ModelZR410Pro;
    PhoneBook current;
    current.MACAddress = QStringLiteral("123456789012");
    const XmlReadOutcome outcome = readXmlPhoneBook(buildXmlPhoneBook(book).lines(), current, false);
    QCOMPARE(outcome.book.MACAddress, QStringLiteral("123456789012"));
    // A short comment gives as many characters as there are.
    QStringList lines = lm630File({}, {});
    lines[0] = QStringLiteral("<!-- LM630Std/AB");
    QCOMPARE(readXmlPhoneBook(lines, current, true).book.MACAddress, QStringLiteral("AB"));
}

void TestXmlPhoneBook::lineEndsOfTheText_data()
{
    QTest::addColumn<QString>("lineEnd");
    QTest::newRow("CR LF") << "\r\n";
    QTest::newRow("LF") << "\n";
    QTest::newRow("CR") << "\r";
}

void TestXmlPhoneBook::lineEndsOfTheText()
{
    // The text reader splits as the line reader does: CR LF, lone CR and lone LF, also
    // mixed in one file.
    QFETCH(QString, lineEnd);
    const PhoneBook book = roundTripBook(ModelLM630Std);
    const QString crlf = buildXmlPhoneBook(book).text;
    QString text = crlf;
    text.replace(QStringLiteral("\r\n"), lineEnd);
    const XmlReadOutcome expected = readXmlPhoneBook(splitLines(crlf), PhoneBook(), true);
    const XmlReadOutcome outcome = readXmlPhoneBookText(text, PhoneBook(), true);
    QVERIFY(outcome.accepted);
    QCOMPARE(outcome.count, expected.count);
    QCOMPARE(outcome.book.entries, book.entries);
    QCOMPARE(outcome.book.groups, book.groups);

    // One lone CR in the middle of a CR LF file still ends a line there.
    QString mixed = crlf;
    const qsizetype at = mixed.indexOf(QStringLiteral("\t\t\t<g>"));
    mixed.replace(at - 2, 2, QStringLiteral("\r")); // the CR LF before the first <g> line
    const XmlReadOutcome lone = readXmlPhoneBookText(mixed, PhoneBook(), true);
    QCOMPARE(lone.book.entries, book.entries);
    QCOMPARE(readXmlPhoneBookText(mixed + QStringLiteral("\r"), PhoneBook(), true).count, expected.count);
}

QTEST_GUILESS_MAIN(TestXmlPhoneBook)
#include "tst_xmlphonebook.moc"
