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
    const int type = rs->fieldIndex(QStringLiteral("Type"));
    const int name = rs->fieldIndex(QStringLiteral("Discipline"));
    const int fullName = rs->fieldIndex(QStringLiteral("Discipline1"));
    const int color = rs->fieldIndex(QStringLiteral("DiscColor"));
    const int level = rs->fieldIndex(QStringLiteral("LevelDiff"));

    grid.setRows(1);
    int records = 0;
    const QChar tab = QLatin1Char('\t');
    for (; !rs->isEof(); rs->moveNext(), ++records) {
        const QString line = tab + cellText(rs->value(type)) + tab + cellText(rs->value(name)) +
                             tab + cellText(rs->value(fullName)) + tab + tab +
                             difficultyText(rs->value(level));
        const int row = grid.addRow(line);
        const QVariant discColor = rs->value(color);
        if (!discColor.isNull() && discColor.isValid())
            grid.setCellBackColor(row, Color, colorFromBgr(discColor.toUInt()));
    }
    if (!ctx.record.ShowTotals)
        return;

    for (const int row : listtotals::addCountSubtotals(grid, Type, Full))
        listtotals::relabel(grid, row, Type, grid.text(row - 1, Type), Full, QString());
    listtotals::addSummaryRow(grid, tab + QStringLiteral("Всего дисциплин:") + tab + tab +
                                        QString::number(records));
}

} // namespace korvesta
