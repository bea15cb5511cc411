#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// The headless "place" subcommand (args after the word "place"): places one lesson as the
// job dialog would, with the same checks. A question the dialog would ask is refused unless
// --yes is given. Prints the new text of the cell to out and every message to err; returns 0
// when the lesson was written, 1 when it was refused, 2 for arguments it cannot use.
int runPlaceCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
