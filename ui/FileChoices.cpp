#include "ui/FileChoices.h"

#include <QFileDialog>
#include <QHash>

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
        return QFileDialog::getOpenFileName(parent, request.caption, request.initialName, qtFilter(request.filter),
                                            nullptr, QFileDialog::DontUseNativeDialog);
    }

    QHash<QString, Dialog> dialogs;
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
