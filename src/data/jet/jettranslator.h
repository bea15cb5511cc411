#pragma once

#include "data/jettype.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace korvesta::jet {

struct ColumnInfo
{
    QString name;
    JetType type = JetType::Unknown;
};

struct TableInfo
{
    QString name;
    std::vector<ColumnInfo> columns;
    QString keyColumn; // the autonumber column, empty when the table has none
};

// What the translator needs to know about the document: its tables and saved queries.
class SchemaProvider
{
public:
    virtual ~SchemaProvider() = default;
    // nullptr when the document has no such table.
    virtual const TableInfo *table(const QString &name) = 0;
    virtual std::optional<QString> savedQuery(const QString &name) = 0;
};

struct QueryParameter
{
    QString name;
    JetType type = JetType::Unknown;
    bool declared = false; // named in a PARAMETERS clause
};

// The SQL a statement is written in: SQLite's for a file, PostgreSQL's for a server.
enum class Dialect { Sqlite, Postgres };

// A statement translated to the engine's SQL. Parameters are bound as ?1..?N (SQLite) or
// $1..$N (PostgreSQL) in the order of `parameters`.
struct Translation
{
    enum class Kind { Select, Crosstab, Action };
    Kind kind = Kind::Select;
    Dialect dialect = Dialect::Sqlite;
    QByteArray sql;
    std::vector<QueryParameter> parameters;
    // Type of each result column by name, where the translator could tell it.
    std::vector<std::pair<QString, JetType>> outputTypes;
    QStringList dependencies; // saved queries the statement reads, lower case

    // Hidden result columns (after the visible ones) holding the rowid of each base table
    // of a simple select, so that the recordset can change or delete rows.
    struct RowidColumn
    {
        QString table;  // base table name
        QString source; // name the table goes by in the statement (alias or name)
    };
    std::vector<RowidColumn> rowidColumns;

    // Server: the rows are sorted by the program as they are read, by these result columns in
    // turn (text in the document's order), rather than by the server, which would compute a
    // sort key per row and term. The columns the sort alone needs follow the rowid columns.
    struct SortColumn
    {
        int column = 0;
        bool descending = false;
    };
    std::vector<SortColumn> sortColumns;
    int hiddenSortColumns = 0;

    // Crosstab: saved queries among its sources, written once into temporary tables that the
    // values query and the final query both read, rather than computed by each of them.
    struct Materialized
    {
        QByteArray table;      // temporary table, named in the pieces below
        QByteArray createSql;  // CREATE TEMP TABLE with the query's columns
        QByteArray fillSql;    // INSERT INTO it the query's rows
    };
    std::vector<Materialized> materialized;

    // Crosstab: the values query and the pieces of the final query, put together once the
    // pivot values are known.
    QByteArray pivotValuesSql;                // one column: the distinct pivot values, sorted
    std::vector<QByteArray> fixedPivotValues; // PIVOT ... IN (...): literals in given order
    QByteArray crosstabHead;                  // SELECT row headings
    QByteArray crosstabTail;                  // FROM ... GROUP BY ... ORDER BY ...
    QByteArray pivotSql;                      // the pivot expression
    QByteArray valueSql;                      // the value; aggregates carry kPivotFilter
    bool pivotIsText = false;
    JetType pivotType = JetType::Unknown;
    JetType valueType = JetType::Unknown;
};

// Placeholder in Translation::valueSql for the condition that picks one pivot column.
inline constexpr const char *kPivotFilter = "/*pivot*/";

// Translates one statement. Throws DbError: syntax error with the position, or
// TableNotFound for a source that is neither a table nor a saved query.
Translation translate(const QString &sql, SchemaProvider &schema,
                      Dialect dialect = Dialect::Sqlite);

// An SQLite identifier in double quotes, and a text literal in apostrophes.
QString quoteName(const QString &name);
QString quoteText(const QString &text);

} // namespace korvesta::jet
