#pragma once

#include "cli/subcommands.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace korvesta {

// A subcommand run in the test's own process as the command line runs it: its exit code and
// what it printed on each stream.
struct SubcommandOutcome
{
    int code = 0;
    QString out, err;
};

// `args` begins with the command's name ("view", "copy", ...).
inline SubcommandOutcome runSubcommand(const QStringList &args)
{
    SubcommandOutcome r;
    QTextStream out(&r.out), err(&r.err);
    const Subcommand *c = findSubcommand(args.front());
    r.code = runGuarded([&] { return c->run(args.mid(1), out, err); }, err);
    out.flush();
    err.flush();
    return r;
}

} // namespace korvesta
