#pragma once

#include <QProxyStyle>

// The platform's style with the program's own pictures for the bars' extension buttons,
// so that they look like the other pictures of the windows.
class ProgramStyle : public QProxyStyle {
    Q_OBJECT
public:
    ProgramStyle();

    QIcon standardIcon(StandardPixmap picture, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};
