// Taking over the entry area of the group list on the large sample institution: the new
// group is checked and saved, the list refilled and the saved row found again, as "Принять"
// does in the window.

#include "data/database.h"
#include "data/queries.h"
#include "editing/referenceeditor.h"
#include "grid/gridmodel.h"
#include "interaction/editingtargets.h"
#include "interaction/gridrouter.h"
#include "interaction/interactionhost.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"
#include "support/largesample.h"
#include "views/fillregistry.h"
#include "views/frames/entryarea.h"
#include "views/navigationstate.h"
#include "views/viewrun.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>


namespace korvesta {
namespace {

// The dispatcher of the window without the window: the view's fill on the grid.
class Host : public InteractionHost
{
public:
    Host(GridModel &grid, NavigationState &navigation, DocumentSession &session,
         SettingsStore &store, SettingsRecord &record, Prompts &prompts)
        : m_grid(grid)
        , m_navigation(navigation)
        , m_session(session)
        , m_store(store)
        , m_record(record)
        , m_prompts(prompts)
    {
        registerViewFills(m_fills);
    }
    void refresh() override
    {
        const int code = m_navigation.beginDispatch();
        const DispatchPlan plan =
            DispatchPlan::make(code, m_navigation.previousViewCode(), m_record, m_store);
        ViewContext ctx(m_grid, m_objects, m_session, m_store, m_record, m_prompts);
        ctx.viewCode = code;
        ctx.previousViewCode = m_navigation.previousViewCode();
        m_grid.setClientWidth(15000);
        fillView(m_fills, plan, ctx);
        m_navigation.endDispatch(code);
    }
    QDate calendarDate() const override { return QDate::currentDate(); }

private:
    GridModel &m_grid;
    NavigationState &m_navigation;
    DocumentSession &m_session;
    SettingsStore &m_store;
    SettingsRecord &m_record;
    Prompts &m_prompts;
    FillRegistry m_fills;
    ObjectList m_objects;
};

struct Sample
{
    LargeSample &large = largeSample();
    GridModel grid;
    NavigationState navigation;
    DocumentQueries queries{*large.session, *large.settings, large.prompts};
    ReferenceEditor editor{*large.session, large.record, large.prompts};
    EditingTargets targets;
    Host host{grid, navigation, *large.session, *large.settings, large.record, large.prompts};
    GridRouter router{grid, navigation, large.record, large.prompts, queries, editor, targets,
                      host};
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
