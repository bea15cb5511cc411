#pragma once

#include <QDate>
#include <QHash>

namespace korvesta {

class Database;
struct SettingsRecord;

// The lesson numbers a group is taught at: a college's first shift in the morning, its second
// in the afternoon, an evening department after work.
struct GroupShift
{
    int first = 1;
    int last = 1;
    bool contains(int lesson) const { return lesson >= first && lesson <= last; }
};

// The shifts of the groups that had lessons in the four weeks before `from`, each from its
// first to its last lesson then, widened to the group's day limit; of one group alone when a
// group key is given. Throws DbError.
QHash<int, GroupShift> readGroupShifts(const Database &db, const SettingsRecord &settings,
                                       const QDate &from, int group = 0);

// A group's shift when it has no lessons to learn it from: the first lessons up to the day
// limit.
GroupShift defaultShift(const SettingsRecord &settings);

} // namespace korvesta
