// CSV import and export against decoding / encoding the same bytes alone.
#include "bench/BenchStats.h"
#include "core/PhoneBook.h"
#include "formats/CsvExport.h"
#include "formats/CsvImport.h"
#include "formats/TextFile.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// The median of several runs of each piece of work, in microseconds. The pieces take turns
// round by round, so that a baseline and what is compared with it see the same phases
// of a shared machine. prepare, when given, runs untimed before its work.
struct Work {
    std::function<void()> run;
    std::function<void()> prepare = {};
    std::vector<double> times = {};
    double medianUs() const { return median(times); }
};

void measure(std::vector<Work *> works, int rounds = 30)
{
    for (int round = 0; round < rounds; ++round) {
        for (Work *work : works) {
            if (work->prepare)
                work->prepare();
            QElapsedTimer timer;
            timer.start();
            work->run();
            work->times.push_back(timer.nsecsElapsed() / 1000.0);
        }
    }
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
    Work decode{[&] { (void)decodeCp932(importBytes); }};
    Work import{[&] {
        const CsvImport::Table table = CsvImport::buildTable(CsvImport::decode(importBytes));
        imported = CsvImport::importInto(document, table, request).imported;
    }};
    // The same into the empty document of a program just started.
    PhoneBook empty;
    Work importIntoEmpty{[&] {
                             const CsvImport::Table table = CsvImport::buildTable(CsvImport::decode(importBytes));
                             CsvImport::importInto(empty, table, request);
                         },
                         [&] { empty = PhoneBook(); }};
    CsvImport::Table loaded;
    Work preview{[&] { loaded = CsvImport::buildTable(CsvImport::decode(importBytes)); }};
    Work building{[&] { CsvImport::importInto(document, loaded, request); }};
    // Of building, what New takes on a document the import filled: giving back the 16000
    // texts of the previous round.
    PhoneBook filled;
    Work newOnFilled{[&] { filled.New(); }, [&] { CsvImport::importInto(filled, loaded, request); }};
    // The same rows as Outlook writes them, every field quoted.
    QString quotedSource;
    for (int i = 1; i <= PhoneBook::EntryCount; ++i)
        quotedSource +=
            QStringLiteral("\"山田太郎%1\",\"やまだたろう\",\"(03)1234-%1\",\"3\",\"A\",\"営業部担当\"\r\n").arg(i);
    const QByteArray quotedBytes = encodeCp932(quotedSource);
    Work decodeQuoted{[&] { (void)decodeCp932(quotedBytes); }};
    Work importQuoted{[&] {
        const CsvImport::Table table = CsvImport::buildTable(CsvImport::decode(quotedBytes));
        CsvImport::importInto(document, table, request);
    }};
    preview.run(); // the table building works from
    measure({&decode, &import, &importIntoEmpty, &preview, &building, &newOnFilled, &decodeQuoted, &importQuoted});

    std::printf("| benchmark | baseline | ours | ratio | target |\n|---|---|---|---|---|\n");
    const auto row = [](const char *name, const char *baselineName, const Work &baseline, const Work &work,
                        const char *target) {
        std::printf("| %s | %s %.2f ms | %.2f ms | %.2f | %s |\n", name, baselineName, baseline.medianUs() / 1000,
                    work.medianUs() / 1000, work.medianUs() / baseline.medianUs(), target);
    };
    const QByteArray importName = QStringLiteral("mapped CSV import, %1 rows, six fields (%2 KB; median of 30)")
                                      .arg(imported)
                                      .arg(importBytes.size() / 1024)
                                      .toUtf8();
    row(importName.constData(), "decode only", decode, import, FrameTarget);
    row("import into the empty document of a program just started", "decode only", decode, importIntoEmpty, "-");
    row("import, of which the preview table", "decode only", decode, preview, "-");
    row("import, of which building the phone book", "decode only", decode, building, "-");
    row("building, of which New on the document the previous import filled", "decode only", decode, newOnFilled, "-");
    row("mapped CSV import, the same rows with every field quoted", "decode only", decodeQuoted, importQuoted,
        FrameTarget);

    // Export: 4000 filled rows.
    const PhoneBook book = filledBook();
    const QString text = joinLines(CsvExport::lines(book));
    qsizetype exportedBytes = 0;
    Work encode{[&] { (void)encodeCp932(text); }};
    Work exportRows{[&] { exportedBytes = encodeCp932(joinLines(CsvExport::lines(book))).size(); }};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("export.csv"));
    Work exportFile{[&] { CsvExport::write(path, book); }};
    measure({&encode, &exportRows});
    measure({&encode, &exportFile}, 10);
    const QByteArray exportName =
        QStringLiteral("CSV export, 4000 filled rows (%1 KB; median of 30)").arg(exportedBytes / 1024).toUtf8();
    row(exportName.constData(), "encode only", encode, exportRows, FrameTarget);
    row("CSV export with the atomic file write (median of 10)", "encode only", encode, exportFile, "-");
    return 0;
}
