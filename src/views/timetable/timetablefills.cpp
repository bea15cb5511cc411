#include "timetablefills.h"

#include "auditoriumlabels.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/queries.h"
#include "grid/gridmodel.h"
#include "lessonplacer.h"
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
    for (int i = 0; i < layout.objectCount; ++i) {
        spec.totalOn = layout.firstObjectCol + i;
        grid.subtotal(spec);
    }
}

// The labels of the document's auditoriums; plain numbers when the list cannot be read (the
// lessons themselves then tell of the document).
AuditoriumLabels auditoriumLabels(ViewContext &ctx)
{
    try {
        if (const std::optional<Database> db = ctx.session.access())
            return AuditoriumLabels(*db);
    } catch (const DbError &) {
    }
    return AuditoriumLabels();
}

} // namespace

void fillDayTimetable(ViewContext &ctx, const TimetableLayout &layout)
{
    TooltipCache tooltips(ctx.session.paths().scratchFile());
    tooltips.discard();
    DocumentQueries queries(ctx.session, ctx.settings, ctx.prompts);
    std::optional<Recordset> rs = queries.OpenTimeTable(ctx.calendarDate, 0);
    if (!rs || rs->isEmpty())
        return;
    const int code = DisplayTextModes::current(ctx.settings, DayItem);
    widenForMode(ctx.grid, layout, code);
    for (int i = 0; i < layout.objectCount; ++i)
        ctx.grid.setMergeCol(layout.firstObjectCol + i, ctx.record.MergeLessons);

    const AuditoriumLabels labels = auditoriumLabels(ctx);
    GroupLessonPlacer placer(ctx.grid, layout, code, ctx.record.ShowColorItem, &labels);
    placer.placeAll(*rs, 1, &tooltips);
    tooltips.save();
}

void fillWeekTimetable(ViewContext &ctx, const TimetableLayout &layout)
{
    const int code = DisplayTextModes::current(ctx.settings, WeekItem);
    widenForMode(ctx.grid, layout, code);
    DocumentQueries queries(ctx.session, ctx.settings, ctx.prompts);
    const AuditoriumLabels labels = auditoriumLabels(ctx);
    GroupLessonPlacer placer(ctx.grid, layout, code, ctx.record.ShowColorItem, &labels);
    const QDate monday = ctx.calendarDate.addDays(1 - ctx.calendarDate.dayOfWeek());
    for (int day = 1; day <= layout.days; ++day) {
        std::optional<Recordset> rs = queries.OpenTimeTable(monday.addDays(day - 1), 0);
        if (!rs)
            return;
        placer.placeAll(*rs, day, nullptr);
    }
    if (ctx.record.ShowTotals && layout.lessonsInDay > 0)
        addWeekTotals(ctx.grid, layout, ctx.record);
}

void fillWorkSchedule(ViewContext &ctx, const TimetableLayout &layout)
{
    DocumentQueries queries(ctx.session, ctx.settings, ctx.prompts);
    std::optional<Recordset> rs = queries.OpenTimeTable(ctx.calendarDate, 1);
    if (!rs || rs->isEmpty())
        return;
    const int code = DisplayTextModes::current(ctx.settings, WorkItem);
    GridModel &grid = ctx.grid;
    QHash<QString, int> columns;
    for (int i = layout.objectCount - 1; i >= 0; --i) // the first of equal names wins
        columns.insert(grid.text(layout.objectRow(), layout.firstObjectCol + i),
                       layout.firstObjectCol + i);

    const AuditoriumLabels labels = auditoriumLabels(ctx);
    const LessonReader reader(*rs, &labels);
    for (; !rs->isEof(); rs->moveNext()) {
        const PlacedLesson lesson = reader.read(*rs);
        const int col = columns.value(lesson.texts.tutor, -1);
        if (col < 0 || lesson.lesson < 1 || lesson.lesson > layout.lessonsInDay)
            continue;
        const int row = layout.rowOf(1, lesson.lesson);
        const QString text = composeCellText(lesson.texts, code);
        const QString held = grid.text(row, col);
        // Another subgroup, or another group of the same lecture, goes below.
        grid.setText(row, col, held.isEmpty() ? text : held + QStringLiteral("\r\n") + text);
        // Without colour display the cell keeps the frame's colour (a second shift's grey).
        if (ctx.record.ShowColorItem)
            grid.setCellBackColor(row, col, lesson.groupColor);
    }
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
