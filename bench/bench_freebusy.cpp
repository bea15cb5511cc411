// The free and busy objects beside the day timetable of the busiest day as the planner moves
// from lesson to lesson (the pane is refilled on every move), and the tutor passport over the
// academic year of the tutor with the most absences.

#include "grid/gridmodel.h"
#include "support/largesample.h"
#include "views/fillregistry.h"
#include "views/freebusy/freebusylist.h"
#include "views/freebusy/tutorpassport.h"
#include "views/frames/listframes.h"
#include "views/timetable/timetablefills.h"
#include "views/viewcontext.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace korvesta {
namespace {

constexpr int GridWidthTwips = 15000;

struct FreeBusyBench
{
    LargeSample &sample = largeSample();
    GridModel grid;
    ObjectList objects;
    ViewContext ctx{grid, objects, *sample.session, *sample.settings, sample.record,
                    sample.prompts};
    int tutor = sample
                    .first(QStringLiteral("SELECT KeyTutor FROM tblTutorOut GROUP BY KeyTutor "
                                          "ORDER BY Count(*) DESC, KeyTutor"))
                    .toInt();

    FreeBusyBench()
    {
        grid.setClientWidth(GridWidthTwips);
        ctx.calendarDate = sample.busiestDay;
        ctx.periodFrom = sample.first(QStringLiteral("SELECT Min(Date) FROM tblTimeTableList"))
                             .toDate();
        ctx.periodTo = sample.first(QStringLiteral("SELECT Max(Date) FROM tblTimeTableList"))
                           .toDate();
    }
};

FreeBusyBench &bench()
{
    static FreeBusyBench b;
    return b;
}

// One move of the current cell down the day timetable, the pane refilled for it.
void BM_CellMove(benchmark::State &state)
{
    FreeBusyBench &b = bench();
    b.ctx.viewCode = 40;
    b.ctx.tab = int(state.range(0));
    showDayTimetable(b.ctx);
    const TimetableLayout layout = TimetableLayout::ofGrid(TimetableKind::Day, b.sample.record,
                                                           b.grid);
    int lesson = 0;
    for (auto _ : state) {
        lesson = lesson % layout.lessonsInDay + 1;
        b.grid.setCurrentCell(layout.rowOf(1, lesson), layout.firstObjectCol);
        freebusy::refillPane(b.ctx);
    }
    int busy = 0;
    for (const ObjectListEntry &entry : b.objects.entries)
        busy += entry.foreColor == Qt::red ? 1 : 0;
    state.counters["items"] = double(b.objects.entries.size());
    state.counters["busy"] = busy;
}

void BM_TutorPassport(benchmark::State &state)
{
    FreeBusyBench &b = bench();
    b.ctx.viewCode = 32;
    for (auto _ : state) {
        buildTutorPassportFrame(b.ctx);
        fillTutorPassport(b.ctx, b.tutor);
    }
    state.counters["rows"] = b.grid.rows();
}

BENCHMARK(BM_CellMove)->Name("FreeBusyCellMove/tab")->Arg(0)->Arg(1)->Arg(2)->Arg(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TutorPassport)->Name("TutorPassportYear")->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvesta

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    korvesta::bench(); // the sample is written before the first timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
