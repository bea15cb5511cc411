#include "pagebreaks.h"

#include "exportformat.h"
#include "sheetplan.h"

#include <algorithm>

namespace korvesta {

namespace {

// A4 in points, and what a spreadsheet's units come to in points: a column of w characters
// of the default font is 7w + 5 pixels, a pixel three quarters of a point; a row of the
// default height is 15 points.
constexpr double kA4Short = 595.3, kA4Long = 841.9;
constexpr double kDefaultColumn = 8.43, kDefaultRow = 15;
// The page estimated a little smaller than it is, so that the program's own breaks never
// come first.
constexpr double kSafety = 0.96;
// A reader whose default font is wider than the book's (LibreOffice prints a column of the
// same width in characters a fifth wider than Excel): columns are measured as it does.
constexpr double kWiderReader = 1.22;

double columnPoints(const SheetPlan &plan, int col)
{
    if (plan.colHidden[size_t(col)])
        return 0;
    const double width = plan.colWidths[size_t(col)] < 0 ? kDefaultColumn
                                                          : plan.colWidths[size_t(col)];
    return (width * 7 + 5) * 0.75 * kWiderReader;
}

double rowPoints(const SheetPlan &plan, int row)
{
    const double height = plan.rowHeights[size_t(row)];
    return height < 0 ? kDefaultRow : height;
}

// Breaks along one direction: the items first..count-1 of the sizes given, on pages of
// `room` after the repeated items. `inside(b)` tells whether a break before b would cut a
// block; such a break moves back to the block's start (when that leaves the page anything).
template<typename Size, typename Inside>
std::vector<int> breaksAlong(int first, int count, double room, Size size, Inside inside,
                             bool keepLastWithPrevious)
{
    std::vector<int> breaks;
    int pageStart = first;
    double used = 0;
    for (int i = first; i < count; ++i) {
        const double s = size(i);
        if (used + s <= room || i == pageStart) {
            used += s;
            continue;
        }
        int at = i;
        while (at > pageStart + 1 && inside(at))
            --at;
        if (inside(at)) // a block longer than a page: the program breaks it where it must
            at = i;
        breaks.push_back(at);
        pageStart = at;
        used = 0;
        for (int k = at; k <= i; ++k)
            used += size(k);
    }
    // The last item (the grand total) alone on its page goes with the one before.
    if (keepLastWithPrevious && !breaks.empty() && breaks.back() == count - 1) {
        const int previousStart = breaks.size() > 1 ? breaks[breaks.size() - 2] : first;
        int at = count - 2;
        while (at > previousStart + 1 && inside(at))
            --at;
        if (at > previousStart && !inside(at))
            breaks.back() = at;
    }
    return breaks;
}

} // namespace

PageBreaks planPageBreaks(const SheetPlan &plan, const ExportFormat &format)
{
    PageBreaks breaks;
    if (format.fitToPage || plan.rows == 0 || plan.cols == 0)
        return breaks;
    constexpr double inch = 72;
    const double width = (format.landscape ? kA4Long : kA4Short)
                         - (format.margins.left + format.margins.right) * inch;
    const double height = (format.landscape ? kA4Short : kA4Long)
                          - (format.margins.top + format.margins.bottom) * inch;

    const int titleRows = std::min(format.titleRows, plan.rows);
    const int titleCols = std::min(format.titleCols, plan.cols);
    double titleHeight = 0, titleWidth = 0;
    for (int r = 0; r < titleRows; ++r)
        titleHeight += rowPoints(plan, r);
    for (int c = 0; c < titleCols; ++c)
        titleWidth += columnPoints(plan, c);

    // A totals row stays with the rows it sums.
    const auto insideRows = [&plan](int row) {
        if (size_t(row) < plan.totalRows.size() && plan.totalRows[size_t(row)])
            return true;
        return std::any_of(plan.merges.begin(), plan.merges.end(), [row](const SheetMerge &m) {
            return m.top < row && row <= m.bottom;
        });
    };
    const auto insideCols = [&plan](int col) {
        return std::any_of(plan.merges.begin(), plan.merges.end(), [col](const SheetMerge &m) {
            return m.left < col && col <= m.right;
        });
    };
    // A sheet narrowed to the page's width is printed smaller than measured here: the
    // program breaks its pages itself.
    if (format.widthsToPage)
        return breaks;
    // The widest block of columns (a month of days) is printed whole on a page: smaller when
    // it would not fit at full size (down to half).
    double widest = 0;
    for (const SheetMerge &m : plan.merges) {
        double w = 0;
        for (int c = std::max(m.left, titleCols); c <= m.right; ++c)
            w += columnPoints(plan, c);
        widest = std::max(widest, w);
    }
    const double across = (width - titleWidth) * kSafety;
    if (widest > across && across > 0)
        breaks.scale = std::max(50, int(across / widest * 100));
    // A sheet that is at most two thirds too wide prints one page wide, a little smaller,
    // rather than on pages of a few columns each.
    double all = 0;
    for (int c = titleCols; c < plan.cols; ++c)
        all += columnPoints(plan, c);
    const bool oneWide = all > 0 && across > 0 && across / all >= 0.6;
    if (oneWide && all > across)
        breaks.scale = int(across / all * 100);
    // And the tallest block of rows (a day of lessons with its total) whole on a page.
    double tallest = 0;
    for (const SheetMerge &m : plan.merges) {
        if (m.top < titleRows || m.bottom == m.top)
            continue;
        double h = 0;
        int last = m.bottom;
        while (last + 1 < plan.rows && size_t(last + 1) < plan.totalRows.size()
               && plan.totalRows[size_t(last + 1)])
            ++last;
        for (int r = m.top; r <= last; ++r)
            h += rowPoints(plan, r);
        tallest = std::max(tallest, h);
    }
    const double down = (height - titleHeight) * kSafety;
    if (tallest > down && down > 0)
        breaks.scale = std::min(breaks.scale, std::max(50, int(down / tallest * 100)));
    const double zoom = 100.0 / breaks.scale;
    breaks.rows = breaksAlong(
        titleRows, plan.rows, (height * zoom - titleHeight) * kSafety,
        [&plan](int r) { return rowPoints(plan, r); }, insideRows, format.accounting);
    if (!oneWide)
        breaks.cols = breaksAlong(
            titleCols, plan.cols, (width * zoom - titleWidth) * kSafety,
            [&plan](int c) { return columnPoints(plan, c); }, insideCols, false);
    return breaks;
}

} // namespace korvesta
