// Cover for the busiest tutor of the large sample's busiest day: his lessons with the tutors
// who could take each, and the day's cover report.

#include "assist/cover.h"
#include "assist/coverreport.h"
#include "data/database.h"
#include "grid/gridmodel.h"
#include "support/largesample.h"

#include <benchmark/benchmark.h>

namespace korvesta {
namespace {

QString busiestTutor(LargeSample &large)
{
    return large
        .first(QStringLiteral(
                   "SELECT t.Tutor FROM ((tblTimeTableContent c INNER JOIN tblTimeTableList d "
                   "ON d.Key = c.Key_TTList) INNER JOIN tblJob j ON j.Key = c.Key_Job) "
                   "INNER JOIN tblTutors t ON t.Key = j.Key_Tutor WHERE d.[Date] = '%1' "
                   "GROUP BY t.Tutor ORDER BY Count(*) DESC, t.Tutor")
                   .arg(large.busiestDay.toString(Qt::ISODate)))
        .toString();
}

void BM_CoverListForADay(benchmark::State &state)
{
    LargeSample &large = largeSample();
    const Database db = Database::open(large.path);
    const QString tutor = busiestTutor(large);
    CoverList list;
    for (auto _ : state)
        list = coverList(db, tutor, large.busiestDay);
    state.counters["lessons"] = double(list.lessons.size());
    state.SetLabel(list.refusal.isEmpty() ? tutor.toStdString() : list.refusal.toStdString());
}
BENCHMARK(BM_CoverListForADay)->Unit(benchmark::kMillisecond);

void BM_CoverReportForADay(benchmark::State &state)
{
    LargeSample &large = largeSample();
    const Database db = Database::open(large.path);
    GridModel grid;
    for (auto _ : state)
        fillCoverReport(grid, large.busiestDay, coverReportRows(db, large.busiestDay));
    state.counters["rows"] = double(grid.rows());
}
BENCHMARK(BM_CoverReportForADay)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvesta

BENCHMARK_MAIN();
