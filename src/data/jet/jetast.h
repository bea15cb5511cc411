#pragma once

#include "data/jettype.h"

#include <QString>

#include <memory>
#include <vector>

namespace korvesta::jet {

struct Select;
struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr
{
    enum class Kind {
        Name,       // column, alias or parameter: qualifier.name or name
        Literal,    // text, number, date, True/False, Null
        Unary,      // op: "NOT", "-", "+"
        Binary,     // op: AND OR XOR = <> < > <= >= + - * / \ MOD ^ &
        Function,   // name(args); Count(*) has a Star argument
        Star,       // * or qualifier.*
        Between,    // args: value, low, high
        In,         // args: value, items...
        InSelect,   // args: value; subquery
        IsNull,     // args: value
        Like,       // args: value, pattern
        Exists,     // subquery
        Subquery,   // scalar subquery
    };

    Kind kind = Kind::Literal;
    QString op;        // operator, function name, or literal text
    QString qualifier; // of a name or star
    QString name;
    JetType literalType = JetType::Unknown; // Literal: Text, Long, Double, Date, Boolean;
                                            // Unknown means Null
    bool negated = false;                   // NOT BETWEEN, NOT IN, IS NOT NULL, NOT LIKE
    bool distinct = false;                  // Count(DISTINCT x)
    std::vector<ExprPtr> args;
    std::unique_ptr<Select> subquery;
    int position = 0;
    int height = 1; // of the tree below and including this node
};

struct Source
{
    enum class Kind { Table, Subquery, Join };
    Kind kind = Kind::Table;
    QString name;  // table or saved query
    QString alias; // empty when none
    std::unique_ptr<Select> subquery;
    // Join
    QString joinType; // "INNER", "LEFT", "RIGHT"
    std::unique_ptr<Source> left;
    std::unique_ptr<Source> right;
    ExprPtr on;
    int position = 0;
};

struct SelectItem
{
    ExprPtr expr;
    QString alias;
};

struct OrderItem
{
    ExprPtr expr;
    bool descending = false;
};

struct Select
{
    bool distinct = false;
    int top = -1;
    bool topPercent = false;
    std::vector<SelectItem> items;
    std::vector<std::unique_ptr<Source>> from; // comma-separated sources
    ExprPtr where;
    std::vector<ExprPtr> groupBy;
    ExprPtr having;
    std::vector<OrderItem> orderBy;
    // UNION chain: the next select and whether it is UNION ALL
    std::unique_ptr<Select> next;
    bool nextAll = false;
};

struct Parameter
{
    QString name;
    JetType type = JetType::Unknown;
};

struct Statement
{
    enum class Kind { Select, Crosstab, Insert, Update, Delete };
    Kind kind = Kind::Select;
    std::vector<Parameter> parameters; // PARAMETERS declaration
    std::unique_ptr<Select> select;    // Select, Crosstab (row part), Insert ... SELECT

    // Crosstab: TRANSFORM value ... PIVOT pivot [IN (values)]
    ExprPtr transform;
    ExprPtr pivot;
    std::vector<ExprPtr> pivotValues;

    // Insert / Update / Delete
    QString table;
    std::vector<QString> columns;           // INSERT column list
    std::vector<ExprPtr> values;            // INSERT ... VALUES
    std::vector<std::pair<ExprPtr, ExprPtr>> assignments; // UPDATE SET target = value
    std::unique_ptr<Source> target;         // UPDATE / DELETE source (table or join)
    QString deleteQualifier;                // DELETE t.* FROM ...
    ExprPtr where;
};

} // namespace korvesta::jet
