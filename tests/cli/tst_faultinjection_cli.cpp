#include "FaultFiles.h"
#include "TestPaths.h"

#include "formats/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

using namespace FaultFiles;

Q_DECLARE_METATYPE(FaultFiles::Kind)
Q_DECLARE_METATYPE(FaultFiles::Damage)

namespace {

// A program run to its end with its peak memory, which only the parent learns (wait4).
struct Run {
    bool signalled = false;
    int status = -1; // exit code, or the signal
    QByteArray error;
    qint64 milliseconds = 0;
    qint64 peakKilobytes = 0;
};

// The peak memory a parent learns from wait4 includes the memory of the process that
// started the child (Linux keeps the largest of the process before and after exec), so a
// measured program is started by a small copy of this test program (see main) that
// reports the program's own peak on its standard output.
class Child {
public:
    Child(const QString &program, const QStringList &arguments, const QString &errorFile, bool measured = false)
        : errorFile_(errorFile), measured_(measured)
    {
        QList<QByteArray> storage;
        if (measured)
            storage << QFile::encodeName(QCoreApplication::applicationFilePath()) << QByteArrayLiteral("--measure");
        storage << QFile::encodeName(program);
        for (const QString &argument : arguments)
            storage << QFile::encodeName(argument);
        std::vector<char *> argv;
        for (QByteArray &s : storage)
            argv.push_back(s.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const QByteArray output = QFile::encodeName(errorFile + QStringLiteral(".out"));
        posix_spawn_file_actions_addopen(&actions, 1, measured ? output.constData() : "/dev/null",
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const QByteArray error = QFile::encodeName(errorFile);
        posix_spawn_file_actions_addopen(&actions, 2, error.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        timer_.start();
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Child()
    {
        if (pid_ > 0 && !waited_) {
            ::kill(pid_, SIGKILL);
            wait();
        }
    }
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;

    pid_t pid() const { return pid_; }

    Run wait()
    {
        Run run;
        int status = 0;
        rusage usage{};
        if (pid_ <= 0 || ::wait4(pid_, &status, 0, &usage) != pid_)
            return run;
        waited_ = true;
        run.milliseconds = timer_.elapsed();
        run.peakKilobytes = usage.ru_maxrss;
        run.signalled = WIFSIGNALED(status);
        run.status = run.signalled ? WTERMSIG(status) : WEXITSTATUS(status);
        if (measured_) {
            // "signalled status peak" of the measured program.
            QFile report(errorFile_ + QStringLiteral(".out"));
            const QList<QByteArray> words =
                report.open(QIODevice::ReadOnly) ? report.readAll().trimmed().split(' ') : QList<QByteArray>();
            if (words.size() == 3) {
                run.signalled = words.at(0) == "1";
                run.status = words.at(1).toInt();
                run.peakKilobytes = words.at(2).toLongLong();
            }
            report.remove();
        }
        QFile error(errorFile_);
        if (error.open(QIODevice::ReadOnly))
            run.error = error.readAll();
        return run;
    }

private:
    QString errorFile_;
    bool measured_ = false;
    pid_t pid_ = -1;
    bool waited_ = false;
    QElapsedTimer timer_;
};

QString builtCli()
{
    return binDir() + QStringLiteral("/dalvino-cli");
}

} // namespace

// The command-line program on damaged input and killed in the middle of a save.
class TestFaultInjectionCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openDamaged_data();
    void openDamaged();

    void killedWhileTheConverterWrites();
    void killedWhileWhatTheConverterStartedRuns();
    void killedWhileWritingXml();

    void fullDiskKeepsTheOutput_data();
    void fullDiskKeepsTheOutput();
    void endlessInputIsRefused_data();
    void endlessInputIsRefused();

private:
    Run run(const QString &program, const QStringList &arguments);
    // A copy of the program in its own folder, beside a converter script.
    QString programBeside(const QByteArray &converterScript);

    QString cli() const { return program_; }

    std::unique_ptr<QTemporaryDir> dir_;
    // The program and the real converter in a folder of their own, so that its working
    // file is not shared with other tests running at the same time.
    QTemporaryDir programDir_;
    QString program_;
};

void TestFaultInjectionCli::initTestCase()
{
    QVERIFY(programDir_.isValid());
    program_ = programDir_.filePath(QStringLiteral("dalvino-cli"));
    QVERIFY(QFile::copy(builtCli(), program_));
    QVERIFY(QFile::link(binDir() + QStringLiteral("/Quenda.dll"), programDir_.filePath(QStringLiteral("Quenda.dll"))));
}

void TestFaultInjectionCli::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
}

void TestFaultInjectionCli::cleanup()
{
    dir_.reset();
}

Run TestFaultInjectionCli::run(const QString &program, const QStringList &arguments)
{
    Child child(program, arguments, dir_->filePath(QStringLiteral("stderr.txt")), true);
    return child.wait();
}

QString TestFaultInjectionCli::programBeside(const QByteArray &converterScript)
{
    const QString folder = dir_->filePath(QStringLiteral("bin"));
    QDir().mkpath(folder);
    const QString program = folder + QStringLiteral("/dalvino-cli");
    if (!QFile::copy(builtCli(), program))
        qFatal("cannot copy %s", qPrintable(builtCli()));
    const QString converter = folder + QStringLiteral("/Quenda.dll");
    writeFile(converter, "#!/bin/sh\nREAL='" + QFile::encodeName(binDir()) + "/Quenda.dll'\n" + converterScript);
    QFile::setPermissions(converter, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return program;
}

void TestFaultInjectionCli::openDamaged_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<int>("exitCode"); // 0: read and written, 2: refused with a message

    const std::pair<const char *, Kind> kinds[] = {
        {".xml", Kind::Xml}, {".leg", Kind::Leg}, {"legacy .csv", Kind::LegacyCsv}, {"import .csv", Kind::ImportCsv}};
    const std::pair<const char *, Damage> damages[] = {{"truncated", Damage::Truncated},
                                                       {"binary", Damage::Binary},
                                                       {"empty", Damage::Empty},
                                                       {"50 MB", Damage::Huge},
                                                       {"UTF-16 without mark", Damage::WrongEncoding}};
    for (const auto &[kindName, kind] : kinds) {
        for (const auto &[damageName, damage] : damages) {
            // A CSV file cut short at a line is still a CSV file: what it holds is read.
            int exitCode = 2;
            if (damage == Damage::Huge || (damage == Damage::Truncated && kind == Kind::LegacyCsv))
                exitCode = 0;
            QTest::addRow("%s, %s", kindName, damageName) << kind << damage << exitCode;
        }
    }
}

void TestFaultInjectionCli::openDamaged()
{
    QFETCH(Kind, kind);
    QFETCH(Damage, damage);
    QFETCH(int, exitCode);

    const char *suffix = kind == Kind::Xml ? ".xml" : kind == Kind::Leg ? ".leg" : ".csv";
    const QString in = dir_->filePath(QStringLiteral("damaged") + QLatin1StringView(suffix));
    writeFile(in, damaged(kind, damage));
    const QString out = dir_->filePath(QStringLiteral("out.xml"));
    const QByteArray old = soundFile(Kind::Xml);
    writeFile(out, old);

    QStringList arguments{QStringLiteral("convert"), in, out};
    if (kind == Kind::ImportCsv)
        arguments = QStringList{QStringLiteral("import-csv"),
                                in,
                                out,
                                QStringLiteral("--from"),
                                QStringLiteral("1"),
                                QStringLiteral("--to"),
                                QStringLiteral("4"),
                                QStringLiteral("--name"),
                                QStringLiteral("1"),
                                QStringLiteral("--phone"),
                                QStringLiteral("3")};
    const Run result = run(cli(), arguments);
    qInfo("%s: %lld ms, peak %lld KB, exit %d; %s", QTest::currentDataTag(), result.milliseconds, result.peakKilobytes,
          result.status, result.error.left(160).constData());

    QVERIFY2(!result.signalled, qPrintable(QStringLiteral("signal %1").arg(result.status)));
    QVERIFY2(result.milliseconds < timeLimitMilliseconds(),
             qPrintable(QStringLiteral("%1 ms").arg(result.milliseconds)));
    // The whole program, which takes some 12 MB on an empty file here.
    const qint64 limit = memoryLimitKilobytes(QFileInfo(in).size(), 64 * 1024);
    QVERIFY2(result.peakKilobytes < limit, qPrintable(QStringLiteral("%1 KB").arg(result.peakKilobytes)));
    QCOMPARE(result.status, exitCode);
    if (exitCode != 0) {
        QVERIFY(!result.error.trimmed().isEmpty());
        QCOMPARE(readFileBytes(out), old);
    } else {
        QVERIFY(readFileBytes(out) != old);
    }
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).size(), 3);
}

void TestFaultInjectionCli::killedWhileTheConverterWrites()
{
    // The converter writes half its file and then hangs until the program is killed.
    const QString pidFile = dir_->filePath(QStringLiteral("converter.pid"));
    const QString program = programBeside("if [ \"$1\" = -e ]; then\n"
                                          "  \"$REAL\" -e \"$2\" \"$3.whole\" || exit $?\n"
                                          "  head -c 300 \"$3.whole\" > \"$3\"\n"
                                          "  echo $$ > '" +
                                          QFile::encodeName(pidFile) +
                                          "'\n"
                                          "  exec sleep 60\n"
                                          "fi\n"
                                          "exec \"$REAL\" \"$@\"\n");
    const QString target = dir_->filePath(QStringLiteral("book.leg"));
    const QByteArray old = legContainer(soundFile(Kind::Xml));
    writeFile(target, old);
    const QString in = dir_->filePath(QStringLiteral("in.xml"));
    QFile::copy(sourceDir() + QStringLiteral("/tests/formats/data/filled_LM630Std.xml"), in);

    Child child(program, {QStringLiteral("convert"), in, target}, dir_->filePath(QStringLiteral("stderr.txt")));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(pidFile).size() > 0, 10000);
    QVERIFY(::kill(child.pid(), SIGKILL) == 0);
    const Run result = child.wait();
    QVERIFY(result.signalled);
    QCOMPARE(result.status, SIGKILL);
    // The converter does not outlive the program that started it.
    const pid_t converter = readFileBytes(pidFile).trimmed().toInt();
    QVERIFY(converter > 0);
    QElapsedTimer ending;
    ending.start();
    QTRY_VERIFY_WITH_TIMEOUT(processGone(converter), 5000);
    qInfo("the converter ended %lld ms after the program was killed", ending.elapsed());

    QCOMPARE(readFileBytes(target), old);
    // What a kill leaves: the converter's unfinished file, hidden beside the target.
    qInfo("left beside the target: %s", qPrintable(QDir(dir_->path())
                                                       .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)
                                                       .filter(QStringLiteral(".dalvino"))
                                                       .join(u' ')));

    // The killed program's hold on the working file went with it: the next conversion
    // beside the same converter goes ahead at once instead of waiting for it.
    const QString folder = QFileInfo(program).absolutePath();
    QVERIFY(QFile::exists(folder + QStringLiteral("/temp/temp.xml.lock")));
    QFile::remove(folder + QStringLiteral("/Quenda.dll"));
    QVERIFY(QFile::link(binDir() + QStringLiteral("/Quenda.dll"), folder + QStringLiteral("/Quenda.dll")));
    const Run next = run(program, {QStringLiteral("convert"), in, target});
    QCOMPARE(next.status, 0);
    QVERIFY2(next.milliseconds < 10000, qPrintable(QStringLiteral("%1 ms").arg(next.milliseconds)));
    QCOMPARE(readFileBytes(target), legContainer(readFileBytes(in)));
}

void TestFaultInjectionCli::killedWhileWhatTheConverterStartedRuns()
{
    // The first conversion's converter leaves a job behind that still writes the first
    // customer's phone book into the working file 2 s later; its program is killed. The
    // next conversion (another customer) must not start before that job has ended.
    const QString marker = dir_->filePath(QStringLiteral("first run"));
    const QString jobEnd = dir_->filePath(QStringLiteral("job.end"));
    const QString nextStart = dir_->filePath(QStringLiteral("next.start"));
    const QString program =
        programBeside("if [ ! -e '" + QFile::encodeName(marker) +
                      "' ]; then\n"
                      "  touch '" +
                      QFile::encodeName(marker) +
                      "'\n"
                      "  cp \"$2\" \"$2.first\"\n"
                      "  (sleep 2; cat \"$2.first\" > \"$2\"; date +%s%N > '" +
                      QFile::encodeName(jobEnd) +
                      "') &\n"
                      "  exec sleep 60\n"
                      "fi\n"
                      "[ -e '" +
                      QFile::encodeName(nextStart) + "' ] || date +%s%N > '" + QFile::encodeName(nextStart) +
                      "'\n"
                      "exec \"$REAL\" \"$@\"\n");
    const QString first = dir_->filePath(QStringLiteral("first.xml"));
    QFile::copy(sourceDir() + QStringLiteral("/tests/formats/data/filled_LM630Std.xml"), first);
    const QString second = dir_->filePath(QStringLiteral("second.xml"));
    QFile::copy(sourceDir() + QStringLiteral("/tests/formats/data/filled_LM630Pro.xml"), second);

    Child child(program, {QStringLiteral("convert"), first, dir_->filePath(QStringLiteral("first.leg"))},
                dir_->filePath(QStringLiteral("stderr.txt")));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
    QThread::msleep(300);
    QVERIFY(::kill(child.pid(), SIGKILL) == 0);
    QVERIFY(child.wait().signalled);

    const QString target = dir_->filePath(QStringLiteral("second.leg"));
    const Run next = run(program, {QStringLiteral("convert"), second, target});
    QCOMPARE(next.status, 0);
    QVERIFY2(QFile::exists(jobEnd) && QFile::exists(nextStart), qPrintable(QString::fromLocal8Bit(next.error)));
    const qint64 ended = readFileBytes(jobEnd).trimmed().toLongLong();
    const qint64 started = readFileBytes(nextStart).trimmed().toLongLong();
    qInfo("the next conversion started %lld ms after the job ended, %lld ms after it was run",
          (started - ended) / 1000000, next.milliseconds);
    QVERIFY2(started > ended, "the next conversion ran while the first one's converter still wrote");
    QCOMPARE(readFileBytes(target), legContainer(readFileBytes(second)));
}

void TestFaultInjectionCli::killedWhileWritingXml()
{
    // Killed at moments across the whole run: the target is always either the old file
    // or the complete new one, never a mixture or a stub.
    const QString in = dir_->filePath(QStringLiteral("in.xml"));
    writeFile(in, phoneBookXml(PhoneBook::EntryCount));
    const QString target = dir_->filePath(QStringLiteral("book.xml"));
    const QString complete = dir_->filePath(QStringLiteral("complete.xml"));
    const Run whole = run(cli(), {QStringLiteral("convert"), in, complete});
    QCOMPARE(whole.status, 0);
    const QByteArray newBytes = readFileBytes(complete);
    const QByteArray old = soundFile(Kind::Xml);
    QVERIFY(newBytes != old);

    int keptOld = 0, tookNew = 0;
    // From the start to half as long again as a whole run (the run above, measured).
    const qint64 step = qMax<qint64>(1, whole.milliseconds * 3 / 20);
    for (int i = 0; i <= 10; ++i) {
        writeFile(target, old);
        Child child(cli(), {QStringLiteral("convert"), in, target}, dir_->filePath(QStringLiteral("stderr.txt")));
        QThread::msleep(static_cast<unsigned long>(i * step));
        ::kill(child.pid(), SIGKILL);
        child.wait();
        const QByteArray now = readFileBytes(target);
        QVERIFY2(now == old || now == newBytes,
                 qPrintable(QStringLiteral("%1 bytes after %2 ms").arg(now.size()).arg(i * step)));
        ++(now == old ? keptOld : tookNew);
    }
    qInfo("a whole run takes %lld ms; killed 11 times: old file kept %d, new file complete %d; files left: %s",
          whole.milliseconds, keptOld, tookNew,
          qPrintable(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).join(u' ')));
    QVERIFY(keptOld > 0);
}

void TestFaultInjectionCli::fullDiskKeepsTheOutput_data()
{
    QTest::addColumn<int>("entries"); // of the phone book read, some 150 bytes each
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("existing");
    QTest::newRow("convert to .xml, 9 KB, over the old file") << 50 << "out.xml" << true;
    QTest::newRow("convert to .xml, 60 KB, over the old file") << 400 << "out.xml" << true;
    QTest::newRow("convert to .xml, 9 KB, new file") << 50 << "out.xml" << false;
    QTest::newRow("convert to .csv, over the old file") << 50 << "out.csv" << true;
    QTest::newRow("check --report, over the old file") << 50 << "report.txt" << true;
}

void TestFaultInjectionCli::fullDiskKeepsTheOutput()
{
    QFETCH(int, entries);
    QFETCH(QString, output);
    QFETCH(bool, existing);
    const QString in = dir_->filePath(QStringLiteral("in.xml"));
    writeFile(in, phoneBookXml(entries));
    const QString disk = dir_->filePath(QStringLiteral("disk"));
    QDir().mkpath(disk);
    TmpfsMount mount(disk, 512);
    if (!mount.mounted())
        QSKIP("cannot mount a tmpfs here (needs root where mounting is allowed): no full disk to write to");
    const QString out = disk + u'/' + output;
    const QByteArray old = soundFile(Kind::Xml);
    if (existing)
        writeFile(out, old);
    QVERIFY(mount.fill());

    const QStringList arguments = output == QStringLiteral("report.txt")
                                      ? QStringList{QStringLiteral("check"), in, QStringLiteral("--report"), out}
                                      : QStringList{QStringLiteral("convert"), in, out};
    const Run result = run(cli(), arguments);
    qInfo("%s: exit %d; %s", QTest::currentDataTag(), result.status, result.error.trimmed().constData());

    QCOMPARE(result.signalled, false);
    QCOMPARE(result.status, 2);
    const QString reason = QString::fromLocal8Bit(std::strerror(ENOSPC));
    QVERIFY2(QString::fromUtf8(result.error)
                 .contains(QStringLiteral("ファイル \"%1\" を作成できません。%2").arg(out, reason)),
             result.error.constData());
    if (existing)
        QCOMPARE(readFileBytes(out), old);
    QCOMPARE(QDir(disk).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).size(), existing ? 2 : 1);
}

void TestFaultInjectionCli::endlessInputIsRefused_data()
{
    QTest::addColumn<QStringList>("arguments"); // %1 is the input
    QTest::addColumn<bool>("endless");          // a link to /dev/zero, else a sparse file of 4 GB
    QTest::newRow("info, .xml link to /dev/zero")
        << QStringList{QStringLiteral("info"), QStringLiteral("%1.xml")} << true;
    QTest::newRow("convert, legacy .csv link to /dev/zero")
        << QStringList{QStringLiteral("convert"), QStringLiteral("%1.csv"), QStringLiteral("%1-out.xml")} << true;
    QTest::newRow("import-csv, sparse file")
        << QStringList{QStringLiteral("import-csv"), QStringLiteral("%1.csv"), QStringLiteral("%1-out.xml"),
                       QStringLiteral("--from"),     QStringLiteral("1"),      QStringLiteral("--to"),
                       QStringLiteral("4"),          QStringLiteral("--name"), QStringLiteral("1"),
                       QStringLiteral("--phone"),    QStringLiteral("3")}
        << false;
}

void TestFaultInjectionCli::endlessInputIsRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, endless);
    const QString base = dir_->filePath(QStringLiteral("input"));
    for (QString &argument : arguments)
        argument.replace(QStringLiteral("%1"), base);
    const QString in = arguments.at(1);
    if (endless) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), in));
    } else {
        QFile file(in);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64(4) << 30));
    }
    const Run result = run(cli(), arguments);
    qInfo("%s: %lld ms, peak %lld KB, exit %d; %s", QTest::currentDataTag(), result.milliseconds, result.peakKilobytes,
          result.status, result.error.trimmed().constData());
    QCOMPARE(result.signalled, false);
    QCOMPARE(result.status, 2);
    QCOMPARE(QString::fromUtf8(result.error).trimmed(), cannotOpenText(in, tooLargeText()).trimmed());
    QVERIFY2(result.milliseconds < timeLimitMilliseconds() / 4,
             qPrintable(QStringLiteral("%1 ms").arg(result.milliseconds)));
    // The program (some 12 MB) and what a device gives up to the limit, once or twice.
    QVERIFY2(result.peakKilobytes < memoryLimitKilobytes(0, 64 * 1024) + 2 * MaxFileBytes / 1024,
             qPrintable(QStringLiteral("%1 KB").arg(result.peakKilobytes)));
    QVERIFY(!QFile::exists(base + QStringLiteral("-out.xml")));
}

namespace {

// "--measure PROGRAM ARGUMENTS…": runs the program with standard output discarded and
// prints "signalled status peak-kilobytes". Called before Qt starts, so that this
// process is small.
int measure(char **command)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::execv(command[0], command);
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid)
        return 1;
    const bool signalled = WIFSIGNALED(status);
    std::printf("%d %d %ld\n", signalled ? 1 : 0, signalled ? WTERMSIG(status) : WEXITSTATUS(status), usage.ru_maxrss);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 2 && std::strcmp(argv[1], "--measure") == 0)
        return measure(argv + 2);
    QCoreApplication app(argc, argv);
    TestFaultInjectionCli test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_faultinjection_cli.moc"
