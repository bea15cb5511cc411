#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// "korvesta load FILE add|hours|remove --tutor T --discipline D [--group G] [--hours N]
// [--auditorium A] [--yes] [--dry-run]": changes the teaching load headlessly with the
// window's checks and messages. A question the window would ask is refused unless --yes;
// --dry-run checks and writes nothing. Returns the exit code: 0 when the load was changed (or
// could be), 1 when the change was refused or failed, 2 for bad arguments.
int runLoadCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
