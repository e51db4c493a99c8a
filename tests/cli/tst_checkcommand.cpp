#include "TestPaths.h"
#include "core/Analysis.h"
#include "formats/PhoneBookFiles.h"
#include "formats/TextFile.h"
#include "formats/XmlPhoneBook.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

Run check(const QStringList &arguments)
{
    QProcess process;
    process.start(binDir() + QStringLiteral("/dalvino-cli"), QStringList{QStringLiteral("check")} + arguments);
    if (!process.waitForFinished(60000))
        qFatal("dalvino-cli did not finish");
    if (process.exitStatus() != QProcess::NormalExit)
        qFatal("dalvino-cli crashed");
    return {process.exitCode(), process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

QString fixture(const QString &name)
{
    return sourceDir() + QStringLiteral("/tests/formats/data/") + name;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

const QString NoProblems = QStringLiteral("この電話帳データに異常は見つかりませんでした");

} // namespace

class TestCheckCommand : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanPhoneBook();
    void faultyPhoneBook();
    void reportFileOfCleanBookHasNoLineEnd();
    void errors_data();
    void errors();
    void reportThatCannotBeWrittenIsAnError();
    void listedInHelp();

private:
    QTemporaryDir dir;
    QString faultyPath;
};

void TestCheckCommand::initTestCase()
{
    QVERIFY(dir.isValid());
    // Faults that the XML writer's own width conversion leaves in place.
    PhoneBook book;
    book.entries[5].setField(DialEntry::Name, QString(17, QChar(0x5C71)));        // longer than 16
    book.entries[100].setField(DialEntry::Phone, QStringLiteral("03 1234 5678")); // spaces
    book.entries[101].setField(DialEntry::Name, QStringLiteral("山田"));
    book.entries[101].setField(DialEntry::Phone, QString(25, u'1')); // 25 digits
    book.entries[102].setField(DialEntry::Name, QStringLiteral("鈴木"));
    book.entries[102].setField(DialEntry::Phone, QStringLiteral("03-1234-5678")); // clean
    faultyPath = dir.filePath(QStringLiteral("faulty.xml"));
    writeTextLines(faultyPath, buildXmlPhoneBook(book).lines());
}

void TestCheckCommand::cleanPhoneBook()
{
    const Run run = check({fixture(QStringLiteral("new_KN820Std.xml"))});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QString::fromUtf8(run.out), NoProblems + u'\n');
    // The reader's count message goes where the other commands put it.
    QCOMPARE(run.err, QStringLiteral("0件のデータが登録されています\n"));
}

void TestCheckCommand::faultyPhoneBook()
{
    const QString reportPath = dir.filePath(QStringLiteral("faulty report.txt"));
    const Run run = check({faultyPath, QStringLiteral("--report"), reportPath});
    QCOMPARE(run.exitCode, 1);

    // The same report the window shows for the same phone book.
    const QString expected = analysisReport(PhoneBookFiles::load(faultyPath, PhoneBook()).book);
    QCOMPARE(expected, QStringLiteral("【短縮0005】\r\n    名前が全角１６文字を越えています\r\n\r\n"
                                      "【短縮0100】\r\n    電話番号に不正文字が存在している可能性があります\r\n\r\n"
                                      "【短縮0101】\r\n    電話番号が２４文字を越えています\r\n\r\n"));
    QCOMPARE(QString::fromUtf8(run.out), expected);
    QCOMPARE(fileBytes(reportPath), encodeCp932(expected));
}

void TestCheckCommand::reportFileOfCleanBookHasNoLineEnd()
{
    const QString reportPath = dir.filePath(QStringLiteral("clean.txt"));
    const Run run = check({QStringLiteral("--report"), reportPath, fixture(QStringLiteral("new_LM630Pro.xml"))});
    QCOMPARE(run.exitCode, 0);
    const QByteArray bytes = fileBytes(reportPath);
    QCOMPARE(bytes.size(), 44);
    QCOMPARE(decodeCp932(bytes), NoProblems);
}

void TestCheckCommand::errors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("no file") << QStringList() << QStringLiteral("check needs exactly one file");
    QTest::newRow("two files") << QStringList{QStringLiteral("a.xml"), QStringLiteral("b.xml")}
                               << QStringLiteral("check needs exactly one file");
    QTest::newRow("report without a file")
        << QStringList{QStringLiteral("a.xml"), QStringLiteral("--report")} << QStringLiteral("--report needs a file");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("a.xml"), QStringLiteral("--fast")}
                                    << QStringLiteral("Unknown option \"--fast\"");
    QTest::newRow("unknown extension") << QStringList{QStringLiteral("a.txt")}
                                       << QStringLiteral("Cannot read \"a.txt\"");
    QTest::newRow("missing file") << QStringList{QStringLiteral("/nonexistent/a.xml")}
                                  << QStringLiteral("ファイル /nonexistent/a.xml は開けません。");
}

void TestCheckCommand::errors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run run = check(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.startsWith(message), qPrintable(run.err));
}

void TestCheckCommand::reportThatCannotBeWrittenIsAnError()
{
    const QString reportPath = dir.filePath(QStringLiteral("missing/report.txt"));
    const Run run = check({faultyPath, QStringLiteral("--report"), reportPath});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(QStringLiteral("を作成できません。")), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    QVERIFY(!QFile::exists(reportPath));
}

void TestCheckCommand::listedInHelp()
{
    QProcess process;
    process.start(binDir() + QStringLiteral("/dalvino-cli"), {QStringLiteral("--help")});
    QVERIFY(process.waitForFinished(60000));
    QVERIFY(QString::fromUtf8(process.readAllStandardOutput())
                .contains(QStringLiteral("dalvino-cli check IN [--report FILE]")));
}

QTEST_GUILESS_MAIN(TestCheckCommand)
#include "tst_checkcommand.moc"
