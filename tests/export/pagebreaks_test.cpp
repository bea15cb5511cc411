// Where exported sheets' printed pages begin: never inside a merged block (a month of days, a
// day of lessons with its total), never with the grand total alone, and smaller print when a
// block would not fit a page.

#include "export/exportformat.h"
#include "export/pagebreaks.h"
#include "export/sheetplan.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

SheetPlan planOf(int rows, int cols, double colWidth, double rowHeight)
{
    SheetPlan plan;
    plan.rows = rows;
    plan.cols = cols;
    plan.colWidths.assign(size_t(cols), colWidth);
    plan.colHidden.assign(size_t(cols), false);
    plan.rowHeights.assign(size_t(rows), rowHeight);
    plan.rowLevels.assign(size_t(rows), 0);
    plan.totalRows.assign(size_t(rows), false);
    plan.cells.assign(size_t(rows) * size_t(cols), SheetCell{});
    return plan;
}

ExportFormat landscape()
{
    ExportFormat f;
    f.landscape = true;
    f.titleRows = 1;
    f.titleCols = 1;
    return f;
}

TEST(PageBreaks, MonthsAndDaysStayWholeOnTheirPages)
{
    // Five months of twelve columns of 4 characters across a landscape page (some 25 such
    // columns fit): each page starts at a month, never inside one.
    SheetPlan months = planOf(5, 61, 4, 15);
    for (int m = 0; m < 5; ++m)
        months.merges.push_back({0, 1 + 12 * m, 0, 12 + 12 * m});
    const PageBreaks across = planPageBreaks(months, landscape());
    EXPECT_EQ(across.scale, 100);
    ASSERT_FALSE(across.cols.empty());
    for (const int col : across.cols)
        EXPECT_EQ((col - 1) % 12, 0) << col;

    // Three months, two thirds of a page too wide, print one page wide.
    SheetPlan three = planOf(5, 37, 4, 15);
    const PageBreaks oneWide = planPageBreaks(three, landscape());
    EXPECT_TRUE(oneWide.cols.empty());
    EXPECT_GE(oneWide.scale, 60);
    EXPECT_LT(oneWide.scale, 100);

    // A month wider than a page prints smaller, so that it still fits one.
    SheetPlan wide = planOf(5, 41, 4, 15);
    wide.merges.push_back({0, 1, 0, 40});
    const PageBreaks smaller = planPageBreaks(wide, landscape());
    EXPECT_LT(smaller.scale, 100);
    EXPECT_GE(smaller.scale, 50);
    EXPECT_TRUE(smaller.cols.empty());

    // Days of 14 lessons with their totals down a page that holds about one and a half.
    SheetPlan days = planOf(1 + 3 * 15, 3, 10, 20);
    for (int d = 0; d < 3; ++d) {
        days.merges.push_back({1 + 15 * d, 0, 14 + 15 * d, 0});
        days.totalRows[size_t(15 + 15 * d)] = true;
    }
    const PageBreaks down = planPageBreaks(days, landscape());
    EXPECT_EQ(down.rows, (std::vector<int>{16, 31}));

    // Nothing of the sort for a sheet fitted to its page or narrowed to its width.
    ExportFormat fitted = landscape();
    fitted.fitToPage = true;
    EXPECT_TRUE(planPageBreaks(days, fitted).rows.empty());
}

TEST(PageBreaks, TheGrandTotalNeverStandsAlone)
{
    // Rows that fill pages exactly up to the last one, the grand total.
    ExportFormat accounting;
    accounting.titleRows = 1;
    accounting.accounting = true;
    const double room = (841.9 - 0) * 0.96;
    const int perPage = int(room / 15);
    SheetPlan plan = planOf(1 + perPage + 1, 2, 10, 15);
    const PageBreaks breaks = planPageBreaks(plan, accounting);
    ASSERT_EQ(breaks.rows.size(), 1u);
    EXPECT_LT(breaks.rows.front(), plan.rows - 1);
}

} // namespace
} // namespace korvesta
