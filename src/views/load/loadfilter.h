#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace korvesta {

class DocumentQueries;

// One line of the teaching load as the load view reads it: a tutor teaching a discipline to a
// group for a number of hours. The type texts are those the reference lists show, so a group
// or discipline without a type reads as "Очная", "Бюджетная" and "отсутствует".
struct LoadLine
{
    QString tutor;
    QString discipline;
    QString group;
    QString course;
    QString faculty;
    QString auditoria; // the tutor's usual auditorium, empty when he has none
    QString corpus;
    QString hoursText; // the hours as stored; empty when not set
    int hours = 0;
    int placed = 0;    // lessons placed for the line, one row one hour
    QString tuition;
    QString finance;
    QString specialization;
};

// What the filter menu offers beyond its fixed entries, and the names of the type keys a load
// line carries, read from the document.
struct LoadFilterLists
{
    QStringList courses;         // "GroupsInCourse"
    QStringList specializations; // "DisciplineType"
    QHash<int, QString> tuitionNames;
    QHash<int, QString> financeNames;
    QHash<int, QString> specializationNames;

    // Empty lists when the document cannot be read (the user has been told).
    static LoadFilterLists read(DocumentQueries &queries);
};

// The rows ButtonFilter leaves in the load view. Each entry of its menu narrows the load to
// the lines of groups of one form of financing, of one form of study or of one course, to the
// lines of disciplines of one specialization, or to the lines whose hours are all placed or
// that have hours left.
class LoadFilter
{
public:
    enum class Kind { All, Finance, Tuition, Course, Specialization, Given, Left };

    static const QString AllEntry; // "Все"

    // The entries of the menu after "Все", in the menu's order; "-" stands for a separator.
    static QStringList menuEntries(const LoadFilterLists &lists);
    // The rule of a menu entry: the fixed entries first, then the courses, then the
    // specializations, so that a specialization named like another entry never hides it. An
    // empty entry and "Все" keep every line; a course or specialization the document no
    // longer has keeps none.
    static LoadFilter forEntry(const QString &entry, const LoadFilterLists &lists);

    Kind kind() const { return m_kind; }
    bool keepsAll() const { return m_kind == Kind::All; }
    // Whether the lines need their type texts to be judged.
    bool readsTypes() const;
    // Whether the lines need their lessons given counted.
    bool readsCounts() const { return m_kind == Kind::Given || m_kind == Kind::Left; }
    bool accepts(const LoadLine &line) const;

private:
    Kind m_kind = Kind::All;
    QString m_value; // the type text or the course the lines must have
};

} // namespace korvesta
