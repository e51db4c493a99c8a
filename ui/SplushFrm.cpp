#include "ui/SplushFrm.h"

#include "ui/TextColor.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

TGauge::TGauge(QWidget *parent) : QWidget(parent)
{
    setFixedHeight(20);
}

int TGauge::percentOf(int position, int maximum)
{
    if (maximum <= 0)
        return 0;
    position = qBound(0, position, maximum);
    return static_cast<int>(static_cast<qint64>(position) * 100 / maximum);
}

int TGauge::percentDone() const
{
    return percentOf(progress_, maxValue_);
}

void TGauge::setMaxValue(int maxValue)
{
    const int old = percentDone();
    maxValue_ = qMax(0, maxValue);
    repaintIfPercentChanged(old);
}

void TGauge::setProgress(int position)
{
    const int old = percentDone();
    progress_ = qBound(0, position, maxValue_);
    repaintIfPercentChanged(old);
}

void TGauge::repaintIfPercentChanged(int oldPercent)
{
    if (percentDone() == oldPercent)
        return;
    ++repaints_;
    if (isVisible())
        repaint();
}

void TGauge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int percent = percentDone();
    const QString figure = QStringLiteral("%1%").arg(percent);
    const QRect done(0, 0, width() * percent / 100, height());
    const QRect rest(done.right() + 1, 0, width() - done.width(), height());
    // The figure in white where the bar has reached it and in black on the white rest,
    // so that it reads wherever the bar ends.
    painter.fillRect(rest, Qt::white);
    painter.setPen(Qt::black);
    painter.setClipRect(rest);
    painter.drawText(rect(), Qt::AlignCenter, figure);
    painter.fillRect(done, Qt::blue);
    painter.setPen(Qt::white);
    painter.setClipRect(done);
    painter.drawText(rect(), Qt::AlignCenter, figure);
    painter.setClipping(false);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

TFormSplush::TFormSplush(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("起動中"));
    setFixedSize(287, 84);
    setAutoFillBackground(true);

    Label1 = new QLabel(QStringLiteral("起動中..."), this);
    Label1->setFixedHeight(33);
    Label1->setAlignment(Qt::AlignCenter);
    QFont titleFont = Label1->font();
    titleFont.setPixelSize(24);
    titleFont.setBold(true);
    titleFont.setItalic(true);
    Label1->setFont(titleFont);
    setTextColor(Label1, Qt::black);

    Label2 = new QLabel(defaultDetail(), this);
    Label2->setAlignment(Qt::AlignCenter);
    QFont detailFont = Label2->font();
    detailFont.setPixelSize(12);
    Label2->setFont(detailFont);
    setTextColor(Label2, Qt::red);

    Gauge1 = new TGauge(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(0);
    layout->addWidget(Label1);
    layout->addWidget(Label2, 1);
    layout->addWidget(Gauge1);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QString TFormSplush::defaultDetail()
{
    return QStringLiteral("しばらくお待ちください");
}

void TFormSplush::setTitle(const QString &text)
{
    Label1->setText(text);
    if (isVisible())
        Label1->repaint();
}

void TFormSplush::setDetail(const QString &text)
{
    Label2->setText(text);
    if (isVisible())
        Label2->repaint();
}

void TFormSplush::showNow()
{
    show();
    raise();
    repaint();
}

std::function<void(int)> TFormSplush::progressCallback()
{
    return [this](int position) { Gauge1->setProgress(position); };
}

void TFormSplush::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

ProgressScope::ProgressScope(TFormSplush *splush, const QString &title, int maximum) : splush_(splush)
{
    if (!splush_)
        return;
    splush_->setPosition(0);
    splush_->setMaximum(maximum);
    splush_->setTitle(title);
    splush_->showNow();
}

ProgressScope::~ProgressScope()
{
    if (!splush_)
        return;
    splush_->hide();
    splush_->setDetail(TFormSplush::defaultDetail());
}

void ProgressScope::retitle(const QString &title)
{
    if (!splush_)
        return;
    splush_->hide();
    splush_->setTitle(title);
    splush_->showNow();
}
