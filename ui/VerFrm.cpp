#include "ui/VerFrm.h"

#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

namespace {

// The product picture: a desk telephone on a transparent background.
QPixmap productPicture()
{
    QPixmap pixmap(88, 38);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // Handset.
    QPainterPath handset;
    handset.addRoundedRect(QRectF(4, 3, 40, 9), 4, 4);
    p.setPen(QPen(QColor(0x20, 0x30, 0x60), 1));
    p.setBrush(QColor(0x30, 0x50, 0xA0));
    p.drawPath(handset);
    // Body with display and keys.
    p.setBrush(QColor(0xE0, 0xE4, 0xEC));
    p.drawRoundedRect(QRectF(2, 14, 46, 22), 3, 3);
    p.setBrush(QColor(0x9F, 0xD0, 0x9F));
    p.drawRect(QRectF(6, 17, 16, 7));
    p.setBrush(Qt::white);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col)
            p.drawRect(QRectF(26 + col * 7, 17 + row * 6, 5, 4));
    }
    // The speed-dial book beside it.
    p.setBrush(QColor(0xC0, 0x40, 0x30));
    p.drawRect(QRectF(54, 8, 28, 28));
    p.setPen(Qt::white);
    for (int y = 14; y <= 30; y += 4)
        p.drawLine(QPointF(59, y), QPointF(77, y));
    return pixmap;
}

} // namespace

TVerForm::TVerForm(QWidget *parent, std::function<MemoryStatus()> memory)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      memory_(std::move(memory))
{
    setObjectName(QStringLiteral("VerForm"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setFixedSize(437, 96);

    Image1 = new QLabel(this);
    Image1->setPixmap(productPicture());
    Image1->setGeometry(8, 8, 88, 38);

    Label1 = new QLabel(QStringLiteral("Dalvino"), this);
    QFont title = Label1->font();
    title.setBold(true);
    title.setPointSize(title.pointSize() + 4);
    Label1->setFont(title);
    Label1->setGeometry(108, 4, 230, 26);

    Label2 = new QLabel(this);
    Label2->setGeometry(108, 30, 230, 18);
    Label4 = new QLabel(this);
    Label4->setGeometry(108, 52, 230, 18);
    Label5 = new QLabel(this);
    Label5->setGeometry(108, 72, 230, 18);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(350, 62, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    Timer1 = new QTimer(this);
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

void TVerForm::FormShow()
{
    Label2->setText(QStringLiteral("Version 1.40"));
    Timer1->start();
    showMemory();
}

void TVerForm::Timer1Timer()
{
    showMemory();
}

void TVerForm::Button1Click()
{
    accept();
}

void TVerForm::showMemory()
{
    const MemoryStatus status = memory_();
    Label4->setText(QStringLiteral("TotalMemory：") + formatMemoryFigure(status.totalPhys));
    Label5->setText(QStringLiteral("AvailMemory：") + formatMemoryFigure(status.availPhys));
}

void TVerForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

// Both ways of closing, OK and the close box, hide the dialog.
void TVerForm::hideEvent(QHideEvent *event)
{
    Timer1->stop();
    QDialog::hideEvent(event);
}
