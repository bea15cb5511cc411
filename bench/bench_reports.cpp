// A tutor's timetable for a term on the large sample institution: made from its query and
// written as a PDF (the report a planner prints most), and as the other kinds of document.

#include "data/database.h"
#include "data/recordset.h"
#include "reports/documentfiles.h"
#include "reports/reportmaker.h"
#include "support/largesample.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace korvesta {
namespace {

struct Term
{
    LargeSample &sample = largeSample();
    QDate first;
    QDate last;
    QString tutor;
    QTemporaryDir out;
    ReportMaker maker{*sample.session, *sample.settings, sample.record, sample.prompts,
                      out.path()};

    Term()
    {
        // The autumn term of the sample's year, and the tutor with the most lessons in it.
        const QDate start = sample.first(QStringLiteral("SELECT Min([Date]) FROM tblTimeTableList"))
                                .toDate();
        first = QDate(start.year(), 9, 1);
        last = QDate(start.year(), 12, 31);
        tutor = sample
                    .first(QStringLiteral(
                               "SELECT TOP 1 tblTutors.Tutor FROM ((tblTimeTableContent INNER "
                               "JOIN tblJob ON tblJob.Key = tblTimeTableContent.Key_Job) INNER "
                               "JOIN tblTutors ON tblTutors.Key = tblJob.Key_Tutor) INNER JOIN "
                               "tblTimeTableList ON tblTimeTableList.Key = "
                               "tblTimeTableContent.Key_TTList WHERE tblTimeTableList.Date "
                               "Between #%1# And #%2# GROUP BY tblTutors.Tutor ORDER BY "
                               "Count(*) DESC")
                               .arg(first.toString(QStringLiteral("M/d/yyyy")),
                                    last.toString(QStringLiteral("M/d/yyyy"))))
                    .toString();
    }
    std::optional<ReportContent> make()
    {
        return maker.make({QStringLiteral("РАСПИСАНИЕ ПРЕПОДАВАТЕЛЯ"), tutor, 0, first, last});
    }
};

Term &term()
{
    static Term t;
    return t;
}

// The report from the document to the file: query, layout, pages.
void BM_TutorTermToFile(benchmark::State &state, DocumentType type, const char *name)
{
    Term &t = term();
    const QString file = t.out.filePath(QString::fromLatin1(name));
    int rows = 0;
    for (auto _ : state) {
        const std::optional<ReportContent> content = t.make();
        if (!content || !writeReportDocument(*content, file, type).isEmpty()) {
            state.SkipWithError("the report was not written");
            return;
        }
        rows = content->dataRowCount();
    }
    state.counters["rows"] = rows;
    state.counters["bytes"] = double(QFileInfo(documentFileName(file)).size());
}

// The query and the binding alone.
void BM_TutorTermMake(benchmark::State &state)
{
    Term &t = term();
    for (auto _ : state) {
        std::optional<ReportContent> content = t.make();
        benchmark::DoNotOptimize(content);
    }
}

BENCHMARK_CAPTURE(BM_TutorTermToFile, Pdf, DocumentType::Pdf, "term.pdf")
    ->Name("TutorTermPdf")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TutorTermMake)->Name("TutorTermMake")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TutorTermToFile, Rtf, DocumentType::Rtf, "term.rtf")
    ->Name("TutorTermRtf")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TutorTermToFile, PagedHtml, DocumentType::HtmlPaged, "term.xhtm")
    ->Name("TutorTermPagedHtml")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TutorTermToFile, Text, DocumentType::Text, "term.txt")
    ->Name("TutorTermText")
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvesta

int main(int argc, char **argv)
{
    // Pages are laid out with fonts; no screen is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    korvesta::term(); // the sample is written before the first timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
