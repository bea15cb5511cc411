// Documents of several years on the large sample: the check of one month and a group's
// passport on a document that also holds four older years, against the one-year document;
// and the next academic year's document written from it.

#include "check/timetablecheck.h"
#include "data/database.h"
#include "data/querydef.h"
#include "data/recordset.h"
#include "sample/olderyears.h"
#include "support/largesample.h"
#include "year/nextyear.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace korvesta {
namespace {

// The large sample with four older years, written on first use beside it.
const QString &fiveYearPath()
{
    static const QString path = [] {
        LargeSample &large = largeSample();
        const QString p = large.folder.filePath(QStringLiteral("five years.kvt"));
        QFile::copy(large.path, p);
        addOlderYears(p, 4);
        return p;
    }();
    return path;
}

QString documentOf(int years)
{
    return years == 1 ? largeSample().path : fiveYearPath();
}

// November of the sample's academic year.
void BM_CheckMonth(benchmark::State &state)
{
    LargeSample &large = largeSample();
    const Database db = Database::open(documentOf(int(state.range(0))));
    const int year = large.first("SELECT Min(DateStart) FROM tblAutoTable WHERE DateType = "
                                 "'Session'")
                         .toDate()
                         .year();
    TimetableCheck check;
    for (auto _ : state)
        check = checkTimetable(db, large.record, QDate(year, 11, 1), QDate(year, 11, 30));
    state.counters["errors"] = check.errors;
}
BENCHMARK(BM_CheckMonth)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);

// The passport of the group with the most load lines.
void BM_GroupPassport(benchmark::State &state)
{
    const Database db = Database::open(documentOf(int(state.range(0))));
    const int group = largeSample()
                          .first("SELECT Key_Group FROM tblJobList GROUP BY Key_Group "
                                 "ORDER BY Count(*) DESC")
                          .toInt();
    int lines = 0;
    for (auto _ : state) {
        QueryDef query = db.queryDef(QStringLiteral("qryPassportGroup"));
        query.setParameter(QStringLiteral("pKeyGroup"), group);
        lines = 0;
        for (Recordset rs = query.openRecordset(); !rs.isEof(); rs.moveNext())
            ++lines;
    }
    state.counters["lines"] = lines;
}
BENCHMARK(BM_GroupPassport)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);

void BM_NewYear(benchmark::State &state)
{
    LargeSample &large = largeSample();
    NextYearRequest request;
    request.source = large.path;
    request.target = large.folder.filePath(QStringLiteral("next.kvt"));
    request.start = suggestedNextYearStart(large.path);
    request.keepLoad = true;
    for (auto _ : state)
        startNextYear(request);
}
BENCHMARK(BM_NewYear)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace korvesta

BENCHMARK_MAIN();
