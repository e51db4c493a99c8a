#include "core/FileTypes.h"

#include <QTest>

class TestFileTypes : public QObject {
    Q_OBJECT
private slots:
    void extension_data();
    void extension();
    void defaultExt_data();
    void defaultExt();
    void replace_data();
    void replace();
    void fieldForType_data();
    void fieldForType();
    void types();
};

void TestFileTypes::extension_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("n");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("extension");

    const QString report = QStringLiteral("TXTファイル|*.txt");
    const QString phoneBook = QStringLiteral("電話帳ファイル|*.csv;*.leg");
    const QString three = QStringLiteral("XML|*.xml;*.csv|LEG|*.leg|全て|*");

    QTest::newRow("one pair") << report << 1 << true << QStringLiteral(".txt");
    QTest::newRow("one pair, n = 2") << report << 2 << false << QString();
    QTest::newRow("n = 0") << report << 0 << false << QString();
    QTest::newRow("n negative") << report << -1 << false << QString();
    QTest::newRow("several masks: the first counts") << phoneBook << 1 << true << QStringLiteral(".csv");
    QTest::newRow("first of three") << three << 1 << true << QStringLiteral(".xml");
    QTest::newRow("second of three") << three << 2 << true << QStringLiteral(".leg");
    QTest::newRow("pattern without a dot") << three << 3 << true << QString();
    QTest::newRow("n past the end") << three << 4 << false << QString();
    QTest::newRow("empty filter") << QString() << 1 << false << QString();
    QTest::newRow("description without a pattern") << QStringLiteral("TXT") << 1 << false << QString();
    QTest::newRow("empty pattern at the end") << QStringLiteral("TXT|") << 1 << true << QString();
    // A ";" in the next description is not part of this pattern.
    QTest::newRow("semicolon after the pattern")
        << QStringLiteral("A|*.a|B;C|*.b") << 1 << true << QStringLiteral(".a");
    QTest::newRow("semicolon before any dot") << QStringLiteral("A|abc;*.a") << 1 << true << QString();
    QTest::newRow("two dots") << QStringLiteral("A|*.tar.gz") << 1 << true << QStringLiteral(".tar.gz");
}

void TestFileTypes::extension()
{
    QFETCH(QString, filter);
    QFETCH(int, n);
    QFETCH(bool, found);
    QFETCH(QString, extension);
    const std::optional<QString> result = extensionOfFileType(filter, n);
    QCOMPARE(result.has_value(), found);
    if (found)
        QCOMPARE(*result, extension);
}

void TestFileTypes::defaultExt_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("defaultExt");
    QTest::newRow("txt") << QStringLiteral(".txt") << QStringLiteral("txt");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("two dots") << QStringLiteral(".tar.gz") << QStringLiteral("tar.gz");
}

void TestFileTypes::defaultExt()
{
    QFETCH(QString, extension);
    QFETCH(QString, defaultExt);
    QCOMPARE(defaultExtFrom(extension), defaultExt);
}

void TestFileTypes::replace_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("result");
    QTest::newRow("csv to leg") << QStringLiteral("電話帳.csv") << QStringLiteral(".leg")
                                << QStringLiteral("電話帳.leg");
    QTest::newRow("no extension gets one")
        << QStringLiteral("report") << QStringLiteral(".txt") << QStringLiteral("report.txt");
    QTest::newRow("empty extension removes") << QStringLiteral("report.txt") << QString() << QStringLiteral("report");
    QTest::newRow("last dot counts") << QStringLiteral("a.b.csv") << QStringLiteral(".xml")
                                     << QStringLiteral("a.b.xml");
    QTest::newRow("dot in a folder only")
        << QStringLiteral("/tmp/my.dir/report") << QStringLiteral(".txt") << QStringLiteral("/tmp/my.dir/report.txt");
    QTest::newRow("backslash separator") << QStringLiteral("C:\\my.dir\\report") << QStringLiteral(".txt")
                                         << QStringLiteral("C:\\my.dir\\report.txt");
    QTest::newRow("drive colon") << QStringLiteral("C:.x") << QStringLiteral(".txt") << QStringLiteral("C:.txt");
    QTest::newRow("trailing dot") << QStringLiteral("report.") << QStringLiteral(".txt")
                                  << QStringLiteral("report.txt");
    QTest::newRow("wildcard name") << QStringLiteral("*.csv") << QStringLiteral(".leg") << QStringLiteral("*.leg");
}

void TestFileTypes::replace()
{
    QFETCH(QString, name);
    QFETCH(QString, extension);
    QFETCH(QString, result);
    QCOMPARE(replaceFileExtension(name, extension), result);
}

void TestFileTypes::fieldForType_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("result");
    QTest::newRow("empty field") << QString() << QStringLiteral(".xml") << QStringLiteral("*.xml");
    QTest::newRow("empty field, no extension") << QString() << QString() << QStringLiteral("*");
    QTest::newRow("name in field") << QStringLiteral("data.csv") << QStringLiteral(".leg")
                                   << QStringLiteral("data.leg");
}

void TestFileTypes::fieldForType()
{
    QFETCH(QString, field);
    QFETCH(QString, extension);
    QFETCH(QString, result);
    QCOMPARE(fileNameFieldForType(field, extension), result);
}

void TestFileTypes::types()
{
    const QList<FileType> types = fileTypesOf(QStringLiteral("XML|*.xml;*.csv|LEG|*.leg"));
    QCOMPARE(types.size(), 2);
    QCOMPARE(types.at(0).description, QStringLiteral("XML"));
    QCOMPARE(types.at(0).masks, (QStringList{QStringLiteral("*.xml"), QStringLiteral("*.csv")}));
    QCOMPARE(types.at(1).masks, QStringList{QStringLiteral("*.leg")});
    QVERIFY(fileTypesOf(QString()).isEmpty());
    QCOMPARE(fileTypesOf(QStringLiteral("odd|*.a|dangling")).size(), 1);
}

QTEST_APPLESS_MAIN(TestFileTypes)
#include "tst_filetypes.moc"
