// The reference list views on the large sample institution, each with its frame, as the
// window shows them: group list, discipline list, auditorium list, group passport.

#include "data/database.h"
#include "data/demodocument.h"
#include "data/documentsession.h"
#include "data/prompts.h"
#include "data/recordset.h"
#include "grid/gridmodel.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"
#include "views/frames/listframes.h"
#include "views/lists/listfills.h"
#include "views/viewcontext.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace korvesta {
namespace {

// A benchmark has no user: nothing is shown, every question is declined.
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

// The large sample, written once, with the window's state around the grid.
struct Sample
{
    QTemporaryDir folder;
    QString path;
    int group = 0; // the group with the most load lines
    SilentPrompts prompts;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<DocumentSession> session;
    GridModel grid;
    ObjectList objects;
    SettingsRecord record;
    std::unique_ptr<ViewContext> ctx;
};

Sample *g_sample = nullptr;

void prepareSample(Sample &s)
{
    s.path = s.folder.filePath(QStringLiteral("large.kvt"));
    writeDemoDocument(s.path, DemoSize::Large);
    {
        Recordset rs = Database::open(s.path).openRecordset(
            QStringLiteral("SELECT Key_Group, Count(*) AS N FROM tblJobList GROUP BY Key_Group "
                           "ORDER BY Count(*) DESC"));
        s.group = rs.isEmpty() ? 0 : rs.value(0).toInt();
        std::fprintf(stderr, "Group passport of group %d with %lld load lines\n", s.group,
                     rs.isEmpty() ? 0LL : rs.value(1).toLongLong());
    }
    s.settings = std::make_unique<SettingsStore>(s.folder.filePath(QStringLiteral("user.ini")));
    s.session = std::make_unique<DocumentSession>(s.prompts, *s.settings,
                                                  AppPaths{s.folder.path(), s.folder.path()});
    s.session->startFromCommandLine({s.path});
    s.ctx = std::make_unique<ViewContext>(s.grid, s.objects, *s.session, *s.settings, s.record,
                                          s.prompts);
    s.ctx->gridWidth = 15000;
}

template <void (*Frame)(ViewContext &), void (*Fill)(ViewContext &)>
void BM_List(benchmark::State &state)
{
    ViewContext &ctx = *g_sample->ctx;
    for (auto _ : state) {
        Frame(ctx);
        Fill(ctx);
    }
    state.counters["rows"] = g_sample->grid.rows();
}

void BM_GroupPassport(benchmark::State &state)
{
    ViewContext &ctx = *g_sample->ctx;
    for (auto _ : state) {
        buildGroupPassportFrame(ctx);
        fillGroupPassport(ctx, g_sample->group);
    }
    state.counters["rows"] = g_sample->grid.rows();
}

BENCHMARK(BM_List<buildGroupListFrame, fillGroupList>)
    ->Name("GroupList")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_List<buildDisciplineListFrame, fillDisciplineList>)
    ->Name("DisciplineList")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_List<buildAuditoriumListFrame, fillAuditoriumList>)
    ->Name("AuditoriumList")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GroupPassport)->Name("GroupPassport")->Unit(benchmark::kMillisecond);

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
