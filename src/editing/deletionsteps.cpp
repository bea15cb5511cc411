#include "deletionsteps.h"

#include "data/database.h"
#include "data/prompts.h"
#include "data/querydef.h"
#include "data/recordset.h"

namespace korvesta {

namespace {

qint64 countLessons(const Database &db, const QString &query,
                    const std::vector<std::pair<QString, QVariant>> &parameters)
{
    QueryDef def = db.queryDef(query);
    for (const auto &[name, value] : parameters)
        def.setParameter(name, value);
    Recordset rs = def.openRecordset();
    return rs.isEof() ? 0 : rs.value(QStringLiteral("CountLesson")).toLongLong();
}

void deleteLessons(const Database &db, const QString &condition, bool futureOnly)
{
    QString sql = QStringLiteral("DELETE tblTimeTableContent.* "
                                 "FROM tblTimeTableContent "
                                 "WHERE ((")
                  + condition + QStringLiteral(")");
    if (futureOnly) {
        sql += QStringLiteral(" AND ((tblTimeTableContent.Key_TTList) IN "
                              "(SELECT tblTimeTableList.Key "
                              "FROM tblTimeTableList "
                              "WHERE (((tblTimeTableList.Date)>Now()))))");
    }
    db.execute(sql + QStringLiteral(");"));
}

// Inside the deletion's transaction, with the load held: the record and its lessons are as
// the user was asked about them, else he is told and nothing is deleted.
bool unchangedSinceAsked(const Database &db, Prompts &prompts, const DeletionPlan &plan)
{
    const Recordset record = db.openRecordset(
        QStringLiteral("SELECT %1.Key FROM %1 WHERE (((%1.Key)=%2));").arg(plan.table).arg(plan.key));
    if (record.isEmpty()) {
        prompts.message(messageLines({QStringLiteral("Запись не найдена: возможно, она уже "
                                                     "удалена."),
                                      QStringLiteral("Обновите список (F5)")}),
                        Prompts::Icon::Warning);
        return false;
    }
    const LessonUsage now = readUsage(db, plan.usageQueries);
    if (now.held != plan.usage.held || now.future != plan.usage.future) {
        prompts.message(messageLines({QStringLiteral("Пока шёл вопрос, другой пользователь "
                                                     "изменил расписание этой записи: ничего "
                                                     "не удалено."),
                                      QStringLiteral("Обновите список (F5) и повторите удаление")}),
                        Prompts::Icon::Warning);
        return false;
    }
    return true;
}

} // namespace

LessonUsage readUsage(const Database &db, const UsageQueries &queries)
{
    return {countLessons(db, queries.held, queries.parameters),
            countLessons(db, queries.future, queries.parameters)};
}

QString messageLines(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

DeleteOutcome runDeletion(const Database &db, Prompts &prompts, const DeletionPlan &plan)
{
    const LessonUsage &usage = plan.usage;
    const bool used = usage.held > 0 || usage.future > 0;
    if (used && usage.held < 1) {
        if (prompts.askYesNo(plan.futureOnlyQuestion, Prompts::Icon::Warning)
            != Prompts::Answer::Yes)
            return DeleteOutcome::Nothing;
    } else if (used && usage.future < 1) {
        prompts.message(plan.refusal, Prompts::Icon::Warning);
        return DeleteOutcome::Nothing;
    } else if (used) {
        if (prompts.askYesNo(plan.futurePartQuestion, Prompts::Icon::Warning)
            != Prompts::Answer::Yes)
            return DeleteOutcome::Nothing;
        // Today's lessons count as held: only dates after the present moment go.
        Database::Transaction transaction(db);
        db.lockLoad();
        if (!unchangedSinceAsked(db, prompts, plan))
            return DeleteOutcome::Nothing;
        db.allowProtectedDates();
        deleteLessons(db, plan.lessonsCondition, true);
        transaction.commit();
        return DeleteOutcome::FutureLessonsRemoved;
    }

    if (prompts.askYesNo(plan.finalQuestion, Prompts::Icon::Question) != Prompts::Answer::Yes)
        return DeleteOutcome::Nothing;
    // No lesson of the record is held by now, so every lesson left is one the user agreed to
    // lose (or one whose date row is missing, which no view can show anyway).
    Database::Transaction transaction(db);
    db.lockLoad();
    if (!unchangedSinceAsked(db, prompts, plan))
        return DeleteOutcome::Nothing;
    db.allowProtectedDates();
    deleteLessons(db, plan.lessonsCondition, false);
    plan.removeRecord(db);
    transaction.commit();
    return DeleteOutcome::RecordDeleted;
}

} // namespace korvesta
