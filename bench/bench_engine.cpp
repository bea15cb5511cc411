// The engine's cost over SQLite: statements of the program's dialect against the same
// statements written by hand for SQLite, over 200 000 lessons; and the cost of translating.

#include "sqliteconnection.h"
#include "database.h"
#include "documenttemplate.h"
#include "isodate.h"
#include "querydef.h"
#include "recordset.h"

#include <QDate>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <random>

using namespace korvesta;

namespace {

constexpr int kGroups = 120;
constexpr int kTutors = 250;
constexpr int kDisciplines = 300;
constexpr int kJobs = 1500;
constexpr int kDays = 250;
constexpr int kLessons = 200000;

struct Document
{
    QTemporaryDir dir;
    QString path;

    Document()
    {
        path = dir.filePath(QStringLiteral("bench.kvt"));
        writeNewDocument(path);
        Database db = Database::open(path);
        sqlite3 *h = sqliteOf(*db.connection()).handle();
        sqlite3_exec(h, "BEGIN", nullptr, nullptr, nullptr);
        std::mt19937 rng(20071);
        auto exec = [&](const QString &sql) {
            sqlite3_exec(h, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
        };
        for (int g = 1; g <= kGroups; ++g)
            exec(QStringLiteral("INSERT INTO tblGroups (\"Group\", Course, Key_TypeFaculty) "
                                "VALUES ('ГР-%1', '%2', 1)")
                     .arg(g)
                     .arg(1 + g % 5));
        for (int t = 1; t <= kTutors; ++t)
            exec(QStringLiteral("INSERT INTO tblTutors (Tutor) VALUES ('Преподаватель %1')").arg(t));
        for (int d = 1; d <= kDisciplines; ++d)
            exec(QStringLiteral("INSERT INTO tblDisciplines (Discipline) VALUES ('Дисциплина %1')")
                     .arg(d));
        for (int j = 1; j <= kJobs; ++j)
            exec(QStringLiteral("INSERT INTO tblJob (Key_Tutor, Key_Discipline) VALUES (%1, %2)")
                     .arg(1 + j % kTutors)
                     .arg(1 + j % kDisciplines));
        for (int j = 1; j <= kJobs; ++j)
            for (int k = 0; k < 2; ++k)
                exec(QStringLiteral("INSERT INTO tblJobList (Key_Job, Key_Group, Hours) "
                                    "VALUES (%1, %2, 72)")
                         .arg(j)
                         .arg(1 + (j * 7 + k * 13) % kGroups));
        const QDate first(2007, 9, 1);
        for (int d = 0; d < kDays; ++d)
            exec(QStringLiteral("INSERT INTO tblTimeTableList (\"Date\", ReadOnly) VALUES ('%1', 0)")
                     .arg(first.addDays(d).toString(Qt::ISODate)));
        sqlite3_stmt *insert = nullptr;
        sqlite3_prepare_v2(h,
                           "INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Job, "
                           "Key_Group, SubGroup, Key_Aud, Key_TypeLesson) "
                           "SELECT ?1, ?2, Key_Job, Key_Group, 0, 1, 1 FROM tblJobList "
                           "WHERE Key = ?3",
                           -1, &insert, nullptr);
        for (int i = 0; i < kLessons; ++i) {
            sqlite3_bind_int(insert, 1, 1 + int(rng() % kDays));
            sqlite3_bind_int(insert, 2, 1 + int(rng() % 14));
            sqlite3_bind_int(insert, 3, 1 + int(rng() % (kJobs * 2)));
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(h, "COMMIT; ANALYZE;", nullptr, nullptr, nullptr);
    }
};

Document &document()
{
    static Document doc;
    return doc;
}

// Reads every row into values the way a recordset does, for the hand-written side.
size_t materialise(sqlite3_stmt *stmt, const std::vector<bool> &dates)
{
    std::vector<QVariant> cells;
    const int n = sqlite3_column_count(stmt);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int i = 0; i < n; ++i) {
            switch (sqlite3_column_type(stmt, i)) {
            case SQLITE_NULL:
                cells.emplace_back();
                break;
            case SQLITE_INTEGER:
                cells.emplace_back(qint64(sqlite3_column_int64(stmt, i)));
                break;
            case SQLITE_FLOAT:
                cells.emplace_back(sqlite3_column_double(stmt, i));
                break;
            default: {
                const char *t = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
                const int len = sqlite3_column_bytes(stmt, i);
                MomentParts parts;
                if (size_t(i) < dates.size() && dates[size_t(i)] && parseMomentParts(t, len, parts))
                    cells.emplace_back(parts.date);
                else
                    cells.emplace_back(QString::fromUtf8(t, len));
            }
            }
        }
    }
    sqlite3_reset(stmt);
    return cells.size();
}

struct Case
{
    const char *name;
    const char *jet;
    const char *sqlite;
    std::vector<bool> dates; // result columns holding dates
};

const Case cases[] = {
    {"TutorHoursByGroup",
     "SELECT tblTimeTableList.Date, tblJob.Key_Tutor, tblJob.Key_Discipline, tblGroups.Group, "
     "tblGroups.Course, tblJobList.Hours AS Всего "
     "FROM (tblJob INNER JOIN (tblTimeTableList INNER JOIN (tblTimeTableContent INNER JOIN "
     "tblGroups ON tblTimeTableContent.Key_Group = tblGroups.Key) ON tblTimeTableList.Key = "
     "tblTimeTableContent.Key_TTList) ON tblJob.Key = tblTimeTableContent.Key_Job) INNER JOIN "
     "tblJobList ON (tblJob.Key = tblJobList.Key_Job) AND (tblGroups.Key = tblJobList.Key_Group) "
     "WHERE (((tblTimeTableList.Date) Between #9/1/2007# AND #5/31/2008#) "
     "AND ((tblJob.Key_Tutor)=17)) "
     "ORDER BY tblTimeTableList.Date, tblGroups.Course, Len(tblGroups.Group), tblGroups.Group;",
     "SELECT l.Date, j.Key_Tutor, j.Key_Discipline, g.\"Group\", g.Course, jl.Hours AS Всего "
     "FROM tblJob j JOIN tblTimeTableContent c ON j.Key = c.Key_Job "
     "JOIN tblTimeTableList l ON l.Key = c.Key_TTList JOIN tblGroups g ON c.Key_Group = g.Key "
     "JOIN tblJobList jl ON j.Key = jl.Key_Job AND g.Key = jl.Key_Group "
     "WHERE l.Date BETWEEN '2007-09-01' AND '2008-05-31' AND j.Key_Tutor = 17 "
     "ORDER BY l.Date, g.Course, length(g.\"Group\"), g.\"Group\"",
     {true}},
    {"LessonsInMonth",
     "SELECT tblTimeTableList.Date, tblTimeTableContent.Key_Job, tblGroups.Group, "
     "tblTimeTableContent.Lesson "
     "FROM tblTimeTableList INNER JOIN (tblTimeTableContent INNER JOIN tblGroups ON "
     "tblTimeTableContent.Key_Group = tblGroups.Key) ON tblTimeTableList.Key = "
     "tblTimeTableContent.Key_TTList "
     "WHERE (((tblTimeTableList.Date) Between #10/1/2007# AND #10/31/2007#)) "
     "ORDER BY tblTimeTableList.Date, Len(tblGroups.Group), tblGroups.Group;",
     "SELECT l.Date, c.Key_Job, g.\"Group\", c.Lesson FROM tblTimeTableList l "
     "JOIN tblTimeTableContent c ON l.Key = c.Key_TTList JOIN tblGroups g ON c.Key_Group = g.Key "
     "WHERE l.Date BETWEEN '2007-10-01' AND '2007-10-31' "
     "ORDER BY l.Date, length(g.\"Group\"), g.\"Group\"",
     {true}},
    {"LessonsPerTutorYear",
     "SELECT tblTutors.Tutor, Count(tblTimeTableContent.Lesson) AS CountLesson, "
     "Min(tblTimeTableList.Date) AS MinDate, Max(tblTimeTableList.Date) AS MaxDate, "
     "DateDiff('d',[MinDate],[MaxDate]) AS CountDays "
     "FROM tblTutors INNER JOIN (tblTimeTableList INNER JOIN (tblJob INNER JOIN "
     "tblTimeTableContent ON tblJob.Key = tblTimeTableContent.Key_Job) ON tblTimeTableList.Key = "
     "tblTimeTableContent.Key_TTList) ON tblTutors.Key = tblJob.Key_Tutor "
     "GROUP BY tblTutors.Tutor;",
     "SELECT t.Tutor, count(c.Lesson) AS CountLesson, min(l.Date) AS MinDate, "
     "max(l.Date) AS MaxDate, julianday(max(l.Date)) - julianday(min(l.Date)) AS CountDays "
     "FROM tblTutors t JOIN tblJob j ON t.Key = j.Key_Tutor "
     "JOIN tblTimeTableContent c ON j.Key = c.Key_Job "
     "JOIN tblTimeTableList l ON l.Key = c.Key_TTList GROUP BY t.Tutor",
     {false, false, true, true}},
};

void BM_Dialect(benchmark::State &state, const Case *c)
{
    Database db = Database::open(document().path);
    size_t rows = 0;
    for (auto _ : state) {
        Recordset rs = db.openRecordset(QString::fromUtf8(c->jet));
        rows = size_t(rs.recordCount());
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = double(rows);
}

void BM_HandWritten(benchmark::State &state, const Case *c)
{
    Database db = Database::open(document().path);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v3(sqliteOf(*db.connection()).handle(), c->sqlite, -1, SQLITE_PREPARE_PERSISTENT,
                       &stmt, nullptr);
    for (auto _ : state)
        benchmark::DoNotOptimize(materialise(stmt, c->dates));
    sqlite3_finalize(stmt);
}

void BM_TranslateFresh(benchmark::State &state)
{
    Database db = Database::open(document().path);
    const QString sql = QString::fromUtf8(cases[0].jet);
    for (auto _ : state)
        benchmark::DoNotOptimize(jet::translate(sql, *db.connection()));
}

void BM_TranslateCached(benchmark::State &state)
{
    Database db = Database::open(document().path);
    const QString sql = QString::fromUtf8(cases[0].jet);
    for (auto _ : state)
        benchmark::DoNotOptimize(db.connection()->translate(sql));
}

void BM_SmallQueryByName(benchmark::State &state)
{
    Database db = Database::open(document().path);
    db.createQueryDef("qryDateReadOnly", "PARAMETERS pDate DateTime; SELECT tblTimeTableList.ReadOnly "
                                         "FROM tblTimeTableList WHERE tblTimeTableList.Date = pDate;");
    for (auto _ : state) {
        QueryDef q = Database::open(document().path).queryDef("qryDateReadOnly");
        q.setParameter("pDate", QDate(2007, 10, 3));
        benchmark::DoNotOptimize(q.openRecordset().recordCount());
    }
}

} // namespace

int main(int argc, char **argv)
{
    for (const Case &c : cases) {
        benchmark::RegisterBenchmark((std::string("Dialect/") + c.name).c_str(), BM_Dialect, &c)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("HandWritten/") + c.name).c_str(),
                                     BM_HandWritten, &c)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("Translate/Fresh", BM_TranslateFresh)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Translate/Cached", BM_TranslateCached)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("SavedQuery/OpenByNameWithParameter", BM_SmallQueryByName)
        ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
