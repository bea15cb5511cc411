#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// The headless "options" subcommand (args after the word "options"): what the options
// dialog writes into a document, with the dialog's checks: the study period, holidays and
// vacations, lesson times, faculties, specializations, and protecting every date. Returns
// 0 when everything was written, 1 when something was refused (what came before it stays,
// unless --dry-run), 2 for arguments it cannot use.
int runOptionsCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
