#include "cli/CliCommand.h"
#include "cli/CliFormats.h"
#include "print/SpeedDialPages.h"

namespace {

int runPrint(const QCommandLineParser &arguments);

} // namespace

extern const CliCommand printCommand = {
    .name = "print",
    .usage = "print IN OUT.pdf [--by-kana] [--landscape]",
    .description = "Reads the phone book IN and writes its speed-dial list as the PDF file OUT.pdf:\n"
                   "A4 pages, the customer's name and number and today's date, one row per registered\n"
                   "entry in slot order (--by-kana: in kana order) with the slot number, name, kana,\n"
                   "phone number and group, and the group settings at the end. --landscape turns the\n"
                   "pages on their side.\n",
    .options = {cliSwitch("by-kana"), cliSwitch("landscape")},
    .run = &runPrint,
    .drawsText = true};

namespace {

int runPrint(const QCommandLineParser &arguments)
{
    SpeedDialList::Options options;
    options.order =
        arguments.isSet(QStringLiteral("by-kana")) ? SpeedDialList::Order::Kana : SpeedDialList::Order::Slot;
    options.date = QDate::currentDate();
    const QPageLayout::Orientation orientation =
        arguments.isSet(QStringLiteral("landscape")) ? QPageLayout::Landscape : QPageLayout::Portrait;
    const QStringList paths = arguments.positionalArguments();
    if (paths.size() != 2)
        return usageError(printCommand, QStringLiteral("print needs IN and OUT.pdf"));
    // Anything but a .pdf name is most likely a phone book given in the wrong place.
    if (!paths.at(1).endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        return usageError(printCommand,
                          QStringLiteral("Cannot write \"%1\": the output must end in .pdf").arg(paths.at(1)));

    const CliInputReader read = inputReader(printCommand, paths.at(0));
    if (!read)
        return ExitError;
    const CliInput input = readReported(read, paths.at(0));
    SpeedDialPages::writePdf(paths.at(1), SpeedDialList::build(input.book, options), orientation);
    return ExitOk;
}

} // namespace
