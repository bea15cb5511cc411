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

enum Column { Course = 1, Group, Color, Faculty, Tuition, Finance, Comment };

} // namespace

void fillGroupList(ViewContext &ctx)
{
    GridModel &grid = ctx.grid;
    DocumentQueries queries(ctx.session, ctx.settings, ctx.prompts);
    std::optional<Recordset> rs = queries.OpenList(QStringLiteral("Groups"));
    if (!rs)
        return;
    const int course = requiredField(*rs, QStringLiteral("Course"));
    const int group = requiredField(*rs, QStringLiteral("Group"));
    const int color = requiredField(*rs, QStringLiteral("GroupColor"));
    const int faculty = requiredField(*rs, QStringLiteral("TypeFaculty"));
    const int tuition = requiredField(*rs, QStringLiteral("TypeTuition"));
    const int finance = requiredField(*rs, QStringLiteral("TypeFinance"));
    const int comment = requiredField(*rs, QStringLiteral("Comment"));

    grid.setRows(1);
    int records = 0;
    for (; !rs->isEof(); rs->moveNext(), ++records) {
        const int row = grid.addRow(QStringList{
            QString(), cellText(rs->value(course)).toUpper(), cellText(rs->value(group)),
            QString(), cellText(rs->value(faculty)), cellText(rs->value(tuition)),
            cellText(rs->value(finance)), cellText(rs->value(comment))});
        const QVariant groupColor = rs->value(color);
        if (!groupColor.isNull() && groupColor.isValid())
            grid.setCellBackColor(row, Color, colorFromBgr(groupColor.toUInt()));
    }
    if (!ctx.record.ShowTotals)
        return;

    const std::vector<int> totals = listtotals::addCountSubtotals(grid, Course, Group);
    for (const int row : totals) {
        listtotals::relabel(grid, row, Course,
                            QStringLiteral("Итого на курсе:  ") + grid.text(row - 1, Course), Group,
                            QStringLiteral("групп:  "));
    }
    listtotals::addSummaryRow(
        grid, {QString(), QStringLiteral("Всего курсов: ") + QString::number(totals.size()),
               QStringLiteral("Всего групп: ") + QString::number(records)});
}

} // namespace korvesta
