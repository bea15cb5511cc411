#include "timetablefills.h"

#include "auditoriumlabels.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "grid/gridmodel.h"
#include "lessonplacer.h"
#include "timetablelessons.h"
#include "timetableplacing.h"
#include "settings/settingsrecord.h"
#include "timetableframes.h"
#include "tooltipcache.h"
#include "views/displaytextmodes.h"
#include "views/fillregistry.h"

#include <QHash>

namespace korvesta {

namespace {

enum Item { DayItem = 0, WeekItem = 1, WorkItem = 2 };

void widenForMode(GridModel &grid, const TimetableLayout &layout, int code)
{
    const int width = columnWidthForMode(code);
    if (width == 0)
        return;
    for (int i = 0; i < layout.objectCount; ++i) {
        const int col = layout.firstObjectCol + i;
        if (grid.colWidth(col) != 0) // a hidden faculty stays hidden
            grid.setColWidth(col, width);
    }
}

// Lessons per day and group column, below each day's block.
} // namespace

AuditoriumLabels auditoriumLabels(ViewContext &ctx)
{
    try {
        if (const std::optional<Database> db = ctx.session.access())
            return AuditoriumLabels(*db);
    } catch (const DbError &) {
    }
    return AuditoriumLabels();
}

int timetableDisplayCode(ViewContext &ctx, TimetableKind kind)
{
    const Item item = kind == TimetableKind::Day    ? DayItem
                      : kind == TimetableKind::Week ? WeekItem
                                                    : WorkItem;
    return DisplayTextModes::current(ctx.settings, item);
}

void placeTutorLessons(ViewContext &ctx, const TimetableLayout &layout,
                       const std::vector<DatedLesson> &lessons, const LessonRows &rows)
{
    const int code = timetableDisplayCode(ctx, TimetableKind::WorkSchedule);
    GridModel &grid = ctx.grid;
    QHash<QString, int> columns;
    for (int i = layout.objectCount - 1; i >= 0; --i) // the first of equal names wins
        columns.insert(grid.text(layout.objectRow(), layout.firstObjectCol + i),
                       layout.firstObjectCol + i);

    for (const DatedLesson &dated : lessons) {
        const PlacedLesson &lesson = dated.lesson;
        const int col = columns.value(lesson.texts.tutor, -1);
        if (col < 0 || lesson.lesson < 1 || lesson.lesson > layout.lessonsInDay)
            continue;
        const int row = rows(1, lesson.lesson);
        if (row < 0)
            continue;
        const QString text = composeCellText(lesson.texts, code);
        const QString held = grid.text(row, col);
        // Another subgroup, or another group of the same lecture, goes below.
        grid.setText(row, col, held.isEmpty() ? text : held + QStringLiteral("\r\n") + text);
        // Without colour display the cell keeps the frame's colour (a second shift's grey).
        if (ctx.record.ShowColorItem)
            grid.setCellBackColor(row, col, lesson.groupColor);
    }
}

void addWeekTotals(GridModel &grid, const TimetableLayout &layout, const SettingsRecord &record)
{
    SubtotalSpec spec;
    spec.function = Aggregate::Count;
    spec.groupOn = layout.dayCol;
    spec.caption = QStringLiteral("Итого");
    spec.bold = true;
    spec.backColor = grid.backColorFixed();
    if (record.ShowTimeLesson)
        spec.captionCol = record.TimePlace ? 2 : 1;
    std::vector<int> cols;
    for (int i = 0; i < layout.objectCount; ++i)
        cols.push_back(layout.firstObjectCol + i);
    grid.subtotal(spec, cols);
}

void fillDayTimetable(ViewContext &ctx, const TimetableLayout &layout)
{
    TooltipCache tooltips(ctx.session.paths().scratchFile());
    tooltips.discard();
    const AuditoriumLabels labels = auditoriumLabels(ctx);
    const std::optional<std::vector<DatedLesson>> lessons = readTimetableLessons(
        ctx, {ctx.calendarDate, ctx.calendarDate, {}, {}, {}}, LessonOrder::ByGroup, &labels);
    if (!lessons || lessons->empty())
        return;
    const int code = timetableDisplayCode(ctx, TimetableKind::Day);
    widenForMode(ctx.grid, layout, code);
    for (int i = 0; i < layout.objectCount; ++i)
        ctx.grid.setMergeCol(layout.firstObjectCol + i, ctx.record.MergeLessons);

    GroupLessonPlacer placer(ctx.grid, layout, code, ctx.record.ShowColorItem, &labels);
    placer.placeAll(*lessons, ctx.calendarDate, &tooltips);
    tooltips.save();
}

void fillWeekTimetable(ViewContext &ctx, const TimetableLayout &layout)
{
    const int code = timetableDisplayCode(ctx, TimetableKind::Week);
    widenForMode(ctx.grid, layout, code);
    const AuditoriumLabels labels = auditoriumLabels(ctx);
    GroupLessonPlacer placer(ctx.grid, layout, code, ctx.record.ShowColorItem, &labels);
    const QDate monday = ctx.calendarDate.addDays(1 - ctx.calendarDate.dayOfWeek());
    const std::optional<std::vector<DatedLesson>> lessons =
        readTimetableLessons(ctx, {monday, monday.addDays(layout.days - 1), {}, {}, {}},
                             LessonOrder::ByGroup, &labels);
    if (!lessons)
        return;
    placer.placeAll(*lessons, monday, nullptr);
    if (ctx.record.ShowTotals && layout.lessonsInDay > 0)
        addWeekTotals(ctx.grid, layout, ctx.record);
}

void fillWorkSchedule(ViewContext &ctx, const TimetableLayout &layout)
{
    const AuditoriumLabels labels = auditoriumLabels(ctx);
    const std::optional<std::vector<DatedLesson>> lessons = readTimetableLessons(
        ctx, {ctx.calendarDate, ctx.calendarDate, {}, {}, {}}, LessonOrder::ByTutor, &labels);
    if (!lessons || lessons->empty())
        return;
    placeTutorLessons(ctx, layout, *lessons,
                      [&layout](int day, int lesson) { return layout.rowOf(day, lesson); });
}

void showDayTimetable(ViewContext &ctx)
{
    fillDayTimetable(ctx, buildDayFrame(ctx));
}

void showWeekTimetable(ViewContext &ctx)
{
    fillWeekTimetable(ctx, buildWeekFrame(ctx));
}

void showWorkSchedule(ViewContext &ctx)
{
    fillWorkSchedule(ctx, buildWorkScheduleFrame(ctx));
}

QString dayTimetableTooltip(ViewContext &ctx, int row, int col)
{
    return dayTimetableTooltip(ctx.grid, ctx.record, ctx.session.paths().scratchFile(), row,
                               col);
}

void registerTimetableFills(FillRegistry &registry)
{
    registry.setFill(40, showDayTimetable);
    registry.setCellToolTip(40, [](ViewContext &ctx, int row, int col) {
        return dayTimetableTooltip(ctx, row, col);
    });
    registry.setFill(41, showWeekTimetable);
    registry.setFill(42, showWorkSchedule);
}

} // namespace korvesta
