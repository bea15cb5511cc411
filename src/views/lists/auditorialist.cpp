#include "listfills.h"

#include "celltext.h"
#include "data/queries.h"
#include "grid/gridmodel.h"
#include "listtotals.h"
#include "settings/settingsrecord.h"
#include "views/viewcontext.h"

namespace korvesta {

namespace {

enum Column { Corpus = 1, Auditoria, Comment };

} // namespace

void fillAuditoriumList(ViewContext &ctx)
{
    GridModel &grid = ctx.grid;
    DocumentQueries queries(ctx.session, ctx.settings, ctx.prompts);
    std::optional<Recordset> rs = queries.OpenList(QStringLiteral("Auditories"));
    if (!rs)
        return;
    const int corpus = requiredField(*rs, QStringLiteral("Corpus"));
    const int auditoria = requiredField(*rs, QStringLiteral("Auditoria"));
    const int comment = requiredField(*rs, QStringLiteral("CommentAud"));

    grid.setRows(1);
    int records = 0;
    for (; !rs->isEof(); rs->moveNext(), ++records) {
        grid.addRow(QStringList{QString(), cellText(rs->value(corpus)),
                                cellText(rs->value(auditoria)), cellText(rs->value(comment))});
    }
    if (!ctx.record.ShowTotals)
        return;

    const std::vector<int> totals = listtotals::addCountSubtotals(grid, Corpus, Auditoria);
    for (const int row : totals) {
        listtotals::relabel(grid, row, Corpus,
                            QStringLiteral("Итого в корпусе:  ") + grid.text(row - 1, Corpus),
                            Auditoria, QStringLiteral("аудиторий:  "));
    }
    listtotals::addSummaryRow(
        grid, {QString(), QStringLiteral("Всего зданий: ") + QString::number(totals.size()),
               QStringLiteral("Всего аудиторий: ") + QString::number(records)});
}

} // namespace korvesta
