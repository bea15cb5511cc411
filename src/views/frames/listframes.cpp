#include "listframes.h"

#include "framesetup.h"
#include "grid/gridmodel.h"
#include "settings/settingsrecord.h"
#include "views/viewcontext.h"

#include <initializer_list>

namespace korvesta {

namespace {

const QStringList kGroupCaptions = {
    QString(),
    QStringLiteral("Курс"),
    QStringLiteral("Группа"),
    QStringLiteral("Цвет"),
    QStringLiteral("Факультет"),
    QStringLiteral("Форма обучения"),
    QStringLiteral("Финансирование"),
    QStringLiteral("Комментарий"),
};

const QStringList kDisciplineCaptions = {
    QString(),
    QStringLiteral("Специализация"),
    QStringLiteral("Краткое наименование"),
    QStringLiteral("Полное наименование"),
    QStringLiteral("Цвет"),
    QStringLiteral("Сложность"),
};

const QStringList kAuditoriumCaptions = {
    QString(),
    QStringLiteral("Корпус"),
    QStringLiteral("Аудитория"),
    QStringLiteral("Комментарий"),
    QStringLiteral("Разное"),
};

const QStringList kLoadCaptions = {
    QString(),
    QStringLiteral("Преподаватель"),
    QStringLiteral("Аудитория"),
    QStringLiteral("Дисциплина"),
    QStringLiteral("Группа"),
    QStringLiteral("Нагрузка"),
    QStringLiteral("В неделю"),
};

// Widths from column 0: a value below 0 is that many hundredths of W (negated), others are
// twips.
void setWidths(GridModel &grid, int width, std::initializer_list<int> widths)
{
    int col = 0;
    for (const int w : widths)
        grid.setColWidth(col++, w < 0 ? frame::share(width, -w) : w);
}

// A list: the header row and one empty row, the header centred.
void startList(GridModel &grid, const QStringList &captions, int fixedCols)
{
    frame::start(grid, 2, static_cast<int>(captions.size()), 1, fixedCols);
    frame::setCaptions(grid, 0, captions);
    // Lists take columns as shares of a width that may be narrow: a long name or a total
    // goes onto a second line of a taller row rather than losing its end.
    grid.setWordWrap(true);
}

void borderHeaderInBackColor(GridModel &grid)
{
    CellBorders borders;
    borders.color = grid.backColor();
    borders.left = borders.top = borders.right = borders.bottom = true;
    borders.innerVertical = true;
    grid.setCellBorders(0, 0, 0, grid.cols() - 1, borders);
}

bool holdsList(const GridModel &grid, const QStringList &captions)
{
    if (grid.cols() != captions.size() || grid.rows() < 1 || grid.fixedRows() != 1)
        return false;
    for (int col = 1; col < grid.cols(); ++col) {
        if (grid.text(0, col) != captions.at(col))
            return false;
    }
    return true;
}

} // namespace

void buildGroupListFrame(ViewContext &ctx)
{
    GridModel &grid = ctx.grid;
    const SettingsRecord &record = ctx.record;
    const int width = frame::width(ctx);
    startList(grid, kGroupCaptions, 1);
    setWidths(grid, width, {200, -14, -10, -5});
    // The comment column takes the room of the type columns that are hidden.
    const bool shown[] = {record.UseTypeFaculty, record.UseTypeTuition, record.UseTypeFinance};
    int comment = 34;
    for (int i = 0; i < 3; ++i) {
        grid.setColWidth(4 + i, shown[i] ? frame::share(width, 11) : 0);
        if (!shown[i])
            comment += 11;
    }
    grid.setColWidth(7, frame::share(width, comment));
    borderHeaderInBackColor(grid);
    frame::finish(grid);
}

void buildGroupPassportFrame(ViewContext &ctx)
{
    GridModel &grid = ctx.grid;
    frame::start(grid, 3, 7, 1, 0);
    frame::setCaptions(grid, 0,
                       {QStringLiteral("Дисциплина"), QStringLiteral("Преподаватель"),
                        QStringLiteral("Задано"), QStringLiteral("Отработано"),
                        QStringLiteral("Осталось"), QStringLiteral("Дата последнего урока"),
                        QStringLiteral("Дата экзамена")});
    setWidths(grid, frame::width(ctx), {-12, -20, -10, -10, -10, -20, -14});
    frame::finish(grid);
}

void buildDisciplineListFrame(ViewContext &ctx)
{
    startList(ctx.grid, kDisciplineCaptions, 1);
    setWidths(ctx.grid, frame::width(ctx), {100, -23, -15, -42, -5, -10});
    frame::finish(ctx.grid);
}

void buildAuditoriumListFrame(ViewContext &ctx)
{
    startList(ctx.grid, kAuditoriumCaptions, 1);
    setWidths(ctx.grid, frame::width(ctx), {200, -15, -15, -65, 0});
    frame::finish(ctx.grid);
}

void buildLoadFrame(ViewContext &ctx)
{
    GridModel &grid = ctx.grid;
    startList(grid, kLoadCaptions, 1);
    setWidths(grid, frame::width(ctx), {300, -35, -10, -20, -10, -8, -11});
    borderHeaderInBackColor(grid);
    frame::finish(grid);
}

void buildTutorPassportFrame(ViewContext &ctx)
{
    GridModel &grid = ctx.grid;
    frame::start(grid, 3, 8, 1, 1);
    grid.setOutlineBar(true);
    grid.setOutlineCol(0);
    grid.setText(0, 0, 0, 7, QStringLiteral("ПАСПОРТ ПРЕПОДАВАТЕЛЯ"));
    grid.setMergeCells(MergeMode::Free);
    for (int row = 0; row < 3; ++row)
        grid.setMergeRow(row, true);
    setWidths(grid, frame::width(ctx), {-3, -5, -25, -19, -25, -19});
    grid.setCellAlignment(0, 0, 0, 7, Qt::AlignCenter);
    frame::finish(grid);
}

bool holdsGroupList(const ViewContext &ctx)
{
    return holdsList(ctx.grid, kGroupCaptions);
}

bool holdsDisciplineList(const ViewContext &ctx)
{
    return holdsList(ctx.grid, kDisciplineCaptions);
}

bool holdsAuditoriumList(const ViewContext &ctx)
{
    return holdsList(ctx.grid, kAuditoriumCaptions);
}

bool holdsLoadList(const ViewContext &ctx)
{
    return holdsList(ctx.grid, kLoadCaptions);
}

} // namespace korvesta
