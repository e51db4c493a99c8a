#include "cli/CliCommand.h"
#include "cli/CliFormats.h"
#include "core/DalvinoError.h"
#include "core/DeviceModel.h"
#include "formats/CsvImport.h"
#include "formats/TextFile.h"

namespace {

int runImportCsv(const QStringList &arguments);

} // namespace

extern const CliCommand importCsvCommand = {
    "import-csv",
    "import-csv IN OUT --from R --to R [--name N] [--kana N] [--phone N] [--group N] [--ring N] [--memo N] "
    "[--model NAME]",
    "Builds a new phone book from rows R to R of any CSV file IN (rows are its non-empty\n"
    "lines, from 1) and writes it as OUT, chosen by extension like convert. N is the\n"
    "number of the field (from 1) that holds the name, kana, phone number, group, ring\n"
    "tone or memo; at least two of name, kana and phone number, each a different field.\n"
    "The conversions and checks are those of the import window. The model (LM630Std\n"
    "unless NAME) decides the ring-tone names and how OUT is written.\n",
    &runImportCsv};

namespace {

struct Option {
    const char *name;
    int CsvImport::Mapping::*field;
};

const Option FieldOptions[] = {
    {"--name", &CsvImport::Mapping::name},   {"--kana", &CsvImport::Mapping::kana},
    {"--phone", &CsvImport::Mapping::phone}, {"--group", &CsvImport::Mapping::group},
    {"--ring", &CsvImport::Mapping::ring},   {"--memo", &CsvImport::Mapping::memo},
};

// A whole positive decimal number, or 0.
int positiveNumber(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value > 0 ? value : 0;
}

int runImportCsv(const QStringList &arguments)
{
    QStringList paths;
    CsvImport::Request request;
    QList<std::pair<QString, int>> fieldNumbers; // option, field number from 1
    int model = ModelLM630Std;
    bool hasFrom = false, hasTo = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!argument.startsWith(QStringLiteral("--"))) {
            paths << argument;
            continue;
        }
        if (i + 1 >= arguments.size())
            return usageError(importCsvCommand, QStringLiteral("%1 needs a value").arg(argument));
        const QString value = arguments.at(++i);
        if (argument == QStringLiteral("--model")) {
            model = deviceModelByName(value);
            if (model < 0)
                return usageError(importCsvCommand, QStringLiteral("Unknown model \"%1\"").arg(value));
            continue;
        }
        const int number = positiveNumber(value);
        if (number == 0)
            return usageError(importCsvCommand,
                              QStringLiteral("%1 needs a whole number from 1, not \"%2\"").arg(argument, value));
        if (argument == QStringLiteral("--from")) {
            request.startRow = CsvImport::clampStartRow(number);
            hasFrom = true;
            continue;
        }
        if (argument == QStringLiteral("--to")) {
            request.endRow = CsvImport::clampEndRow(number);
            hasTo = true;
            continue;
        }
        const Option *option = nullptr;
        for (const Option &o : FieldOptions) {
            if (argument == QLatin1StringView(o.name))
                option = &o;
        }
        if (!option)
            return usageError(importCsvCommand, QStringLiteral("Unknown option \"%1\"").arg(argument));
        request.mapping.*(option->field) = number - 1;
        fieldNumbers.append({argument, number});
    }
    if (paths.size() != 2)
        return usageError(importCsvCommand, QStringLiteral("import-csv needs IN and OUT"));
    if (!hasFrom || !hasTo)
        return usageError(importCsvCommand, QStringLiteral("import-csv needs --from and --to"));
    const CliOutputWriter write = outputWriter(paths.at(1));
    if (!write)
        return usageError(importCsvCommand, QStringLiteral("Cannot write \"%1\": the output must end in %2")
                                                .arg(paths.at(1), outputExtensions().join(QStringLiteral(", "))));

    // The checks of the import window, in its order, with its messages.
    if (const std::optional<QString> refusal = CsvImport::check(request)) {
        printMessage(*refusal);
        return ExitError;
    }

    QString text = CsvImport::decode(readFileBytes(paths.at(0)));
    if (text.isEmpty())
        throw DalvinoError(CsvImport::emptyFileText(paths.at(0)));
    const CsvImport::Table table = CsvImport::buildTable(std::move(text));
    for (const auto &[option, number] : fieldNumbers) {
        if (number > table.fieldCount) {
            printMessage(QStringLiteral("%1 %2: the file has %3 fields").arg(option).arg(number).arg(table.fieldCount));
            return ExitError;
        }
    }

    PhoneBook current;
    current.Syubetu = model;
    const CsvImport::Outcome outcome = CsvImport::import(current, table, request);
    if (outcome.failure) {
        // Nothing is written from an import that stopped part way.
        printMessage(*outcome.failure);
        printMessage(QStringLiteral("Row %1 does not exist: the file has %2 rows; %3 was not written")
                         .arg(request.startRow + outcome.imported)
                         .arg(table.rowCount())
                         .arg(paths.at(1)));
        return ExitError;
    }
    for (const QString &notice : write(outcome.book, paths.at(1)))
        printMessage(notice);
    return ExitOk;
}

} // namespace
