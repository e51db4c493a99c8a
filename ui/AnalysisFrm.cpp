#include "ui/AnalysisFrm.h"

#include "core/PhoneBook.h"
#include "formats/TextFile.h"
#include "ui/CommandGuard.h"
#include "ui/FileChoices.h"
#include "ui/SplushFrm.h"
#include "ui/TextDlgs.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString ReportPurpose = QStringLiteral("report");

// The registered dialog of the report: the window's own dialog, which keeps the last
// folder and name between uses.
QString runSaveDialog(TExtChangeSaveDialog &dialog, const FileChoices::Request &request)
{
    if (!request.filter.isEmpty())
        dialog.Filter = request.filter;
    if (!request.caption.isEmpty())
        dialog.Title = request.caption;
    if (!request.initialName.isEmpty())
        dialog.FileName = request.initialName;
    return dialog.Execute() ? dialog.FileName : QString();
}

} // namespace

TFormAnalysis::TFormAnalysis(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FormAnalysis"));
    resize(520, 420);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setUndoRedoEnabled(false);

    BtnSave = new QPushButton(this);
    BtnSave->setObjectName(QStringLiteral("BtnSave"));
    BtnClose = new QPushButton(this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    connect(BtnSave, &QPushButton::clicked, this, [this] { runGuarded([this] { BtnSaveClick(); }); });
    connect(BtnClose, &QPushButton::clicked, this, [this] { BtnCloseClick(); });

    SaveDialog = new TExtChangeSaveDialog(this);
    SaveDialog->Options = TExtChangeOpenDialog::ofOverwritePrompt | TExtChangeOpenDialog::ofEnableSizing;
    SaveDialog->setShowPlacesBar(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnSave);
    buttons->addWidget(BtnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Memo1, 1);
    layout->addLayout(buttons);

    FormCreate();

    QPointer<TExtChangeSaveDialog> dialog = SaveDialog;
    FileChoices::registerDialog(ReportPurpose, [dialog](QWidget *parent, const FileChoices::Request &request) {
        if (dialog)
            return runSaveDialog(*dialog, request);
        // The window is gone (the program is ending): a dialog of its own kind.
        TExtChangeSaveDialog fallback(parent);
        fallback.Options = TExtChangeOpenDialog::ofOverwritePrompt | TExtChangeOpenDialog::ofEnableSizing;
        return runSaveDialog(fallback, request);
    });
}

void TFormAnalysis::FormCreate()
{
    setWindowTitle(QStringLiteral("レポート"));
    SaveDialog->Filter = reportFilter();
    BtnSave->setText(QStringLiteral("テキスト保存"));
    BtnClose->setText(QStringLiteral("閉じる"));
}

QString TFormAnalysis::reportFilter()
{
    return QStringLiteral("TXTファイル|*.txt");
}

void TFormAnalysis::setReport(const QString &text)
{
    ReportText = text;
    // The text area ends a line at a lone CR as well: show the lines by LF alone.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Memo1->setPlainText(shown);
}

void TFormAnalysis::showReport()
{
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void TFormAnalysis::BtnSaveClick()
{
    const QString path = FileChoices::current().choose(this, {ReportPurpose, QString(), reportFilter(), QString()});
    if (path.isEmpty())
        return;
    writeText(path, ReportText);
}

void TFormAnalysis::BtnCloseClick()
{
    close();
}

QString TFormAnalysis::progressDetail(int position)
{
    return QStringLiteral("短縮") + PhoneBook::slotNumber(position) + QStringLiteral("解析中...");
}

std::function<void(int)> TFormAnalysis::progressOn(TFormSplush *splush)
{
    if (!splush)
        return {};
    return [splush](int position) {
        splush->setDetail(progressDetail(position));
        splush->setPosition(position + 1);
    };
}
