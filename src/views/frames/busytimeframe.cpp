#include "busytimeframe.h"

#include "framesetup.h"
#include "grid/gridmodel.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"
#include "views/uisettings.h"
#include "views/viewcontext.h"

#include <QLocale>

#include <algorithm>

namespace korvesta {

namespace {

constexpr int DayWidth = 400;
const QColor kRestDay(0xC0, 0xC0, 0xC0);
const QColor kDimmed(0x80, 0x80, 0x80);

struct LegendKind
{
    const char *text;
    const char *icon;
    const char *letter;
};

// In the order of the kinds of marks: the tutor's four kinds of absence, rest days, lessons.
const LegendKind kKinds[] = {
    {"Отгул", "HOUSE", "О"},          {"По болезни", "RED_CROSS", "Б"},
    {"Коммандировка", "TRAIN", "K"}, // a Latin K, as the legend has always shown it
    {"Отпуск (Море)", "REST", "М"},   {"Выходные дни", "SUN", "В"},
    {"Нагрузка", "CHECK_GREEN", "Ф"},
};
constexpr int AbsenceKinds = 4;

void mergedText(GridModel &grid, int row, int left, int right, const QString &text)
{
    grid.setText(row, left, row, right, text);
    grid.setCellAlignment(row, left, row, right, Qt::AlignCenter);
}

void boxed(GridModel &grid, int top, int left, int bottom, int right)
{
    CellBorders borders;
    borders.color = grid.gridColorFixed().isValid() ? grid.gridColorFixed() : QColor(Qt::gray);
    borders.left = borders.top = borders.right = borders.bottom = true;
    borders.innerHorizontal = true;
    grid.setCellBorders(top, left, bottom, right, borders);
}

void buildMonth(GridModel &grid, const QDate &anyDay, int lessons, int workDays)
{
    const QDate first(anyDay.year(), anyDay.month(), 1);
    const int days = first.daysInMonth();
    const QLocale russian(QLocale::Russian);
    const int lastLessonRow = busytime::lessonRow(lessons);
    for (int day = 1; day <= 31; ++day) {
        const int col = busytime::dayCol(day);
        if (day > days) {
            grid.setColWidth(col, 0);
            continue;
        }
        grid.setColWidth(col, DayWidth);
        const QDate date = first.addDays(day - 1);
        grid.setText(0, col, QString::number(day));
        grid.setText(1, col, russian.dayName(date.dayOfWeek(), QLocale::ShortFormat));
        if (date.dayOfWeek() > workDays)
            grid.setCellBackColor(0, col, lastLessonRow, col, kRestDay);
    }
    grid.setCellAlignment(0, 0, 1, busytime::Cols - 1, Qt::AlignCenter);
    for (int lesson = 1; lesson <= lessons; ++lesson)
        grid.setText(busytime::lessonRow(lesson), 1, QString::number(lesson));
    grid.setColAlignment(1, Qt::AlignCenter);
}

void buildLegend(ViewContext &ctx, int lessons)
{
    GridModel &grid = ctx.grid;
    const bool icons = UiSettings::busyTimeIcons(ctx.settings);
    const bool everyWeek = UiSettings::busyTimeEveryWeek(ctx.settings);
    const int head = busytime::legendRow(lessons);
    mergedText(grid, head, 2, 15, QStringLiteral("Обозначения свободного времени преподавателя"));
    mergedText(grid, head, 17, 19, QStringLiteral("Значки"));
    mergedText(grid, head, 21, 23, QStringLiteral("Буквы"));
    mergedText(grid, head, 25, 29, QStringLiteral("Каждую неделю"));
    grid.setCellBold(head, 17, head, 19, icons);
    grid.setCellBold(head, 21, head, 23, !icons);
    grid.setMergeRow(head, true);

    const int kinds = static_cast<int>(std::size(kKinds));
    for (int k = 0; k < kinds; ++k) {
        const int row = busytime::kindRow(lessons, k + 1);
        const LegendKind &kind = kKinds[k];
        grid.setText(row, 3, row, 15, QString::fromUtf8(kind.text));
        grid.setCellPicture(row, 18, QString::fromLatin1(kind.icon));
        grid.setText(row, 22, QString::fromUtf8(kind.letter));
        grid.setCellAlignment(row, 17, row, 29, Qt::AlignCenter);
        if (k < AbsenceKinds)
            grid.setText(row, 25, row, 29,
                         everyWeek ? QStringLiteral("да") : QStringLiteral("нет"));
        // Kinds the user switched off stay in the legend, dimmed.
        if (!UiSettings::showBusyTime(ctx.settings, k + 1))
            grid.setCellForeColor(row, 3, row, 29, kDimmed);
        grid.setMergeRow(row, true);
    }
    const int last = head + kinds;
    boxed(grid, head, 2, last, 15);
    boxed(grid, head, 17, last, 19);
    boxed(grid, head, 21, last, 23);
    boxed(grid, head, 25, last, 29);
}

} // namespace

void buildBusyTimeFrame(ViewContext &ctx)
{
    GridModel &grid = ctx.grid;
    const int lessons = std::max(ctx.record.LessonsInDay, 0);
    frame::start(grid, busytime::rowCount(lessons), busytime::Cols, busytime::FixedRows,
                 busytime::FixedCols);
    grid.setColWidth(0, 200);
    grid.setColWidth(1, 600);
    grid.setText(0, 1, QStringLiteral("Урок"));
    const QDate day = ctx.calendarDate.isValid() ? ctx.calendarDate : QDate::currentDate();
    buildMonth(grid, day, lessons, ctx.record.WorkDays);
    boxed(grid, busytime::FixedRows, busytime::dayCol(1), busytime::lessonRow(lessons),
          busytime::Cols - 1);
    // Merging is switched on for the legend rows alone.
    grid.setMergeCells(MergeMode::Free);
    buildLegend(ctx, lessons);
    frame::finish(grid);
}

} // namespace korvesta
