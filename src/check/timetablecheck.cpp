#include "timetablecheck.h"

#include "data/connection.h"
#include "data/database.h"
#include "data/dberror.h"
#include "data/isodate.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "data/studyperiod.h"
#include "data/tutorabsence.h"
#include "settings/settingsrecord.h"

#include <QFileInfo>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace korvesta {

namespace {

QString day(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

// One lesson as the check reads it: keys only; the names are looked up when a problem is
// told. A has... flag is false when the record the lesson points at is gone.
struct Lesson
{
    int key = 0;
    QDate date;
    int lesson = 0;
    int subgroup = 0;
    int keyJob = 0;
    int keyGroup = 0;
    int keyAud = 0;
    int keyTutor = 0;
    bool hasDate = false, hasGroup = false, hasJob = false, hasTutor = false, hasAud = false;

    // What a lesson is, whoever attends it: a lecture for several groups is one lesson.
    std::pair<int, int> teaching() const { return {keyJob, keyAud}; }
};

// The names of the records lessons point at.
struct Names
{
    QHash<int, std::pair<QString, QString>> groups; // name, course
    QHash<int, QString> tutors, auditoriums;
    QHash<int, std::pair<int, QString>> jobs; // tutor, discipline

    QString group(const Lesson &l) const
    {
        const auto g = groups.value(l.keyGroup);
        return g.first + QStringLiteral(" (") + g.second + QLatin1Char(')');
    }
    QString tutor(const Lesson &l) const { return tutors.value(l.keyTutor); }
    QString discipline(const Lesson &l) const { return jobs.value(l.keyJob).second; }
    QString auditorium(const Lesson &l) const { return auditoriums.value(l.keyAud); }
    // "П-1 (1), Матем, Иванов"
    QString lessonText(const Lesson &l) const
    {
        return group(l) + QStringLiteral(", ") + discipline(l) + QStringLiteral(", ") + tutor(l);
    }
};

struct Period
{
    QString type;
    QDate start, end;
};

struct Absence : TutorAbsence
{
    int keyTutor = 0;
    QString kind;
};

class Checker
{
public:
    Checker(const Database &db, const SettingsRecord &settings, const QDate &from, const QDate &to)
        : m_db(db)
        , m_settings(settings)
        , m_from(from)
        , m_to(to)
    {}

    TimetableCheck run();
    void setScan(IntegrityScan scan) { m_scan = scan; }

private:
    void readNames();
    void readLessons();
    void readCalendar();
    void readAbsences();
    void checkEachLesson();
    void checkClashes();
    void checkDayLimits();
    void checkHours();
    void add(ProblemKind kind, const Lesson *at, const QString &objects, const QString &why);

    const Database &m_db;
    const SettingsRecord &m_settings;
    QDate m_from, m_to;
    IntegrityScan m_scan = IntegrityScan::Quick;
    std::vector<Lesson> m_lessons;
    Names m_names;
    std::vector<Period> m_periods;
    QDate m_studyStart, m_studyEnd;
    QHash<int, std::vector<Absence>> m_absences; // by tutor
    TimetableCheck m_check;
};

void Checker::readNames()
{
    for (Recordset rs = m_db.openRecordset(QStringLiteral(
             "SELECT tblGroups.Key, tblGroups.[Group], tblGroups.Course FROM tblGroups;"));
         !rs.isEof(); rs.moveNext())
        m_names.groups.insert(rs.value(0).toInt(), {rs.value(1).toString(), rs.value(2).toString()});
    for (Recordset rs = m_db.openRecordset(
             QStringLiteral("SELECT tblTutors.Key, tblTutors.Tutor FROM tblTutors;"));
         !rs.isEof(); rs.moveNext())
        m_names.tutors.insert(rs.value(0).toInt(), rs.value(1).toString());
    for (Recordset rs = m_db.openRecordset(QStringLiteral(
             "SELECT tblAuditories.Key, tblAuditories.Auditoria, tblAuditories.Corpus "
             "FROM tblAuditories;"));
         !rs.isEof(); rs.moveNext())
        m_names.auditoriums.insert(rs.value(0).toInt(), rs.value(1).toString()
                                                            + QStringLiteral(" (")
                                                            + rs.value(2).toString()
                                                            + QLatin1Char(')'));
    for (Recordset rs = m_db.openRecordset(
             QStringLiteral("SELECT tblJob.Key, tblJob.Key_Tutor, tblDisciplines.Discipline FROM "
                            "tblJob LEFT JOIN tblDisciplines ON tblJob.Key_Discipline = "
                            "tblDisciplines.Key;"));
         !rs.isEof(); rs.moveNext())
        m_names.jobs.insert(rs.value(0).toInt(), {rs.value(1).toInt(), rs.value(2).toString()});
}

void Checker::readLessons()
{
    // A check of a period reads the lessons of its dates alone; a check of the whole document
    // reads every lesson, those whose date row is gone too.
    const bool bounded = m_from.isValid() || m_to.isValid();
    QString sql = QStringLiteral(
        "SELECT tblTimeTableContent.Key, tblTimeTableContent.Key_TTList, "
        "tblTimeTableContent.Lesson, tblTimeTableContent.SubGroup, tblTimeTableContent.Key_Job, "
        "tblTimeTableContent.Key_Group, tblTimeTableContent.Key_Aud, tblTimeTableList.[Date] "
        "FROM tblTimeTableContent %1 JOIN tblTimeTableList ON tblTimeTableList.Key = "
        "tblTimeTableContent.Key_TTList")
                      .arg(bounded ? QStringLiteral("INNER") : QStringLiteral("LEFT"));
    QStringList bounds;
    if (m_from.isValid())
        bounds << QStringLiteral("tblTimeTableList.[Date] >= %1").arg(sqlDateLiteral(m_from));
    if (m_to.isValid())
        bounds << QStringLiteral("tblTimeTableList.[Date] <= %1").arg(sqlDateLiteral(m_to));
    if (bounded)
        sql += QStringLiteral(" WHERE ") + bounds.join(QStringLiteral(" AND "));
    for (Recordset rs = m_db.openRecordset(sql + u';'); !rs.isEof(); rs.moveNext()) {
        Lesson l;
        l.key = rs.value(0).toInt();
        const QVariant date = rs.value(7);
        l.hasDate = !date.isNull();
        if (l.hasDate)
            l.date = dateOf(date);
        l.lesson = rs.value(2).toInt();
        l.subgroup = rs.value(3).toInt();
        l.keyJob = rs.value(4).toInt();
        l.keyGroup = rs.value(5).toInt();
        l.keyAud = rs.value(6).toInt();
        l.hasGroup = m_names.groups.contains(l.keyGroup);
        const auto job = m_names.jobs.constFind(l.keyJob);
        l.hasJob = job != m_names.jobs.constEnd();
        if (l.hasJob) {
            l.keyTutor = job->first;
            l.hasTutor = m_names.tutors.contains(l.keyTutor);
        }
        l.hasAud = m_names.auditoriums.contains(l.keyAud);
        m_lessons.push_back(l);
    }
    // Lessons in the order of their date and lesson number, each date's cells together.
    std::stable_sort(m_lessons.begin(), m_lessons.end(), [](const Lesson &a, const Lesson &b) {
        return std::tie(a.hasDate, a.date, a.lesson, a.key) < std::tie(b.hasDate, b.date, b.lesson, b.key);
    });
}

void Checker::readCalendar()
{
    for (Recordset rs = m_db.openRecordset(
             QStringLiteral("SELECT tblAutoTable.DateType, tblAutoTable.DateStart, "
                            "tblAutoTable.DateEnd FROM tblAutoTable;"));
         !rs.isEof(); rs.moveNext()) {
        Period p{rs.value(0).toString(), dateOf(rs.value(1)), dateOf(rs.value(2))};
        if (!p.start.isValid())
            continue;
        if (!p.end.isValid())
            p.end = p.start;
        if (p.type.compare(QStringLiteral("Session"), Qt::CaseInsensitive) == 0) {
            m_studyStart = p.start;
            m_studyEnd = p.end;
        } else {
            m_periods.push_back(p);
        }
    }
}

void Checker::readAbsences()
{
    for (Recordset rs = m_db.openRecordset(
             QStringLiteral("SELECT tblTutorOut.KeyTutor, tblTutorOut.FreeLocalDate, "
                            "tblTutorOut.FreeDay, tblTutorOut.FreeLesson, "
                            "tblTutorTypeOut.TypeOut FROM tblTutorOut LEFT JOIN tblTutorTypeOut "
                            "ON tblTutorOut.KeyTypeOut = tblTutorTypeOut.Key;"));
         !rs.isEof(); rs.moveNext()) {
        Absence a;
        static_cast<TutorAbsence &>(a) =
            TutorAbsence::fromFields(rs.value(1), rs.value(2), rs.value(3));
        a.keyTutor = rs.value(0).toInt();
        a.kind = rs.value(4).toString();
        m_absences[a.keyTutor].push_back(a);
    }
}

void Checker::add(ProblemKind kind, const Lesson *at, const QString &objects, const QString &why)
{
    TimetableProblem p;
    p.kind = kind;
    if (at) {
        p.date = at->date;
        p.lesson = at->lesson;
        const auto group = m_names.groups.value(at->keyGroup);
        p.group = group.first;
        p.course = group.second;
        p.tutor = m_names.tutor(*at);
    }
    p.objects = objects;
    p.explanation = why;
    m_check.problems.push_back(std::move(p));
}

void Checker::checkEachLesson()
{
    for (const Lesson &l : m_lessons) {
        if (!l.hasDate || !l.hasGroup || !l.hasJob || !l.hasTutor
            || (l.keyAud != 0 && !l.hasAud)) {
            QStringList gone;
            if (!l.hasDate)
                gone << QStringLiteral("дата");
            if (!l.hasGroup)
                gone << QStringLiteral("группа");
            if (!l.hasJob)
                gone << QStringLiteral("строка нагрузки");
            else if (!l.hasTutor)
                gone << QStringLiteral("преподаватель");
            if (l.keyAud != 0 && !l.hasAud)
                gone << QStringLiteral("аудитория");
            add(ProblemKind::Orphan, &l,
                l.hasGroup ? m_names.group(l) : QStringLiteral("занятие %1").arg(l.key),
                QStringLiteral("Нет записи, на которую ссылается занятие: ")
                    + gone.join(QStringLiteral(", ")));
        }
        if (!l.hasDate)
            continue;
        if (l.date.dayOfWeek() > m_settings.WorkDays)
            add(ProblemKind::DayOff, &l, m_names.lessonText(l),
                QStringLiteral("Занятие в нерабочий день недели (%1)")
                    .arg(QLocale(QLocale::Russian).dayName(l.date.dayOfWeek())));
        if (m_studyStart.isValid() && (l.date < m_studyStart || l.date > m_studyEnd))
            add(ProblemKind::OutsideStudy, &l, m_names.lessonText(l),
                QStringLiteral("Занятие вне учебного периода %1 - %2")
                    .arg(day(m_studyStart), day(m_studyEnd)));
        for (const Period &p : m_periods) {
            if (l.date < p.start || l.date > p.end)
                continue;
            if (p.type.startsWith(QStringLiteral("Selebrate"), Qt::CaseInsensitive))
                add(ProblemKind::Holiday, &l, m_names.lessonText(l),
                    QStringLiteral("Занятие в праздничный день"));
            else if (p.type.startsWith(QStringLiteral("Rest"), Qt::CaseInsensitive))
                add(ProblemKind::RestPeriod, &l, m_names.lessonText(l),
                    QStringLiteral("Занятие в каникулы %1 - %2").arg(day(p.start), day(p.end)));
        }
        const auto absences = m_absences.constFind(l.keyTutor);
        if (!l.hasTutor || absences == m_absences.constEnd())
            continue;
        for (const Absence &a : *absences) {
            if (a.covers(l.date, l.lesson)) {
                add(ProblemKind::TutorAbsent, &l, m_names.lessonText(l),
                    QStringLiteral("Преподаватель отсутствует: ")
                        + (a.kind.isEmpty() ? QStringLiteral("отметка занятости") : a.kind));
                break;
            }
        }
    }
}

void Checker::checkClashes()
{
    // The lessons of one date and lesson number lie together; within them, those of one
    // tutor, one auditorium and one group are brought together in turn.
    std::vector<const Lesson *> cell;
    const auto runs = [&](auto key, auto &&visit) {
        std::stable_sort(cell.begin(), cell.end(),
                         [&](const Lesson *a, const Lesson *b) { return key(*a) < key(*b); });
        for (size_t from = 0; from < cell.size();) {
            size_t to = from + 1;
            while (to < cell.size() && key(*cell[to]) == key(*cell[from]))
                ++to;
            if (to - from > 1 && key(*cell[from]) != 0)
                visit(cell.data() + from, cell.data() + to);
            from = to;
        }
    };
    for (size_t first = 0; first < m_lessons.size();) {
        size_t end = first + 1;
        while (end < m_lessons.size() && m_lessons[end].hasDate == m_lessons[first].hasDate
               && m_lessons[end].date == m_lessons[first].date
               && m_lessons[end].lesson == m_lessons[first].lesson)
            ++end;
        if (!m_lessons[first].hasDate || end - first < 2) {
            first = end;
            continue;
        }
        cell.clear();
        for (size_t i = first; i < end; ++i)
            cell.push_back(&m_lessons[i]);
        // A tutor or an auditorium holds one lesson at a time: one discipline of one tutor in
        // one auditorium, for as many groups as attend it.
        runs([](const Lesson &l) { return l.hasTutor ? l.keyTutor : 0; },
             [&](const Lesson *const *from, const Lesson *const *to) {
                 std::set<std::pair<int, int>> teaching;
                 QStringList where;
                 for (auto l = from; l != to; ++l) {
                     if (teaching.insert((*l)->teaching()).second)
                         where << m_names.group(**l) + QStringLiteral(" ")
                                      + m_names.discipline(**l) + QStringLiteral(" ")
                                      + m_names.auditorium(**l);
                 }
                 if (teaching.size() > 1)
                     add(ProblemKind::TutorClash, *from, m_names.tutor(**from),
                         QStringLiteral("Одновременно: ") + where.join(QStringLiteral("; ")));
             });
        runs([](const Lesson &l) { return l.keyAud; },
             [&](const Lesson *const *from, const Lesson *const *to) {
                 std::set<std::pair<int, int>> teaching;
                 QStringList who;
                 for (auto l = from; l != to; ++l) {
                     if (teaching.insert({(*l)->keyTutor, (*l)->keyJob}).second)
                         who << m_names.tutor(**l) + QStringLiteral(" (") + m_names.group(**l)
                                    + QLatin1Char(')');
                 }
                 if (teaching.size() > 1)
                     add(ProblemKind::AuditoriumClash, *from, m_names.auditorium(**from),
                         QStringLiteral("Одновременно: ") + who.join(QStringLiteral("; ")));
             });
        // Subgroups of a group meet apart; the whole group meets alone.
        runs([](const Lesson &l) { return l.keyGroup; },
             [&](const Lesson *const *from, const Lesson *const *to) {
                 std::map<int, int> perSubgroup;
                 for (auto l = from; l != to; ++l)
                     ++perSubgroup[(*l)->subgroup];
                 const bool whole = perSubgroup.count(0) != 0;
                 const bool twice = std::any_of(perSubgroup.begin(), perSubgroup.end(),
                                                [](const auto &s) { return s.second > 1; });
                 if (!twice && !(whole && perSubgroup.size() > 1))
                     return;
                 QStringList what;
                 for (auto l = from; l != to; ++l)
                     what << ((*l)->subgroup ? QStringLiteral("подгруппа %1: ").arg((*l)->subgroup)
                                             : QString())
                                 + m_names.discipline(**l) + QStringLiteral(" (")
                                 + m_names.tutor(**l) + QLatin1Char(')');
                 add(ProblemKind::GroupClash, *from, m_names.group(**from),
                     QStringLiteral("Одновременно: ") + what.join(QStringLiteral("; ")));
             });
        first = end;
    }
}

void Checker::checkDayLimits()
{
    // Lesson numbers of each group and of each tutor per date; the lessons come date by date.
    const auto check = [&](int limit, auto key, ProblemKind kind, auto name) {
        if (limit <= 0)
            return;
        QHash<int, std::pair<const Lesson *, std::set<int>>> day;
        const auto flush = [&] {
            for (const auto &[first, lessons] : std::as_const(day)) {
                if (int(lessons.size()) > limit)
                    add(kind, first, name(*first),
                        QStringLiteral("Занятий в день: %1 при пределе %2")
                            .arg(lessons.size())
                            .arg(limit));
            }
            day.clear();
        };
        QDate current;
        for (const Lesson &l : m_lessons) {
            if (!l.hasDate || key(l) == 0)
                continue;
            if (l.date != current) {
                flush();
                current = l.date;
            }
            auto &entry = day[key(l)];
            if (!entry.first)
                entry.first = &l;
            entry.second.insert(l.lesson);
        }
        flush();
    };
    check(m_settings.LessonsToGroup, [](const Lesson &l) { return l.keyGroup; },
          ProblemKind::GroupDayLimit, [this](const Lesson &l) { return m_names.group(l); });
    check(m_settings.LessonsToTutor, [](const Lesson &l) { return l.hasTutor ? l.keyTutor : 0; },
          ProblemKind::TutorDayLimit, [this](const Lesson &l) { return m_names.tutor(l); });
}

void Checker::checkHours()
{
    // Hours left count once the timetable is compiled to the study period's last week.
    const bool compiled = std::any_of(m_lessons.begin(), m_lessons.end(), [&](const Lesson &l) {
        return l.hasDate && l.date >= m_studyEnd.addDays(-6);
    });
    const bool toTheEnd =
        m_studyEnd.isValid() && compiled && (!m_to.isValid() || m_to >= m_studyEnd);
    // Each line with its lessons of the study period (of the whole document when it has
    // none), counted as the load counts them.
    for (Recordset rs = m_db.openRecordset(
             QStringLiteral("SELECT tblJobList.Key_Job, tblJobList.Key_Group, tblJobList.Hours, "
                            "%1 AS Placed FROM tblJobList;")
                 .arg(studyLessonCountSql(QStringLiteral("tblJobList.Key_Job"),
                                          QStringLiteral("tblJobList.Key_Group"))));
         !rs.isEof(); rs.moveNext()) {
        Lesson line;
        line.keyJob = rs.value(0).toInt();
        line.keyGroup = rs.value(1).toInt();
        const auto job = m_names.jobs.constFind(line.keyJob);
        if (job == m_names.jobs.constEnd() || !m_names.groups.contains(line.keyGroup))
            continue; // a line of a record gone is the load's own business
        line.keyTutor = job->first;
        const int hours = rs.value(2).toInt();
        const int count = rs.value(3).toInt();
        const auto text = [&] {
            return m_names.tutor(line) + QStringLiteral(", ") + m_names.discipline(line)
                   + QStringLiteral(", ") + m_names.group(line);
        };
        if (count > hours)
            add(ProblemKind::OverHours, &line, text(),
                QStringLiteral("Поставлено занятий: %1 при нагрузке %2").arg(count).arg(hours));
        else if (toTheEnd && count < hours)
            add(ProblemKind::HoursLeft, &line, text(),
                QStringLiteral("Осталось часов к концу учебного периода: %1 из %2")
                    .arg(hours - count)
                    .arg(hours));
    }
}

TimetableCheck Checker::run()
{
    m_check.from = m_from;
    m_check.to = m_to;
    // SQLite's own look at the file first: what it finds damaged may stop the reading below,
    // and is then what the check reports.
    // A quick check of a period leaves the file alone: it would read all of it.
    const bool wholeDocument = !m_from.isValid() && !m_to.isValid();
    if (const std::optional<QStringList> damage =
            m_scan == IntegrityScan::Full || wholeDocument
                ? integrityProblems(*m_db.connection(), m_scan)
                : std::nullopt) {
        const QString file = QFileInfo(m_db.connection()->path()).fileName();
        for (const QString &line : *damage)
            add(ProblemKind::FileDamage, nullptr, file, line);
    }
    try {
        readCalendar();
        readAbsences();
        readNames();
        readLessons();
        checkEachLesson();
        checkClashes();
        checkDayLimits();
        checkHours();
    } catch (const DbError &) {
        if (m_check.problems.empty() || m_check.problems.front().kind != ProblemKind::FileDamage)
            throw;
    }
    std::stable_sort(m_check.problems.begin(), m_check.problems.end(),
                     [](const TimetableProblem &a, const TimetableProblem &b) {
                         return std::tie(a.kind, a.date, a.lesson, a.objects)
                                < std::tie(b.kind, b.date, b.lesson, b.objects);
                     });
    for (const TimetableProblem &p : m_check.problems)
        ++(isError(p.kind) ? m_check.errors : m_check.warnings);
    return std::move(m_check);
}

} // namespace

QString problemKindText(ProblemKind kind)
{
    switch (kind) {
    case ProblemKind::FileDamage:
        return QStringLiteral("Файл документа повреждён");
    case ProblemKind::TutorClash:
        return QStringLiteral("Преподаватель в двух местах одновременно");
    case ProblemKind::AuditoriumClash:
        return QStringLiteral("Аудитория занята дважды");
    case ProblemKind::GroupClash:
        return QStringLiteral("У группы два занятия одновременно");
    case ProblemKind::OverHours:
        return QStringLiteral("Занятий больше нагрузки");
    case ProblemKind::DayOff:
        return QStringLiteral("Занятие в нерабочий день");
    case ProblemKind::Holiday:
        return QStringLiteral("Занятие в праздник");
    case ProblemKind::RestPeriod:
        return QStringLiteral("Занятие в каникулы");
    case ProblemKind::OutsideStudy:
        return QStringLiteral("Занятие вне учебного периода");
    case ProblemKind::TutorAbsent:
        return QStringLiteral("Занятие во время отсутствия преподавателя");
    case ProblemKind::GroupDayLimit:
        return QStringLiteral("Больше занятий в день, чем положено группе");
    case ProblemKind::TutorDayLimit:
        return QStringLiteral("Больше занятий в день, чем положено преподавателю");
    case ProblemKind::Orphan:
        return QStringLiteral("Занятие ссылается на удалённую запись");
    case ProblemKind::HoursLeft:
        return QStringLiteral("Нагрузка не выполнена");
    }
    return QString();
}

bool isError(ProblemKind kind)
{
    return kind != ProblemKind::HoursLeft;
}

TimetableCheck checkTimetable(const Database &db, const SettingsRecord &settings,
                              const QDate &from, const QDate &to, IntegrityScan scan)
{
    Checker checker(db, settings, from, to);
    checker.setScan(scan);
    return checker.run();
}

} // namespace korvesta
