#include "queries.h"

#include "database.h"
#include "dberror.h"
#include "documentsession.h"
#include "documenttemplate.h"
#include "prompts.h"
#include "querydef.h"
#include "settings/settingsstore.h"
#include "sqltext.h"

#include <QLocale>

namespace korvesta {

namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kCrLf = QStringLiteral("\r\n");
const QString kNoFaculty = QStringLiteral("отсутствует");

using Parameters = std::vector<std::pair<QString, QVariant>>;

// A null date is given as Null, as a parameter left unset: no date matches it (the auditorium
// change asks who is free at a lesson without naming a date).
QVariant parameterValue(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDate && value.toDate().isNull())
        return {};
    return value;
}

Recordset openQuery(const Database &db, const QString &name, const Parameters &parameters)
{
    QueryDef query = db.queryDef(name);
    for (const auto &[parameter, value] : parameters)
        query.setParameter(parameter, parameterValue(value));
    return query.openRecordset();
}

std::optional<QVariant> readFirst(const Database &db, const QString &name,
                                  const Parameters &parameters, const QString &field)
{
    Recordset rs = openQuery(db, name, parameters);
    if (rs.isEmpty())
        return std::nullopt;
    return rs.value(field);
}

int firstKey(const Database &db, const QString &sql)
{
    Recordset rs = db.openRecordset(sql);
    return rs.isEmpty() ? 0 : rs.value(0).toInt();
}

// The period condition of the accounting queries the program writes.
QString periodCondition(const QDate &first, const QDate &last)
{
    return QStringLiteral("WHERE (((tblTimeTableList.Date) Between #") + sqlDateText(first) +
           QStringLiteral("# AND #") + sqlDateText(last) + QStringLiteral("#) ");
}

QString tutorCondition(int keyTutor)
{
    return QStringLiteral("AND ((tblJob.Key_Tutor)=") + QString::number(keyTutor) +
           QStringLiteral(")) ");
}

// The logical lists: saved queries of the document, or tables read whole.
struct ListSource
{
    const char *list;
    const char *query; // a saved query, or SQL text over a table
    bool saved;
};

const ListSource kLists[] = {
    {"Groups", "qryGroups", true},
    {"GroupsInCourse", "qryGroupsInCourse", true},
    {"Disciplines", "qryDisciplines", true},
    {"Tutors", "qryTutors", true},
    {"Korvesta", "qryKorvesta", true},
    {"Auditories", "qryAuditories", true},
    {"DisciplineType", "qryDisciplineType", true},
    {"LectureForTabel", "OTR32", true},
    {"TimeLesson", "SELECT tblTimeLesson.* FROM tblTimeLesson ORDER BY tblTimeLesson.Lesson;",
     false},
    {"TypeFaculty", "SELECT tblTypeFaculty.* FROM tblTypeFaculty ORDER BY tblTypeFaculty.Key;",
     false},
    {"TypeLesson", "SELECT tblTypeLesson.* FROM tblTypeLesson ORDER BY tblTypeLesson.Key;", false},
    {"TypeTuition", "SELECT tblTypeTuition.* FROM tblTypeTuition ORDER BY tblTypeTuition.Key;",
     false},
    {"TypeFinance", "SELECT tblTypeFinance.* FROM tblTypeFinance ORDER BY tblTypeFinance.Key;",
     false},
    {"TutorTypeOut", "SELECT tblTutorTypeOut.* FROM tblTutorTypeOut ORDER BY tblTutorTypeOut.Key;",
     false},
};

const ListSource *findList(const QString &name)
{
    for (const ListSource &source : kLists) {
        if (name.compare(QLatin1String(source.list), Qt::CaseInsensitive) == 0)
            return &source;
    }
    return nullptr;
}


} // namespace

GroupText splitGroupText(const QString &text)
{
    GroupText parts;
    qsizetype open = text.indexOf(QLatin1String("  ("));
    qsizetype skip = 3;
    if (open < 0) {
        open = text.indexOf(QLatin1Char('('));
        skip = 1;
    }
    if (open < 0) {
        parts.group = text.trimmed();
        return parts;
    }
    parts.group = text.left(open).trimmed();
    parts.hasCourse = true;
    const qsizetype close = text.indexOf(QLatin1Char(')'), open + skip);
    if (close < 0) {
        parts.course = text.mid(open + skip).trimmed();
        return parts;
    }
    parts.course = text.mid(open + skip, close - open - skip).trimmed();
    parts.faculty = text.mid(close + 1).trimmed();
    return parts;
}

DocumentQueries::DocumentQueries(DocumentSession &session, SettingsStore &settings,
                                 Prompts &prompts)
    : m_session(session)
    , m_settings(settings)
    , m_prompts(prompts)
{}

template<typename T>
T DocumentQueries::run(T empty, const std::function<T(const Database &)> &work)
{
    std::optional<Database> db = m_session.access();
    if (!db)
        return empty;
    try {
        return work(*db);
    } catch (const DbError &error) {
        // A saved query without a field read here is of another layout, like one without a
        // parameter: the user is told so rather than shown an empty answer.
        if (error.code() == dberr::ItemNotFound)
            m_session.handleError(DbError(dberr::TooFewParameters, error.message()));
        else
            m_session.handleError(error);
        return empty;
    }
}

std::optional<Recordset> DocumentQueries::openSaved(const QString &name,
                                                    const Parameters &parameters)
{
    return run<std::optional<Recordset>>(std::nullopt, [&](const Database &db) {
        return std::optional<Recordset>(openQuery(db, name, parameters));
    });
}

std::optional<QVariant>
DocumentQueries::firstValue(const QString &name, const Parameters &parameters, const QString &field)
{
    return run<std::optional<QVariant>>(
        std::nullopt, [&](const Database &db) { return readFirst(db, name, parameters, field); });
}

std::optional<Recordset>
DocumentQueries::rewriteAndOpen(const std::vector<std::pair<QString, QString>> &texts,
                                const QString &reader)
{
    if (m_session.currentPath().isEmpty())
        return std::nullopt;
    // The texts are read in place of the document's own rather than written into it: the
    // figures of a document that cannot be written show as well, and looking at them is no
    // change that "Отменить" would have to take back.
    return run<std::optional<Recordset>>(std::nullopt, [&](const Database &db) {
        return std::optional<Recordset>(db.openWithQueryTexts(reader, texts));
    });
}

// Lesson limits ------------------------------------------------------------------------------

bool DocumentQueries::CanAddGroupLesson(int keyGroup, const QDate &date, bool cellHoldsLesson)
{
    const int limit = m_settings.readInt(kSettings, QStringLiteral("LessonsToGroup"), 7);
    if (limit <= 0 || cellHoldsLesson)
        return true;
    return CountGroupLessonsInDay(keyGroup, date) < limit;
}

int DocumentQueries::CountGroupLessonsInDay(int keyGroup, const QDate &date)
{
    return firstValue(QStringLiteral("qryCountGroupLessonsInDay"),
                      {{QStringLiteral("pKeyGroup"), keyGroup}, {QStringLiteral("pDate"), date}},
                      QStringLiteral("CountLessons"))
        .value_or(0)
        .toInt();
}

bool DocumentQueries::CanAddTutorLesson(int keyTutor, const QDate &date, bool cellHoldsLesson)
{
    const int limit = m_settings.readInt(kSettings, QStringLiteral("LessonsToTutor"), 0);
    if (limit <= 0 || cellHoldsLesson)
        return true;
    return CountTutorLessonsInDay(keyTutor, date) < limit;
}

int DocumentQueries::CountTutorLessonsInDay(int keyTutor, const QDate &date)
{
    return firstValue(QStringLiteral("qryCountTutorLessonsInDay"),
                      {{QStringLiteral("pDate"), date}, {QStringLiteral("pKeyTutor"), keyTutor}},
                      QStringLiteral("CountLessons"))
        .value_or(0)
        .toInt();
}

bool DocumentQueries::IsDateReadOnly(const QDate &date)
{
    return firstValue(QStringLiteral("qryDateReadOnly"), {{QStringLiteral("pDate"), date}},
                      QStringLiteral("ReadOnly"))
        .value_or(false)
        .toBool();
}

// Accounting ---------------------------------------------------------------------------------

std::optional<Recordset> DocumentQueries::OpenTutorHoursByGroup(int keyTutor, const QDate &first,
                                                                const QDate &last)
{
    const QString otr3 =
        QStringLiteral("SELECT tblTimeTableList.Date, tblJob.Key_Tutor, tblJob.Key_Discipline, "
                       "tblGroups.Group, tblGroups.Course, tblJobList.Hours AS Всего, "
                       "tblGroups.Key AS Key_Group ") +
        QStringLiteral(
            "FROM (tblJob INNER JOIN (tblTimeTableList INNER JOIN (tblTimeTableContent INNER "
            "JOIN tblGroups ON tblTimeTableContent.Key_Group = tblGroups.Key) ON "
            "tblTimeTableList.Key = tblTimeTableContent.Key_TTList) ON tblJob.Key = "
            "tblTimeTableContent.Key_Job) INNER JOIN tblJobList ON (tblJob.Key = "
            "tblJobList.Key_Job) AND (tblGroups.Key = tblJobList.Key_Group) ") +
        periodCondition(first, last) + tutorCondition(keyTutor) +
        QStringLiteral("ORDER BY tblTimeTableList.Date, tblGroups.Course, "
                       "Len(tblGroups.Group), tblGroups.Group;");
    return rewriteAndOpen({{QStringLiteral("OTR3"), otr3}}, QStringLiteral("OTR4"));
}

std::optional<Recordset> DocumentQueries::OpenTutorLessonsByGroup(int keyTutor, const QDate &first,
                                                                  const QDate &last)
{
    const QString otr1 =
        QStringLiteral("SELECT tblTimeTableList.Date, tblJob.Key_Tutor, [Group] & '  (' & "
                       "[Course] & ')' AS GroupCourse, tblTimeTableContent.Lesson, "
                       "tblGroups.Key AS Key_Group ") +
        QStringLiteral("FROM tblTimeTableList INNER JOIN (tblJob INNER JOIN (tblGroups INNER JOIN "
                       "tblTimeTableContent ON tblGroups.Key = tblTimeTableContent.Key_Group) ON "
                       "tblJob.Key = tblTimeTableContent.Key_Job) ON tblTimeTableList.Key = "
                       "tblTimeTableContent.Key_TTList ") +
        periodCondition(first, last) + tutorCondition(keyTutor) +
        QStringLiteral("ORDER BY tblTimeTableList.Date, tblGroups.Course, "
                       "Len(tblGroups.Group), tblGroups.Group, tblTimeTableContent.Lesson;");
    return rewriteAndOpen({{QStringLiteral("OTR1"), otr1}}, QStringLiteral("qryOtrabotka"));
}

std::optional<Recordset> DocumentQueries::OpenLessonsInPeriod(const QDate &first, const QDate &last)
{
    if (m_session.currentPath().isEmpty())
        return std::nullopt;
    const QString period = QStringLiteral("#") + sqlDateText(first) + QStringLiteral("# AND #")
                           + sqlDateText(last) + QStringLiteral("#");
    // Over most of the document's dates (a study year in a document of one year) the lessons
    // are read in the order of the index by load line and group, which is the order they are
    // counted in, with nothing to sort; over a shorter period, or in a document of several
    // years, from the dates of the period. Both give the same rows.
    const bool mostDates = run<bool>(false, [&](const Database &db) {
        const Recordset in = db.openRecordset(
            QStringLiteral("SELECT Count(*) FROM tblTimeTableList WHERE tblTimeTableList.Date "
                           "Between ") + period + u';');
        const Recordset all = db.openRecordset(QStringLiteral("SELECT Count(*) FROM tblTimeTableList;"));
        return in.value(0).toLongLong() * 5 >= all.value(0).toLongLong() * 2;
    });
    const QString per1 =
        mostDates
            ? QStringLiteral(
                  "SELECT (SELECT tblTimeTableList.Date FROM tblTimeTableList WHERE "
                  "tblTimeTableList.Key = tblTimeTableContent.Key_TTList) AS [Date], "
                  "tblTimeTableContent.Key_Job, tblGroups.Group, tblTimeTableContent.Lesson, "
                  "tblTimeTableContent.Key_Group FROM tblTimeTableContent INNER JOIN tblGroups "
                  "ON tblTimeTableContent.Key_Group = tblGroups.Key WHERE EXISTS (SELECT "
                  "tblTimeTableList.Key FROM tblTimeTableList WHERE tblTimeTableList.Key = "
                  "tblTimeTableContent.Key_TTList AND tblTimeTableList.Date Between ") + period
                  + QStringLiteral(");")
            : QStringLiteral("SELECT tblTimeTableList.Date, tblTimeTableContent.Key_Job, "
                             "tblGroups.Group, tblTimeTableContent.Lesson, tblGroups.Key AS "
                             "Key_Group FROM tblTimeTableList INNER JOIN (tblTimeTableContent "
                             "INNER JOIN tblGroups ON tblTimeTableContent.Key_Group = "
                             "tblGroups.Key) ON tblTimeTableList.Key = "
                             "tblTimeTableContent.Key_TTList WHERE (((tblTimeTableList.Date) "
                             "Between ") + period + QStringLiteral(")) ORDER BY tblTimeTableList.Date, "
                             "Len(tblGroups.Group), tblGroups.Group;");
    return rewriteAndOpen({{QStringLiteral("PER1"), per1}}, QStringLiteral("PER3"));
}

std::optional<Recordset> DocumentQueries::OpenBusyTime(int keyTutor, const QString &first,
                                                       const QString &last)
{
    return openSaved(QStringLiteral("qryBusyTime"), {{QStringLiteral("pStartDate"), first},
                                                     {QStringLiteral("pEndDate"), last},
                                                     {QStringLiteral("pKeyTutor"), keyTutor}});
}

std::optional<Recordset> DocumentQueries::OpenTutorBusyTotals(const QString &tutor)
{
    // A lesson counts once per date and lesson number: a lecture for two groups is one lesson
    // the tutor gave, as in every other count of lessons.
    const QString busy =
        QStringLiteral(
            "SELECT Given.Tutor, Count(*) AS CountLesson, Min(Given.Date) AS MinDate, "
            "Max(Given.Date) AS MaxDate, DateDiff('d',[MinDate],[MaxDate]) AS CountDays ") +
        QStringLiteral("FROM (SELECT DISTINCT tblTutors.Tutor, tblTimeTableList.Date, "
                       "tblTimeTableContent.Lesson FROM tblTutors INNER JOIN (tblTimeTableList "
                       "INNER JOIN (tblJob INNER JOIN tblTimeTableContent ON tblJob.Key = "
                       "tblTimeTableContent.Key_Job) ON tblTimeTableList.Key = "
                       "tblTimeTableContent.Key_TTList) ON tblTutors.Key = tblJob.Key_Tutor ") +
        QStringLiteral("WHERE (((tblTutors.Tutor)=") + sqlText(tutor) +
        QStringLiteral("))) AS Given GROUP BY Given.Tutor;");
    const QString out =
        QStringLiteral("SELECT tblTutors.Tutor, tblTutorOut.FreeDay, tblTutorOut.FreeLesson, "
                       "tblTutorOut.FreeLocalDate, tblTutorOut.KeyTypeOut ") +
        QStringLiteral("FROM tblTutors INNER JOIN tblTutorOut ON tblTutors.Key = "
                       "tblTutorOut.KeyTutor ") +
        QStringLiteral("WHERE (((tblTutors.Tutor)=") + sqlText(tutor) + QStringLiteral("));");
    return rewriteAndOpen({{QStringLiteral("qryViewTutorBusyTime"), busy},
                           {QStringLiteral("qryViewTutorOutTime"), out}},
                          QStringLiteral("qryViewTutorOutTotals"));
}

std::optional<Recordset> DocumentQueries::OpenLoadBreakdown(int keyTutor, const QDate &first,
                                                            const QDate &last)
{
    return openSaved(QStringLiteral("OTR51"), {{QStringLiteral("pKeyTutor"), keyTutor},
                                               {QStringLiteral("pStartDate"), first},
                                               {QStringLiteral("pEndDate"), last}});
}

// Lists and records --------------------------------------------------------------------------

std::optional<Recordset> DocumentQueries::OpenList(const QString &listName)
{
    const ListSource *source = findList(listName);
    if (!source)
        return std::nullopt;
    return run<std::optional<Recordset>>(std::nullopt, [source](const Database &db) {
        const QString query = QString::fromUtf8(source->query);
        // A saved query is opened as one: a document that lacks it is of another layout.
        return std::optional<Recordset>(source->saved ? db.queryDef(query).openRecordset()
                                                      : db.openRecordset(query));
    });
}

namespace {

// The template's load list as the load view reads it: 0 for each line's count of lessons
// given, and without the keys and the exam date, which it does not show; empty when its text
// has no such count.
QString uncountedLoadLines()
{
    static const QString text = [] {
        QString sql = templateQueryText(QStringLiteral("qryKorvesta"));
        const qsizetype count = sql.indexOf(QStringLiteral("(SELECT Count(*)"));
        const qsizetype name = sql.indexOf(QStringLiteral(" AS CountLesson"));
        if (count < 0 || name < count)
            return QString();
        sql.replace(count, name - count, QStringLiteral("0"));
        static const QString unread = QStringLiteral(
            "tblTutors.Key AS KeyTutor, tblDisciplines.Key AS KeyDiscipline, tblGroups.Key AS "
            "KeyGroup, tblJob.Key AS KeyJob, tblJobList.Key AS KeyJobList, tblJobList.DateExam, ");
        const qsizetype keys = sql.indexOf(unread);
        if (keys >= 0)
            sql.remove(keys, unread.size());
        return sql;
    }();
    return text;
}

} // namespace

std::optional<Recordset> DocumentQueries::OpenLoadLines(bool counted)
{
    return run<std::optional<Recordset>>(std::nullopt, [counted](const Database &db) {
        const QString query = QStringLiteral("qryKorvesta");
        if (!counted && !uncountedLoadLines().isEmpty() && isTemplateQuery(db, query))
            return std::optional<Recordset>(db.openRecordset(uncountedLoadLines()));
        return std::optional<Recordset>(db.queryDef(query).openRecordset());
    });
}

std::optional<Recordset> DocumentQueries::OpenGroupPassport(int keyGroup)
{
    return openSaved(QStringLiteral("qryPassportGroup"), {{QStringLiteral("pKeyGroup"), keyGroup}});
}

std::optional<Recordset> DocumentQueries::OpenTutorFreeTime(int keyTutor)
{
    return openSaved(QStringLiteral("qryFreeTimeTutor"), {{QStringLiteral("pKeyTutor"), keyTutor}});
}

std::optional<Recordset> DocumentQueries::OpenTimeTable(const QDate &date, int mode)
{
    if (mode != 0 && mode != 1)
        return std::nullopt;
    return openSaved(mode == 0 ? QStringLiteral("qryTimeTable")
                               : QStringLiteral("qryTimeTableWork"),
                     {{QStringLiteral("pDate"), date}});
}

std::optional<Recordset> DocumentQueries::OpenScheduleReport(int kind, const QString &name,
                                                             const QDate &first, const QDate &last)
{
    static const char *const queries[] = {"qrySDLTutor", "qrySDLGroup", "qrySDLAud"};
    static const char *const parameters[] = {"pTutor", "pGroup", "pAud"};
    if (kind < 0 || kind > 2)
        return std::nullopt;
    return openSaved(QString::fromLatin1(queries[kind]),
                     {{QString::fromLatin1(parameters[kind]), name},
                      {QStringLiteral("pBeginDate"), first},
                      {QStringLiteral("pEndDate"), last}});
}

std::optional<Recordset> DocumentQueries::OpenJobsOfTutor(int keyTutor)
{
    return openSaved(QStringLiteral("qrySelJobTutor"), {{QStringLiteral("pKeyTutor"), keyTutor}});
}

std::optional<Recordset> DocumentQueries::OpenJobsOfGroup(int keyGroup)
{
    return openSaved(QStringLiteral("qrySelJobGroup"), {{QStringLiteral("pKeyGroup"), keyGroup}});
}

std::optional<Recordset> DocumentQueries::OpenTutorLessonsOnDay(int keyTutor, int lesson,
                                                                const QDate &date)
{
    return openSaved(QStringLiteral("qryTutorLessonsOnDay"),
                     {{QStringLiteral("pLesson"), lesson},
                      {QStringLiteral("pDate"), date},
                      {QStringLiteral("pKeyTutor"), keyTutor}});
}

std::optional<Recordset> DocumentQueries::OpenGroupLessonsOnDay(int keyGroup, int lesson,
                                                                const QDate &date)
{
    return openSaved(QStringLiteral("qryGroupLessonsInDay"),
                     {{QStringLiteral("pLesson"), lesson},
                      {QStringLiteral("pDate"), date},
                      {QStringLiteral("pKeyGroup"), keyGroup}});
}

std::optional<Recordset> DocumentQueries::OpenJobKeys(int keyJobList)
{
    return openSaved(QStringLiteral("qryKeysJob"), {{QStringLiteral("pKeyJobList"), keyJobList}});
}

std::optional<Recordset> DocumentQueries::OpenFreeBusy(int kind, int lesson, const QDate &date)
{
    static const char *const queries[] = {"qryFreeBusyGroups", "qryFreeBusyDisciplines",
                                          "qryFreeBusyAuditories", "qryFreeBusyTutors"};
    if (kind < 1 || kind > 4)
        return std::nullopt;
    // The lesson-number column of the grid stands for the first lesson.
    return openSaved(
        QString::fromLatin1(queries[kind - 1]),
        {{QStringLiteral("pLesson"), std::max(lesson, 1)}, {QStringLiteral("pDate"), date}});
}

// Usage --------------------------------------------------------------------------------------

QString DocumentQueries::usage(const QString &held, const QString &future,
                               const Parameters &parameters, bool emptyWhenUnused)
{
    return run<QString>(QString(), [&](const Database &db) {
        const qint64 b =
            readFirst(db, held, parameters, QStringLiteral("CountLesson")).value_or(0).toLongLong();
        const qint64 a = readFirst(db, future, parameters, QStringLiteral("CountLesson"))
                             .value_or(0)
                             .toLongLong();
        if (emptyWhenUnused && a == 0 && b == 0)
            return QString();
        return QString::number(b) + QLatin1Char(';') + QString::number(a);
    });
}

QString DocumentQueries::GetDisciplineUsage(const QString &discipline, const QString &discipline1)
{
    return usage(QStringLiteral("qryDisciplineValueB"), QStringLiteral("qryDisciplineValueA"),
                 {{QStringLiteral("pDiscipline"), discipline},
                  {QStringLiteral("pDiscipline1"), discipline1}},
                 false);
}

QString DocumentQueries::GetGroupUsage(const QString &group, const QString &course,
                                       const QString &faculty)
{
    return usage(QStringLiteral("qryGroupValueB"), QStringLiteral("qryGroupValueA"),
                 {{QStringLiteral("pGroup"), group},
                  {QStringLiteral("pCourse"), course},
                  {QStringLiteral("pFaculty"), faculty}},
                 true);
}

QString DocumentQueries::GetAuditoriaUsage(const QString &auditoria, const QString &corpus)
{
    return usage(QStringLiteral("qryAuditoriaValueB"), QStringLiteral("qryAuditoriaValueA"),
                 {{QStringLiteral("pAuditoria"), auditoria}, {QStringLiteral("pCorpus"), corpus}},
                 true);
}

QString DocumentQueries::GetTutorUsage(const QString &tutor)
{
    return usage(QStringLiteral("qryTutorValueB"), QStringLiteral("qryTutorValueA"),
                 {{QStringLiteral("pTutor"), tutor}}, false);
}

// Key lookups --------------------------------------------------------------------------------

int DocumentQueries::GetGroupKey(QString &group, QString &course, QString &faculty,
                                 const QString &tuition, const QString &finance)
{
    faculty = faculty.trimmed();
    if (faculty.isEmpty())
        faculty = kNoFaculty;
    if (course.trimmed().isEmpty()) {
        const GroupText parts = splitGroupText(group);
        group = parts.group;
        course = parts.course;
        if (!parts.faculty.isEmpty())
            faculty = parts.faculty;
    }
    group = group.trimmed();
    course = course.trimmed();
    return firstValue(QStringLiteral("qryGetKeyGroup"),
                      {{QStringLiteral("pGroup"), group},
                       {QStringLiteral("pCourse"), course},
                       {QStringLiteral("pFaculty"), faculty},
                       {QStringLiteral("pTuition"), tuition},
                       {QStringLiteral("pFinance"), finance}},
                      QStringLiteral("Key"))
        .value_or(0)
        .toInt();
}

int DocumentQueries::GetKeyByText(const QString &text, const QString &kind)
{
    QString sql;
    if (kind == u"Group") {
        const GroupText parts = splitGroupText(text);
        // A faculty after the course ("П-9  (1) ФИТ") picks among groups of one name.
        sql = QStringLiteral("SELECT tblGroups.Key "
                             "FROM tblGroups LEFT JOIN tblTypeFaculty ON "
                             "tblGroups.Key_TypeFaculty = tblTypeFaculty.Key "
                             "WHERE (((tblGroups.Group)=%1)")
                  .arg(sqlText(parts.group));
        if (parts.hasCourse)
            sql += QStringLiteral(" AND ((tblGroups.Course)=%1)").arg(sqlText(parts.course));
        sql += QStringLiteral(") ORDER BY IIf(Nz(tblTypeFaculty.TypeFaculty,'%1')=%2,0,1), "
                              "tblGroups.Key;")
                   .arg(kNoFaculty, sqlText(parts.faculty.isEmpty() ? kNoFaculty : parts.faculty));
    } else if (kind == u"Auditoria") {
        // The display text "101 (Главный)" as a whole, so that a blank and parenthesis in a
        // name or building does not split it wrongly; a bare name matches too.
        const QString display = QStringLiteral("tblAuditories.Auditoria & ' (' & "
                                               "tblAuditories.Corpus & ')'");
        sql = QStringLiteral("SELECT tblAuditories.Key "
                             "FROM tblAuditories "
                             "WHERE (((%1)=%2) OR ((tblAuditories.Auditoria)=%2)) "
                             "ORDER BY IIf(%1=%2,0,1), tblAuditories.Key;")
                  .arg(display, sqlText(text));
    } else if (kind == u"Discipline") {
        sql = QStringLiteral("SELECT tblDisciplines.Key "
                             "FROM tblDisciplines "
                             "WHERE (((tblDisciplines.Discipline)=%1)) "
                             "ORDER BY tblDisciplines.Key;")
                  .arg(sqlText(text));
    } else if (kind == u"Tutor") {
        sql = QStringLiteral("SELECT tblTutors.Key "
                             "FROM tblTutors "
                             "WHERE (((tblTutors.Tutor)=%1)) "
                             "ORDER BY tblTutors.Key;")
                  .arg(sqlText(text));
    } else {
        return 0;
    }
    return run<int>(0, [&](const Database &db) { return firstKey(db, sql); });
}

int DocumentQueries::GetTypeKey(const QString &name, const QString &kind)
{
    static const struct
    {
        const char *kind;
        const char *table;
        const char *field;
    } types[] = {
        {"Faculty", "tblTypeFaculty", "TypeFaculty"},
        {"Tuition", "tblTypeTuition", "TypeTuition"},
        {"Finance", "tblTypeFinance", "TypeFinance"},
        {"DiscType", "tblDiscType", "Type"},
    };
    for (const auto &type : types) {
        if (kind != QLatin1String(type.kind))
            continue;
        const QString table = QString::fromLatin1(type.table);
        const QString sql = QStringLiteral("SELECT %1.Key "
                                           "FROM %1 "
                                           "WHERE (((%1.%2)=%3)) "
                                           "ORDER BY %1.Key;")
                                .arg(table, QString::fromLatin1(type.field), sqlText(name));
        return run<int>(0, [&](const Database &db) { return firstKey(db, sql); });
    }
    return 0;
}

// Dates --------------------------------------------------------------------------------------

void DocumentQueries::ShowExamsOnDate(const QDate &date)
{
    const QString sql =
        QStringLiteral("SELECT tblGroups.Group, tblGroups.Course, tblDisciplines.Discipline ") +
        QStringLiteral("FROM tblGroups INNER JOIN (tblDisciplines INNER JOIN (tblJob INNER JOIN "
                       "tblJobList ON tblJob.Key = tblJobList.Key_Job) ON tblDisciplines.Key = "
                       "tblJob.Key_Discipline) ON tblGroups.Key = tblJobList.Key_Group ") +
        QStringLiteral("WHERE (((tblJobList.DateExam)=") + sqlDateLiteral(date) +
        QStringLiteral(")) ") +
        QStringLiteral("ORDER BY tblGroups.Course, Len(tblGroups.Group), tblGroups.Group, "
                       "tblDisciplines.Discipline;");
    const QString lines = run<QString>(QString(), [&](const Database &db) {
        QString text;
        for (Recordset rs = db.openRecordset(sql); !rs.isEof(); rs.moveNext()) {
            text += kCrLf + QStringLiteral("в группе ") + rs.value(0).toString() +
                    QStringLiteral(" (курс ") + rs.value(1).toString() +
                    QStringLiteral(")  по дисциплине ") + rs.value(2).toString();
        }
        return text;
    });
    if (lines.isEmpty())
        return;
    const QString day =
        QLocale(QLocale::Russian, QLocale::Russia).toString(date, QStringLiteral("dd MMMM yyyy"));
    m_prompts.message(QStringLiteral("На ") + day + QStringLiteral(" назначен экзамен:") + kCrLf +
                          lines,
                      Prompts::Icon::None);
}

QDate DocumentQueries::GetGroupExamDate(const QString &group, const QString &course,
                                        const QString &faculty)
{
    return firstValue(QStringLiteral("qryGetGroupDateExam"),
                      {{QStringLiteral("pGroup"), group},
                       {QStringLiteral("pCourse"), course},
                       {QStringLiteral("pFaculty"), faculty}},
                      QStringLiteral("DateExam"))
        .value_or(QVariant())
        .toDate();
}

QString DocumentQueries::GetNote(const QDate &date)
{
    return firstValue(QStringLiteral("qryNote"), {{QStringLiteral("pDate"), date}},
                      QStringLiteral("Note"))
        .value_or(QString())
        .toString();
}

int DocumentQueries::GetWorkWeeks()
{
    return firstValue(QStringLiteral("qryGetWorkWeeks"), {}, QStringLiteral("WeekLessons"))
        .value_or(0)
        .toInt();
}

} // namespace korvesta
