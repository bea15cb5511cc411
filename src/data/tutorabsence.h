#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <QVariant>

#include <vector>

namespace korvesta {

// One exception of a tutor as the document keeps it: on a date, or on a weekday of every week,
// at one lesson or (lesson 0) the whole day; a row with neither date nor weekday stands for
// that lesson of every day.
struct TutorAbsence
{
    QDate date;
    int weekday = 0;
    int lesson = 0;

    // From the fields FreeLocalDate, FreeDay and FreeLesson as a recordset gives them.
    static TutorAbsence fromFields(const QVariant &date, const QVariant &weekday,
                                   const QVariant &lesson);
    // The exception keeps the tutor from the lesson of the date.
    bool covers(const QDate &day, int atLesson) const;
    // How it keeps him from it, as the placement lists tell it ("Свободный день", ...);
    // empty when it does not.
    QString reason(const QDate &day, int atLesson) const;
};

class Database;

// Every exception of every tutor, read once for a command that asks about many lessons.
class TutorAbsences
{
public:
    // Throws DbError.
    static TutorAbsences read(const Database &db);
    // Those of the tutors named only (a placement's or a cover's few), read by the index.
    static TutorAbsences read(const Database &db, const std::vector<int> &tutors);
    // Those that can fall on the date: of that date, of a weekday, of every day.
    static TutorAbsences readForDate(const Database &db, const QDate &date);
    // One of the tutor's exceptions keeps him from the lesson of the date.
    bool away(int keyTutor, const QDate &date, int lesson) const;
    // The reason of the first that does, empty when none does.
    QString reason(int keyTutor, const QDate &date, int lesson) const;

private:
    QMultiHash<int, TutorAbsence> m_byTutor;
};

} // namespace korvesta
