#pragma once

#include "core/EditorRules.h"

#include <QDialog>

class QComboBox;
class QPushButton;
class QRadioButton;

// The incoming-destination dialog: all extensions, one of nine extension groups or one
// single extension. Created once; it keeps its radio choice between uses.
class TFormRt : public QDialog {
    Q_OBJECT
public:
    explicit TFormRt(QWidget *parent = nullptr);

    QRadioButton *RadioButton1 = nullptr; // 一斉着信（初期）
    QRadioButton *RadioButton2 = nullptr; // 内線グループ指定
    QRadioButton *RadioButton3 = nullptr; // 内線個別指定
    QComboBox *ComboBox1 = nullptr;       // グループＡ … グループＩ
    QComboBox *ComboBox2 = nullptr;       // 実装01 … 実装34
    QPushButton *Button1 = nullptr;       // OK
    QPushButton *Button2 = nullptr;       // キャンセル

    // Opening without the modal loop: clears both lists and preselects from text.
    void prepare(const QString &text);
    // Opens the dialog modally on text; on OK returns true and sets result.
    bool choose(const QString &text, QString &result);
    // The destination text of the last OK.
    QString resultText() const { return result_; }

    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void Button1Click();
    void Button2Click();

    // The choice the dialog shows now.
    EditorRules::DestinationChoice currentChoice() const;

    void reject() override; // Esc

private:
    void check(EditorRules::DestinationChoice::Kind kind);

    QString current_;
    QString result_;
};
