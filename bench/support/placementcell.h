#pragma once

#include "editing/placement.h"

#include <QDate>
#include <QString>

#include <optional>

namespace korvesta {

class Database;
class Prompts;

// The cell the placement benchmarks place into: a lesson of the day that the group with the
// most load lines (one its name and course name alone) has free.
struct PlacementCell
{
    int keyGroup = 0;
    QString group;
    QString course;
    int keyDay = 0;
    int lesson = 0;
};

PlacementCell pickPlacementCell(const Database &db, const QDate &day);

// The opened choice made ready for "Добавить": the first line that may be checked, the first
// free auditorium, the first lesson type; nothing when one of them is missing.
std::optional<PlacementRequest> readyToPlace(PlacementChoice &choice, Prompts &prompts);

} // namespace korvesta
