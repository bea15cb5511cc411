#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// The headless "clear" subcommand (args after the word "clear"): deletes the timetable of a
// range of dates or of every date, or clears one cell of a group or a tutor, with the
// window's checks. The question the window asks before clearing a cell is refused unless
// --yes is given; --dry-run tells what would change and writes nothing. Status texts and
// messages go to err, the tally to out. Returns 0 when the change was made, 1 when it was
// refused or failed, 2 for arguments it cannot use.
int runClearCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
