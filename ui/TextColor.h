#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

// Colours a widget's text through its palette. A style sheet would do the same, but each
// widget with one gets a style-sheet style of its own, which costs milliseconds when the
// windows are built at start-up.
inline void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}
