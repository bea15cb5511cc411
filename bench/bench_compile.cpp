// Compiling weeks automatically on the large sample in the middle of its term: the next week
// (about 3 000 lessons for 120 groups, 250 tutors and 80 auditoriums) and 2, 4 and 8 weeks at
// once, and the small sample's week. Each run is tried and taken back.

#include "compile/compiler.h"
#include "data/database.h"
#include "data/trialrun.h"
#include "sample/demodocument.h"
#include "settings/settingsrecord.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace korvesta {
namespace {

// A fixed day in the autumn term, so that the figures do not move with the calendar.
const QDate kToday(2026, 10, 14);

QString sampleOf(DemoSize size)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(size == DemoSize::Large ? QStringLiteral("large.kvt")
                                                                 : QStringLiteral("small.kvt"));
    if (!QFile::exists(path))
        writeDemoDocument(path, DemoRequest::midTerm(size, kToday));
    return path;
}

void compileWeeks(benchmark::State &state, DemoSize size)
{
    const Database db = Database::open(sampleOf(size));
    SettingsRecord settings;
    settings.CountGroupOnLecture = 5;
    CompileRequest request;
    // The Monday after the week the sample is compiled to.
    request.from = kToday.addDays(8 - kToday.dayOfWeek());
    request.to = request.from.addDays(7 * state.range(0) - 3);
    // The figures to reach: a large week in 3 s, the small week in half a second, reading
    // and writing the document included.
    request.timeLimitSeconds = (size == DemoSize::Large ? 2.5 : 0.4) * double(state.range(0));
    CompileResult result;
    for (auto _ : state) {
        TrialRun trial(db);
        result = compileTimetable(db, settings, request);
    }
    state.counters["target"] = result.target;
    state.counters["placed"] = result.placed;
    state.counters["groupGaps"] = result.groupGaps;
    state.counters["tutorGaps"] = result.tutorGaps;
    state.counters["usualAud"] = result.usualAuditorium;
    state.SetLabel(result.refusal.toStdString());
}

void BM_CompileLargeWeeks(benchmark::State &state)
{
    compileWeeks(state, DemoSize::Large);
}
BENCHMARK(BM_CompileLargeWeeks)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Iterations(1)->Unit(
    benchmark::kMillisecond);

void BM_CompileSmallWeek(benchmark::State &state)
{
    compileWeeks(state, DemoSize::Small);
}
BENCHMARK(BM_CompileSmallWeek)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvesta

BENCHMARK_MAIN();
