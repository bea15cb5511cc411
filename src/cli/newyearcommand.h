#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// The headless "new-year" subcommand (args after the word "new-year"): writes the next
// academic year's document from this year's. Prints what the new document holds to out and
// every refusal to err; returns 0 when it was written, 1 when it was refused or failed, 2 for
// arguments it cannot use.
int runNewYearCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
