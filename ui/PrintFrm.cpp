#include "ui/PrintFrm.h"

#include "core/ColumnCaptions.h"
#include "print/SpeedDialPages.h"
#include "ui/PhoneBookDocument.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <algorithm>

TFormPrint::TFormPrint(const PhoneBookDocument &document, QWidget *parent)
    : QPrintPreviewDialog(parent), document_(document)
{
    printer()->setPageLayout(SpeedDialPages::pageLayout(QPageLayout::Portrait));
    printer()->setDocName(SpeedDialList::title());
    Preview = findChild<QPrintPreviewWidget *>();

    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("PrintOptions"));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(8, 4, 8, 0);
    row->addWidget(new QLabel(QStringLiteral("並び順"), bar));
    CbOrder = new QComboBox(bar);
    CbOrder->addItems(SpeedDialList::orderCaptions());
    row->addWidget(CbOrder);
    row->addSpacing(16);
    row->addWidget(new QLabel(QStringLiteral("印刷する項目"), bar));
    const QStringList &captions = ColumnCaptions::entryColumns();
    for (int column = SpeedDialList::Name; column < SpeedDialList::ColumnCount; ++column) {
        CbColumns[column] = new QCheckBox(captions.at(column), bar);
        CbColumns[column]->setChecked(true);
        row->addWidget(CbColumns[column]);
        connect(CbColumns[column], &QCheckBox::toggled, Preview, &QPrintPreviewWidget::updatePreview);
    }
    row->addSpacing(16);
    CbEmpty = new QCheckBox(QStringLiteral("空きの短縮も印刷する"), bar);
    row->addWidget(CbEmpty);
    row->addStretch();
    connect(CbOrder, &QComboBox::currentIndexChanged, Preview, &QPrintPreviewWidget::updatePreview);
    connect(CbEmpty, &QCheckBox::toggled, Preview, &QPrintPreviewWidget::updatePreview);

    // The options head the dialog, over its tool bar, and the dialog grows to show them whole.
    if (auto *stack = qobject_cast<QBoxLayout *>(layout())) {
        stack->insertWidget(0, bar);
        resize(std::max(width(), stack->sizeHint().width()), std::max(height(), 720));
    }

    connect(this, &QPrintPreviewDialog::paintRequested, this, &TFormPrint::paintPages);
}

SpeedDialList::Options TFormPrint::options() const
{
    SpeedDialList::Options options;
    options.order = static_cast<SpeedDialList::Order>(CbOrder->currentIndex());
    options.filledOnly = !CbEmpty->isChecked();
    for (int column = SpeedDialList::Name; column < SpeedDialList::ColumnCount; ++column)
        options.columns[column] = CbColumns[column]->isChecked();
    options.date = QDate::currentDate();
    return options;
}

void TFormPrint::paintPages(QPrinter *printer)
{
    SpeedDialPages::paint(*printer, SpeedDialList::build(document_.book(), options()));
}
