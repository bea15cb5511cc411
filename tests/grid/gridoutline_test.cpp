#include "grid/gridmodel.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

// The teaching load as its view lays it out: tutor, auditorium, discipline, group, hours,
// hours a week, under one header row and beside one empty fixed column.
void fillLoad(GridModel &grid)
{
    grid.clear();
    grid.setCols(7);
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    for (const char *row : {"\tПреподаватель\tАудитория\tДисциплина\tГруппа\tНагрузка\tВ неделю",
                            "\tИванов\t101\tМатематика\tИС-11\t40\t2",
                            "\tИванов\t101\tМатематика\tИС-12\t30\t2",
                            "\tИванов\t101\tМатематика\tИС-21\t20\t1",
                            "\tИванов\t101\tФизика\tИС-11\t10\t1",
                            "\tПетров\t\tХимия\tИС-12\t1200\t60"})
        grid.addRow(QString::fromUtf8(row));
}

// Each row as "level|col 1|...|col 6"; data rows have no level.
QStringList dump(const GridModel &grid)
{
    QStringList rows;
    for (int r = 0; r < grid.rows(); ++r) {
        QStringList cells{grid.isSubtotal(r) ? QString::number(grid.rowOutlineLevel(r)) : ""};
        for (int c = 1; c < grid.cols(); ++c)
            cells << grid.text(r, c);
        rows << cells.join('|');
    }
    return rows;
}

QList<int> visibleRows(const GridModel &grid)
{
    QList<int> rows;
    for (int r = 0; r < grid.rows(); ++r) {
        if (!grid.isRowHidden(r))
            rows << r;
    }
    return rows;
}

const QColor totalsBack(230, 230, 240);

// The six passes of the load view: per tutor, then per discipline.
std::vector<SubtotalSpec> loadSubtotals()
{
    std::vector<SubtotalSpec> passes;
    for (const int group : {1, 3}) {
        passes.push_back({Aggregate::Count, group, 4, {}, totalsBack});
        passes.push_back({Aggregate::Sum, group, 5, "#,##0", totalsBack});
        passes.push_back({Aggregate::Sum, group, 6, "#,##0", totalsBack, {}, true});
    }
    return passes;
}

const QStringList loadWithTotals = {
    "|Преподаватель|Аудитория|Дисциплина|Группа|Нагрузка|В неделю",
    "|Иванов|101|Математика|ИС-11|40|2",
    "|Иванов|101|Математика|ИС-12|30|2",
    "|Иванов|101|Математика|ИС-21|20|1",
    "3|||Count Математика|3|90|5",
    "|Иванов|101|Физика|ИС-11|10|1",
    "3|||Count Физика|1|10|1",
    "1|Count Иванов|||4|100|6",
    "|Петров||Химия|ИС-12|1200|60",
    "3|||Count Химия|1|1 200|60",
    "1|Count Петров|||1|1 200|60",
};

TEST(GridSubtotal, LoadViewTotalsInTheOrderTheViewAppliesThem)
{
    GridModel grid;
    fillLoad(grid);
    for (const SubtotalSpec &pass : loadSubtotals())
        grid.subtotal(pass);
    EXPECT_EQ(dump(grid), loadWithTotals);

    EXPECT_EQ(grid.subtotalKey(7), "Иванов");
    EXPECT_EQ(grid.subtotalKey(4), "Математика");
    EXPECT_EQ(grid.subtotalKey(5), "");
    EXPECT_TRUE(grid.cellBold(7, 6));
    EXPECT_FALSE(grid.cellBold(7, 5));
    EXPECT_EQ(grid.cellBackColor(7, 3), totalsBack);
    EXPECT_EQ(grid.cellBackColor(7, 0), grid.backColorFixed()); // fixed cells keep theirs
    EXPECT_EQ(grid.cellBackColor(5, 3), grid.backColor());

    // Totals never merge with the rows above them, nor with each other.
    grid.setMergeCells(MergeMode::Free);
    grid.setMergeCol(5, true);
    grid.setMergeCol(1, true);
    EXPECT_EQ(grid.mergedRange(6, 5), (CellRange{6, 5, 6, 5})); // "10" under "10"
    EXPECT_EQ(grid.mergedRange(10, 5), (CellRange{10, 5, 10, 5}));
    EXPECT_EQ(grid.mergedRange(2, 1), (CellRange{1, 1, 3, 1}));
}

// Inner groups totalled first give the same rows; clearing takes every total away.
TEST(GridSubtotal, PassesInAnyOrderGiveTheSameRowsAndClearAway)
{
    GridModel grid;
    fillLoad(grid);
    const QStringList before = dump(grid);
    std::vector<SubtotalSpec> passes = loadSubtotals();
    std::rotate(passes.begin(), passes.begin() + 3, passes.end());
    for (const SubtotalSpec &pass : passes)
        grid.subtotal(pass);
    EXPECT_EQ(dump(grid), loadWithTotals);
    grid.subtotal({Aggregate::Clear});
    EXPECT_EQ(dump(grid), before);
}

TEST(GridSubtotal, GrandTotalCaptionsAndEmptyGrids)
{
    GridModel grid;
    fillLoad(grid);
    grid.subtotal({Aggregate::Sum, -1, 5});
    grid.subtotal({Aggregate::Count, -1, 4}); // into the same row
    EXPECT_EQ(grid.rows(), 7);
    EXPECT_EQ(dump(grid).last(), "-1|Grand Total|||5|1300|");
    EXPECT_EQ(grid.rowOutlineLevel(6), -1);

    grid.subtotal({Aggregate::Max, 3, 5, {}, {}, {}, false, "Наибольшая: %s", 2});
    EXPECT_EQ(grid.text(4, 2), "Наибольшая: Математика");
    EXPECT_EQ(grid.text(4, 5), "40");
    EXPECT_EQ(dump(grid).last(), "-1|Grand Total|||5|1300|"); // still the last row

    // Nothing to total: nothing is added.
    grid.setRows(1);
    for (const SubtotalSpec &pass : loadSubtotals())
        grid.subtotal(pass);
    grid.subtotal({Aggregate::Sum, -1, 5});
    EXPECT_EQ(grid.rows(), 1);
}

TEST(GridOutline, CollapseToALevelAndExpand)
{
    GridModel grid;
    fillLoad(grid);
    for (const SubtotalSpec &pass : loadSubtotals())
        grid.subtotal(pass);

    EXPECT_EQ(grid.outlineGroup(7), (CellRange{1, 0, 6, 6}));
    EXPECT_EQ(grid.outlineGroup(4), (CellRange{1, 0, 3, 6}));
    EXPECT_EQ(grid.outlineGroup(10), (CellRange{8, 0, 9, 6}));
    EXPECT_FALSE(grid.outlineGroup(5).isValid());

    grid.outline(1); // the tutors' totals alone
    EXPECT_EQ(visibleRows(grid), (QList<int>{0, 7, 10}));
    grid.outline(2); // tutors open, disciplines closed
    EXPECT_EQ(visibleRows(grid), (QList<int>{0, 4, 6, 7, 9, 10}));
    grid.outline(grid.cols() - 1);
    EXPECT_EQ(visibleRows(grid).size(), grid.rows());

    // A node closed inside a closed node stays closed when its parent opens.
    grid.setCollapsed(4, true);
    grid.setCollapsed(7, true);
    EXPECT_EQ(visibleRows(grid), (QList<int>{0, 7, 8, 9, 10}));
    grid.setCollapsed(7, false);
    EXPECT_EQ(visibleRows(grid), (QList<int>{0, 4, 5, 6, 7, 8, 9, 10}));
    grid.expandAll();
    EXPECT_EQ(visibleRows(grid).size(), grid.rows());
}

TEST(GridModel, AggregatesOverABlock)
{
    GridModel grid;
    grid.setCols(3);
    for (const char *row : {"1 234\t2,5\tтекст", "-4\t\t0.5", "x\t10\t"})
        grid.addRow(QString::fromUtf8(row));
    const struct
    {
        Aggregate function;
        CellRange block;
        double expected;
    } cases[] = {
        {Aggregate::Count, {0, 0, 2, 2}, 7},      // non-empty cells
        {Aggregate::Sum, {0, 0, 2, 2}, 1243},     // "1 234" + 2,5 - 4 + 0.5 + 10
        {Aggregate::Sum, {0, 1, 2, 1}, 12.5},
        {Aggregate::Average, {0, 0, 2, 0}, 615},  // texts are skipped
        {Aggregate::Max, {0, 0, 2, 2}, 1234},
        {Aggregate::Min, {0, 0, 2, 2}, -4},
        {Aggregate::Min, {0, 2, 0, 2}, 0},        // no numbers
        {Aggregate::Sum, {2, 1, 9, 9}, 10},       // clipped to the grid
        {Aggregate::Count, {2, 2, 0, 0}, 7},      // corners in any order
    };
    for (const auto &c : cases) {
        EXPECT_DOUBLE_EQ(grid.aggregate(c.function, c.block.top, c.block.left, c.block.bottom,
                                        c.block.right),
                         c.expected)
            << int(c.function) << " " << c.block.top << "," << c.block.left;
    }
}

} // namespace
} // namespace korvesta
