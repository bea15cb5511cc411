#pragma once

#include <QString>

#include <array>
#include <optional>

namespace korvesta {

struct SettingsRecord;

// The small rules of the options dialog that need no document: what its number boxes
// accept, the lessons of a shift, the display defaults' check boxes, and the limits of the
// norms.
namespace options {

// A number box keeps a number: letters typed after one are taken off again from the end
// ("12a" leaves "12"). An empty box is allowed.
QString numericText(const QString &text);
bool isNumeric(const QString &text);
// The value of a box: its number without the fraction, held to a 16-bit integer (empty 0).
int shortValue(const QString &text);

// Lessons of one shift: lessons a day divided by the shifts, the fraction dropped; nothing
// for 0 shifts (the box keeps its value).
std::optional<int> lessonsInPeriod(int lessonsInDay, int shifts);
// The number of a lesson of the day within its shift (the fourth lesson of a day of shifts
// of three is the first of the second shift).
int lessonInShift(int lesson, int lessonsInPeriod);

// The check boxes "Группа", "Преподаватель", "Дисциплина (кратко)", "Дисциплина
// (полностью)", "Аудитория", "Тип занятия" that show a stored display code; nothing for a
// code no combination has (the boxes then stay as they are).
using DisplayBoxes = std::array<bool, 6>;
std::optional<DisplayBoxes> displayBoxes(int code);
// The code of the first five boxes (the lesson type has no weight in it).
int displayCode(const DisplayBoxes &boxes);
// Whether a timetable cell can show the parts of a code; a code it cannot show leaves
// every cell empty.
bool isShownCode(int code);

// A number that is out of its bounds: the control it came from and what to tell the user.
struct Refusal
{
    QString control;
    QString text;
};
// The first norm of the record that is out of bounds, in the order of the dialog.
std::optional<Refusal> checkNorms(const SettingsRecord &record);

// The longest holiday period, in days.
constexpr int kLongestHoliday = 30;

} // namespace options
} // namespace korvesta
