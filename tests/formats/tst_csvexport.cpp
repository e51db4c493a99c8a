#include "core/DalvinoError.h"
#include "core/PhoneBook.h"
#include "formats/CsvExport.h"
#include "formats/TextFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestCsvExport : public QObject {
    Q_OBJECT
private slots:
    void newPhoneBookHas4001Lines();
    void fieldsAreWrittenUnchanged();
    void followsListOrder();
    void fileIsCp932WithCrLf();
    void failedWriteKeepsOldFile();
    void savedTextNamesOnlyTheFile();
};

void TestCsvExport::newPhoneBookHas4001Lines()
{
    const PhoneBook book;
    const QStringList lines = CsvExport::lines(book);
    QCOMPARE(lines.size(), 4001);
    QCOMPARE(lines.first(), QStringLiteral("短縮番号,名前,カナ,電話番号,グループ,着信音,登録実装,着信先,メモ"));
    QCOMPARE(lines.at(1), QStringLiteral("0000,,,,グループ０,設定なし,01,0,"));
    QCOMPARE(lines.at(6), QStringLiteral("0005,,,,グループ０,設定なし,01,0,"));
    QCOMPARE(lines.last(), QStringLiteral("3999,,,,グループ０,設定なし,01,0,"));
    for (qsizetype i = 1; i < lines.size(); ++i)
        QVERIFY(lines.at(i).endsWith(u','));
}

void TestCsvExport::fieldsAreWrittenUnchanged()
{
    PhoneBook book;
    DialEntry &e = book.entries[2];
    e.setField(DialEntry::Name, QStringLiteral("山田，太郎,様"));
    e.setField(DialEntry::Kana, QStringLiteral("\"ﾔﾏﾀﾞ\""));
    e.setField(DialEntry::Phone, QStringLiteral(" 03-1234 "));
    e.setField(DialEntry::Group, QStringLiteral("個別"));
    e.setField(DialEntry::Ring, QStringLiteral("保留メロディ２"));
    e.setField(DialEntry::Extension, QStringLiteral("12"));
    e.setField(DialEntry::Destination, QStringLiteral("内線グループＣ"));
    e.setField(DialEntry::Memo, QStringLiteral("メモ"));
    const QString line = CsvExport::lines(book).at(3);
    QCOMPARE(line, QStringLiteral("0002,山田，太郎,様,\"ﾔﾏﾀﾞ\", 03-1234 ,個別,保留メロディ２,12,内線グループＣ,メモ"));
    // The comma inside the name is not quoted: the line holds ten fields.
    QCOMPARE(line.split(u',').size(), 10);
}

void TestCsvExport::followsListOrder()
{
    PhoneBook book;
    book.entries[0].setField(DialEntry::Phone, QStringLiteral("09"));
    book.entries[1].setField(DialEntry::Phone, QStringLiteral("01"));
    // The list sorted by phone number: slot 0001 first, each line keeps its slot number.
    std::swap(book.entries[0], book.entries[1]);
    const QStringList lines = CsvExport::lines(book);
    QVERIFY(lines.at(1).startsWith(QStringLiteral("0001,,,01,")));
    QVERIFY(lines.at(2).startsWith(QStringLiteral("0000,,,09,")));
}

void TestCsvExport::fileIsCp932WithCrLf()
{
    QTemporaryDir dir;
    PhoneBook book;
    book.entries[0].setField(DialEntry::Name, QStringLiteral("①～－"));
    const QString path = dir.filePath(QStringLiteral("data.csv"));
    CsvExport::write(path, book);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith(encodeCp932(CsvExport::header()) + "\r\n"));
    QVERIFY(
        bytes.endsWith("3999,,,,\x83\x4f\x83\x8b\x81\x5b\x83\x76\x82\x4f,\x90\xdd\x92\xe8\x82\xc8\x82\xb5,01,0,\r\n"));
    QVERIFY(bytes.contains("0000,\x87\x40\x81\x60\x81\x7c,"));
    QCOMPARE(bytes.count("\r\n"), 4001);
    QCOMPARE(bytes.count('\n'), 4001);
    QCOMPARE(book.FileName, PhoneBook::untitledName());
    QVERIFY(!book.Modified);
}

void TestCsvExport::failedWriteKeepsOldFile()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/data.csv"));
    try {
        CsvExport::write(missing, PhoneBook());
        QFAIL("writing into a missing folder succeeded");
    } catch (const DalvinoError &e) {
        QVERIFY(e.text().startsWith(QStringLiteral("ファイル \"%1\" を作成できません。").arg(missing)));
    }
}

void TestCsvExport::savedTextNamesOnlyTheFile()
{
    QCOMPARE(CsvExport::savedText(QStringLiteral("/home/user/書類/data.csv")),
             QStringLiteral("［data.csv］を保存しました"));
}

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
