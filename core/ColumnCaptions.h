#pragma once

#include <QStringList>

// The column captions of the entry list and the group list. The window's lists, the
// search kinds and the printed list show the same columns under the same names.
namespace ColumnCaptions {

// "短縮No.", then the eight fields of an entry in their positions.
const QStringList &entryColumns();
// "グループ", then the five fields of a group setting.
const QStringList &groupColumns();

} // namespace ColumnCaptions
