// What the document's history costs on the large sample: recording a one-row change (a lesson
// placed) with and without the history, and recording, undoing and redoing the deletion of
// the whole year of lessons.

#include "support/largesample.h"

#include "data/sqliteconnection.h"
#include "data/database.h"
#include "data/history.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace korvesta;

namespace {

Database document(bool recorded)
{
    LargeSample &large = largeSample();
    Database db = Database::open(large.path);
    if (recorded)
        History::attach(db);
    else
        History::detachAll();
    return db;
}

// One lesson row added and removed again: two changes, two steps when recorded.
void BM_PlaceOneLesson(benchmark::State &state)
{
    const bool recorded = state.range(0) != 0;
    Database db = document(recorded);
    const QString day = largeSample().first("SELECT Max(Key) FROM tblTimeTableList").toString();
    for (auto _ : state) {
        db.execute("INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Job, Key_Group, "
                   "SubGroup, Key_Aud, Key_TypeLesson) VALUES ("
                   + day + ", 15, 1, 1, 0, 1, 1)");
        db.execute("DELETE FROM tblTimeTableContent WHERE Lesson = 15");
    }
    if (recorded)
        History::of(db)->clear();
    state.SetLabel(recorded ? "recorded" : "not recorded");
}
BENCHMARK(BM_PlaceOneLesson)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void deleteYear(const Database &db)
{
    Database::Transaction t(db);
    db.execute("DELETE FROM tblTimeTableContent");
    t.commit();
}

// The same inside a transaction that is rolled back: the engine's own cost, without the
// wait for the disk that every committed change has.
void BM_PlaceOneLessonUncommitted(benchmark::State &state)
{
    const bool recorded = state.range(0) != 0;
    Database db = document(recorded);
    const QString day = largeSample().first("SELECT Max(Key) FROM tblTimeTableList").toString();
    for (auto _ : state) {
        Database::Transaction t(db);
        db.execute("INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Job, Key_Group, "
                   "SubGroup, Key_Aud, Key_TypeLesson) VALUES ("
                   + day + ", 15, 1, 1, 0, 1, 1)");
    }
    state.SetLabel(recorded ? "recorded" : "not recorded");
}
BENCHMARK(BM_PlaceOneLessonUncommitted)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The lessons of the year, kept aside once so that each run can put them back untimed.
void keepLessons(const Database &db)
{
    sqlite3_exec(sqliteOf(*db.connection()).handle(),
                 "CREATE TEMP TABLE IF NOT EXISTS bench_lessons AS "
                 "SELECT * FROM main.tblTimeTableContent",
                 nullptr, nullptr, nullptr);
}

void restoreLessons(const Database &db)
{
    sqlite3_exec(sqliteOf(*db.connection()).handle(),
                 "INSERT INTO main.tblTimeTableContent SELECT * FROM temp.bench_lessons", nullptr,
                 nullptr, nullptr);
    if (History *history = History::of(db))
        history->clear();
}

void BM_DeleteWholeYear(benchmark::State &state)
{
    const bool recorded = state.range(0) != 0;
    Database db = document(recorded);
    keepLessons(db);
    const qint64 rows =
        largeSample().first("SELECT Count(*) FROM tblTimeTableContent").toLongLong();
    for (auto _ : state) {
        deleteYear(db);
        state.PauseTiming();
        restoreLessons(db);
        state.ResumeTiming();
    }
    state.SetLabel(QStringLiteral("%1 rows, %2")
                       .arg(rows)
                       .arg(recorded ? "recorded" : "not recorded")
                       .toStdString());
}
BENCHMARK(BM_DeleteWholeYear)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// Undo (Arg 0) or redo (Arg 1) of the deletion of the whole year.
void BM_UndoWholeYear(benchmark::State &state)
{
    const bool redo = state.range(0) != 0;
    Database db = document(true);
    History *history = History::of(db);
    for (auto _ : state) {
        state.PauseTiming();
        deleteYear(db);
        if (redo)
            history->undo();
        state.ResumeTiming();
        if (redo)
            history->redo();
        else
            history->undo();
        state.PauseTiming();
        if (redo)
            history->undo();
        history->clear();
        state.ResumeTiming();
    }
    state.SetLabel(redo ? "redo" : "undo");
}
BENCHMARK(BM_UndoWholeYear)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
