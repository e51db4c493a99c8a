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
    for (const QString &notice : CsvExport::notices(Book))
        Prompts::current().information(notice);
    CsvExport::write(path, Book);
    Prompts::current().information(CsvExport::savedText(path));
}

void TFormMain::openLegacyCsv(const QString &path)
{
    LegacyCsv::Progress progress;
    progress.resetting = [this] {
        Splush->setPosition(0);
        Splush->setMaximum(PhoneBook::EntryCount);
        Splush->setTitle(QStringLiteral("初期化中..."));
        Splush->showNow();
    };
    progress.resetStep = Splush->progressCallback();
    progress.reading = [this] {
        Splush->hide();
        Splush->setTitle(QStringLiteral("読み込み中..."));
        Splush->showNow();
    };

    LegacyCsv::Outcome outcome;
    try {
        outcome = LegacyCsv::read(path, Book, progress);
    } catch (...) {
        Splush->hide();
        throw;
    }
    Splush->hide();

    // Only a completed read reaches the document.
    if (outcome.status == LegacyCsv::Outcome::Status::NotLegacy) {
        Prompts::current().information(outcome.error);
        return;
    }
    if (outcome.status == LegacyCsv::Outcome::Status::Failed)
        throw DalvinoError(outcome.error);

    commitPhoneBook(std::move(outcome.book));
    selectPosition(0);
    ListView1->setFocus();
    setModel(outcome.model);
    Prompts::current().information(LegacyCsv::countText(outcome.count));
    for (const QString &notice : outcome.notices)
        Prompts::current().information(notice);
}
