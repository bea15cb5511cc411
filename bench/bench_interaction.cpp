// Taking over the entry area of the group list on the large sample institution: the new
// group is checked and saved, the list refilled and the saved row found again, as "Принять"
// does in the window.

#include "data/database.h"
#include "data/queries.h"
#include "editing/loadeditor.h"
#include "editing/referenceeditor.h"
#include "grid/gridmodel.h"
#include "interaction/editingtargets.h"
#include "interaction/gridrouter.h"
#include "interaction/interactionhost.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"
#include "support/largesample.h"
#include "views/frames/entryarea.h"
#include "views/headlessviews.h"
#include "views/navigationstate.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>


namespace korvesta {
namespace {

// The dispatcher of the window without the window: the view's fill on the grid.
class Host : public InteractionHost
{
public:
    explicit Host(HeadlessViews &views) : m_views(views) {}
    void refresh() override { m_views.refresh(); }
    QDate calendarDate() const override { return m_views.date; }

private:
    HeadlessViews &m_views;
};

struct Sample
{
    LargeSample &large = largeSample();
    GridModel grid;
    HeadlessViews views{grid, *large.session, *large.settings, large.record, large.prompts};
    NavigationState &navigation = views.navigation();
    DocumentQueries queries{*large.session, *large.settings, large.prompts};
    ReferenceEditor editor{*large.session, large.record, large.prompts};
    EditingTargets targets;
    Host host{views};
    GridRouter router{grid, navigation, large.record, large.prompts, queries, editor, targets,
                      host};

    Sample() { grid.setClientWidth(15000); } // the grid of a maximised window
};

void BM_SaveNewGroupAndRefill(benchmark::State &state)
{
    static Sample s;
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.navigation.selectItem(0);
        s.host.refresh();
        s.navigation.selectNewRecord();
        s.host.refresh();
        s.grid.setText(entryarea::Row, 1, QStringLiteral("9"));
        s.grid.setText(entryarea::Row, 2, QStringLiteral("Замер"));
        s.grid.setCurrentCell(entryarea::AcceptRow, entryarea::ButtonCol);
        state.ResumeTiming();

        s.router.keyDown(Qt::Key_Return);

        state.PauseTiming();
        rows = s.grid.rows();
        if (s.navigation.viewCode() != 0 || s.grid.text(s.grid.currentRow(), 2) != "Замер")
            state.SkipWithError("the new group was not saved and found");
        Database::open(s.large.path).execute(
            QStringLiteral("DELETE * FROM tblGroups WHERE [Group] = 'Замер';"));
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
}

BENCHMARK(BM_SaveNewGroupAndRefill)->Name("SaveNewGroupAndRefill")->Unit(benchmark::kMillisecond);

// One change of a load line's hours, as the load's entry row makes it: the line found from
// the row's texts, checked and rewritten in its transaction. The refill of the load is the
// load view's own benchmark.
void BM_ChangeLoadHours(benchmark::State &state)
{
    LargeSample &large = largeSample();
    // The last line of the load, so that the lookups cannot stop early.
    const QString line = large
                             .first(QStringLiteral(
                                 "SELECT TOP 1 tblTutors.Tutor & '|' & tblDisciplines.Discipline "
                                 "& '|' & tblGroups.Group & '  (' & tblGroups.Course & ')' "
                                 "FROM (((tblJobList INNER JOIN tblJob ON tblJobList.Key_Job = "
                                 "tblJob.Key) INNER JOIN tblTutors ON tblJob.Key_Tutor = "
                                 "tblTutors.Key) INNER JOIN tblDisciplines ON "
                                 "tblJob.Key_Discipline = tblDisciplines.Key) INNER JOIN "
                                 "tblGroups ON tblJobList.Key_Group = tblGroups.Key "
                                 "ORDER BY tblJobList.Key DESC;"))
                             .toString();
    const QStringList parts = line.split(u'|');
    if (parts.size() != 3) {
        state.SkipWithError("the sample has no load");
        return;
    }
    LoadEditor editor(*large.session, large.prompts);
    LoadEntry entry{parts[0], QString(), parts[1], parts[2], QString()};
    int hours = 40;
    for (auto _ : state) {
        entry.hours = QString::number(hours);
        if (!editor.changeHours(entry))
            state.SkipWithError("the hours were not changed");
        hours = hours == 40 ? 41 : 40;
    }
}

BENCHMARK(BM_ChangeLoadHours)->Name("ChangeLoadHours")->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvesta

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    korvesta::largeSample(); // written before the first timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
