// CSV export, the mapped import and the legacy CSV files.
#include "core/DalvinoError.h"
#include "formats/CsvExport.h"
#include "formats/LegacyCsv.h"
#include "ui/FileChoices.h"
#include "ui/InportFrm.h"
#include "ui/MainFrm.h"
#include "ui/Prompts.h"
#include "ui/SplushFrm.h"

#include <QTableView>
#include <optional>

void TFormMain::I1Click()
{
    const QString path = FileChoices::current().choose(
        this,
        {QStringLiteral("import"), QStringLiteral("CSVファイルのインポート"), QStringLiteral("csvファイル|*.csv"), {}});
    if (path.isEmpty())
        return;
    FormInport->loadFile(path);
    FormInport->exec();
}

void TFormMain::csvC1Click()
{
    const QString path = FileChoices::current().choose(
        this, {QStringLiteral("export"), QStringLiteral("CSVファイルとしてエクスポート"), QStringLiteral("csv"), {}});
    if (path.isEmpty())
        return;
    for (const QString &notice : CsvExport::notices(book()))
        Prompts::current().information(notice);
    CsvExport::write(path, book());
    Prompts::current().information(CsvExport::savedText(path));
}

void TFormMain::openLegacyCsv(const QString &path)
{
    LegacyCsv::Outcome outcome;
    {
        // The window comes only once the file is known to be one of the legacy layouts.
        std::optional<ProgressScope> shown;
        LegacyCsv::Progress progress;
        progress.resetting = [&] { shown.emplace(Splush, QStringLiteral("初期化中..."), PhoneBook::EntryCount); };
        progress.resetStep = Splush->progressCallback();
        progress.reading = [&] {
            if (shown)
                shown->retitle(QStringLiteral("読み込み中..."));
        };
        outcome = LegacyCsv::read(path, book(), progress);
    }

    // Only a completed read reaches the document.
    if (outcome.status == LegacyCsv::Outcome::Status::NotLegacy) {
        Prompts::current().information(outcome.error);
        return;
    }
    if (outcome.status == LegacyCsv::Outcome::Status::Failed)
        throw DalvinoError(outcome.error);

    commitPhoneBook(std::move(outcome.book), outcome.model);
    selectPosition(0);
    ListView1->setFocus();
    Prompts::current().information(LegacyCsv::countText(outcome.count));
    for (const QString &notice : outcome.notices)
        Prompts::current().information(notice);
}
