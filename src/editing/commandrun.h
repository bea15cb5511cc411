#pragma once

#include "objectnames.h"

#include <QString>
#include <QTextStream>

#include <optional>

namespace korvesta {

// What the headless subcommands share around their own work.

// False, with the reason printed to errors, when path names no file a subcommand can open (it
// is missing, or a folder).
bool documentFileGiven(const QString &path, QTextStream &errors);

// The object an option names (findObject), or nullopt with "--option: why" printed and
// exitCode set: 1 when there is no such object, 2 when the name fits several. Throws DbError.
std::optional<NamedObject> objectOfOption(const Database &db, NamedKind kind,
                                          const QString &option, const QString &text,
                                          QTextStream &errors, int &exitCode);

} // namespace korvesta
