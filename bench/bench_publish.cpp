// Publishing the whole academic year of the large sample institution: the first time into an
// empty folder (every calendar and page made and written), then again with nothing changed
// (every file found standing, none written); and the year of the small sample, of the large
// one and of the large one holding four older years, with the bytes written and the lessons
// published, so that the cost per lesson can be compared. The files are made on every core,
// so the time is the wall clock's and the CPU time that of the whole process.

#include "publish/publisher.h"

#include "data/calendar.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "sample/demodocument.h"
#include "sample/olderyears.h"

#include "data/database.h"
#include "editing/progress.h"
#include "support/largesample.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace korvesta {
namespace {

PublishRequest yearRequest(const Database &db, const QString &folder)
{
    PublishRequest r;
    r.folder = folder;
    r.today = QDate::currentDate();
    r.now = QDateTime::currentDateTimeUtc();
    r.zone = QTimeZone::systemTimeZone();
    r.workDays = 6;
    std::tie(r.from, r.to) = defaultPublishPeriod(db, r.today);
    return r;
}

// A new folder for each publication, all of them removed when the program ends: removing
// thousands of files between runs would have the file system look for fresh inodes past the
// ones just freed, and the time would be the file system's.
QString newSite()
{
    static QTemporaryDir sites;
    static int n = 0;
    return sites.filePath(QStringLiteral("site%1").arg(++n));
}

void BM_PublishWholeYear(benchmark::State &state)
{
    LargeSample &large = largeSample();
    const Database db = Database::open(large.path);
    SilentProgress progress;
    PublishResult result;
    for (auto _ : state)
        result = publishTimetable(db, yearRequest(db, newSite()), progress);
    state.counters["files"] = double(result.written.size());
    state.counters["published"] = result.done ? 1 : 0;
}
BENCHMARK(BM_PublishWholeYear)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

void BM_PublishAgainUnchanged(benchmark::State &state)
{
    LargeSample &large = largeSample();
    const Database db = Database::open(large.path);
    SilentProgress progress;
    QTemporaryDir out;
    const PublishRequest request = yearRequest(db, out.filePath("site"));
    publishTimetable(db, request, progress);
    PublishResult result;
    for (auto _ : state)
        result = publishTimetable(db, request, progress);
    state.counters["files"] = double(result.written.size());
}
BENCHMARK(BM_PublishAgainUnchanged)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// The document of the argument: 0 the small sample's year, 1 the large one's, 5 the large one
// with four older years; written on first use beside the large sample.
QString publishedDocument(int which)
{
    LargeSample &large = largeSample();
    if (which == 1)
        return large.path;
    static const QString small = [&large] {
        const QString p = large.folder.filePath(QStringLiteral("small.kvt"));
        writeDemoDocument(p, DemoRequest::fullYear(DemoSize::Small,
                                                   academicYearStart(QDate::currentDate()).year()));
        return p;
    }();
    static const QString fiveYears = [&large] {
        const QString p = large.folder.filePath(QStringLiteral("five years.kvt"));
        QFile::copy(large.path, p);
        addOlderYears(p, 4);
        return p;
    }();
    return which == 0 ? small : fiveYears;
}

qint64 bytesUnder(const QString &folder)
{
    qint64 bytes = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        bytes += QFileInfo(it.next()).size();
    return bytes;
}

// A line of /proc/self/status in megabytes: "VmRSS", "VmHWM" (the peak since it was reset).
double statusMegabytes(const QByteArray &name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(name + ':'))
            return line.mid(name.size() + 1).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// Starts counting the peak of the memory the process holds again from now.
void resetPeakMemory()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

void BM_PublishDocument(benchmark::State &state)
{
    const Database db = Database::open(publishedDocument(int(state.range(0))));
    SilentProgress progress;
    PublishResult result;
    qint64 bytes = 0;
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const PublishRequest request = yearRequest(db, newSite());
        resetPeakMemory();
        const double before = statusMegabytes("VmRSS");
        state.ResumeTiming();
        result = publishTimetable(db, request, progress);
        state.PauseTiming();
        peak = std::max(peak, statusMegabytes("VmHWM") - before);
        bytes = bytesUnder(request.folder);
        state.ResumeTiming();
    }
    const PublishRequest period = yearRequest(db, QString());
    state.counters["files"] = double(result.written.size());
    state.counters["MB"] = double(bytes) / (1024.0 * 1024.0);
    state.counters["memoryMB"] = peak; // the most the publication took above what was held
    state.counters["lessons"] = db.openRecordset(
        QStringLiteral("SELECT Count(*) FROM tblTimeTableContent INNER JOIN tblTimeTableList ON "
                       "tblTimeTableList.Key = tblTimeTableContent.Key_TTList WHERE "
                       "tblTimeTableList.Date Between %1 And %2;")
            .arg(sqlDateLiteral(period.from), sqlDateLiteral(period.to)))
                                    .value(0)
                                    .toDouble();
}
BENCHMARK(BM_PublishDocument)
    ->Arg(0)
    ->Arg(1)
    ->Arg(5)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

} // namespace
} // namespace korvesta

BENCHMARK_MAIN();
