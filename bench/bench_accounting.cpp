// The accounting views on the large sample institution as the window shows them: the
// timesheet and the hours worked of the busiest tutor over the academic year, the hours worked
// of every tutor over the year, and the busy time of that tutor in the busiest month.

#include "grid/gridmodel.h"
#include "support/largesample.h"
#include "views/accounting/accountingviews.h"
#include "views/frames/accountingframes.h"
#include "views/frames/busytimeframe.h"
#include "views/viewcontext.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace korvesta {
namespace {

// A grid as wide as that of a maximised window on a 1280-pixel screen.
constexpr int GridWidthTwips = 15000;

struct Accounting
{
    LargeSample &sample = largeSample();
    GridModel grid;
    ObjectList objects;
    ViewContext ctx{grid, objects, *sample.session, *sample.settings, sample.record,
                    sample.prompts};
    int tutor = sample
                    .first(QStringLiteral(
                        "SELECT tblJob.Key_Tutor FROM tblJob INNER JOIN tblTimeTableContent ON "
                        "tblJob.Key = tblTimeTableContent.Key_Job GROUP BY tblJob.Key_Tutor "
                        "ORDER BY Count(*) DESC, tblJob.Key_Tutor"))
                    .toInt();

    Accounting()
    {
        grid.setClientWidth(GridWidthTwips);
        sample.record.ShowTotals = true;
        ctx.periodFrom = sample.first(QStringLiteral("SELECT Min(Date) FROM tblTimeTableList"))
                             .toDate();
        ctx.periodTo = sample.first(QStringLiteral("SELECT Max(Date) FROM tblTimeTableList"))
                           .toDate();
        ctx.calendarDate = sample.busiestDay;
    }
};

Accounting &accounting()
{
    static Accounting a;
    return a;
}

// So that an empty grid does not pass for a fast one.
void countCells(benchmark::State &state, const GridModel &grid)
{
    int filled = 0, pictures = 0;
    for (int r = grid.fixedRows(); r < grid.rows(); ++r) {
        for (int c = grid.fixedCols(); c < grid.cols(); ++c) {
            filled += grid.text(r, c).isEmpty() ? 0 : 1;
            pictures += grid.cellPicture(r, c).isEmpty() ? 0 : 1;
        }
    }
    state.counters["rows"] = grid.rows();
    state.counters["cols"] = grid.cols();
    state.counters["filled"] = filled;
    state.counters["pictures"] = pictures;
}

void BM_Timesheet(benchmark::State &state)
{
    Accounting &a = accounting();
    for (auto _ : state) {
        buildTimesheetFrame(a.ctx);
        fillTimesheet(a.ctx, a.tutor);
    }
    countCells(state, a.grid);
}

void BM_HoursWorked(benchmark::State &state)
{
    Accounting &a = accounting();
    for (auto _ : state) {
        buildHoursWorkedFrame(a.ctx);
        fillHoursWorked(a.ctx, a.tutor);
    }
    countCells(state, a.grid);
}

void BM_FullHoursWorked(benchmark::State &state)
{
    Accounting &a = accounting();
    for (auto _ : state) {
        buildFullHoursWorkedFrame(a.ctx);
        fillFullHoursWorked(a.ctx);
    }
    countCells(state, a.grid);
}

void BM_BusyTime(benchmark::State &state)
{
    Accounting &a = accounting();
    for (auto _ : state) {
        buildBusyTimeFrame(a.ctx);
        fillBusyTime(a.ctx, a.tutor);
    }
    countCells(state, a.grid);
}

BENCHMARK(BM_Timesheet)->Name("TimesheetYear")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HoursWorked)->Name("HoursWorkedYear")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullHoursWorked)->Name("FullHoursWorkedYear")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BusyTime)->Name("BusyTimeMonth")->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvesta

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    korvesta::accounting(); // the sample is written before the first timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
