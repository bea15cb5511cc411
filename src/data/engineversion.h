#pragma once

#include <QString>

namespace korvesta {

// The version of the SQLite library the program runs on ("3.40.1").
QString sqliteVersion();

} // namespace korvesta
