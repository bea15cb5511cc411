// Functions of the program's SQL dialect written as SQLite calls. Most map onto the
// jet_... functions registered on every connection; a few become SQLite expressions.

#include "data/dberror.h"
#include "jetemitter.h"

namespace korvesta::jet {

namespace {

enum class Result { Fixed, First, Second };

struct FunctionInfo
{
    const char *name;   // as the dialect writes it (compared without regard to case)
    const char *sqlite; // function called
    int minArgs;
    int maxArgs;
    Result result;
    JetType type; // when Fixed; otherwise the fallback
};

const FunctionInfo functions[] = {
    {"count", "count", 1, 1, Result::Fixed, JetType::Long},
    {"sum", "sum", 1, 1, Result::First, JetType::Double},
    {"avg", "avg", 1, 1, Result::Fixed, JetType::Double},
    {"min", "min", 1, 1, Result::First, JetType::Unknown},
    {"max", "max", 1, 1, Result::First, JetType::Unknown},
    {"first", "jet_first", 1, 1, Result::First, JetType::Unknown},
    {"last", "jet_last", 1, 1, Result::First, JetType::Unknown},
    {"len", "length", 1, 1, Result::Fixed, JetType::Long},
    {"ucase", "jet_ucase", 1, 1, Result::Fixed, JetType::Text},
    {"lcase", "jet_lcase", 1, 1, Result::Fixed, JetType::Text},
    {"trim", "jet_trim", 1, 1, Result::Fixed, JetType::Text},
    {"ltrim", "jet_ltrim", 1, 1, Result::Fixed, JetType::Text},
    {"rtrim", "jet_rtrim", 1, 1, Result::Fixed, JetType::Text},
    {"left", "jet_left", 2, 2, Result::Fixed, JetType::Text},
    {"right", "jet_right", 2, 2, Result::Fixed, JetType::Text},
    {"mid", "jet_mid", 2, 3, Result::Fixed, JetType::Text},
    {"instr", "jet_instr", 2, 3, Result::Fixed, JetType::Long},
    {"replace", "jet_replace", 3, 3, Result::Fixed, JetType::Text},
    {"space", "jet_space", 1, 1, Result::Fixed, JetType::Text},
    {"string", "jet_string", 2, 2, Result::Fixed, JetType::Text},
    {"year", "jet_year", 1, 1, Result::Fixed, JetType::Long},
    {"month", "jet_month", 1, 1, Result::Fixed, JetType::Long},
    {"day", "jet_day", 1, 1, Result::Fixed, JetType::Long},
    {"hour", "jet_hour", 1, 1, Result::Fixed, JetType::Long},
    {"minute", "jet_minute", 1, 1, Result::Fixed, JetType::Long},
    {"second", "jet_second", 1, 1, Result::Fixed, JetType::Long},
    {"weekday", "jet_weekday", 1, 2, Result::Fixed, JetType::Long},
    {"datediff", "jet_datediff", 3, 3, Result::Fixed, JetType::Long},
    {"dateadd", "jet_dateadd", 3, 3, Result::Fixed, JetType::Date},
    {"dateserial", "jet_dateserial", 3, 3, Result::Fixed, JetType::Date},
    {"datevalue", "jet_datevalue", 1, 1, Result::Fixed, JetType::Date},
    {"cdate", "jet_cdate", 1, 1, Result::Fixed, JetType::Date},
    {"format", "jet_format", 1, 2, Result::Fixed, JetType::Text},
    {"cstr", "jet_cstr", 1, 1, Result::Fixed, JetType::Text},
    {"str", "jet_str", 1, 1, Result::Fixed, JetType::Text},
    {"val", "jet_val", 1, 1, Result::Fixed, JetType::Double},
    {"clng", "jet_clng", 1, 1, Result::Fixed, JetType::Long},
    {"cint", "jet_cint", 1, 1, Result::Fixed, JetType::Integer},
    {"cdbl", "jet_cdbl", 1, 1, Result::Fixed, JetType::Double},
    {"csng", "jet_cdbl", 1, 1, Result::Fixed, JetType::Double},
    {"ccur", "jet_cdbl", 1, 1, Result::Fixed, JetType::Double},
    {"cbool", "jet_cbool", 1, 1, Result::Fixed, JetType::Boolean},
    {"int", "jet_int", 1, 1, Result::First, JetType::Long},
    {"fix", "jet_fix", 1, 1, Result::First, JetType::Long},
    {"round", "jet_round", 1, 2, Result::Fixed, JetType::Double},
    {"abs", "jet_abs", 1, 1, Result::First, JetType::Double},
    {"sgn", "jet_sgn", 1, 1, Result::Fixed, JetType::Integer},
    {"sqr", "jet_sqr", 1, 1, Result::Fixed, JetType::Double},
    {"asc", "unicode", 1, 1, Result::Fixed, JetType::Long},
    {"chr", "char", 1, 1, Result::Fixed, JetType::Text},
};

const FunctionInfo *findFunction(const QString &name)
{
    for (const FunctionInfo &f : functions) {
        if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

} // namespace

Emitted Emitter::function(const Expr &e, const Scope &scope)
{
    const QString fn = e.op.toLower();
    const int argc = int(e.args.size());
    auto arg = [&](int i) { return expression(*e.args[size_t(i)], scope); };
    auto needArgs = [&](int lo, int hi) {
        if (argc < lo || argc > hi)
            fail(e, QStringLiteral("неверное число аргументов функции %1").arg(e.op));
    };

    // The clock is the program's, in its local time, on either engine (the server's zone
    // may be another): the server reads the moment the program gives it.
    if (fn == u"now") {
        needArgs(0, 0);
        return {onServer() ? QStringLiteral("jet_now()")
                           : QStringLiteral("strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime')"),
                JetType::Date};
    }
    if (fn == u"date") {
        needArgs(0, 0);
        return {onServer() ? QStringLiteral("date_trunc('day', jet_now())")
                           : QStringLiteral("date('now', 'localtime')"),
                JetType::Date};
    }
    if (fn == u"time") {
        needArgs(0, 0);
        return {onServer() ? QStringLiteral("(TIMESTAMP '1899-12-30' + (jet_now() - "
                                            "date_trunc('day', jet_now())))")
                           : QStringLiteral("('1899-12-30 ' || time('now', 'localtime'))"),
                JetType::Date};
    }
    if (fn == u"iif") {
        needArgs(3, 3);
        const Emitted c = arg(0);
        const Emitted a = arg(1);
        const Emitted b = arg(2);
        const JetType t = a.type != JetType::Unknown ? a.type : b.type;
        const Emitted decided = onServer() ? condition(*e.args[0], scope) : c;
        return {QStringLiteral("(CASE WHEN %1 THEN %2 ELSE %3 END)").arg(decided.sql, a.sql, b.sql),
                t};
    }
    if (fn == u"nz") {
        needArgs(1, 2);
        const Emitted a = arg(0);
        if (argc == 2) {
            const Emitted b = arg(1);
            return {QStringLiteral("coalesce(%1, %2)").arg(a.sql, b.sql),
                    a.type != JetType::Unknown ? a.type : b.type};
        }
        const QString fallback = a.type == JetType::Text || a.type == JetType::Unknown
                                     ? QStringLiteral("''")
                                     : QStringLiteral("0");
        return {QStringLiteral("coalesce(%1, %2)").arg(a.sql, fallback), a.type};
    }
    if (fn == u"isnull") {
        needArgs(1, 1);
        return {QStringLiteral("(%1 IS NULL)").arg(arg(0).sql), JetType::Boolean};
    }

    const FunctionInfo *info = findFunction(fn);
    if (!info)
        fail(e, QStringLiteral("неизвестная функция %1").arg(e.op));
    needArgs(info->minArgs, info->maxArgs);

    QStringList args;
    std::vector<JetType> types;
    for (int i = 0; i < argc; ++i) {
        if (e.args[size_t(i)]->kind == Expr::Kind::Star && fn == u"count") {
            args << QStringLiteral("*");
            types.push_back(JetType::Unknown);
            continue;
        }
        Emitted a = arg(i);
        // A date turned into text reads as the user sees it.
        if (a.type == JetType::Date && (fn == u"cstr" || fn == u"len" || fn == u"left"
                                        || fn == u"right" || fn == u"mid" || fn == u"instr"))
            a.sql = QStringLiteral("jet_datetext(") + a.sql + u')';
        args << a.sql;
        types.push_back(a.type);
    }

    JetType type = info->type;
    if (info->result == Result::First && !types.empty() && types[0] != JetType::Unknown)
        type = types[0];
    if (info->result == Result::Second && types.size() > 1 && types[1] != JetType::Unknown)
        type = types[1];

    const char *called = info->sqlite;
    if (onServer() && fn == u"asc")
        called = "ascii";
    else if (onServer() && fn == u"chr")
        called = "chr";
    QString sql = QLatin1String(called) + u'(' + (e.distinct ? QStringLiteral("DISTINCT ")
                                                                   : QString())
                  + args.join(QStringLiteral(", ")) + u')';
    if (m_inTransform && isAggregateName(fn))
        sql += QStringLiteral(" FILTER (WHERE ") + QLatin1String(kPivotFilter) + u')';
    return {sql, type};
}

} // namespace korvesta::jet
