#include "jetwords.h"

namespace korvesta::jet {

bool isReserved(const QString &word)
{
    static const char *const words[] = {
        "SELECT", "FROM",  "WHERE",  "GROUP", "BY",     "HAVING", "ORDER",   "UNION",
        "AND",    "OR",    "NOT",    "XOR",   "EQV",    "IMP",    "LIKE",    "IS",
        "IN",     "BETWEEN", "AS",   "ON",    "INNER",  "LEFT",   "RIGHT",   "OUTER",
        "JOIN",   "PIVOT", "TRANSFORM", "SET", "INTO",  "VALUES", "DISTINCT", "DISTINCTROW",
        "TOP",    "ASC",   "DESC",   "MOD",   "PARAMETERS", "INSERT", "UPDATE", "DELETE",
        "EXISTS", "ALL",   "PERCENT",
    };
    for (const char *w : words) {
        if (word.compare(QLatin1String(w), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

JetType parameterType(const QString &typeName)
{
    const QString t = typeName.toLower();
    if (t == u"text" || t == u"char" || t == u"varchar" || t == u"memo" || t == u"string"
        || t == u"longtext")
        return JetType::Text;
    if (t == u"datetime" || t == u"date" || t == u"time")
        return JetType::Date;
    if (t == u"long" || t == u"int" || t == u"integer4" || t == u"counter"
        || t == u"autoincrement")
        return JetType::Long;
    if (t == u"integer" || t == u"short" || t == u"smallint" || t == u"byte"
        || t == u"integer2")
        return JetType::Integer;
    if (t == u"bit" || t == u"yesno" || t == u"boolean" || t == u"logical")
        return JetType::Boolean;
    if (t == u"double" || t == u"single" || t == u"float" || t == u"currency"
        || t == u"money" || t == u"real" || t == u"numeric" || t == u"decimal")
        return JetType::Double;
    return JetType::Unknown;
}

} // namespace korvesta::jet
