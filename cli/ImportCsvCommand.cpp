#include "cli/CliCommand.h"
#include "cli/CliFormats.h"
#include "core/DalvinoError.h"
#include "core/DeviceModel.h"
#include "formats/CsvImport.h"
#include "formats/TextEncoding.h"
#include "formats/TextFile.h"

#include <optional>
#include <tuple>

namespace {

int runImportCsv(const QCommandLineParser &arguments);

} // namespace

extern const CliCommand importCsvCommand = {
    "import-csv",
    "import-csv IN OUT --from R --to R [--name N] [--kana N] [--phone N] [--group N] [--ring N] [--memo N] "
    "[--model NAME] [--encoding auto|Shift-JIS|UTF-8|UTF-16]",
    "Builds a new phone book from rows R to R of any CSV file IN (rows are its non-empty\n"
    "records, from 1; a quoted field may hold commas and line breaks) and writes it as OUT,\n"
    "chosen by extension like convert. N is the number of the field (from 1) that holds\n"
    "the name, kana, phone number, group, ring tone or memo; at least two of name, kana\n"
    "and phone number, each a different field. The conversions and checks are those of\n"
    "the import window; R is at most 4000 for --from and 4001 for --to, rows the file does\n"
    "not have are refused, and of a range of more than 4000 rows the first 4000 are taken. The model (LM630Std unless "
    "NAME) decides\n"
    "the ring-tone names and how OUT is written. The encoding is found as the import\n"
    "window finds it unless given.\n",
    {{"from"}, {"to"}, {"name"}, {"kana"}, {"phone"}, {"group"}, {"ring"}, {"memo"}, {"model"}, {"encoding"}},
    &runImportCsv};

namespace {

struct Option {
    const char *name;
    int CsvImport::Mapping::*field;
};

const Option FieldOptions[] = {
    {"name", &CsvImport::Mapping::name},   {"kana", &CsvImport::Mapping::kana}, {"phone", &CsvImport::Mapping::phone},
    {"group", &CsvImport::Mapping::group}, {"ring", &CsvImport::Mapping::ring}, {"memo", &CsvImport::Mapping::memo},
};

// The encoding an --encoding value names; nothing for "auto".
std::optional<TextEncoding> encodingNamed(const QString &name, bool &known)
{
    known = true;
    for (const TextEncoding encoding : {TextEncoding::Cp932, TextEncoding::Utf8, TextEncoding::Utf16}) {
        if (name.compare(encodingName(encoding), Qt::CaseInsensitive) == 0)
            return encoding;
    }
    known = name.compare(QStringLiteral("auto"), Qt::CaseInsensitive) == 0;
    return std::nullopt;
}

// A whole positive decimal number, or 0.
int positiveNumber(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value > 0 ? value : 0;
}

// The value of option --name as a whole number from 1: 0 when it is not given, -1 after
// a usage error.
int rowOrField(const QCommandLineParser &arguments, const char *name)
{
    const QString option = QString::fromLatin1(name);
    if (!arguments.isSet(option))
        return 0;
    const QString value = arguments.value(option);
    const int number = positiveNumber(value);
    if (number == 0) {
        usageError(importCsvCommand, QStringLiteral("--%1 needs a whole number from 1, not \"%2\"").arg(option, value));
        return -1;
    }
    return number;
}

int runImportCsv(const QCommandLineParser &arguments)
{
    int model = ModelLM630Std;
    if (arguments.isSet(QStringLiteral("model"))) {
        model = deviceModelByName(arguments.value(QStringLiteral("model")));
        if (model < 0)
            return usageError(importCsvCommand,
                              QStringLiteral("Unknown model \"%1\"").arg(arguments.value(QStringLiteral("model"))));
    }
    std::optional<TextEncoding> encoding;
    if (arguments.isSet(QStringLiteral("encoding"))) {
        bool known = false;
        encoding = encodingNamed(arguments.value(QStringLiteral("encoding")), known);
        if (!known)
            return usageError(
                importCsvCommand,
                QStringLiteral("Unknown encoding \"%1\"").arg(arguments.value(QStringLiteral("encoding"))));
    }
    CsvImport::Request request;
    request.startRow = rowOrField(arguments, "from");
    request.endRow = rowOrField(arguments, "to");
    if (request.startRow < 0 || request.endRow < 0)
        return ExitError;
    QList<std::pair<QString, int>> fieldNumbers; // option, field number from 1
    for (const Option &option : FieldOptions) {
        const int number = rowOrField(arguments, option.name);
        if (number < 0)
            return ExitError;
        if (number > 0) {
            request.mapping.*(option.field) = number - 1;
            fieldNumbers.append({QStringLiteral("--") + QLatin1StringView(option.name), number});
        }
    }
    const QStringList paths = arguments.positionalArguments();
    if (paths.size() != 2)
        return usageError(importCsvCommand, QStringLiteral("import-csv needs IN and OUT"));
    if (request.startRow == 0 || request.endRow == 0)
        return usageError(importCsvCommand, QStringLiteral("import-csv needs --from and --to"));
    const CliOutputWriter write = outputWriter(paths.at(1));
    if (!write)
        return usageError(importCsvCommand, QStringLiteral("Cannot write \"%1\": the output must end in %2")
                                                .arg(paths.at(1), outputExtensions().join(QStringLiteral(", "))));

    // The rows the import window can be given, and no others: never lowered quietly.
    for (const auto &[option, row, limit] : {std::tuple{"--from", request.startRow, CsvImport::MaxStartRow},
                                             std::tuple{"--to", request.endRow, CsvImport::MaxEndRow}}) {
        if (row > limit) {
            printMessage(
                QStringLiteral("%1 %2: the row can be at most %3").arg(QLatin1StringView(option)).arg(row).arg(limit));
            return ExitError;
        }
    }
    // A phone book holds 4000 entries: of a wider range the first 4000 rows are taken.
    const int asked = request.endRow - request.startRow + 1;
    const int leftOut = std::max(0, asked - PhoneBook::EntryCount);
    request.endRow -= leftOut;
    // The checks of the import window, in its order, with its messages.
    if (const std::optional<QString> refusal = CsvImport::check(request)) {
        printMessage(*refusal);
        return ExitError;
    }

    const QByteArray bytes = readFileBytes(paths.at(0));
    QString text = encoding ? decodeAs(bytes, *encoding) : CsvImport::decode(bytes);
    if (text.isEmpty())
        throw DalvinoError(CsvImport::emptyFileText(paths.at(0)));
    const CsvImport::Table table = CsvImport::buildTable(std::move(text));
    for (const auto &[option, number] : fieldNumbers) {
        if (number > table.fieldCount) {
            printMessage(QStringLiteral("%1 %2: the file has %3 fields").arg(option).arg(number).arg(table.fieldCount));
            return ExitError;
        }
    }
    // Every row asked for must be in the file; a row that is not is never made up.
    for (const auto &[option, row] :
         {std::pair{"--from", request.startRow}, std::pair{"--to", request.endRow + leftOut}}) {
        if (asked > 0 && row > table.rowCount()) {
            printMessage(QStringLiteral("%1 %2: the file has %3 rows")
                             .arg(QLatin1StringView(option))
                             .arg(row)
                             .arg(table.rowCount()));
            return ExitError;
        }
    }
    for (const QString &notice : table.notices())
        printMessage(notice);

    PhoneBook current;
    current.Syubetu = model;
    const CsvImport::Outcome outcome = CsvImport::import(current, table, request);
    if (outcome.failure) {
        // Nothing is written from an import that stopped part way.
        printMessage(*outcome.failure);
        printMessage(QStringLiteral("%1 was not written").arg(paths.at(1)));
        return ExitError;
    }
    if (leftOut > 0)
        printMessage(QStringLiteral("Rows %1 to %2 (%3 rows) were left out: a phone book holds %4 entries")
                         .arg(request.endRow + 1)
                         .arg(request.endRow + leftOut)
                         .arg(leftOut)
                         .arg(PhoneBook::EntryCount));
    for (const QString &notice : write(outcome.book, paths.at(1)))
        printMessage(notice);
    return ExitOk;
}

} // namespace
