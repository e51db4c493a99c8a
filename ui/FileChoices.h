#pragma once

#include <QString>

class QWidget;

// Every choice of a file goes through this interface, so that tests can answer it with
// a path or a cancel. Each method returns the chosen path, or an empty text when the
// user cancelled. The production implementation shows the program's dialogs.
class FileChoices {
public:
    struct Request {
        QString purpose; // which command asks: "open", "import", "save", "export", "report"
        QString caption;
        QString filter;     // the dialog's filter, e.g. "電話帳ファイル|*.csv;*.leg", or an extension
        QString initialName; // a proposed name or folder
    };

    virtual ~FileChoices() = default;
    virtual QString choose(QWidget *parent, const Request &request) = 0;

    static FileChoices &current();
    // Installs c (not owned); nullptr puts the program's dialogs back.
    static void install(FileChoices *c);
    // The program's dialogs, registered by the window that owns them.
    static void setDefault(FileChoices *c);
};
