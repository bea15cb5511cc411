#include "gridreport.h"

#include "grid/gridmodel.h"
#include "reportpainter.h"

#include <vector>

namespace korvesta {

namespace {

constexpr int kLandscapeColumns = 6;
constexpr double kInchMm = 25.4;

ReportContent::Align alignOf(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return ReportContent::Align::Center;
    if (alignment & Qt::AlignRight)
        return ReportContent::Align::Right;
    return ReportContent::Align::Left;
}

ReportContent::Row gridRow(const GridModel &grid, int row, const std::vector<int> &shown)
{
    ReportContent::Row out;
    const bool fixed = row < grid.fixedRows();
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const int col = shown[i];
        ReportContent::Cell cell;
        const CellRange range = grid.shownRange(row, col);
        const bool merged = range.isValid() && !range.isSingleCell();
        // A block merged down shows its text in its top row; one merged across is the cell
        // of its first shown column, spanning the shown columns it covers.
        const bool covered =
            merged && (row > range.top || (i > 0 && shown[i - 1] >= range.left));
        const bool leftmost = !(i > 0 && shown[i - 1] >= range.left);
        if (!covered || (merged && leftmost)) {
            (covered ? cell.carried : cell.text) =
                merged ? grid.text(range.top, range.left) : grid.text(row, col);
            while (merged && i + std::size_t(cell.span) < shown.size()
                   && shown[i + std::size_t(cell.span)] <= range.right)
                ++cell.span;
        }
        if (fixed || grid.hasOwnBackColor(row, col))
            cell.background = grid.cellBackColor(row, col);
        const QColor fore = grid.cellForeColor(row, col);
        if (fore.isValid() && fore != QColor(Qt::black))
            cell.foreground = fore;
        cell.bold = fixed || grid.cellBold(row, col);
        out.cells.push_back(cell);
    }
    return out;
}

} // namespace

ReportContent gridReport(const GridModel &grid, const GridPrintOptions &options)
{
    ReportContent content;
    content.pageHeader = options.title;
    content.headerPoints = 11;
    content.fontPoints = options.fontPoints;
    content.leftMarginMm = kInchMm;
    content.landscape = grid.cols() >= kLandscapeColumns;

    // Columns with no text at all (the outline's, a row header's) carry nothing to paper.
    std::vector<int> shown;
    for (int col = 0; col < grid.cols(); ++col) {
        if (grid.isColHidden(col) || grid.colWidth(col) <= 0)
            continue;
        bool text = false;
        for (int row = 0; row < grid.rows() && !text; ++row)
            text = !grid.isRowHidden(row) && !grid.text(row, col).trimmed().isEmpty();
        if (text)
            shown.push_back(col);
    }
    // Each column as wide on paper as the grid has it, in proportion, but never narrower
    // than its longest word: a lesson number or a day's name is not broken in two.
    const double page = reportArea(content).width();
    std::vector<double> least(shown.size(), 0), width(shown.size(), 0);
    double total = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        total += grid.colWidth(shown[i]);
        for (int row = 0; row < grid.rows(); ++row) {
            if (!grid.isRowHidden(row))
                least[i] = std::max(least[i], reportWordWidth(grid.text(row, shown[i]),
                                                              options.fontPoints,
                                                              row < grid.fixedRows()));
        }
    }
    // The columns held at their least width leave the rest of the page to the others, in
    // proportion; a column that then falls below its least is held too.
    std::vector<bool> fixed(shown.size(), false);
    for (int round = 0; round < 3; ++round) {
        double room = page, shares = 0;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            if (fixed[i])
                room -= least[i];
            else
                shares += grid.colWidth(shown[i]);
        }
        for (std::size_t i = 0; i < shown.size(); ++i) {
            width[i] = fixed[i] ? least[i]
                                : (shares > 0 ? std::max(0.0, room) * grid.colWidth(shown[i]) / shares
                                              : 0);
            if (!fixed[i] && width[i] < least[i])
                fixed[i] = true;
        }
    }
    double sum = 0;
    for (const double w : width)
        sum += w;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        ReportContent::Column column;
        column.width = sum > 0 ? width[i] / sum : (total > 0 ? grid.colWidth(shown[i]) / total : 1);
        column.align = alignOf(grid.colAlignment(shown[i]));
        content.columns.push_back(column);
    }
    if (options.teachingLoad && content.columns.size() >= 2) {
        // The rest share what the first two leave, as the grid has them.
        const double rest = 1 - content.columns[0].width - content.columns[1].width;
        const double scale = rest > 0 ? 0.42 / rest : 0;
        for (std::size_t i = 2; i < content.columns.size(); ++i)
            content.columns[i].width *= scale;
        content.columns[0] = {QString(), 0.38, ReportContent::Align::Left};
        content.columns[1] = {QString(), 0.20, ReportContent::Align::Center};
    }

    ReportContent::Block body;
    for (int row = 0; row < grid.rows(); ++row) {
        if (grid.isRowHidden(row))
            continue;
        ReportContent::Row out = gridRow(grid, row, shown);
        if (row < grid.fixedRows())
            content.headings.push_back(std::move(out));
        else
            body.rows.push_back(std::move(out));
    }
    content.blocks.push_back(std::move(body));
    return content;
}

} // namespace korvesta
