#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// The headless "note" subcommand (args after the word "note"): prints the note of a date, or
// with --set stores a new one (an empty text deletes it). Returns 0 when done, 1 when the
// document could not be read or written, 2 for arguments it cannot use.
int runNoteCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
