#pragma once

#include "objectnames.h"

#include <QStringList>
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

// Runs a subcommand on its arguments: --help prints the usage; arguments it cannot use print
// the problem and the usage and give exit code 2; else the command's own exit code.
template<typename Options, typename Parse, typename Run>
int runSubcommand(const QStringList &args, QTextStream &out, QTextStream &err, const char *usage,
                  Parse parse, Run run)
{
    int code = 0;
    if (args.contains(QStringLiteral("--help"))) {
        out << QString::fromUtf8(usage);
    } else {
        Options options;
        if (const QString problem = parse(args, options); !problem.isEmpty()) {
            err << problem << Qt::endl << QString::fromUtf8(usage);
            code = 2;
        } else {
            code = run(options, out, err);
        }
    }
    out.flush();
    err.flush();
    return code;
}

} // namespace korvesta
