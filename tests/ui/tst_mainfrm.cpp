#include "FakePrompts.h"
#include "MainWindowParts.h"
#include "TestPaths.h"

#include "formats/AppPaths.h"
#include "formats/IniFile.h"
#include "formats/InstanceLock.h"
#include "ui/MainFrm.h"
#include "ui/PhoneBookModels.h"
#include "ui/SplushFrm.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

class TestMainFrm : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startWithoutSettings();
    void startWithSettings_data();
    void startWithSettings();
    void closingWritesSettings();
    void closingMaximizedWritesOnlyState();
    void modelChoiceAndPopupCaptions();
    void customerFieldsMarkModified();
    void committedBookKeepsItsModifiedFlag();
    void newCommand_data();
    void newCommand();
    void closeQuestion_data();
    void closeQuestion();
    void enterWithoutSelection();
    void commandLineFileIsRemembered();
    void commandLineFileOpensOnceShown();
    void gaugePercentages_data();
    void gaugePercentages();
    void gaugeRepaintsPerPercent();
    void gaugeFigureReadsOnTheBar_data();
    void gaugeFigureReadsOnTheBar();
    void groupAreaGivesTheListRoomAndKeepsTheSplit();
    void filesOfThisCopy_data();
    void filesOfThisCopy();
    void secondInstanceRefused();

private:
    std::unique_ptr<TFormMain> start(const QStringList &arguments = {});
    void writeSettings(const QString &text);
    IniFile settings() const { return IniFile::load(AppPaths::settingsFile()); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TFormSplush> splush_;
};

void TestMainFrm::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    AppPaths::setExecutableFolder(dir_->path());
    splush_ = std::make_unique<TFormSplush>();
}

void TestMainFrm::cleanup()
{
    splush_.reset();
    dir_.reset();
}

std::unique_ptr<TFormMain> TestMainFrm::start(const QStringList &arguments)
{
    auto window = std::make_unique<TFormMain>(splush_.get(), arguments);
    window->createOtherWindows();
    return window;
}

void TestMainFrm::writeSettings(const QString &text)
{
    QFile file(AppPaths::settingsFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

void TestMainFrm::startWithoutSettings()
{
    auto w = start();
    QCOMPARE(w->windowTitle(), QStringLiteral("Dalvino - [無題]"));
    QCOMPARE(w->deviceType(), 0);
    QCOMPARE(w->pos(), QPoint(239, 115));
    QCOMPARE(entryModel(w)->rowCount(), 4000);
    QCOMPARE(groupModel(w)->rowCount(), 10);
    QCOMPARE(entryModel(w)->index(3999, 0).data().toString(), QStringLiteral("3999"));
    QCOMPARE(entryModel(w)->index(0, 4).data().toString(), QStringLiteral("グループ０"));
    QCOMPARE(groupModel(w)->index(9, 0).data().toString(), QStringLiteral("グループ９"));
    QCOMPARE(groupModel(w)->headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("ｺｰﾙﾊﾞｯｸ指定"));
    QVERIFY(partOf<QLabel>(w, "StatusPanel0")->text().isEmpty());
    QVERIFY(!w->book().Modified);
    QVERIFY(w->NewFlag);
    w->FormActivate();
    QVERIFY(!w->NewFlag);
    QCOMPARE(w->model(), int(ModelLM630Std));
    QCOMPARE(splush_->Gauge1->Progress(), 4000);
}

void TestMainFrm::startWithSettings_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("model");
    QTest::addColumn<QPoint>("position");

    QTest::newRow("maximized") << "[Setting]\nWindowState=wsMaximized\nDeviceType=0\nTop=5\n"
                               << true << -1 << int(ModelLM630Pro) << QPoint();
    QTest::newRow("maximized is case-sensitive") << "[Setting]\nWindowState=WSMAXIMIZED\nDeviceType=1\n"
                                                 << false << 1 << int(ModelLM630Pro) << QPoint(239, 115);
    QTest::newRow("device type 1") << "[Setting]\nWindowState=wsNormal\nTop=20\nLeft=30\nDeviceType=1\n"
                                   << false << 1 << int(ModelLM630Pro) << QPoint(30, 20);
    QTest::newRow("device type -1") << "[Setting]\nDeviceType=-1\n"
                                    << false << -1 << int(ModelLM630Pro) << QPoint(239, 115);
    QTest::newRow("garbage values") << "[Setting]\nTop=abc\nLeft=1e3\nWidth=\nDeviceType=x\n"
                                    << false << 0 << int(ModelLM630Std) << QPoint(239, 115);
    QTest::newRow("off every screen") << "[Setting]\nTop=-30000\nLeft=50000\nDeviceType=0\n"
                                      << false << 0 << int(ModelLM630Std) << QPoint(-1, -1);
}

void TestMainFrm::startWithSettings()
{
    QFETCH(QString, ini);
    QFETCH(bool, maximized);
    QFETCH(int, choice);
    QFETCH(int, model);
    QFETCH(QPoint, position);
    writeSettings(ini);
    auto w = start();
    QCOMPARE(w->startsMaximized(), maximized);
    QCOMPARE(w->deviceType(), choice);
    QCOMPARE(w->model(), int(ModelLM630Std)); // fixed only at the first activation
    w->FormActivate();
    QCOMPARE(w->model(), model);
    if (position == QPoint(-1, -1)) {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(screen.contains(w->geometry().center()));
    } else if (!position.isNull()) {
        QCOMPARE(w->pos(), position);
    }
}

void TestMainFrm::closingWritesSettings()
{
    writeSettings("[Setting]\nTop=40\nLeft=50\nWidth=700\nHeight=600\nDeviceType=0\n");
    auto w = start();
    w->FormActivate();
    w->setDeviceType(1);
    FakePrompts prompts;
    QVERIFY(w->FormCloseQuery());
    QVERIFY(prompts.shown.isEmpty());
    const IniFile ini = settings();
    QCOMPARE(ini.readString("Setting", "WindowState"), QStringLiteral("wsNormal"));
    QCOMPARE(ini.readInteger("Setting", "Top", 0), 40);
    QCOMPARE(ini.readInteger("Setting", "Left", 0), 50);
    QCOMPARE(ini.readInteger("Setting", "Width", 0), 700);
    QCOMPARE(ini.readInteger("Setting", "Height", 0), 600);
    QCOMPARE(ini.readInteger("Setting", "DeviceType", 0), 1);
}

void TestMainFrm::closingMaximizedWritesOnlyState()
{
    auto w = start();
    w->showMaximized();
    QVERIFY(QTest::qWaitFor([&] { return w->isMaximized(); }));
    FakePrompts prompts;
    QVERIFY(w->FormCloseQuery());
    const IniFile ini = settings();
    QCOMPARE(ini.readString("Setting", "WindowState"), QStringLiteral("wsMaximized"));
    QVERIFY(!ini.contains("Setting", "Top"));
    QVERIFY(!ini.contains("Setting", "DeviceType"));
}

void TestMainFrm::modelChoiceAndPopupCaptions()
{
    auto w = start();
    w->FormActivate();
    auto captions = [&] {
        QStringList list;
        for (int i = 9; i < 13; ++i) {
            const QAction *item = partOf<QAction>(w, qPrintable(QStringLiteral("RingItem%1").arg(i)));
            list << (item->isVisible() ? item->text() : QStringLiteral("(hidden)"));
        }
        return list;
    };
    const QStringList longCaptions = {"保留メロディ１", "保留メロディ２", "着信メロディ１", "着信メロディ２"};
    QCOMPARE(captions(), longCaptions);

    w->setDeviceType(1);
    QCOMPARE(w->model(), int(ModelLM630Pro));
    w->setDeviceType(0);
    QCOMPARE(w->model(), int(ModelLM630Std));
    QVERIFY(!w->book().Modified);
    QCOMPARE(captions(), longCaptions);

    w->setModel(ModelMorvel);
    QCOMPARE(captions(), (QStringList{"保留メロディ", "着信メロディ", "(hidden)", "(hidden)"}));
    w->setModel(ModelMorvel2);
    QCOMPARE(captions(), (QStringList{"保留メロディ", "着信メロディ", "(hidden)", "(hidden)"}));
    w->setModel(ModelKN820Pro);
    QCOMPARE(captions(), longCaptions);
    QVERIFY(!w->book().Modified);
}

void TestMainFrm::customerFieldsMarkModified()
{
    auto w = start();
    partOf<QLineEdit>(w, "UserName")->setText(QStringLiteral("株式会社山田"));
    QVERIFY(w->book().Modified);
    QCOMPARE(partOf<QLabel>(w, "StatusPanel0")->text(), QStringLiteral("変更あり"));
    QCOMPARE(w->book().UserName, QStringLiteral("株式会社山田"));
    w->setModified(false);
    partOf<QLineEdit>(w, "UserNo")->setText(QStringLiteral("03-1234"));
    QVERIFY(w->book().Modified);
    QCOMPARE(w->book().UserNo, QStringLiteral("03-1234"));
}

void TestMainFrm::committedBookKeepsItsModifiedFlag()
{
    auto w = start();
    partOf<QLineEdit>(w, "UserName")->setText(QStringLiteral("前の顧客"));
    PhoneBook read;
    read.FileName = QStringLiteral("/tmp/read.xml");
    read.entries[2].setField(DialEntry::Name, QStringLiteral("山田"));
    read.Modified = false;
    w->commitPhoneBook(PhoneBook(read), w->model()); // emptying the customer box must not count as an edit
    QVERIFY(!w->book().Modified);
    QVERIFY(partOf<QLabel>(w, "StatusPanel0")->text().isEmpty());
    QVERIFY(partOf<QLineEdit>(w, "UserName")->text().isEmpty());
    QCOMPARE(w->windowTitle(), QStringLiteral("Dalvino - [/tmp/read.xml]"));
    QCOMPARE(entryModel(w)->index(2, 1).data().toString(), QStringLiteral("山田"));
    read.Modified = true;
    w->commitPhoneBook(std::move(read), w->model());
    QCOMPARE(partOf<QLabel>(w, "StatusPanel0")->text(), QStringLiteral("変更あり"));
}

void TestMainFrm::newCommand_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QList<int>>("answers"); // Prompts::Answer values, in order
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<int>("questions");

    const int yes = int(Prompts::Answer::Yes), no = int(Prompts::Answer::No);
    QTest::newRow("no to the first question") << false << QList<int>{no} << false << 1;
    QTest::newRow("yes, not modified") << false << QList<int>{yes} << true << 1;
    QTest::newRow("yes, modified, do not save") << true << QList<int>{yes, no} << true << 2;
    QTest::newRow("yes, modified, save cancelled") << true << QList<int>{yes, yes} << false << 2;
}

void TestMainFrm::newCommand()
{
    QFETCH(bool, modified);
    QFETCH(QList<int>, answers);
    QFETCH(bool, cleared);
    QFETCH(int, questions);

    auto w = start();
    arrangeBook(w, [&](PhoneBook &book) { book.entries[3].setField(DialEntry::Name, QStringLiteral("山田")); });
    arrangeBook(w, [&](PhoneBook &book) { book.MACAddress = QStringLiteral("00AABBCCDDEE"); });
    partOf<QLineEdit>(w, "UserName")->setText(QStringLiteral("顧客"));
    w->setModified(modified);
    FakePrompts prompts;
    FakeFileChoices files; // the name chooser of the untitled document is dismissed
    for (int a : answers)
        prompts.answer(Prompts::Answer(a));

    w->N1Click();

    QCOMPARE(prompts.shown.size(), questions);
    QCOMPARE(prompts.shown.first().text, QStringLiteral("現在のデータを全てクリアします。よろしいですか？"));
    if (questions > 1)
        QCOMPARE(prompts.shown.at(1).text, QStringLiteral("[無題]は変更されています。保存しますか？"));
    QCOMPARE(prompts.unexpected, 0);
    QCOMPARE(w->book().entries[3].name().isEmpty(), cleared);
    QCOMPARE(partOf<QLineEdit>(w, "UserName")->text().isEmpty(), cleared);
    if (cleared) {
        QVERIFY(!w->book().Modified);
        QVERIFY(partOf<QLabel>(w, "StatusPanel0")->text().isEmpty());
        QCOMPARE(w->book().MACAddress, QStringLiteral("000000000000"));
        QCOMPARE(w->focusedPosition(), 0);
        QCOMPARE(splush_->Label1->text(), QStringLiteral("初期化中..."));
        QVERIFY(!splush_->isVisible());
    } else {
        QCOMPARE(w->book().Modified, modified);
        QCOMPARE(w->book().MACAddress, QStringLiteral("00AABBCCDDEE"));
    }
}

void TestMainFrm::closeQuestion_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("closes");

    const int yes = int(Prompts::Answer::Yes), no = int(Prompts::Answer::No);
    QTest::newRow("not modified") << false << QList<int>{} << true;
    QTest::newRow("modified, no") << true << QList<int>{no} << true;
    QTest::newRow("modified, yes, chooser dismissed") << true << QList<int>{yes} << false;
}

void TestMainFrm::closeQuestion()
{
    QFETCH(bool, modified);
    QFETCH(QList<int>, answers);
    QFETCH(bool, closes);

    auto w = start();
    w->FormActivate();
    w->setModified(modified);
    FakePrompts prompts;
    FakeFileChoices files;
    for (int a : answers)
        prompts.answer(Prompts::Answer(a));
    QCOMPARE(w->FormCloseQuery(), closes);
    QCOMPARE(prompts.unexpected, 0);
    QCOMPARE(prompts.shown.size(), answers.size());
    QCOMPARE(w->book().Modified, modified);
    // The settings are written whether or not the window closes.
    QCOMPARE(settings().readString("Setting", "WindowState"), QStringLiteral("wsNormal"));
}

void TestMainFrm::enterWithoutSelection()
{
    auto w = start();
    FakePrompts prompts;
    entryList(w)->clearSelection();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    groupList(w)->clearSelection();
    QVERIFY(!w->FormKeyDown(entryList(w), &enter));
    QVERIFY(!w->FormKeyDown(groupList(w), &enter));
    QVERIFY(prompts.shown.isEmpty());
    w->selectPosition(5);
    QVERIFY(w->FormKeyDown(entryList(w), &enter));
    QVERIFY(!w->FormKeyDown(groupList(w), &enter));
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QVERIFY(!w->FormKeyDown(entryList(w), &other));
}

void TestMainFrm::commandLineFileIsRemembered()
{
    auto w = start({QStringLiteral("/tmp/a.txt"), QStringLiteral("/tmp/b.xml")});
    QVERIFY(w->DropFlag);
    QCOMPARE(w->DropFileName, QStringLiteral("/tmp/a.txt"));
    FakePrompts prompts;
    w->FormShow(); // an extension that no reader takes opens nothing, silently
    QVERIFY(!w->DropFlag);
    QVERIFY(prompts.shown.isEmpty());
    QVERIFY(!start()->DropFlag);
}

void TestMainFrm::commandLineFileOpensOnceShown()
{
    FakePrompts prompts;
    auto w = start({sourceDir() + QStringLiteral("/samples/zr410std.xml")});
    w->show();
    QVERIFY(w->DropFlag); // opened after the window is on screen, not inside the show
    QTRY_VERIFY(!w->DropFlag);
    QVERIFY(prompts.texts().constLast().endsWith(QStringLiteral("件のデータが登録されています")));
    QVERIFY(!w->book().Modified);
    // The first activation comes after the read and replaces the file's model.
    w->FormActivate();
    QVERIFY(!w->NewFlag);
    QCOMPARE(w->model(), int(ModelLM630Pro));
    QCOMPARE(w->book().SyubetuFlag, int(ModelZR410Std));
}

void TestMainFrm::gaugePercentages_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("percent");
    QTest::newRow("1999 of 4000") << 1999 << 4000 << 49;
    QTest::newRow("2000 of 4000") << 2000 << 4000 << 50;
    QTest::newRow("4000 of 4000") << 4000 << 4000 << 100;
    QTest::newRow("below zero") << -5 << 4000 << 0;
    QTest::newRow("above the maximum") << 5000 << 4000 << 100;
    QTest::newRow("maximum 0") << 3 << 0 << 0;
    QTest::newRow("1 of 3") << 1 << 3 << 33;
}

void TestMainFrm::gaugePercentages()
{
    QFETCH(int, position);
    QFETCH(int, maximum);
    QFETCH(int, percent);
    TGauge gauge;
    gauge.setMaxValue(maximum);
    gauge.setProgress(position);
    QCOMPARE(gauge.percentDone(), percent);
}

void TestMainFrm::gaugeRepaintsPerPercent()
{
    TGauge gauge;
    gauge.setMaxValue(4000);
    gauge.setProgress(0);
    const int before = gauge.repaintCount();
    for (int i = 1; i <= 4000; ++i)
        gauge.setProgress(i);
    QCOMPARE(gauge.repaintCount() - before, 100);
}

void TestMainFrm::gaugeFigureReadsOnTheBar_data()
{
    QTest::addColumn<int>("position");
    QTest::newRow("empty bar") << 0;
    QTest::newRow("half") << 2000;
    QTest::newRow("full bar") << 4000;
}

void TestMainFrm::gaugeFigureReadsOnTheBar()
{
    // The figure's strongest contrast against the part of the bar it lies on, on the blue
    // part and on the white part, each at least what a legible text needs (4.5:1).
    QFETCH(int, position);
    TGauge gauge;
    gauge.resize(287, 20);
    gauge.setMaxValue(4000);
    gauge.setProgress(position);
    const QImage image = gauge.grab().toImage();
    const int filled = gauge.width() * gauge.percentDone() / 100;
    const auto luminance = [](QColor c) {
        const auto channel = [](qreal v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const auto contrast = [&](QColor a, QColor b) {
        const qreal la = luminance(a), lb = luminance(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
    };
    const int middle = gauge.width() / 2;
    const int half = gauge.fontMetrics().horizontalAdvance(QStringLiteral("100%")) / 2;
    qreal onBlue = 0, onWhite = 0;
    for (int x = middle - half; x <= middle + half; ++x) {
        for (int y = 2; y < gauge.height() - 2; ++y) {
            const QColor pixel = image.pixelColor(x, y);
            if (x < filled)
                onBlue = std::max(onBlue, contrast(pixel, Qt::blue));
            else
                onWhite = std::max(onWhite, contrast(pixel, Qt::white));
        }
    }
    if (filled > middle - half)
        QVERIFY2(onBlue >= 4.5, qPrintable(QString::number(onBlue)));
    if (filled < middle + half)
        QVERIFY2(onWhite >= 4.5, qPrintable(QString::number(onWhite)));
}

void TestMainFrm::groupAreaGivesTheListRoomAndKeepsTheSplit()
{
    writeSettings("[Setting]\nTop=40\nLeft=50\nWidth=669\nHeight=557\n");
    auto w = start();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    // The entry list above, the group area below.
    auto *split = w->findChild<QSplitter *>();
    QCOMPARE(split->widget(0), entryList(w));
    const QWidget *groupArea = split->widget(1);
    // At first the group area shows all ten groups.
    const QRect lastGroup = groupList(w)->visualRect(groupModel(w)->index(PhoneBook::GroupCount - 1, 0));
    QVERIFY(groupList(w)->viewport()->rect().contains(lastGroup));

    // The user drags the split as far down as it goes: the list gets the room, five rows
    // at least.
    const int listBefore = entryList(w)->height();
    const int groupsBefore = groupArea->height();
    const QList<int> sizes = split->sizes();
    split->setSizes({sizes[0] + sizes[1], 0});
    const int dragged = groupArea->height();
    QVERIFY(dragged > 0);
    QVERIFY2(groupsBefore - dragged >= 5 * entryList(w)->verticalHeader()->defaultSectionSize(),
             qPrintable(QStringLiteral("%1 of %2").arg(dragged).arg(groupsBefore)));
    QCOMPARE(entryList(w)->height(), listBefore + groupsBefore - dragged);

    FakePrompts prompts;
    QVERIFY(w->FormCloseQuery());
    QCOMPARE(settings().readInteger("Setting", "GroupAreaHeight", 0), dragged);
    w.reset();

    // The next start shows the same split.
    auto again = start();
    again->show();
    QVERIFY(QTest::qWaitForWindowExposed(again.get()));
    QCOMPARE(again->findChild<QSplitter *>()->widget(1)->height(), dragged);
}

void TestMainFrm::filesOfThisCopy_data()
{
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QStringList>("folderAfterwards");

    QTest::newRow("portable folder") << false << QStringList{"Dalvino.ini", "temp"};
    QTest::newRow("installed copy") << true << QStringList{"Dalvino.installed"};
}

void TestMainFrm::filesOfThisCopy()
{
    QFETCH(bool, installed);
    QFETCH(QStringList, folderAfterwards);
    QStandardPaths::setTestModeEnabled(true);
    if (installed) {
        QFile marker(dir_->filePath(AppPaths::installedMarker()));
        QVERIFY(marker.open(QIODevice::WriteOnly));
        // The user's own folders do not exist before the first start.
        QDir(QFileInfo(AppPaths::settingsFile()).absolutePath()).removeRecursively();
        QDir(QFileInfo(AppPaths::workingFolder()).absolutePath()).removeRecursively();
    }
    QVERIFY(!QFileInfo::exists(AppPaths::workingFolder()));

    auto w = start();
    QVERIFY(QFileInfo(AppPaths::workingFolder()).isDir());
    FakePrompts prompts;
    QVERIFY(w->FormCloseQuery());
    QCOMPARE(settings().readInteger("Setting", "DeviceType", -2), 0);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), folderAfterwards);
    QStandardPaths::setTestModeEnabled(false);
}

void TestMainFrm::secondInstanceRefused()
{
    // The real program holds the lock; a second taker is refused until it is killed.
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QProcess first;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    first.setProcessEnvironment(env);
    first.start(binDir() + QStringLiteral("/Dalvino"), {});
    QVERIFY(first.waitForStarted());
    const QString lockFile = runtime.filePath(QStringLiteral("KelvoMaster.lock"));
    QVERIFY(QTest::qWaitFor([&] { return QFileInfo::exists(lockFile); }, 10000));

    InstanceLock second;
    QCOMPARE(second.lockFilePath(), lockFile);
    QVERIFY(!second.tryAcquire());

    // A crashed instance never locks the user out.
    first.kill();
    QVERIFY(first.waitForFinished());
    InstanceLock afterCrash;
    QVERIFY(afterCrash.tryAcquire());
    qunsetenv("XDG_RUNTIME_DIR");
}

QTEST_MAIN(TestMainFrm)
#include "tst_mainfrm.moc"
