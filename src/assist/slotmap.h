#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace korvesta {

class Database;
struct SettingsRecord;

// One load line the placement assistant works for: a tutor's discipline for a group.
struct AssistLine
{
    int keyJobList = 0;
    int keyJob = 0;
    int keyGroup = 0;
    int keyTutor = 0;
    int levelDiff = 0; // the discipline's difficulty
    int hours = 0;
    int placed = 0;
    QString tutor;
    QString discipline; // short name
    QString group;
    QString course;
    QString faculty;   // empty when the group has none
    QString usualAud;  // the tutor's usual auditorium, "101 (Главный)"; empty when none

    int left() const { return hours - placed; }
    // "П-9 (1)"
    QString groupText() const;
};

// The load line of a group ("П-9 (1)" or "П-9") and a discipline (short or full name), the
// tutor's when several tutors teach it to the group. The refusal, in Russian, when there is
// none. Throws DbError.
std::optional<AssistLine> findLoadLine(const Database &db, const QString &group,
                                       const QString &discipline, const QString &tutor,
                                       QString *refusal);
// The load line by its key; nothing when it is gone. Throws DbError.
std::optional<AssistLine> loadLine(const Database &db, int keyJobList);

// How a lesson of a date suits a load line: free of every clash, with soft problems only
// (the tutor's daily limit reached, his usual auditorium taken, no paired lesson possible),
// or not at all.
enum class SlotFit { Free, Soft, None };

struct SlotState
{
    QDate date;
    int lesson = 0;
    SlotFit fit = SlotFit::None;
    QStringList problems;        // why not at all, or the soft problems
    QStringList freeAuditoriums; // the tutor's usual one first, then by name
    int score = 0;
    QStringList reasons; // what raised or lowered the score
};

// The state of every lesson of every date of a period for a load line, as the placement by
// group would take it: a lesson it would refuse, or one that would replace a lesson of the
// group, is not a place for the line.
class SlotMap
{
public:
    // Throws DbError.
    SlotMap(const Database &db, const SettingsRecord &settings, const AssistLine &line,
            const QDate &from, const QDate &to);

    const std::vector<SlotState> &states() const { return m_states; }
    // nullptr outside the period or the day's lessons.
    const SlotState *state(const QDate &date, int lesson) const;
    // The lessons the line can take, best first; at most `top` of them (every one for 0).
    std::vector<SlotState> ranked(int top) const;

private:
    std::vector<SlotState> m_states;
    QHash<QDate, int> m_firstOfDate; // index of a date's first lesson in m_states
};

} // namespace korvesta
