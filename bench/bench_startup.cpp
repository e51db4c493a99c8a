// Start-up and New, measured side by side in one run.
//
//   bench_startup            runs the comparison and prints a table
//   bench_startup --dalvino  (internal) starts Dalvino and ends once its window is shown
//   bench_startup --bare     (internal) shows an empty QMainWindow and ends
//   bench_startup --label    (internal) the same window with one Japanese label
//
// Each start is a fresh process, timed from its start until it reports on standard output
// that its window was shown and painted, so both include loading Qt and the platform
// plugin; tearing the process down afterwards is not start-up and is not timed.
#include "bench/BenchStats.h"
#include "core/PhoneBook.h"
#include "formats/AppPaths.h"
#include "ui/MainFrm.h"
#include "ui/Startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// "shown" and the processor time the process has used so far, in milliseconds: less
// disturbed by other work on the machine than the wall time.
void reportShown()
{
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    std::printf("shown %.3f\n", cpu.tv_sec * 1e3 + cpu.tv_nsec / 1e6);
    std::fflush(stdout);
}

struct StartTime {
    double wall = 0; // from the start of the process until it reported its window shown
    double cpu = 0;  // the processor time it had used by then
};

StartTime timeProcess(const QString &program, const QString &mode, const QProcessEnvironment &env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(program, {mode});
    while (!p.canReadLine() && p.waitForReadyRead(60000)) {
    }
    StartTime time;
    time.wall = t.nsecsElapsed() / 1e6;
    const QList<QByteArray> words = p.readLine().trimmed().split(' ');
    time.cpu = words.value(1).toDouble();
    p.waitForFinished(60000);
    return time;
}

int compare(const QString &self)
{
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains("QT_QPA_PLATFORM"))
        env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    const int runs = 31;
    std::vector<double> bare, dalvino, bareCpu, dalvinoCpu, labelled;
    timeProcess(self, "--bare", env); // warm the file cache
    timeProcess(self, "--dalvino", env);
    timeProcess(self, "--label", env);
    for (int i = 0; i < runs; ++i) { // interleaved, so that noise hits all alike
        const StartTime b = timeProcess(self, "--bare", env);
        const StartTime d = timeProcess(self, "--dalvino", env);
        const StartTime l = timeProcess(self, "--label", env);
        bare.push_back(b.wall);
        bareCpu.push_back(b.cpu);
        dalvino.push_back(d.wall);
        dalvinoCpu.push_back(d.cpu);
        labelled.push_back(l.wall);
    }

    // New on the document itself, in process, against building a fresh document value.
    PhoneBook book;
    std::vector<double> news, fresh;
    for (int i = 0; i < 200; ++i) {
        book.entries[i].setField(DialEntry::Name, QStringLiteral("山田"));
        QElapsedTimer t;
        t.start();
        book.New([](int) {});
        news.push_back(t.nsecsElapsed() / 1e6);
        t.start();
        const PhoneBook built;
        fresh.push_back(t.nsecsElapsed() / 1e6);
    }

    const double b = median(bare), d = median(dalvino);
    std::printf("| benchmark | baseline | ours | ratio | target |\n|---|---|---|---|---|\n");
    std::printf(
        "| start-up to window with 4000 rows (median of %d) | bare QMainWindow %.1f ms | %.1f ms | %.2f | - |\n", runs,
        b, d, d / b);
    const double l = median(labelled);
    std::printf("| for comparison: the bare window with one Japanese label (median of %d) | bare QMainWindow %.1f ms | "
                "%.1f ms | %.2f | - |\n",
                runs, b, l, l / b);
    std::printf("| start-up to window with 4000 rows, against the window with one Japanese label (median of %d) | "
                "labelled window %.1f ms | %.1f ms | %.2f | <= 1.3 |\n",
                runs, l, d, d / l);
    const double bc = median(bareCpu), dc = median(dalvinoCpu);
    std::printf(
        "| start-up, processor time until shown (median of %d) | bare QMainWindow %.1f ms | %.1f ms | %.2f | - |\n",
        runs, bc, dc, dc / bc);
    const double n = median(news), f = median(fresh);
    std::printf("| New, 4000 entries (median of 200) | a fresh PhoneBook value %.3f ms | %.3f ms | %.2f | %s |\n", f, n,
                n / f, FrameTarget);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode.isEmpty()) {
        QCoreApplication app(argc, argv);
        return compare(QCoreApplication::applicationFilePath());
    }
    QApplication app(argc, argv);
    if (mode == "--bare" || mode == "--label") {
        // --label: the least a window with Japanese text costs, the font set-up included.
        QMainWindow window;
        window.resize(669, 557);
        if (mode == "--label")
            window.setCentralWidget(new QLabel(QStringLiteral("しばらくお待ちください"), &window));
        window.show();
        QTimer::singleShot(0, &app, [&] {
            window.repaint();
            reportShown();
            QApplication::quit();
        });
        return app.exec();
    }
    if (mode == "--dalvino") {
        QTemporaryDir folder; // settings and temp/ of this run
        AppPaths::setExecutableFolder(folder.path());
        return runDalvino({}, [](TFormMain &window) {
            window.repaint();
            reportShown();
            QApplication::quit();
        });
    }
    return 2;
}
