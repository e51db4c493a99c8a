#include "ui/Pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace Pictures {

namespace {

void page(QPainter &p)
{
    QPainterPath sheet;
    sheet.moveTo(4, 2);
    sheet.lineTo(14, 2);
    sheet.lineTo(19, 7);
    sheet.lineTo(19, 21);
    sheet.lineTo(4, 21);
    sheet.closeSubpath();
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
    p.drawPath(sheet);
    p.drawLine(14, 2, 14, 7);
    p.drawLine(14, 7, 19, 7);
}

void folder(QPainter &p)
{
    p.setPen(QPen(QColor(0x8A, 0x62, 0x10), 1));
    p.setBrush(QColor(0xE8, 0xB8, 0x4A));
    p.drawRect(2, 6, 19, 14);
    p.drawRect(2, 4, 8, 3);
}

void floppy(QPainter &p, const QColor &body)
{
    p.setPen(QPen(QColor(0x20, 0x30, 0x50), 1));
    p.setBrush(body);
    p.drawRect(3, 3, 17, 17);
    p.setBrush(Qt::white);
    p.drawRect(6, 3, 11, 6);
    p.setBrush(QColor(0x30, 0x30, 0x30));
    p.drawRect(7, 13, 9, 7);
}

// A vertical arrow at x from tail to tip, its head four pixels each way.
void verticalArrow(QPainter &p, const QPen &pen, int x, int tail, int tip)
{
    const int head = tip + (tail > tip ? 4 : -4);
    p.setPen(pen);
    p.drawLine(x, tail, x, tip);
    p.drawLine(x - 4, head, x, tip);
    p.drawLine(x + 4, head, x, tip);
}

// "»": more items than the bar has room for.
void doubleChevron(QPainter &p)
{
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
    p.drawPolyline(QPolygon({QPoint(6, 7), QPoint(11, 12), QPoint(6, 17)}));
    p.drawPolyline(QPolygon({QPoint(12, 7), QPoint(17, 12), QPoint(12, 17)}));
}

void draw(QPainter &p, Kind kind)
{
    switch (kind) {
    case Kind::New:
        page(p);
        p.setPen(QPen(QColor(0xE0, 0xA0, 0x00), 2));
        p.drawLine(15, 13, 21, 13);
        p.drawLine(18, 10, 18, 16);
        break;
    case Kind::Open:
        folder(p);
        p.setBrush(QColor(0xF6, 0xD2, 0x7A));
        p.drawPolygon(QPolygon({QPoint(5, 10), QPoint(22, 10), QPoint(19, 20), QPoint(2, 20)}));
        break;
    case Kind::Import:
        page(p);
        verticalArrow(p, QPen(QColor(0x20, 0x90, 0x30), 3), 11, 8, 17);
        break;
    case Kind::Save:
        floppy(p, QColor(0x3A, 0x6E, 0xC8));
        break;
    case Kind::SaveAs:
        floppy(p, QColor(0x3A, 0x6E, 0xC8));
        p.setPen(QPen(QColor(0xC0, 0x30, 0x30), 2));
        p.drawLine(14, 21, 22, 13);
        break;
    case Kind::Search:
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
        p.setBrush(QColor(0xC8, 0xE0, 0xF8));
        p.drawEllipse(3, 3, 12, 12);
        p.setPen(QPen(QColor(0x60, 0x40, 0x20), 3));
        p.drawLine(14, 14, 21, 21);
        break;
    case Kind::Analysis:
        p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
        p.drawLine(3, 20, 21, 20);
        p.drawLine(3, 3, 3, 20);
        p.setBrush(QColor(0x40, 0x90, 0xD0));
        p.drawRect(6, 12, 3, 8);
        p.setBrush(QColor(0xE0, 0x60, 0x40));
        p.drawRect(11, 6, 3, 14);
        p.setBrush(QColor(0x50, 0xB0, 0x50));
        p.drawRect(16, 9, 3, 11);
        break;
    case Kind::NumberCheck:
        page(p);
        p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
        for (int y = 7; y <= 15; y += 4)
            p.drawLine(7, y, 14, y);
        p.setPen(QPen(QColor(0x20, 0x90, 0x30), 3));
        p.drawPolyline(QPolygon({QPoint(10, 15), QPoint(14, 19), QPoint(22, 9)}));
        break;
    case Kind::Exit:
        p.setPen(QPen(QColor(0x50, 0x50, 0x50), 1));
        p.setBrush(QColor(0xB0, 0x80, 0x50));
        p.drawRect(5, 2, 11, 19);
        p.setPen(QPen(QColor(0xC0, 0x20, 0x20), 3));
        p.drawLine(12, 11, 21, 11);
        p.drawLine(18, 8, 21, 11);
        p.drawLine(18, 14, 21, 11);
        break;
    case Kind::Help: {
        p.setPen(QPen(QColor(0x20, 0x50, 0xA0), 1));
        p.setBrush(QColor(0x40, 0x80, 0xE0));
        p.drawEllipse(2, 2, 19, 19);
        // The question mark as strokes: a text would load a bold font just for this.
        QPainterPath hook;
        hook.moveTo(8, 9);
        hook.cubicTo(8, 4, 16, 4, 15.5, 8.5);
        hook.cubicTo(15, 11, 11.5, 11, 11.5, 14.5);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(hook);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(11.5, 17.8), 1.5, 1.5);
        break;
    }
    case Kind::FolderUp:
        folder(p);
        verticalArrow(p, QPen(QColor(0x20, 0x60, 0x20), 2), 12, 18, 9);
        break;
    case Kind::MoreRight:
        doubleChevron(p);
        break;
    case Kind::MoreDown:
        // The same "»", turned to point down.
        p.translate(24, 0);
        p.rotate(90);
        doubleChevron(p);
        break;
    }
}

} // namespace

QIcon icon(Kind kind)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, kind);
    painter.end();
    return QIcon(pixmap);
}

} // namespace Pictures
