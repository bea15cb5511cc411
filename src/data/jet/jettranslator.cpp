#include "jettranslator.h"

#include "data/dberror.h"
#include "jetemitter.h"
#include "jetparser.h"

#include <QThread>

#include <exception>
#include <functional>
#include <memory>

namespace korvesta::jet {

QString quoteName(const QString &name)
{
    QString n = name;
    n.replace(u'"', QStringLiteral("\"\""));
    return u'"' + n + u'"';
}

QString quoteText(const QString &text)
{
    QString t = text;
    t.replace(u'\'', QStringLiteral("''"));
    return u'\'' + t + u'\'';
}

void Emitter::declareParameters(const std::vector<Parameter> &parameters)
{
    for (const Parameter &p : parameters) {
        bool known = false;
        for (QueryParameter &q : m_out.parameters) {
            if (q.name.compare(p.name, Qt::CaseInsensitive) == 0) {
                q.type = p.type;
                q.declared = true;
                known = true;
            }
        }
        if (!known)
            m_out.parameters.push_back({p.name, p.type, true});
    }
}

void Emitter::fail(const Expr &e, const QString &what) const
{
    throw DbError(dberr::SyntaxError,
                  QStringLiteral("Ошибка в запросе (позиция %1): %2").arg(e.position + 1).arg(what));
}

std::vector<ColumnInfo> Emitter::savedQueryColumns(const QString &name, QString *sql,
                                                   bool *groups)
{
    const std::optional<QString> text = m_schema.savedQuery(name);
    if (!text)
        throw DbError(dberr::TableNotFound,
                      QStringLiteral("Не найдена таблица или запрос «%1»").arg(name));
    const QString key = name.toLower();
    if (m_openQueries.contains(key))
        throw DbError(dberr::SyntaxError,
                      QStringLiteral("Запрос «%1» ссылается сам на себя").arg(name));
    if (!m_out.dependencies.contains(key))
        m_out.dependencies.append(key);
    m_openQueries.insert(key);
    Statement inner = parseStatement(*text);
    if (inner.kind != Statement::Kind::Select)
        throw DbError(dberr::SyntaxError,
                      QStringLiteral("Запрос «%1» нельзя использовать как источник строк")
                          .arg(name));
    declareParameters(inner.parameters);
    if (m_sourceOrderIgnored && inner.select->top < 0 && !inner.select->next)
        inner.select->orderBy.clear();
    if (groups)
        *groups = !inner.select->groupBy.empty() || inner.select->distinct;
    Output output;
    *sql = select(*inner.select, nullptr, &output, false);
    m_openQueries.remove(key);
    return output.columns;
}

QString Emitter::crosstabSources(const std::vector<std::unique_ptr<Source>> &from, Scope &scope,
                                 bool orderIgnored)
{
    m_sourceOrderIgnored = orderIgnored;
    m_materializeSources = true;
    QString sql = sources(from, scope);
    m_materializeSources = false;
    m_sourceOrderIgnored = false;
    return sql;
}

QString Emitter::materialize(const QString &inner, const std::vector<ColumnInfo> &columns)
{
    const QString table = QStringLiteral("kvt_source%1").arg(m_out.materialized.size() + 1);
    QStringList definitions;
    for (const ColumnInfo &c : columns) {
        // Text keeps the comparison without letter case that its fields have.
        definitions << quoteName(c.name)
                           + (c.type == JetType::Text ? QStringLiteral(" TEXT") + noCase()
                                                      : QString());
    }
    m_out.materialized.push_back(
        {quoteName(table).toUtf8(),
         (QStringLiteral("CREATE TEMP TABLE ") + quoteName(table) + QStringLiteral(" (")
          + definitions.join(QStringLiteral(", ")) + u')')
             .toUtf8(),
         (QStringLiteral("INSERT INTO ") + quoteName(table) + QStringLiteral(" SELECT * FROM (")
          + inner + u')')
             .toUtf8()});
    return temporary(quoteName(table));
}

QString Emitter::noCase() const
{
    return onServer() ? QStringLiteral(" COLLATE korvesta_nocase")
                      : QStringLiteral(" COLLATE NOCASE");
}

QString Emitter::rowNumber(const QString &table) const
{
    if (!onServer())
        return QStringLiteral("rowid");
    const TableInfo *info = m_schema.table(table);
    return info && !info->keyColumn.isEmpty() ? quoteName(info->keyColumn)
                                              : QStringLiteral("korvesta_rowid");
}

QString Emitter::temporary(const QString &quotedName) const
{
    return (onServer() ? QStringLiteral("pg_temp.") : QStringLiteral("temp.")) + quotedName;
}

QString Emitter::realType() const
{
    return onServer() ? QStringLiteral("double precision") : QStringLiteral("REAL");
}

QString Emitter::source(const Source &s, Scope &scope)
{
    switch (s.kind) {
    case Source::Kind::Table: {
        const QString refName = s.alias.isEmpty() ? s.name : s.alias;
        if (const TableInfo *t = m_schema.table(s.name)) {
            scope.sources.push_back({refName, t->name, t->columns, m_nestedJoins == 0});
            QString sql = quoteName(t->name);
            if (!s.alias.isEmpty())
                sql += QStringLiteral(" AS ") + quoteName(s.alias);
            return sql;
        }
        QString inner;
        bool groups = false;
        std::vector<ColumnInfo> columns = savedQueryColumns(s.name, &inner, &groups);
        // A query that groups is computed whole wherever it is read; one that does not is
        // merged into the statement reading it, where indexes serve both.
        // The server plans a query read twice well enough by itself: it takes no temporary
        // tables, whose columns would need types the dialect does not always know.
        QString sql = m_materializeSources && groups && !onServer()
                          ? materialize(inner, columns)
                          : u'(' + inner + u')';
        scope.sources.push_back({refName, QString(), std::move(columns)});
        return sql + QStringLiteral(" AS ") + quoteName(refName);
    }
    case Source::Kind::Subquery: {
        Output output;
        const QString inner = select(*s.subquery, scope.outer, &output, false);
        const QString alias = s.alias.isEmpty() ? QStringLiteral("Subquery%1").arg(m_exprCounter++)
                                                : s.alias;
        scope.sources.push_back({alias, QString(), std::move(output.columns)});
        return u'(' + inner + QStringLiteral(") AS ") + quoteName(alias);
    }
    case Source::Kind::Join:
        break;
    }

    // A tree of inner joins is written flat, each condition after the last table it can
    // name, so the planner is free to choose the order; outer joins keep their shape.
    std::function<bool(const Source &)> innerOnly = [&](const Source &n) {
        if (n.kind != Source::Kind::Join)
            return true;
        return n.joinType == u"INNER" && innerOnly(*n.left) && innerOnly(*n.right);
    };
    if (innerOnly(s)) {
        struct Item
        {
            const Source *source;
            std::vector<const Expr *> conditions;
        };
        std::vector<Item> items;
        std::function<void(const Source &)> flatten = [&](const Source &n) {
            if (n.kind != Source::Kind::Join) {
                items.push_back({&n, {}});
                return;
            }
            flatten(*n.left);
            flatten(*n.right);
            items.back().conditions.push_back(n.on.get());
        };
        flatten(s);
        // Every table enters the scope first: a condition may name any of them.
        std::vector<QString> parts;
        for (const Item &item : items)
            parts.push_back(source(*item.source, scope));
        QString sql = parts.front();
        for (size_t i = 1; i < items.size(); ++i) {
            QStringList conditions;
            for (const Expr *c : items[i].conditions)
                conditions << u'(' + condition(*c, scope).sql + u')';
            sql += QStringLiteral(" INNER JOIN ") + parts[i] + QStringLiteral(" ON ")
                   + (conditions.isEmpty() ? (onServer() ? QStringLiteral("TRUE") : QStringLiteral("1"))
                                           : conditions.join(QStringLiteral(" AND ")));
        }
        return sql;
    }

    QString left = source(*s.left, scope);
    QString right;
    if (s.right->kind == Source::Kind::Join) {
        ++m_nestedJoins;
        right = u'(' + source(*s.right, scope) + u')';
        --m_nestedJoins;
    } else {
        right = source(*s.right, scope);
    }
    return left + u' ' + s.joinType + QStringLiteral(" JOIN ") + right + QStringLiteral(" ON ")
           + condition(*s.on, scope).sql;
}

QString Emitter::sources(const std::vector<std::unique_ptr<Source>> &from, Scope &scope)
{
    QStringList parts;
    for (const auto &s : from)
        parts << source(*s, scope);
    return parts.join(QStringLiteral(", "));
}

namespace {

bool containsAggregate(const Expr &e)
{
    if (e.kind == Expr::Kind::Function && isAggregateName(e.op))
        return true;
    for (const auto &a : e.args) {
        if (a && containsAggregate(*a))
            return true;
    }
    return false;
}

bool containsFirstOrLast(const Expr &e)
{
    if (e.kind == Expr::Kind::Function
        && (e.op.compare(u"First", Qt::CaseInsensitive) == 0
            || e.op.compare(u"Last", Qt::CaseInsensitive) == 0))
        return true;
    for (const auto &a : e.args) {
        if (a && containsFirstOrLast(*a))
            return true;
    }
    return false;
}

bool namesAnAlias(const Expr &e, const Select &s)
{
    if (e.kind == Expr::Kind::Name && e.qualifier.isEmpty()) {
        for (const SelectItem &item : s.items) {
            if (item.alias.compare(e.name, Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    for (const auto &a : e.args) {
        if (a && namesAnAlias(*a, s))
            return true;
    }
    return false;
}

void collectConjuncts(const Expr &e, std::vector<const Expr *> &terms)
{
    if (e.kind == Expr::Kind::Binary && e.op.compare(u"AND", Qt::CaseInsensitive) == 0
        && e.args.size() == 2 && e.args[0] && e.args[1]) {
        collectConjuncts(*e.args[0], terms);
        collectConjuncts(*e.args[1], terms);
    } else {
        terms.push_back(&e);
    }
}

} // namespace

// The terms of HAVING that test no aggregate, such as "HAVING tblTutors.Tutor = 'x'" after a
// grouping on the tutor, give the same rows when tested before the grouping, where an index
// can find them instead of grouping the whole table first. A term naming a select alias stays:
// the alias may stand for an aggregate.
Emitter::Filters Emitter::filters(const Select &s, Scope &scope)
{
    QStringList where;
    QStringList having;
    if (s.where)
        where << condition(*s.where, scope).sql;
    if (s.having) {
        std::vector<const Expr *> terms;
        collectConjuncts(*s.having, terms);
        for (const Expr *term : terms) {
            const bool beforeGrouping = !s.groupBy.empty() && !containsAggregate(*term)
                                        && !namesAnAlias(*term, s);
            (beforeGrouping ? where : having) << condition(*term, scope).sql;
        }
    }
    auto joined = [](const QStringList &terms) {
        if (terms.size() == 1)
            return terms.front();
        QStringList wrapped;
        for (const QString &t : terms)
            wrapped << u'(' + t + u')';
        return wrapped.join(QStringLiteral(" AND "));
    };
    Filters f;
    if (!where.isEmpty())
        f.where = QStringLiteral(" WHERE ") + joined(where);
    if (!having.isEmpty())
        f.having = QStringLiteral(" HAVING ") + joined(having);
    return f;
}

namespace {

// A select that groups or sorts its rows itself takes no order from its sources, unless it
// asks for the first or last value of a group. The sorting of a saved query used as its source
// is then wasted work, often the most costly step of the whole statement.
bool ignoresSourceOrder(const Select &s)
{
    if (s.groupBy.empty() && s.orderBy.empty())
        return false;
    for (const SelectItem &item : s.items) {
        if (item.expr && containsFirstOrLast(*item.expr))
            return false;
    }
    return !(s.having && containsFirstOrLast(*s.having));
}

} // namespace

QString Emitter::select(const Select &s, const Scope *outer, Output *output, bool addRowids)
{
    const bool sortReadRows = m_sortReadRows && onServer() && !s.orderBy.empty() && s.top < 0;
    m_sortReadRows = false;
    Scope scope;
    scope.select = &s;
    scope.outer = outer;
    QString fromSql;
    if (!s.from.empty()) {
        const bool outerIgnores = m_sourceOrderIgnored;
        const bool outerMaterializes = m_materializeSources;
        m_sourceOrderIgnored = ignoresSourceOrder(s);
        m_materializeSources = false; // only the crosstab's own sources
        fromSql = sources(s.from, scope);
        m_sourceOrderIgnored = outerIgnores;
        m_materializeSources = outerMaterializes;
    }

    struct Item
    {
        QString sql;
        QString name;
        QString qualifier; // source of a plain column, for names of duplicates
        JetType type;
        bool named; // alias given
    };
    std::vector<Item> items;
    bool aggregate = !s.groupBy.empty() || s.having != nullptr;
    for (const SelectItem &item : s.items) {
        const Expr &e = *item.expr;
        if (e.kind == Expr::Kind::Star) {
            bool found = e.qualifier.isEmpty();
            for (const ScopeSource &src : scope.sources) {
                if (!e.qualifier.isEmpty()
                    && src.name.compare(e.qualifier, Qt::CaseInsensitive) != 0)
                    continue;
                found = true;
                for (const ColumnInfo &c : src.columns)
                    items.push_back({quoteName(src.name) + u'.' + quoteName(c.name), c.name,
                                     src.name, c.type, false});
            }
            if (!found)
                fail(e, QStringLiteral("нет источника «%1»").arg(e.qualifier));
            continue;
        }
        if (containsAggregate(e))
            aggregate = true;
        const Emitted em = expression(e, scope);
        Item it{em.sql, item.alias, QString(), em.type, !item.alias.isEmpty()};
        if (it.name.isEmpty()) {
            if (e.kind == Expr::Kind::Name && em.column) {
                it.name = e.name;
                // The column's own spelling, as the document has it.
                for (const ScopeSource &src : scope.sources) {
                    if (!e.qualifier.isEmpty()
                        && src.name.compare(e.qualifier, Qt::CaseInsensitive) != 0)
                        continue;
                    for (const ColumnInfo &c : src.columns) {
                        if (c.name.compare(e.name, Qt::CaseInsensitive) == 0) {
                            it.name = c.name;
                            it.qualifier = src.name;
                        }
                    }
                    if (!it.qualifier.isEmpty())
                        break;
                }
            } else {
                it.name = QStringLiteral("Expr%1").arg(m_exprCounter++);
            }
        }
        items.push_back(std::move(it));
    }
    // Two unnamed columns of one name are told apart by their source: "tblJob.Key".
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].named || items[i].qualifier.isEmpty())
            continue;
        for (size_t j = 0; j < items.size(); ++j) {
            if (i != j && items[j].name.compare(items[i].name, Qt::CaseInsensitive) == 0) {
                items[i].name = items[i].qualifier + u'.' + items[i].name;
                break;
            }
        }
    }

    QString sql = QStringLiteral("SELECT ");
    if (s.distinct)
        sql += QStringLiteral("DISTINCT ");
    QStringList columns;
    for (const Item &it : items) {
        columns << it.sql + QStringLiteral(" AS ") + quoteName(it.name);
        if (output)
            output->columns.push_back({it.name, it.type});
    }
    const bool simple = addRowids && !s.distinct && !aggregate && !s.next;
    if (simple) {
        for (const ScopeSource &src : scope.sources) {
            if (src.table.isEmpty() || !src.rowidVisible)
                continue;
            const QString hidden = QStringLiteral("__rowid%1").arg(m_out.rowidColumns.size());
            columns << quoteName(src.name) + u'.' + rowNumber(src.table) + QStringLiteral(" AS ")
                           + quoteName(hidden);
            m_out.rowidColumns.push_back({src.table, src.name});
        }
    }
    if (columns.isEmpty())
        columns << QStringLiteral("NULL");
    else if (sortReadRows) {
        QStringList itemSql;
        QStringList itemNames;
        for (const Item &it : items) {
            itemSql << it.sql;
            itemNames << it.name;
        }
        sortColumns(s, scope, itemSql, itemNames, columns);
    }
    sql += columns.join(QStringLiteral(", "));
    if (!fromSql.isEmpty())
        sql += QStringLiteral(" FROM ") + fromSql;
    const Filters f = filters(s, scope);
    sql += f.where;
    if (!s.groupBy.empty()) {
        QStringList group;
        for (const auto &g : s.groupBy)
            group << expression(*g, scope).sql;
        sql += QStringLiteral(" GROUP BY ") + group.join(QStringLiteral(", "));
    }
    sql += f.having;
    if (s.next) {
        sql += s.nextAll ? QStringLiteral(" UNION ALL ") : QStringLiteral(" UNION ");
        sql += select(*s.next, outer, nullptr, false);
    }
    if (!s.orderBy.empty() && m_out.sortColumns.empty()) {
        QStringList order;
        for (const OrderItem &o : s.orderBy) {
            QString term;
            if (s.next && o.expr->kind == Expr::Kind::Name) {
                // A union is ordered by its result columns.
                term = quoteName(o.expr->name);
            } else {
                term = orderTerm(expression(*o.expr, scope));
            }
            order << term + orderDirection(o.descending);
        }
        sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
    }
    if (s.top >= 0 && !s.topPercent)
        sql += QStringLiteral(" LIMIT %1").arg(s.top);
    return sql;
}

namespace {

void collectOutputTypes(Translation &t, const Emitter::Output &output)
{
    for (const ColumnInfo &c : output.columns)
        t.outputTypes.emplace_back(c.name, c.type);
}

// The table a DELETE or UPDATE through a join changes, by the name it goes by.
const ScopeSource *findSource(const Scope &scope, const QString &name)
{
    for (const ScopeSource &s : scope.sources) {
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    }
    return nullptr;
}

} // namespace

namespace {

Translation translateHere(const QString &sql, SchemaProvider &schema, Dialect dialect)
{
    const Statement st = parseStatement(sql);
    Translation t;
    t.dialect = dialect;
    Emitter emitter(schema, t);
    emitter.declareParameters(st.parameters);

    switch (st.kind) {
    case Statement::Kind::Select: {
        Emitter::Output output;
        t.kind = Translation::Kind::Select;
        emitter.m_sortReadRows = true;
        t.sql = emitter.select(*st.select, nullptr, &output, true).toUtf8();
        collectOutputTypes(t, output);
        break;
    }
    case Statement::Kind::Crosstab: {
        t.kind = Translation::Kind::Crosstab;
        const Select &s = *st.select;
        Scope scope;
        scope.select = &s;
        // The crosstab groups its rows: its sources need no order unless it takes the first
        // or last value of a group.
        const QString from = emitter.crosstabSources(
            s.from, scope,
            ignoresSourceOrder(s) && !(st.transform && containsFirstOrLast(*st.transform)));
        const Emitter::Filters filters = emitter.filters(s, scope);
        const QString &where = filters.where;

        const Emitted pivot = emitter.expression(*st.pivot, scope);
        t.pivotSql = pivot.sql.toUtf8();
        t.pivotType = pivot.type;
        t.pivotIsText = pivot.type == JetType::Text;
        const QString collate = t.pivotIsText ? emitter.noCase() : QString();
        t.pivotValuesSql = (QStringLiteral("SELECT DISTINCT ") + operand(pivot, prec::Atom) + collate
                            + QStringLiteral(" FROM ") + from + where
                            + QStringLiteral(" ORDER BY 1"))
                               .toUtf8();
        // Each value stands alone on the right of "pivot = value".
        for (const auto &v : st.pivotValues)
            t.fixedPivotValues.push_back(
                operand(emitter.expression(*v, scope), prec::Unary).toUtf8());

        emitter.m_inTransform = true;
        const Emitted value = emitter.expression(*st.transform, scope);
        emitter.m_inTransform = false;
        t.valueSql = value.sql.toUtf8();
        t.valueType = value.type;

        // Row headings: the select list, then the grouping, as for a plain select.
        QStringList head;
        QStringList group;
        int counter = 0;
        for (const SelectItem &item : s.items) {
            const Emitted em = emitter.expression(*item.expr, scope);
            QString name = item.alias;
            if (name.isEmpty())
                name = item.expr->kind == Expr::Kind::Name
                           ? item.expr->name
                           : QStringLiteral("Expr%1").arg(1000 + counter++);
            head << em.sql + QStringLiteral(" AS ") + quoteName(name);
            t.outputTypes.emplace_back(name, em.type);
        }
        QStringList headingOrder;
        for (const auto &g : s.groupBy) {
            const Emitted em = emitter.expression(*g, scope);
            group << em.sql;
            headingOrder << emitter.orderTerm(em) + emitter.orderDirection(false);
        }
        QString tail = QStringLiteral(" FROM ") + from + where;
        if (!group.isEmpty())
            tail += QStringLiteral(" GROUP BY ") + group.join(QStringLiteral(", "));
        tail += filters.having;
        QStringList order;
        for (const OrderItem &o : s.orderBy)
            order << emitter.orderTerm(emitter.expression(*o.expr, scope))
                         + emitter.orderDirection(o.descending);
        if (order.isEmpty())
            order = headingOrder; // row headings ascending
        if (!order.isEmpty())
            tail += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
        t.crosstabHead = (QStringLiteral("SELECT ") + head.join(QStringLiteral(", "))).toUtf8();
        t.crosstabTail = tail.toUtf8();
        break;
    }
    case Statement::Kind::Insert: {
        t.kind = Translation::Kind::Action;
        const TableInfo *table = schema.table(st.table);
        if (!table)
            throw DbError(dberr::TableNotFound,
                          QStringLiteral("Не найдена таблица «%1»").arg(st.table));
        QString out = QStringLiteral("INSERT INTO ") + quoteName(table->name);
        if (!st.columns.empty()) {
            QStringList cols;
            for (const QString &c : st.columns)
                cols << quoteName(c);
            out += QStringLiteral(" (") + cols.join(QStringLiteral(", ")) + u')';
        }
        Scope scope;
        if (st.select) {
            out += u' ' + emitter.select(*st.select, nullptr, nullptr, false);
        } else {
            QStringList values;
            for (size_t i = 0; i < st.values.size(); ++i) {
                const QString column = i < st.columns.size() ? st.columns[i]
                                       : i < table->columns.size() ? table->columns[i].name
                                                                   : QString();
                JetType type = JetType::Unknown;
                for (const ColumnInfo &c : table->columns) {
                    if (c.name.compare(column, Qt::CaseInsensitive) == 0)
                        type = c.type;
                }
                values << emitter.assigned(*st.values[i], type, scope).sql;
            }
            out += QStringLiteral(" VALUES (") + values.join(QStringLiteral(", ")) + u')';
        }
        t.sql = out.toUtf8();
        break;
    }
    case Statement::Kind::Update:
    case Statement::Kind::Delete: {
        t.kind = Translation::Kind::Action;
        const bool isUpdate = st.kind == Statement::Kind::Update;
        Scope scope;
        const QString from = emitter.source(*st.target, scope);
        const bool single = st.target->kind == Source::Kind::Table && st.target->alias.isEmpty()
                            && scope.sources.size() == 1 && !scope.sources[0].table.isEmpty();

        // The changed table: named by DELETE t.* or by the first assignment's qualifier,
        // else the only (or first) table of the source.
        QString changedName = st.deleteQualifier;
        if (isUpdate && changedName.isEmpty() && !st.assignments.empty())
            changedName = st.assignments.front().first->qualifier;
        if (isUpdate && changedName.isEmpty() && !st.assignments.empty()) {
            const QString column = st.assignments.front().first->name;
            for (const ScopeSource &s : scope.sources) {
                for (const ColumnInfo &c : s.columns) {
                    if (changedName.isEmpty() && !s.table.isEmpty()
                        && c.name.compare(column, Qt::CaseInsensitive) == 0)
                        changedName = s.name;
                }
            }
        }
        const ScopeSource *changed = changedName.isEmpty() ? &scope.sources.front()
                                                           : findSource(scope, changedName);
        if (!changed || changed->table.isEmpty())
            throw DbError(dberr::SyntaxError,
                          QStringLiteral("Не удалось определить изменяемую таблицу"));
        const QString where = st.where ? emitter.condition(*st.where, scope).sql : QString();
        const QString row = emitter.rowNumber(changed->table);

        QString out;
        if (isUpdate) {
            QStringList sets;
            for (const auto &[target, value] : st.assignments) {
                QString column = target->name;
                JetType type = JetType::Unknown;
                for (const ColumnInfo &c : changed->columns) {
                    if (c.name.compare(column, Qt::CaseInsensitive) == 0) {
                        column = c.name;
                        type = c.type;
                    }
                }
                const QString v = emitter.assigned(*value, type, scope).sql;
                if (single)
                    sets << quoteName(column) + QStringLiteral(" = ") + v;
                else
                    sets << quoteName(column) + QStringLiteral(" = (SELECT ") + v
                                + QStringLiteral(" FROM ") + from + QStringLiteral(" WHERE ")
                                + quoteName(changed->name) + u'.' + row + QStringLiteral(" = \"__t\".")
                                + row
                                + (where.isEmpty() ? QString() : QStringLiteral(" AND (") + where + u')')
                                + QStringLiteral(" LIMIT 1)");
            }
            if (single) {
                out = QStringLiteral("UPDATE ") + quoteName(changed->table) + QStringLiteral(" SET ")
                      + sets.join(QStringLiteral(", "));
                if (!where.isEmpty())
                    out += QStringLiteral(" WHERE ") + where;
            } else {
                out = QStringLiteral("UPDATE ") + quoteName(changed->table)
                      + QStringLiteral(" AS \"__t\" SET ") + sets.join(QStringLiteral(", "))
                      + QStringLiteral(" WHERE \"__t\".") + row + QStringLiteral(" IN (SELECT ")
                      + quoteName(changed->name) + u'.' + row + QStringLiteral(" FROM ") + from
                      + (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where) + u')';
            }
        } else if (single) {
            out = QStringLiteral("DELETE FROM ") + quoteName(changed->table);
            if (!where.isEmpty())
                out += QStringLiteral(" WHERE ") + where;
        } else {
            out = QStringLiteral("DELETE FROM ") + quoteName(changed->table)
                  + QStringLiteral(" WHERE ") + row + QStringLiteral(" IN (SELECT ")
                  + quoteName(changed->name) + u'.' + row + QStringLiteral(" FROM ") + from
                  + (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where) + u')';
        }
        t.sql = out.toUtf8();
        break;
    }
    }
    return t;
}

} // namespace

// Most statements are translated where they are asked for. A long one, or one reading a long
// saved query, may nest a thousand levels deep, more than a thread's usual stack holds in
// every build: it is translated again on a thread of its own with a stack to match.
Translation translate(const QString &sql, SchemaProvider &schema, Dialect dialect)
{
    if (DeepStack::active())
        return translateHere(sql, schema, dialect);
    try {
        return translateHere(sql, schema, dialect);
    } catch (const NeedsDeepStack &) {
    }
    Translation result;
    std::exception_ptr failure;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        const DeepStack deep;
        try {
            result = translateHere(sql, schema, dialect);
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    thread->setStackSize(DeepStack::kBytes);
    thread->start();
    thread->wait();
    if (failure)
        std::rethrow_exception(failure);
    return result;
}

} // namespace korvesta::jet
