// The same views on the two engines, side by side: the large sample in its file and its copy
// on a PostgreSQL server started for the run (over a Unix socket), and the copy itself.

#include "data/database.h"
#include "data/recordset.h"
#include "editing/placement.h"
#include "data/serverdocument.h"
#include "grid/gridmodel.h"
#include "support/largesample.h"
#include "support/pgcluster.h"
#include "views/frames/listframes.h"
#include "views/lists/listfills.h"
#include "views/load/loadview.h"
#include "views/timetable/timetablefills.h"
#include "views/viewcontext.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <map>
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

// A lesson of the busiest day that the group with the most load lines has free (a group its
// name and course name alone).
struct Cell
{
    int keyGroup = 0;
    QString group, course;
    int keyDay = 0;
    int lesson = 0;
};

Cell pickCell(const Database &db, const QDate &day)
{
    Cell cell;
    std::map<std::pair<QString, QString>, int> named;
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblGroups.[Group], tblGroups.Course FROM tblGroups;"));
         !rs.isEof(); rs.moveNext())
        ++named[{rs.value(0).toString(), rs.value(1).toString()}];
    for (Recordset rs = db.openRecordset(QStringLiteral(
             "SELECT tblGroups.Key, tblGroups.[Group], tblGroups.Course, Count(*) AS Lines "
             "FROM tblGroups INNER JOIN tblJobList ON tblJobList.Key_Group = tblGroups.Key "
             "GROUP BY tblGroups.Key, tblGroups.[Group], tblGroups.Course "
             "ORDER BY Count(*) DESC, tblGroups.Key;"));
         !rs.isEof() && cell.keyGroup == 0; rs.moveNext()) {
        if (named[{rs.value(1).toString(), rs.value(2).toString()}] == 1) {
            cell.keyGroup = rs.value(0).toInt();
            cell.group = rs.value(1).toString();
            cell.course = rs.value(2).toString();
        }
    }
    cell.keyDay = db.openRecordset(QStringLiteral("SELECT Key FROM tblTimeTableList WHERE "
                                                  "Date = #%1#")
                                       .arg(day.toString(QStringLiteral("MM/dd/yyyy"))))
                      .value(0)
                      .toInt();
    for (int lesson = 1; lesson <= 8 && cell.lesson == 0; ++lesson) {
        if (db.openRecordset(QStringLiteral("SELECT Count(*) FROM tblTimeTableContent WHERE "
                                            "Key_Group = %1 AND Key_TTList = %2 AND Lesson = %3")
                                 .arg(cell.keyGroup)
                                 .arg(cell.keyDay)
                                 .arg(lesson))
                .value(0)
                .toLongLong()
            == 0)
            cell.lesson = lesson;
    }
    return cell;
}

// The placement of one engine's document, on its chosen cell.
struct Placing
{
    explicit Placing(bool server)
        : e(engine(server))
        , placement(e.ctx->session, largeSample().record, *largeSample().settings,
                    largeSample().prompts)
        , cell(pickCell(*e.ctx->session.access(), largeSample().busiestDay))
    {
    }
    std::optional<PlacementChoice> open()
    {
        return placement.openForGroup(largeSample().busiestDay, cell.lesson, cell.group,
                                      cell.course, QString());
    }
    Engine &e;
    LessonPlacement placement;
    Cell cell;
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
        bool checked = false;
        if (choice) {
            for (const PlacementLine &l : choice->lines) {
                if (!l.blocked() && choice->check(l.keyJobList, large.prompts)) {
                    checked = true;
                    break;
                }
            }
        }
        const std::vector<PlacementAuditorium> free =
            choice ? choice->freeAuditoriums() : std::vector<PlacementAuditorium>();
        if (!checked || free.empty() || choice->lessonTypes.empty()) {
            state.SkipWithError("no line, auditorium or lesson type to place");
            break;
        }
        choice->chooseAuditorium(1, free.front());
        const PlacementRequest request{choice->lessonTypes.front().key, false};
        state.ResumeTiming();

        const PlacementResult result = p.placement.add(*choice, request);

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
