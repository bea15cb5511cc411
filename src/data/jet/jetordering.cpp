#include "jetemitter.h"
#include "jettranslator.h"

namespace korvesta::jet {

QString Emitter::orderTerm(const Emitted &e) const
{
    if (e.type != JetType::Text)
        return e.sql;
    // The server's collation ranks "ё" with "е" and letters before accents; the document's
    // order has "ё" as a letter of its own after "е".
    // The key compares byte by byte: a function's result takes its argument's collation.
    if (onServer())
        return QStringLiteral("korvesta_sortkey(") + e.sql + QStringLiteral(") COLLATE \"C\"");
    return e.column ? e.sql : operand(e, prec::Atom) + noCase();
}

QString Emitter::orderDirection(bool descending) const
{
    if (!onServer())
        return descending ? QStringLiteral(" DESC") : QString();
    return descending ? QStringLiteral(" DESC NULLS LAST") : QStringLiteral(" NULLS FIRST");
}

void Emitter::sortColumns(const Select &s, const Scope &scope, const QStringList &itemSql,
                          const QStringList &itemNames, QStringList &columns)
{
    std::vector<Translation::SortColumn> sort;
    QStringList hidden;
    for (const OrderItem &o : s.orderBy) {
        qsizetype found = -1;
        if (s.next && o.expr->kind == Expr::Kind::Name) {
            // A union is ordered by its result columns.
            for (qsizetype i = 0; i < itemNames.size() && found < 0; ++i) {
                if (itemNames[i].compare(o.expr->name, Qt::CaseInsensitive) == 0)
                    found = i;
            }
        } else {
            const QString sql = expression(*o.expr, scope).sql;
            found = itemSql.indexOf(sql);
            if (found < 0 && !s.distinct && !s.next) {
                found = columns.size() + hidden.size();
                hidden << sql + QStringLiteral(" AS ")
                              + quoteName(QStringLiteral("__sort%1").arg(hidden.size()));
            }
        }
        if (found < 0)
            return;
        sort.push_back({int(found), o.descending});
    }
    columns += hidden;
    m_out.sortColumns = std::move(sort);
    m_out.hiddenSortColumns = int(hidden.size());
}

} // namespace korvesta::jet
