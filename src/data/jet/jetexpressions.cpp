// Expressions of the program's SQL dialect written as SQLite expressions.

#include "data/dberror.h"
#include "jetemitter.h"
#include "jetparser.h"

namespace korvesta::jet {

namespace {

bool isNumeric(JetType t)
{
    return t == JetType::Long || t == JetType::Integer || t == JetType::Double
           || t == JetType::Boolean;
}

QString wrap(const QString &sql)
{
    return u'(' + sql + u')';
}

// Text for concatenation: a date shows as the user reads it, Null as nothing.
QString asText(const Emitted &e)
{
    const QString v = e.type == JetType::Date ? QStringLiteral("jet_datetext(") + e.sql + u')'
                                              : e.sql;
    return QStringLiteral("coalesce(") + v + QStringLiteral(", '')");
}

} // namespace

bool isAggregateName(const QString &function)
{
    static const char *const names[] = {"count", "sum", "avg", "min", "max", "first", "last"};
    for (const char *n : names) {
        if (function.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

Emitted Emitter::parameter(const QString &paramName)
{
    for (size_t i = 0; i < m_out.parameters.size(); ++i) {
        if (m_out.parameters[i].name.compare(paramName, Qt::CaseInsensitive) == 0)
            return {QStringLiteral("?%1").arg(i + 1), m_out.parameters[i].type, false, true,
                    int(i)};
    }
    m_out.parameters.push_back({paramName, JetType::Unknown, false});
    const int index = int(m_out.parameters.size()) - 1;
    return {QStringLiteral("?%1").arg(index + 1), JetType::Unknown, false, true, index};
}

// A parameter compared with a typed value takes that type, unless it was declared.
void Emitter::inferParameter(const Emitted &a, const Emitted &b)
{
    auto apply = [this](const Emitted &p, const Emitted &other) {
        if (!p.parameter || other.type == JetType::Unknown)
            return;
        QueryParameter &q = m_out.parameters[size_t(p.parameterIndex)];
        if (!q.declared && q.type == JetType::Unknown)
            q.type = other.type;
    };
    apply(a, b);
    apply(b, a);
}

Emitted Emitter::name(const Expr &e, const Scope &scope)
{
    auto column = [](const ScopeSource &src, const QString &n) -> const ColumnInfo * {
        for (const ColumnInfo &c : src.columns) {
            if (c.name.compare(n, Qt::CaseInsensitive) == 0)
                return &c;
        }
        return nullptr;
    };

    if (!e.qualifier.isEmpty()) {
        for (const Scope *s = &scope; s; s = s->outer) {
            for (const ScopeSource &src : s->sources) {
                if (src.name.compare(e.qualifier, Qt::CaseInsensitive) != 0)
                    continue;
                if (const ColumnInfo *c = column(src, e.name))
                    return {quoteName(src.name) + u'.' + quoteName(c->name), c->type, true};
            }
        }
        // An unknown field is asked for as a parameter, and a missing value is an error.
        return parameter(e.qualifier + u'.' + e.name);
    }

    for (const ScopeSource &src : scope.sources) {
        if (const ColumnInfo *c = column(src, e.name))
            return {quoteName(src.name) + u'.' + quoteName(c->name), c->type, true};
    }
    // An alias of the select list, used again in the same statement.
    if (scope.select) {
        for (const SelectItem &item : scope.select->items) {
            if (item.alias.compare(e.name, Qt::CaseInsensitive) != 0)
                continue;
            const QString key = item.alias.toLower();
            if (m_expandingAliases.contains(key))
                fail(e, QStringLiteral("циклическая ссылка на «%1»").arg(e.name));
            m_expandingAliases.insert(key);
            Emitted inner = expression(*item.expr, scope);
            m_expandingAliases.remove(key);
            inner.sql = wrap(inner.sql);
            inner.column = false;
            return inner;
        }
    }
    for (const Scope *s = scope.outer; s; s = s->outer) {
        for (const ScopeSource &src : s->sources) {
            if (const ColumnInfo *c = column(src, e.name))
                return {quoteName(src.name) + u'.' + quoteName(c->name), c->type, true};
        }
    }
    return parameter(e.name);
}

Emitted Emitter::binary(const Expr &e, const Scope &scope)
{
    const QString &op = e.op;
    const Emitted a = expression(*e.args[0], scope);
    const Emitted b = expression(*e.args[1], scope);

    if (op == u"AND" || op == u"OR")
        return {wrap(a.sql + u' ' + op + u' ' + b.sql), JetType::Boolean};
    if (op == u"XOR")
        return {wrap(QStringLiteral("(%1 <> 0) <> (%2 <> 0)").arg(a.sql, b.sql)),
                JetType::Boolean};
    if (op == u"EQV")
        return {wrap(QStringLiteral("(%1 <> 0) = (%2 <> 0)").arg(a.sql, b.sql)),
                JetType::Boolean};
    if (op == u"IMP")
        return {wrap(QStringLiteral("(%1 = 0) OR (%2 <> 0)").arg(a.sql, b.sql)),
                JetType::Boolean};

    if (op == u"=" || op == u"<>" || op == u"<" || op == u">" || op == u"<=" || op == u">=") {
        inferParameter(a, b);
        QString sql = a.sql + u' ' + op + u' ' + b.sql;
        // A column brings its own collation; between two expressions text compares
        // without regard to letter case all the same.
        if (!a.column && !b.column && !isNumeric(a.type) && !isNumeric(b.type)
            && a.type != JetType::Date && b.type != JetType::Date)
            sql += QStringLiteral(" COLLATE NOCASE");
        return {wrap(sql), JetType::Boolean};
    }
    if (op == u"&")
        return {wrap(asText(a) + QStringLiteral(" || ") + asText(b)), JetType::Text};
    if (op == u"+") {
        if (a.type == JetType::Text || b.type == JetType::Text)
            return {wrap(a.sql + QStringLiteral(" || ") + b.sql), JetType::Text};
        if (a.type == JetType::Date && b.type != JetType::Date)
            return {QStringLiteral("jet_dateadd('d', %1, %2)").arg(b.sql, a.sql), JetType::Date};
        if (b.type == JetType::Date && a.type != JetType::Date)
            return {QStringLiteral("jet_dateadd('d', %1, %2)").arg(a.sql, b.sql), JetType::Date};
        return {wrap(a.sql + QStringLiteral(" + ") + b.sql),
                a.type == JetType::Double || b.type == JetType::Double ? JetType::Double
                                                                       : a.type};
    }
    if (op == u"-") {
        if (a.type == JetType::Date && b.type == JetType::Date)
            return {wrap(QStringLiteral("julianday(%1) - julianday(%2)").arg(a.sql, b.sql)),
                    JetType::Double};
        if (a.type == JetType::Date)
            return {QStringLiteral("jet_dateadd('d', -(%1), %2)").arg(b.sql, a.sql),
                    JetType::Date};
        return {wrap(a.sql + QStringLiteral(" - ") + b.sql),
                a.type == JetType::Double || b.type == JetType::Double ? JetType::Double
                                                                       : a.type};
    }
    if (op == u"*")
        return {wrap(a.sql + QStringLiteral(" * ") + b.sql),
                a.type == JetType::Double || b.type == JetType::Double ? JetType::Double
                                                                       : JetType::Long};
    if (op == u"/")
        return {wrap(QStringLiteral("CAST(%1 AS REAL) / %2").arg(a.sql, b.sql)), JetType::Double};
    if (op == u"\\")
        return {wrap(QStringLiteral("CAST(jet_round(%1) AS INTEGER) / CAST(jet_round(%2) AS "
                                    "INTEGER)")
                         .arg(a.sql, b.sql)),
                JetType::Long};
    if (op == u"MOD")
        return {wrap(QStringLiteral("CAST(jet_round(%1) AS INTEGER) % CAST(jet_round(%2) AS "
                                    "INTEGER)")
                         .arg(a.sql, b.sql)),
                JetType::Long};
    if (op == u"^")
        return {QStringLiteral("jet_pow(%1, %2)").arg(a.sql, b.sql), JetType::Double};
    fail(e, QStringLiteral("неизвестная операция %1").arg(op));
}

Emitted Emitter::assigned(const Expr &e, JetType fieldType, const Scope &scope)
{
    if (fieldType == JetType::Date && e.kind == Expr::Kind::Literal
        && e.literalType == JetType::Text) {
        const QString iso = dateLiteralToIso(e.op);
        if (iso.isEmpty())
            fail(e, QStringLiteral("«%1» не является датой").arg(e.op));
        return {quoteText(iso), JetType::Date};
    }
    Emitted value = expression(e, scope);
    Emitted field;
    field.type = fieldType;
    inferParameter(value, field);
    return value;
}

Emitted Emitter::expression(const Expr &e, const Scope &scope)
{
    switch (e.kind) {
    case Expr::Kind::Name:
        return name(e, scope);
    case Expr::Kind::Literal:
        switch (e.literalType) {
        case JetType::Text:
            return {quoteText(e.op), JetType::Text};
        case JetType::Date:
            return {quoteText(e.op), JetType::Date};
        case JetType::Unknown:
            return {QStringLiteral("NULL"), JetType::Unknown};
        default:
            return {e.op, e.literalType};
        }
    case Expr::Kind::Unary: {
        const Emitted a = expression(*e.args[0], scope);
        if (e.op == u"NOT")
            return {wrap(QStringLiteral("NOT ") + a.sql), JetType::Boolean};
        if (e.op == u"-")
            return {wrap(u'-' + a.sql), a.type};
        return a;
    }
    case Expr::Kind::Binary:
        return binary(e, scope);
    case Expr::Kind::Function:
        return function(e, scope);
    case Expr::Kind::Star:
        fail(e, QStringLiteral("«*» здесь недопустима"));
    case Expr::Kind::Between: {
        const Emitted v = expression(*e.args[0], scope);
        const Emitted lo = expression(*e.args[1], scope);
        const Emitted hi = expression(*e.args[2], scope);
        inferParameter(v, lo);
        inferParameter(v, hi);
        return {wrap(v.sql + (e.negated ? QStringLiteral(" NOT BETWEEN ")
                                        : QStringLiteral(" BETWEEN "))
                     + lo.sql + QStringLiteral(" AND ") + hi.sql),
                JetType::Boolean};
    }
    case Expr::Kind::In: {
        const Emitted v = expression(*e.args[0], scope);
        QStringList items;
        for (size_t i = 1; i < e.args.size(); ++i) {
            const Emitted item = expression(*e.args[i], scope);
            inferParameter(v, item);
            items << item.sql;
        }
        return {wrap(v.sql + (e.negated ? QStringLiteral(" NOT IN (") : QStringLiteral(" IN ("))
                     + items.join(QStringLiteral(", ")) + u')'),
                JetType::Boolean};
    }
    case Expr::Kind::InSelect: {
        const Emitted v = expression(*e.args[0], scope);
        const QString inner = select(*e.subquery, &scope, nullptr, false);
        return {wrap(v.sql + (e.negated ? QStringLiteral(" NOT IN (") : QStringLiteral(" IN ("))
                     + inner + u')'),
                JetType::Boolean};
    }
    case Expr::Kind::IsNull: {
        const Emitted v = expression(*e.args[0], scope);
        return {wrap(v.sql + (e.negated ? QStringLiteral(" IS NOT NULL")
                                        : QStringLiteral(" IS NULL"))),
                JetType::Boolean};
    }
    case Expr::Kind::Like: {
        const Emitted v = expression(*e.args[0], scope);
        const Emitted pattern = expression(*e.args[1], scope);
        if (pattern.parameter && !m_out.parameters[size_t(pattern.parameterIndex)].declared)
            m_out.parameters[size_t(pattern.parameterIndex)].type = JetType::Text;
        const QString text = v.type == JetType::Date
                                 ? QStringLiteral("jet_datetext(") + v.sql + u')'
                                 : v.sql;
        // The dialect's wildcards and character lists have no SQL equivalent: jet_like
        // reads the pattern as it is written.
        const QString match = QStringLiteral("jet_like(") + text + QStringLiteral(", ")
                              + pattern.sql + u')';
        return {wrap(e.negated ? QStringLiteral("NOT ") + match : match), JetType::Boolean};
    }
    case Expr::Kind::Exists:
        return {QStringLiteral("EXISTS (") + select(*e.subquery, &scope, nullptr, false) + u')',
                JetType::Boolean};
    case Expr::Kind::Subquery: {
        Output output;
        const QString inner = select(*e.subquery, &scope, &output, false);
        return {wrap(inner),
                output.columns.empty() ? JetType::Unknown : output.columns.front().type};
    }
    }
    fail(e, QStringLiteral("неизвестное выражение"));
}

} // namespace korvesta::jet
