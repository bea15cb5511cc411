// Deleting timetables on the large sample institution: the whole period (every date with
// lessons, whole dates committed together, recorded as one undo step), the week of the
// busiest day, and the undo of the whole period's deletion. Each run works on a fresh copy of
// the sample.

#include "data/database.h"
#include "data/documentsession.h"
#include "data/history.h"
#include "data/recordset.h"
#include "editing/progress.h"
#include "editing/timetableclearing.h"
#include "support/largesample.h"

#include <benchmark/benchmark.h>

#include <QFile>

namespace korvesta {
namespace {

// A copy of the large sample opened as the window opens it, so that its changes are
// recorded in the history as the window's are.
struct Copy
{
    explicit Copy(LargeSample &large)
        : path(large.folder.filePath(QStringLiteral("copy.kvt")))
    {
        Database::forget(path);
        QFile::remove(path);
        QFile::copy(large.path, path);
        session = std::make_unique<DocumentSession>(large.prompts, *large.settings,
                                                    AppPaths{large.folder.path(),
                                                             large.folder.path()});
        session->startFromCommandLine({path});
        session->access(); // opened, with its history, before the clock runs
    }
    ~Copy()
    {
        History::detachAll();
        Database::forget(path);
    }

    QString path;
    std::unique_ptr<DocumentSession> session;
};

qint64 lessonCount(const QString &path)
{
    return Database::open(path)
        .openRecordset(QStringLiteral("SELECT Count(*) FROM tblTimeTableContent;"))
        .value(0)
        .toLongLong();
}

template<typename Delete>
void runDeletion(benchmark::State &state, const Delete &deletion)
{
    LargeSample &large = largeSample();
    qint64 removed = 0;
    int dates = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto copy = std::make_unique<Copy>(large);
        const qint64 before = lessonCount(copy->path);
        TimetableClearing clearing(*copy->session, large.record, large.prompts);
        SilentProgress progress;
        state.ResumeTiming();

        const TimetableDeletion d = deletion(clearing, progress);

        state.PauseTiming();
        if (d.outcome != ClearingOutcome::Done || d.deleted == 0)
            state.SkipWithError("nothing was deleted");
        removed = before - lessonCount(copy->path);
        dates = d.deleted;
        copy.reset();
        state.ResumeTiming();
    }
    state.counters["dates"] = dates;
    state.counters["lessons"] = double(removed);
}

void BM_DeleteWholePeriod(benchmark::State &state)
{
    runDeletion(state, [](TimetableClearing &clearing, Progress &progress) {
        return clearing.deleteAll(progress);
    });
}
BENCHMARK(BM_DeleteWholePeriod)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DeleteWeek(benchmark::State &state)
{
    const QDate day = largeSample().busiestDay;
    const QDate monday = day.addDays(1 - day.dayOfWeek());
    runDeletion(state, [monday](TimetableClearing &clearing, Progress &progress) {
        return clearing.deleteRange(monday, monday.addDays(6), progress);
    });
}
BENCHMARK(BM_DeleteWeek)->Unit(benchmark::kMillisecond)->Iterations(5);

// Taking the deletion of the whole period back with Отменить.
void BM_UndoWholePeriodDeletion(benchmark::State &state)
{
    LargeSample &large = largeSample();
    qint64 restored = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto copy = std::make_unique<Copy>(large);
        TimetableClearing clearing(*copy->session, large.record, large.prompts);
        SilentProgress progress;
        clearing.deleteAll(progress);
        const qint64 left = lessonCount(copy->path);
        History *history = History::current();
        if (!history || !history->canUndo()) {
            state.SkipWithError("the deletion is no step");
            break;
        }
        state.ResumeTiming();

        history->undo();

        state.PauseTiming();
        restored = lessonCount(copy->path) - left;
        copy.reset();
        state.ResumeTiming();
    }
    state.counters["lessons"] = double(restored);
}
BENCHMARK(BM_UndoWholePeriodDeletion)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace korvesta

BENCHMARK_MAIN();
