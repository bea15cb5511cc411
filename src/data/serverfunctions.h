#pragma once

#include <QByteArray>

namespace korvesta {

// The statements that create the dialect's functions in a server document (as the program
// carries them).
QByteArray serverFunctions();

// The version of those functions (what korvesta_functions_version() returns).
constexpr int kServerFunctionsVersion = 2;

} // namespace korvesta
