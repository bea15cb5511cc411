#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta options": writes the study period, holidays, lesson times, faculties and
// specializations into a document with the checks of the options window.
const CommandSpec &optionsCommandSpec();
int runOptionsCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
