#pragma once

#include <QString>

namespace korvesta {

// The bash completion of every subcommand, made from the commands' own definitions: every
// option, the values of the options and arguments whose set is known, and the document's
// own group, tutor, auditorium and discipline names (asked of "korvesta names").
QString bashCompletion();

} // namespace korvesta
