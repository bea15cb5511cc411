// The same views on the two engines, side by side: the large sample in its file and its copy
// on a PostgreSQL server started for the run (over a Unix socket), and the copy itself.

#include "data/database.h"
#include "data/recordset.h"
#include "editing/placement.h"
#include "data/serverdocument.h"
#include "grid/gridmodel.h"
#include "support/largesample.h"
#include "support/placementcell.h"
#include "support/pgcluster.h"
#include "views/frames/listframes.h"
#include "views/lists/listfills.h"
#include "views/load/loadview.h"
#include "views/timetable/timetablefills.h"
#include "views/viewcontext.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <optional>

namespace korvesta {
namespace {

constexpr int GridWidthTwips = 15000;

// One document as the window holds it: the file's own session, or one on the server's copy.
struct Engine
{
    explicit Engine(bool server)
    {
        LargeSample &sample = largeSample();
        if (server) {
            uri = PgCluster::instance().newDatabase();
            initServerDocument(uri, sample.path);
            ownSession = std::make_unique<DocumentSession>(
                sample.prompts, *sample.settings, AppPaths{sample.folder.path(), sample.folder.path()});
            ownSession->startFromCommandLine({uri});
        }
        grid.setClientWidth(GridWidthTwips);
        ctx = std::make_unique<ViewContext>(grid, objects,
                                            ownSession ? *ownSession : *sample.session,
                                            *sample.settings, sample.record, sample.prompts);
        ctx->calendarDate = sample.busiestDay;
    }

    QString uri;
    std::unique_ptr<DocumentSession> ownSession;
    GridModel grid;
    ObjectList objects;
    std::unique_ptr<ViewContext> ctx;
};

Engine &engine(bool server)
{
    static Engine file(false);
    static Engine onServer(true);
    return server ? onServer : file;
}

template<void (*Show)(ViewContext &)>
void BM_View(benchmark::State &state)
{
    Engine &e = engine(state.range(0) != 0);
    for (auto _ : state) {
        Show(*e.ctx);
        benchmark::DoNotOptimize(e.grid.revision());
    }
    state.counters["rows"] = e.grid.rows();
    state.SetLabel(state.range(0) ? "server" : "file");
}

void showLoad(ViewContext &ctx)
{
    buildLoadFrame(ctx);
    fillLoad(ctx);
}

void showGroups(ViewContext &ctx)
{
    buildGroupListFrame(ctx);
    fillGroupList(ctx);
}

// The placement of one engine's document, on its chosen cell.
struct Placing
{
    explicit Placing(bool server)
        : e(engine(server))
        , placement(e.ctx->session, largeSample().record, *largeSample().settings,
                    largeSample().prompts)
        , cell(pickPlacementCell(*e.ctx->session.access(), largeSample().busiestDay))
    {
    }
    std::optional<PlacementChoice> open()
    {
        return placement.openForGroup(largeSample().busiestDay, cell.lesson, cell.group,
                                      cell.course, QString());
    }
    Engine &e;
    LessonPlacement placement;
    PlacementCell cell;
};

Placing &placing(bool server)
{
    static Placing file(false);
    static Placing onServer(true);
    return server ? onServer : file;
}

void BM_OpenGroupCell(benchmark::State &state)
{
    Placing &p = placing(state.range(0) != 0);
    for (auto _ : state) {
        std::optional<PlacementChoice> choice = p.open();
        if (!choice) {
            state.SkipWithError("the cell did not open");
            break;
        }
        benchmark::DoNotOptimize(choice);
    }
    state.SetLabel(state.range(0) ? "server" : "file");
}

void BM_PlaceLesson(benchmark::State &state)
{
    Placing &p = placing(state.range(0) != 0);
    LargeSample &large = largeSample();
    for (auto _ : state) {
        state.PauseTiming();
        std::optional<PlacementChoice> choice = p.open();
        const std::optional<PlacementRequest> request =
            choice ? readyToPlace(*choice, large.prompts) : std::nullopt;
        if (!request) {
            state.SkipWithError("no line, auditorium or lesson type to place");
            break;
        }
        state.ResumeTiming();

        const PlacementResult result = p.placement.add(*choice, *request);

        state.PauseTiming();
        if (result.outcome != PlacementOutcome::Written || result.cells.empty())
            state.SkipWithError("the lesson was not placed");
        p.e.ctx->session.access()->execute(
            QStringLiteral("DELETE * FROM tblTimeTableContent WHERE Key_Group = %1 AND "
                           "Key_TTList = %2 AND Lesson = %3;")
                .arg(p.cell.keyGroup)
                .arg(p.cell.keyDay)
                .arg(p.cell.lesson));
        state.ResumeTiming();
    }
    state.SetLabel(state.range(0) ? "server" : "file");
}

// Copying the large full-year sample onto an empty database.
void BM_ServerInit(benchmark::State &state)
{
    for (auto _ : state)
        initServerDocument(PgCluster::instance().newDatabase(), largeSample().path);
}

BENCHMARK(BM_View<showDayTimetable>)->Name("DayTimetable")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_View<showWeekTimetable>)->Name("WeekTimetable")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_View<showWorkSchedule>)->Name("WorkSchedule")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_View<showLoad>)->Name("Load")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_View<showGroups>)->Name("GroupList")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenGroupCell)->Name("OpenGroupCell")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlaceLesson)->Name("PlaceLesson")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ServerInit)->Name("ServerInit")->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvesta

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    korvesta::engine(true); // both documents are ready before the first timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
