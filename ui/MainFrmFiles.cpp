// Opening and saving phone-book files.
#include "ui/MainFrm.h"

#include "formats/PhoneBookFiles.h"
#include "formats/XmlPhoneBook.h"
#include "ui/CsvSaveDialogFrm.h"
#include "ui/FileChoices.h"
#include "ui/Prompts.h"
#include "ui/SplushFrm.h"

#include <QFileInfo>
#include <QTableView>

namespace {

QString lowerSuffix(const QString &path)
{
    return QFileInfo(path).suffix().toLower();
}

QString chooseSaveName(QWidget *parent)
{
    return FileChoices::current().choose(
        parent, {QStringLiteral("save"), QStringLiteral("名前を付けて保存"), QStringLiteral("leg"), QString()});
}

// Builds the text, stores it where the model keeps its files and only then takes the
// new name; a failure leaves the name, the caption and the modified flag as they were.
// A file of another name than the document's is replaced only when the user says so:
// the chooser asked already when the name came from it (chosen).
TFormMain::SaveOutcome saveDocument(PhoneBookDocument &document, const QString &name, bool chosen)
{
    const PhoneBookFiles::SaveTarget target = PhoneBookFiles::saveTarget(name, document.book().model());
    if (!chosen && target.renamed && QFileInfo::exists(target.path) &&
        !Prompts::current().confirmWarning(TFormCsvSaveDialog::overwriteQuestion(target.path)))
        return TFormMain::SaveOutcome::Cancelled;
    const XmlPhoneBookText text = buildXmlPhoneBook(document.book());
    for (const QString &notice : text.notices)
        Prompts::current().information(notice);
    PhoneBookFiles::store(text.text, target);
    Prompts::current().information(PhoneBookFiles::savedText(name, target));
    document.markSaved(target.path);
    return TFormMain::SaveOutcome::Saved;
}

} // namespace

void TFormMain::O1Click()
{
    // The open dialog comes whatever the answer and whether the save was cancelled; a
    // save that failed ends the command, so that the unsaved changes are not replaced.
    if (book().Modified && Prompts::current().confirm(unsavedChangesText(book().FileName)))
        S1Click();
    const QString path = FileChoices::current().choose(this, {QStringLiteral("open"), QStringLiteral("開く"),
                                                              QStringLiteral("電話帳ファイル|*.csv;*.leg"), QString()});
    if (path.isEmpty())
        return;
    const QString suffix = lowerSuffix(path);
    if (suffix == QStringLiteral("xml") || suffix == QStringLiteral("leg"))
        openPhoneBookFile(path);
    else if (suffix == QStringLiteral("csv"))
        openLegacyCsv(path);
}

QString TFormMain::savedPath(const QString &name) const
{
    return PhoneBookFiles::saveTarget(name, book().model()).path;
}

TFormMain::SaveOutcome TFormMain::S1Click()
{
    if (book().FileName == PhoneBook::untitledName())
        return A1Click();
    return saveDocument(document_, book().FileName, false);
}

TFormMain::SaveOutcome TFormMain::A1Click()
{
    const QString name = chooseSaveName(this);
    if (name.isEmpty())
        return SaveOutcome::Cancelled;
    return saveDocument(document_, name, true);
}

void TFormMain::openPhoneBookFile(const QString &path)
{
    ListView1->setFocus();
    XmlReadOutcome outcome;
    {
        const ProgressScope progress(Splush, QStringLiteral("読み込み中..."), PhoneBook::EntryCount);
        outcome = PhoneBookFiles::load(path, book());
    }
    if (!outcome.accepted) {
        Prompts::current().information(outcome.rejection);
        return;
    }

    // Only a load that went through reaches the document, as one step with its model.
    const int model = outcome.book.SyubetuFlag;
    commitPhoneBook(std::move(outcome.book), model);
    showDeviceType(model == ModelLM630Std ? 0 : 1);
    selectPosition(0);
    ListView1->setFocus();
    for (const QString &message : outcome.messages())
        Prompts::current().information(message);
    DropFlag = false;
}

void TFormMain::commitPhoneBook(PhoneBook &&book, int model)
{
    closeEditors();
    document_.load(std::move(book), model);
}

void TFormMain::dropFiles(const QStringList &paths)
{
    if (paths.isEmpty() || paths.first().isEmpty())
        return;
    const QString path = paths.first();
    const QString suffix = lowerSuffix(path);
    if (suffix != QStringLiteral("csv") && suffix != QStringLiteral("leg")) {
        Prompts::current().warning(QStringLiteral("読み込めないファイル形式です。"), true);
        return;
    }
    if (book().Modified) {
        const Prompts::Answer answer = Prompts::current().confirmWithCancel(
            QStringLiteral("[%1]は、変更されています。\r\n保存しますか？").arg(book().FileName));
        if (answer == Prompts::Answer::Cancel)
            return;
        if (answer == Prompts::Answer::Yes && S1Click() == SaveOutcome::Cancelled)
            return;
    }
    if (suffix == QStringLiteral("leg"))
        openPhoneBookFile(path);
    else
        openLegacyCsv(path);
}
