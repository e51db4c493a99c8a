#pragma once

#include "formats/CsvImport.h"
#include "formats/TextEncoding.h"

#include <QAbstractTableModel>
#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;
class PhoneBookDocument;
class TFormSplush;

// The preview of a CSV file: one column per field, one line per non-empty line. It
// reads the table it holds; no widget item per cell, so large files stay fast.
class CsvPreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setTable(CsvImport::Table table);
    void clear();
    const CsvImport::Table &table() const { return table_; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static QString fieldCaption(int field); // "フィールド1" for field 0

private:
    CsvImport::Table table_;
};

// The mapping window of the CSV import: the user says which field holds what and which
// rows to take, and the rows become a new phone book.
class TFormInport : public QDialog {
    Q_OBJECT
public:
    // The import replaces the document's phone book; splush is the progress window.
    TFormInport(PhoneBookDocument &document, TFormSplush *splush, QWidget *owner);

    QTableView *ListView1 = nullptr;
    CsvPreviewModel *Preview = nullptr;
    QComboBox *ComboBox1 = nullptr;  // name
    QComboBox *ComboBox2 = nullptr;  // kana
    QComboBox *ComboBox3 = nullptr;  // phone number
    QComboBox *ComboBox4 = nullptr;  // group
    QComboBox *ComboBox5 = nullptr;  // ring tone
    QComboBox *ComboBox6 = nullptr;  // memo
    QSpinBox *SpinEdit1 = nullptr;   // start row
    QSpinBox *SpinEdit2 = nullptr;   // end row
    QPushButton *Button1 = nullptr;  // キャンセル
    QPushButton *Button2 = nullptr;  // Ｏ　Ｋ
    QPushButton *Button3 = nullptr;  // 開始行に設定
    QPushButton *Button4 = nullptr;  // 終了行に設定
    QPushButton *BitBtn1 = nullptr;  // help
    QComboBox *CbEncoding = nullptr; // 自動, Shift-JIS, UTF-8, UTF-16
    QLabel *EncodingFound = nullptr; // the encoding 自動 chose

    // Empties the preview, the selectors and the row range.
    void resetWindow();
    // Reads a file into the window behind the progress window, in the encoding 自動
    // finds; throws DalvinoError when it cannot be read or is empty. Tells the user what
    // the reading met (quotes that never closed, fields beyond the last offered).
    void loadFile(const QString &path);
    // Shows a table: its columns, the selectors' items and its rows. keepChoices keeps
    // the fields chosen that the table still has.
    void showTable(CsvImport::Table table, bool keepChoices = false);

    // The encoding chosen, or found when 自動 is chosen.
    TextEncoding encoding() const;
    // Reads the file again in the encoding chosen: the preview changes at once.
    void CbEncodingChange();

    CsvImport::Request request() const;

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void BitBtn1Click();

signals:
    // The import is about to replace the phone book: open editors close first.
    void importing();

private:
    void FormCreate();
    QList<QComboBox *> selectors() const;
    int selectedRow() const; // from 1; 0 when no preview row is selected
    // Decodes the file (read from disk when fromDisk, else the bytes read before) in the
    // encoding chosen and shows it, behind the progress window.
    void showFile(bool fromDisk, bool keepChoices);

    PhoneBookDocument &document_;
    TFormSplush *splush_;
    QString path_;           // of the file shown
    QByteArray bytes_;       // its contents
    QList<QLabel *> labels_; // of the six selectors, the start row and the end row
};
