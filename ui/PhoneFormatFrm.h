#pragma once

#include <QDialog>
#include <QString>

class QPushButton;
class TReportMemo;

// The preview of the bulk number form: the old and new numbers and the numbers left
// alone, shown before anything is changed.
class TFormPhoneFormat : public QDialog {
    Q_OBJECT
public:
    explicit TFormPhoneFormat(QWidget *parent = nullptr);

    TReportMemo *Memo1 = nullptr;
    QPushButton *BtnApply = nullptr; // 変更する; only when there is something to change
    QPushButton *BtnCancel = nullptr;

    // Shows the preview modally; true when the user chose to apply it.
    bool ask(const QString &preview, bool anyChange);
};
