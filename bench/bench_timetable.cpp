// The timetable views on the large sample institution, each with its frame: the day and the
// week timetables and the tutors' work schedule on the busiest date of the year.

#include "data/database.h"
#include "data/demodocument.h"
#include "data/documentsession.h"
#include "data/prompts.h"
#include "data/recordset.h"
#include "grid/gridmodel.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"
#include "views/timetable/timetablefills.h"
#include "views/viewcontext.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace korvesta {
namespace {

// Answers nothing and shows nothing: a benchmark has no user.
class SilentPrompts : public Prompts
{
public:
    void message(const QString &, Icon, const QString &) override {}
    Answer askYesNo(const QString &, Icon, const QString &) override { return Answer::No; }
    Answer askYesNoCancel(const QString &, Icon, const QString &) override
    {
        return Answer::Cancel;
    }
    Answer askOkCancel(const QString &, Icon, const QString &) override { return Answer::Cancel; }
    std::optional<QString> askText(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    std::optional<QColor> chooseColor(const QColor &) override { return std::nullopt; }
    std::optional<QString> chooseFileToOpen(const FileChoice &) override { return std::nullopt; }
    std::optional<QString> chooseFileToSave(const FileChoice &) override { return std::nullopt; }
};

struct Sample
{
    QTemporaryDir folder;
    QDate day;
    SilentPrompts prompts;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<DocumentSession> session;
    SettingsRecord record;
    GridModel grid;
    ObjectList objects;
};

Sample *g_sample = nullptr;

void prepareSample(Sample &s)
{
    const QString path = s.folder.filePath(QStringLiteral("large.kvt"));
    QElapsedTimer timer;
    timer.start();
    writeDemoDocument(path, DemoSize::Large);
    std::fprintf(stderr, "Large sample written in %.2f s\n", double(timer.elapsed()) / 1000.0);

    Recordset day = Database::open(path).openRecordset(
        "SELECT tblTimeTableList.Date, Count(*) AS N FROM tblTimeTableList "
        "INNER JOIN tblTimeTableContent ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList "
        "GROUP BY tblTimeTableList.Date ORDER BY Count(*) DESC");
    s.day = day.value(0).toDate();
    std::fprintf(stderr, "Busiest date %s with %d lessons\n",
                 qPrintable(s.day.toString(Qt::ISODate)), day.value(1).toInt());

    s.settings = std::make_unique<SettingsStore>(s.folder.filePath(QStringLiteral("user.ini")));
    s.record.load(*s.settings);
    s.session = std::make_unique<DocumentSession>(
        s.prompts, *s.settings, AppPaths{s.folder.path(), s.folder.path()});
    s.session->startFromCommandLine({path});
}

template<void (*Show)(ViewContext &)>
void BM_Show(benchmark::State &state)
{
    Sample &s = *g_sample;
    ViewContext ctx(s.grid, s.objects, *s.session, *s.settings, s.record, s.prompts);
    ctx.calendarDate = s.day;
    for (auto _ : state) {
        Show(ctx);
        benchmark::DoNotOptimize(s.grid.revision());
    }
    int filled = 0; // so that an empty grid does not pass for a fast one
    for (int r = s.grid.fixedRows(); r < s.grid.rows(); ++r)
        for (int c = s.grid.fixedCols(); c < s.grid.cols(); ++c)
            filled += s.grid.text(r, c).isEmpty() ? 0 : 1;
    state.counters["rows"] = s.grid.rows();
    state.counters["cols"] = s.grid.cols();
    state.counters["filled"] = filled;
}

BENCHMARK(BM_Show<showDayTimetable>)->Name("DayTimetable")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Show<showWeekTimetable>)->Name("WeekTimetable")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Show<showWorkSchedule>)->Name("WorkSchedule")->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvesta

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    korvesta::Sample sample;
    korvesta::prepareSample(sample);
    korvesta::g_sample = &sample;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
