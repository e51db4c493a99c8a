// CSV import and export against decoding / encoding the same bytes alone.
#include "core/PhoneBook.h"
#include "formats/CsvExport.h"
#include "formats/CsvImport.h"
#include "formats/TextFile.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// Best of several runs, in microseconds.
double best(const std::function<void()> &work, int runs = 30)
{
    qint64 bestNs = -1;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        const qint64 ns = timer.nsecsElapsed();
        if (bestNs < 0 || ns < bestNs)
            bestNs = ns;
    }
    return bestNs / 1000.0;
}

PhoneBook filledBook()
{
    PhoneBook book;
    for (int i = 0; i < PhoneBook::EntryCount; ++i) {
        DialEntry &e = book.entries[i];
        e.setField(DialEntry::Name, QStringLiteral("山田太郎商事株式会社%1").arg(i));
        e.setField(DialEntry::Kana, QStringLiteral("ﾔﾏﾀﾞﾀﾛｳｼｮｳｼﾞ%1").arg(i));
        e.setField(DialEntry::Phone, QStringLiteral("03-1234-%1").arg(i, 4, 10, QLatin1Char('0')));
        e.setField(DialEntry::Group, QStringLiteral("グループ３"));
        e.setField(DialEntry::Ring, QStringLiteral("着信メロディ１"));
        e.setField(DialEntry::Extension, QStringLiteral("12"));
        e.setField(DialEntry::Destination, QStringLiteral("内線グループＣ"));
        e.setField(DialEntry::Memo, QStringLiteral("営業部第二課担当"));
    }
    return book;
}

} // namespace

int main()
{
    // Import: a 4000-row address list, six fields mapped.
    QString source;
    for (int i = 1; i <= PhoneBook::EntryCount; ++i)
        source += QStringLiteral("山田太郎%1,やまだたろう,(03)1234-%1,3,A,営業部担当\r\n").arg(i);
    const QByteArray importBytes = encodeCp932(source);
    CsvImport::Request request;
    request.startRow = 1;
    request.endRow = PhoneBook::EntryCount;
    request.mapping = {0, 1, 2, 3, 4, 5};
    // The document the import fills, as the import window fills the program's own: New
    // clears what the previous round left, which is part of every import.
    PhoneBook document;
    int imported = 0;
    const double decodeUs = best([&] { (void)decodeCp932(importBytes); });
    const double importUs = best([&] {
        const CsvImport::Table table = CsvImport::buildTable(CsvImport::decode(importBytes));
        imported = CsvImport::importInto(document, table, request).imported;
    });
    std::printf("| benchmark | baseline | ours | ratio | target |\n|---|---|---|---|---|\n");
    std::printf(
        "| mapped CSV import, %d rows, six fields (%lld KB; best of 30) | decode only %.2f ms | %.2f ms | %.2f | "
        "<= 3 |\n",
        imported, static_cast<long long>(importBytes.size() / 1024), decodeUs / 1000, importUs / 1000,
        importUs / decodeUs);

    CsvImport::Table loaded;
    const double loadUs = best([&] { loaded = CsvImport::buildTable(CsvImport::decode(importBytes)); });
    const double convertUs = best([&] { imported = CsvImport::importInto(document, loaded, request).imported; });
    std::printf("| import, of which the preview table | decode only %.2f ms | %.2f ms | %.2f | - |\n", decodeUs / 1000,
                loadUs / 1000, loadUs / decodeUs);
    std::printf("| import, of which building the phone book | decode only %.2f ms | %.2f ms | %.2f | - |\n",
                decodeUs / 1000, convertUs / 1000, convertUs / decodeUs);
    // What building costs at the least: New, and a string of its own for each of the
    // four free-text fields of every row (the lengths of this file's fields).
    PhoneBook filled;
    const QString sample = QStringLiteral("山田太郎1234ﾔﾏﾀﾞﾀﾛｳ03-1234-5678営業部担当");
    const double floorUs = best([&] {
        filled.New();
        for (DialEntry &entry : filled.entries) {
            entry.setField(DialEntry::Name, sample.first(8));
            entry.setField(DialEntry::Kana, sample.sliced(8, 8));
            entry.setField(DialEntry::Phone, sample.sliced(16, 12));
            entry.setField(DialEntry::Memo, sample.last(5));
        }
    });
    std::printf("| for comparison: New and the 16000 field strings alone | decode only %.2f ms | %.2f ms | %.2f | - |\n",
                decodeUs / 1000, floorUs / 1000, floorUs / decodeUs);

    // Export: 4000 filled rows.
    const PhoneBook book = filledBook();
    const QString text = joinLines(CsvExport::lines(book));
    qsizetype exportedBytes = 0;
    const double encodeUs = best([&] { (void)encodeCp932(text); });
    const double exportUs = best([&] { exportedBytes = encodeCp932(joinLines(CsvExport::lines(book))).size(); });
    std::printf(
        "| CSV export, 4000 filled rows (%lld KB; best of 30) | encode only %.2f ms | %.2f ms | %.2f | <= 3 |\n",
        static_cast<long long>(exportedBytes / 1024), encodeUs / 1000, exportUs / 1000, exportUs / encodeUs);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("export.csv"));
    const double writeUs = best([&] { CsvExport::write(path, book); }, 10);
    std::printf("| CSV export with the atomic file write (best of 10) | encode only %.2f ms | %.2f ms | %.2f | - |\n",
                encodeUs / 1000, writeUs / 1000, writeUs / encodeUs);
    return 0;
}
