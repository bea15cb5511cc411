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

Emitted made(QString sql, JetType type, int precedence)
{
    Emitted e{std::move(sql), type};
    e.precedence = precedence;
    return e;
}

// An expression the server reads as a truth value already: a comparison, a test, a
// combination of them.
bool decides(const Expr &e)
{
    switch (e.kind) {
    case Expr::Kind::Between:
    case Expr::Kind::In:
    case Expr::Kind::InSelect:
    case Expr::Kind::IsNull:
    case Expr::Kind::Like:
    case Expr::Kind::Exists:
        return true;
    case Expr::Kind::Unary:
        return e.op == u"NOT";
    case Expr::Kind::Binary:
        return e.op == u"=" || e.op == u"<>" || e.op == u"<" || e.op == u">" || e.op == u"<="
               || e.op == u">=" || e.op == u"AND" || e.op == u"OR" || e.op == u"XOR"
               || e.op == u"EQV" || e.op == u"IMP";
    case Expr::Kind::Function:
        return e.op.compare(u"isnull", Qt::CaseInsensitive) == 0;
    default:
        return false;
    }
}

// "a op b" for an operator of SQLite that groups from the left at the given precedence.
QString infix(const Emitted &a, QStringView op, const Emitted &b, int precedence)
{
    return operand(a, precedence) + u' ' + op.toString() + u' ' + operand(b, precedence + 1);
}

// Text for concatenation: a date shows as the user reads it, Null as nothing.
// A value as concatenation takes it: a date as it reads, a real number as CStr writes it
// ("1", not "1.0"), Null as empty text. The server joins only texts: a whole number there is
// cast (its digits are the same), any other value goes through jet_text, which writes it by
// the type it turns out to have.
QString asText(const Emitted &e, bool onServer)
{
    QString v = e.sql;
    switch (e.type) {
    case JetType::Date:
        v = QStringLiteral("jet_datetext(") + e.sql + u')';
        break;
    case JetType::Double:
        v = (onServer ? QStringLiteral("jet_text(") : QStringLiteral("jet_cstr(")) + e.sql + u')';
        break;
    case JetType::Long:
    case JetType::Integer:
    case JetType::Boolean:
        if (onServer)
            v = QStringLiteral("(") + e.sql + QStringLiteral(")::text");
        break;
    case JetType::Unknown:
        if (onServer)
            v = QStringLiteral("jet_text(") + e.sql + u')';
        break;
    case JetType::Text:
        break;
    }
    return QStringLiteral("coalesce(") + v + QStringLiteral(", '')");
}

bool isBinary(const Expr &e, QStringView op)
{
    return e.kind == Expr::Kind::Binary && e.op == op;
}

// A text literal compared with a date reads as a date where it is one ("01.09.2026",
// "2026-09-01"), so that the comparison is of dates, not of texts.
Emitted dateFromText(const Expr &e, Emitted emitted, const Emitted &other)
{
    if (other.type != JetType::Date || e.kind != Expr::Kind::Literal
        || e.literalType != JetType::Text)
        return emitted;
    const QString iso = dateLiteralToIso(e.op);
    if (iso.isEmpty())
        return emitted;
    return {quoteText(iso), JetType::Date};
}

} // namespace

QString operand(const Emitted &e, int needed)
{
    return e.precedence < needed ? wrap(e.sql) : e.sql;
}

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
            return {(onServer() ? QStringLiteral("$%1") : QStringLiteral("?%1")).arg(i + 1),
                    m_out.parameters[i].type, false, true, int(i)};
    }
    m_out.parameters.push_back({paramName, JetType::Unknown, false});
    const int index = int(m_out.parameters.size()) - 1;
    return {(onServer() ? QStringLiteral("$%1") : QStringLiteral("?%1")).arg(index + 1),
            JetType::Unknown, false, true, index};
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
            inner.sql = operand(inner, prec::Atom);
            inner.precedence = prec::Atom;
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
    Emitted a = expression(*e.args[0], scope);
    Emitted b = expression(*e.args[1], scope);

    if (onServer() && (op == u"OR" || op == u"AND" || op == u"XOR" || op == u"EQV"
                       || op == u"IMP")) {
        a = condition(*e.args[0], scope);
        b = condition(*e.args[1], scope);
        if (op == u"XOR")
            return made(QStringLiteral("(%1) <> (%2)").arg(a.sql, b.sql), JetType::Boolean,
                        prec::Equality);
        if (op == u"EQV")
            return made(QStringLiteral("(%1) = (%2)").arg(a.sql, b.sql), JetType::Boolean,
                        prec::Equality);
        if (op == u"IMP")
            return made(QStringLiteral("NOT (%1) OR (%2)").arg(a.sql, b.sql), JetType::Boolean,
                        prec::Or);
    }
    if (op == u"OR")
        return made(infix(a, op, b, prec::Or), JetType::Boolean, prec::Or);
    if (op == u"AND")
        return made(infix(a, op, b, prec::And), JetType::Boolean, prec::And);
    const QString truthA = operand(a, prec::Equality);
    const QString truthB = operand(b, prec::Equality);
    if (op == u"XOR")
        return made(QStringLiteral("(%1 <> 0) <> (%2 <> 0)").arg(truthA, truthB),
                    JetType::Boolean, prec::Equality);
    if (op == u"EQV")
        return made(QStringLiteral("(%1 <> 0) = (%2 <> 0)").arg(truthA, truthB),
                    JetType::Boolean, prec::Equality);
    if (op == u"IMP")
        return made(QStringLiteral("(%1 = 0) OR (%2 <> 0)").arg(truthA, truthB),
                    JetType::Boolean, prec::Or);

    if (op == u"=" || op == u"<>" || op == u"<" || op == u">" || op == u"<=" || op == u">=") {
        a = dateFromText(*e.args[0], a, b);
        b = dateFromText(*e.args[1], b, a);
        inferParameter(a, b);
        // The dialect compares all six alike, left to right; SQLite binds < > <= >= tighter
        // than = and <>, which the parentheses of operand() account for.
        const int level = op == u"=" || op == u"<>" ? prec::Equality : prec::Relation;
        // A column brings its own collation; between two expressions text compares
        // without regard to letter case all the same.
        const bool foldCase = !a.column && !b.column && !isNumeric(a.type) && !isNumeric(b.type)
                            && a.type != JetType::Date && b.type != JetType::Date;
        QString sql = operand(a, level) + u' ' + op + u' ';
        if (foldCase)
            sql += operand(b, prec::Atom) + noCase();
        else
            sql += operand(b, level + 1);
        return made(sql, JetType::Boolean, level);
    }
    if (op == u"&") {
        // A concatenation is never Null: the left part of a chain needs no coalesce again.
        const QString left = isBinary(*e.args[0], u"&") ? a.sql : asText(a, onServer());
        return made(left + QStringLiteral(" || ") + asText(b, onServer()), JetType::Text,
                    prec::Concatenation);
    }
    if (op == u"+") {
        if (a.type == JetType::Text || b.type == JetType::Text)
            return made(infix(a, u"||", b, prec::Concatenation), JetType::Text,
                        prec::Concatenation);
        if (a.type == JetType::Date && b.type != JetType::Date)
            return {QStringLiteral("jet_dateadd('d', %1, %2)").arg(b.sql, a.sql), JetType::Date};
        if (b.type == JetType::Date && a.type != JetType::Date)
            return {QStringLiteral("jet_dateadd('d', %1, %2)").arg(a.sql, b.sql), JetType::Date};
        return made(infix(a, op, b, prec::Additive),
                    a.type == JetType::Double || b.type == JetType::Double ? JetType::Double
                                                                           : a.type,
                    prec::Additive);
    }
    if (op == u"-") {
        if (a.type == JetType::Date && b.type == JetType::Date)
            return onServer()
                       ? Emitted{QStringLiteral("jet_daydiff(%1, %2)").arg(a.sql, b.sql),
                                 JetType::Double}
                       : made(QStringLiteral("julianday(%1) - julianday(%2)").arg(a.sql, b.sql),
                              JetType::Double, prec::Additive);
        if (a.type == JetType::Date)
            return {QStringLiteral("jet_dateadd('d', -(%1), %2)").arg(b.sql, a.sql),
                    JetType::Date};
        return made(infix(a, op, b, prec::Additive),
                    a.type == JetType::Double || b.type == JetType::Double ? JetType::Double
                                                                           : a.type,
                    prec::Additive);
    }
    if (op == u"*")
        return made(infix(a, op, b, prec::Multiplicative),
                    a.type == JetType::Double || b.type == JetType::Double ? JetType::Double
                                                                           : JetType::Long,
                    prec::Multiplicative);
    if (op == u"/") {
        // The quotient of a division is already real: a chain casts its first term only.
        const QString dividend = isBinary(*e.args[0], u"/")
                                     ? a.sql
                                     : QStringLiteral("CAST(%1 AS %2)").arg(a.sql, realType());
        return made(dividend + QStringLiteral(" / ") + operand(b, prec::Multiplicative + 1),
                    JetType::Double, prec::Multiplicative);
    }
    if (op == u"\\")
        return made(QStringLiteral("CAST(jet_round(%1) AS INTEGER) / CAST(jet_round(%2) AS "
                                   "INTEGER)")
                        .arg(a.sql, b.sql),
                    JetType::Long, prec::Multiplicative);
    if (op == u"MOD")
        return made(QStringLiteral("CAST(jet_round(%1) AS INTEGER) % CAST(jet_round(%2) AS "
                                   "INTEGER)")
                        .arg(a.sql, b.sql),
                    JetType::Long, prec::Multiplicative);
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

Emitted Emitter::condition(const Expr &e, const Scope &scope)
{
    Emitted c = expression(e, scope);
    if (!onServer() || decides(e))
        return c;
    if (c.parameter && !m_out.parameters[size_t(c.parameterIndex)].declared
        && m_out.parameters[size_t(c.parameterIndex)].type == JetType::Unknown)
        m_out.parameters[size_t(c.parameterIndex)].type = JetType::Boolean;
    return made(QStringLiteral("coalesce(%1, 0) <> 0").arg(operand(c, prec::Atom)),
                JetType::Boolean, prec::Equality);
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
        if (e.op == u"NOT") {
            const Emitted c = onServer() ? condition(*e.args[0], scope) : a;
            return made(QStringLiteral("NOT ") + operand(c, prec::Not), JetType::Boolean,
                        prec::Not);
        }
        if (e.op == u"-") {
            // "--" would start a comment.
            const QString inner = operand(a, prec::Unary);
            return made(inner.startsWith(u'-') ? QStringLiteral("-(") + inner + u')'
                                               : u'-' + inner,
                        a.type, prec::Unary);
        }
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
        const Emitted lo = dateFromText(*e.args[1], expression(*e.args[1], scope), v);
        const Emitted hi = dateFromText(*e.args[2], expression(*e.args[2], scope), v);
        inferParameter(v, lo);
        inferParameter(v, hi);
        const int level = prec::Equality + 1;
        return made(operand(v, level)
                        + (e.negated ? QStringLiteral(" NOT BETWEEN ")
                                     : QStringLiteral(" BETWEEN "))
                        + operand(lo, level) + QStringLiteral(" AND ") + operand(hi, level),
                    JetType::Boolean, prec::Equality);
    }
    case Expr::Kind::In: {
        const Emitted v = expression(*e.args[0], scope);
        QStringList items;
        for (size_t i = 1; i < e.args.size(); ++i) {
            const Emitted item = dateFromText(*e.args[i], expression(*e.args[i], scope), v);
            inferParameter(v, item);
            items << item.sql;
        }
        return made(operand(v, prec::Equality + 1)
                        + (e.negated ? QStringLiteral(" NOT IN (") : QStringLiteral(" IN ("))
                        + items.join(QStringLiteral(", ")) + u')',
                    JetType::Boolean, prec::Equality);
    }
    case Expr::Kind::InSelect: {
        const Emitted v = expression(*e.args[0], scope);
        const QString inner = select(*e.subquery, &scope, nullptr, false);
        return made(operand(v, prec::Equality + 1)
                        + (e.negated ? QStringLiteral(" NOT IN (") : QStringLiteral(" IN ("))
                        + inner + u')',
                    JetType::Boolean, prec::Equality);
    }
    case Expr::Kind::IsNull: {
        const Emitted v = expression(*e.args[0], scope);
        return made(operand(v, prec::Equality + 1)
                        + (e.negated ? QStringLiteral(" IS NOT NULL")
                                     : QStringLiteral(" IS NULL")),
                    JetType::Boolean, prec::Equality);
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
        return e.negated ? made(QStringLiteral("NOT ") + match, JetType::Boolean, prec::Not)
                         : Emitted{match, JetType::Boolean};
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
