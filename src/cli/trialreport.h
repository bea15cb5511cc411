#pragma once

#include "records.h"

#include <QTextStream>

namespace korvesta {

class TrialRun;

// What a dry run would have written, as records on out (table, added, changed, removed), and
// the note that nothing was written on err.
void reportTrial(TrialRun &trial, RecordFormat format, QTextStream &out, QTextStream &err);

} // namespace korvesta
