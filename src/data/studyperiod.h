#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace korvesta {

class Database;

// The document's study period (its "Session" row). Every figure that weighs lessons against
// the load counts the lessons of this period only, so that a document that also holds older
// years answers as one holding this year alone; without a study period every lesson counts.
struct StudyPeriod
{
    QDate start, end;
    bool contains(const QDate &date) const { return date >= start && date <= end; }
};

// The study period; nullopt when the document has none (or only a half-filled one). Throws
// DbError.
std::optional<StudyPeriod> readStudyPeriod(const Database &db);

// SQL (the program's dialect) for the number of lessons of a load line in the study period;
// job and group are expressions of the outer query ("tblJobList.Key_Job").
QString studyLessonCountSql(const QString &job, const QString &group);

} // namespace korvesta
