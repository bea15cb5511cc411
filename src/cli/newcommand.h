#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta new": writes a new empty document.
const CommandSpec &newCommandSpec();
int runNewCommand(const QStringList &args, QTextStream &out, QTextStream &err);

// "korvesta demo": writes the sample college in the middle of its term (or its whole year).
const CommandSpec &demoCommandSpec();
int runDemoCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
