// Writing a view's grid to an .xlsx file on the large sample institution: the week timetable
// of the busiest week, and the hours worked of every tutor over the academic year so far.
// The views are filled once; each iteration writes the file as the export command does.

#include "export/exportformat.h"
#include "export/xlsxexport.h"
#include "grid/gridmodel.h"
#include "support/largesample.h"
#include "views/fillregistry.h"
#include "views/headlessviews.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <map>
#include <memory>

#include <benchmark/benchmark.h>

namespace korvesta {
namespace {

// A grid as wide as that of a maximised window on a 1280-pixel screen.
constexpr int GridWidthTwips = 15000;

struct Filled
{
    GridModel grid;
    ExportSubject subject;
    bool shown = false;
};

// The view filled as the window fills it; not shown when this build has no fill for it.
Filled &filled(int code)
{
    static std::map<int, std::unique_ptr<Filled>> shown;
    std::unique_ptr<Filled> &view = shown[code];
    if (view)
        return *view;
    view = std::make_unique<Filled>();
    LargeSample &sample = largeSample();
    FillRegistry fills;
    registerViewFills(fills);
    if (!fills.find(code))
        return *view;
    view->grid.setClientWidth(GridWidthTwips);
    HeadlessViews views(view->grid, *sample.session, *sample.settings, sample.record,
                        sample.prompts);
    views.date = sample.busiestDay;
    const int year = sample.busiestDay.month() >= 9 ? sample.busiestDay.year()
                                                     : sample.busiestDay.year() - 1;
    views.from = QDate(year, 9, 1);
    views.to = sample.busiestDay;
    view->shown = views.show(code);
    view->subject = {QString(), views.date, views.from, views.to, sample.record.WorkDays, QDateTime()};
    return *view;
}

void BM_Export(benchmark::State &state, int code)
{
    Filled &view = filled(code);
    if (!view.shown || view.grid.rows() <= view.grid.fixedRows() + 2) {
        state.SkipWithError("the view is not filled in this build");
        return;
    }
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("view.xlsx"));
    ExportRequest request;
    request.grid = &view.grid;
    request.viewCode = code;
    request.subject = view.subject;
    request.settings = &largeSample().record;
    request.userName = QStringLiteral("planner");
    for (auto _ : state) {
        if (exportView(request, path).outcome != ExportResult::Written) {
            state.SkipWithError("the file was not written");
            return;
        }
    }
    state.counters["rows"] = view.grid.rows();
    state.counters["cols"] = view.grid.cols();
    state.counters["bytes"] = double(QFileInfo(path).size());
}

BENCHMARK_CAPTURE(BM_Export, week_41, 41)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, hours_worked_all_35, 35)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, load_30, 30)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvesta

int main(int argc, char **argv)
{
    // Fills measure their texts, which needs the GUI classes but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    korvesta::largeSample(); // the sample is written before the first timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
