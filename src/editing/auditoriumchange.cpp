#include "auditoriumchange.h"

#include "documentchange.h"
#include "timetablerows.h"

#include "data/database.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/history.h"
#include "data/prompts.h"
#include "data/sqltext.h"
#include "settings/settingsrecord.h"

namespace korvesta {

AuditoriumChange::AuditoriumChange(DocumentSession &session, const SettingsRecord &settings,
                                   Prompts &prompts)
    : m_session(session)
    , m_settings(settings)
    , m_prompts(prompts)
{}

std::optional<PlacementChoice> AuditoriumChange::openForGroup(const QDate &date, int lesson,
                                                              const QString &group,
                                                              const QString &course,
                                                              const QString &faculty)
{
    PlacementChoice c;
    c.mode = PlacementMode::Group;
    c.date = date;
    c.lesson = lesson;
    c.objectName = group.trimmed();
    c.course = course.trimmed();
    c.tag = QStringLiteral("РасписаниеАудитория");
    c.frameCaption = QStringLiteral("Дисциплины и преподаватели в группе  ") + c.objectName;
    c.headers = {QStringLiteral("Дисц"), QStringLiteral("Дисциплина"),
                 QStringLiteral("Преподаватель"), QStringLiteral("Аудитория")};
    const QString facultyName =
        faculty.trimmed().isEmpty() ? QStringLiteral("отсутствует") : faculty.trimmed();
    return open(std::move(c), facultyName);
}

std::optional<PlacementChoice> AuditoriumChange::openForTutor(const QDate &date, int lesson,
                                                              const QString &tutor)
{
    PlacementChoice c;
    c.mode = PlacementMode::Tutor;
    c.date = date;
    c.lesson = lesson;
    c.objectName = tutor.trimmed();
    c.tag = QStringLiteral("ГрафикАудитория");
    c.frameCaption = QStringLiteral("Группы и дисциплины у преподавателя  ") + c.objectName;
    c.headers = {QStringLiteral("Группа"), QStringLiteral("Дисц"), QStringLiteral("Дисциплина")};
    return open(std::move(c), QString());
}

std::optional<PlacementChoice> AuditoriumChange::open(PlacementChoice c, const QString &faculty)
{
    c.caption = caption();
    c.auditoriumChange = true;
    c.cellWasEmpty = false;
    c.checkAuditoria = m_settings.CheckAuditoria;
    const std::optional<Database> db = m_session.access();
    if (!db)
        return std::nullopt;
    try {
        if (dateProtected(*db, c.date)) {
            m_prompts.message(QStringLiteral("Дата заблокирована для редактирования"),
                              Prompts::Icon::Critical);
            return std::nullopt;
        }
        const int day = existingDayKey(*db, c.date);
        QString owner;
        if (c.mode == PlacementMode::Group) {
            c.keyGroup = firstNumber(*db, QStringLiteral("qryGetKeyGroup"),
                                     {{QStringLiteral("pGroup"), c.objectName},
                                      {QStringLiteral("pCourse"), c.course},
                                      {QStringLiteral("pFaculty"), faculty},
                                      {QStringLiteral("pTuition"), QStringLiteral("Очная")},
                                      {QStringLiteral("pFinance"), QStringLiteral("Бюджетная")}},
                                     QStringLiteral("Key"));
            owner = QStringLiteral("tblTimeTableContent.Key_Group = %1").arg(c.keyGroup);
        } else {
            const Recordset found = db->openRecordset(
                QStringLiteral("SELECT tblTutors.Key FROM tblTutors WHERE tblTutors.Tutor = %1;")
                    .arg(sqlText(c.objectName)));
            c.keyTutor = found.isEmpty() ? 0 : found.value(0).toInt();
            owner = QStringLiteral("tblJob.Key_Tutor = %1").arg(c.keyTutor);
        }
        if (day == 0 || (c.keyGroup == 0 && c.keyTutor == 0))
            return std::nullopt;
        for (Recordset rs = db->openRecordset(
                 QStringLiteral(
                     "SELECT tblTimeTableContent.Key, tblTimeTableContent.Key_Aud, "
                     "tblTimeTableContent.SubGroup, tblDisciplines.Discipline, "
                     "tblDisciplines.Discipline1, tblTutors.Tutor, tblGroups.[Group], "
                     "tblGroups.Course, tblAuditories.Auditoria, tblAuditories.Corpus "
                     "FROM ((((tblTimeTableContent INNER JOIN tblJob ON "
                     "tblTimeTableContent.Key_Job = tblJob.Key) INNER JOIN tblDisciplines ON "
                     "tblJob.Key_Discipline = tblDisciplines.Key) INNER JOIN tblTutors ON "
                     "tblJob.Key_Tutor = tblTutors.Key) INNER JOIN tblGroups ON "
                     "tblTimeTableContent.Key_Group = tblGroups.Key) LEFT JOIN tblAuditories ON "
                     "tblTimeTableContent.Key_Aud = tblAuditories.Key "
                     "WHERE tblTimeTableContent.Key_TTList = %1 AND "
                     "tblTimeTableContent.Lesson = %2 AND %3 "
                     "ORDER BY tblTimeTableContent.SubGroup, tblGroups.[Group], "
                     "tblTimeTableContent.Key;")
                     .arg(day)
                     .arg(c.lesson)
                     .arg(owner));
             !rs.isEof(); rs.moveNext()) {
            PlacementLine l;
            l.keyJobList = rs.value(QStringLiteral("Key")).toInt();
            l.discipline = rs.value(QStringLiteral("Discipline")).toString();
            l.discipline1 = rs.value(QStringLiteral("Discipline1")).toString();
            l.tutor = rs.value(QStringLiteral("Tutor")).toString();
            l.group = rs.value(QStringLiteral("Group")).toString();
            l.course = rs.value(QStringLiteral("Course")).toString();
            l.auditorium = auditoriumText(rs);
            l.keyAud = rs.value(QStringLiteral("Key_Aud")).toInt();
            c.lines.push_back(l);
        }
        if (c.lines.empty())
            return std::nullopt;
        if (c.mode == PlacementMode::Tutor)
            c.initialAuditorium = c.lines.front().auditorium;
        c.auditoriums = readAuditoriums(*db, c);
        c.picks.resize(c.lines.size() + 1);
        for (const PlacementLine &l : c.lines)
            c.check(l.keyJobList, m_prompts);
        return c;
    } catch (const DbError &error) {
        m_session.handleError(error);
        return std::nullopt;
    }
}

PlacementResult AuditoriumChange::write(PlacementChoice &c)
{
    const PlacementResult refused;
    const std::vector<int> used = c.checkedSlots();
    if (used.empty()) {
        m_prompts.message(QStringLiteral("Отметьте в списке хотя бы одну строку"),
                          Prompts::Icon::Warning);
        return refused;
    }
    const std::vector<int> boxes = c.auditoriumSlots();
    if (!auditoriumsGiven(c, boxes, m_prompts)
        || !occupiedAuditoriumsAccepted(c, boxes, m_prompts))
        return refused;
    const bool written =
        runDocumentChange<bool>(m_session, m_prompts, false, [&](const Database &db) {
            const History::Step step(
                db, QStringLiteral("изменение аудитории на ")
                        + c.date.toString(QStringLiteral("dd.MM.yyyy"))
                        + QStringLiteral(", урок %1").arg(c.lesson));
            Database::Transaction transaction(db);
            db.lockDates({c.date});
            for (int i : used) {
                const PlacementSlot &s = c.picks[size_t(i)];
                const int keyAud =
                    c.picks[size_t(c.mode == PlacementMode::Group ? i : boxes.front())].keyAud;
                db.execute(QStringLiteral("UPDATE tblTimeTableContent SET "
                                          "tblTimeTableContent.Key_Aud = %1 "
                                          "WHERE (((tblTimeTableContent.Key)=%2));")
                               .arg(keyAud)
                               .arg(s.keyJobList));
            }
            transaction.commit();
            return true;
        });
    return {written ? PlacementOutcome::Written : PlacementOutcome::Failed, {}};
}

} // namespace korvesta
