#pragma once

#include <QString>
#include <functional>

class QWidget;

// Every choice of a file goes through this interface, so that tests can answer it with
// a path or a cancel. choose returns the chosen path, or an empty text when the user
// cancelled.
class FileChoices {
public:
    struct Request {
        QString purpose;     // which command asks: "open", "import", "save", "export", "report"
        QString caption;     // the dialog's caption
        QString filter;      // e.g. "電話帳ファイル|*.csv;*.leg", or the chooser's extension "leg"
        QString initialName; // a proposed file name or folder
    };
    using Dialog = std::function<QString(QWidget *parent, const Request &request)>;

    virtual ~FileChoices() = default;
    virtual QString choose(QWidget *parent, const Request &request) = 0;

    // What a test installed, or the program's dialogs.
    static FileChoices &current();
    // Installs c (not owned); nullptr puts the program's dialogs back.
    static void install(FileChoices *c);
    // The program's dialog for one purpose, registered by the window that owns it. A
    // purpose without a registered dialog gets Qt's own open-file dialog.
    static void registerDialog(const QString &purpose, Dialog dialog);
};
