#include "listfills.h"

#include "celltext.h"
#include "data/queries.h"
#include "grid/gridmodel.h"
#include "views/viewcontext.h"

#include <cmath>

namespace korvesta {

namespace {

enum Column { Discipline, Tutor, Given, Held, Left, LastLesson, Exam };

QString numberText(double value)
{
    if (value == std::floor(value))
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', 12);
}

} // namespace

void fillGroupPassport(ViewContext &ctx, int keyGroup)
{
    GridModel &grid = ctx.grid;
    DocumentQueries queries(ctx.session, ctx.settings, ctx.prompts);
    std::optional<Recordset> rs = queries.OpenGroupPassport(keyGroup);
    if (!rs)
        return;
    if (rs->isEmpty()) {
        grid.setText(grid.fixedRows(), Discipline, QStringLiteral("не задано"));
        return;
    }
    const int discipline = requiredField(*rs, QStringLiteral("Discipline"));
    const int tutor = requiredField(*rs, QStringLiteral("Tutor"));
    const int hours = requiredField(*rs, QStringLiteral("Hours"));
    const int held = requiredField(*rs, QStringLiteral("Count-Lesson"));
    const int lastLesson = requiredField(*rs, QStringLiteral("Max-Date"));
    const int exam = requiredField(*rs, QStringLiteral("DateExam"));

    // The load lines start below an empty first body row.
    grid.setRows(2);
    for (; !rs->isEof(); rs->moveNext()) {
        const QVariant given = rs->value(hours);
        const qint64 heldCount = rs->value(held).toLongLong();
        grid.addRow(QStringList{cellText(rs->value(discipline)), cellText(rs->value(tutor)),
                                cellText(given), QString::number(heldCount),
                                QString::number(given.toLongLong() - heldCount),
                                cellText(rs->value(lastLesson)), cellText(rs->value(exam))});
    }

    const int bottom = grid.rows() - 1;
    const int totals = grid.addRow();
    for (const int col : {Discipline, Tutor})
        grid.setText(totals, col,
                     numberText(grid.aggregate(Aggregate::Count, 1, col, bottom, col)));
    for (const int col : {Given, Held, Left})
        grid.setText(totals, col, numberText(grid.aggregate(Aggregate::Sum, 1, col, bottom, col)));
    grid.setCellBackColor(totals, 0, totals, grid.cols() - 1, grid.backColorFixed());
    grid.setCellForeColor(totals, 0, totals, grid.cols() - 1, grid.foreColorFixed());
}

} // namespace korvesta
