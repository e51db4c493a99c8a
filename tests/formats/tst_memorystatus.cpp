#include "formats/MemoryStatus.h"

#include <QTest>

class TestMemoryStatus : public QObject {
    Q_OBJECT
private slots:
    void figure_data()
    {
        QTest::addColumn<quint64>("bytes");
        QTest::addColumn<QString>("figure");

        QTest::newRow("2 GiB") << quint64(2147483648) << "2,097,152KB";
        QTest::newRow("1.5 KB rounds up to even") << quint64(1536) << "2KB";
        QTest::newRow("2.5 KB rounds down to even") << quint64(2560) << "2KB";
        QTest::newRow("just over a half") << quint64(2561) << "3KB";
        QTest::newRow("just under a half") << quint64(1535) << "1KB";
        QTest::newRow("zero has one digit") << quint64(0) << "0KB";
        QTest::newRow("below a half") << quint64(511) << "0KB";
        QTest::newRow("three digits ungrouped") << quint64(999 * 1024) << "999KB";
        QTest::newRow("four digits grouped") << quint64(1000 * 1024) << "1,000KB";
        QTest::newRow("rounding carries into a new group") << quint64(999999 * 1024 + 600) << "1,000,000KB";
        QTest::newRow("64 GiB") << quint64(68719476736) << "67,108,864KB";
    }
    void figure()
    {
        QFETCH(quint64, bytes);
        QFETCH(QString, figure);
        QCOMPARE(formatMemoryFigure(bytes, QLocale(QLocale::English, QLocale::UnitedStates)), figure);
    }

    void localeSeparator()
    {
        QCOMPARE(formatMemoryFigure(2147483648, QLocale(QLocale::German, QLocale::Germany)),
                 QStringLiteral("2.097.152KB"));
        // Grouping stays by thousands where the locale would group otherwise.
        QCOMPARE(formatMemoryFigure(quint64(1234567) * 1024, QLocale(QLocale::Hindi, QLocale::India)),
                 QStringLiteral("1,234,567KB"));
    }

    void meminfo_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("found");
        QTest::addColumn<quint64>("total");
        QTest::addColumn<quint64>("avail");

        QTest::newRow("usual") << "MemTotal:        8048124 kB\nMemFree:          512000 kB\n"
                                  "MemAvailable:    4096000 kB\nBuffers:  1 kB\n"
                               << true << quint64(8048124) * 1024 << quint64(4096000) * 1024;
        QTest::newRow("old kernel without MemAvailable") << "MemTotal: 1000 kB\nMemFree: 300 kB\n"
                                                         << true << quint64(1000 * 1024) << quint64(300 * 1024);
        QTest::newRow("similar keys are not taken")
            << "MemTotalX: 5 kB\nMemTotal: 7 kB\nMemAvailableX: 1 kB\nMemAvailable: 2 kB\n"
            << true << quint64(7 * 1024) << quint64(2 * 1024);
        QTest::newRow("no total") << "MemFree: 300 kB\n" << false << quint64(0) << quint64(0);
        QTest::newRow("garbage") << "MemTotal: lots\n" << false << quint64(0) << quint64(0);
    }
    void meminfo()
    {
        QFETCH(QString, text);
        QFETCH(bool, found);
        QFETCH(quint64, total);
        QFETCH(quint64, avail);
        const auto status = parseMeminfo(text);
        QCOMPARE(status.has_value(), found);
        if (found) {
            QCOMPARE(status->totalPhys, total);
            QCOMPARE(status->availPhys, avail);
        }
    }

    void machine()
    {
        const MemoryStatus status = readMemoryStatus();
        QVERIFY(status.totalPhys > 0);
        QVERIFY(status.availPhys <= status.totalPhys);
    }
};

QTEST_GUILESS_MAIN(TestMemoryStatus)
#include "tst_memorystatus.moc"
