#include "grid/gridcolors.h"
#include "grid/gridmodel.h"
#include "grid/selectbyvalue.h"
#include "grid/twips.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

TEST(GridColors, ProgramValuesToColoursAndBack)
{
    const struct
    {
        quint32 value;
        QColor color;
    } cases[] = {
        {0x0000FF, QColor(255, 0, 0)},     // red in the low byte
        {0xFF0000, QColor(0, 0, 255)},     // the remainder's blue
        {0xC0FFC0, QColor(192, 255, 192)}, // a load fully given
        {0xE0E0E0, QColor(224, 224, 224)},
        {0x123456, QColor(0x56, 0x34, 0x12)},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(colorFromBgr(c.value), c.color) << std::hex << c.value;
        EXPECT_EQ(bgrFromColor(c.color), c.value) << std::hex << c.value;
    }
    // System colours follow the palette; without an application, the classic one.
    EXPECT_EQ(colorFromBgr(0x80000018), QColor(0xFF, 0xFF, 0xE1)); // tooltip background
    EXPECT_EQ(colorFromBgr(0x8000000F), QColor(0xF0, 0xF0, 0xF0)); // button face
    EXPECT_EQ(colorFromBgr(0x800000FF), QColor(Qt::black));       // no such system colour
    EXPECT_EQ(bgrFromColor(QColor()), 0u);
}

TEST(GridColors, ComponentsOfAColourValue)
{
    using Components = std::optional<std::array<int, 3>>;
    const struct
    {
        qint64 value;
        Components expected;
    } cases[] = {
        {0, std::array{0, 0, 0}},
        {255, std::array{255, 0, 0}},
        {0x123456, std::array{0x56, 0x34, 0x12}},
        {0xFFFFFF, std::array{255, 255, 255}},
        {0x1000000, std::nullopt},
        {0x80000018, std::nullopt},
        {-1, std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(colorComponents(c.value), c.expected) << c.value;
}

TEST(GridTwips, ConvertAtTheScreensResolution)
{
    EXPECT_EQ(screenLogicalDpi(), 96.0); // no screen in a headless test
    const struct
    {
        int twips;
        double dpi;
        int pixels;
    } cases[] = {{1440, 96, 96}, {300, 96, 20}, {1100, 96, 73}, {15, 96, 1},
                 {0, 96, 0},     {1440, 120, 120}, {270, 144, 27}};
    for (const auto &c : cases)
        EXPECT_EQ(twipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
    EXPECT_EQ(pixelsToTwips(20, 96), 300);
    EXPECT_EQ(pixelsToTwips(96), 1440);
    EXPECT_EQ(pixelsToTwips(5, 0), 0);
}

// A timetable body under one header row and beside one fixed column.
void fillTimetable(GridModel &grid)
{
    grid.clear();
    grid.setCols(4);
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    grid.addRow("\tИС-11\tИС-12\tИС-21");
    grid.addRow("1\tМатем  101\tФизика  202\tМатем  101");
    grid.addRow("2\tИстория  5\tМатем  101\t");
    grid.addRow("Матем  101\t\tХимия  7\t");
}

struct SelectCase
{
    const char *name;
    int row;
    int col;
    QString message;
    int coloured; // cells painted in the chosen colour
};

TEST(SelectByValue, PaintsEqualCellsAndReportsTheOthers)
{
    const QColor chosen(255, 255, 0);
    const SelectCase cases[] = {
        {"three equal cells", 1, 1,
         "Произведена выборка по значению 'Матем  101'\nНайдено совпадений: 2", 3},
        {"a text found once", 3, 2,
         "Произведена выборка по значению 'Химия  7'\nНайдено совпадений: 0", 1},
        {"empty cells match each other", 2, 3,
         "Произведена выборка по значению ''\nНайдено совпадений: 2", 3},
        {"a header cell", 3, 0,
         "Произведена выборка по значению 'Матем  101'\nСовпадений не найдено", 0},
    };
    for (const SelectCase &c : cases) {
        GridModel grid;
        fillTimetable(grid);
        grid.setCurrentCell(c.row, c.col);
        const ValueSelection found = selectByValue(grid, chosen);
        EXPECT_EQ(found.report(), c.message) << c.name;
        int coloured = 0;
        for (int r = 0; r < grid.rows(); ++r) {
            for (int col = 0; col < grid.cols(); ++col)
                coloured += grid.cellBackColor(r, col) == chosen;
        }
        EXPECT_EQ(coloured, c.coloured) << c.name;
    }
}

} // namespace
} // namespace korvesta
