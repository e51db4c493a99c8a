// Reading and writing a full XML phone book, each against its baseline in the same run:
//   read  = decode + split lines + the phone-book reader, against decoding the bytes only
//   write = the XML writer + encoding, against encoding the same text only
// Both sides work in memory, so that the disk does not blur the ratio.
#include "bench/BenchStats.h"
#include "core/PhoneBook.h"
#include "core/Vocabulary.h"
#include "formats/TextFile.h"
#include "formats/XmlPhoneBook.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

// CPU time of this thread: other programs on the machine do not count in it.
double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double timeMs(const std::function<void()> &work, int rounds)
{
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r) {
        const double start = cpuMs();
        work();
        times.push_back(cpuMs() - start);
    }
    return median(times);
}

// Every entry and every group filled, with texts as long as the phone allows.
PhoneBook fullBook()
{
    PhoneBook book;
    book.Syubetu = ModelLM630Pro;
    book.SyubetuFlag = ModelLM630Pro;
    book.UserName = QStringLiteral("株式会社丸山工業");
    book.UserNo = QStringLiteral("048-555-0100");
    for (int g = 0; g < PhoneBook::GroupCount; ++g)
        book.groups[g].fields = {QStringLiteral("グループ名称%1").arg(QChar(0xFF10 + g)),
                                 Vocabulary::longRingTones().at(1 + g), Vocabulary::lamps().at(1 + g % 8),
                                 Vocabulary::flagOn(), Vocabulary::flagOff()};
    for (int p = 0; p < PhoneBook::EntryCount; ++p) {
        DialEntry &e = book.entries[p];
        e.setField(DialEntry::Name, QStringLiteral("株式会社丸山工業大宮第%1").arg(QChar(0xFF10 + p % 10)));
        e.setField(DialEntry::Kana, QStringLiteral("ﾏﾙﾔﾏｺｳｷﾞｮｳｵｵﾐﾔ&%1").arg(p % 10));
        e.setField(DialEntry::Phone, QStringLiteral("048-555-%1#*12345").arg(p, 4, 10, QLatin1Char('0')));
        e.setField(DialEntry::Group, Vocabulary::entryGroups().at(p % 10));
        e.setField(DialEntry::Ring, Vocabulary::longRingTones().at(p % 13));
        e.setField(DialEntry::Extension, Vocabulary::extensions().at(p % 33));
        e.setField(DialEntry::Destination, Vocabulary::destinationGroups().at(p % 9));
        e.setField(DialEntry::Memo,
                   QStringLiteral("メモ欄の内容を十六文字まで%1").arg(p % 100, 2, 10, QLatin1Char('0')));
    }
    return book;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    constexpr int Rounds = 40;
    const PhoneBook book = fullBook();
    const QByteArray bytes = encodeCp932(buildXmlPhoneBook(book).text);
    const QString text = buildXmlPhoneBook(book).text;
    // bench_xml --save PATH keeps the phone book measured, to look at or to profile.
    if (argc == 3 && QByteArray(argv[1]) == "--save") {
        writeFileAtomically(QString::fromLocal8Bit(argv[2]), bytes);
        return 0;
    }

    int sink = 0;
    const PhoneBook document; // the document a read leaves alone
    const double decode = timeMs([&] { sink += static_cast<int>(decodeCp932(bytes).size()); }, Rounds);
    const double read =
        timeMs([&] { sink += readXmlPhoneBookText(decodePhoneBookFile(bytes), document, true).count; }, Rounds);
    const double encode = timeMs([&] { sink += static_cast<int>(encodeCp932(text).size()); }, Rounds);
    const double write =
        timeMs([&] { sink += static_cast<int>(encodeCp932(buildXmlPhoneBook(book).text).size()); }, Rounds);

    const double kb = bytes.size() / 1024.0;
    std::printf("| benchmark | baseline | ours | ratio | target |\n|---|---|---|---|---|\n");
    std::printf(
        "| read a full XML phone book (4000 entries, %.0f KB; CPU, median of %d) | decode only %.2f ms | %.2f ms | "
        "%.2f | %s |\n",
        kb, Rounds, decode, read, read / decode, FrameTarget);
    std::printf("| write a full XML phone book (CPU, median of %d) | encode only %.2f ms | %.2f ms | %.2f | %s |\n",
                Rounds, encode, write, write / encode, FrameTarget);
    return sink == 42 ? 1 : 0;
}
