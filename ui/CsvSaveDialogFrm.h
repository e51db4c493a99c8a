#pragma once

#include <QDialog>
#include <QSortFilterProxyModel>

#include <functional>

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QListView;
class QPushButton;
class QToolButton;

// The items the chooser lists: folders (except those named "….zip", which count as files)
// and the files of the one extension.
class ChooserFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    // The listing rule for one item of the current folder.
    static bool listsItem(const QString &name, bool isDirectory, const QString &filter);

    void setRule(const QString &folder, const QString &filter);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    QString folder_;
    QString filter_;
};

// The program's own chooser of a file to write: a folder browser that lists only folders
// and files of one extension and always hands back a path ending in that extension.
class TFormCsvSaveDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFormCsvSaveDialog(QWidget *parent = nullptr);

    QString Filter = QStringLiteral("csv"); // without the dot, lower case
    QString FileName;                       // the chosen path, after OK

    QComboBox *ShellComboBox1;
    QToolButton *SpeedButton1;
    QListView *ShellListView1;
    QLineEdit *Edit1;
    QComboBox *ComboBox1;
    QPushButton *Button1;
    QPushButton *Button2;

    QString currentFolder() const { return folder_; }
    void setCurrentFolder(const QString &folder);
    // Refills the folder list and the type box so that the current Filter applies.
    void RefreshList();
    // The paths the list shows, in its order (folders and files).
    QStringList listedPaths() const;

    void FormShow();
    void ShellComboBox1Change(int index);
    void SpeedButton1Click();
    void ShellListView1Click(const QModelIndex &index);
    void ShellListView1DblClick(const QModelIndex &index);
    void Button1Click();

    // Folder and typed name joined, the extension replaced by "." + filter. An extension
    // that is the filter in another letter case is kept: DATA.CSV names that file itself.
    static QString chosenPath(const QString &folder, const QString &typed, const QString &filter);
    static QString overwriteQuestion(const QString &path);

    // The file the caller writes for a chosen path; the question before replacing a file
    // names that file. By default the chosen path itself.
    using WrittenPath = std::function<QString(const QString &chosen)>;
    WrittenPath writtenPath;

    // Sets the filter, the caption and the written path, refills the list and shows the
    // chooser modally; the chosen path, or an empty text when the user cancelled.
    QString choose(const QString &filter, const QString &caption, WrittenPath written = {});

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillFolderBox();

    QFileSystemModel *files_;
    ChooserFilterModel *listed_;
    QString folder_;
};
