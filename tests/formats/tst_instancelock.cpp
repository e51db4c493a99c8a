#include "formats/InstanceLock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/file.h>
#include <unistd.h>

// The single-instance lock without a runtime folder of the session's: the folder it
// falls back to lies in the temporary folder, where any user may have made it first.
class TestInstanceLock : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fallbackFolder_data();
    void fallbackFolder();
    void lockFileLeftBehind_data();
    void lockFileLeftBehind();

private:
    std::unique_ptr<QTemporaryDir> tmp_;
    QByteArray savedRuntime_;
};

void TestInstanceLock::init()
{
    tmp_ = std::make_unique<QTemporaryDir>();
    savedRuntime_ = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", tmp_->path().toLocal8Bit());
    qputenv("USER", "someone");
    QDir().mkpath(tmp_->filePath(QStringLiteral("planted")));
    // Qt's own runtime folder in the temporary folder, made by another user first: Qt
    // refuses it, and the lock falls back to its folder of its own.
    const QString qtRuntime = tmp_->filePath(QStringLiteral("runtime-root"));
    QDir().mkpath(qtRuntime);
    if (::chown(QFile::encodeName(qtRuntime).constData(), 65534, 65534) != 0)
        qWarning("cannot give %s to another user", qPrintable(qtRuntime));
}

void TestInstanceLock::cleanup()
{
    qunsetenv("TMPDIR");
    if (!savedRuntime_.isEmpty())
        qputenv("XDG_RUNTIME_DIR", savedRuntime_);
    tmp_.reset();
}

void TestInstanceLock::fallbackFolder_data()
{
    QTest::addColumn<QString>("planted");
    QTest::addColumn<QString>("problem"); // empty: the lock is taken
    QTest::newRow("none yet") << ""
                              << "";
    QTest::newRow("the user's own") << "own"
                                    << "";
    QTest::newRow("writable by everyone") << "0777"
                                          << "他のユーザーも書き込めます";
    QTest::newRow("a link to a folder") << "link"
                                        << "シンボリックリンクです";
    QTest::newRow("another user's") << "other"
                                    << "他のユーザー (UID 65534) のフォルダーです";
}

void TestInstanceLock::fallbackFolder()
{
    QFETCH(QString, planted);
    QFETCH(QString, problem);
    if (::geteuid() != 0)
        QSKIP("making Qt refuse its runtime folder, and planting another user's folder, need root");
    const QString folder = tmp_->filePath(QStringLiteral("dalvino-someone"));
    if (planted == QStringLiteral("link")) {
        QVERIFY(QFile::link(tmp_->filePath(QStringLiteral("planted")), folder));
    } else if (!planted.isEmpty()) {
        QVERIFY(QDir().mkpath(folder));
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        if (planted == QStringLiteral("0777"))
            permissions |= QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                           QFile::WriteOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(folder, permissions));
        if (planted == QStringLiteral("other"))
            QVERIFY(::chown(QFile::encodeName(folder).constData(), 65534, 65534) == 0);
    }
    QCOMPARE(InstanceLock::lockFolder(), folder);
    InstanceLock lock;
    QCOMPARE(lock.lockFilePath(), folder + QStringLiteral("/KelvoMaster.lock"));
    if (problem.isEmpty()) {
        QVERIFY(lock.tryAcquire());
        QFileInfo made(folder);
        QVERIFY(made.isDir() && !made.isSymLink());
        QCOMPARE(made.ownerId(), ::geteuid());
        if (planted.isEmpty())
            QCOMPARE(made.permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
                     QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        InstanceLock second;
        QVERIFY(!second.tryAcquire());
        QCOMPARE(second.refusalText(), QStringLiteral("すでに起動しています。"));
        return;
    }
    QVERIFY(!lock.tryAcquire());
    QCOMPARE(lock.refusalText(),
             QStringLiteral("ロック用フォルダー \"%1\" は使用できません（%2）。"
                            "シンボリックリンクでない、このユーザーだけが書き込めるフォルダーにしてください。")
                 .arg(folder, problem));
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/KelvoMaster.lock")));
}

void TestInstanceLock::lockFileLeftBehind_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("held");
    QTest::addColumn<bool>("taken");
    QTest::newRow("empty, a minute old") << QByteArray() << 60 << false << true;
    QTest::newRow("damaged, a minute old") << QByteArray("\xff\xfe garbage") << 60 << false << true;
    QTest::newRow("another machine's, a minute old")
        << QByteArray("4242\nDalvino\nanother-machine\n") << 60 << false << true;
    // An instance that is starting makes the file first and locks it a moment later.
    QTest::newRow("empty, just made") << QByteArray() << 0 << false << false;
    QTest::newRow("another machine's, held") << QByteArray("4242\nDalvino\nanother-machine\n") << 60 << true << false;
}

void TestInstanceLock::lockFileLeftBehind()
{
    QFETCH(QByteArray, contents);
    QFETCH(int, ageSeconds);
    QFETCH(bool, held);
    QFETCH(bool, taken);
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    const QString path = runtime.filePath(QStringLiteral("KelvoMaster.lock"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.write(contents);
    file.flush();
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    if (held) // as a running program's QLockFile holds it
        QVERIFY(::flock(file.handle(), LOCK_EX | LOCK_NB) == 0);

    InstanceLock lock;
    QCOMPARE(lock.lockFilePath(), path);
    QCOMPARE(lock.tryAcquire(), taken);
    if (!taken)
        QCOMPARE(lock.refusalText(), QStringLiteral("すでに起動しています。"));
}

QTEST_GUILESS_MAIN(TestInstanceLock)
#include "tst_instancelock.moc"
