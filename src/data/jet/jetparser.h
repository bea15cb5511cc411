#pragma once

#include "jetast.h"

#include <QString>

namespace korvesta::jet {

// Parses one statement of the program's SQL dialect. Throws DbError (syntax error, with
// the position) when the text is not a statement.
Statement parseStatement(const QString &sql);

// The ISO text of a date literal written between # signs (m/d/yyyy, optionally with a
// time, or yyyy-mm-dd); empty when the text is not a date.
QString dateLiteralToIso(const QString &text);

} // namespace korvesta::jet
