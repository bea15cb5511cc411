// The timetable check of the whole academic year on the large sample institution: every lesson
// read once and looked at against the calendar, the exceptions, the limits and the load.

#include "check/timetablecheck.h"
#include "data/database.h"
#include "support/largesample.h"

#include <benchmark/benchmark.h>

namespace korvesta {
namespace {

void BM_CheckWholeYear(benchmark::State &state)
{
    LargeSample &large = largeSample();
    const Database db = Database::open(large.path);
    TimetableCheck check;
    for (auto _ : state)
        check = checkTimetable(db, large.record);
    state.counters["errors"] = check.errors;
    state.counters["warnings"] = check.warnings;
}
BENCHMARK(BM_CheckWholeYear)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
} // namespace korvesta

BENCHMARK_MAIN();
