#include "ui/FileChoices.h"

#include "ui/TextDlgs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QPointer>

namespace {

// Turns "電話帳ファイル|*.csv;*.leg" into Qt's "電話帳ファイル (*.csv *.leg)".
QString qtFilter(const QString &filter)
{
    const qsizetype bar = filter.indexOf(u'|');
    if (bar < 0)
        return filter;
    QString patterns = filter.mid(bar + 1);
    patterns.replace(u';', u' ');
    return filter.left(bar) + QStringLiteral(" (") + patterns + u')';
}

class ProgramDialogs : public FileChoices {
public:
    QString choose(QWidget *parent, const Request &request) override
    {
        const auto dialog = dialogs.constFind(request.purpose);
        if (dialog != dialogs.constEnd())
            return (*dialog)(parent, request);
        return openFile(parent, request);
    }

    QHash<QString, Dialog> dialogs;

private:
    // Qt's open-file dialog, one for each command, made at its first use and kept like
    // the program's other windows: it opens again in the folder the user last chose from.
    QString openFile(QWidget *parent, const Request &request)
    {
        QPointer<QFileDialog> &dialog = openDialogs[request.purpose];
        if (dialog && dialog->parentWidget() != parent)
            delete dialog;
        if (!dialog) {
            dialog = new QFileDialog(parent);
            dialog->setOption(QFileDialog::DontUseNativeDialog);
            dialog->setAcceptMode(QFileDialog::AcceptOpen);
            dialog->setFileMode(QFileDialog::ExistingFile);
            widenFileDialogPlaces(dialog);
        }
        dialog->setWindowTitle(request.caption);
        dialog->setNameFilter(qtFilter(request.filter));
        if (!request.initialName.isEmpty())
            dialog->selectFile(request.initialName);
        if (dialog->exec() != QDialog::Accepted)
            return QString();
        const QString chosen = dialog->selectedFiles().value(0);
        // Next time it opens where this file lies, also when its full path was typed.
        dialog->setDirectory(QFileInfo(chosen).absolutePath());
        return chosen;
    }

    QHash<QString, QPointer<QFileDialog>> openDialogs;
};

ProgramDialogs &programDialogs()
{
    static ProgramDialogs dialogs;
    return dialogs;
}

FileChoices *installed = nullptr;

} // namespace

FileChoices &FileChoices::current() { return installed ? *installed : programDialogs(); }

void FileChoices::install(FileChoices *c) { installed = c; }

void FileChoices::registerDialog(const QString &purpose, Dialog dialog)
{
    programDialogs().dialogs.insert(purpose, std::move(dialog));
}
