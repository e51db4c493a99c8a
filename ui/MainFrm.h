#pragma once

#include "ui/PhoneBookDocument.h"

#include <QMainWindow>
#include <QStringList>

class QAction;
class QButtonGroup;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSplitter;
class QTableView;
class QUndoStack;
class QToolBar;
class EntryListModel;
class GroupListModel;
class TFormSplush;
class TFormEdit;
class TFormGroupEdit;
class TFormRt;
class TFormHelp;
class TVerForm;
class TFormAnalysis;
class TFormInport;
class TFormCsvSaveDialog;
class TFormFind;
class TFormPhoneFormat;

// The main window: it owns the one phone book for the whole run, shows it in the entry
// list and the group list, and starts every command.
class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    // FormCreate: builds the window and the empty phone book behind the progress window.
    // arguments are the program's command-line arguments without the program itself.
    TFormMain(TFormSplush *splush, const QStringList &arguments, QWidget *parent = nullptr);
    ~TFormMain() override;

    // Creates the windows that live for the whole run, each once.
    void createOtherWindows();

    // The document every window changes.
    PhoneBookDocument &document() { return document_; }
    const PhoneBook &book() const { return document_.book(); }

    bool NewFlag = true;
    bool DropFlag = false;
    QString DropFileName;

    // The model choice (-1 nothing chosen, 0 LM630Std, 1 LM630Pro).
    int deviceType() const;
    void setDeviceType(int choice);
    // The current model; a change runs SyubetuClick.
    int model() const { return book().Syubetu; }
    void setModel(int index);
    int writeMode() const;
    void setWriteMode(int mode);

    // The modified flag of the document (the status panel follows it).
    void setModified(bool modified) { document_.setModified(modified); }
    // Selects the row at a position, gives it the focus mark and scrolls it into view.
    void selectPosition(int position);
    // The positions of the selected rows, in ascending order.
    QList<int> selectedPositions() const;
    int focusedPosition() const;
    // Moves to a row found by a search: the first selected row loses its selection, the
    // row is selected, focused and scrolled into view, and the list gets the input focus.
    void jumpToPosition(int position);

    // Commits a phone book read completely from a file: open editors close without
    // writing, and the book replaces the document as one step, with its model.
    void commitPhoneBook(PhoneBook &&book, int model);

    // The steps of the history, as the 編集 menu runs them.
    void undo();
    void redo();

    // The unsaved-changes question of New, closing and opening. Returns false when the
    // user answered Yes and then cancelled the save.
    bool askToSaveChanges();
    static QString unsavedChangesText(const QString &fileName);

    enum class SaveOutcome { Saved, Cancelled };
    // The file Save writes for a document of that name under the current model.
    QString savedPath(const QString &name) const;

    // Commands.
    void N1Click();
    void O1Click();
    void I1Click();
    SaveOutcome S1Click();
    SaveOutcome A1Click();
    void csvC1Click();
    void P1Click();
    void ToolButton6Click();
    void L1Click(); // the number and duplicate check
    void N5Click(); // numbers of the selected entries (or of all) into one form
    void X1Click();
    void Z1Click();
    void H2Click();
    void V1Click();
    void N4Click();
    void N11Click(int groupIndex);
    void N22Click(int ringIndex);
    void N012Click(int extensionIndex);
    // カナを自動入力…: over the selected entries, every entry when none is selected.
    void kanaFillClick();
    void BtnSpaceFindClick();
    void ListView1DblClick();
    void GroupListDblClick();
    void ListView1ColumnClick(int column);
    void RadioGroup1Click();
    void SyubetuClick();
    void UserNameChange();
    void UserNoChange();
    void WriteModeClick(int mode);

    // Opening a named file: the phone-book reader (.xml / .leg) and the legacy CSV reader.
    void openPhoneBookFile(const QString &path);
    void openLegacyCsv(const QString &path);
    // Files dropped on the window.
    void dropFiles(const QStringList &paths);

    void FormShow();
    void FormActivate();
    // Enter on a list with a selected row opens its editor; returns whether the key was taken.
    bool FormKeyDown(QObject *target, const QKeyEvent *key);
    // Returns whether the window may close; writes the settings file in every case.
    bool FormCloseQuery();

    // The settings file.
    void loadSettings();
    void saveSettings();
    bool startsMaximized() const { return startMaximized_; }

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Widgets, named as the behaviour knows them; tests find them by objectName.
    QTableView *ListView1 = nullptr;
    EntryListModel *EntryModel = nullptr;
    QTableView *GroupList = nullptr;
    GroupListModel *GroupModel = nullptr;
    QLineEdit *UserName = nullptr;
    QLineEdit *UserNo = nullptr;
    QPushButton *BtnSpaceFind = nullptr;
    QGroupBox *RadioGroup1 = nullptr;
    QButtonGroup *RadioGroup1Items = nullptr;
    QGroupBox *WriteMode = nullptr;
    QButtonGroup *WriteModeItems = nullptr;
    QLabel *StatusPanel0 = nullptr;
    QLabel *StatusPanel1 = nullptr;
    QToolBar *ToolBar1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    TFormSplush *Splush = nullptr;
    TFormEdit *FormEdit = nullptr;           // rebuilt when the model changes
    TFormGroupEdit *FormGroupEdit = nullptr; // rebuilt when the model changes
    TFormFind *FormFind = nullptr;
    TFormRt *FormRt = nullptr;
    TVerForm *VerForm = nullptr;
    TFormHelp *FormHelp = nullptr;
    TFormAnalysis *FormAnalysis = nullptr;       // the report window
    TFormAnalysis *FormLint = nullptr;           // the report window of the number check, built on first use
    TFormPhoneFormat *FormPhoneFormat = nullptr; // built on first use
    TFormInport *FormInport = nullptr;
    TFormCsvSaveDialog *CsvSaveDialog = nullptr; // the file chooser of Save and the CSV export

    // Menu commands.
    QAction *N1 = nullptr;             // 新規作成
    QAction *O1 = nullptr;             // 開く
    QAction *I1 = nullptr;             // CSVファイルのインポート
    QAction *S1 = nullptr;             // 上書き保存
    QAction *A1 = nullptr;             // 名前を付けて保存
    QAction *csvC1 = nullptr;          // CSVファイルとしてエクスポート
    QAction *P1 = nullptr;             // 印刷
    QAction *D1 = nullptr;             // データ解析
    QAction *L1 = nullptr;             // 番号と重複のチェック
    QAction *X1 = nullptr;             // 終了
    QAction *UndoAction = nullptr;     // 元に戻す
    QAction *RedoAction = nullptr;     // やり直し
    QAction *KanaFillAction = nullptr; // カナを自動入力… (also in the pop-up menu)
    QAction *Z1 = nullptr;             // 検索
    QAction *H2 = nullptr;             // ヘルプを表示
    QAction *V1 = nullptr;             // バージョン情報
    // Pop-up menu of the entry list.
    QAction *N4 = nullptr;           // クリア
    QAction *N5 = nullptr;           // 番号の書式をそろえる
    QList<QAction *> GroupItems;     // グループ０ … グループ９, 個別
    QList<QAction *> RingItems;      // the thirteen ring tones
    QList<QAction *> ExtensionItems; // 00 … 32

    // The window follows the document.
    void connectDocument();
    void showModified(bool modified);
    // The caption "Dalvino - [FileName]".
    void updateCaption();
    // Shows the customer fields of the phone book in their boxes.
    void showCustomer();
    void showWriteMode(int mode);
    void updateUndoActions();
    static QString undoCaption(); // 元に戻す
    static QString redoCaption(); // やり直し
    // Closes the entry and the group editor without writing: New, every load and a step
    // of the history replace what their unapplied values belonged to.
    void closeEditors();
    // Builds the entry editor and the group editor for the model in force; rebuilding
    // replaces them once they exist.
    void buildEditors();
    void rebuildEditors();
    // Bulk change of one field of the selected rows to the caption of a menu item.
    void bulkChange(int field, const QString &question, const QAction *item);
    // Sets the model choice without it counting as the user's choice.
    void showDeviceType(int choice);
    void showModelChoice();
    void runHistoryStep(bool (QUndoStack::*possible)() const, void (QUndoStack::*run)());
    void buildMenus();
    void buildToolBar();
    void buildPopupMenu();
    void buildPanels();
    void updatePopupRingCaptions();
    // Runs New behind the progress window with the given title.
    void runNewWithProgress(const QString &title);
    // Places the window from the settings when it lies on a screen.
    void applyPlacement(int top, int left, int width, int height);
    // Gives the window the outer size of the settings once its frame is known.
    void fitOuterSize();
    // Puts the split between the entry list and the group area back as it was left.
    void restoreSplit();

    PhoneBookDocument document_;
    bool followingDocument_ = false; // the controls are being set from the document
    bool shown_ = false;
    bool startMaximized_ = false;
    QSplitter *listSplitter_ = nullptr; // the entry list above, the group area below
    QGroupBox *groupArea_ = nullptr;
    QSize requestedOuterSize_;
    int requestedGroupHeight_ = -1;
};
