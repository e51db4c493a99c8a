#include "ui/Pictures.h"

#include <QString>

// The pictures are SVG files in ui/pictures/pictures.qrc, drawn sharp at any scaling. A
// static library's resources are registered by hand, once, outside any namespace.
static void registerPictures()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace Pictures {

QIcon icon(Kind kind)
{
    registerPictures();
    static const char *const files[] = {
        // in the order of Kind
        "new",  "open", "import",       "save",      "save-as",    "search",    "analysis",
        "exit", "help", "number-check", "folder-up", "more-right", "more-down",
    };
    return QIcon(QStringLiteral(":/pictures/%1.svg").arg(QLatin1StringView(files[static_cast<int>(kind)])));
}

} // namespace Pictures
