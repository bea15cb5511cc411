// Placing a lesson from a group's timetable cell on the large sample institution: opening the
// cell (every refusal check, the list of the group's lines, the auditoriums free then) and
// "Добавить" with the cell texts composed again.

#include "data/database.h"
#include "data/recordset.h"
#include "editing/placement.h"
#include "support/largesample.h"
#include "support/placementcell.h"

#include <benchmark/benchmark.h>


namespace korvesta {
namespace {

struct Sample
{
    LargeSample &large = largeSample();
    LessonPlacement placement{*large.session, large.record, *large.settings, large.prompts};
    PlacementCell cell = pickPlacementCell(Database::open(large.path), large.busiestDay);

    std::optional<PlacementChoice> open()
    {
        return placement.openForGroup(large.busiestDay, cell.lesson, cell.group, cell.course,
                                      QString());
    }
};

Sample &sample()
{
    static Sample s;
    return s;
}

void BM_OpenGroupCell(benchmark::State &state)
{
    Sample &s = sample();
    size_t lines = 0;
    for (auto _ : state) {
        std::optional<PlacementChoice> choice = s.open();
        if (!choice) {
            state.SkipWithError("the cell did not open");
            break;
        }
        lines = choice->lines.size();
        benchmark::DoNotOptimize(choice);
    }
    state.counters["lines"] = double(lines);
}
BENCHMARK(BM_OpenGroupCell)->Unit(benchmark::kMillisecond);

void BM_PlaceLesson(benchmark::State &state)
{
    Sample &s = sample();
    for (auto _ : state) {
        state.PauseTiming();
        std::optional<PlacementChoice> choice = s.open();
        const std::optional<PlacementRequest> request =
            choice ? readyToPlace(*choice, s.large.prompts) : std::nullopt;
        if (!request) {
            state.SkipWithError("no line, auditorium or lesson type to place");
            break;
        }
        state.ResumeTiming();

        const PlacementResult result = s.placement.add(*choice, *request);

        state.PauseTiming();
        if (result.outcome != PlacementOutcome::Written || result.cells.empty())
            state.SkipWithError("the lesson was not placed");
        Database::open(s.large.path)
            .execute(QStringLiteral("DELETE * FROM tblTimeTableContent WHERE "
                                    "tblTimeTableContent.Key_Group = %1 AND "
                                    "tblTimeTableContent.Key_TTList = %2 AND "
                                    "tblTimeTableContent.Lesson = %3;")
                         .arg(s.cell.keyGroup)
                         .arg(s.cell.keyDay)
                         .arg(s.cell.lesson));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlaceLesson)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvesta

BENCHMARK_MAIN();
