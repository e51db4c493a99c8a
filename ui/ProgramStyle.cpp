#include "ui/ProgramStyle.h"

#include "ui/Pictures.h"

ProgramStyle::ProgramStyle() = default;

QIcon ProgramStyle::standardIcon(StandardPixmap picture, const QStyleOption *option, const QWidget *widget) const
{
    switch (picture) {
    case SP_ToolBarHorizontalExtensionButton:
        return Pictures::icon(Pictures::Kind::MoreRight);
    case SP_ToolBarVerticalExtensionButton:
        return Pictures::icon(Pictures::Kind::MoreDown);
    default:
        return QProxyStyle::standardIcon(picture, option, widget);
    }
}
