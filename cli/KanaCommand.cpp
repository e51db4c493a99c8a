#include "cli/CliCommand.h"
#include "cli/CliFormats.h"
#include "core/KanaFill.h"
#include "formats/KanaReader.h"

namespace {

int runKana(const QStringList &arguments);

} // namespace

extern const CliCommand kanaCommand = {
    "kana", "kana IN OUT [--all]",
    "Reads the phone book IN, fills the empty kana of every entry with a name (with --all,\n"
    "every kana) with the reading proposed from the name, and writes OUT; both chosen by\n"
    "extension like convert. Each proposal is listed on standard error as one line: the\n"
    "slot number, the name, the kana written and the other readings proposed. A name\n"
    "without a reading keeps its kana. Company designators (株式会社, （株）, ...) are left\n"
    "out of a reading.\n",
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

int runKana(const QStringList &arguments)
{
    QStringList paths;
    bool all = false;
    for (const QString &argument : arguments) {
        if (argument == QStringLiteral("--all"))
            all = true;
        else if (argument.startsWith(QStringLiteral("--")))
            return usageError(kanaCommand, QStringLiteral("Unknown option \"%1\"").arg(argument));
        else
            paths << argument;
    }
    if (paths.size() != 2)
        return usageError(kanaCommand, QStringLiteral("kana needs IN and OUT"));
    const CliInputReader read = inputReader(paths.at(0));
    if (!read)
        return usageError(kanaCommand, QStringLiteral("Cannot read \"%1\": the input must end in %2")
                                           .arg(paths.at(0), inputExtensions().join(QStringLiteral(", "))));
    const CliOutputWriter write = outputWriter(paths.at(1));
    if (!write)
        return usageError(kanaCommand, QStringLiteral("Cannot write \"%1\": the output must end in %2")
                                           .arg(paths.at(1), outputExtensions().join(QStringLiteral(", "))));

    CliInput input = read(paths.at(0));
    for (const QString &message : input.messages)
        printMessage(message);
    // A missing dictionary ends the command here, before OUT is touched.
    const QList<KanaRow> rows = proposeKana(input.book, kanaTargets(input.book, {}, all), programKanaReader());
    for (const KanaRow &row : rows)
        printMessage(proposalLine(input.book.entries[static_cast<size_t>(row.position)], row));
    setKana(input.book, firstProposals(rows));
    for (const QString &notice : write(input.book, paths.at(1)))
        printMessage(notice);
    return ExitOk;
}

} // namespace
