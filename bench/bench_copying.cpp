// Copying the timetable on the large sample institution: a full week of every group onto the
// next week, one day replicated over a term, and a week copied onto every week of a term,
// each as the copy dialog runs it, with the document's history recording. The load limit is
// on for the first run only: the sample's lines are soon used up, and with it on the later
// runs would copy next to nothing.

#include "data/database.h"
#include "data/history.h"
#include "editing/progress.h"
#include "editing/timetablecopying.h"
#include "support/largesample.h"

#include <benchmark/benchmark.h>

namespace korvesta {
namespace {

constexpr int kTermWeeks = 17;

struct Sample
{
    LargeSample &large = largeSample();
    SilentProgress progress;
    TimetableCopying copying{*large.session, large.record, *large.settings, large.prompts,
                             progress};
    QDate sessionEnd = large
                           .first(QStringLiteral("SELECT DateEnd FROM tblAutoTable WHERE "
                                                 "DateType = 'Session'"))
                           .toDate();
    QDate monday = fullWeek();
    // The term runs on from that week, or back from it when the year ends first.
    int direction = monday.addDays(7 * kTermWeeks) <= sessionEnd ? 1 : -1;

    bool hasLessons(const QDate &date) const
    {
        return large
                   .first(QStringLiteral("SELECT Count(*) FROM tblTimeTableList INNER JOIN "
                                         "tblTimeTableContent ON tblTimeTableList.Key = "
                                         "tblTimeTableContent.Key_TTList WHERE "
                                         "tblTimeTableList.Date = #%1#;")
                              .arg(date.toString(QStringLiteral("M/d/yyyy"))))
                   .toInt()
               > 0;
    }
    // The Monday of the first week from the busiest day's on that, like the week after it,
    // has lessons on all five days: a full week copied onto a full week, no holiday in them.
    QDate fullWeek() const
    {
        const QDate busiest = large.busiestDay.addDays(1 - large.busiestDay.dayOfWeek());
        for (int w = 0; w < 20; ++w) {
            const QDate m = busiest.addDays(7 * w);
            bool full = true;
            for (int i = 0; i < 12 && full; ++i)
                full = i % 7 >= 5 || hasLessons(m.addDays(i));
            if (full)
                return m;
        }
        return busiest;
    }

    Sample() { large.prompts.yes = true; } // the destinations are replaced

    CopyReport run(const CopyRequest &request)
    {
        CopyReport report = copying.run(request);
        if (History *history = History::current())
            history->clear(); // the steps of earlier runs would only grow the memory held
        return report;
    }
};

Sample &sample()
{
    static Sample s;
    return s;
}

void count(benchmark::State &state, const CopyReport &report)
{
    if (report.outcome != CopyOutcome::Done)
        state.SkipWithError("the copy did not run to its end");
    state.counters["dates"] = double(report.copied.size());
    state.counters["rows"] = double(report.rowsWritten);
}

void BM_CopyWeek(benchmark::State &state)
{
    Sample &s = sample();
    s.large.record.JobOverFlow = state.range(0) != 0;
    CopyReport report;
    for (auto _ : state)
        report = s.run({CopyPeriod::Week, s.monday, s.monday.addDays(7 * s.direction)});
    count(state, report);
    state.SetLabel(s.large.record.JobOverFlow ? "load limit on" : "load limit off");
}
BENCHMARK(BM_CopyWeek)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ReplicateDayOverTerm(benchmark::State &state)
{
    Sample &s = sample();
    CopyReport report;
    const QDate last = s.large.busiestDay.addDays(7 * kTermWeeks * s.direction);
    for (auto _ : state)
        report =
            s.run({CopyPeriod::Day, s.large.busiestDay, last, CopyOverwrite(state.range(0)), true});
    count(state, report);
    state.SetLabel(state.range(0) == 0 ? "clearing first" : "copying over");
}
BENCHMARK(BM_ReplicateDayOverTerm)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_CopyWeekOntoEveryWeekOfTerm(benchmark::State &state)
{
    Sample &s = sample();
    int dates = 0, rows = 0;
    for (auto _ : state) {
        dates = rows = 0;
        for (int w = 1; w <= kTermWeeks; ++w) {
            const CopyReport report =
                s.run({CopyPeriod::Week, s.monday, s.monday.addDays(7 * w * s.direction)});
            dates += int(report.copied.size());
            rows += report.rowsWritten;
        }
    }
    state.counters["dates"] = dates;
    state.counters["rows"] = rows;
}
BENCHMARK(BM_CopyWeekOntoEveryWeekOfTerm)->Unit(benchmark::kMillisecond)->Iterations(2);

// Taking back a full week copied onto the next week, and applying it again: what "Отменить"
// and "Повторить" do after the copy.
void BM_UndoWeekCopy(benchmark::State &state)
{
    Sample &s = sample();
    s.large.record.JobOverFlow = false;
    s.run({CopyPeriod::Week, s.monday, s.monday.addDays(7 * s.direction)});
    const CopyReport report =
        s.copying.run({CopyPeriod::Week, s.monday, s.monday.addDays(7 * s.direction)});
    History *history = History::current();
    if (!history || !history->canUndo()) {
        state.SkipWithError("the copy left no step to undo");
        return;
    }
    for (auto _ : state) {
        history->undo();
        state.PauseTiming();
        history->redo();
        state.ResumeTiming();
    }
    count(state, report);
}
BENCHMARK(BM_UndoWeekCopy)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
} // namespace korvesta

BENCHMARK_MAIN();
