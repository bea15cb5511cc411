#include "listfills.h"

#include "celltext.h"
#include "data/queries.h"
#include "grid/gridcolors.h"
#include "grid/gridmodel.h"
#include "listtotals.h"
#include "settings/settingsrecord.h"
#include "views/viewcontext.h"

namespace korvesta {

namespace {

enum Column { Type = 1, Short, Full, Color, Difficulty };

// The difficulty levels by LevelDiff; another value shows nothing.
QString difficultyText(const QVariant &level)
{
    if (level.isNull() || !level.isValid())
        return {};
    switch (level.toInt()) {
    case 0:
        return QStringLiteral("Лёгкий");
    case 1:
        return QStringLiteral("Средний");
    case 2:
        return QStringLiteral("Трудный");
    default:
        return {};
    }
}

} // namespace

void fillDisciplineList(ViewContext &ctx)
{
    GridModel &grid = ctx.grid;
    DocumentQueries queries(ctx.session, ctx.settings, ctx.prompts);
    std::optional<Recordset> rs = queries.OpenList(QStringLiteral("Disciplines"));
    if (!rs)
        return;
    const int type = requiredField(*rs, QStringLiteral("Type"));
    const int name = requiredField(*rs, QStringLiteral("Discipline"));
    const int fullName = requiredField(*rs, QStringLiteral("Discipline1"));
    const int color = requiredField(*rs, QStringLiteral("DiscColor"));
    const int level = requiredField(*rs, QStringLiteral("LevelDiff"));

    grid.setRows(1);
    int records = 0;
    for (; !rs->isEof(); rs->moveNext(), ++records) {
        const int row = grid.addRow(QStringList{
            QString(), cellText(rs->value(type)), cellText(rs->value(name)),
            cellText(rs->value(fullName)), QString(), difficultyText(rs->value(level))});
        const QVariant discColor = rs->value(color);
        if (!discColor.isNull() && discColor.isValid())
            grid.setCellBackColor(row, Color, colorFromBgr(discColor.toUInt()));
    }
    if (!ctx.record.ShowTotals)
        return;

    for (const int row : listtotals::addCountSubtotals(grid, Type, Full))
        listtotals::relabel(grid, row, Type, grid.text(row - 1, Type), Full, QString());
    listtotals::addSummaryRow(
        grid,
        {QString(), QStringLiteral("Всего дисциплин:"), QString(), QString::number(records)});
}

} // namespace korvesta
