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
    const int discipline = rs->fieldIndex(QStringLiteral("Discipline"));
    const int tutor = rs->fieldIndex(QStringLiteral("Tutor"));
    const int hours = rs->fieldIndex(QStringLiteral("Hours"));
    const int held = rs->fieldIndex(QStringLiteral("Count-Lesson"));
    const int lastLesson = rs->fieldIndex(QStringLiteral("Max-Date"));
    const int exam = rs->fieldIndex(QStringLiteral("DateExam"));

    // The load lines start below an empty first body row.
    grid.setRows(2);
    const QChar tab = QLatin1Char('\t');
    for (; !rs->isEof(); rs->moveNext()) {
        const QVariant given = rs->value(hours);
        const qint64 heldCount = rs->value(held).toLongLong();
        grid.addRow(cellText(rs->value(discipline)) + tab + cellText(rs->value(tutor)) + tab +
                    cellText(given) + tab + QString::number(heldCount) + tab +
                    QString::number(given.toLongLong() - heldCount) + tab +
                    cellText(rs->value(lastLesson)) + tab + cellText(rs->value(exam)));
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
