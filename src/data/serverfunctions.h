#pragma once

#include <QByteArray>

namespace korvesta {

// The statements that create the dialect's functions in a server document (as the program
// carries them).
QByteArray serverFunctions();
// The statement that gives the document's tables the triggers of the history (after the
// functions and the tables are made).
constexpr const char *kInstallHistory = "SELECT korvesta_install_history()";

// The version of those functions (what korvesta_functions_version() returns).
constexpr int kServerFunctionsVersion = 6;

} // namespace korvesta
