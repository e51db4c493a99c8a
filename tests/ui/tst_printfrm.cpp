#include "FakePrompts.h"
#include "MainWindowParts.h"
#include "PdfText.h"
#include "formats/AppPaths.h"
#include "ui/MainFrm.h"
#include "ui/PrintFrm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMenuBar>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>

namespace {

PhoneBook bookOf(int filled)
{
    PhoneBook book;
    for (int slot = 0; slot < filled; ++slot) {
        book.entries[slot].setField(DialEntry::Name, QStringLiteral("営業所%1").arg(slot));
        book.entries[slot].setField(DialEntry::Phone, QStringLiteral("03-5555-%1").arg(slot));
    }
    return book;
}

// Three names in the book's slots 0, 1, 2, not in kana order.
const QStringList &unsortedNames()
{
    static const QStringList names = {QStringLiteral("ウエダ"), QStringLiteral("アオキ"), QStringLiteral("イノウエ")};
    return names;
}

} // namespace

class tst_printfrm : public QObject {
    Q_OBJECT
private slots:
    void fileMenuItem();
    void commandShowsThePreview();
    void optionsRepaint_data();
    void optionsRepaint();
    void printsTheDocumentsOrder_data();
    void printsTheDocumentsOrder();
};

void tst_printfrm::fileMenuItem()
{
    QTemporaryDir dir;
    AppPaths::setExecutableFolder(dir.path());
    FakePrompts prompts;
    TFormMain main(nullptr, {});
    QMenu *file = main.menuBar()->actions().first()->menu();
    auto *print = partOf<QAction>(&main, "P1");
    QVERIFY(file->actions().contains(print));
    QCOMPARE(print->text(), QStringLiteral("　印刷(&P)..."));
    QCOMPARE(print->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
}

void tst_printfrm::commandShowsThePreview()
{
    QTemporaryDir dir;
    AppPaths::setExecutableFolder(dir.path());
    FakePrompts prompts;
    TFormMain main(nullptr, {});
    arrangeBook(&main, [](PhoneBook &book) { book.entries[0].setField(DialEntry::Name, QStringLiteral("本社")); });
    const int steps = main.document().undoStack()->count();
    int pages = 0;
    bool optionsShown = false;
    QTimer::singleShot(0, &main, [&] {
        auto *dialog = qobject_cast<TFormPrint *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        pages = dialog->Preview->pageCount();
        // The options stand whole above the pages.
        const int optionsBottom = dialog->CbEmpty->mapTo(dialog, QPoint(0, dialog->CbEmpty->height())).y();
        optionsShown = dialog->CbOrder->isVisible() && dialog->CbEmpty->isVisible() &&
                       dialog->CbOrder->mapTo(dialog, QPoint()).x() >= 0 &&
                       optionsBottom <= dialog->Preview->mapTo(dialog, QPoint()).y();
        dialog->reject();
    });
    partOf<QAction>(&main, "P1")->trigger();
    QCOMPARE(pages, 1);
    QVERIFY(optionsShown);
    // Printing leaves the document as it was: no step, still unmodified.
    QCOMPARE(main.document().undoStack()->count(), steps);
    QVERIFY(!main.document().isModified());
}

void tst_printfrm::optionsRepaint_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("morePages");
    QTest::newRow("every slot") << "empty" << true;
    QTest::newRow("landscape") << "landscape" << true;
    QTest::newRow("by kana") << "kana" << false;
    QTest::newRow("without the kana column") << "column" << false;
}

void tst_printfrm::optionsRepaint()
{
    QFETCH(QString, change);
    QFETCH(bool, morePages);
    PhoneBookDocument document;
    document.load(bookOf(130), 0);
    TFormPrint dialog(document);
    dialog.Preview->updatePreview();
    const int before = dialog.Preview->pageCount();
    QVERIFY(before > 1);
    QSignalSpy repaints(&dialog, &QPrintPreviewDialog::paintRequested);
    if (change == QStringLiteral("empty")) {
        dialog.CbEmpty->setChecked(true);
        QVERIFY(!dialog.options().filledOnly);
    } else if (change == QStringLiteral("landscape")) {
        dialog.printer()->setPageOrientation(QPageLayout::Landscape);
        dialog.Preview->updatePreview();
    } else if (change == QStringLiteral("kana")) {
        dialog.CbOrder->setCurrentIndex(int(SpeedDialList::Order::Kana));
        QCOMPARE(dialog.options().order, SpeedDialList::Order::Kana);
    } else {
        dialog.CbColumns[SpeedDialList::Kana]->setChecked(false);
        QVERIFY(!dialog.options().columns[SpeedDialList::Kana]);
    }
    QCOMPARE(repaints.count(), 1);
    QCOMPARE(dialog.Preview->pageCount() > before, morePages);
    QVERIFY(dialog.Preview->pageCount() >= before);
}

void tst_printfrm::printsTheDocumentsOrder_data()
{
    QTest::addColumn<QString>("history");
    QTest::addColumn<QStringList>("printed");
    const QStringList &loaded = unsortedNames();
    const QStringList sorted = {QStringLiteral("アオキ"), QStringLiteral("イノウエ"), QStringLiteral("ウエダ")};
    QTest::newRow("as loaded") << "" << loaded;
    QTest::newRow("sorted by name") << "sort" << sorted;
    QTest::newRow("sort undone") << "sort undo" << loaded;
    QTest::newRow("sort redone") << "sort undo redo" << sorted;
}

// The list's own order is the document's at the time of printing, history included.
void tst_printfrm::printsTheDocumentsOrder()
{
    QFETCH(QString, history);
    QFETCH(QStringList, printed);
    PhoneBook book;
    const QStringList &names = unsortedNames();
    for (int slot = 0; slot < names.size(); ++slot) {
        book.entries[slot].setField(DialEntry::Name, names.at(slot));
        book.entries[slot].setField(DialEntry::Phone, QStringLiteral("03-5555-000%1").arg(slot));
    }
    PhoneBookDocument document;
    document.load(std::move(book), 0);
    TFormPrint dialog(document);
    for (const QString &step : history.split(u' ', Qt::SkipEmptyParts)) {
        if (step == QStringLiteral("sort"))
            document.sortByColumn(1 + DialEntry::Name);
        else if (step == QStringLiteral("undo"))
            document.undoStack()->undo();
        else
            document.undoStack()->redo();
    }

    QTemporaryDir dir;
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(dir.filePath(QStringLiteral("list.pdf")));
    emit dialog.paintRequested(&pdf);
    const QString page = pdfPages(pdf.outputFileName()).value(0);
    QList<qsizetype> positions;
    for (const QString &name : printed)
        positions << page.indexOf(name);
    QVERIFY2(!positions.contains(-1), qPrintable(page));
    QVERIFY2(std::is_sorted(positions.begin(), positions.end()), qPrintable(page));
}

QTEST_MAIN(tst_printfrm)
#include "tst_printfrm.moc"
