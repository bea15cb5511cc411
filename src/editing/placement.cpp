#include "placement.h"

#include "data/calendar.h"
#include "data/database.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/history.h"
#include "data/prompts.h"
#include "data/querydef.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "data/tutorabsence.h"
#include "editing/lessonclashes.h"
#include "editing/placedcell.h"
#include "editing/placementguard.h"
#include "editing/timetablerows.h"
#include "editing/tutorday.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"


#include <algorithm>
#include <set>
#include <utility>

namespace korvesta {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");
const QString kSettings = QStringLiteral("Settings");

QString text(const Recordset &rs, const QString &field)
{
    return rs.value(field).toString();
}

// A colour setting kept as 0x00BBGGRR; a system colour (high bit set) is the ordinary colour.
QColor storedColor(const SettingsStore &store, const QString &key, int defaultValue)
{
    const quint32 value = quint32(store.readInt(kSettings, key, defaultValue));
    if (value & 0x80000000u)
        return QColor();
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QColor levelColor(const SettingsStore &store, int level)
{
    switch (level) {
    case 0:
        return storedColor(store, QStringLiteral("LevelDiff_0"), int(0x80000008u));
    case 1:
        return storedColor(store, QStringLiteral("LevelDiff_1"), 0x8000);
    case 2:
        return storedColor(store, QStringLiteral("LevelDiff_2"), 0x800000);
    default:
        return QColor();
    }
}

// Rows of lessons of one group at the date and lesson, in subgroup order.
QString groupCellRows(int keyGroup, int keyDay, int first, int last)
{
    return QStringLiteral("SELECT tblTimeTableContent.* FROM tblTimeTableContent WHERE "
                          "(((tblTimeTableContent.Key_Group)=%1) AND "
                          "((tblTimeTableContent.Key_TTList)=%2) AND "
                          "((tblTimeTableContent.Lesson) Between %3 And %4)) "
                          "ORDER BY tblTimeTableContent.SubGroup, tblTimeTableContent.Key;")
        .arg(keyGroup)
        .arg(keyDay)
        .arg(std::min(first, last))
        .arg(std::max(first, last));
}

QString tutorCellRows(int keyTutor, int keyDay, int lesson)
{
    return QStringLiteral("SELECT tblTimeTableContent.* FROM tblTimeTableContent INNER JOIN "
                          "tblJob ON tblTimeTableContent.Key_Job = tblJob.Key WHERE "
                          "tblJob.Key_Tutor = %1 AND tblTimeTableContent.Key_TTList = %2 AND "
                          "tblTimeTableContent.Lesson = %3;")
        .arg(keyTutor)
        .arg(keyDay)
        .arg(lesson);
}

bool cellEmpty(const Database &db, PlacementMode mode, int key, const QDate &date, int lesson)
{
    const int day = existingDayKey(db, date);
    if (day == 0)
        return true;
    const QString sql = mode == PlacementMode::Group ? groupCellRows(key, day, lesson, lesson)
                                                     : tutorCellRows(key, day, lesson);
    return db.openRecordset(sql).isEmpty();
}

std::vector<PlacementLessonType> readLessonTypes(const Database &db)
{
    std::vector<PlacementLessonType> types;
    for (Recordset rs = db.openRecordset(QStringLiteral(
             "SELECT tblTypeLesson.* FROM tblTypeLesson ORDER BY tblTypeLesson.Key;"));
         !rs.isEof(); rs.moveNext()) {
        types.push_back({rs.value(QStringLiteral("Key")).toInt(),
                         QStringLiteral("(") + text(rs, QStringLiteral("ShortTypeLesson"))
                             + QStringLiteral(") - ")
                             + text(rs, QStringLiteral("LongTypeLesson"))});
    }
    return types;
}

} // namespace

// Every auditorium with its state at the lesson. The lessons of the cell itself are replaced
// by the placement, so the auditoriums only they hold count as free.
std::vector<PlacementAuditorium> readAuditoriums(const Database &db, const PlacementChoice &c)
{
    const QDate &date = c.date;
    const int lesson = c.lesson;
    std::set<int> takenElsewhere;
    const int day = c.cellWasEmpty ? 0 : existingDayKey(db, date);
    if (day != 0) {
        const QString ownCell =
            c.mode == PlacementMode::Group
                ? QStringLiteral("tblTimeTableContent.Key_Group = %1").arg(c.keyGroup)
                : QStringLiteral("tblJob.Key_Tutor = %1").arg(c.keyTutor);
        for (Recordset rs =
                 db.openRecordset(QStringLiteral("SELECT DISTINCT tblTimeTableContent.Key_Aud FROM "
                                                 "tblTimeTableContent INNER JOIN tblJob ON "
                                                 "tblTimeTableContent.Key_Job = tblJob.Key WHERE "
                                                 "tblTimeTableContent.Key_TTList = %1 AND "
                                                 "tblTimeTableContent.Lesson = %2 AND Not (%3);")
                                      .arg(day)
                                      .arg(lesson)
                                      .arg(ownCell));
             !rs.isEof(); rs.moveNext())
            takenElsewhere.insert(rs.value(0).toInt());
    }
    std::vector<PlacementAuditorium> auds;
    for (Recordset rs =
             openSavedQuery(db, QStringLiteral("qryFreeBusyAuditories"),
                       {{QStringLiteral("pLesson"), lesson}, {QStringLiteral("pDate"), date}});
         !rs.isEof(); rs.moveNext()) {
        const int key = rs.value(QStringLiteral("Key")).toInt();
        const bool free = rs.value(QStringLiteral("FreeItem")).toBool()
                          || (day != 0 && !takenElsewhere.count(key));
        auds.push_back({key, auditoriumText(rs), free});
    }
    return auds;
}

namespace {

// What the exhausted lines become under the settings: greyed, gone, or left as they are.
enum class Exhausted { Grey, Remove, Keep };

Exhausted exhaustedHandling(const SettingsRecord &settings)
{
    if (!settings.JobOverFlow)
        return Exhausted::Keep;
    return settings.OverFlowView ? Exhausted::Grey : Exhausted::Remove;
}

} // namespace

int partnerLesson(int lesson)
{
    return lesson % 2 == 1 ? lesson + 1 : lesson - 1;
}

QString tutorExceptionText(const Database &db, int keyTutor, const QDate &date, int lesson)
{
    return TutorAbsences::read(db, {keyTutor}).reason(keyTutor, date, lesson);
}

namespace {

// The tutor is free at the lesson; his lessons in `exceptGroup`'s cell do not count, since
// placing there replaces them.
bool tutorFreeFor(const Database &db, int keyTutor, const QDate &date, int lesson, int exceptGroup)
{
    if (!tutorExceptionText(db, keyTutor, date, lesson).isEmpty())
        return false;
    for (Recordset rs = openSavedQuery(db, QStringLiteral("qryTutorLessonsOnDay"),
                                  {{QStringLiteral("pLesson"), lesson},
                                   {QStringLiteral("pDate"), date},
                                   {QStringLiteral("pKeyTutor"), keyTutor}});
         !rs.isEof(); rs.moveNext()) {
        if (exceptGroup == 0 || rs.value(QStringLiteral("Key_Group")).toInt() != exceptGroup)
            return false;
    }
    return true;
}

} // namespace

bool isTutorFree(const Database &db, int keyTutor, const QDate &date, int lesson)
{
    return tutorFreeFor(db, keyTutor, date, lesson, 0);
}

// Opening ---------------------------------------------------------------------------------------

LessonPlacement::LessonPlacement(DocumentSession &session, const SettingsRecord &settings,
                                 const SettingsStore &store, Prompts &prompts)
    : m_session(session)
    , m_settings(settings)
    , m_store(store)
    , m_prompts(prompts)
{}

namespace {

// The refusals both modes share: a lesson outside the day, a protected date, no lesson types.
bool lessonRefused(const SettingsRecord &settings, Prompts &prompts, int lesson)
{
    const int last = std::max(settings.LessonsInDay, 1);
    if (lesson >= 1 && lesson <= last)
        return false;
    prompts.message(QStringLiteral("Номер урока должен быть от 1 до ") + QString::number(last),
                    Prompts::Icon::Warning);
    return true;
}

} // namespace

std::optional<PlacementChoice> LessonPlacement::open(PlacementMode mode, const QDate &date,
                                                     int lesson, const Completion &complete)
{
    m_status.clear();
    if (lessonRefused(m_settings, m_prompts, lesson))
        return std::nullopt;
    const std::optional<Database> db = m_session.access();
    if (!db)
        return std::nullopt;
    try {
        if (const QString refusal = calendarRefusal(*db, date, m_settings.WorkDays);
            !refusal.isEmpty()) {
            m_status = refusal;
            m_prompts.message(refusal, Prompts::Icon::Information);
            return std::nullopt;
        }
        if (dateProtected(*db, date)) {
            m_status = QStringLiteral("Дата заблокирована для редактирования");
            m_prompts.message(m_status, Prompts::Icon::Critical);
            return std::nullopt;
        }
        PlacementChoice c;
        c.mode = mode;
        c.date = date;
        c.lesson = lesson;
        c.partner = partnerLesson(lesson);
        return complete(*db, std::move(c));
    } catch (const DbError &error) {
        m_session.handleError(error);
        return std::nullopt;
    }
}

std::optional<PlacementChoice> LessonPlacement::openForGroup(const QDate &date, int lesson,
                                                             const QString &group,
                                                             const QString &course,
                                                             const QString &faculty)
{
    return open(
        PlacementMode::Group, date, lesson,
        [&](const Database &db, PlacementChoice c) -> std::optional<PlacementChoice> {
            c.objectName = group.trimmed();
            c.course = course.trimmed();
            const QString facultyName =
                faculty.trimmed().isEmpty() ? QStringLiteral("отсутствует") : faculty.trimmed();
            c.keyGroup = firstNumber(db, QStringLiteral("qryGetKeyGroup"),
                                  {{QStringLiteral("pGroup"), c.objectName},
                                   {QStringLiteral("pCourse"), c.course},
                                   {QStringLiteral("pFaculty"), facultyName},
                                   {QStringLiteral("pTuition"), QStringLiteral("Очная")},
                                   {QStringLiteral("pFinance"), QStringLiteral("Бюджетная")}},
                                  QStringLiteral("Key"));
            if (c.keyGroup == 0) {
                m_prompts.message(QStringLiteral("Группа ") + c.objectName
                                      + QStringLiteral(" (курс ") + c.course
                                      + QStringLiteral(") не найдена"),
                                  Prompts::Icon::Warning);
                return std::nullopt;
            }
            c.cellWasEmpty = cellEmpty(db, c.mode, c.keyGroup, date, lesson);
            const int count = firstNumber(
                db, QStringLiteral("qryCountGroupLessonsInDay"),
                {{QStringLiteral("pKeyGroup"), c.keyGroup}, {QStringLiteral("pDate"), date}},
                QStringLiteral("CountLessons"));
            const int limit = m_settings.LessonsToGroup;
            if (limit > 0 && c.cellWasEmpty && count >= limit) {
                m_prompts.message(
                    QStringLiteral("Достигнут предел количества занятий в день для учебной группы"),
                    Prompts::Icon::Warning);
                return std::nullopt;
            }
            Recordset rs = openSavedQuery(db, QStringLiteral("qrySelJobGroup"),
                                     {{QStringLiteral("pKeyGroup"), c.keyGroup}});
            if (rs.isEmpty()) {
                m_prompts.message(QStringLiteral("Нет доступных преподавателей"));
                return std::nullopt;
            }
            c.lessonTypes = readLessonTypes(db);
            if (c.lessonTypes.empty()) {
                m_prompts.message(QStringLiteral("Не задан список типов занятий"),
                                  Prompts::Icon::Warning);
                return std::nullopt;
            }
            // Without a limit of its own the day is the limit: its lessons not yet taken.
            c.freeLessons = (limit > 0 ? limit : m_settings.LessonsInDay) - count;
            c.freeLessonsText = QStringLiteral("Доступных занятий в день - ")
                                + QString::number(std::max(
                                    0, c.freeLessons)); // a day already over its limit has none
            c.tag = QStringLiteral("Расписание");
            c.caption = QStringLiteral("Выбор дисциплины и преподавателя");
            c.frameCaption = QStringLiteral("Дисциплины и преподаватели в группе  ") + c.objectName
                             + QStringLiteral(" (курс ") + c.course + QLatin1Char(')');
            c.hint = QStringLiteral("- чекбокс для подгрупп");
            c.headers = {QStringLiteral("Дисц"),          QStringLiteral("Дисциплина"),
                         QStringLiteral("Преподаватель"), QStringLiteral("Аудитория"),
                         QStringLiteral("Осталось"),      QStringLiteral("DoubleLesson")};
            const bool pairInDay = c.partner >= 1 && c.partner <= m_settings.LessonsInDay;
            c.pairEnabled = c.freeLessons > 2 && pairInDay;
            c.pairChecked = c.pairEnabled && m_settings.MergeLessons;
            c.jobOverFlow = m_settings.JobOverFlow;
            c.overFlowView = m_settings.OverFlowView;
            c.checkAuditoria = m_settings.CheckAuditoria;
            const bool marks = m_settings.JobOverFlow && m_settings.OverFlowView;
            const Exhausted exhausted = exhaustedHandling(m_settings);
            const TutorDay tutors(db, date,
                                  pairInDay ? std::vector<int>{lesson, c.partner}
                                            : std::vector<int>{lesson});
            for (; !rs.isEof(); rs.moveNext()) {
                PlacementLine l;
                l.keyJobList = rs.value(QStringLiteral("KeyJobList")).toInt();
                l.discipline = text(rs, QStringLiteral("Discipline"));
                l.discipline1 = text(rs, QStringLiteral("Discipline1"));
                l.levelDiff = rs.value(QStringLiteral("LevelDiff")).toInt();
                if (m_settings.ShowLevelDiff)
                    l.disciplineColor = levelColor(m_store, l.levelDiff);
                l.tutor = text(rs, QStringLiteral("Tutor"));
                l.keyTutor = rs.value(QStringLiteral("KeyTutor")).toInt();
                l.auditorium = auditoriumText(rs);
                l.keyAud = rs.value(QStringLiteral("KeyAud")).toInt();
                l.hours = rs.value(QStringLiteral("Hours")).toInt();
                l.placed = rs.value(QStringLiteral("CountLesson")).toInt();
                l.group = c.objectName;
                l.course = c.course;
                l.keyGroup = c.keyGroup;
                if (marks && !tutors.isFree(l.keyTutor, lesson, c.keyGroup)) {
                    l.tutorBusy = true;
                    l.tooltip = QStringLiteral("Преподаватель занят на данный урок");
                    const QString away = tutors.absenceText(l.keyTutor, lesson);
                    l.busyReason = away.isEmpty()
                                       ? QStringLiteral("ведёт другое занятие на этом уроке")
                                       : QStringLiteral("отсутствует (")
                                             + QString(away).replace(kLineBreak,
                                                                     QStringLiteral(", "))
                                             + QLatin1Char(')');
                }
                l.pairFree = pairInDay && tutors.isFree(l.keyTutor, c.partner, c.keyGroup);
                if (l.left() <= 0) {
                    if (exhausted == Exhausted::Remove)
                        continue;
                    if (exhausted == Exhausted::Grey) {
                        l.exhausted = true;
                        l.tooltip = QStringLiteral("Все часы по дисциплине отработаны");
                    }
                }
                c.lines.push_back(l);
            }
            c.auditoriums = readAuditoriums(db, c);
            c.picks.resize(size_t(std::max(m_settings.SubGroupCount, 1)) + 1);
            return c;
        });
}

std::optional<PlacementChoice> LessonPlacement::openForTutor(const QDate &date, int lesson,
                                                             const QString &tutor)
{
    return open(
        PlacementMode::Tutor, date, lesson,
        [&](const Database &db, PlacementChoice c) -> std::optional<PlacementChoice> {
            c.objectName = tutor.trimmed();
            {
                const Recordset found = db.openRecordset(
                    QStringLiteral(
                        "SELECT tblTutors.Key FROM tblTutors WHERE tblTutors.Tutor = %1;")
                        .arg(sqlText(c.objectName)));
                c.keyTutor = found.isEmpty() ? 0 : found.value(0).toInt();
            }
            if (c.keyTutor == 0) {
                m_prompts.message(QStringLiteral("Преподаватель ") + c.objectName
                                      + QStringLiteral(" не найден"),
                                  Prompts::Icon::Warning);
                return std::nullopt;
            }
            c.cellWasEmpty = cellEmpty(db, c.mode, c.keyTutor, date, lesson);
            const int count = firstNumber(
                db, QStringLiteral("qryCountTutorLessonsInDay"),
                {{QStringLiteral("pDate"), date}, {QStringLiteral("pKeyTutor"), c.keyTutor}},
                QStringLiteral("CountLessons"));
            const int limit = m_settings.LessonsToTutor;
            if (limit > 0 && c.cellWasEmpty && count >= limit) {
                m_prompts.message(
                    QStringLiteral("Достигнут предел дневной нагрузки для преподавателя"),
                    Prompts::Icon::Warning);
                return std::nullopt;
            }
            const QString exception = tutorExceptionText(db, c.keyTutor, date, lesson);
            if (!exception.isEmpty()) {
                m_prompts.message(exception, Prompts::Icon::Information);
                return std::nullopt;
            }
            Recordset rs = openSavedQuery(db, QStringLiteral("qrySelJobTutor"),
                                     {{QStringLiteral("pKeyTutor"), c.keyTutor}});
            if (rs.isEmpty()) {
                m_prompts.message(QStringLiteral("У преподавателя нет учебной нагрузки"));
                return std::nullopt;
            }
            c.lessonTypes = readLessonTypes(db);
            if (c.lessonTypes.empty()) {
                m_prompts.message(QStringLiteral("Не задан список типов занятий"),
                                  Prompts::Icon::Warning);
                return std::nullopt;
            }
            c.initialAuditorium = auditoriumText(rs);
            // Without a limit of its own the day is the limit: its lessons not yet taken.
            c.freeLessons = (limit > 0 ? limit : m_settings.LessonsInDay) - count;
            c.freeLessonsText = QStringLiteral("Доступных занятий в день - ")
                                + QString::number(std::max(
                                    0, c.freeLessons)); // a day already over its limit has none
            c.tag = QStringLiteral("График");
            c.caption = QStringLiteral("Выбор группы и дисциплины");
            c.frameCaption = QStringLiteral("Группы и дисциплины у преподавателя  ") + c.objectName;
            c.hint = QStringLiteral("- чекбокс для лекций");
            c.headers = {QStringLiteral("Группа"), QStringLiteral("Дисц"),
                         QStringLiteral("Дисциплина"), QStringLiteral("Осталось")};
            c.jobOverFlow = m_settings.JobOverFlow;
            c.overFlowView = m_settings.OverFlowView;
            c.checkAuditoria = m_settings.CheckAuditoria;
            const Exhausted exhausted = exhaustedHandling(m_settings);
            for (; !rs.isEof(); rs.moveNext()) {
                PlacementLine l;
                l.keyJobList = rs.value(QStringLiteral("KeyJobList")).toInt();
                l.group = text(rs, QStringLiteral("Group"));
                l.course = text(rs, QStringLiteral("Course"));
                l.keyGroup = rs.value(QStringLiteral("KeyGroup")).toInt();
                l.discipline = text(rs, QStringLiteral("Discipline"));
                l.discipline1 = text(rs, QStringLiteral("Discipline1"));
                l.levelDiff = rs.value(QStringLiteral("LevelDiff")).toInt();
                if (m_settings.ShowLevelDiff)
                    l.disciplineColor = levelColor(m_store, l.levelDiff);
                l.tutor = c.objectName;
                l.keyTutor = c.keyTutor;
                l.auditorium = c.initialAuditorium;
                l.keyAud = rs.value(QStringLiteral("KeyAud")).toInt();
                l.hours = rs.value(QStringLiteral("Hours")).toInt();
                l.placed = rs.value(QStringLiteral("CountLesson")).toInt();
                const Recordset busy = openSavedQuery(db, QStringLiteral("qryGroupLessonsInDay"),
                                                 {{QStringLiteral("pLesson"), lesson},
                                                  {QStringLiteral("pDate"), date},
                                                  {QStringLiteral("pKeyGroup"), l.keyGroup}});
                if (!busy.isEmpty()) {
                    l.groupBusy = true;
                    l.tooltip = QStringLiteral("Группа занята на данном уроке");
                }
                if (l.left() <= 0) {
                    if (exhausted == Exhausted::Remove)
                        continue;
                    if (exhausted == Exhausted::Grey) {
                        l.exhausted = true;
                        l.tooltip = QStringLiteral("Все часы по группе отработаны");
                    }
                }
                c.lines.push_back(l);
            }
            c.auditoriums = readAuditoriums(db, c);
            c.picks.resize(size_t(std::max(m_settings.CountGroupOnLecture, 1)) + 1);
            return c;
        });
}

bool auditoriumsGiven(PlacementChoice &c, const std::vector<int> &boxes, Prompts &prompts)
{
    for (int i : boxes) {
        PlacementSlot &s = c.picks[size_t(i)];
        if (s.auditorium.trimmed().isEmpty()) {
            prompts.message(QStringLiteral("Выберите аудиторию"), Prompts::Icon::Warning);
            return false;
        }
        if (s.keyAud == 0)
            c.typeAuditorium(i, s.auditorium);
        if (s.keyAud == 0) {
            prompts.message(QStringLiteral("Аудитория '") + s.auditorium.trimmed()
                                + QStringLiteral("' не найдена в списке аудиторий"),
                            Prompts::Icon::Warning);
            return false;
        }
    }
    return true;
}

bool occupiedAuditoriumsAccepted(const PlacementChoice &c, const std::vector<int> &boxes,
                                 Prompts &prompts)
{
    if (!c.checkAuditoria)
        return true;
    std::set<int> asked;
    for (int i : boxes) {
        const PlacementSlot &s = c.picks[size_t(i)];
        const bool free =
            std::any_of(c.auditoriums.begin(), c.auditoriums.end(),
                        [&](const PlacementAuditorium &a) { return a.key == s.keyAud && a.free; });
        if (free || !asked.insert(s.keyAud).second)
            continue;
        const Prompts::Answer answer = prompts.askOkCancel(
            occupiedAuditoriumQuestion(s.auditorium, QStringLiteral(" занята на данном на уроке")),
            Prompts::Icon::Warning);
        if (answer != Prompts::Answer::Ok)
            return false;
    }
    return true;
}

// Adding ---------------------------------------------------------------------------------------

PlacementResult LessonPlacement::add(PlacementChoice &c, const PlacementRequest &request)
{
    const PlacementResult refused;
    const std::vector<int> used = c.checkedSlots();
    if (used.empty()) {
        m_prompts.message(QStringLiteral("Отметьте в списке хотя бы одну строку"),
                          Prompts::Icon::Warning);
        return refused;
    }
    const std::vector<int> boxes = c.auditoriumSlots();
    if (!auditoriumsGiven(c, boxes, m_prompts))
        return refused;
    QStringList blocked;
    for (int i : used) {
        const PlacementLine *l = c.line(c.picks[size_t(i)].keyJobList);
        const bool greyed = c.jobOverFlow && c.overFlowView && l && l->exhausted;
        if (!l)
            blocked << QStringLiteral("строка нагрузки не найдена");
        else if (c.mode == PlacementMode::Group && l->tutorBusy)
            blocked << l->tutor + QStringLiteral(": ") + l->busyReason;
        else if (greyed)
            blocked << l->discipline + QStringLiteral(" (") + l->tutor + QStringLiteral("): ")
                           + l->tooltip.toLower();
    }
    if (!blocked.isEmpty()) {
        m_prompts.message(QStringLiteral("Выбраны заблокированные позиции") + kLineBreak
                              + blocked.join(kLineBreak),
                          Prompts::Icon::None, QStringLiteral("Редактирование нагрузки"));
        return refused;
    }
    const bool typeKnown =
        std::any_of(c.lessonTypes.begin(), c.lessonTypes.end(),
                    [&](const PlacementLessonType &t) { return t.key == request.keyTypeLesson; });
    if (!typeKnown) {
        m_prompts.message(QStringLiteral("Выберите тип занятия"), Prompts::Icon::Warning);
        return refused;
    }
    const std::optional<Database> db = m_session.access();
    if (!db)
        return {PlacementOutcome::Failed, {}};
    PlacementAgreement agreement;
    try {
        if (!placementAgreed(*db, c, request, m_prompts, agreement))
            return refused;
    } catch (const DbError &error) {
        m_session.handleError(error);
        return {PlacementOutcome::Failed, {}};
    }
    // The step's caption, as the edit menu shows it: "занятие «Алгебра» на 14.09.2026, урок 3".
    QStringList disciplines;
    for (int i : used) {
        const QString name = QStringLiteral("«") + c.line(c.picks[size_t(i)].keyJobList)->discipline
                             + QStringLiteral("»");
        if (!disciplines.contains(name))
            disciplines.push_back(name);
    }
    const bool paired = c.mode == PlacementMode::Group && request.paired && c.partner >= 1;
    const QString caption =
        (disciplines.size() > 1 ? QStringLiteral("занятия ") : QStringLiteral("занятие "))
        + disciplines.join(QStringLiteral(", ")) + QStringLiteral(" на ")
        + c.date.toString(QStringLiteral("dd.MM.yyyy"))
        + (paired ? QStringLiteral(", уроки %1–%2")
                        .arg(std::min(c.lesson, c.partner))
                        .arg(std::max(c.lesson, c.partner))
                  : QStringLiteral(", урок %1").arg(c.lesson));
    try {
        const History::Step step(*db, caption);
        return write(*db, c, request, agreement);
    } catch (const DbError &error) {
        m_session.handleError(error);
        return {PlacementOutcome::Failed, {}};
    }
}

PlacementResult LessonPlacement::write(const Database &db, const PlacementChoice &c,
                                       const PlacementRequest &request,
                                       const PlacementAgreement &agreement)
{
    Database::Transaction transaction(db);
    // The date's lessons, groups and tutors this placement checks and writes are held, not
    // the whole date: other planners place other lessons of it meanwhile.
    {
        std::vector<int> lessons{c.lesson};
        if (c.mode == PlacementMode::Group && request.paired && c.partner >= 1)
            lessons.push_back(c.partner);
        std::vector<int> groups{c.keyGroup};
        std::vector<int> tutors{c.keyTutor};
        for (size_t i = 1; i < c.picks.size(); ++i) {
            if (const PlacementLine *line = c.line(c.picks[i].keyJobList)) {
                groups.push_back(line->keyGroup);
                tutors.push_back(line->keyTutor);
            }
        }
        db.lockDateCells(c.date, lessons, groups, tutors);
    }
    // Another program may have protected the date since the choice opened.
    if (dateProtected(db, c.date)) {
        m_prompts.message(QStringLiteral("Дата заблокирована для редактирования"),
                          Prompts::Icon::Critical);
        return {PlacementOutcome::Refused, {}};
    }
    const int day = timetableDayKey(db, c.date, m_settings.SaveCurrTable);
    const bool group = c.mode == PlacementMode::Group;
    const bool paired = group && request.paired && c.partner >= 1;
    const int key = group ? c.keyGroup : c.keyTutor;
    const auto keysOf = [&](const QString &sql) {
        std::vector<qint64> keys;
        for (Recordset rs = db.openRecordset(sql); !rs.isEof(); rs.moveNext())
            keys.push_back(rs.value(QStringLiteral("Key")).toLongLong());
        return keys;
    };
    const auto dropped = [&] {
        m_prompts.message(
            QStringLiteral("Редактирование данной ячейки уже произведено другим пользователем.")
                + kLineBreak + QStringLiteral("Ваш ввод занятия отменён"),
            Prompts::Icon::Critical);
        return PlacementResult{PlacementOutcome::Dropped, {}};
    };

    // Somebody else may have filled or emptied the cell, or its pair's, since it was opened.
    const QString cellRows =
        group ? groupCellRows(key, day, c.lesson, c.lesson) : tutorCellRows(key, day, c.lesson);
    if (db.openRecordset(cellRows).isEmpty() != c.cellWasEmpty)
        return dropped();
    if (paired && keysOf(groupCellRows(key, day, c.partner, c.partner)) != agreement.partnerLessons)
        return dropped();
    // The new lessons replace what the cell (and, for a pair, its partner) held.
    const std::vector<qint64> replaced =
        keysOf(group ? groupCellRows(key, day, c.lesson, paired ? c.partner : c.lesson)
                     : cellRows);

    // The lessons to write, each as the clash rules see it.
    struct Planned
    {
        SlotLesson slot;
        int renumber = 0; // by tutor: the group's lessons then become subgroups 1..n
    };
    std::vector<Planned> planned;
    int lectureAud = 0;
    // By group, one line alone is the whole group's lesson (subgroup 0), as the tutor's
    // placing writes it; the first slot is a subgroup only beside another.
    const auto used = std::count_if(c.picks.begin() + 1, c.picks.end(),
                                    [](const PlacementSlot &s) { return s.keyJobList != 0; });
    const bool wholeGroup = group && used == 1 && c.picks.size() > 1 && c.picks[1].keyJobList != 0;
    for (size_t i = 1; i < c.picks.size(); ++i) {
        const PlacementSlot &s = c.picks[i];
        if (s.keyJobList == 0)
            continue;
        if (lectureAud == 0)
            lectureAud = s.keyAud;
        const Recordset keys = openSavedQuery(db, QStringLiteral("qryKeysJob"),
                                              {{QStringLiteral("pKeyJobList"), s.keyJobList}});
        SlotLesson slot;
        QString discipline;
        if (!keys.isEmpty()) {
            slot.keyJob = keys.value(QStringLiteral("Key_Job")).toInt();
            slot.keyGroup = keys.value(QStringLiteral("Key_Group")).toInt();
            const Recordset job = db.openRecordset(
                QStringLiteral("SELECT tblJob.Key_Tutor, tblDisciplines.Discipline FROM tblJob "
                               "INNER JOIN tblDisciplines ON tblDisciplines.Key = "
                               "tblJob.Key_Discipline WHERE tblJob.Key = %1;")
                    .arg(slot.keyJob));
            slot.keyTutor = job.isEmpty() ? 0 : job.value(0).toInt();
            discipline = job.isEmpty() ? QString() : job.value(1).toString();
        }
        // The line is written as the dialog showed it, or not at all: another planner may
        // have removed it or given it to another group, tutor or discipline since.
        const PlacementLine *line = c.line(s.keyJobList);
        if (!line || slot.keyJob == 0 || slot.keyGroup != line->keyGroup
            || slot.keyTutor != line->keyTutor || discipline != line->discipline) {
            m_prompts.message(QStringLiteral("Строку нагрузки «%1 (%2), %3, %4» изменил другой "
                                             "пользователь.")
                                      .arg(line ? line->group : QString(),
                                           line ? line->course : QString(),
                                           line ? line->discipline : QString(),
                                           line ? line->tutor : QString())
                                  + kLineBreak + QStringLiteral("Ваш ввод занятия отменён"),
                              Prompts::Icon::Critical);
            return {PlacementOutcome::Dropped, {}};
        }
        slot.group = line ? line->group + QStringLiteral(" (") + line->course + QLatin1Char(')')
                          : QString();
        slot.text = line ? slot.group + QStringLiteral(", ") + line->discipline
                               + QStringLiteral(", ") + line->tutor
                         : QString();
        slot.lesson = c.lesson;
        if (group) {
            slot.keyAud = s.keyAud;
            slot.subGroup = wholeGroup ? 0 : int(i);
            planned.push_back({slot, 0});
            if (paired) {
                slot.lesson = c.partner;
                planned.push_back({slot, 0});
            }
            continue;
        }
        // A group of the lecture that already has lessons then gets one more subgroup.
        const int k = int(keysOf(groupCellRows(slot.keyGroup, day, c.lesson, c.lesson)).size());
        if (k > 0 && k >= m_settings.SubGroupCount) {
            m_prompts.message(QStringLiteral("Достигнут предел количества подгрупп"));
            continue;
        }
        slot.keyAud = lectureAud;
        slot.subGroup = k == 0 ? 0 : k + 1;
        planned.push_back({slot, k});
    }
    if (planned.empty())
        return {PlacementOutcome::Refused, {}}; // every group was refused, and told
    // The lines' hours are held until the lessons are written: another planner's copy or
    // placement may have used the last one since the choice opened.
    std::vector<std::pair<int, int>> lines;
    for (const Planned &p : planned)
        lines.emplace_back(p.slot.keyGroup, p.slot.keyJob);
    db.lockLoadLines(lines);
    std::vector<SlotLesson> added;
    for (const Planned &p : planned)
        added.push_back(p.slot);
    if (const QString refusal =
            placementRefusal(db, c, added, replaced, agreement, m_settings);
        !refusal.isEmpty()) {
        m_prompts.message(refusal + kLineBreak + QStringLiteral("Занятие не поставлено"),
                          Prompts::Icon::Warning);
        return {PlacementOutcome::Refused, {}};
    }

    for (const qint64 gone : replaced)
        db.execute(QStringLiteral("DELETE FROM tblTimeTableContent WHERE "
                                  "tblTimeTableContent.Key = %1;")
                       .arg(gone));
    Recordset rows = db.openRecordset(
        QStringLiteral("SELECT tblTimeTableContent.* FROM tblTimeTableContent WHERE False;"));
    for (const Planned &p : planned) {
        if (p.renumber > 0) {
            Recordset others =
                db.openRecordset(groupCellRows(p.slot.keyGroup, day, c.lesson, c.lesson));
            for (int n = 1; !others.isEof(); others.moveNext(), ++n) {
                others.edit();
                others.setValue(QStringLiteral("SubGroup"), n);
                others.update();
            }
        }
        rows.addNew();
        rows.setValue(QStringLiteral("Key_Job"), p.slot.keyJob);
        rows.setValue(QStringLiteral("Key_Group"), p.slot.keyGroup);
        rows.setValue(QStringLiteral("Lesson"), p.slot.lesson);
        rows.setValue(QStringLiteral("Key_Aud"), p.slot.keyAud);
        rows.setValue(QStringLiteral("Key_TTList"), day);
        rows.setValue(QStringLiteral("SubGroup"), p.slot.subGroup);
        rows.setValue(QStringLiteral("Key_TypeLesson"), request.keyTypeLesson);
        rows.update();
    }
    PlacementResult result;
    result.outcome = PlacementOutcome::Written;
    const int code = group ? m_store.readInt(kSettings, QStringLiteral("DisplayTextTable"), 18)
                           : m_store.readInt(kSettings, QStringLiteral("DisplayTextWorkTable"), 8);
    result.cells.push_back(composeCell(db, c.mode, key, day, c.lesson, code));
    if (paired)
        result.cells.push_back(composeCell(db, c.mode, key, day, c.partner, code));
    transaction.commit();
    return result;
}

} // namespace korvesta
