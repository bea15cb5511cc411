#pragma once

#include "placement.h"

namespace korvesta {

class Database;

// The text of a timetable cell rebuilt from its lessons after a placement, one line per
// subgroup (by group) or group of a lecture (by tutor), in the display-text mode given, and
// the colour of its first lesson's discipline.
PlacedCell composeCell(const Database &db, PlacementMode mode, int key, int keyDay, int lesson,
                       int code);

} // namespace korvesta
