// Inputs the fuzz targets found (fuzz/README.md), each kept as the case it broke.
#include "formats/IniFile.h"

#include <QTest>

class TestFuzzFindings : public QObject {
    Q_OBJECT
private slots:
    void settingsValueSurvivesSave_data();
    void settingsValueSurvivesSave();
};

void TestFuzzFindings::settingsValueSurvivesSave_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("value");
    QTest::newRow("quoted trailing space") << QStringLiteral("Left='20 '") << QStringLiteral("20 ");
    QTest::newRow("quoted leading tab") << QStringLiteral("Left=\"\tx\"") << QStringLiteral("\tx");
    QTest::newRow("quotes in quotes") << QStringLiteral("Left=\"\"a\"\"") << QStringLiteral("\"a\"");
    QTest::newRow("single quotes in double") << QStringLiteral("Left=\"'a'\"") << QStringLiteral("'a'");
    QTest::newRow("lone quote") << QStringLiteral("Left=\"") << QStringLiteral("\"");
    QTest::newRow("plain") << QStringLiteral("Left=a b") << QStringLiteral("a b");
}

// A value read from the file is written so that the next start reads the same value.
void TestFuzzFindings::settingsValueSurvivesSave()
{
    QFETCH(QString, line);
    QFETCH(QString, value);
    const IniFile ini = IniFile::parse(QStringLiteral("[Setting]\r\n") + line + QStringLiteral("\r\n"));
    QCOMPARE(ini.readString("Setting", "Left"), value);
    const QString saved = ini.toText();
    const IniFile reread = IniFile::parse(saved);
    QCOMPARE(reread.readString("Setting", "Left"), value);
    QCOMPARE(reread.toText(), saved);
}

QTEST_GUILESS_MAIN(TestFuzzFindings)
#include "tst_fuzzfindings.moc"
