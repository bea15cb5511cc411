#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta names": the document's groups, tutors, auditoriums or disciplines, each in the
// one form every command prints and takes back.
const CommandSpec &namesCommandSpec();
int runNamesCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
