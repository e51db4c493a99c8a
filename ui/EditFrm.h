#pragma once

#include "core/WidthRules.h"

#include <QString>
#include <QWidget>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class PhoneBookDocument;
class TFormRt;

// The entry editor: shows one entry of the main list, checks every change against the
// character rules and writes it back; its arrows and ↑/↓ walk the list row by row,
// committing on the way. It is built for the model in force and rebuilt when it changes.
class TFormEdit : public QWidget {
    Q_OBJECT
public:
    // owner is the main window, over which the editor appears.
    TFormEdit(PhoneBookDocument &document, QWidget *owner);

    // The destination dialog of 着信先設定.
    void setDestinationDialog(TFormRt *dialog) { destinations_ = dialog; }
    // Opens the editor on the entry at a position of the main list; unapplied edits of
    // the entry shown before are discarded.
    void openAt(int position);

    // Set while the editor is being moved by the main list: the move writes nothing back.
    bool StopFlag = false;

    QLabel *LblNo = nullptr;
    QLineEdit *NameEdit = nullptr;
    QLineEdit *KanaEdit = nullptr;
    QLineEdit *NoEdit = nullptr;
    QComboBox *CbGroup = nullptr;
    QComboBox *CbMelody = nullptr;
    QComboBox *CbStNo = nullptr;
    QLineEdit *RtEdit = nullptr;
    QLineEdit *MemoEdit = nullptr;
    QLabel *RtLabel = nullptr;
    QLabel *MemoLabel = nullptr;
    QPushButton *Button1 = nullptr; // 反　映
    QPushButton *Button2 = nullptr; // 着信先設定
    QPushButton *Button3 = nullptr; // 変更前に戻す
    QToolButton *BitBtn1 = nullptr; // help
    QToolButton *UpDown1Prev = nullptr;
    QToolButton *UpDown1Next = nullptr;
    QLabel *Label1 = nullptr;

    // The entry's values as loaded (the ring tone after its adjustment).
    QString OldName, OldKana, OldNo, OldGroup, OldMelody, OldSt, OldRt, OldMemo;

    // The arrows' position: the row of the main list the editor stands on.
    int UpDown1Position() const { return position_; }
    // Sets the position; a change runs the changing step first, which may refuse it.
    bool setUpDown1Position(int position);
    // The arrows were clicked: one row back (-1) or on (+1), wrapping at both ends.
    void UpDown1Step(int step);
    bool UpDown1Changing();
    void UpDown1Click();

    // Loads the entry at a position of the main list into the fields.
    void loadEntry(int position);
    // Shows the destination and the memo when the model has them.
    void applyModelLayout();
    // Shows the editor; the name field gets the focus when it was hidden.
    void showEditor();

    // The slot number of the entry the editor shows; empty before the first opening.
    QString shownSlot() const { return shownSlot_; }
    // The entry's position in the main list now (it moves when the list is sorted).
    int shownPosition() const;

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void BitBtn1Click();

    // ↑ (-1) and ↓ (+1): check, move, load.
    void navigateByKey(int step);
    // NoEditKeyPress: whether a typed text passes the phone-number key filter.
    static bool NoEditKeyPress(const QString &typed);

    // The eight values the fields hold now, in the order of the entry's fields.
    std::array<QString, 8> currentValues() const;
    std::array<QString, 8> rememberedValues() const;

signals:
    // The editor wrote the entry at a position and leaves its row: the row loses its selection.
    void rowLeft(int position);
    // The arrows moved the editor to a row: the main list selects and shows it.
    void rowEntered(int position);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void setValues(const std::array<QString, 8> &values);
    void remember(const std::array<QString, 8> &values);
    // The entry check on the four text fields; a hidden memo is not the user's to fix.
    std::optional<CheckFailure> check() const;
    void showFailure(const CheckFailure &failure, bool selectText);
    QLineEdit *fieldOf(CheckedField field) const;
    // Writes the fields into the entry shown; returns its position or -1.
    int writeBack();
    bool memoShown() const;

    PhoneBookDocument &document_;
    QWidget *owner_;
    TFormRt *destinations_ = nullptr;
    int position_ = 0;
    QString shownSlot_;
    bool centred_ = false;
};
