#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta note": prints or writes the note of a date.
const CommandSpec &noteCommandSpec();
int runNoteCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
