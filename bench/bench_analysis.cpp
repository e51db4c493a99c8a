// The data analysis over 4000 faulty entries: the bare report, the report with the
// progress window updated once per entry, and the whole command with the report window.
#include "bench/BenchStats.h"
#include "core/Analysis.h"
#include "formats/AppPaths.h"
#include "ui/AnalysisFrm.h"
#include "ui/MainFrm.h"
#include "ui/Prompts.h"
#include "ui/SplushFrm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Answers every question with Yes and shows nothing.
class YesPrompts : public Prompts {
public:
    void information(const QString &) override {}
    void warning(const QString &, bool) override {}
    void error(const QString &text) override { std::fprintf(stderr, "error: %s\n", qPrintable(text)); }
    bool confirm(const QString &) override { return true; }
    bool confirmWarning(const QString &) override { return true; }
    Answer confirmWithCancel(const QString &) override { return Answer::Yes; }
};

// Every entry breaks all nine rules, so that every block is written in full.
void fillFaulty(PhoneBook &book)
{
    for (DialEntry &entry : book.entries) {
        entry.setField(DialEntry::Name, QStringLiteral("Yamada Taro of the sales dept"));
        entry.setField(DialEntry::Kana, QStringLiteral("ヤマダタロウエイギョウブエイギョウカ"));
        entry.setField(DialEntry::Phone, QStringLiteral("０３－１２３４－５６７８ (内線) 1234567"));
        entry.setField(DialEntry::Memo, QStringLiteral("memo memo memo memo"));
    }
}

template <typename F> double medianMs(int runs, F f)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        f();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    AppPaths::setExecutableFolder(dir.path());
    YesPrompts prompts;
    Prompts::install(&prompts);

    TFormSplush splush;
    TFormMain main(&splush, {});
    main.createOtherWindows();
    PhoneBook faulty = main.book();
    fillFaulty(faulty);
    main.commitPhoneBook(std::move(faulty), main.model());
    main.show();
    QApplication::processEvents();

    constexpr int Runs = 15;
    qsizetype size = 0;
    const double bare = medianMs(Runs, [&] { size = analysisReport(main.book()).size(); });

    splush.setMaximum(PhoneBook::EntryCount);
    splush.showNow();
    const double withProgress = medianMs(Runs, [&] {
        splush.setPosition(0);
        analysisReport(main.book(), TFormAnalysis::progressOn(&splush));
    });
    splush.hide();

    const double command = medianMs(Runs, [&] { main.ToolButton6Click(); });
    QApplication::processEvents();
    auto *reportWindow = main.findChild<TFormAnalysis *>(QStringLiteral("FormAnalysis"));
    const QString report = reportWindow->report();
    const double window = medianMs(Runs, [&] { reportWindow->setReport(report); });

    std::printf("| benchmark | baseline | ours | ratio | target |\n|---|---|---|---|---|\n");
    std::printf(
        "| analysis of 4000 faulty entries with the progress window (median of %d) | bare report %.2f ms | %.2f ms "
        "| %.2f | %s |\n",
        Runs, bare, withProgress, withProgress / bare, FrameTarget);
    std::printf("| analysis, whole command with the report window (%lld characters) | bare report %.2f ms | %.2f ms | "
                "%.2f | %s |\n",
                static_cast<long long>(size), bare, command, command / bare, FrameTarget);
    std::printf("| analysis, report into the window | bare report %.2f ms | %.2f ms | %.2f | - |\n", bare, window,
                window / bare);
    Prompts::install(nullptr);
    return 0;
}
