#include "examdate.h"

#include "data/database.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/history.h"
#include "data/prompts.h"
#include "data/recordset.h"
#include "data/sqltext.h"

namespace korvesta {

namespace {

// The Key of the line, 0 when the group has none of that discipline (and tutor).
int findLine(const Database &db, const ExamLine &line)
{
    QString sql =
        QStringLiteral("SELECT tblJobList.Key FROM ((tblJobList INNER JOIN tblJob ON "
                       "tblJobList.Key_Job = tblJob.Key) INNER JOIN tblDisciplines ON "
                       "tblJob.Key_Discipline = tblDisciplines.Key) INNER JOIN tblTutors ON "
                       "tblJob.Key_Tutor = tblTutors.Key WHERE tblJobList.Key_Group = %1 AND "
                       "tblDisciplines.Discipline = %2")
            .arg(line.keyGroup)
            .arg(sqlText(line.discipline.trimmed()));
    if (!line.tutor.trimmed().isEmpty())
        sql += QStringLiteral(" AND tblTutors.Tutor = ") + sqlText(line.tutor.trimmed());
    sql += QStringLiteral(" ORDER BY tblJobList.Key;");
    const Recordset rs = db.openRecordset(sql);
    return rs.isEmpty() ? 0 : rs.value(0).toInt();
}

} // namespace

bool saveExamDate(DocumentSession &session, Prompts &prompts, const ExamLine &line,
                  const QDate &date)
{
    if (line.keyGroup <= 0) {
        prompts.message(QStringLiteral("Следует выбрать группу"), Prompts::Icon::Information);
        return false;
    }
    const std::optional<Database> db = session.access();
    if (!db)
        return false;
    try {
        const History::Step step(
            *db, QStringLiteral("дата экзамена по дисциплине «") + line.discipline.trimmed()
                     + (date.isValid()
                            ? QStringLiteral("»: ") + date.toString(QStringLiteral("dd.MM.yyyy"))
                            : QStringLiteral("»: снята")));
        Database::Transaction transaction(*db);
        const int key = findLine(*db, line);
        if (key == 0) {
            prompts.message(QStringLiteral("Добавление даты экзамена отклонено:")
                                + QStringLiteral("\r\n")
                                + QStringLiteral("Выбраны некорректные данные"),
                            Prompts::Icon::Critical);
            return false;
        }
        Recordset rs = db->openRecordset(
            QStringLiteral("SELECT tblJobList.* FROM tblJobList WHERE tblJobList.Key = %1;")
                .arg(key));
        rs.edit();
        rs.setValue(QStringLiteral("DateExam"), date.isValid() ? QVariant(date) : QVariant());
        rs.update();
        transaction.commit();
        return true;
    } catch (const DbError &error) {
        session.handleError(error);
        return false;
    }
}

} // namespace korvesta
