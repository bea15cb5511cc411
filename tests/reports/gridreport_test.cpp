// A view's grid laid out as a printable table (the preview window and printing).

#include "grid/gridmodel.h"
#include "reports/gridreport.h"
#include "reports/reportpainter.h"
#include "reports/reportwriters.h"
#include "support/guiapplication.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

void makeGrid(GridModel &grid, int cols)
{
    grid.setCols(cols);
    grid.setRows(3);
    grid.setFixedRows(1);
    for (int c = 0; c < cols; ++c) {
        grid.setColWidth(c, 1000 * (c + 1));
        grid.setText(0, c, QStringLiteral("Столбец %1").arg(c));
        grid.setText(1, c, QStringLiteral("а%1").arg(c));
        grid.setText(2, c, QStringLiteral("б%1").arg(c));
    }
}

TEST(GridReport, OrientationFollowsTheColumnCount)
{
    ensureGuiApplication();
    for (const auto &[cols, landscape] : {std::pair{5, false}, std::pair{6, true},
                                          std::pair{1, false}, std::pair{40, true}}) {
        GridModel grid;
        makeGrid(grid, cols);
        const ReportContent content = gridReport(grid, {QStringLiteral("Вид")});
        EXPECT_EQ(content.landscape, landscape) << cols;
        EXPECT_EQ(content.pageHeader, QStringLiteral("Вид"));
        EXPECT_DOUBLE_EQ(content.leftMarginMm, 25.4);
    }
}

TEST(GridReport, ColumnsTakeTheirShareOfTheWidthAndHiddenOnesNone)
{
    ensureGuiApplication();
    GridModel grid;
    makeGrid(grid, 5); // widths 1000, 2000, 3000, 4000, 5000
    grid.setColWidth(2, 0);
    for (int row = 0; row < grid.rows(); ++row)
        grid.setText(row, 4, QString()); // an empty column prints nothing
    grid.setRowHidden(2, true);
    const ReportContent content = gridReport(grid, {QStringLiteral("Вид")});
    ASSERT_EQ(content.columns.size(), 3u);
    EXPECT_DOUBLE_EQ(content.columns[0].width, 1000.0 / 7000);
    EXPECT_DOUBLE_EQ(content.columns[1].width, 2000.0 / 7000);
    EXPECT_DOUBLE_EQ(content.columns[2].width, 4000.0 / 7000);
    ASSERT_EQ(content.headings.size(), 1u);
    ASSERT_EQ(content.blocks.size(), 1u);
    ASSERT_EQ(content.blocks[0].rows.size(), 1u);
    EXPECT_EQ(content.blocks[0].rows[0].cells[2].text, QStringLiteral("а3"));

    // The load gives its first two columns 38 % and 20 %, the rest sharing what is left.
    GridModel loadGrid;
    makeGrid(loadGrid, 4);
    const ReportContent load = gridReport(loadGrid, {QStringLiteral("Нагрузка"), true});
    EXPECT_DOUBLE_EQ(load.columns[0].width, 0.38);
    EXPECT_DOUBLE_EQ(load.columns[1].width, 0.20);
    EXPECT_EQ(load.columns[1].align, ReportContent::Align::Center);
    EXPECT_NEAR(load.columns[2].width + load.columns[3].width, 0.42, 1e-9);
    EXPECT_NEAR(load.columns[3].width / load.columns[2].width, 4.0 / 3, 1e-9);
}

// A narrow column of the window keeps its longest word whole on paper; the others give way.
TEST(GridReport, NoColumnIsNarrowerThanItsLongestWord)
{
    ensureGuiApplication();
    GridModel grid;
    makeGrid(grid, 12);
    grid.setColWidth(0, 200);
    grid.setText(1, 0, QStringLiteral("Понедельник"));
    const ReportContent content = gridReport(grid, {QStringLiteral("Неделя")});
    ASSERT_EQ(content.columns.size(), 12u);
    double shares = 0;
    for (const ReportContent::Column &column : content.columns)
        shares += column.width;
    const double page = reportArea(content).width();
    EXPECT_GE(content.columns[0].width / shares * page,
              reportWordWidth(QStringLiteral("Понедельник"), content.fontPoints) - 0.01);
    EXPECT_GT(content.columns[11].width, content.columns[0].width);
}

TEST(GridReport, MergedHeadingsSpanTheirColumnsAndShowTheirTextOnce)
{
    ensureGuiApplication();
    GridModel grid;
    makeGrid(grid, 4);
    grid.setRows(4);
    grid.setFixedRows(2);
    grid.setMergeCells(MergeMode::Free);
    grid.setMergeRow(0, true);
    for (int c = 1; c < 4; ++c)
        grid.setText(0, c, QStringLiteral("1 курс"));
    grid.setText(0, 0, QStringLiteral("Время"));
    grid.setText(1, 0, QStringLiteral("Время"));
    grid.setMergeCol(0, true);
    const ReportContent content = gridReport(grid, {QStringLiteral("Вид")});
    ASSERT_EQ(content.headings.size(), 2u);
    const auto &top = content.headings[0].cells;
    EXPECT_EQ(top[1].text, QStringLiteral("1 курс"));
    EXPECT_EQ(top[1].span, 3);
    EXPECT_EQ(content.headings[1].cells[0].text, QString()); // merged down from row 0
    // ...carried, to be shown again where such a row begins a page (a day's continued lessons).
    EXPECT_EQ(content.headings[1].cells[0].carried, QStringLiteral("Время"));
    const QString html = reportToHtml(content);
    EXPECT_EQ(html.count(QStringLiteral("1 курс")), 1);
    EXPECT_TRUE(html.contains(QStringLiteral("colspan=\"3\"")));
}

// Names reach reports as the document holds them: markup stays text, control characters
// (NUL among them) are left out of every kind of report file.
TEST(ReportWriters, NamesAreEscapedAndControlCharactersLeftOut)
{
    const QString hostile = QStringLiteral("<b>&\"'{}\\") + QChar(0) + QChar(0x01) + u'!';
    ReportContent content;
    content.title = QStringLiteral("Группа ") + hostile;
    content.lines = {QStringLiteral("Строка ") + hostile};
    content.pageHeader = hostile;
    content.pageFooter = hostile;
    content.columns = {{QStringLiteral("Столбец ") + hostile, 1}};
    ReportContent::Row row;
    row.cells.resize(1);
    row.cells[0].text = hostile;
    content.blocks = {{QStringLiteral("Раздел ") + hostile, {row}}};
    const QString html = reportToHtml(content);
    EXPECT_FALSE(html.contains(QStringLiteral("<b>&")));
    EXPECT_TRUE(html.contains(QStringLiteral("&lt;b&gt;&amp;&quot;'{}\\!")));
    const QByteArray rtf = reportToRtf(content);
    EXPECT_TRUE(rtf.contains("<b>&\"'\\{\\}\\\\!"));
    const QString text = reportToText(content);
    const std::pair<const char *, QString> files[] = {
        {"html", html}, {"rtf", QString::fromLatin1(rtf)}, {"text", text}};
    for (const auto &[kind, written] : files) {
        for (const QChar c : written)
            ASSERT_TRUE(c.unicode() >= 0x20 || c == u'\n' || c == u'\r' || c == u'\t'
                        || c == u'\f')
                << kind << ": " << int(c.unicode());
    }
}

} // namespace
} // namespace korvesta
