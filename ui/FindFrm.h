#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTreeWidget;
class PhoneBookDocument;

// The search dialog: lists the entries whose chosen field (or any field) contains a
// text and jumps to a hit in the main list. Created once; the kind, the text, the hits
// and the status texts stay between openings.
class TFormFind : public QDialog {
    Q_OBJECT
public:
    TFormFind(const PhoneBookDocument &document, QWidget *owner);

    QComboBox *ComboBox1 = nullptr; // 検索種別
    QLineEdit *EFind = nullptr;     // 検索条件
    QTreeWidget *ListView1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *StatusPanel0 = nullptr; // number of hits
    QLabel *StatusPanel1 = nullptr; // kind and text of the last search
    QPushButton *Button1 = nullptr; // 検　索
    QPushButton *Button2 = nullptr; // 閉じる
    QPushButton *BitBtn1 = nullptr; // help
    QLabel *Label3 = nullptr;

    void Button1Click();
    void ListView1DblClick();
    void Button2Click();
    void BitBtn1Click();

    // The captions of the search kinds, "全て" first, then the eight fields.
    static const QStringList &kindCaptions();

signals:
    // A hit was chosen: the main list moves to the entry at that position.
    void found(int position);

private:
    void FormCreate();

    const PhoneBookDocument &document_;
};
