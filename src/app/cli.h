#pragma once

#include <QStringList>

namespace korvesta {

// Runs a headless subcommand (args without the program name: "new FILE", "sql FILE ...").
// Prints results to standard output and messages in Russian to standard error; returns the
// process exit code.
int runCommandLine(const QStringList &args);

} // namespace korvesta
