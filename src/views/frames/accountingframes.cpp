#include "accountingframes.h"

#include "framesetup.h"
#include "grid/gridmodel.h"
#include "views/viewcontext.h"

#include <initializer_list>

namespace korvesta {

namespace {

// The shared shape; `top` and `bottom` are the texts of header rows 0 and 1 from column 0.
// `leading` columns after the picture column merge equal cells downwards.
void buildAccountingFrame(GridModel &grid, int cols, int fixedCols, int leading,
                          const QStringList &top, const QStringList &bottom,
                          std::initializer_list<int> widths)
{
    frame::start(grid, 4, cols, 2, fixedCols);
    frame::setCaptions(grid, 0, top);
    frame::setCaptions(grid, 1, bottom);
    int col = 0;
    for (const int w : widths)
        grid.setColWidth(col++, w);
    grid.setMergeCells(MergeMode::Free);
    grid.setMergeRow(0, true);
    for (int c = 1; c <= leading; ++c)
        grid.setMergeCol(c, true);
    frame::finish(grid);
}

} // namespace

void buildTimesheetFrame(ViewContext &ctx)
{
    const QString hours = QStringLiteral("Часов");
    const QString date = QStringLiteral("Дата");
    const QStringList leading = {QString(), QStringLiteral("Предмет"), QStringLiteral("Группа"),
                                 QStringLiteral("Курс")};
    buildAccountingFrame(ctx.grid, 8, 7, 3, leading + QStringList{hours, hours, hours, date},
                         leading + QStringList{QStringLiteral("всего"), QStringLiteral("отраб"),
                                               QStringLiteral("остат"), date},
                         {200, 800, 750, 600, 600, 600, 600});
}

void buildHoursWorkedFrame(ViewContext &ctx)
{
    const QString worked = QStringLiteral("Отработка");
    const QStringList leading = {QString(), QStringLiteral("Месяц"), QStringLiteral("Дата")};
    const QString group = QStringLiteral("Группа");
    buildAccountingFrame(ctx.grid, 7, 6, 2, leading + QStringList{worked, worked, worked, group},
                         leading + QStringList{QStringLiteral("Всего"), QStringLiteral("Поток"),
                                               QStringLiteral("Итого"), group},
                         {200, 900, 900, 700, 700, 700, 700});
}

void buildFullHoursWorkedFrame(ViewContext &ctx)
{
    const QString load = QStringLiteral("Нагрузка");
    const QStringList leading = {QString(), QStringLiteral("Преподаватель"),
                                 QStringLiteral("Предмет")};
    buildAccountingFrame(ctx.grid, 7, 6, 2, leading + QStringList{load, load, load, QString()},
                         leading + QStringList{QStringLiteral("всего"), QStringLiteral("отраб"),
                                               QStringLiteral("остат"), QString()},
                         {200, 2000, 1000, 700, 700, 700, 700});
}

} // namespace korvesta
