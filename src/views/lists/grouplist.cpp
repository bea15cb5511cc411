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
    const int course = rs->fieldIndex(QStringLiteral("Course"));
    const int group = rs->fieldIndex(QStringLiteral("Group"));
    const int color = rs->fieldIndex(QStringLiteral("GroupColor"));
    const int faculty = rs->fieldIndex(QStringLiteral("TypeFaculty"));
    const int tuition = rs->fieldIndex(QStringLiteral("TypeTuition"));
    const int finance = rs->fieldIndex(QStringLiteral("TypeFinance"));
    const int comment = rs->fieldIndex(QStringLiteral("Comment"));

    grid.setRows(1);
    int records = 0;
    const QChar tab = QLatin1Char('\t');
    for (; !rs->isEof(); rs->moveNext(), ++records) {
        const QString line = tab + cellText(rs->value(course)).toUpper() + tab +
                             cellText(rs->value(group)) + tab + tab + cellText(rs->value(faculty)) +
                             tab + cellText(rs->value(tuition)) + tab +
                             cellText(rs->value(finance)) + tab + cellText(rs->value(comment));
        const int row = grid.addRow(line);
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
    listtotals::addSummaryRow(grid, tab + QStringLiteral("Всего курсов: ") +
                                        QString::number(totals.size()) + tab +
                                        QStringLiteral("Всего групп: ") + QString::number(records));
}

} // namespace korvesta
