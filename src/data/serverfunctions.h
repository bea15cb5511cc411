#pragma once

#include <QByteArray>

namespace korvesta {

// The statements that create the dialect's functions in a server document (as the program
// carries them).
QByteArray serverFunctions();

} // namespace korvesta
