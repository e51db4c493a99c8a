#pragma once

#include <QDialog>
#include <QString>
#include <array>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class PhoneBookDocument;

// The group editor: name, ring tone, lamp, FAX and callback flag of one group. Built for
// the model in force and rebuilt when it changes.
class TFormGroupEdit : public QDialog {
    Q_OBJECT
public:
    TFormGroupEdit(PhoneBookDocument &document, QWidget *owner);

    QLineEdit *NameEdit = nullptr;
    QComboBox *CbMelody = nullptr;
    QComboBox *CbLamp = nullptr;
    QGroupBox *RadioFax = nullptr;
    QButtonGroup *RadioFaxItems = nullptr; // 0 する, 1 しない
    QGroupBox *RadioCb = nullptr;
    QButtonGroup *RadioCbItems = nullptr;
    QPushButton *Button2 = nullptr; // OK
    QPushButton *Button1 = nullptr; // キャンセル
    QToolButton *BitBtn1 = nullptr; // help

    QString OldGroupName, OldGroupMelody, OldGroupLamp, OldGroupFax, OldGroupCb;

    // Opening on a group of the group list: caption, values, remembered values.
    void loadGroup(int group);
    // Shows the window; the name field gets the focus when it was hidden.
    void showEditor();
    // The group the editor shows; -1 before the first opening.
    int shownGroup() const { return group_; }

    void Button2Click();
    void Button1Click();
    void BitBtn1Click();

    // The five texts the controls hold now: name as typed, ring tone, lamp, FAX, callback.
    std::array<QString, 5> currentValues() const;

    void reject() override; // Esc

private:
    QGroupBox *flagChoice(const QString &caption, QButtonGroup *&items);
    QString flagText(const QButtonGroup *items) const;

    PhoneBookDocument &document_;
    int group_ = -1;
    bool centred_ = false;
};
