#include "ui/PhoneFormatFrm.h"

#include "ui/AnalysisFrm.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFormPhoneFormat::TFormPhoneFormat(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormPhoneFormat"));
    setWindowTitle(QStringLiteral("番号の書式をそろえる"));
    resize(520, 420);

    Memo1 = new TReportMemo(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    BtnApply = new QPushButton(QStringLiteral("変更する"), this);
    BtnApply->setObjectName(QStringLiteral("BtnApply"));
    BtnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    connect(BtnApply, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnApply);
    buttons->addWidget(BtnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Memo1, 1);
    layout->addLayout(buttons);
}

bool TFormPhoneFormat::ask(const QString &preview, bool anyChange)
{
    Memo1->setPlainText(preview);
    BtnApply->setEnabled(anyChange);
    BtnApply->setDefault(anyChange);
    BtnCancel->setText(anyChange ? QStringLiteral("キャンセル") : QStringLiteral("閉じる"));
    return exec() == QDialog::Accepted && anyChange;
}
