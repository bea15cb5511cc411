// Importing a teaching load of 10 000 lines from a CSV file into a new document, every line
// through the checks of manual entry, the missing tutors, disciplines and groups added on the
// way: reading, matching and the one transaction together. Importing a list of 5 000 groups
// the same way, each checked against the list for a duplicate. Reading a book whose sheet
// unpacks to some 50 MB, with the peak memory of the process.

#include "data/database.h"
#include "data/documenttemplate.h"
#include "data/prompts.h"
#include "import/columnmapping.h"
#include "import/sheetfile.h"
#include "import/tableimport.h"
#include "settings/settingsrecord.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <sys/resource.h>

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

// Imports the CSV text into a new document each round (the document made outside the time).
void importEachRound(benchmark::State &state, const QByteArray &csv, ImportKind kind,
                     const ImportOptions &options)
{
    QTemporaryDir folder;
    const QString source = folder.filePath(QStringLiteral("table.csv"));
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
        const QString path = folder.filePath(QStringLiteral("d%1.kvt").arg(round++));
        writeNewDocument(path);
        const Database db = Database::open(path);
        state.ResumeTiming();
        const SheetTable table = readSheetFile(source);
        const ColumnMapping mapping = matchColumns(kind, sheetHeaders(table));
        report = importTable(db, settings, prompts, table, mapping, options);
    }
    state.counters["added"] = report.added;
    state.counters["skipped"] = report.skipped;
}

void BM_ImportLoad(benchmark::State &state)
{
    importEachRound(state, loadCsv(int(state.range(0))), ImportKind::Load,
                    ImportOptions{true, false});
}
BENCHMARK(BM_ImportLoad)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportGroups(benchmark::State &state)
{
    QByteArray csv = "Курс;Группа\r\n";
    for (int i = 0; i < state.range(0); ++i)
        csv += QByteArray::number(1 + i % 5) + ";Г-" + QByteArray::number(i) + "\r\n";
    importEachRound(state, csv, ImportKind::Groups, ImportOptions{});
}
BENCHMARK(BM_ImportGroups)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(3);

// 90 000 rows of five texts written inline (no shared texts), as a large load book.
void writeLargeBook(const QString &path)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook *book = workbook_new_opt(path.toUtf8().constData(), &options);
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Нагрузка");
    const char *headers[] = {"Преподаватель", "Дисциплина", "Группа", "Курс", "Часы"};
    for (lxw_col_t c = 0; c < 5; ++c)
        worksheet_write_string(sheet, 0, c, headers[c], nullptr);
    const QByteArray padding(60, 'x');
    for (lxw_row_t r = 1; r <= 90000; ++r) {
        for (lxw_col_t c = 0; c < 5; ++c) {
            const QByteArray text = "Значение " + QByteArray::number(r) + '-'
                                    + QByteArray::number(c) + ' ' + padding;
            worksheet_write_string(sheet, r, c, text.constData(), nullptr);
        }
    }
    workbook_close(book);
}

qint64 sheetBytes(const QString &path)
{
    int error = 0;
    zip_t *zip = zip_open(path.toUtf8().constData(), ZIP_RDONLY, &error);
    zip_stat_t stat;
    zip_stat_init(&stat);
    const qint64 size = zip && zip_stat(zip, "xl/worksheets/sheet1.xml", 0, &stat) == 0
                            ? qint64(stat.size)
                            : 0;
    if (zip)
        zip_discard(zip);
    return size;
}

void BM_ReadLargeBook(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("large.xlsx"));
    writeLargeBook(path);
    size_t rows = 0;
    for (auto _ : state) {
        const SheetTable table = readSheetFile(path);
        rows = table.rows.size();
        if (!table.ok())
            state.SkipWithError(table.error.toUtf8().constData());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["rows"] = double(rows);
    state.counters["sheet_MB"] = double(sheetBytes(path)) / (1 << 20);
    state.counters["file_MB"] = double(QFileInfo(path).size()) / (1 << 20);
    state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024; // of the whole process
}
BENCHMARK(BM_ReadLargeBook)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace korvesta

BENCHMARK_MAIN();
