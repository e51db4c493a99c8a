#include "TestPaths.h"
#include "formats/AppPaths.h"
#include "formats/LegConverter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// A folder of the programs, as the build lays it out or as the package installs it: where
// the converter's working files go, and what the folder holds after a conversion.
class TestAppPaths : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanup() { AppPaths::setExecutableFolder(QString()); }

    void conversionWritesOnlyWhereItMay_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QStringList>("folderAfterwards");

        QTest::newRow("portable folder keeps everything beside the programs")
            << false << QStringList{"Quenda.dll", "temp"};
        QTest::newRow("installed copy leaves its folder as installed")
            << true << QStringList{"Dalvino.installed", "Quenda.dll"};
    }
    void conversionWritesOnlyWhereItMay()
    {
        QFETCH(bool, installed);
        QFETCH(QStringList, folderAfterwards);

        QTemporaryDir exe;
        QTemporaryDir files;
        QVERIFY(QFile::link(binDir() + QStringLiteral("/Quenda.dll"), exe.filePath(QStringLiteral("Quenda.dll"))));
        if (installed) {
            QFile marker(exe.filePath(AppPaths::installedMarker()));
            QVERIFY(marker.open(QIODevice::WriteOnly));
        }
        AppPaths::setExecutableFolder(exe.path());
        // The user's own folders do not exist before the first run.
        const QString userCache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/dalvino";
        const QString userConfig = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/dalvino";
        QDir(userCache).removeRecursively();
        QDir(userConfig).removeRecursively();

        // As the window and dalvino-cli do before they convert.
        QVERIFY(QDir().mkpath(AppPaths::workingFolder()));
        const QString text = LegConverter::readLeg(sourceDir() + QStringLiteral("/samples/lm630pro.leg"));
        QVERIFY(text.contains(QStringLiteral("SpeedDial")));
        const QString copy = files.filePath(QStringLiteral("copy.leg"));
        LegConverter::writeLeg(copy, text);
        QCOMPARE(LegConverter::readLeg(copy), text);

        QCOMPARE(QDir(exe.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), folderAfterwards);
        const QString ownFolder = installed ? userCache : exe.path();
        QCOMPARE(AppPaths::workingFolder(), ownFolder + QStringLiteral("/temp"));
        const QString settingsFolder = installed ? userConfig : exe.path();
        QCOMPARE(AppPaths::settingsFile(), settingsFolder + QStringLiteral("/Dalvino.ini"));
        QCOMPARE(AppPaths::dataFolder(), exe.path() + QStringLiteral("/data"));
    }
};

QTEST_GUILESS_MAIN(TestAppPaths)
#include "tst_apppaths.moc"
