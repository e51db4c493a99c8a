#pragma once

#include <QProxyStyle>

// The platform's style with the few standard pictures the windows ask for while they are
// built drawn by the program: the style's own are image files, and reading the first
// one loads Qt's image-format plug-ins, a noticeable part of the start-up.
class ProgramStyle : public QProxyStyle {
    Q_OBJECT
public:
    ProgramStyle();

    QIcon standardIcon(StandardPixmap picture, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};
