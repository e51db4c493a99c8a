#pragma once

#include <QIcon>

// The small pictures of the menus and the tool bar, drawn here rather than loaded
// from image files, so that start-up reads no pictures from disk.
namespace Pictures {
enum class Kind { New, Open, Import, Save, SaveAs, Search, Analysis, Exit, Help };
QIcon icon(Kind kind);
} // namespace Pictures
