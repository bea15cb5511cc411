#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// The headless "cover" subcommand (args after the word "cover"): an absent tutor's lessons of
// a date with the tutors who could take each, best first; with --assign each lesson goes to
// its best candidate who has the load line. Returns 0 when done, 1 when there is nothing to
// cover or a lesson could not be given, 2 for arguments or a document it cannot use.
int runCoverCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
