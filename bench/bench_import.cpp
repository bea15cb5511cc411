// Importing a teaching load of 10 000 lines from a CSV file into a new document, every line
// through the checks of manual entry, the missing tutors, disciplines and groups added on the
// way: reading, matching and the one transaction together. Importing a list of 5 000 groups
// the same way, each checked against the list for a duplicate.

#include "data/database.h"
#include "data/documenttemplate.h"
#include "data/prompts.h"
#include "import/columnmapping.h"
#include "import/sheetfile.h"
#include "import/tableimport.h"
#include "settings/settingsrecord.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace korvesta {
namespace {

class SilentPrompts : public Prompts
{
public:
    void message(const QString &, Icon, const QString &) override {}
    Answer askYesNo(const QString &, Icon, const QString &) override { return Answer::Yes; }
    Answer askYesNoCancel(const QString &, Icon, const QString &) override { return Answer::Yes; }
    Answer askOkCancel(const QString &, Icon, const QString &) override { return Answer::Ok; }
    Answer askRetryCancel(const QString &, Icon, const QString &) override
    {
        return Answer::Cancel;
    }
    std::optional<QString> askText(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    std::optional<QColor> chooseColor(const QColor &) override { return std::nullopt; }
    std::optional<QString> chooseFileToOpen(const FileChoice &) override { return std::nullopt; }
    std::optional<QString> chooseFileToSave(const FileChoice &) override { return std::nullopt; }
};

// 250 tutors with 40 lines each over 300 disciplines and 120 groups.
QByteArray loadCsv(int lines)
{
    QByteArray csv = "Преподаватель;Дисциплина;Группа;Курс;Часы\r\n";
    for (int i = 0; i < lines; ++i) {
        const int tutor = i / 40;
        csv += QStringLiteral("Преподаватель %1;Дисциплина %2;Группа %3;%4;%5\r\n")
                   .arg(tutor)
                   .arg((tutor * 7 + i % 40) % 300)
                   .arg((i % 40) * 3 % 120)
                   .arg(1 + i % 4)
                   .arg(36 + i % 50)
                   .toUtf8();
    }
    return csv;
}

void BM_ImportLoad(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString source = folder.filePath(QStringLiteral("load.csv"));
    QFile file(source);
    file.open(QIODevice::WriteOnly);
    file.write(loadCsv(int(state.range(0))));
    file.close();
    SettingsRecord settings;
    SilentPrompts prompts;
    ImportReport report;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = folder.filePath(QStringLiteral("d%1.kvt").arg(round++));
        writeNewDocument(path);
        const Database db = Database::open(path);
        state.ResumeTiming();
        const SheetTable table = readSheetFile(source);
        const ColumnMapping mapping = matchColumns(ImportKind::Load, sheetHeaders(table));
        report = importTable(db, settings, prompts, table, mapping, ImportOptions{true, false});
    }
    state.counters["added"] = report.added;
    state.counters["skipped"] = report.skipped;
}
BENCHMARK(BM_ImportLoad)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportGroups(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString source = folder.filePath(QStringLiteral("groups.csv"));
    QByteArray csv = "Курс;Группа\r\n";
    for (int i = 0; i < state.range(0); ++i)
        csv += QByteArray::number(1 + i % 5) + ";Г-" + QByteArray::number(i) + "\r\n";
    QFile file(source);
    file.open(QIODevice::WriteOnly);
    file.write(csv);
    file.close();
    SettingsRecord settings;
    SilentPrompts prompts;
    ImportReport report;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = folder.filePath(QStringLiteral("g%1.kvt").arg(round++));
        writeNewDocument(path);
        const Database db = Database::open(path);
        state.ResumeTiming();
        const SheetTable table = readSheetFile(source);
        const ColumnMapping mapping = matchColumns(ImportKind::Groups, sheetHeaders(table));
        report = importTable(db, settings, prompts, table, mapping, ImportOptions{});
    }
    state.counters["added"] = report.added;
    state.counters["skipped"] = report.skipped;
}
BENCHMARK(BM_ImportGroups)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace korvesta

BENCHMARK_MAIN();
