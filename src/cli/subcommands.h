#pragma once

#include <QStringList>
#include <QTextStream>

#include <functional>
#include <vector>

namespace korvesta {

struct CommandSpec;

// One headless subcommand: what its line takes, and what runs it.
struct Subcommand
{
    const CommandSpec &(*spec)();
    int (*run)(const QStringList &args, QTextStream &out, QTextStream &err);
};

// Every subcommand, in the order the help lists them ("help" last).
const std::vector<Subcommand> &subcommands();
// The subcommand of that name; nullptr for none.
const Subcommand *findSubcommand(const QString &name);

// What "korvesta help" prints: the window's line, a line a subcommand, help and version.
QString commandsOverview();

// Runs a headless subcommand (args without the program name: "new FILE", "sql FILE ...").
// Prints results to standard output and messages in Russian to standard error; returns the
// process exit code.
int runCommandLine(const QStringList &args);

// Runs one subcommand so that no exception leaves it: an error is printed to errors in
// Russian and gives exit code 1.
int runGuarded(const std::function<int()> &command, QTextStream &errors);

} // namespace korvesta
