// The ranked free slots of a load line for a month of the large sample institution.

#include "assist/slotsuggestion.h"
#include "data/database.h"
#include "support/largesample.h"

#include <benchmark/benchmark.h>

namespace korvesta {
namespace {

void BM_SuggestForAMonth(benchmark::State &state)
{
    LargeSample &large = largeSample();
    const Database db = Database::open(large.path);
    // A line of the busiest day's first lesson: its group and discipline.
    const QString group = large
                              .first(QStringLiteral(
                                  "SELECT g.[Group] & ' (' & g.Course & ')' FROM "
                                  "tblTimeTableContent c INNER JOIN tblGroups g ON g.Key = "
                                  "c.Key_Group ORDER BY c.Key"))
                              .toString();
    const QString discipline =
        large
            .first(QStringLiteral("SELECT d.Discipline FROM (tblTimeTableContent c INNER JOIN "
                                  "tblJob j ON j.Key = c.Key_Job) INNER JOIN tblDisciplines d "
                                  "ON d.Key = j.Key_Discipline ORDER BY c.Key"))
            .toString();
    const QDate from = large.busiestDay.addDays(1 - large.busiestDay.day());
    SlotSuggestions found;
    for (auto _ : state)
        found = suggestSlots(db, large.record, {group, discipline, from, from.addMonths(1), 10});
    state.counters["slots"] = double(found.best.size());
    state.SetLabel(found.refusal.isEmpty() ? group.toStdString() : found.refusal.toStdString());
}
BENCHMARK(BM_SuggestForAMonth)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvesta

BENCHMARK_MAIN();
