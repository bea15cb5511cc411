#pragma once

#include <QString>

namespace korvesta {

// The manual page's section of commands (roff), made from the commands' own definitions: a
// subsection a command with its line, what it does and every option.
QString manualCommands();

} // namespace korvesta
