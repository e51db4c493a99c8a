// The number and duplicate check over 4000 filled entries, set against the data analysis of
// the same phone book in the same run; and the bulk number form's plan and preview.
#include "bench/BenchStats.h"
#include "core/Analysis.h"
#include "core/NumberLint.h"
#include "formats/AppPaths.h"
#include "ui/AnalysisFrm.h"
#include "ui/MainFrm.h"
#include "ui/Prompts.h"
#include "ui/SplushFrm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

namespace {

class YesPrompts : public Prompts {
public:
    void information(const QString &) override {}
    void warning(const QString &, bool) override {}
    void error(const QString &text) override { std::fprintf(stderr, "error: %s\n", qPrintable(text)); }
    bool confirm(const QString &) override { return true; }
    bool confirmWarning(const QString &) override { return true; }
    Answer confirmWithCancel(const QString &) override { return Answer::Yes; }
};

// A customer's directory: fixed lines of several area codes, mobiles, IP phones, free
// and navi dial, half of them without hyphens; every 40th number repeated in the next
// slot, every 50th name repeated with another number, every 100th number a digit short.
void fillDirectory(PhoneBook &book)
{
    const struct {
        const char *prefix;
        int digits; // of the whole number
    } kinds[] = {{"03", 10},  {"06", 10},  {"045", 10},  {"0422", 10}, {"090", 11},
                 {"080", 11}, {"050", 11}, {"0120", 10}, {"0570", 10}, {"011", 10}};
    for (int i = 0; i < PhoneBook::EntryCount; ++i) {
        DialEntry &entry = book.entries[i];
        const QString prefix = QString::fromLatin1(kinds[i % 10].prefix);
        const QString subscriber =
            QString::number(20000000 + i * 7919 % 70000000).left(kinds[i % 10].digits - prefix.size());
        QString phone = prefix + subscriber;
        if (i % 100 == 99)
            phone.chop(1);
        if (i % 2 == 0)
            phone = prefix + u'-' + phone.mid(prefix.size(), 3) + u'-' + phone.mid(prefix.size() + 3);
        if (i % 40 == 39)
            phone = book.entries[i - 1].phone();
        entry.setField(DialEntry::Phone, phone);
        entry.setField(DialEntry::Name, i % 50 == 49
                                            ? book.entries[i - 1].name()
                                            : QStringLiteral("顧客") + QString::number(i).rightJustified(4, u'0'));
    }
}

template <typename F> double onceMs(F f)
{
    QElapsedTimer timer;
    timer.start();
    f();
    return timer.nsecsElapsed() / 1e6;
}

template <typename F> double medianMs(int runs, F f)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(onceMs(f));
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
    PhoneBook filled = main.book();
    fillDirectory(filled);
    main.document().load(std::move(filled), main.model());
    main.show();
    QApplication::processEvents();

    // The first check of a run: libphonenumber loads its data and judges every number.
    const double cold = onceMs([&] { main.L1Click(); });
    QApplication::processEvents();
    const qsizetype lintSize = main.findChild<TFormAnalysis *>(QStringLiteral("FormLint"))->report().size();
    const double coldPlan = onceMs([&] { phoneFormatPreview(main.book(), planPhoneFormatting(main.book(), {})); });

    constexpr int Runs = 15;
    const double analysis = medianMs(Runs, [&] { main.ToolButton6Click(); });
    QApplication::processEvents();
    const double lint = medianMs(Runs, [&] { main.L1Click(); });
    QApplication::processEvents();
    const double bareLint = medianMs(Runs, [&] { numberLintReport(main.book()); });
    const double plan = medianMs(Runs, [&] { phoneFormatPreview(main.book(), planPhoneFormatting(main.book(), {})); });

    std::printf("| benchmark | baseline | ours | ratio | target |\n|---|---|---|---|---|\n");
    std::printf("| number check of 4000 filled entries with its report window (%lld characters; median of %d) | "
                "data analysis of the same book, whole command %.2f ms | %.2f ms | %.2f | %s |\n",
                static_cast<long long>(lintSize), Runs, analysis, lint, lint / analysis, FrameTarget);
    std::printf("| number check, bare report | same baseline %.2f ms | %.2f ms | %.2f | - |\n", analysis, bareLint,
                bareLint / analysis);
    std::printf("| number check, first of the run (libphonenumber loads, every number judged) | same baseline %.2f ms "
                "| %.2f ms | %.2f | - |\n",
                analysis, cold, cold / analysis);
    std::printf("| number form: plan and preview over 4000 numbers | same baseline %.2f ms | %.2f ms | %.2f | %s |\n",
                analysis, plan, plan / analysis, FrameTarget);
    std::printf("| number form, first of the run (every number formatted) | same baseline %.2f ms | %.2f ms | %.2f | - "
                "|\n",
                analysis, coldPlan, coldPlan / analysis);
    Prompts::install(nullptr);
    return 0;
}
