// A grid with everything the views use at once, saved as a picture for a person to look at.

#include "grid/gridcolors.h"
#include "grid/gridmodel.h"
#include "grid/gridview.h"
#include "testapplication.h"

#include <QDir>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

// Teaching load by course: two header rows with the course merged over its groups, tutors
// and disciplines with their pictures, totals per tutor in an outline.
void buildShowcase(GridModel &grid)
{
    grid.clear();
    grid.setCols(8);
    grid.setFixedRows(2);
    grid.setFixedCols(1);
    grid.addRow("\tПреподаватель\tДисциплина\t1 курс\t1 курс\t2 курс\tВсего\tПримечание");
    grid.addRow("\tПреподаватель\tДисциплина\tИС-11\tИС-12\tИС-21\tВсего\tПримечание");
    const char *rows[] = {
        "\tИванов И. И.\tМатематика\t40\t40\t36\t116\t",
        "\tИванов И. И.\tФизика\t20\t\t24\t44\tЛабораторные по чётным неделям",
        "\tПетрова А. С.\tИстория\t18\t18\t\t36\t",
        "\tПетрова А. С.\tОбществознание\n(с практикумом)\t\t30\t30\t60\tКаб. 214, 2 корпус",
        "\tСидоров П. В.\tИнформатика\t36\t36\t36\t108\tКомпьютерный класс",
    };
    for (const char *row : rows)
        grid.addRow(QString::fromUtf8(row));
    grid.setColWidth(0, 300);
    grid.setColWidth(1, 3400);
    grid.setColWidth(2, 2300);
    for (int c = 3; c <= 6; ++c)
        grid.setColWidth(c, 1100);
    grid.setColWidth(7, 2600);
    grid.setRowHeight(5, 540);
    grid.setCellAlignment(0, 0, 1, 7, Qt::AlignCenter);
    grid.setCellPicture(2, 1, 6, 1, "TUTOR");
    grid.setCellPicture(2, 2, 6, 2, "DISCIPLINE");
    grid.setCellPicture(1, 3, 1, 5, "GROUP");
    grid.setCellBackColor(2, 6, 6, 6, colorFromBgr(0xE0E0E0));
    grid.setCellBackColor(4, 2, 4, 7, colorFromBgr(0xC0FFC0)); // a load fully given
    grid.setCellForeColor(4, 6, colorFromBgr(0xFF0000));

    grid.setOutlineBar(true);
    const QColor totals = grid.backColorFixed();
    grid.subtotal({Aggregate::Count, 1, 2, {}, totals});
    for (int c = 3; c <= 6; ++c)
        grid.subtotal({Aggregate::Sum, 1, c, "#,##0", totals, {}, c == 6});
    for (int r = grid.fixedRows(); r < grid.rows(); ++r) {
        if (!grid.isSubtotal(r))
            continue;
        grid.setText(r, 1, "ИТОГО у преподавателя '" + grid.subtotalKey(r) + "'");
        grid.setText(r, 2, "Дисциплин: " + grid.text(r, 2));
        grid.setCellPicture(r, 6, "TOTALS");
        grid.setCellBorders(r, 1, r, 7, {QColor(0x80, 0x80, 0x80), 1, false, true});
    }
    grid.setMergeCells(MergeMode::Free);
    grid.setMergeRow(0, true);
    for (const int c : {1, 2, 6, 7})
        grid.setMergeCol(c, true);
    grid.setCurrentCell(3, 4);
}

TEST(GridShowcase, PaintsTheWholeRepertoire)
{
    testApplication();
    GridView view;
    view.resize(1000, 330);
    buildShowcase(*view.model());
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.setFocus();
    QCoreApplication::processEvents();

    const QImage image = view.grab().toImage();
    const QString path = QDir(QStringLiteral(KORVESTA_SCREENSHOT_DIR))
                             .filePath(QStringLiteral("grid-showcase.png"));
    ASSERT_TRUE(image.save(path)) << path.toStdString();

    const GridModel &grid = *view.model();
    const auto pixel = [&](int row, int col) {
        const QRect rect = view.cellRect(row, col);
        return image.pixelColor(view.viewport()->mapTo(&view, rect.topLeft() + QPoint(3, 2)));
    };
    EXPECT_EQ(pixel(0, 5), grid.backColorFixed());  // a course header
    EXPECT_EQ(pixel(5, 7), colorFromBgr(0xC0FFC0)); // coloured body cells
    EXPECT_EQ(pixel(2, 6), colorFromBgr(0xE0E0E0));
    const int total = grid.findRow("ИТОГО у преподавателя 'Петрова А. С.'", 1);
    ASSERT_GT(total, 0);
    EXPECT_EQ(pixel(total, 4), grid.backColorFixed()); // a totals row
}

} // namespace
} // namespace korvesta
