// Every view's fill, with its frame, on the large sample institution as the window shows it:
// the reference lists, the teaching load with all its totals, the group passport of the group
// with the most load lines, and the timetables of the busiest date.

#include "grid/gridmodel.h"
#include "support/largesample.h"
#include "views/frames/listframes.h"
#include "views/lists/listfills.h"
#include "views/load/loadview.h"
#include "views/timetable/timetablefills.h"
#include "views/timetable/timetablerefresh.h"
#include "views/viewcontext.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace korvesta {
namespace {

// A grid as wide as that of a maximised window on a 1280-pixel screen.
constexpr int GridWidthTwips = 15000;

struct Views
{
    LargeSample &sample = largeSample();
    GridModel grid;
    ObjectList objects;
    ViewContext ctx{grid, objects, *sample.session, *sample.settings, sample.record,
                    sample.prompts};
    int group = sample
                    .first(QStringLiteral("SELECT Key_Group FROM tblJobList GROUP BY Key_Group "
                                          "ORDER BY Count(*) DESC, Key_Group"))
                    .toInt();

    Views()
    {
        grid.setClientWidth(GridWidthTwips);
        ctx.calendarDate = sample.busiestDay;
    }
};

Views &views()
{
    static Views v;
    return v;
}

// So that an empty grid does not pass for a fast one.
void countCells(benchmark::State &state, const GridModel &grid)
{
    int filled = 0;
    for (int r = grid.fixedRows(); r < grid.rows(); ++r)
        for (int c = grid.fixedCols(); c < grid.cols(); ++c)
            filled += grid.text(r, c).isEmpty() ? 0 : 1;
    state.counters["rows"] = grid.rows();
    state.counters["cols"] = grid.cols();
    state.counters["filled"] = filled;
}

template<void (*Frame)(ViewContext &), void (*Fill)(ViewContext &)>
void BM_List(benchmark::State &state)
{
    Views &v = views();
    for (auto _ : state) {
        Frame(v.ctx);
        Fill(v.ctx);
    }
    countCells(state, v.grid);
}

void BM_GroupPassport(benchmark::State &state)
{
    Views &v = views();
    for (auto _ : state) {
        buildGroupPassportFrame(v.ctx);
        fillGroupPassport(v.ctx, v.group);
    }
    countCells(state, v.grid);
}

// The load with the six subtotals of its outline.
void BM_Load(benchmark::State &state)
{
    Views &v = views();
    v.sample.record.ShowTotals = true;
    for (auto _ : state) {
        buildLoadFrame(v.ctx);
        fillLoad(v.ctx);
    }
    countCells(state, v.grid);
    int totals = 0;
    for (int r = 0; r < v.grid.rows(); ++r)
        totals += v.grid.isSubtotal(r) ? 1 : 0;
    state.counters["totals"] = totals;
}

template<void (*Show)(ViewContext &)>
void BM_Timetable(benchmark::State &state)
{
    Views &v = views();
    for (auto _ : state) {
        Show(v.ctx);
        benchmark::DoNotOptimize(v.grid.revision());
    }
    countCells(state, v.grid);
}

// After a lesson placed: the view filled before, brought up to date on the lesson's row and
// its pair's (the placement writes nothing here: the rows are built again as they stand).
template<void (*Show)(ViewContext &), int Code>
void BM_TimetableRefresh(benchmark::State &state)
{
    Views &v = views();
    v.ctx.viewCode = Code;
    Show(v.ctx);
    const TimetableTouch touch{{v.sample.busiestDay}, {3, 4}};
    for (auto _ : state) {
        if (!refreshTimetable(v.ctx, touch))
            state.SkipWithError("the view was not refreshed");
        benchmark::DoNotOptimize(v.grid.revision());
    }
    countCells(state, v.grid);
}

BENCHMARK(BM_List<buildGroupListFrame, fillGroupList>)
    ->Name("GroupList")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_List<buildDisciplineListFrame, fillDisciplineList>)
    ->Name("DisciplineList")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_List<buildAuditoriumListFrame, fillAuditoriumList>)
    ->Name("AuditoriumList")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Name("Load")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GroupPassport)->Name("GroupPassport")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Timetable<showDayTimetable>)->Name("DayTimetable")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Timetable<showWeekTimetable>)->Name("WeekTimetable")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Timetable<showWorkSchedule>)->Name("WorkSchedule")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimetableRefresh<showDayTimetable, 40>)
    ->Name("DayTimetableRefresh")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimetableRefresh<showWeekTimetable, 41>)
    ->Name("WeekTimetableRefresh")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimetableRefresh<showWorkSchedule, 42>)
    ->Name("WorkScheduleRefresh")
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvesta

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    korvesta::views(); // the sample is written before the first timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
