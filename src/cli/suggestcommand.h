#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// The headless "suggest" subcommand (args after the word "suggest"): the best free slots of a
// load line, one a line. Returns 0 when there is a slot, 1 when there is none (told why), 2
// for arguments it cannot use or a document it cannot read.
int runSuggestCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
