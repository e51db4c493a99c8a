// The CSV files of dalvino-cli: legacy CSV files in, the CSV export out.
#include "cli/CliFormats.h"
#include "core/DalvinoError.h"
#include "formats/CsvExport.h"
#include "formats/LegacyCsv.h"

CliInput readLegacyCsvInput(const QString &path)
{
    const LegacyCsv::Outcome outcome = LegacyCsv::read(path, PhoneBook());
    if (outcome.status != LegacyCsv::Outcome::Status::Read)
        throw DalvinoError(outcome.error);
    CliInput input{outcome.book, {LegacyCsv::countText(outcome.count)}};
    input.messages << outcome.notices;
    input.book.Syubetu = outcome.model;
    return input;
}

QStringList writeCsvOutput(const PhoneBook &book, const QString &path)
{
    CsvExport::write(path, book);
    return CsvExport::notices(book);
}
