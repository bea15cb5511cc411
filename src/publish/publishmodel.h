#pragma once

#include <QColor>
#include <QDate>
#include <QHash>
#include <QString>
#include <QTime>

#include <array>
#include <map>
#include <vector>

namespace korvesta {

class Database;

// What a published timetable is made of: the groups, tutors and auditoriums, and every lesson
// of a period, read from the document once (names looked up in hashes, not joined per row).

enum class PublishedKind { Group, Tutor, Auditorium };
constexpr int kObjectKinds = 3;

struct PublishedObject
{
    PublishedKind kind = PublishedKind::Group;
    int key = 0;
    QString name;    // "П-9", "Иванов", "101"
    QString course;  // groups
    QString faculty; // groups; empty for "отсутствует"
    QString corpus;  // auditoriums
    QString label;   // how other objects' lessons name it: "П-9", or "П-9 (1 курс)" when
                     // another group has the same name
    QString title;   // the heading of its page: "П-9 (1 курс)", "Иванов", "101 (Главный)"
    QString file;    // the file name without extension, unique within its kind
};

// The clock time of a lesson number; a number without a readable time has an invalid start.
struct LessonClock
{
    QTime start, end; // end invalid when only the start is written
    QString text;     // "8:30–9:15", "8:30"; empty when unknown

    bool known() const { return start.isValid(); }
};
// "8:30-9:15", "08.30 – 09.15", "8:30": the first two times of day written in the text.
LessonClock parseLessonClock(const QString &text);

// One lesson given: a tutor's discipline in an auditorium at a date and lesson number, for one
// or more groups (a lecture) or one subgroup.
struct Teaching
{
    struct Attendance
    {
        int group = 0; // index into PublishModel::objects[Group]
        int subgroup = 0;
        // How many lessons the group has at that hour, and the number the subgroup is shown
        // with (shownSubgroup(): 0 for the whole group).
        int meeting = 0;
        int number = 0;
    };

    QDate date;
    int lesson = 0;
    int tutor = -1;      // index into objects[Tutor]; -1 when the tutor is gone
    int auditorium = -1; // index into objects[Auditorium]; -1 for none
    int discipline = 0;  // tblDisciplines.Key
    int type = 0;        // tblTypeLesson.Key
    int job = 0;
    std::vector<Attendance> groups;
    // How the lesson names its groups: "П-9, П-10 (подгруппа 2)".
    QString groupNames;
};

// A lesson as one object sees it: the teaching and, for a group, its subgroup. `clash` counts
// the earlier lessons of the same object at the same date and lesson number (0 normally), so
// that each keeps an identity of its own.
struct ObjectLesson
{
    const Teaching *teaching = nullptr;
    int subgroup = -1; // groups only
    int clash = 0;
    int meeting = 0; // groups only: as in Teaching::Attendance
    int number = 0;
};

struct DisciplineInfo
{
    QString name, fullName;
    QColor colour; // invalid when not set
};

// Lessons point into `teachings`: the model moves but is never copied.
struct PublishModel
{
    PublishModel() = default;
    PublishModel(PublishModel &&) = default;
    PublishModel &operator=(PublishModel &&) = default;
    PublishModel(const PublishModel &) = delete;
    PublishModel &operator=(const PublishModel &) = delete;

    QDate from, to;
    int workDays = 6;
    std::array<std::vector<PublishedObject>, kObjectKinds> objects; // in the order of the index
    QHash<int, DisciplineInfo> disciplines;
    QHash<int, std::pair<QString, QString>> lessonTypes; // short, long
    std::vector<QColor> groupColours;                    // by group index
    std::map<int, LessonClock> times;                     // by lesson number
    std::vector<Teaching> teachings;                     // by date and lesson number
    std::array<std::vector<std::vector<ObjectLesson>>, kObjectKinds> lessons; // per object

    const std::vector<PublishedObject> &list(PublishedKind kind) const
    {
        return objects[size_t(kind)];
    }
    const std::vector<ObjectLesson> &lessonsOf(PublishedKind kind, size_t object) const
    {
        return lessons[size_t(kind)][object];
    }
    // The first of the object's lessons (sorted by date) on or after `date`.
    std::vector<ObjectLesson>::const_iterator lessonFrom(PublishedKind kind, size_t object,
                                                         const QDate &date) const;
    const LessonClock &timeOf(int lesson) const
    {
        static const LessonClock unknown;
        const auto it = times.find(lesson);
        return it == times.end() ? unknown : it->second;
    }
    // Lesson numbers of the period that have no clock time, ascending.
    std::vector<int> untimedLessons() const;
    // Lessons (teachings) at those numbers.
    int untimedCount() const;
};

// Reads every object and the lessons of the period (both ends included) and gives each object
// its label, title and file name. Throws DbError when the document cannot be read.
PublishModel readPublishModel(const Database &db, const QDate &from, const QDate &to,
                              int workDays);

} // namespace korvesta
