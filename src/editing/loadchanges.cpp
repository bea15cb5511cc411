#include "loadchanges.h"

#include "entrychecks.h"

#include "data/database.h"
#include "data/prompts.h"
#include "data/queries.h"
#include "data/recordset.h"
#include "data/sqltext.h"

#include <QRegularExpression>

namespace korvesta {

namespace {

const QString kBreak = QStringLiteral("\r\n");
// The faculty of a group entered without one.
const QString kNoFaculty = QStringLiteral("отсутствует");
// The caption of the group column, which a header row shows where a group would be.
const QString kGroupCaption = QStringLiteral("Группа");

// Rows of tblGroups (joined to tblTypeFaculty) that the text names, and the order that puts
// the group of the named faculty (or of none) first, when one name and course is found in
// several faculties.
QString groupCondition(const GroupText &name)
{
    QString condition = QStringLiteral("((tblGroups.Group)=%1)").arg(sqlText(name.group));
    if (name.hasCourse)
        condition += QStringLiteral(" AND ((tblGroups.Course)=%1)").arg(sqlText(name.course));
    return condition;
}

QString facultyOrder(const GroupText &name)
{
    return QStringLiteral("IIf(Nz(tblTypeFaculty.TypeFaculty,'%1')=%2,0,1)")
        .arg(kNoFaculty, sqlText(name.faculty.isEmpty() ? kNoFaculty : name.faculty));
}

int firstKey(const Database &db, const QString &sql)
{
    const Recordset rs = db.openRecordset(sql);
    return rs.isEof() ? 0 : rs.value(0).toInt();
}

qint64 firstNumber(const Database &db, const QString &sql)
{
    const Recordset rs = db.openRecordset(sql);
    return rs.isEof() ? 0 : rs.value(0).toLongLong();
}

int tutorKey(const Database &db, const QString &tutor)
{
    return firstKey(db, QStringLiteral("SELECT tblTutors.Key "
                                       "FROM tblTutors "
                                       "WHERE (((tblTutors.Tutor)=%1)) "
                                       "ORDER BY tblTutors.Key;")
                            .arg(sqlText(tutor)));
}

int disciplineKey(const Database &db, const QString &discipline)
{
    return firstKey(db, QStringLiteral("SELECT tblDisciplines.Key "
                                       "FROM tblDisciplines "
                                       "WHERE (((tblDisciplines.Discipline)=%1)) "
                                       "ORDER BY tblDisciplines.Key;")
                            .arg(sqlText(discipline)));
}

int groupKey(const Database &db, const QString &groupText)
{
    const GroupText name = splitGroupText(groupText);
    return firstKey(db, QStringLiteral("SELECT tblGroups.Key "
                                       "FROM tblGroups LEFT JOIN tblTypeFaculty ON "
                                       "tblGroups.Key_TypeFaculty = tblTypeFaculty.Key "
                                       "WHERE (%1) "
                                       "ORDER BY %2, tblGroups.Key;")
                            .arg(groupCondition(name), facultyOrder(name)));
}

int jobKey(const Database &db, int tutor, int discipline)
{
    return firstKey(db, QStringLiteral("SELECT tblJob.Key "
                                       "FROM tblJob "
                                       "WHERE (((tblJob.Key_Tutor)=%1) "
                                       "AND ((tblJob.Key_Discipline)=%2)) "
                                       "ORDER BY tblJob.Key;")
                            .arg(tutor)
                            .arg(discipline));
}

int lineKey(const Database &db, int job, int group)
{
    return firstKey(db, QStringLiteral("SELECT tblJobList.Key "
                                       "FROM tblJobList "
                                       "WHERE (((tblJobList.Key_Job)=%1) "
                                       "AND ((tblJobList.Key_Group)=%2));")
                            .arg(job)
                            .arg(group));
}

// The auditorium typed as the tutor's usual one, in its display form "101 (Главный)"; a bare
// name is taken when it names one auditorium of the list.
std::optional<QString> auditoriumDisplay(const Database &db, const QString &text)
{
    const QString display =
        QStringLiteral("tblAuditories.Auditoria & ' (' & tblAuditories.Corpus & ')'");
    const Recordset rs = db.openRecordset(QStringLiteral("SELECT %1 AS Display "
                                                         "FROM tblAuditories "
                                                         "WHERE (((%1)=%2) "
                                                         "OR ((tblAuditories.Auditoria)=%2)) "
                                                         "ORDER BY IIf(%1=%2,0,1), "
                                                         "tblAuditories.Key;")
                                              .arg(display, sqlText(text)));
    if (rs.isEof())
        return std::nullopt;
    return rs.value(0).toString();
}

// A new row of the table with the fields given; its Key.
int addRow(const Database &db, const QString &table,
           const std::vector<std::pair<QString, QVariant>> &fields)
{
    Recordset rs = db.openRecordset(QStringLiteral("SELECT %1.* FROM %1 WHERE False;").arg(table));
    rs.addNew();
    for (const auto &[name, value] : fields)
        rs.setValue(name, value);
    const int key = rs.value(QStringLiteral("Key")).toInt();
    rs.update();
    return key;
}

qint64 countLessons(const Database &db, int job, std::optional<int> group)
{
    QString sql = QStringLiteral("SELECT Count(tblTimeTableContent.Lesson) AS CountLesson "
                                 "FROM tblTimeTableContent "
                                 "WHERE (((tblTimeTableContent.Key_Job)=%1)")
                      .arg(job);
    if (group)
        sql += QStringLiteral(" AND ((tblTimeTableContent.Key_Group)=%1)").arg(*group);
    return firstNumber(db, sql + QStringLiteral(");"));
}

void warn(Prompts &prompts, const QString &text)
{
    prompts.message(text, Prompts::Icon::Warning);
}

// A tutor's job found from the texts of a row, each missing part told to the user.
struct JobRef
{
    int tutor = 0;
    int job = 0;
};

std::optional<JobRef> findJob(const Database &db, Prompts &prompts, const QString &tutor,
                              const QString &discipline)
{
    JobRef ref;
    ref.tutor = tutorKey(db, tutor);
    if (ref.tutor == 0) {
        warn(prompts, QStringLiteral("Преподаватель '") + tutor
                          + QStringLiteral("' отсутствует в списке преподавателей"));
        return std::nullopt;
    }
    const int keyDiscipline = disciplineKey(db, discipline);
    ref.job = keyDiscipline == 0 ? 0 : jobKey(db, ref.tutor, keyDiscipline);
    if (ref.job == 0) {
        warn(prompts, QStringLiteral("Дисциплина '") + discipline
                          + QStringLiteral("' отсутствует в нагрузке преподавателя '") + tutor
                          + QStringLiteral("'"));
        return std::nullopt;
    }
    return ref;
}

struct LineRef
{
    JobRef job;
    int line = 0;
    int group = 0;
};

std::optional<LineRef> findLine(const Database &db, Prompts &prompts, const QString &tutor,
                                const QString &discipline, const QString &groupText)
{
    const std::optional<JobRef> job = findJob(db, prompts, tutor, discipline);
    if (!job)
        return std::nullopt;
    // Among the job's own groups, so that a name and course found in several faculties picks
    // the one that has the line.
    const GroupText name = splitGroupText(groupText);
    const Recordset rs = db.openRecordset(
        QStringLiteral("SELECT tblJobList.Key, tblJobList.Key_Group "
                       "FROM (tblJobList INNER JOIN tblGroups ON "
                       "tblJobList.Key_Group = tblGroups.Key) LEFT JOIN tblTypeFaculty ON "
                       "tblGroups.Key_TypeFaculty = tblTypeFaculty.Key "
                       "WHERE (((tblJobList.Key_Job)=%1) AND %2) "
                       "ORDER BY %3, tblJobList.Key;")
            .arg(QString::number(job->job), groupCondition(name), facultyOrder(name)));
    if (rs.isEof()) {
        warn(prompts, QStringLiteral("Группа ") + groupText.trimmed()
                          + QStringLiteral(" отсутствует в нагрузке преподавателя '") + tutor
                          + QStringLiteral("'") + kBreak + QStringLiteral("по дисциплине '")
                          + discipline + QStringLiteral("'"));
        return std::nullopt;
    }
    return LineRef{*job, rs.value(0).toInt(), rs.value(1).toInt()};
}

// What is left of a tutor's load after a cut: his jobs without a group go (unless lessons
// still point at them), and the tutor himself once he has no job at all, with his
// exceptions, which would otherwise belong to nobody.
void tidyTutor(const Database &db, int tutor)
{
    db.execute(
        QStringLiteral("DELETE tblJob.* "
                       "FROM tblJob "
                       "WHERE (((tblJob.Key_Tutor)=%1) "
                       "AND ((tblJob.Key) NOT IN (SELECT tblJobList.Key_Job FROM tblJobList)) "
                       "AND ((tblJob.Key) NOT IN "
                       "(SELECT tblTimeTableContent.Key_Job FROM tblTimeTableContent)));")
            .arg(tutor));
    const qint64 jobs = firstNumber(db, QStringLiteral("SELECT Count(tblJob.Key) AS CountJobs "
                                                       "FROM tblJob "
                                                       "WHERE (((tblJob.Key_Tutor)=%1));")
                                            .arg(tutor));
    if (jobs > 0)
        return;
    db.execute(QStringLiteral("DELETE tblTutorOut.* FROM tblTutorOut "
                              "WHERE (((tblTutorOut.KeyTutor)=%1));")
                   .arg(tutor));
    db.execute(QStringLiteral("DELETE tblTutors.* FROM tblTutors WHERE (((tblTutors.Key)=%1));")
                   .arg(tutor));
}

bool tutorExists(const Database &db, const QString &tutor)
{
    return firstNumber(db, QStringLiteral("SELECT Count(tblTutors.Key) AS CountTutors "
                                          "FROM tblTutors "
                                          "WHERE (((UCase(Trim(tblTutors.Tutor)))=%1));")
                               .arg(sqlText(tutor.toUpper())))
           > 0;
}

QString confirmationText(const LoadEntry &entry, int hours)
{
    const QString tab = QStringLiteral("\t");
    return QStringLiteral("Добавляется запись:") + kBreak + kBreak
           + QStringLiteral("Преподаватель ") + tab + entry.tutor.trimmed() + kBreak
           + QStringLiteral("Аудитория ") + tab + entry.auditorium.trimmed() + kBreak
           + QStringLiteral("Дисциплина ") + tab + entry.discipline.trimmed() + kBreak
           + QStringLiteral("Группа ") + tab + tab + entry.group.trimmed() + kBreak
           + QStringLiteral("Нагрузка ") + tab + QString::number(hours) + QStringLiteral(" часов")
           + kBreak + kBreak + QStringLiteral("Продолжить?");
}

// The lookups of the checks in the document itself.
class DocumentLookup : public LoadLookup
{
public:
    explicit DocumentLookup(const Database &db)
        : m_db(db)
    {}
    bool tutorExists(const QString &tutor) const override
    {
        return korvesta::tutorExists(m_db, tutor);
    }
    int tutorKey(const QString &tutor) const override { return korvesta::tutorKey(m_db, tutor); }
    int disciplineKey(const QString &discipline) const override
    {
        return korvesta::disciplineKey(m_db, discipline);
    }
    int groupKey(const QString &groupText) const override
    {
        return korvesta::groupKey(m_db, groupText);
    }
    int jobKey(int tutor, int discipline) const override
    {
        return korvesta::jobKey(m_db, tutor, discipline);
    }
    std::optional<QString> auditoriumDisplay(const QString &text) const override
    {
        return korvesta::auditoriumDisplay(m_db, text);
    }

private:
    const Database &m_db;
};

} // namespace


QString loadLineExistsText(const LoadEntry &entry)
{
    const QString tab = QStringLiteral("\t");
    return QStringLiteral("Нагрузка ") + kBreak + QStringLiteral("по преподавателю") + tab
           + entry.tutor.trimmed() + kBreak + QStringLiteral("по дисциплине") + tab + tab
           + entry.discipline.trimmed() + kBreak + QStringLiteral("по группе") + tab + tab
           + entry.group.trimmed() + kBreak + QStringLiteral("уже составлена!");
}

std::optional<int> loadHoursFromText(Prompts &prompts, const QString &text)
{
    // Blanks between digits are thousands separators ("1 200").
    QString typed = text;
    typed.remove(QRegularExpression(QStringLiteral("\\s")));
    static const QRegularExpression leading(QStringLiteral("^[-+]?(\\d+([.,]\\d*)?|[.,]\\d+)"));
    const QRegularExpressionMatch number = leading.match(typed);
    const bool zero =
        !number.hasMatch()
        || number.captured(0).replace(QLatin1Char(','), QLatin1Char('.')).toDouble() == 0.0;
    if (zero) {
        warn(prompts, QStringLiteral("Нагрузка не задана"));
        return std::nullopt;
    }
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    if (!digits.match(typed).hasMatch()) {
        warn(prompts, QStringLiteral("Введите действительное, натуральное, целое, положительное "
                                     "число!")
                          + kBreak + QStringLiteral("Пожалуйста!"));
        return std::nullopt;
    }
    bool ok = false;
    const qint64 hours = typed.toLongLong(&ok);
    if (!ok || hours > kMaxLoadHours) {
        warn(prompts, QStringLiteral("Нагрузка не может превышать 99 999 часов"));
        return std::nullopt;
    }
    return int(hours);
}

std::optional<CheckedLoadLine> checkLoadAddition(const LoadLookup &lists, Prompts &prompts,
                                                 LoadAddition addition, const LoadEntry &entry)
{
    if (!requireCells(prompts,
                      {{entry.tutor, QStringLiteral("Преподаватель")},
                       {entry.discipline, QStringLiteral("Дисциплина")},
                       {entry.group, QStringLiteral("Группа")},
                       {entry.hours, QStringLiteral("Нагрузка")}},
                      QStringLiteral("Поле '"), QStringLiteral("' должно быть заполнено")))
        return std::nullopt;
    CheckedLoadLine line;
    line.tutor = entry.tutor.trimmed();
    const QString discipline = entry.discipline.trimmed();
    const QString groupText = entry.group.trimmed();

    if (addition == LoadAddition::Tutor) {
        if (lists.tutorExists(line.tutor)) {
            warn(prompts, QStringLiteral("Преподаватель '") + line.tutor + QStringLiteral("'")
                              + kBreak + QStringLiteral("уже существует в списке."));
            return std::nullopt;
        }
    } else {
        line.keyTutor = lists.tutorKey(line.tutor);
        if (line.keyTutor == 0) {
            warn(prompts, QStringLiteral("Преподаватель '") + line.tutor
                              + QStringLiteral("' отсутствует в списке преподавателей"));
            return std::nullopt;
        }
    }
    const std::optional<int> hours = loadHoursFromText(prompts, entry.hours);
    if (!hours)
        return std::nullopt;
    line.hours = *hours;

    // Every name must be one of the lists, so that no load line points at nothing.
    line.keyDiscipline = lists.disciplineKey(discipline);
    if (line.keyDiscipline == 0) {
        warn(prompts, QStringLiteral("Дисциплина '") + discipline
                          + QStringLiteral("' отсутствует в списке дисциплин"));
        return std::nullopt;
    }
    line.keyGroup = lists.groupKey(groupText);
    if (line.keyGroup == 0) {
        warn(prompts,
             QStringLiteral("Группа ") + groupText + QStringLiteral(" отсутствует в списке групп"));
        return std::nullopt;
    }
    if (addition == LoadAddition::Group && lists.jobKey(line.keyTutor, line.keyDiscipline) == 0) {
        warn(prompts, QStringLiteral("Дисциплина '") + discipline
                          + QStringLiteral("' отсутствует в нагрузке преподавателя '") + line.tutor
                          + QStringLiteral("'"));
        return std::nullopt;
    }
    if (addition == LoadAddition::Tutor && !entry.auditorium.trimmed().isEmpty()) {
        const std::optional<QString> display = lists.auditoriumDisplay(entry.auditorium.trimmed());
        if (!display) {
            warn(prompts, QStringLiteral("Аудитория '") + entry.auditorium.trimmed()
                              + QStringLiteral("' отсутствует в списке аудиторий"));
            return std::nullopt;
        }
        line.defaultAud = *display;
    }
    if (addition == LoadAddition::Tutor
        && prompts.askYesNo(confirmationText(entry, line.hours), Prompts::Icon::Question)
               != Prompts::Answer::Yes)
        return std::nullopt;
    return line;
}

bool addToLoad(const Database &db, Prompts &prompts, LoadAddition addition, const LoadEntry &entry)
{
    const DocumentLookup lists(db);
    std::optional<CheckedLoadLine> line = checkLoadAddition(lists, prompts, addition, entry);
    if (!line)
        return false;

    Database::Transaction transaction(db);
    db.lockLoad();
    if (addition == LoadAddition::Tutor) {
        line->keyTutor = addRow(db, QStringLiteral("tblTutors"),
                                {{QStringLiteral("Tutor"), line->tutor},
                                 {QStringLiteral("DefaultAud"), line->defaultAud.isEmpty()
                                                                    ? QVariant()
                                                                    : QVariant(line->defaultAud)}});
    }
    int job = jobKey(db, line->keyTutor, line->keyDiscipline);
    if (job == 0) {
        job = addRow(db, QStringLiteral("tblJob"),
                     {{QStringLiteral("Key_Tutor"), line->keyTutor},
                      {QStringLiteral("Key_Discipline"), line->keyDiscipline}});
    }
    if (lineKey(db, job, line->keyGroup) != 0) {
        warn(prompts, loadLineExistsText(entry));
        return false; // the transaction rolls back a job made for the line
    }
    addRow(db, QStringLiteral("tblJobList"),
           {{QStringLiteral("Key_Job"), job},
            {QStringLiteral("Key_Group"), line->keyGroup},
            {QStringLiteral("Hours"), line->hours}});
    transaction.commit();
    return true;
}

bool changeLoadHours(const Database &db, Prompts &prompts, const LoadEntry &entry)
{
    const std::optional<int> hours = loadHoursFromText(prompts, entry.hours);
    if (!hours)
        return false;
    const std::optional<LineRef> line =
        findLine(db, prompts, entry.tutor.trimmed(), entry.discipline.trimmed(), entry.group);
    if (!line)
        return false;
    Database::Transaction transaction(db);
    db.lockLoad();
    db.execute(QStringLiteral("UPDATE tblJobList SET tblJobList.Hours = %1 "
                              "WHERE (((tblJobList.Key)=%2));")
                   .arg(*hours)
                   .arg(line->line));
    transaction.commit();
    return true;
}

bool removeGroupFromLoad(const Database &db, Prompts &prompts, const QString &tutor,
                         const QString &discipline, const QString &groupText)
{
    const GroupText name = splitGroupText(groupText);
    if (name.group.isEmpty() || name.group == kGroupCaption)
        return false;
    const std::optional<LineRef> line =
        findLine(db, prompts, tutor.trimmed(), discipline.trimmed(), groupText);
    if (!line)
        return false;
    const qint64 lessons = countLessons(db, line->job.job, line->group);
    if (lessons > 0) {
        warn(prompts, QStringLiteral("Для группы  ") + name.group + QStringLiteral(" курс (")
                          + name.course + QStringLiteral(") уже составлена нагрузка на ")
                          + QString::number(lessons) + QStringLiteral(" занятий.") + kBreak
                          + QStringLiteral("Удаление невозможно"));
        return false;
    }
    const QString question =
        QStringLiteral("Удалить группу ") + name.group + QStringLiteral(" курс (") + name.course
        + QStringLiteral(")") + kBreak + QStringLiteral("из нагрузки преподавателя '")
        + tutor.trimmed() + QStringLiteral("'") + kBreak + QStringLiteral("по дисциплине '")
        + discipline.trimmed() + QStringLiteral("'?");
    if (prompts.askYesNo(question, Prompts::Icon::Question) == Prompts::Answer::No)
        return false;
    Database::Transaction transaction(db);
    db.lockLoad();
    db.execute(QStringLiteral("DELETE tblJobList.* FROM tblJobList "
                              "WHERE (((tblJobList.Key)=%1));")
                   .arg(line->line));
    tidyTutor(db, line->job.tutor);
    transaction.commit();
    return true;
}

bool removeDisciplineFromLoad(const Database &db, Prompts &prompts, const QString &tutor,
                              const QString &discipline)
{
    const std::optional<JobRef> job = findJob(db, prompts, tutor.trimmed(), discipline.trimmed());
    if (!job)
        return false;
    const qint64 lessons = countLessons(db, job->job, std::nullopt);
    if (lessons > 0) {
        warn(prompts, QStringLiteral("Для дисциплины  '") + discipline.trimmed()
                          + QStringLiteral("' уже составлена нагрузка на ")
                          + QString::number(lessons) + QStringLiteral(" занятий.") + kBreak
                          + QStringLiteral("Удаление невозможно"));
        return false;
    }
    const QString question =
        QStringLiteral("Удалить дисциплину '") + discipline.trimmed() + QStringLiteral("'") + kBreak
        + QStringLiteral("из нагрузки преподавателя '") + tutor.trimmed() + QStringLiteral("'?");
    if (prompts.askYesNo(question, Prompts::Icon::Question) != Prompts::Answer::Yes)
        return false;
    Database::Transaction transaction(db);
    db.lockLoad();
    // The job's groups go with it: a line without its job would count for nobody.
    db.execute(QStringLiteral("DELETE tblJobList.* FROM tblJobList "
                              "WHERE (((tblJobList.Key_Job)=%1));")
                   .arg(job->job));
    db.execute(
        QStringLiteral("DELETE tblJob.* FROM tblJob WHERE (((tblJob.Key)=%1));").arg(job->job));
    tidyTutor(db, job->tutor);
    transaction.commit();
    return true;
}

} // namespace korvesta
