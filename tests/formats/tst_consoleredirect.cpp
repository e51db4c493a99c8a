#include "FaultFiles.h"

#include "core/DalvinoError.h"
#include "formats/ConsoleReDirect.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// A small shell script as an executable file.
QString script(const QTemporaryDir &dir, const QString &name, const QByteArray &body)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write("#!/bin/sh\n" + body);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestConsoleReDirect : public QObject {
    Q_OBJECT

private slots:
    void standardInputIsOneEndMarkAndStaysOpen();
    void inputTextIsFollowedByTheEndMark();
    void silentChildGivesEmptyTexts();
    void largeOutputOnBothStreams_data();
    void largeOutputOnBothStreams();
    void argumentsReachTheChildUnchanged();
    void outputOfAQuickProgramIsKept();
    void exitStatusAndErrorTextReturned();
    void programThatCannotStart_data();
    void programThatCannotStart();
    void eventsAreDispatchedWhileWaiting();
    void programPastTheTimeLimitIsEnded_data();
    void programPastTheTimeLimitIsEnded();
    void timeLimitEndsWhatTheProgramStarted();
    void endlessOutputIsEnded_data();
    void endlessOutputIsEnded();
    void errorTextShowsTheFirstLines_data();
    void errorTextShowsTheFirstLines();
};

void TestConsoleReDirect::standardInputIsOneEndMarkAndStaysOpen()
{
    // The first byte is read, then a second read must still be waiting when the timeout
    // ends it (124): the pipe was neither closed nor given more bytes.
    QTemporaryDir dir;
    const QString child = script(dir, QStringLiteral("stdin.sh"),
                                 "first=$(head -c 1 | od -An -tx1 | tr -d ' \\n')\n"
                                 "timeout 0.5 head -c 1 >/dev/null\n"
                                 "echo \"$first $?\"\n");
    const RedirectResult result = RunRedirected({child});
    QCOMPARE(result.output, QByteArray("1a 124\n"));
    QVERIFY(result.succeeded());
}

void TestConsoleReDirect::inputTextIsFollowedByTheEndMark()
{
    QTemporaryDir dir;
    const QString child = script(dir, QStringLiteral("stdin4.sh"), "head -c 4 | od -An -tx1 | tr -d ' \\n'\n");
    QCOMPARE(RunRedirected({child}, "abc").output, QByteArray("6162631a"));
}

void TestConsoleReDirect::silentChildGivesEmptyTexts()
{
    QTemporaryDir dir;
    const RedirectResult result = RunRedirected({script(dir, QStringLiteral("quiet.sh"), "exit 0\n")});
    QVERIFY(result.output.isEmpty());
    QVERIFY(result.error.isEmpty());
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.succeeded());
}

void TestConsoleReDirect::largeOutputOnBothStreams_data()
{
    QTest::addColumn<int>("outBytes");
    QTest::addColumn<int>("errBytes");
    QTest::newRow("one chunk and one byte") << 2050 << 2050;
    QTest::newRow("exactly a chunk") << 2049 << 0;
    // Far more than a pipe holds, error stream first: a runner that read only standard
    // output until its end would wait forever on a child blocked on a full error pipe.
    QTest::newRow("error first, beyond the pipe") << 300000 << 500000;
}

void TestConsoleReDirect::largeOutputOnBothStreams()
{
    QFETCH(int, outBytes);
    QFETCH(int, errBytes);
    QTemporaryDir dir;
    const QString child = script(dir, QStringLiteral("big.sh"),
                                 QStringLiteral("head -c %2 /dev/zero | tr '\\0' e >&2\n"
                                                "head -c %1 /dev/zero | tr '\\0' o\n"
                                                "head -c 10 /dev/zero | tr '\\0' E >&2\n")
                                     .arg(outBytes)
                                     .arg(errBytes)
                                     .toLatin1());
    const RedirectResult result = RunRedirected({child});
    QCOMPARE(result.output, QByteArray(outBytes, 'o'));
    QCOMPARE(result.error, QByteArray(errBytes, 'e') + QByteArray(10, 'E'));
}

void TestConsoleReDirect::argumentsReachTheChildUnchanged()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder with space")));
    const QString child = script(dir, QStringLiteral("folder with space/args \"$x\".sh"),
                                 "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done\n");
    const QStringList arguments = {QStringLiteral("/tmp/a b/c.leg"), QStringLiteral("\"quoted\""),
                                   QStringLiteral("$HOME"),          QStringLiteral("a;touch injected"),
                                   QStringLiteral("`id`"),           QStringLiteral("-e")};
    const RedirectResult result = RunRedirected(QStringList{child} + arguments);
    QCOMPARE(QString::fromUtf8(result.output),
             QStringLiteral("[/tmp/a b/c.leg]\n[\"quoted\"]\n[$HOME]\n[a;touch injected]\n[`id`]\n[-e]\n"));
    QVERIFY(!QFile::exists(QStringLiteral("injected")));
}

// A program that writes and ends at once may have its end seen in the same events as its
// output; the output must be kept all the same. Run many times, as the moment varies.
void TestConsoleReDirect::outputOfAQuickProgramIsKept()
{
    QTemporaryDir dir;
    const QString child = script(dir, QStringLiteral("quick.sh"), "printf out; printf err >&2\n");
    for (int run = 0; run < 100; ++run) {
        const RedirectResult result = RunRedirected({child});
        QCOMPARE(result.output, QByteArray("out"));
        QCOMPARE(result.error, QByteArray("err"));
    }
}

void TestConsoleReDirect::exitStatusAndErrorTextReturned()
{
    QTemporaryDir dir;
    const RedirectResult result =
        RunRedirected({script(dir, QStringLiteral("fails.sh"), "echo partial\necho 'cannot convert' >&2\nexit 3\n")});
    QCOMPARE(result.exitCode, 3);
    QVERIFY(!result.succeeded());
    QCOMPARE(result.output, QByteArray("partial\n"));
    QCOMPARE(result.errorText(), QStringLiteral("cannot convert"));

    const RedirectResult killed = RunRedirected({script(dir, QStringLiteral("killed.sh"), "kill -9 $$\n")});
    QVERIFY(killed.crashed);
    QVERIFY(!killed.succeeded());
}

void TestConsoleReDirect::programThatCannotStart_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expected");
    QTest::newRow("missing") << "missing"
                             << "システムエラー。コード：2.\r\nNo such file or directory";
    QTest::newRow("not executable") << "plain"
                                    << "システムエラー。コード：13.\r\nPermission denied";
    QTest::newRow("a folder") << "folder"
                              << "システムエラー。コード：21.\r\nIs a directory";
    QTest::newRow("not a program") << "garbage"
                                   << "システムエラー。コード：8.\r\nExec format error";
}

void TestConsoleReDirect::programThatCannotStart()
{
    QFETCH(QString, kind);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quenda.dll"));
    if (kind == QStringLiteral("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind != QStringLiteral("missing")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x7f"
                   "ELF not a program");
        file.close();
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (kind == QStringLiteral("garbage"))
            permissions |= QFile::ExeOwner;
        file.setPermissions(permissions);
    }
    try {
        RunRedirected({path, QStringLiteral("a")});
        QFAIL("no error");
    } catch (const DalvinoError &e) {
        QCOMPARE(e.text(), expected);
    }
}

void TestConsoleReDirect::eventsAreDispatchedWhileWaiting()
{
    QTemporaryDir dir;
    bool fired = false;
    QTimer::singleShot(20, [&fired] { fired = true; });
    RunRedirected({script(dir, QStringLiteral("slow.sh"), "sleep 0.4\n")});
    QVERIFY(fired);
}

void TestConsoleReDirect::programPastTheTimeLimitIsEnded_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("timedOut");
    QTest::newRow("silent hang") << QByteArray("exec sleep 30\n") << true;
    // Slow enough that the time limit, not the output limit, ends it.
    QTest::newRow("endless output") << QByteArray("while :; do echo converting; sleep 0.01; done\n") << true;
    QTest::newRow("hang after a message") << QByteArray("echo 'waiting' >&2\nexec sleep 30\n") << true;
    QTest::newRow("ends within the limit") << QByteArray("sleep 0.1\n") << false;
}

void TestConsoleReDirect::programPastTheTimeLimitIsEnded()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, timedOut);
    QTemporaryDir dir;
    QElapsedTimer clock;
    clock.start();
    const RedirectResult result = RunRedirected({script(dir, QStringLiteral("hangs.sh"), body)}, QByteArray(), 1500);
    QVERIFY(clock.elapsed() < 10000);
    QVERIFY(result.output.size() <= RunKeptBytes);
    QCOMPARE(result.timedOut, timedOut);
    QCOMPARE(result.succeeded(), !timedOut);
    if (timedOut) {
        QVERIFY(result.errorText().endsWith(timedOutText(1500)));
        QCOMPARE(timedOutText(1500), QStringLiteral("1.5 秒以内に終了しなかったため、中止しました。"));
    }
    if (QByteArray(QTest::currentDataTag()) == "hang after a message")
        QVERIFY(result.errorText().startsWith(QStringLiteral("waiting\r\n")));
}

void TestConsoleReDirect::timeLimitEndsWhatTheProgramStarted()
{
    // A converter that is a script: what it started in the background ends with it.
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("child.pid"));
    const QString child = script(dir, QStringLiteral("starts.sh"),
                                 "sleep 30 &\necho $! > '" + QFile::encodeName(pidFile) + "'\nexec sleep 30\n");
    const RedirectResult result = RunRedirected({child}, QByteArray(), 1000);
    QVERIFY(result.timedOut);
    const qint64 started = readFile(pidFile).trimmed().toLongLong();
    QVERIFY(started > 0);
    QTRY_VERIFY_WITH_TIMEOUT(FaultFiles::processGone(started), 5000);
}

void TestConsoleReDirect::endlessOutputIsEnded_data()
{
    QTest::addColumn<bool>("toError");
    QTest::newRow("standard output") << false;
    QTest::newRow("standard error") << true;
}

void TestConsoleReDirect::endlessOutputIsEnded()
{
    // Such a program is ended as soon as it has written more than is kept, long before
    // its time is up, and the program's memory grows by little more than what is kept.
    QFETCH(bool, toError);
    QTemporaryDir dir;
    const QString child =
        script(dir, QStringLiteral("endless.sh"),
               QByteArray("exec yes 'the converter says this again and again'") + (toError ? " >&2\n" : "\n"));
    const bool peakReset = FaultFiles::resetPeak();
    const qint64 before = FaultFiles::currentKilobytes();
    QElapsedTimer clock;
    clock.start();
    const RedirectResult result = RunRedirected({child}, QByteArray(), 10000);
    const qint64 elapsed = clock.elapsed();
    const qint64 grown = FaultFiles::peakKilobytes() - before;
    qInfo("ended after %lld ms, peak %lld KB above the %lld KB before%s", elapsed, grown, before,
          peakReset ? "" : " (peak not reset)");
    QVERIFY(result.flooded);
    QVERIFY(!result.timedOut);
    QVERIFY(!result.succeeded());
    QCOMPARE((toError ? result.error : result.output).size(), RunKeptBytes);
    QVERIFY((toError ? result.error : result.output).startsWith("the converter says this again and again\n"));
    QVERIFY(result.errorText().endsWith(floodedText()));
    QCOMPARE(floodedText(), QStringLiteral("出力が 4 MB を超えたため、中止しました。"));
    QVERIFY2(elapsed < 8000, qPrintable(QString::number(elapsed)));
    if (peakReset)
        QVERIFY2(grown < 64 * 1024, qPrintable(QStringLiteral("%1 KB").arg(grown)));
}

void TestConsoleReDirect::errorTextShowsTheFirstLines_data()
{
    QTest::addColumn<QByteArray>("error");
    QTest::addColumn<QString>("shown");
    const QString cut = QStringLiteral("\r\n…（以下省略）");
    QByteArray lines;
    QStringList firstTen;
    for (int i = 1; i <= 100; ++i) {
        lines += "line " + QByteArray::number(i) + "\r\n";
        if (i <= 10)
            firstTen << QStringLiteral("line %1").arg(i);
    }
    QTest::newRow("100 lines") << lines << firstTen.join(QStringLiteral("\r\n")) + cut;
    QTest::newRow("10 lines") << firstTen.join(u'\n').toUtf8() + "\n\n" << firstTen.join(QStringLiteral("\r\n"));
    QTest::newRow("one long line") << QByteArray(5000, 'x')
                                   << QStringList(10, QString(ShownWordCharacters, u'x')).join(QStringLiteral("\r\n")) +
                                          cut;
    QTest::newRow("a long path") << QByteArray("Quenda: cannot write /") + QByteArray(150, 'p') +
                                        ": No space left on device"
                                 << QStringLiteral("Quenda: cannot write /") + QString(99, u'p') +
                                        QStringLiteral("\r\n") + QString(51, u'p') +
                                        QStringLiteral(": No space left on device");
    QTest::newRow("a short message") << QByteArray("Quenda: cannot write\n") << QStringLiteral("Quenda: cannot write");
    QTest::newRow("nothing") << QByteArray() << QString();
}

void TestConsoleReDirect::errorTextShowsTheFirstLines()
{
    QFETCH(QByteArray, error);
    QFETCH(QString, shown);
    RedirectResult result;
    result.error = error;
    QCOMPARE(result.errorText(), shown);
    result.timedOut = true;
    result.timeLimitMs = 2000;
    QCOMPARE(result.errorText(), (shown.isEmpty() ? QString() : shown + QStringLiteral("\r\n")) + timedOutText(2000));
}

QTEST_GUILESS_MAIN(TestConsoleReDirect)
#include "tst_consoleredirect.moc"
