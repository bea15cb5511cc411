// Publishing the whole academic year of the large sample institution: the first time into an
// empty folder (every calendar and page made and written), then again with nothing changed
// (every file found standing, none written). The files are made on every core, so the time
// is the wall clock's and the CPU time that of the whole process.

#include "publish/publisher.h"

#include "data/database.h"
#include "editing/progress.h"
#include "support/largesample.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace korvesta {
namespace {

PublishRequest yearRequest(const Database &db, const QString &folder)
{
    PublishRequest r;
    r.folder = folder;
    r.today = QDate::currentDate();
    r.now = QDateTime::currentDateTimeUtc();
    r.zone = QTimeZone::systemTimeZone();
    r.workDays = 6;
    std::tie(r.from, r.to) = defaultPublishPeriod(db, r.today);
    return r;
}

void BM_PublishWholeYear(benchmark::State &state)
{
    LargeSample &large = largeSample();
    const Database db = Database::open(large.path);
    SilentProgress progress;
    PublishResult result;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir out;
        state.ResumeTiming();
        result = publishTimetable(db, yearRequest(db, out.filePath("site")), progress);
        state.PauseTiming();
        out.remove();
        state.ResumeTiming();
    }
    state.counters["files"] = double(result.written.size());
    state.counters["published"] = result.done ? 1 : 0;
}
BENCHMARK(BM_PublishWholeYear)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

void BM_PublishAgainUnchanged(benchmark::State &state)
{
    LargeSample &large = largeSample();
    const Database db = Database::open(large.path);
    SilentProgress progress;
    QTemporaryDir out;
    const PublishRequest request = yearRequest(db, out.filePath("site"));
    publishTimetable(db, request, progress);
    PublishResult result;
    for (auto _ : state)
        result = publishTimetable(db, request, progress);
    state.counters["files"] = double(result.written.size());
}
BENCHMARK(BM_PublishAgainUnchanged)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

} // namespace
} // namespace korvesta

BENCHMARK_MAIN();
