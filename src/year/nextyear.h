#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace korvesta {

// What the next academic year's document takes from this year's.
struct NextYearRequest
{
    QString source; // this year's document: read, never written
    QString target; // the new document: written whole, or not at all
    QDate start;    // the first day of the new study period
    bool keepLoad = false; // the teaching load's lines with their hours (exam dates cleared)
    // A table (.xlsx or CSV, with the load import's columns) whose rows give the hours of
    // load lines; implies keepLoad.
    QString hoursFrom;
};

struct NextYearResult
{
    QDate periodStart, periodEnd; // the new study period
    int groups = 0, tutors = 0, lines = 0, exceptions = 0, holidays = 0;
    // The table of hours, row by row: "Строка 2\tизменено\tИванов И.И., Матем, П-1 (1): 72".
    QStringList hoursReport;
    int hoursSkipped = 0;
};

// The first 1 September after this year's study period ends; the next academic year's
// document beside this one, named for its years. Throw DbError.
QDate suggestedNextYearStart(const QString &source);
QString suggestedNextYearPath(const QString &source, const QDate &start);

// Why the request cannot be met (the new period does not come after this one, the target is
// the source, the table of hours cannot be read); empty when it can. Reads the source.
// Throws DbError.
QString nextYearProblem(const NextYearRequest &request);

// Writes the new document: the reference lists and type lists, the tutors with their weekly
// exceptions and the dated ones from the new start on, the lesson times, the saved queries,
// optionally the load; the study period from the start to the end moved on by the same
// years, the break and holidays of this year moved on likewise for the planner to check; no
// lessons, no dates, no notes. Throws DbError; the target is then left as it was.
NextYearResult startNextYear(const NextYearRequest &request);

} // namespace korvesta
