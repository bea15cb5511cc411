#include "timetablerefresh.h"

#include "lessonplacer.h"
#include "timetableframes.h"
#include "timetablelessons.h"
#include "timetableplacing.h"
#include "tooltipcache.h"

#include "data/documentsession.h"
#include "grid/gridmodel.h"
#include "settings/settingsrecord.h"
#include "views/viewcontext.h"

#include <algorithm>
#include <set>

namespace korvesta {

namespace {

// A new frame for the view in a grid of its own, built as the view's fill builds it.
struct Frame
{
    GridModel grid;
    ObjectList objects;
    ViewContext ctx;
    TimetableLayout layout;

    Frame(ViewContext &shown, TimetableKind kind)
        : ctx(grid, objects, shown.session, shown.settings, shown.record, shown.prompts)
    {
        ctx.viewCode = shown.viewCode;
        ctx.previousViewCode = shown.previousViewCode;
        ctx.gridMode = shown.gridMode;
        ctx.calendarDate = shown.calendarDate;
        ctx.periodFrom = shown.periodFrom;
        ctx.periodTo = shown.periodTo;
        ctx.rangeFrom = shown.rangeFrom;
        ctx.rangeTo = shown.rangeTo;
        ctx.tab = shown.tab;
        ctx.filter = shown.filter;
        layout = kind == TimetableKind::Day    ? buildDayFrame(ctx)
                 : kind == TimetableKind::Week ? buildWeekFrame(ctx)
                                               : buildWorkScheduleFrame(ctx);
    }
};

// The grid row of each row of the frame: the shown grid has the frame's rows in their order,
// with the week's totals among them. Empty when the shown grid is not of the frame's shape.
std::vector<int> shownRows(const GridModel &shown, const Frame &frame)
{
    const GridModel &built = frame.grid;
    if (shown.cols() != built.cols() || shown.fixedRows() != built.fixedRows())
        return {};
    std::vector<int> rows;
    rows.reserve(size_t(built.rows()));
    for (int r = 0; r < shown.rows(); ++r) {
        if (!shown.isSubtotal(r))
            rows.push_back(r);
    }
    if (int(rows.size()) != built.rows())
        return {};
    // The same groups or tutors in the same columns.
    for (int r = 0; r < built.fixedRows(); ++r) {
        for (int c = 0; c < built.cols(); ++c) {
            if (shown.text(rows[size_t(r)], c) != built.text(r, c))
                return {};
        }
    }
    return rows;
}

// A lesson shows in the grid, in a row other than those left out.
bool holdsLessons(const GridModel &grid, const TimetableLayout &layout,
                  const std::set<int> &leftOut)
{
    for (int r = grid.fixedRows(); r < grid.rows(); ++r) {
        if (grid.isSubtotal(r) || leftOut.count(r))
            continue;
        for (int i = 0; i < layout.objectCount; ++i) {
            if (!grid.text(r, layout.firstObjectCol + i).isEmpty())
                return true;
        }
    }
    return false;
}

} // namespace

bool refreshTimetable(ViewContext &ctx, const TimetableTouch &touch)
{
    TimetableKind kind;
    switch (ctx.viewCode) {
    case 40:
        kind = TimetableKind::Day;
        break;
    case 41:
        kind = TimetableKind::Week;
        break;
    case 42:
        kind = TimetableKind::WorkSchedule;
        break;
    default:
        return false;
    }
    const QDate first = kind == TimetableKind::Week
                            ? ctx.calendarDate.addDays(1 - ctx.calendarDate.dayOfWeek())
                            : ctx.calendarDate;
    // The days of the view the change touched.
    const int shownDays = TimetableLayout::make(kind, ctx.record, 0).days;
    std::set<int> days;
    for (const QDate &date : touch.dates) {
        const qint64 day = first.daysTo(date) + 1;
        if (day >= 1 && day <= shownDays)
            days.insert(int(day));
    }
    if (days.empty())
        return true; // nothing the view shows
    Frame frame(ctx, kind);
    const TimetableLayout &layout = frame.layout;
    if (layout.days != shownDays)
        return false;
    const std::vector<int> rows = shownRows(ctx.grid, frame);
    if (rows.empty())
        return false;

    std::vector<int> lessons = touch.lessons;
    if (lessons.empty()) {
        for (int lesson = 1; lesson <= layout.lessonsInDay; ++lesson)
            lessons.push_back(lesson);
    }
    // The shown rows of the touched lessons, as the frame builds them.
    std::set<int> touched;
    for (const int day : days) {
        for (const int lesson : lessons) {
            if (lesson >= 1 && lesson <= layout.lessonsInDay)
                touched.insert(layout.rowOf(day, lesson));
        }
    }
    const LessonRows rowOf = [&](int day, int lesson) {
        const int row = layout.rowOf(day, lesson);
        return touched.count(row) ? rows[size_t(row)] : -1;
    };

    // The day view keeps the tooltips of every lesson of its date: it reads the whole date.
    LessonSelection selection{first.addDays(*days.begin() - 1), first.addDays(*days.rbegin() - 1),
                              {}, {}, {}};
    if (kind != TimetableKind::Day)
        selection.lessons = lessons;
    const AuditoriumLabels labels = auditoriumLabels(ctx);
    std::optional<std::vector<DatedLesson>> read = readTimetableLessons(
        ctx, selection,
        kind == TimetableKind::WorkSchedule ? LessonOrder::ByTutor : LessonOrder::ByGroup,
        &labels);
    if (!read)
        return false;
    // The day view and the work schedule widen their columns only for a date with lessons:
    // a date that gets its first lesson, or loses its last, is filled whole.
    std::set<int> shownTouched;
    for (const int row : touched)
        shownTouched.insert(rows[size_t(row)]);
    if (kind != TimetableKind::Week
        && (!holdsLessons(ctx.grid, layout, {})
            || (read->empty() && !holdsLessons(ctx.grid, layout, shownTouched))))
        return false;
    std::vector<DatedLesson> placed;
    for (DatedLesson &lesson : *read) {
        if (days.count(int(first.daysTo(lesson.date)) + 1))
            placed.push_back(lesson);
    }

    for (const int row : touched)
        ctx.grid.copyRow(frame.grid, row, rows[size_t(row)]);
    if (kind == TimetableKind::WorkSchedule) {
        placeTutorLessons(ctx, layout, placed, rowOf);
        return true;
    }
    GroupLessonPlacer placer(ctx.grid, layout, timetableDisplayCode(ctx, kind),
                             ctx.record.ShowColorItem, &labels);
    placer.setRows(rowOf);
    if (kind == TimetableKind::Day) {
        TooltipCache tooltips(ctx.session.paths().scratchFile());
        tooltips.discard();
        placer.placeAll(placed, first, &tooltips);
        tooltips.save();
        return true;
    }
    placer.placeAll(placed, first, nullptr);
    if (ctx.record.ShowTotals && layout.lessonsInDay > 0)
        addWeekTotals(ctx.grid, layout, ctx.record);
    return true;
}

} // namespace korvesta
