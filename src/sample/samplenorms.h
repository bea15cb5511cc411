#pragma once

#include "sample/demodocument.h"

#include <QString>

namespace korvesta {

class SettingsStore;
struct SettingsRecord;

// Raises the planner's norms where they would refuse the sample's own lessons (a lecture
// read to more groups than the options allow), in the record and in the store; never lowers
// one. Returns what was changed, for the planner to read, or an empty text.
QString fitNormsToSample(const DemoNorms &norms, SettingsRecord &record, SettingsStore &store);

} // namespace korvesta
