#include "ui/FileChoices.h"

#include <QFileDialog>

namespace {

// Until the main window registers its dialogs, a plain open dialog serves.
class PlainFileDialogs : public FileChoices {
public:
    QString choose(QWidget *parent, const Request &request) override
    {
        QString filter = request.filter;
        const qsizetype bar = filter.indexOf(u'|');
        if (bar >= 0)
            filter = filter.left(bar) + QStringLiteral(" (") + filter.mid(bar + 1).replace(u';', u' ') + u')';
        return QFileDialog::getOpenFileName(parent, request.caption, request.initialName, filter, nullptr,
                                            QFileDialog::DontUseNativeDialog);
    }
};

FileChoices *installed = nullptr;
FileChoices *registered = nullptr;

} // namespace

FileChoices &FileChoices::current()
{
    static PlainFileDialogs plain;
    if (installed)
        return *installed;
    return registered ? *registered : plain;
}

void FileChoices::install(FileChoices *c) { installed = c; }

void FileChoices::setDefault(FileChoices *c) { registered = c; }
