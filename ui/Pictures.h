#pragma once

#include <QIcon>

// The small pictures of the menus, the tool bar and the windows' buttons.
namespace Pictures {
enum class Kind {
    New, Open, Import, Save, SaveAs, Search, Analysis, Exit, Help,
    NumberCheck,   // a page of numbers with a tick
    FolderUp,      // the file chooser's "up one folder" button
    MoreRight,     // a menu bar or tool bar too narrow for its items: "»"
    MoreDown,      // the same for a vertical bar
};
QIcon icon(Kind kind);
} // namespace Pictures
