#pragma once

#include "print/SpeedDialList.h"

#include <QPageLayout>

class QPagedPaintDevice;

// The speed-dial list on paper: a title on the first page, the rows under a header row
// that every page repeats, no row split between pages, the group settings at the end and
// "1 / 5" at the foot of each page. The same painting feeds the print preview, a printer
// and the PDF file, so all three show the same pages.
namespace SpeedDialPages {

// A4 in the orientation, with the margins the list is laid out in.
QPageLayout pageLayout(QPageLayout::Orientation orientation);

// Paints the content on the device's pages within its page layout; returns the number
// of pages painted (0 when the device cannot be painted on).
int paint(QPagedPaintDevice &device, const SpeedDialList::Content &content);

// Writes the content as a PDF file in one atomic step; returns its number of pages. Throws DalvinoError
// "ファイル "%s" を作成できません。%s" when it cannot be written; an existing file is
// then left as it was.
int writePdf(const QString &path, const SpeedDialList::Content &content, QPageLayout::Orientation orientation);

} // namespace SpeedDialPages
