// The history: a bulk change over all 4000 entries, its undo and redo, the memory a
// hundred such steps keep, and opening the entry editor on a full book.
#include "core/ListOperations.h"
#include "formats/AppPaths.h"
#include "ui/EditFrm.h"
#include "ui/MainFrm.h"
#include "ui/Prompts.h"
#include "ui/SplushFrm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <vector>

namespace {

constexpr int Runs = 51;

class YesPrompts : public Prompts {
public:
    void information(const QString &) override {}
    void warning(const QString &, bool) override {}
    void error(const QString &text) override { std::fprintf(stderr, "error: %s\n", qPrintable(text)); }
    bool confirm(const QString &) override { return true; }
    bool confirmWarning(const QString &) override { return true; }
    Answer confirmWithCancel(const QString &) override { return Answer::Yes; }
};

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

template <typename F> double elapsedMs(F f)
{
    QElapsedTimer timer;
    timer.start();
    f();
    return timer.nsecsElapsed() / 1e6;
}

long heapBytes() { return static_cast<long>(mallinfo2().uordblks); }

PhoneBook filledBook(const PhoneBook &start)
{
    PhoneBook book = start;
    for (int i = 0; i < PhoneBook::EntryCount; ++i) {
        DialEntry &entry = book.entries[i];
        entry.setField(DialEntry::Name, QStringLiteral("山田太郎%1").arg(i));
        entry.setField(DialEntry::Kana, QStringLiteral("ﾔﾏﾀﾞﾀﾛｳ"));
        entry.setField(DialEntry::Phone, QStringLiteral("03%1").arg(10000000 + i));
    }
    return book;
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
    main.FormActivate();
    main.commitPhoneBook(filledBook(main.book()), main.model());
    main.show();
    QApplication::processEvents();
    auto *list = main.findChild<QTableView *>(QStringLiteral("ListView1"));
    list->selectAll();
    QList<int> all;
    for (int p = 0; p < PhoneBook::EntryCount; ++p)
        all << p;

    // Bulk change, undo and redo, the group of all 4000 rows alternating between two values.
    PhoneBook plain = main.book();
    std::vector<double> bare, change, undo, redo;
    for (int run = 0; run < Runs; ++run) {
        bare.push_back(elapsedMs(
            [&] { ListOperations::changeField(plain, all, DialEntry::Group, run % 2 ? QStringLiteral("グループ１") : QStringLiteral("グループ２")); }));
        change.push_back(elapsedMs([&] { main.N11Click(1 + run % 2); }));
        undo.push_back(elapsedMs([&] { main.undo(); }));
        redo.push_back(elapsedMs([&] { main.redo(); }));
        QApplication::processEvents();
    }

    // Memory of a hundred bulk changes of 4000 rows, next to one copy of the entries.
    main.document().undoStack()->clear();
    long before = heapBytes();
    for (int step = 0; step < 100; ++step)
        main.N11Click(1 + step % 2);
    const long hundredSteps = heapBytes() - before;
    before = heapBytes();
    const std::vector<DialEntry> copy = main.book().entries;
    const long oneCopy = heapBytes() - before;

    // Opening the entry editor on a row of the full book, next to showing a bare window
    // with one field.
    auto *editor = main.findChild<TFormEdit *>(QStringLiteral("FormEdit"));
    QWidget bareWindow(&main, Qt::Dialog);
    auto *layout = new QVBoxLayout(&bareWindow);
    layout->addWidget(new QLineEdit(&bareWindow));
    std::vector<double> bareShow, open;
    for (int run = 0; run < Runs; ++run) {
        list->clearSelection();
        list->selectRow(run * 37 % PhoneBook::EntryCount);
        bareShow.push_back(elapsedMs([&] { bareWindow.show(); }));
        bareWindow.hide();
        open.push_back(elapsedMs([&] { main.ListView1DblClick(); }));
        editor->hide();
        QApplication::processEvents();
    }

    std::printf("| benchmark | baseline | ours | ratio | target |\n|---|---|---|---|---|\n");
    const double b = median(bare);
    std::printf("| bulk change of 4000 rows, whole command (median of %d) | bare changeField %.2f ms | %.2f ms | %.2f | "
                "< 16.7 ms |\n",
                Runs, b, median(change), median(change) / b);
    std::printf("| undo of a 4000-row bulk change (median of %d) | bare changeField %.2f ms | %.2f ms | %.2f | "
                "< 16.7 ms |\n",
                Runs, b, median(undo), median(undo) / b);
    std::printf("| redo of a 4000-row bulk change (median of %d) | bare changeField %.2f ms | %.2f ms | %.2f | "
                "< 16.7 ms |\n",
                Runs, b, median(redo), median(redo) / b);
    std::printf("| memory of 100 bulk changes of 4000 rows | one copy of the 4000 entries %.0f KB | %.0f KB (%.1f KB a "
                "step) | %.2f | - |\n",
                oneCopy / 1024.0, hundredSteps / 1024.0, hundredSteps / 1024.0 / 100, hundredSteps / double(oneCopy));
    std::printf("| opening the entry editor (median of %d) | bare window with one field %.2f ms | %.2f ms | %.2f | "
                "< 16.7 ms |\n",
                Runs, median(bareShow), median(open), median(open) / median(bareShow));
    Prompts::install(nullptr);
    return copy.empty() ? 1 : 0;
}
