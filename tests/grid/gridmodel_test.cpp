#include "grid/gridlayout.h"
#include "grid/gridmodel.h"
#include "grid/gridtext.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace korvesta {
namespace {

// A grid of the given texts; rows are given as tab-separated text.
void fill(GridModel &grid, int cols, const QStringList &rows)
{
    grid.clear();
    grid.setCols(cols);
    for (const QString &row : rows)
        grid.addRow(row);
}

TEST(GridModel, RowsAreAddedFromTabbedTextAndRemoved)
{
    GridModel grid;
    fill(grid, 3, {"a\tb\tc", "d\te", "f\tg\th\textra"});
    EXPECT_EQ(grid.rows(), 3);
    EXPECT_EQ(grid.text(1, 1), "e");
    EXPECT_EQ(grid.text(1, 2), "");
    EXPECT_EQ(grid.text(2, 2), "h"); // parts beyond the last column are dropped

    EXPECT_EQ(grid.addRow("x", 1), 1);
    EXPECT_EQ(grid.text(1, 0), "x");
    EXPECT_EQ(grid.text(2, 0), "d");
    EXPECT_EQ(grid.addRow("y", 99), 4); // out of range: at the end

    grid.setCurrentCell(4, 2);
    grid.removeRows(2, 10);
    EXPECT_EQ(grid.rows(), 2);
    EXPECT_EQ(grid.currentRow(), 1); // the current cell follows the grid's end
    EXPECT_EQ(grid.currentCol(), 2);

    grid.setFixedRows(5);
    EXPECT_EQ(grid.fixedRows(), 2); // never more than the rows there are
    grid.setCols(0);
    EXPECT_EQ(grid.currentRow(), -1);
}

TEST(GridModel, ClearingLeavesNoWrappingForTheNextView)
{
    // A view that wraps (a timetable) must not make the next one (a list) wrap.
    GridModel grid;
    QFont font("DejaVu Sans", 11);
    grid.setFont(font);
    grid.setBackColor(Qt::yellow);
    grid.setWordWrap(true);
    grid.clear();
    EXPECT_FALSE(grid.wordWrap());
    EXPECT_EQ(grid.font(), font);
    EXPECT_EQ(grid.backColor(), QColor(Qt::yellow));
}

TEST(GridModel, ATitleAcrossTheFixedColumnsShowsAsOneBlock)
{
    GridModel grid;
    fill(grid, 4, {"Паспорт\tПаспорт\tПаспорт\tПаспорт", "Паспорт\tПаспорт\tx\ty"});
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    grid.setMergeCells(MergeMode::Free);
    grid.setMergeRow(0, true);
    grid.setMergeRow(1, true);
    EXPECT_EQ(grid.mergedRange(0, 2), (CellRange{0, 1, 0, 3})); // blocks keep to their side
    EXPECT_EQ(grid.shownRange(0, 0), (CellRange{0, 0, 0, 3}));
    EXPECT_EQ(grid.shownRange(0, 2), (CellRange{0, 0, 0, 3}));
    EXPECT_EQ(grid.shownRange(1, 1), (CellRange{1, 0, 1, 1}));
    EXPECT_EQ(grid.shownRange(1, 2), (CellRange{1, 2, 1, 2}));
    grid.setMergeRow(1, false);
    EXPECT_EQ(grid.shownRange(1, 0), (CellRange{1, 0, 1, 0}));
    const QString html = gridToHtml(grid);
    EXPECT_EQ(html.count("Паспорт"), 3) << html.toStdString();
    EXPECT_TRUE(html.contains("<th colspan=\"4\"")) << html.toStdString();
}

TEST(GridModel, CallsOutsideTheGridChangeNothing)
{
    GridModel grid;
    fill(grid, 3, {"a\tb\tc", "d\te\tf"});
    grid.setCurrentCell(1, 1);
    const quint64 revision = grid.revision();

    const std::vector<std::pair<const char *, std::function<void()>>> calls = {
        {"text", [&] { grid.setText(2, 0, "x"); }},
        {"text, negative", [&] { grid.setText(-1, 0, "x"); }},
        {"block", [&] { grid.setText(5, 5, 7, 7, "x"); }},
        {"back colour", [&] { grid.setCellBackColor(0, 3, Qt::red); }},
        {"fore colour", [&] { grid.setCellForeColor(-3, -3, -1, -1, Qt::red); }},
        {"bold", [&] { grid.setCellBold(9, 0, true); }},
        {"alignment", [&] { grid.setCellAlignment(0, 9, Qt::AlignRight); }},
        {"picture", [&] { grid.setCellPicture(2, 2, "GROUP"); }},
        {"borders", [&] { grid.setCellBorders(3, 0, 4, 2, {Qt::black, 1, true, true}); }},
        {"width", [&] { grid.setColWidth(3, 100); }},
        {"height", [&] { grid.setRowHeight(-1, 100); }},
        {"merge row", [&] { grid.setMergeRow(2, true); }},
        {"merge col", [&] { grid.setMergeCol(3, true); }},
        {"hidden", [&] { grid.setColHidden(7, true); }},
        {"level", [&] { grid.setRowOutlineLevel(4, 1); }},
        {"collapse", [&] { grid.setCollapsed(1, true); }}, // not a subtotal row
        {"remove", [&] { grid.removeRows(2, 1); }},
        {"current", [&] { grid.setCurrentCell(0, 3); }},
        {"selection", [&] { grid.setSelection(0, 0, 2, 0); }},
        {"subtotal", [&] { grid.subtotal({Aggregate::Sum, 0, 5}); }},
        {"a shape too big to hold", [&] { grid.setRows(20'000'000); }},
    };
    for (const auto &[name, call] : calls) {
        call();
        EXPECT_EQ(grid.revision(), revision) << name;
    }
    EXPECT_EQ(grid.currentRow(), 1);
    EXPECT_EQ(grid.currentCol(), 1);
    EXPECT_EQ(grid.text(5, 5), "");
    EXPECT_FALSE(grid.cellBackColor(5, 5).isValid());
    EXPECT_FALSE(grid.mergedRange(-1, 0).isValid());
    EXPECT_EQ(grid.aggregate(Aggregate::Count, 7, 7, 9, 9), 0);

    // An empty dimension does not make the other one free.
    GridModel empty;
    empty.setRows(std::numeric_limits<int>::max());
    empty.setCols(std::numeric_limits<int>::max());
    EXPECT_EQ(empty.rows(), 0);
    EXPECT_EQ(empty.cols(), 0);
}

TEST(GridModel, CellsShowTheirOwnThenTheirRowsThenTheGridsColours)
{
    GridModel grid;
    fill(grid, 3, {"h1\th2\th3", "a\tb\tc", "d\te\tf"});
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    grid.setBackColor(QColor(250, 250, 250));
    grid.setBackColorFixed(QColor(200, 200, 200));

    EXPECT_EQ(grid.cellBackColor(0, 2), QColor(200, 200, 200));
    EXPECT_EQ(grid.cellBackColor(2, 0), QColor(200, 200, 200));
    EXPECT_EQ(grid.cellBackColor(2, 2), QColor(250, 250, 250));

    grid.setCellBackColor(1, 1, 2, 2, QColor(0, 0, 255));
    EXPECT_EQ(grid.cellBackColor(2, 1), QColor(0, 0, 255));
    grid.setCellBackColor(2, 1, QColor()); // back to the grid's colour
    EXPECT_EQ(grid.cellBackColor(2, 1), QColor(250, 250, 250));
    EXPECT_FALSE(grid.hasOwnBackColor(2, 1));
    EXPECT_TRUE(grid.hasOwnBackColor(2, 2));

    grid.setColAlignment(2, Qt::AlignRight);
    grid.setCellAlignment(1, 2, Qt::AlignHCenter | Qt::AlignTop);
    EXPECT_EQ(grid.cellAlignment(1, 2), Qt::AlignHCenter | Qt::AlignTop);
    EXPECT_EQ(grid.cellAlignment(2, 2), Qt::AlignRight);
    EXPECT_EQ(grid.cellAlignment(2, 1), Qt::Alignment());

    grid.setCellPicture(1, 1, 2, 1, "GROUP");
    grid.setCellPicture(2, 1, QString());
    EXPECT_EQ(grid.cellPicture(1, 1), "GROUP");
    EXPECT_EQ(grid.cellPicture(2, 1), "");
}

TEST(GridModel, BordersMarkTheOuterAndInnerEdgesOfABlock)
{
    GridModel grid;
    fill(grid, 3, {"", "", ""});
    grid.setCellBorders(0, 0, 2, 2, {Qt::blue, 2, true, true, true, true, false, true});
    EXPECT_EQ(grid.cellBorder(0, 0).edges, Qt::LeftEdge | Qt::TopEdge | Qt::BottomEdge);
    EXPECT_EQ(grid.cellBorder(1, 1).edges, Qt::TopEdge | Qt::BottomEdge);
    EXPECT_EQ(grid.cellBorder(2, 2).edges, Qt::RightEdge | Qt::TopEdge | Qt::BottomEdge);
    EXPECT_EQ(grid.cellBorder(1, 1).color, QColor(Qt::blue));
    EXPECT_EQ(grid.cellBorder(1, 1).width, 2);

    // A line along one row only.
    grid.setCellBorders(1, 0, 1, 2, {Qt::red, 1, false, false, false, false});
    EXPECT_FALSE(grid.cellBorder(1, 1).edges);
    EXPECT_EQ(grid.cellBorder(0, 1).edges, Qt::TopEdge | Qt::BottomEdge);
}

struct MergeCase
{
    const char *name;
    MergeMode mode;
    QStringList rows;
    std::vector<int> mergeRows;
    std::vector<int> mergeCols;
    int row;
    int col;
    CellRange expected;
};

// The grid has one fixed row and one fixed column.
class MergeTest : public ::testing::TestWithParam<MergeCase>
{
};

TEST_P(MergeTest, BlockOfACell)
{
    const MergeCase &c = GetParam();
    GridModel grid;
    fill(grid, 4, c.rows);
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    grid.setMergeCells(c.mode);
    for (const int r : c.mergeRows)
        grid.setMergeRow(r, true);
    for (const int col : c.mergeCols)
        grid.setMergeCol(col, true);
    const CellRange block = grid.mergedRange(c.row, c.col);
    EXPECT_EQ(block, c.expected) << block.top << "," << block.left << " - " << block.bottom
                                 << "," << block.right;
    // Every cell of a block reports the same block.
    for (int r = block.top; r <= block.bottom; ++r) {
        for (int col = block.left; col <= block.right; ++col)
            EXPECT_EQ(grid.mergedRange(r, col), block) << r << "," << col;
    }
}

const QStringList header = {"\t1 курс\t1 курс\t2 курс", "\tИС-11\tИС-12\tИС-21"};
const QStringList load = {"\tT\tD\tg", "1\tИванов\tМатематика\tg1", "2\tИванов\tМатематика\tg2",
                          "3\tПетров\tМатематика\tg3", "4\tПетров\tМатематика\tg4"};
const QStringList days = {"\tA\tB\tC", "Пн\t1\t1\t1", "Пн\t1\t1\t1", "Вт\t3\t3\t3"};
const QStringList square = {"\t\t\t", "\tX\tX\ty", "\tX\tX\ty", "\tz\tz\ty"};

INSTANTIATE_TEST_SUITE_P(
    GridModel, MergeTest,
    ::testing::Values(
        MergeCase{"header across", MergeMode::Free, header, {0}, {}, 0, 2, {0, 1, 0, 2}},
        MergeCase{"switched off per row", MergeMode::Free, header, {1}, {}, 0, 2, {0, 2, 0, 2}},
        MergeCase{"never", MergeMode::Never, header, {0}, {}, 0, 1, {0, 1, 0, 1}},
        MergeCase{"down a column", MergeMode::Free, load, {}, {1}, 2, 1, {1, 1, 2, 1}},
        MergeCase{"free merges across tutors", MergeMode::Free, load, {}, {1, 2}, 3, 2,
                  {1, 2, 4, 2}},
        MergeCase{"restricted by the tutor", MergeMode::RestrictColumns, load, {}, {1, 2}, 3, 2,
                  {3, 2, 4, 2}},
        MergeCase{"restricted, first column free", MergeMode::RestrictColumns, load, {}, {1, 2},
                  1, 1, {1, 1, 2, 1}},
        MergeCase{"fixed only: body stays apart", MergeMode::FixedOnly, load, {}, {1}, 1, 1,
                  {1, 1, 1, 1}},
        MergeCase{"fixed only: fixed column merges", MergeMode::FixedOnly, days, {}, {0, 1}, 2,
                  0, {1, 0, 2, 0}},
        MergeCase{"fixed only: header merges", MergeMode::FixedOnly, header, {0}, {}, 0, 1,
                  {0, 1, 0, 2}},
        MergeCase{"empty cells never merge", MergeMode::Free, square, {0}, {}, 0, 2,
                  {0, 2, 0, 2}},
        MergeCase{"block across and down", MergeMode::Free, square, {1, 2, 3}, {1, 2, 3}, 2, 2,
                  {1, 1, 2, 2}},
        MergeCase{"column beside a block", MergeMode::Free, square, {1, 2, 3}, {1, 2, 3}, 3, 3,
                  {1, 3, 3, 3}},
        MergeCase{"row below a block", MergeMode::Free, square, {1, 2, 3}, {1, 2, 3}, 3, 1,
                  {3, 1, 3, 2}},
        MergeCase{"never across the fixed edge", MergeMode::Free, {"a\ta\ta\tb"}, {0}, {}, 0,
                  1, {0, 1, 0, 2}}),
    [](const auto &test) {
        std::string name = test.param.name;
        for (char &ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        }
        return name;
    });

TEST(GridLayout, HiddenColumnsAndRowsTakeNoRoomAndAreNeverHit)
{
    GridModel grid;
    fill(grid, 4, {"a\tb\tc\td", "e\tf\tg\th", "i\tj\tk\tl"});
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    grid.setColWidth(0, 300);  // 20 px at 96 DPI
    grid.setColWidth(1, 0);    // hidden by width
    grid.setColWidth(2, 1440); // 96 px
    grid.setColHidden(3, true);
    grid.setRowHeight(1, 0);
    EXPECT_TRUE(grid.isColHidden(1));
    EXPECT_TRUE(grid.isColHidden(3));
    EXPECT_TRUE(grid.isRowHidden(1));

    // Copied text leaves them out too.
    EXPECT_EQ(grid.blockText({0, 0, 2, 3}), "a\tc\ni\tk");

    GridLayout layout;
    layout.build(grid, {96, 96, 20, 64});
    EXPECT_EQ(layout.totalWidth(), 20 + 96);
    EXPECT_EQ(layout.totalHeight(), 40);
    EXPECT_EQ(layout.colAt(19), 0);
    EXPECT_EQ(layout.colAt(20), 2); // the hidden column 1 is skipped
    EXPECT_EQ(layout.colAt(116), -1);
    EXPECT_EQ(layout.rowAt(20), 2);
    // The body scrolls, the fixed part does not.
    EXPECT_EQ(layout.rect({2, 2, 2, 2}, 10, 5), QRect(10, 15, 96, 20));
    EXPECT_EQ(layout.rect({0, 0, 0, 0}, 10, 5), QRect(0, 0, 20, 20));
}

} // namespace
} // namespace korvesta
