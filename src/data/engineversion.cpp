#include "engineversion.h"

#include <sqlite3.h>

namespace korvesta {

QString sqliteVersion()
{
    // The library loaded at run time, which may be newer than the headers built against.
    return QString::fromLatin1(sqlite3_libversion());
}

} // namespace korvesta
