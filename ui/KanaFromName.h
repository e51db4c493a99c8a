#pragma once

#include "core/KanaFill.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QToolButton>

class QCheckBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class PhoneBookDocument;
class TFormSplush;

// The button beside the kana field of the entry editor: a click puts the reading proposed
// from the name into the kana field (the field's own undo brings back what was there);
// its arrow offers every reading proposed. Nothing is filled in unless the user asks.
class KanaFromNameButton : public QToolButton {
    Q_OBJECT
public:
    KanaFromNameButton(QLineEdit *name, QLineEdit *kana, QWidget *parent);

    void fillFromName();
    // Rebuilds the drop-down for the name shown; returns the readings it offers.
    QStringList refreshMenu();

private:
    void putKana(const QString &kana);
    QLineEdit *name_;
    QLineEdit *kana_;
    QMenu *menu_;
};

// The rows of the preview of "カナを自動入力…": slot, name, current kana, proposed kana
// (editable, kept in the kana field's form) and the other readings; a row is applied
// while its check box is on.
class KanaPreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    KanaPreviewModel(const PhoneBook &book, QObject *parent);
    enum Column { Slot, Name, CurrentKana, Proposed, Alternatives, ColumnCount };

    void setRows(const QList<KanaRow> &rows);
    QList<KanaChange> acceptedChanges() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        KanaRow proposals;
        QString kana; // what will be written
        bool accepted = true;
    };
    const PhoneBook &book_;
    QList<Row> rows_;
};

// The caption of the command, in the entry pop-up menu and the 編集 menu.
QString kanaFillCaption();

// The window of "カナを自動入力…" over the selected entries (every entry when none is).
class TFormKanaFill : public QDialog {
    Q_OBJECT
public:
    TFormKanaFill(PhoneBookDocument &document, TFormSplush *splush, const QList<int> &selected, QWidget *parent);

    QCheckBox *CbAlsoFilled = nullptr; // also entries that have a kana
    QTableView *ListView1 = nullptr;
    KanaPreviewModel *Preview = nullptr;
    QPushButton *Button1 = nullptr; // 反映
    QPushButton *Button2 = nullptr; // キャンセル

    // Proposes for the entries chosen, behind the progress window for a long run.
    void propose();
    // Writes the accepted rows into the document as one step that can be undone, and closes.
    void Button1Click();

private:
    PhoneBookDocument &document_;
    TFormSplush *splush_;
    QList<int> selected_;
};

// "カナを自動入力…": proposes for the selected entries and applies what the user accepts.
void runKanaFill(PhoneBookDocument &document, TFormSplush *splush, const QList<int> &selected, QWidget *parent);

// Fills the empty kana of every named entry of a phone book from its name, behind the
// progress window (the import's "カナを名前から作る", before the import replaces the
// document). Throws DalvinoError, before any change, when the dictionary cannot be loaded.
void fillEmptyKanaFromNames(PhoneBook &book, TFormSplush *splush);

// The caption of the import window's check box.
QString kanaFromNameCaption();
