#include "timetableclearing.h"

#include "documentchange.h"
#include "progress.h"
#include "timetablerows.h"

#include "data/database.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/history.h"
#include "data/isodate.h"
#include "data/prompts.h"
#include "data/querydef.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "settings/settingsrecord.h"

#include <optional>
#include <tuple>
#include <vector>

namespace korvesta {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");
const QString kTab = QStringLiteral("\t");

QString dateText(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

int groupKey(const Database &db, const QString &group, const QString &course,
             const QString &faculty)
{
    QueryDef query = db.queryDef(QStringLiteral("qryGetKeyGroup"));
    query.setParameter(QStringLiteral("pGroup"), group);
    query.setParameter(QStringLiteral("pCourse"), course);
    query.setParameter(QStringLiteral("pFaculty"),
                       faculty.isEmpty() ? QStringLiteral("отсутствует") : faculty);
    query.setParameter(QStringLiteral("pTuition"), QStringLiteral("Очная"));
    query.setParameter(QStringLiteral("pFinance"), QStringLiteral("Бюджетная"));
    const Recordset rs = query.openRecordset();
    return rs.isEmpty() ? 0 : rs.value(QStringLiteral("Key")).toInt();
}

int tutorKey(const Database &db, const QString &tutor)
{
    const Recordset rs = db.openRecordset(
        QStringLiteral("SELECT tblTutors.Key FROM tblTutors WHERE (((tblTutors.Tutor)=%1));")
            .arg(sqlText(tutor)));
    return rs.isEmpty() ? 0 : rs.value(0).toInt();
}

// The Key of every lesson row the cell shows: the group's in every subgroup, or the tutor's
// for every group he teaches then.
std::vector<int> cellRows(const Database &db, bool byGroup, int key, const QDate &date, int lesson)
{
    const QString sql =
        byGroup ? QStringLiteral(
            "SELECT tblTimeTableContent.Key FROM tblTimeTableList INNER JOIN "
            "tblTimeTableContent ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList "
            "WHERE (((tblTimeTableContent.Key_Group)=%1) AND ((tblTimeTableList.Date)=%2) "
            "AND ((tblTimeTableContent.Lesson)=%3));")
                : QStringLiteral(
                    "SELECT tblTimeTableContent.Key FROM tblJob INNER JOIN (tblTimeTableList "
                    "INNER JOIN tblTimeTableContent ON tblTimeTableList.Key = "
                    "tblTimeTableContent.Key_TTList) ON tblJob.Key = tblTimeTableContent.Key_Job "
                    "WHERE (((tblJob.Key_Tutor)=%1) AND ((tblTimeTableList.Date)=%2) AND "
                    "((tblTimeTableContent.Lesson)=%3));");
    std::vector<int> keys;
    for (Recordset rs = db.openRecordset(sql.arg(key).arg(sqlDateLiteral(date)).arg(lesson));
         !rs.isEof(); rs.moveNext())
        keys.push_back(rs.value(0).toInt());
    return keys;
}

int dateLessons(const Database &db, int keyDay)
{
    const Recordset rs = db.openRecordset(
        QStringLiteral("SELECT Count(tblTimeTableContent.Lesson) AS CountLesson FROM "
                       "tblTimeTableContent WHERE (((tblTimeTableContent.Key_TTList)=%1));")
            .arg(keyDay));
    return rs.isEmpty() ? 0 : rs.value(0).toInt();
}

bool dateHasNote(const Database &db, int keyDay)
{
    const Recordset rs = db.openRecordset(
        QStringLiteral("SELECT Count(tblNotes.Key_TTL) AS CountNotes FROM tblNotes WHERE "
                       "(((tblNotes.Key_TTL)=%1));")
            .arg(keyDay));
    return !rs.isEmpty() && rs.value(0).toInt() > 0;
}

void removeDateRow(const Database &db, int keyDay)
{
    if (dateHasNote(db, keyDay))
        return;
    db.execute(QStringLiteral("DELETE tblTimeTableList.* FROM tblTimeTableList WHERE "
                              "(((tblTimeTableList.Key)=%1));")
                   .arg(keyDay));
}

// "14.09–20.09.2026", "28.12.2026–03.01.2027", "14.09.2026".
QString spanText(const QDate &first, const QDate &last)
{
    if (first == last)
        return dateText(first);
    const QString from =
        first.year() == last.year() ? first.toString(QStringLiteral("dd.MM")) : dateText(first);
    return from + QStringLiteral("–") + dateText(last);
}

} // namespace

void removeTimetableDate(const Database &db, int keyDay)
{
    db.execute(QStringLiteral("DELETE tblTimeTableContent.* FROM tblTimeTableContent WHERE "
                              "(((tblTimeTableContent.Key_TTList)=%1));")
                   .arg(keyDay));
    removeDateRow(db, keyDay);
}

QString TimetableClearing::protectedDateText(const QDate &date)
{
    return QStringLiteral("Дата ") + dateText(date)
           + QStringLiteral(" заблокирована для редактирования");
}

TimetableClearing::TimetableClearing(DocumentSession &session, const SettingsRecord &settings,
                                     Prompts &prompts)
    : m_session(session)
    , m_settings(settings)
    , m_prompts(prompts)
{}

ClearingOutcome TimetableClearing::clearGroupCell(const QDate &date, int lesson,
                                                  const QString &group, const QString &course,
                                                  const QString &faculty)
{
    return clearCell(Column::Group, date, lesson, group.trimmed(), course.trimmed(),
                     faculty.trimmed());
}

ClearingOutcome TimetableClearing::clearTutorCell(const QDate &date, int lesson,
                                                  const QString &tutor)
{
    return clearCell(Column::Tutor, date, lesson, tutor.trimmed(), QString(), QString());
}

ClearingOutcome TimetableClearing::clearCell(Column column, const QDate &date, int lesson,
                                             const QString &name, const QString &course,
                                             const QString &faculty)
{
    m_status.clear();
    const bool byGroup = column == Column::Group;
    int key = 0;
    {
        const std::optional<Database> db = m_session.access();
        if (!db)
            return ClearingOutcome::Failed;
        try {
            if (dateProtected(*db, date)) {
                m_status = QStringLiteral("Дата заблокирована для редактирования");
                m_prompts.message(m_status, Prompts::Icon::Critical);
                return ClearingOutcome::Refused;
            }
            key = byGroup ? groupKey(*db, name, course, faculty) : tutorKey(*db, name);
        } catch (const DbError &error) {
            m_session.handleError(error);
            return ClearingOutcome::Failed;
        }
    }
    if (key == 0) {
        m_prompts.message(byGroup ? QStringLiteral("Группа ") + name + QStringLiteral(" (курс ")
                                        + course + QStringLiteral(") не найдена")
                                  : QStringLiteral("Преподаватель ") + name
                                        + QStringLiteral(" не найден"),
                          Prompts::Icon::Warning);
        return ClearingOutcome::Refused;
    }
    if (m_settings.CheckDelete) {
        // The tutor's name is longer than a group's: his lines take one tab more to align.
        const QString gap = byGroup ? kTab : kTab + kTab;
        const QString question =
            QStringLiteral("Удаляется запись из расписания:") + kLineBreak
            + (byGroup ? QStringLiteral("группа") : QStringLiteral("преподаватель")) + kTab + name
            + kLineBreak + QStringLiteral("урок") + gap + QString::number(lesson) + kLineBreak
            + QStringLiteral("дата") + gap + dateText(date) + kLineBreak + kLineBreak
            + QStringLiteral("Продолжить?");
        if (m_prompts.askYesNo(question, Prompts::Icon::Question) != Prompts::Answer::Yes)
            return ClearingOutcome::Refused;
    }
    const QString caption = QStringLiteral("удаление записи из расписания: %1, %2, урок %3")
                                .arg(name, dateText(date))
                                .arg(lesson);
    return runDocumentChange<ClearingOutcome>(
        m_session, m_prompts, ClearingOutcome::Failed, [&](const Database &db) {
            const History::Step step(db, caption);
            Database::Transaction transaction(db);
            // Only the lesson is held: lessons taken away break no rule of the others.
            db.lockDateCells(date, {lesson}, {}, {});
            // Another program may have protected the date since the question.
            if (dateProtected(db, date)) {
                m_status = QStringLiteral("Дата заблокирована для редактирования");
                m_prompts.message(m_status, Prompts::Icon::Critical);
                return ClearingOutcome::Refused;
            }
            const std::vector<int> rows = cellRows(db, byGroup, key, date, lesson);
            if (rows.empty())
                return ClearingOutcome::Empty;
            for (const int row : rows)
                db.execute(QStringLiteral("DELETE tblTimeTableContent.* FROM tblTimeTableContent "
                                          "WHERE (((tblTimeTableContent.Key)=%1));")
                               .arg(row));
            const Recordset day = db.openRecordset(
                QStringLiteral("SELECT tblTimeTableList.Key FROM tblTimeTableList WHERE "
                               "(((tblTimeTableList.Date)=%1));")
                    .arg(sqlDateLiteral(date)));
            if (!day.isEmpty()) {
                const int keyDay = day.value(0).toInt();
                if (dateLessons(db, keyDay) == 0)
                    removeDateRow(db, keyDay);
            }
            transaction.commit();
            return ClearingOutcome::Done;
        });
}

TimetableDeletion TimetableClearing::deleteRange(const QDate &first, const QDate &last,
                                                 Progress &progress)
{
    const QDate from = std::min(first, last);
    const QDate to = std::max(first, last);
    return deleteDates(
        QStringLiteral("SELECT tblTimeTableList.Key, tblTimeTableList.Date, "
                       "tblTimeTableList.ReadOnly FROM tblTimeTableList "
                       "WHERE (((tblTimeTableList.Date) Between %1 And %2)) "
                       "ORDER BY tblTimeTableList.Date;")
            .arg(sqlDateLiteral(from), sqlDateLiteral(to)),
        from == to ? QStringLiteral("удаление расписания на ") + dateText(from)
                   : QStringLiteral("удаление расписания ") + spanText(from, to),
        progress);
}

TimetableDeletion TimetableClearing::deleteAll(Progress &progress)
{
    return deleteDates(
        QStringLiteral("SELECT DISTINCT tblTimeTableList.Key, tblTimeTableList.Date, "
                       "tblTimeTableList.ReadOnly FROM "
                       "tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key = "
                       "tblTimeTableContent.Key_TTList ORDER BY tblTimeTableList.Date;"),
        QStringLiteral("удаление всего расписания"), progress);
}

TimetableDeletion TimetableClearing::deleteDates(const QString &dates, const QString &caption,
                                                 Progress &progress)
{
    TimetableDeletion result;
    // The whole deletion is one transaction under the document's write lock: a failure, a
    // Cancel or a kill leaves every date as it was.
    const bool finished =
        runDocumentChange<bool>(m_session, m_prompts, false, [&](const Database &db) {
            result = TimetableDeletion();
            const History::Step step(db, caption);
            Database::Transaction transaction(db);
            std::vector<std::tuple<int, QDate, bool>> days;
            for (Recordset rs = db.openRecordset(dates); !rs.isEof(); rs.moveNext())
                days.emplace_back(rs.value(0).toInt(), dateOf(rs.value(1)), rs.value(2).toBool());
            std::vector<QDate> held;
            for (const auto &day : days)
                held.push_back(std::get<1>(day));
            db.lockDates(held);
            const int total = int(days.size());
            progress.advance(0, total);
            for (int i = 0; i < total; ++i) {
                const auto &[key, date, readOnly] = days[size_t(i)];
                if (readOnly) {
                    ++result.protectedDates;
                    progress.status(protectedDateText(date));
                } else {
                    removeTimetableDate(db, key);
                    ++result.deleted;
                }
                if (!result.first.isValid())
                    result.first = date;
                result.last = date;
                progress.advance(i + 1, total);
                if (i + 1 < total && progress.cancelled()) {
                    result = TimetableDeletion();
                    result.cancelled = true;
                    return true; // the transaction goes back
                }
            }
            transaction.commit();
            return true;
        });
    if (!finished) {
        result = TimetableDeletion();
        result.outcome = ClearingOutcome::Failed;
        m_prompts.message(QStringLiteral("Удаление расписания прервано: расписание не изменено"),
                          Prompts::Icon::Warning);
        progress.status(QStringLiteral("Удаление прервано: расписание не изменено"));
        return result;
    }
    progress.status(result.cancelled ? QStringLiteral("Удаление остановлено: расписание не изменено")
                                     : completedText());
    return result;
}

} // namespace korvesta
