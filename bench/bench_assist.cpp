// The placement assistant on the large sample institution: the week of a load line coloured
// in the week timetable, and its ranked lessons for a month.

#include "assist/slotpaint.h"
#include "assist/slotsuggestion.h"
#include "data/database.h"
#include "grid/gridmodel.h"
#include "support/largesample.h"
#include "views/headlessviews.h"
#include "views/timetable/timetablelayout.h"

#include <benchmark/benchmark.h>

namespace korvesta {
namespace {

// The line of the busiest day's first lesson, with hours left to place (the sample places
// every hour of its load).
AssistLine busyLine(const LargeSample &large, const Database &db)
{
    const int keyContent =
        large.first(QStringLiteral("SELECT c.Key FROM tblTimeTableContent c INNER JOIN "
                                   "tblTimeTableList l ON l.Key = c.Key_TTList WHERE l.[Date] = "
                                   "'%1' ORDER BY c.Lesson, c.Key")
                        .arg(large.busiestDay.toString(Qt::ISODate)))
            .toInt();
    const int keyJobList =
        large.first(QStringLiteral("SELECT jl.Key FROM tblJobList jl INNER JOIN "
                                   "tblTimeTableContent c ON c.Key_Job = jl.Key_Job AND "
                                   "c.Key_Group = jl.Key_Group WHERE c.Key = %1")
                        .arg(keyContent))
            .toInt();
    AssistLine line = loadLine(db, keyJobList).value_or(AssistLine());
    line.hours = line.placed + 40;
    return line;
}

void BM_ColourAWeek(benchmark::State &state)
{
    LargeSample &large = largeSample();
    const Database db = Database::open(large.path);
    const AssistLine line = busyLine(large, db);
    GridModel grid;
    HeadlessViews views(grid, *large.session, *large.settings, large.record, large.prompts);
    views.date = large.busiestDay;
    views.show(41);
    const TimetableLayout layout = TimetableLayout::ofGrid(TimetableKind::Week, large.record, grid);
    const QDate monday = large.busiestDay.addDays(1 - large.busiestDay.dayOfWeek());
    SlotPaint paint;
    bool painted = false;
    for (auto _ : state) {
        const SlotMap map(db, large.record, line, monday, monday.addDays(6));
        painted = paint.paint(grid, layout, map, line, large.busiestDay);
    }
    state.SetLabel(painted ? line.groupText().toStdString() : "group not shown");
}
BENCHMARK(BM_ColourAWeek)->Unit(benchmark::kMillisecond);

void BM_RankAMonth(benchmark::State &state)
{
    LargeSample &large = largeSample();
    const Database db = Database::open(large.path);
    const AssistLine line = busyLine(large, db);
    const QDate from = large.busiestDay.addDays(1 - large.busiestDay.day());
    SlotSuggestions found;
    for (auto _ : state) {
        const SlotMap map(db, large.record, line, from, from.addMonths(1).addDays(-1));
        found = rankSlots(map, line, from, from.addMonths(1).addDays(-1), 40);
    }
    state.counters["slots"] = double(found.best.size());
    state.SetLabel(found.refusal.isEmpty() ? line.groupText().toStdString()
                                           : found.refusal.toStdString());
}
BENCHMARK(BM_RankAMonth)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvesta

BENCHMARK_MAIN();
