// Start-up and New, measured side by side in one run.
//
//   bench_startup            runs the comparison and prints a table
//   bench_startup --dalvino  (internal) starts Dalvino and ends once its window is shown
//   bench_startup --bare     (internal) shows an empty QMainWindow and ends
//
// Each start is a fresh process, timed from its start to its end right after the window
// was shown, so both include loading Qt and the platform plugin.
#include "core/PhoneBook.h"
#include "formats/AppPaths.h"
#include "ui/MainFrm.h"
#include "ui/Startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double timeProcess(const QString &program, const QString &mode, const QProcessEnvironment &env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(program, {mode});
    p.waitForFinished(60000);
    return t.nsecsElapsed() / 1e6;
}

int compare(const QString &self)
{
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains("QT_QPA_PLATFORM"))
        env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    const int runs = 15;
    std::vector<double> bare, dalvino;
    timeProcess(self, "--bare", env); // warm the file cache
    timeProcess(self, "--dalvino", env);
    for (int i = 0; i < runs; ++i) { // interleaved, so that noise hits both alike
        bare.push_back(timeProcess(self, "--bare", env));
        dalvino.push_back(timeProcess(self, "--dalvino", env));
    }

    // New on the document itself, in process.
    PhoneBook book;
    std::vector<double> news;
    for (int i = 0; i < 200; ++i) {
        book.entries[i].setField(DialEntry::Name, QStringLiteral("山田"));
        QElapsedTimer t;
        t.start();
        book.New([](int) {});
        news.push_back(t.nsecsElapsed() / 1e6);
    }

    const double b = median(bare), d = median(dalvino);
    std::printf("| benchmark | baseline | ours | ratio | target |\n|---|---|---|---|---|\n");
    std::printf("| start-up to window with 4000 rows (median of %d) | bare QMainWindow %.1f ms | %.1f ms | %.2f | <= 1.5 |\n",
                runs, b, d, d / b);
    std::printf("| New, 4000 entries (median of 200) | - | %.3f ms | - | < 2 ms |\n", median(news));
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
    if (mode == "--bare") {
        QMainWindow window;
        window.resize(669, 557);
        window.show();
        QTimer::singleShot(0, &app, &QApplication::quit);
        return app.exec();
    }
    if (mode == "--dalvino") {
        QTemporaryDir folder; // settings and temp/ of this run
        AppPaths::setExecutableFolder(folder.path());
        return runDalvino({}, [](TFormMain &window) {
            window.repaint();
            QApplication::quit();
        });
    }
    return 2;
}
