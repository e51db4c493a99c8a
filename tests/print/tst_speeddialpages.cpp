#include "PdfText.h"
#include "core/DalvinoError.h"
#include "formats/TextFile.h"
#include "print/SpeedDialPages.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace SpeedDialList;

namespace {

QString nameOf(int slot)
{
    return QStringLiteral("営業所%1").arg(slot);
}

QString phoneOf(int slot)
{
    return QStringLiteral("03-5555-%1").arg(slot, 4, 10, QLatin1Char('0'));
}

// The first `filled` numbers registered, each with a name and number of its own.
PhoneBook bookOf(int filled)
{
    PhoneBook book;
    for (int slot = 0; slot < filled; ++slot) {
        book.entries[slot].setField(DialEntry::Name, nameOf(slot));
        book.entries[slot].setField(DialEntry::Kana, QStringLiteral("ｴｲｷﾞｮｳｼｮ"));
        book.entries[slot].setField(DialEntry::Phone, phoneOf(slot));
    }
    book.UserName = QStringLiteral("株式会社丸山工業");
    book.UserNo = QStringLiteral("048-555-0100");
    return book;
}

QStringList slotRange(int count)
{
    QStringList numbers;
    for (int slot = 0; slot < count; ++slot)
        numbers << PhoneBook::slotNumber(slot);
    return numbers;
}

} // namespace

class tst_speeddialpages : public QObject {
    Q_OBJECT
private slots:
    void pages_data();
    void pages();
    void landscapeTurnsThePage();
    void japaneseFontIsEmbedded();
    void failedWriteKeepsTheFile();

private:
    QString write(const PhoneBook &book, const Options &options, QPageLayout::Orientation orientation,
                  const QString &name = QStringLiteral("list.pdf"))
    {
        const QString path = dir_.filePath(name);
        SpeedDialPages::writePdf(path, build(book, options), orientation);
        return path;
    }
    QTemporaryDir dir_;
};

void tst_speeddialpages::pages_data()
{
    QTest::addColumn<int>("filled");
    QTest::addColumn<bool>("filledOnly");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<int>("rows");
    QTest::newRow("one page") << 3 << true << false << 3;
    QTest::newRow("no entry") << 0 << true << false << 0;
    QTest::newRow("several pages") << 130 << true << false << 130;
    QTest::newRow("several pages, landscape") << 130 << true << true << 130;
    QTest::newRow("every slot") << 3 << false << false << PhoneBook::EntryCount;
}

// Every row once, in order, whole on one page; the header row on every page of rows,
// the title on the first, the groups on the last, "n / N" at every foot.
void tst_speeddialpages::pages()
{
    QFETCH(int, filled);
    QFETCH(bool, filledOnly);
    QFETCH(bool, landscape);
    QFETCH(int, rows);
    Options options;
    options.filledOnly = filledOnly;
    options.date = QDate(2026, 12, 10);
    const QString path = write(bookOf(filled), options, landscape ? QPageLayout::Landscape : QPageLayout::Portrait);

    const QStringList pages = pdfPages(path);
    const int pageCount = static_cast<int>(pages.size());
    QCOMPARE(pdfInfo(path, QStringLiteral("Pages")), QString::number(pageCount));
    QStringList printed;
    QList<int> rowsPerPage;
    for (int p = 0; p < pageCount; ++p) {
        const QString &page = pages.at(p);
        const QStringList numbers = slotsOnPage(page);
        printed += numbers;
        rowsPerPage << static_cast<int>(numbers.size());
        QVERIFY2(page.contains(pageNumberText(p + 1, pageCount)), qPrintable(QString::number(p)));
        QCOMPARE(page.contains(QStringLiteral("短縮ダイヤル一覧")), p == 0);
        QCOMPARE(page.contains(QStringLiteral("グループ一覧")), p == pageCount - 1);
        if (!numbers.isEmpty() || p == 0)
            QVERIFY2(page.contains(QStringLiteral("短縮No.")), qPrintable(QString::number(p)));
        // A row's texts all stand on its own line of the page.
        for (const QString &line : page.split(u'\n')) {
            const QStringList slot = slotsOnPage(line);
            if (slot.isEmpty() || slot.first().toInt() >= filled)
                continue;
            const int number = slot.first().toInt();
            QVERIFY2(line.contains(nameOf(number)) && line.contains(phoneOf(number)), qPrintable(line));
        }
    }
    QCOMPARE(printed, slotRange(rows));
    // Pages between the first and the last are full, and the title leaves the first fewer rows.
    int lastRowsPage = pageCount - 1;
    while (lastRowsPage > 0 && rowsPerPage.at(lastRowsPage) == 0)
        --lastRowsPage;
    for (int p = 1; p < lastRowsPage; ++p)
        QCOMPARE(rowsPerPage.at(p), rowsPerPage.at(1));
    if (pageCount > 2)
        QVERIFY(rowsPerPage.at(0) < rowsPerPage.at(1));
    QVERIFY(pages.last().contains(QStringLiteral("ｺｰﾙﾊﾞｯｸ指定")));
    QVERIFY(pages.last().contains(PhoneBook::groupLabel(9)));
    QVERIFY(pages.first().contains(QStringLiteral("株式会社丸山工業")));
    QVERIFY(pages.first().contains(QStringLiteral("作成日：2026年12月10日")));
}

void tst_speeddialpages::landscapeTurnsThePage()
{
    const PhoneBook book = bookOf(400);
    const QString portrait = write(book, {}, QPageLayout::Portrait, QStringLiteral("portrait.pdf"));
    const QString landscape = write(book, {}, QPageLayout::Landscape, QStringLiteral("landscape.pdf"));
    QVERIFY(pdfInfo(portrait, QStringLiteral("Page size")).startsWith(QStringLiteral("595 x 842")));
    QVERIFY(pdfInfo(landscape, QStringLiteral("Page size")).startsWith(QStringLiteral("842 x 595")));
    QVERIFY(pdfInfo(landscape, QStringLiteral("Pages")).toInt() > pdfInfo(portrait, QStringLiteral("Pages")).toInt());
}

void tst_speeddialpages::japaneseFontIsEmbedded()
{
    const QStringList fonts = pdfFonts(write(bookOf(5), {}, QPageLayout::Portrait));
    QVERIFY(!fonts.isEmpty());
    for (const QString &font : fonts)
        QVERIFY2(font.endsWith(QStringLiteral(" yes")), qPrintable(font));
    QVERIFY2(fonts.first().contains(QStringLiteral("Gothic")), qPrintable(fonts.join(u',')));
}

void tst_speeddialpages::failedWriteKeepsTheFile()
{
    const QString path = dir_.filePath(QStringLiteral("kept.pdf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("earlier list");
    file.close();
    setWriteLimitForTesting(100);
    try {
        SpeedDialPages::writePdf(path, build(bookOf(5), {}), QPageLayout::Portrait);
        setWriteLimitForTesting(-1);
        QFAIL("no error");
    } catch (const DalvinoError &error) {
        setWriteLimitForTesting(-1);
        QVERIFY2(error.text().contains(QStringLiteral("を作成できません")), qPrintable(error.text()));
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("earlier list"));
}

QTEST_MAIN(tst_speeddialpages)
#include "tst_speeddialpages.moc"
