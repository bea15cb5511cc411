#pragma once

#include "referencedeletion.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <utility>
#include <vector>

namespace korvesta {

class Database;
class Prompts;

// Lessons of a record: held up to now, and placed after now.
struct LessonUsage
{
    qint64 held = 0;
    qint64 future = 0;
};

// A record's pair of saved usage queries (count field CountLesson) and their parameters.
struct UsageQueries
{
    QString held;
    QString future;
    std::vector<std::pair<QString, QVariant>> parameters;
};

LessonUsage readUsage(const Database &db, const UsageQueries &queries);

// One record on its way out: the questions in the user's words and the SQL that removes it.
struct DeletionPlan
{
    QString table; // the record's row
    int key = 0;
    UsageQueries usageQueries;
    LessonUsage usage; // as the questions tell it
    QString futureOnlyQuestion; // used only by lessons after now
    QString refusal;            // held lessons and nothing after now
    QString futurePartQuestion; // held lessons and lessons after now
    QString finalQuestion;
    // A condition on tblTimeTableContent that picks the record's lessons.
    QString lessonsCondition;
    // Removes the record and its dependent rows other than lessons.
    std::function<void(const Database &)> removeRecord;
};

// Asks the plan's questions, then deletes in one transaction that holds the teaching load and
// finds the record and its usage as they were asked about: another planner may have deleted
// the record or changed its lessons meanwhile, and the user is then told and nothing goes.
DeleteOutcome runDeletion(const Database &db, Prompts &prompts, const DeletionPlan &plan);

// Lines joined by CR LF; an empty string makes an empty line.
QString messageLines(const QStringList &lines);

} // namespace korvesta
