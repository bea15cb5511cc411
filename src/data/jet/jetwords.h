#pragma once

#include "data/jettype.h"

#include <QString>

namespace korvesta::jet {

// Words that end an expression or a source and so cannot be bare aliases (any letter case).
bool isReserved(const QString &word);

// The type a PARAMETERS clause names ("Text", "DateTime", "Long", ...); Unknown for another.
JetType parameterType(const QString &typeName);

} // namespace korvesta::jet
