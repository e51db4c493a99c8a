#include "print/SpeedDialPages.h"

#include "core/DalvinoError.h"
#include "formats/TextFile.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace SpeedDialPages {

namespace {

constexpr double MarginMillimetres = 15;
constexpr double TitlePoints = 16;
constexpr double TextPoints = 9;
constexpr double FootPoints = 8;
constexpr double RowSpacing = 1.6;       // row height in lines of the text font
constexpr double ColumnShareLimit = 0.4; // no column takes more of the width than this

// A Japanese font that a PDF can embed; the IPA Gothic font comes with the program's
// set-up, the others are found on many desktops.
QString fontFamily()
{
    const QStringList families = QFontDatabase::families();
    for (const QString &family : {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                                  QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP")}) {
        if (families.contains(family))
            return family;
    }
    return QString();
}

QFont makeFont(double points, bool bold = false)
{
    QFont font(fontFamily());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A table's columns: where each starts and how wide it is, in device pixels, and the
// width of every text, measured once (shaping Japanese text is most of the work).
struct Columns {
    std::vector<double> left;
    std::vector<double> width;
    std::vector<double> headerAdvance;
    std::vector<double> advance; // row by row
    const double *rowAdvances(int row) const { return advance.data() + row * left.size(); }
};

// Each column as wide as its widest text, then all stretched or shrunk together to the
// page width; one overlong text cannot take most of the page.
Columns fitColumns(const QFontMetricsF &headerMetrics, const QFontMetricsF &metrics, const QStringList &headers,
                   const std::vector<QStringList> &rows, double pageWidth, double padding)
{
    const int count = static_cast<int>(headers.size());
    Columns columns;
    std::vector<double> natural(count);
    for (int c = 0; c < count; ++c) {
        columns.headerAdvance.push_back(headerMetrics.horizontalAdvance(headers.at(c)));
        natural[c] = columns.headerAdvance.back();
    }
    columns.advance.reserve(rows.size() * count);
    for (const QStringList &row : rows) {
        for (int c = 0; c < count; ++c) {
            columns.advance.push_back(row.at(c).isEmpty() ? 0 : metrics.horizontalAdvance(row.at(c)));
            natural[c] = std::max(natural[c], columns.advance.back());
        }
    }
    double total = 0;
    for (double &width : natural) {
        width = std::min(width + 2 * padding, pageWidth * ColumnShareLimit);
        total += width;
    }
    double x = 0;
    for (double width : natural) {
        columns.left.push_back(x);
        columns.width.push_back(width * pageWidth / total);
        x += columns.width.back();
    }
    return columns;
}

class PagePainter {
public:
    PagePainter(QPagedPaintDevice &device, QPainter &painter)
        : device_(device), painter_(painter), dpi_(device.logicalDpiY()), width_(device.width()),
          height_(device.height()), title_(makeFont(TitlePoints, true)), text_(makeFont(TextPoints)),
          bold_(makeFont(TextPoints, true)), foot_(makeFont(FootPoints)), textMetrics_(text_, &device),
          boldMetrics_(bold_, &device), titleMetrics_(title_, &device), footMetrics_(foot_, &device)
    {
        padding_ = points(3);
        rowHeight_ = std::ceil(textMetrics_.height() * RowSpacing);
        footHeight_ = footMetrics_.height() * 2;
        titleHeight_ = titleMetrics_.height() + textMetrics_.height() * 2;
    }

    int paint(const SpeedDialList::Content &content)
    {
        const Columns entryColumns =
            fitColumns(boldMetrics_, textMetrics_, content.headers, content.rows, width_, padding_);
        const Columns groupColumns =
            fitColumns(boldMetrics_, textMetrics_, content.groupHeaders, content.groupRows, width_, padding_);

        // Rows per page: the first page holds the title, every page a header row and the foot.
        const double body = height_ - footHeight_ - rowHeight_;
        const int firstPageRows = std::max(1, static_cast<int>((body - titleHeight_) / rowHeight_));
        const int pageRows = std::max(1, static_cast<int>(body / rowHeight_));
        std::vector<int> pageStarts{0};
        const int rowCount = static_cast<int>(content.rows.size());
        for (int next = firstPageRows; next < rowCount; next += pageRows)
            pageStarts.push_back(next);
        const int lastRows = rowCount - pageStarts.back();
        const double lastBottom = (pageStarts.size() == 1 ? titleHeight_ : 0) + rowHeight_ * (1 + lastRows);
        const double groupsHeight =
            rowHeight_ + textMetrics_.height() * 1.5 + rowHeight_ * (1 + static_cast<double>(content.groupRows.size()));
        const bool groupsApart = lastBottom + groupsHeight > height_ - footHeight_;
        const int pageCount = static_cast<int>(pageStarts.size()) + (groupsApart ? 1 : 0);

        for (int page = 0; page < static_cast<int>(pageStarts.size()); ++page) {
            if (page > 0)
                device_.newPage();
            double y = 0;
            if (page == 0)
                y = paintTitle(content);
            const int first = pageStarts[page];
            const int end = page + 1 < static_cast<int>(pageStarts.size()) ? pageStarts[page + 1] : rowCount;
            y = paintTable(entryColumns, content.headers, content.rows, first, end, y);
            if (page + 1 == static_cast<int>(pageStarts.size()) && !groupsApart)
                paintGroups(content, groupColumns, y);
            paintFoot(page + 1, pageCount);
        }
        if (groupsApart) {
            device_.newPage();
            paintGroups(content, groupColumns, 0);
            paintFoot(pageCount, pageCount);
        }
        return pageCount;
    }

private:
    double points(double value) const { return value * dpi_ / 72.0; }

    double paintTitle(const SpeedDialList::Content &content)
    {
        painter_.setFont(title_);
        painter_.drawText(QPointF(0, titleMetrics_.ascent()), content.title);
        painter_.setFont(text_);
        const double dateWidth = textMetrics_.horizontalAdvance(content.date);
        painter_.drawText(QPointF(width_ - dateWidth, titleMetrics_.ascent()), content.date);
        painter_.drawText(QPointF(0, titleMetrics_.height() + textMetrics_.ascent() + textMetrics_.height() * 0.3),
                          content.customer);
        return titleHeight_;
    }

    // One row's texts; a text wider than its cell is narrowed to fit rather than cut.
    void paintRow(const Columns &columns, const QStringList &texts, const double *advances, double top,
                  const QFontMetricsF &metrics)
    {
        const double baseline = top + (rowHeight_ - metrics.height()) / 2 + metrics.ascent();
        for (int c = 0; c < static_cast<int>(texts.size()); ++c) {
            const QString &text = texts.at(c);
            if (text.isEmpty())
                continue;
            const double room = columns.width[c] - 2 * padding_;
            const double advance = advances[c];
            if (advance <= room) {
                painter_.drawText(QPointF(columns.left[c] + padding_, baseline), text);
                continue;
            }
            painter_.save();
            painter_.translate(columns.left[c] + padding_, baseline);
            painter_.scale(room / advance, 1);
            painter_.drawText(QPointF(0, 0), text);
            painter_.restore();
        }
    }

    // The header row and the rows first … end - 1 from y down; returns the bottom.
    double paintTable(const Columns &columns, const QStringList &headers, const std::vector<QStringList> &rows,
                      int first, int end, double y)
    {
        const double tableWidth = columns.left.back() + columns.width.back();
        painter_.fillRect(QRectF(0, y, tableWidth, rowHeight_), QColor(225, 225, 225));
        painter_.setFont(bold_);
        paintRow(columns, headers, columns.headerAdvance.data(), y, boldMetrics_);
        painter_.setFont(text_);
        const double top = y;
        y += rowHeight_;
        painter_.setPen(QPen(QColor(170, 170, 170), points(0.4)));
        for (int r = first; r < end; ++r) {
            y += rowHeight_;
            painter_.drawLine(QPointF(0, y), QPointF(tableWidth, y));
        }
        for (double left : columns.left)
            painter_.drawLine(QPointF(left, top), QPointF(left, y));
        painter_.drawLine(QPointF(tableWidth, top), QPointF(tableWidth, y));
        painter_.setPen(QPen(Qt::black, points(0.8)));
        painter_.drawRect(QRectF(0, top, tableWidth, rowHeight_));
        painter_.drawLine(QPointF(0, y), QPointF(tableWidth, y));
        painter_.setPen(Qt::black);
        double rowTop = top + rowHeight_;
        for (int r = first; r < end; ++r, rowTop += rowHeight_)
            paintRow(columns, rows[r], columns.rowAdvances(r), rowTop, textMetrics_);
        return y;
    }

    void paintGroups(const SpeedDialList::Content &content, const Columns &columns, double y)
    {
        if (y > 0)
            y += rowHeight_;
        painter_.setFont(bold_);
        painter_.drawText(QPointF(0, y + textMetrics_.ascent()), content.groupTitle);
        y += textMetrics_.height() * 1.5;
        paintTable(columns, content.groupHeaders, content.groupRows, 0, static_cast<int>(content.groupRows.size()), y);
    }

    void paintFoot(int page, int pageCount)
    {
        painter_.setFont(foot_);
        const QString text = SpeedDialList::pageNumberText(page, pageCount);
        painter_.drawText(
            QPointF((width_ - footMetrics_.horizontalAdvance(text)) / 2, height_ - footMetrics_.descent()), text);
        painter_.setFont(text_);
    }

    QPagedPaintDevice &device_;
    QPainter &painter_;
    double dpi_;
    double width_;
    double height_;
    QFont title_;
    QFont text_;
    QFont bold_;
    QFont foot_;
    QFontMetricsF textMetrics_;
    QFontMetricsF boldMetrics_;
    QFontMetricsF titleMetrics_;
    QFontMetricsF footMetrics_;
    double padding_ = 0;
    double rowHeight_ = 0;
    double footHeight_ = 0;
    double titleHeight_ = 0;
};

} // namespace

QPageLayout pageLayout(QPageLayout::Orientation orientation)
{
    return QPageLayout(QPageSize(QPageSize::A4), orientation,
                       QMarginsF(MarginMillimetres, MarginMillimetres, MarginMillimetres, MarginMillimetres),
                       QPageLayout::Millimeter);
}

int paint(QPagedPaintDevice &device, const SpeedDialList::Content &content)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    PagePainter pages(device, painter);
    const int count = pages.paint(content);
    painter.end();
    return count;
}

int writePdf(const QString &path, const SpeedDialList::Content &content, QPageLayout::Orientation orientation)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(pageLayout(orientation));
        writer.setTitle(content.title);
        writer.setCreator(QStringLiteral("Dalvino"));
        pages = paint(writer, content);
        if (pages == 0)
            throw DalvinoError(cannotCreateText(path, QStringLiteral("PDF")));
    }
    writeFileAtomically(path, buffer.data());
    return pages;
}

} // namespace SpeedDialPages
