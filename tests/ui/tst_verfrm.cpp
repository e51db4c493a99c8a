#include "MainWindowParts.h"
#include "formats/AppPaths.h"
#include "ui/MainFrm.h"
#include "ui/VerFrm.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestVerFrm : public QObject {
    Q_OBJECT

    MemoryStatus status{2147483648ull, 1536};
    int queries = 0;

    std::function<MemoryStatus()> fakeMemory()
    {
        return [this] {
            ++queries;
            return status;
        };
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init()
    {
        status = {2147483648ull, 1536};
        queries = 0;
    }

    void contents()
    {
        TVerForm form(nullptr, fakeMemory());
        QCOMPARE(form.windowTitle(), QStringLiteral("バージョン情報"));
        QCOMPARE(form.minimumSize(), QSize(437, 96));
        QCOMPARE(form.maximumSize(), QSize(437, 96));
        QCOMPARE(form.Label1->text(), QStringLiteral("Dalvino"));
        QCOMPARE(form.Button1->text(), QStringLiteral("OK"));
        const QPixmap picture = form.Image1->pixmap();
        QCOMPARE(picture.size(), QSize(88, 38));
        QVERIFY(picture.hasAlphaChannel());
        QCOMPARE(picture.toImage().pixelColor(87, 0).alpha(), 0);
        QCOMPARE(form.Timer1->interval(), 500);
        QVERIFY(!form.Timer1->isActive());
        QCOMPARE(queries, 0);

        form.show();
        QCOMPARE(form.Label2->text(), QStringLiteral("Version 1.40"));
        QCOMPARE(form.Label4->text(), QStringLiteral("TotalMemory：2,097,152KB"));
        QCOMPARE(form.Label5->text(), QStringLiteral("AvailMemory：2KB"));
    }

    void timerRefreshesWhileOpen()
    {
        TVerForm form(nullptr, fakeMemory());
        form.show();
        QVERIFY(form.Timer1->isActive());
        status.availPhys = 2560 * 1024 + 512;
        QTRY_COMPARE_WITH_TIMEOUT(form.Label5->text(), QStringLiteral("AvailMemory：2,560KB"), 2000);
        status.totalPhys = 1024;
        QTRY_COMPARE_WITH_TIMEOUT(form.Label4->text(), QStringLiteral("TotalMemory：1KB"), 2000);
    }

    void okStopsTheTimer()
    {
        TVerForm form(nullptr, fakeMemory());
        form.show();
        form.Button1Click();
        QVERIFY(!form.isVisible());
        QVERIFY(!form.Timer1->isActive());
        const int before = queries;
        QTest::qWait(700);
        QCOMPARE(queries, before);
    }

    void closeBoxStopsTheTimer()
    {
        TVerForm form(nullptr, fakeMemory());
        form.show();
        QVERIFY(form.Timer1->isActive());
        QVERIFY(form.close());
        QVERIFY(!form.isVisible());
        QVERIFY(!form.Timer1->isActive());
        // Opened again, it runs again.
        form.show();
        QVERIFY(form.Timer1->isActive());
        form.close();
        QVERIFY(!form.Timer1->isActive());
    }

    void shownModallyByTheMenuCommand()
    {
        QTemporaryDir dir;
        AppPaths::setExecutableFolder(dir.path());
        TFormMain main(nullptr, {});
        main.createOtherWindows();
        QVERIFY(partOf<TVerForm>(&main, "VerForm"));
        bool wasModal = false;
        bool timerRan = false;
        QTimer::singleShot(0, partOf<TVerForm>(&main, "VerForm"), [&] {
            wasModal = partOf<TVerForm>(&main, "VerForm")->isModal() && partOf<TVerForm>(&main, "VerForm")->isVisible();
            timerRan = partOf<TVerForm>(&main, "VerForm")->Timer1->isActive();
            partOf<TVerForm>(&main, "VerForm")->close();
        });
        main.V1Click();
        QVERIFY(wasModal);
        QVERIFY(timerRan);
        QVERIFY(!partOf<TVerForm>(&main, "VerForm")->isVisible());
        QVERIFY(!partOf<TVerForm>(&main, "VerForm")->Timer1->isActive());
        QVERIFY(partOf<TVerForm>(&main, "VerForm")->Label4->text().startsWith(QStringLiteral("TotalMemory：")));
        QVERIFY(partOf<TVerForm>(&main, "VerForm")->Label4->text().endsWith(QStringLiteral("KB")));
    }
};

QTEST_MAIN(TestVerFrm)
#include "tst_verfrm.moc"
