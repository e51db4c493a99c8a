#pragma once

#include <QFileDialog>

class QLineEdit;

// Qt's own file dialog whose extension follows the chosen file type, with a switch for
// the places bar along its left edge.
class TExtChangeOpenDialog : public QFileDialog {
    Q_OBJECT
public:
    enum Option {
        ofOverwritePrompt = 0x1, // ask before a save replaces an existing file
        ofEnableSizing = 0x2,    // the dialog can be resized
    };

    explicit TExtChangeOpenDialog(QWidget *parent = nullptr);

    // Pairs of description and pattern joined by "|", as "TXTファイル|*.txt".
    QString Filter;
    // The selected type, counted from 1.
    int FilterIndex = 1;
    // Appended (after a dot) to a name chosen without an extension.
    QString DefaultExt;
    // The chosen file: given to the dialog when it opens, set when the user confirms.
    QString FileName;
    QString Title;
    QString InitialDir;
    int Options = ofEnableSizing;

    bool AutoExtChange() const { return FAutoExtChange; }
    void setAutoExtChange(bool on) { FAutoExtChange = on; }
    bool ShowPlacesBar() const { return FShowPlacesBar; }
    void setShowPlacesBar(bool on);

    // Shows the dialog; true when the user confirmed a file name (then in FileName).
    virtual bool Execute();

    // The dialog has been shown.
    void DoShow();
    // The user picked another file type; FilterIndex already holds its number.
    void DoTypeChange();

    QLineEdit *fileNameField() const;
    QWidget *placesBar() const;

    // What Execute does before the dialog opens, and takes from it when it closes.
    void prepareExecute();
    void takeResult();

    // The OK button: the save variant asks before it replaces a file.
    void accept() override;

    // The question before a save replaces a file.
    static QString overwriteQuestion(const QString &path);

protected:
    bool run(AcceptMode mode);
    void showEvent(QShowEvent *event) override;

    bool FAutoExtChange = true;
    QWidget *FParentHandle = nullptr;
    bool FShowPlacesBar = true;

private:
    void typeSelected(const QString &nameFilter);
};

// Makes the places along the left edge of Qt's file dialog as wide as their names.
void widenFileDialogPlaces(QFileDialog *dialog);

// The save-file variant.
class TExtChangeSaveDialog : public TExtChangeOpenDialog {
    Q_OBJECT
public:
    explicit TExtChangeSaveDialog(QWidget *parent = nullptr);
    bool Execute() override;
};
