#include "cli/CliCommand.h"
#include "cli/CliFormats.h"
#include "core/KanaFill.h"
#include "formats/KanaReader.h"

namespace {

int runKana(const QCommandLineParser &arguments);

} // namespace

extern const CliCommand kanaCommand = {
    "kana",
    "kana IN OUT [--all]",
    "Reads the phone book IN, fills the empty kana of every entry with a name (with --all,\n"
    "every kana) with the reading proposed from the name, and writes OUT; both chosen by\n"
    "extension like convert. Each proposal is listed on standard error as one line: the\n"
    "slot number, the name, the kana written and the other readings proposed. A name\n"
    "without a reading keeps its kana. Company designators (株式会社, （株）, ...) are left\n"
    "out of a reading.\n",
    {cliSwitch("all")},
    &runKana};

namespace {

QString proposalLine(const DialEntry &entry, const KanaRow &row)
{
    if (row.proposals.isEmpty())
        return QStringLiteral("%1 %2: no reading").arg(entry.No, entry.name());
    QString line = QStringLiteral("%1 %2: %3").arg(entry.No, entry.name(), row.proposals.first());
    if (row.proposals.size() > 1)
        line += QStringLiteral(" (also %1)").arg(row.proposals.mid(1).join(QStringLiteral(", ")));
    return line;
}

int runKana(const QCommandLineParser &arguments)
{
    const bool all = arguments.isSet(QStringLiteral("all"));
    return rewritePhoneBook(kanaCommand, arguments, [all](PhoneBook &book) {
        // A missing dictionary ends the command here, before OUT is touched.
        const QList<KanaRow> rows = proposeKana(book, kanaTargets(book, {}, all), programKanaReader());
        for (const KanaRow &row : rows)
            printMessage(proposalLine(book.entries[static_cast<size_t>(row.position)], row));
        setKana(book, firstProposals(rows));
    });
}

} // namespace
