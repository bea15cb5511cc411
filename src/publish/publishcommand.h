#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// The headless "publish" subcommand (args after the word "publish"): writes the calendars and
// the web timetable of a period into a folder, prints the files written and a summary.
// Returns 0 when published (also when nothing had changed), 1 when nothing could be
// published (an empty period, a folder that cannot be written), 2 when the document cannot be
// read or the arguments cannot be used.
int runPublishCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
