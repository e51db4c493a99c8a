#pragma once

#include "print/SpeedDialList.h"

#include <QPrintPreviewDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QPrintPreviewWidget;
class PhoneBookDocument;

// The print preview of the speed-dial list. Over the preview's own tool bar (zoom,
// portrait / landscape, page setup, print) it offers the list's options: the order, the
// columns and whether empty slots are printed. Every change shows at once; printing goes
// to any printer Qt knows or to a PDF file.
class TFormPrint : public QPrintPreviewDialog {
    Q_OBJECT
public:
    // The document must outlive the dialog; its book, in the entry list's current order,
    // is read again for every repaint. Printing changes nothing in it.
    explicit TFormPrint(const PhoneBookDocument &document, QWidget *parent = nullptr);

    QComboBox *CbOrder = nullptr;                                    // 並び順
    std::array<QCheckBox *, SpeedDialList::ColumnCount> CbColumns{}; // none for the slot
    QCheckBox *CbEmpty = nullptr;                                    // 空きの短縮も印刷する
    QPrintPreviewWidget *Preview = nullptr;

    SpeedDialList::Options options() const;

private:
    void paintPages(QPrinter *printer);

    const PhoneBookDocument &document_;
};
