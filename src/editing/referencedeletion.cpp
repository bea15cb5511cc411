#include "referencedeletion.h"

#include "deletionsteps.h"
#include "entrychecks.h"

#include "data/database.h"
#include "data/history.h"
#include "data/querydef.h"
#include "data/recordset.h"
#include "data/sqltext.h"

namespace korvesta {

namespace {

// The row of the caption, of a total or an empty row names no record.
bool namesNoRecord(const QString &name, const QString &caption)
{
    return name.trimmed().isEmpty() || name == caption;
}

QString keyCondition(const QString &field, int key)
{
    return QStringLiteral("(") + field + QStringLiteral(")=") + QString::number(key);
}

void deleteByKey(const Database &db, const QString &table, int key)
{
    db.execute(QStringLiteral("DELETE %1.* FROM %1 WHERE (((%1.Key)=%2));").arg(table).arg(key));
}

} // namespace

DeleteOutcome deleteGroup(const Database &db, Prompts &prompts, const QString &group,
                          const QString &course, const QString &faculty)
{
    if (namesNoRecord(group, QStringLiteral("Группа")))
        return DeleteOutcome::Nothing;
    // Groups of one name and course may live in several faculties: the faculty picks one, as
    // it does in the usage queries.
    const QString wantedFaculty =
        faculty.trimmed().isEmpty() ? QStringLiteral("отсутствует") : faculty;
    Recordset rs = db.queryDef(QStringLiteral("qryGroups")).openRecordset();
    const int key = findRecord(rs, 0, [&](const Recordset &r) {
        return sameName(textOf(r, QStringLiteral("Group")), group)
               && sameName(textOf(r, QStringLiteral("Course")), course)
               && sameName(textOf(r, QStringLiteral("TypeFaculty")), wantedFaculty);
    });
    if (key == 0)
        return DeleteOutcome::Nothing;
    const QString g = textOf(rs, QStringLiteral("Group"));
    const QString c = textOf(rs, QStringLiteral("Course"));

    DeletionPlan plan;
    plan.table = QStringLiteral("tblGroups");
    plan.key = key;
    plan.usageQueries = {QStringLiteral("qryGroupValueB"),
                         QStringLiteral("qryGroupValueA"),
                         {{QStringLiteral("pGroup"), g},
                          {QStringLiteral("pCourse"), c},
                          {QStringLiteral("pFaculty"), textOf(rs, QStringLiteral("TypeFaculty"))}}};
    plan.usage = readUsage(db, plan.usageQueries);
    const QString held = QString::number(plan.usage.held);
    const QString future = QString::number(plan.usage.future);
    const QString named =
        QStringLiteral("Группа '") + g + QStringLiteral(" (курс ") + c + QStringLiteral(")'");
    plan.futureOnlyQuestion = messageLines({
        named + QStringLiteral(" внесена в будущее расписание - ") + future
            + QStringLiteral(" часов."),
        QStringLiteral("Удаление группы повлечёт её исключение из расписания"),
        QStringLiteral("и изменение дальнейшего графика работы преподавателей."),
        QString(),
        QStringLiteral("Удалить группу?"),
    });
    plan.refusal = messageLines({
        QStringLiteral("В группе '") + g + QStringLiteral(" (курс ") + c
            + QStringLiteral(")' на сегодня проведено ") + held + QStringLiteral(" занятий."),
        QStringLiteral("Удаление невозможно"),
    });
    plan.futurePartQuestion = messageLines({
        named,
        QStringLiteral("Проведено на сегодня - ") + held + QStringLiteral(" часов."),
        QStringLiteral("Внесена в будущее расписание в объёме - ") + future
            + QStringLiteral(" часов."),
        QStringLiteral("Возможно удаление группы из расписания лишь на будущее время."),
        QString(),
        QStringLiteral("Удаление группы повлечёт изменение дальнейшего графика работы "
                       "преподавателей."),
        QString(),
        QStringLiteral("Удалить группу из будущего расписания?"),
    });
    plan.finalQuestion = QStringLiteral("Удалить группу '") + g + QStringLiteral("' (курс '") + c
                         + QStringLiteral("')?");
    plan.lessonsCondition = keyCondition(QStringLiteral("tblTimeTableContent.Key_Group"), key);
    plan.removeRecord = [key](const Database &d) {
        d.execute(QStringLiteral("DELETE tblJobList.* "
                                 "FROM tblJobList "
                                 "WHERE (((tblJobList.Key_Group)=%1));")
                      .arg(key));
        deleteByKey(d, QStringLiteral("tblGroups"), key);
    };
    const History::Step step(db, QStringLiteral("удаление группы «") + group.trimmed()
                                     + QStringLiteral("»"));
    return runDeletion(db, prompts, plan);
}

DeleteOutcome deleteAuditorium(const Database &db, Prompts &prompts, const QString &auditoria,
                               const QString &corpus)
{
    if (namesNoRecord(auditoria, QStringLiteral("Аудитория")))
        return DeleteOutcome::Nothing;
    Recordset rs = db.queryDef(QStringLiteral("qryAuditories")).openRecordset();
    const int key = findRecord(rs, 0, [&](const Recordset &r) {
        return sameName(textOf(r, QStringLiteral("Auditoria")), auditoria)
               && sameName(textOf(r, QStringLiteral("Corpus")), corpus);
    });
    if (key == 0)
        return DeleteOutcome::Nothing;
    const QString a = textOf(rs, QStringLiteral("Auditoria"));
    const QString k = textOf(rs, QStringLiteral("Corpus"));

    DeletionPlan plan;
    plan.table = QStringLiteral("tblAuditories");
    plan.key = key;
    plan.usageQueries = {QStringLiteral("qryAuditoriaValueB"),
                         QStringLiteral("qryAuditoriaValueA"),
                         {{QStringLiteral("pAuditoria"), a}, {QStringLiteral("pCorpus"), k}}};
    plan.usage = readUsage(db, plan.usageQueries);
    const QString held = QString::number(plan.usage.held);
    const QString future = QString::number(plan.usage.future);
    const QString named =
        QStringLiteral("Аудитория '") + a + QStringLiteral(" (корпус ") + k + QStringLiteral(")'");
    plan.futureOnlyQuestion = messageLines({
        named + QStringLiteral(" внесена в будущее расписание - ") + future
            + QStringLiteral(" часов."),
        QStringLiteral("Удаление аудитории повлечёт её исключение из расписания"),
        QString(),
        QStringLiteral("Удалить аудиторию?"),
    });
    plan.refusal = messageLines({
        QStringLiteral("В аудитории '") + a + QStringLiteral(" (корпус ") + k
            + QStringLiteral(")' на сегодня проведено ") + held + QStringLiteral(" занятий."),
        QStringLiteral("Удаление невозможно"),
    });
    plan.futurePartQuestion = messageLines({
        named,
        QStringLiteral("Проведено на сегодня - ") + held + QStringLiteral(" часов."),
        QStringLiteral("Внесена в будущее расписание в объёме - ") + future
            + QStringLiteral(" часов."),
        QStringLiteral("Возможно удаление аудитории из расписания лишь на будущее время."),
        QString(),
        QStringLiteral("Удаление аудитории повлечёт изменение дальнейшего графика работы "
                       "преподавателей."),
        QString(),
        QStringLiteral("Удалить аудиторию из будущего расписания?"),
    });
    plan.finalQuestion = QStringLiteral("Удалить аудиторию '") + a + QStringLiteral("' (корпус '")
                         + k + QStringLiteral("')?");
    plan.lessonsCondition = keyCondition(QStringLiteral("tblTimeTableContent.Key_Aud"), key);
    plan.removeRecord = [key, a, k](const Database &d) {
        const auto forgetUsual = [&d](const QString &text) {
            d.execute(QStringLiteral("UPDATE tblTutors SET tblTutors.DefaultAud = Null "
                                     "WHERE (((tblTutors.DefaultAud)=%1));")
                          .arg(sqlText(text)));
        };
        forgetUsual(a + QStringLiteral(" (") + k + QStringLiteral(")"));
        deleteByKey(d, QStringLiteral("tblAuditories"), key);
        // A usual auditorium given by its bare name goes only with the last one of that name.
        Recordset left = d.openRecordset(QStringLiteral("SELECT tblAuditories.Key "
                                                        "FROM tblAuditories "
                                                        "WHERE (((tblAuditories.Auditoria)=%1));")
                                             .arg(sqlText(a)));
        if (left.isEof())
            forgetUsual(a);
    };
    const History::Step step(db, QStringLiteral("удаление аудитории «") + auditoria.trimmed()
                                     + QStringLiteral("»"));
    return runDeletion(db, prompts, plan);
}

DeleteOutcome deleteDiscipline(const Database &db, Prompts &prompts, const QString &discipline,
                               const QString &discipline1)
{
    if (namesNoRecord(discipline, QStringLiteral("Краткое наименование")))
        return DeleteOutcome::Nothing;
    Recordset rs = db.openRecordset(QStringLiteral("SELECT tblDisciplines.Key, "
                                                   "tblDisciplines.Discipline, "
                                                   "tblDisciplines.Discipline1 "
                                                   "FROM tblDisciplines "
                                                   "ORDER BY tblDisciplines.Key;"));
    const int key = findRecord(rs, 0, [&](const Recordset &r) {
        return sameName(textOf(r, QStringLiteral("Discipline")), discipline)
               && sameName(textOf(r, QStringLiteral("Discipline1")), discipline1);
    });
    if (key == 0)
        return DeleteOutcome::Nothing;
    const QString d = textOf(rs, QStringLiteral("Discipline"));
    const QString d1 = textOf(rs, QStringLiteral("Discipline1"));

    DeletionPlan plan;
    plan.table = QStringLiteral("tblDisciplines");
    plan.key = key;
    plan.usageQueries = {QStringLiteral("qryDisciplineValueB"),
                         QStringLiteral("qryDisciplineValueA"),
                         {{QStringLiteral("pDiscipline"), d}, {QStringLiteral("pDiscipline1"), d1}}};
    plan.usage = readUsage(db, plan.usageQueries);
    const QString held = QString::number(plan.usage.held);
    const QString future = QString::number(plan.usage.future);
    plan.futureOnlyQuestion = messageLines({
        QStringLiteral("Дисциплина '") + d + QStringLiteral("' внесена в будущее расписание - ")
            + future + QStringLiteral(" часов."),
        QStringLiteral("Удаление дисциплины повлечёт исключение из расписания"),
        QStringLiteral("и изменение дальнейшего графика работы преподавателей."),
        QString(),
        QStringLiteral("Удалить дисциплину?"),
    });
    plan.refusal = messageLines({
        QStringLiteral("По дисциплине '") + d + QStringLiteral("' на сегодня проведено ") + held
            + QStringLiteral(" занятий."),
        QStringLiteral("Удаление невозможно"),
    });
    plan.futurePartQuestion = messageLines({
        QStringLiteral("Дисциплина '") + d + QStringLiteral(" (") + d1 + QStringLiteral(")'"),
        QStringLiteral("Проведено на сегодня - ") + held + QStringLiteral(" часов."),
        QStringLiteral("Внесено в будущее расписание в объёме - ") + future
            + QStringLiteral(" часов."),
        QStringLiteral("Возможно удаление дисциплины из расписания лишь на будущее время."),
        QString(),
        QStringLiteral("Удаление дисциплины повлечёт изменение дальнейшего графика работы "
                       "преподавателей."),
        QString(),
        QStringLiteral("Удалить дисциплину из будущего расписания?"),
    });
    plan.finalQuestion = QStringLiteral("Удалить дисциплину '") + d + QStringLiteral("' ('") + d1
                         + QStringLiteral("')?");
    const QString jobs = QStringLiteral("(SELECT tblJob.Key "
                                        "FROM tblJob "
                                        "WHERE (((tblJob.Key_Discipline)=%1)))")
                             .arg(key);
    plan.lessonsCondition = QStringLiteral("(tblTimeTableContent.Key_Job) IN ") + jobs;
    plan.removeRecord = [key, jobs](const Database &db2) {
        db2.execute(QStringLiteral("DELETE tblJobList.* "
                                   "FROM tblJobList "
                                   "WHERE (((tblJobList.Key_Job) IN %1));")
                        .arg(jobs));
        db2.execute(QStringLiteral("DELETE tblJob.* "
                                   "FROM tblJob "
                                   "WHERE (((tblJob.Key_Discipline)=%1));")
                        .arg(key));
        deleteByKey(db2, QStringLiteral("tblDisciplines"), key);
    };
    const History::Step step(db, QStringLiteral("удаление дисциплины «") + discipline.trimmed()
                                     + QStringLiteral("»"));
    return runDeletion(db, prompts, plan);
}

DeleteOutcome deleteTutor(const Database &db, Prompts &prompts, const QString &tutor)
{
    if (namesNoRecord(tutor, QStringLiteral("Преподаватель")))
        return DeleteOutcome::Nothing;
    Recordset rs = db.openRecordset(QStringLiteral("SELECT tblTutors.Key, tblTutors.Tutor "
                                                   "FROM tblTutors "
                                                   "ORDER BY tblTutors.Key;"));
    const int key = findRecord(rs, 0, [&](const Recordset &r) {
        return sameName(textOf(r, QStringLiteral("Tutor")), tutor);
    });
    if (key == 0)
        return DeleteOutcome::Nothing;
    const QString t = textOf(rs, QStringLiteral("Tutor"));

    DeletionPlan plan;
    plan.table = QStringLiteral("tblTutors");
    plan.key = key;
    plan.usageQueries = {QStringLiteral("qryTutorValueB"),
                         QStringLiteral("qryTutorValueA"),
                         {{QStringLiteral("pTutor"), t}}};
    plan.usage = readUsage(db, plan.usageQueries);
    const QString held = QString::number(plan.usage.held);
    const QString future = QString::number(plan.usage.future);
    plan.futureOnlyQuestion = messageLines({
        QStringLiteral("На преподавателя '") + t + QStringLiteral("' составлено расписание - ")
            + future + QStringLiteral(" часов."),
        QStringLiteral("Удаление преподавателя повлечёт исключение его из составленного "
                       "расписания."),
        QString(),
        QStringLiteral("Удалить преподавателя?"),
    });
    plan.refusal = messageLines({
        QStringLiteral("Преподавателем '") + t + QStringLiteral("' на сегодня проведено ") + held
            + QStringLiteral(" занятий."),
        QStringLiteral("Удаление невозможно"),
    });
    plan.futurePartQuestion = messageLines({
        QStringLiteral("Преподаватель '") + t + QStringLiteral("'"),
        QStringLiteral("Отработано на сегодня - ") + held + QStringLiteral(" часов."),
        QStringLiteral("Составлено расписание на будущий период в объёме - ") + future
            + QStringLiteral(" часов."),
        QStringLiteral("Возможно удаление преподавателя из расписания только за неотработанный "
                       "период."),
        QString(),
        QStringLiteral("Удалить преподавателя из будущего расписания?"),
    });
    plan.finalQuestion = QStringLiteral("Удалить преподавателя '") + t + QStringLiteral("'");
    const QString jobs = QStringLiteral("(SELECT tblJob.Key "
                                        "FROM tblJob "
                                        "WHERE (((tblJob.Key_Tutor)=%1)))")
                             .arg(key);
    plan.lessonsCondition = QStringLiteral("(tblTimeTableContent.Key_Job) IN ") + jobs;
    plan.removeRecord = [key, jobs](const Database &db2) {
        db2.execute(QStringLiteral("DELETE tblJobList.* "
                                   "FROM tblJobList "
                                   "WHERE (((tblJobList.Key_Job) IN %1));")
                        .arg(jobs));
        db2.execute(QStringLiteral("DELETE tblJob.* "
                                   "FROM tblJob "
                                   "WHERE (((tblJob.Key_Tutor)=%1));")
                        .arg(key));
        db2.execute(QStringLiteral("DELETE tblTutorOut.* "
                                   "FROM tblTutorOut "
                                   "WHERE (((tblTutorOut.KeyTutor)=%1));")
                        .arg(key));
        deleteByKey(db2, QStringLiteral("tblTutors"), key);
    };
    // Held lessons keep the tutor: only his future lessons can go then.
    const bool futureOnly = plan.usage.held > 0 && plan.usage.future > 0;
    const History::Step step(
        db, QStringLiteral("удаление преподавателя «") + t
                + (futureOnly ? QStringLiteral("» из будущего расписания") : QStringLiteral("»")));
    return runDeletion(db, prompts, plan);
}

} // namespace korvesta
