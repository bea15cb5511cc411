#pragma once

#include "editing/commandrun.h"

#include <QStringList>
#include <QTextStream>

#include <functional>

namespace korvesta {

// Runs a headless subcommand (args without the program name: "new FILE", "sql FILE ...").
// Prints results to standard output and messages in Russian to standard error; returns the
// process exit code.
int runCommandLine(const QStringList &args);

// Runs one subcommand so that no exception leaves it: an error is printed to errors in
// Russian and gives exit code 1.
int runGuarded(const std::function<int()> &command, QTextStream &errors);


} // namespace korvesta
