#pragma once

#include "jetast.h"
#include "jettranslator.h"

#include <QHash>
#include <QSet>

namespace korvesta::jet {

// One source of a FROM clause as names are resolved against it.
struct ScopeSource
{
    QString name;  // the name the statement refers to it by (alias or table/query name)
    QString table; // base table name; empty for a subquery or saved query
    std::vector<ColumnInfo> columns;
    bool rowidVisible = true; // false inside a parenthesised join, where rowid is hidden
};

struct Scope
{
    std::vector<ScopeSource> sources;
    const Select *select = nullptr; // for aliases of the select list
    const Scope *outer = nullptr;
};

// How tightly SQLite binds the outermost operator of an emitted expression, loosest first.
// An operand is put in parentheses only where it binds more loosely than its place needs,
// so that long chains stay flat and within SQLite's parser stack.
namespace prec {
inline constexpr int Or = 1;
inline constexpr int And = 2;
inline constexpr int Not = 3;
inline constexpr int Equality = 4; // = <> IS IN LIKE BETWEEN
inline constexpr int Relation = 5; // < > <= >=
inline constexpr int Additive = 7; // + -
inline constexpr int Multiplicative = 8;
inline constexpr int Concatenation = 9; // ||
inline constexpr int Unary = 10;        // - + ~ (COLLATE binds tighter still)
inline constexpr int Atom = 12;         // a value, a call, a parenthesised expression
} // namespace prec

// An emitted expression with what the translator knows about it.
struct Emitted
{
    QString sql;
    JetType type = JetType::Unknown;
    bool column = false;    // a plain column reference
    bool parameter = false; // a plain parameter reference
    int parameterIndex = -1;
    int precedence = prec::Atom;
};

// The SQL of an operand in parentheses when it binds more loosely than `needed`.
QString operand(const Emitted &e, int needed);

// Writes SQLite SQL from the parsed statement, resolving names against the document.
class Emitter
{
public:
    Emitter(SchemaProvider &schema, Translation &out)
        : m_schema(schema)
        , m_out(out)
    {}

    void declareParameters(const std::vector<Parameter> &parameters);

    struct Output
    {
        std::vector<ColumnInfo> columns;
    };
    QString select(const Select &s, const Scope *outer, Output *output, bool addRowids);
    QString sources(const std::vector<std::unique_ptr<Source>> &from, Scope &scope);
    // The sources of a crosstab: its saved queries are read from temporary tables.
    QString crosstabSources(const std::vector<std::unique_ptr<Source>> &from, Scope &scope,
                            bool orderIgnored);
    // " WHERE ..." and " HAVING ..." of a select, each empty when it has no terms.
    struct Filters
    {
        QString where;
        QString having;
    };
    Filters filters(const Select &s, Scope &scope);
    QString source(const Source &s, Scope &scope);
    // Registers a saved query's rows for a temporary table; returns the table's name.
    QString materialize(const QString &inner, const std::vector<ColumnInfo> &columns);
    Emitted expression(const Expr &e, const Scope &scope);
    // An expression that decides (WHERE, ON, IIf, AND, OR, NOT): on the server, whose truth
    // values are not numbers, a number or a Yes/No field counts as true when not zero.
    Emitted condition(const Expr &e, const Scope &scope);
    // A value written into a field of the given type: a date given as text is stored as a
    // date, and a parameter takes the field's type.
    Emitted assigned(const Expr &e, JetType fieldType, const Scope &scope);

    // Crosstab support: aggregates emitted while set carry the pivot filter.
    bool m_inTransform = false;
    // The next select written is the statement's own, whose rows the program may sort itself.
    bool m_sortReadRows = false;

    // What differs between the engines' SQL.
    bool onServer() const { return m_out.dialect == Dialect::Postgres; }
    // The collation that compares text without regard to letter case.
    QString noCase() const;
    // The column that numbers a table's rows: SQLite's rowid, the server's key or row number.
    QString rowNumber(const QString &table) const;
    // A temporary table by name, and the type of a real number.
    QString temporary(const QString &quotedName) const;
    QString realType() const;
    // A term of ORDER BY: text in the document's order on either engine.
    QString orderTerm(const Emitted &e) const;
    // The direction after a term: Null first going up and last going down, on either engine.
    QString orderDirection(bool descending) const;
    // Orders the statement's rows on the program's side: the result columns its ORDER BY
    // names, hidden columns appended to `columns` for terms the select list lacks. Leaves the
    // order to the server where it cannot (a term outside the list of a DISTINCT or UNION).
    void sortColumns(const Select &s, const Scope &scope, const QStringList &itemSql,
                     const QStringList &itemNames, QStringList &columns);

private:
    Emitted name(const Expr &e, const Scope &scope);
    Emitted binary(const Expr &e, const Scope &scope);
    Emitted function(const Expr &e, const Scope &scope);
    Emitted parameter(const QString &name);
    void inferParameter(const Emitted &a, const Emitted &b);
    // The columns of a saved query and its SQL; groups tells whether it groups its rows.
    std::vector<ColumnInfo> savedQueryColumns(const QString &name, QString *sql,
                                              bool *groups = nullptr);
    [[noreturn]] void fail(const Expr &e, const QString &what) const;

    SchemaProvider &m_schema;
    Translation &m_out;
    QSet<QString> m_expandingAliases; // guards an alias that refers to itself
    QSet<QString> m_openQueries;      // guards saved queries that refer to themselves
    int m_exprCounter = 1000;
    int m_nestedJoins = 0; // depth of parenthesised joins being written
    // The select whose sources are being written sorts or groups by itself, so a saved
    // query among them need not sort.
    bool m_sourceOrderIgnored = false;
    // Saved queries among the sources being written go into temporary tables (a crosstab's
    // own sources, read by two statements).
    bool m_materializeSources = false;
};

bool isAggregateName(const QString &function);

} // namespace korvesta::jet
