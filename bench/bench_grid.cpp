// The grid's cost on the largest views: filling a big model, the load view's six subtotal
// passes, and painting a screenful of a wide timetable.

#include "grid/gridcolors.h"
#include "grid/gridmodel.h"
#include "grid/gridview.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <vector>

using namespace korvesta;

namespace {

std::vector<QString> sampleTexts()
{
    std::vector<QString> texts;
    const char *disciplines[] = {"Математика", "Физика", "История", "Химия", "Информатика",
                                 "Литература", "Биология", "Английский язык"};
    for (int i = 0; i < 64; ++i) {
        texts.push_back(QString::fromUtf8(disciplines[i % 8]) + QStringLiteral("  ")
                        + QString::number(100 + i));
    }
    return texts;
}

const QColor colors[] = {colorFromBgr(0xE0E0E0), colorFromBgr(0xC0FFC0),
                         colorFromBgr(0xFFE0C0), colorFromBgr(0xC0E0FF)};

void BM_Fill2000x200(benchmark::State &state)
{
    const std::vector<QString> texts = sampleTexts();
    GridModel grid;
    for (auto _ : state) {
        grid.clear();
        grid.setCols(200);
        grid.setRows(2000);
        grid.setFixedRows(2);
        grid.setFixedCols(1);
        for (int r = 0; r < 2000; ++r) {
            for (int c = 0; c < 200; ++c) {
                grid.setText(r, c, texts[static_cast<size_t>((r * 7 + c) % 64)]);
                grid.setCellBackColor(r, c, colors[(r + c) % 4]);
            }
        }
        benchmark::DoNotOptimize(grid.revision());
    }
}
BENCHMARK(BM_Fill2000x200)->Unit(benchmark::kMillisecond);

// The teaching load: 3 000 load lines of 150 tutors, each with a few disciplines.
void fillLoad(GridModel &grid)
{
    grid.clear();
    grid.setCols(7);
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    grid.addRow(QStringLiteral(
        "\tПреподаватель\tАудитория\tДисциплина\tГруппа\tНагрузка\tВ неделю"));
    const std::vector<QString> texts = sampleTexts();
    for (int i = 0; i < 3000; ++i) {
        const int tutor = i / 20;
        const int discipline = i / 5;
        grid.addRow(QStringLiteral("\tПреподаватель %1\t%2\t%3\tИС-%4\t%5\t%6")
                        .arg(tutor)
                        .arg(100 + tutor)
                        .arg(texts[static_cast<size_t>(discipline % 64)])
                        .arg(i % 40)
                        .arg(36 + i % 50)
                        .arg(2 + i % 3));
    }
}

void BM_SixSubtotals3000(benchmark::State &state)
{
    GridModel grid;
    const QColor back = grid.backColorFixed();
    for (auto _ : state) {
        state.PauseTiming();
        fillLoad(grid);
        state.ResumeTiming();
        for (const int group : {1, 3}) {
            grid.subtotal({Aggregate::Count, group, 4, {}, back});
            grid.subtotal({Aggregate::Sum, group, 5, {}, back});
            grid.subtotal({Aggregate::Sum, group, 6, {}, back, {}, true});
        }
        benchmark::DoNotOptimize(grid.rows());
    }
}
BENCHMARK(BM_SixSubtotals3000)->Unit(benchmark::kMillisecond);

// A week timetable of 150 groups on a full HD screen: two header rows with merged courses,
// two-line lesson cells in their discipline colours, scrolled to the middle.
void fillWeekOf150Groups(GridModel &grid)
{
    const std::vector<QString> texts = sampleTexts();
    grid.setCols(151);
    grid.setRows(2 + 6 * 8);
    grid.setFixedRows(2);
    grid.setFixedCols(1);
    grid.setColWidth(0, 300);
    for (int c = 1; c <= 150; ++c) {
        grid.setColWidth(c, 1100);
        grid.setText(0, c, QString::number(1 + (c - 1) / 30) + QStringLiteral(" курс"));
        grid.setText(1, c, QStringLiteral("ИС-%1").arg(c));
        grid.setCellPicture(1, c, QStringLiteral("GROUP"));
    }
    for (int r = 2; r < grid.rows(); ++r) {
        grid.setText(r, 0, QString::number((r - 2) % 8 + 1));
        grid.setRowHeight(r, 540);
        for (int c = 1; c <= 150; ++c) {
            if ((r + c) % 3 == 0)
                continue;
            const size_t i = static_cast<size_t>((r * 7 + c) % 64);
            grid.setText(r, c, texts[i] + QStringLiteral("\nПреподаватель ") + QString::number(i));
            grid.setCellBackColor(r, c, colors[i % 4]);
        }
    }
    grid.setMergeCells(MergeMode::Free);
    grid.setMergeRow(0, true);
    grid.setCurrentCell(10, 60);
}

void BM_Repaint150Columns(benchmark::State &state)
{
    GridView view;
    view.resize(1920, 1080);
    fillWeekOf150Groups(*view.model());
    view.show();
    QCoreApplication::processEvents();
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum() / 2);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);

    QImage image(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.viewport()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_Repaint150Columns)->Unit(benchmark::kMillisecond);

// The rows of the same week grown to their wrapped texts, as after every fill.
void BM_FitRows150Columns(benchmark::State &state)
{
    GridView view;
    view.resize(1920, 1080);
    for (auto _ : state) {
        state.PauseTiming();
        fillWeekOf150Groups(*view.model());
        state.ResumeTiming();
        view.fitRowsToText();
    }
}
BENCHMARK(BM_FitRows150Columns)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
