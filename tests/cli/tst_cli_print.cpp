#include "CliRun.h"
#include "PdfText.h"
#include "TestPaths.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_cli_print : public QObject {
    Q_OBJECT
private slots:
    void print_data();
    void print();
    void refused_data();
    void refused();

private:
    QString sample() const { return sourceDir() + QStringLiteral("/samples/zr410std.xml"); }
    QTemporaryDir dir_;
};

void tst_cli_print::print_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("pageSize");
    QTest::addColumn<QStringList>("firstRows");
    QTest::newRow("slot order") << QStringList{} << "595 x 842" << QStringList{"0000", "0001", "0002"};
    QTest::newRow("by kana") << QStringList{"--by-kana"} << "595 x 842" << QStringList{"0052", "0014", "0124"};
    QTest::newRow("landscape") << QStringList{"--landscape"} << "842 x 595" << QStringList{"0000", "0001", "0002"};
    QTest::newRow("both flags") << QStringList{"--landscape", "--by-kana"} << "842 x 595"
                                << QStringList{"0052", "0014", "0124"};
}

void tst_cli_print::print()
{
    QFETCH(QStringList, options);
    QFETCH(QString, pageSize);
    QFETCH(QStringList, firstRows);
    const QString out = dir_.filePath(QStringLiteral("list.pdf"));
    const CliRun run = runCli(QStringList{QStringLiteral("print"), sample(), out} + options);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.contains(QStringLiteral("38件のデータが登録されています")), qPrintable(run.err));
    QVERIFY(pdfInfo(out, QStringLiteral("Page size")).startsWith(pageSize));
    const QStringList pages = pdfPages(out);
    QVERIFY(pages.first().contains(QStringLiteral("株式会社丸山工業")));
    QStringList numbers;
    for (const QString &page : pages)
        numbers += slotsOnPage(page);
    QCOMPARE(numbers.size(), 38);
    QCOMPARE(numbers.mid(0, 3), firstRows);
}

void tst_cli_print::refused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("no output") << QStringList{"print", "in.xml"} << "print needs IN and OUT.pdf";
    QTest::newRow("not a pdf") << QStringList{"print", "in.xml", "out.xml"} << "the output must end in .pdf";
    QTest::newRow("unknown option") << QStringList{"print", "in.xml", "out.pdf", "--all"} << "Unknown option";
    QTest::newRow("value after a flag") << QStringList{"print", "in.xml", "out.pdf", "--landscape=1"} << "--landscape";
    QTest::newRow("Qt's own option") << QStringList{"print", "in.xml", "out.pdf", "-platform", "xcb"}
                                     << "Unknown option";
    QTest::newRow("unknown input") << QStringList{"print", "in.txt", "out.pdf"} << "the input must end in";
    QTest::newRow("missing input") << QStringList{"print", "missing.xml", "out.pdf"} << "missing.xml";
}

// A refused or failed print writes nothing.
void tst_cli_print::refused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    for (QString &argument : arguments) {
        if (argument.contains(u'.'))
            argument = dir_.filePath(argument);
    }
    const CliRun run = runCli(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("out.pdf"))));
    QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("out.xml"))));
}

QTEST_GUILESS_MAIN(tst_cli_print)
#include "tst_cli_print.moc"
