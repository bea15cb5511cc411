// Placing a lesson from a group's timetable cell on the large sample institution: opening the
// cell (every refusal check, the list of the group's lines, the auditoriums free then) and
// "Добавить" with the cell texts composed again.

#include "data/database.h"
#include "data/recordset.h"
#include "editing/placement.h"
#include "support/largesample.h"

#include <benchmark/benchmark.h>

#include <map>
#include <utility>

namespace korvesta {
namespace {

// The group with the most load lines whose name and course name it alone, and a lesson of the
// busiest day that the group has free.
struct Cell
{
    int keyGroup = 0;
    QString group;
    QString course;
    int keyDay = 0;
    int lesson = 0;
};

Cell pickCell(const LargeSample &large)
{
    Cell cell;
    const Database db = Database::open(large.path);
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
         !rs.isEof(); rs.moveNext()) {
        if (named[{rs.value(1).toString(), rs.value(2).toString()}] == 1) {
            cell.keyGroup = rs.value(0).toInt();
            cell.group = rs.value(1).toString();
            cell.course = rs.value(2).toString();
            break;
        }
    }
    for (Recordset rs = db.openRecordset(QStringLiteral(
             "SELECT tblTimeTableList.Key, tblTimeTableList.Date FROM tblTimeTableList;"));
         !rs.isEof() && cell.keyDay == 0; rs.moveNext()) {
        if (rs.value(1).toDate() == large.busiestDay)
            cell.keyDay = rs.value(0).toInt();
    }
    for (int lesson = 1; lesson <= 8 && cell.lesson == 0; ++lesson) {
        const QVariant used =
            large.first(QStringLiteral("SELECT Count(*) FROM tblTimeTableContent WHERE "
                                       "tblTimeTableContent.Key_Group = %1 AND "
                                       "tblTimeTableContent.Key_TTList = %2 AND "
                                       "tblTimeTableContent.Lesson = %3;")
                            .arg(cell.keyGroup)
                            .arg(cell.keyDay)
                            .arg(lesson));
        if (used.toLongLong() == 0)
            cell.lesson = lesson;
    }
    return cell;
}

struct Sample
{
    LargeSample &large = largeSample();
    LessonPlacement placement{*large.session, large.record, *large.settings, large.prompts};
    Cell cell = pickCell(large);

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
        bool checked = false;
        if (choice) {
            for (const PlacementLine &l : choice->lines) {
                if (!l.blocked() && choice->check(l.keyJobList, s.large.prompts)) {
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

        const PlacementResult result = s.placement.add(*choice, request);

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
