#include "compiler.h"

#include "assist/groupshift.h"
#include "check/timetablecheck.h"
#include "data/bulkwrite.h"
#include "data/calendar.h"
#include "data/database.h"
#include "data/history.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "data/studyperiod.h"
#include "data/tutorabsence.h"
#include "settings/settingsrecord.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <tuple>
#include <cmath>

namespace korvesta {

namespace {

// The longest period compiled at once.
constexpr int kMostDays = 62;

struct LineFacts
{
    CompiledLine shown;
    int keyJob = 0;
    int keyGroup = 0;
    int keyTutor = 0;
    int keyDiscipline = 0;
    int subgroup = 0; // the subgroup the line teaches; 0 for the whole group
    QString groupName, course;
    int levelDiff = 0;
    int usualAud = 0; // the tutor's usual auditorium's key; 0 for none
    int hours = 0;
    int outside = 0; // lessons of the study period outside the period
    int inside = 0;  // lessons already in the period
    // Why lessons were not open to the line, counted over the period's lessons.
    int groupBusy = 0, tutorBusy = 0, tutorAway = 0, noAuditorium = 0;
};

// Everything the compiler reads of the document for the period.
struct PeriodFacts
{
    std::vector<QDate> days;     // the dates that take lessons
    int daysLeft = 0;            // working days from the period's start to the study end
    std::vector<LineFacts> lines;
    QHash<int, int> groupIndex;  // group key -> index
    QHash<int, int> tutorIndex;  // tutor key -> index
    std::vector<int> auditoriums;                 // keys
    std::vector<QSet<int>> audTaken;              // by slot
    std::vector<GroupShift> groupWindow; // by group index
    int keyTypeLesson = 0;
};

// The dates of the period that take lessons: working days of the study calendar, not
// protected.
std::vector<QDate> openDays(const Database &db, const SettingsRecord &settings,
                            const StudyCalendar &calendar, const QDate &from, const QDate &to)
{
    QSet<QDate> protectedDates;
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblTimeTableList.Date FROM tblTimeTableList WHERE "
                            "tblTimeTableList.ReadOnly = True AND tblTimeTableList.Date Between "
                            "%1 And %2;")
                 .arg(sqlDateLiteral(from), sqlDateLiteral(to)));
         !rs.isEof(); rs.moveNext())
        protectedDates.insert(rs.value(0).toDate());
    std::vector<QDate> days;
    for (QDate d = from; d <= to; d = d.addDays(1)) {
        if (d.dayOfWeek() <= settings.WorkDays && calendar.refusal(d).isEmpty()
            && !protectedDates.contains(d))
            days.push_back(d);
    }
    return days;
}

// The marks of compiled lessons that are no longer there go with them.
void forgetRemovedCompiled(const Database &db)
{
    db.execute(QStringLiteral("DELETE FROM tblCompiledLessons WHERE tblCompiledLessons.Key Not In "
                              "(SELECT tblTimeTableContent.Key FROM tblTimeTableContent);"));
}

QString groupCondition(const std::vector<int> &groups)
{
    if (groups.empty())
        return QStringLiteral("True");
    QStringList keys;
    for (const int g : groups)
        keys << QString::number(g);
    return QStringLiteral("tblJobList.Key_Group In (%1)").arg(keys.join(u','));
}

void readLines(const Database &db, const CompileRequest &request,
               const std::optional<StudyPeriod> &study, PeriodFacts &facts)
{
    QHash<QString, int> audByText;
    for (Recordset rs = db.openRecordset(QStringLiteral(
             "SELECT tblAuditories.Key, tblAuditories.Auditoria, tblAuditories.Corpus FROM "
             "tblAuditories ORDER BY tblAuditories.Key;"));
         !rs.isEof(); rs.moveNext()) {
        facts.auditoriums.push_back(rs.value(0).toInt());
        audByText.insert((rs.value(1).toString().simplified() + QStringLiteral(" (")
                          + rs.value(2).toString().simplified() + u')')
                             .toCaseFolded(),
                         rs.value(0).toInt());
    }
    for (Recordset rs = db.openRecordset(
             QStringLiteral(
                 "SELECT tblJobList.Key, tblJobList.Key_Job, tblJobList.Key_Group, "
                 "tblJobList.Hours, tblJob.Key_Tutor, tblTutors.Tutor, tblTutors.DefaultAud, "
                 "tblDisciplines.Discipline, tblDisciplines.LevelDiff, tblGroups.[Group], "
                 "tblGroups.Course, tblJob.Key_Discipline FROM (((tblJobList INNER JOIN tblJob ON tblJobList.Key_Job = "
                 "tblJob.Key) INNER JOIN tblTutors ON tblJob.Key_Tutor = tblTutors.Key) INNER "
                 "JOIN tblDisciplines ON tblJob.Key_Discipline = tblDisciplines.Key) INNER JOIN "
                 "tblGroups ON tblJobList.Key_Group = tblGroups.Key WHERE %1 AND "
                 "tblJobList.Hours > 0 ORDER BY tblGroups.Course, tblGroups.[Group], "
                 "tblJobList.Key;")
                 .arg(groupCondition(request.groups)));
         !rs.isEof(); rs.moveNext()) {
        LineFacts l;
        l.shown.keyJobList = rs.value(0).toInt();
        l.keyJob = rs.value(1).toInt();
        l.keyGroup = rs.value(2).toInt();
        l.hours = rs.value(3).toInt();
        l.keyTutor = rs.value(4).toInt();
        l.shown.tutor = rs.value(5).toString().simplified();
        l.usualAud = audByText.value(rs.value(6).toString().simplified().toCaseFolded());
        l.shown.discipline = rs.value(7).toString().simplified();
        l.levelDiff = rs.value(8).toInt();
        l.groupName = rs.value(9).toString().simplified();
        l.course = rs.value(10).toString().simplified();
        l.keyDiscipline = rs.value(11).toInt();
        l.shown.group = rs.value(9).toString().simplified() + QStringLiteral(" (")
                        + rs.value(10).toString().simplified() + u')';
        facts.lines.push_back(l);
    }
    // The lessons each line has: in the period, and elsewhere in the study period.
    QHash<QPair<int, int>, std::pair<int, int>> counts;
    const QString range = study ? QStringLiteral("tblTimeTableList.Date Between %1 And %2")
                                      .arg(sqlDateLiteral(study->start),
                                           sqlDateLiteral(study->end))
                                : QStringLiteral("True");
    for (Recordset rs = db.openRecordset(
             QStringLiteral(
                 "SELECT tblTimeTableContent.Key_Job, tblTimeTableContent.Key_Group, "
                 "Sum(IIf(tblTimeTableList.Date Between %1 And %2, 1, 0)) AS Inside, Count(*) AS "
                 "Total FROM tblTimeTableContent INNER JOIN tblTimeTableList ON "
                 "tblTimeTableContent.Key_TTList = tblTimeTableList.Key WHERE %3 GROUP BY "
                 "tblTimeTableContent.Key_Job, tblTimeTableContent.Key_Group;")
                 .arg(sqlDateLiteral(request.from), sqlDateLiteral(request.to), range));
         !rs.isEof(); rs.moveNext())
        counts.insert({rs.value(0).toInt(), rs.value(1).toInt()},
                      {rs.value(2).toInt(), rs.value(3).toInt()});
    for (LineFacts &l : facts.lines) {
        const auto [inside, total] = counts.value({l.keyJob, l.keyGroup});
        l.inside = inside;
        l.outside = total - inside;
    }
}

// Lines of a group in one discipline with different tutors teach its subgroups, as many as
// the options allow at once: each takes the subgroup of its place among them.
void findSubgroups(std::vector<LineFacts> &lines, int subgroupLimit)
{
    QHash<QPair<int, int>, std::vector<size_t>> byDiscipline;
    for (size_t i = 0; i < lines.size(); ++i)
        byDiscipline[{lines[i].keyGroup, lines[i].keyDiscipline}].push_back(i);
    for (const std::vector<size_t> &set : std::as_const(byDiscipline)) {
        if (set.size() < 2 || int(set.size()) > subgroupLimit)
            continue;
        QSet<int> tutors;
        for (const size_t i : set)
            tutors.insert(lines[i].keyTutor);
        if (tutors.size() != qsizetype(set.size()))
            continue;
        for (size_t k = 0; k < set.size(); ++k)
            lines[set[k]].subgroup = int(k) + 1;
    }
}

QString shortReason(const LineFacts &l)
{
    const int biggest = std::max({l.groupBusy, l.tutorBusy, l.tutorAway, l.noAuditorium});
    if (biggest == 0)
        return QStringLiteral("уроки группы и преподавателя заняты другими строками нагрузки "
                              "или дневным пределом");
    if (biggest == l.tutorAway)
        return QStringLiteral("преподаватель %1 отсутствует").arg(l.shown.tutor);
    if (biggest == l.tutorBusy)
        return QStringLiteral("у преподавателя %1 нет свободного урока, когда свободна группа")
            .arg(l.shown.tutor);
    if (biggest == l.noAuditorium)
        return QStringLiteral("все аудитории заняты");
    return QStringLiteral("у группы нет свободных уроков");
}

// The keys of the lessons an earlier compilation placed in the period for the groups, where
// each still stands as it was placed and its date is open to change.
QString compiledLessons(const CompileRequest &request)
{
    return QStringLiteral(
               "SELECT tblCompiledLessons.Key FROM (tblCompiledLessons INNER JOIN "
               "tblTimeTableContent ON tblCompiledLessons.Key = tblTimeTableContent.Key) INNER "
               "JOIN tblTimeTableList ON tblTimeTableContent.Key_TTList = tblTimeTableList.Key "
               "WHERE tblTimeTableList.Date Between %1 And %2 AND tblTimeTableList.ReadOnly = "
               "False AND tblTimeTableContent.Key_TTList = tblCompiledLessons.Key_TTList AND "
               "tblTimeTableContent.Lesson = tblCompiledLessons.Lesson AND "
               "tblTimeTableContent.Key_Job = tblCompiledLessons.Key_Job AND "
               "tblTimeTableContent.Key_Group = tblCompiledLessons.Key_Group AND "
               "Nz(tblTimeTableContent.Key_Aud, 0) = Nz(tblCompiledLessons.Key_Aud, 0) AND %3")
        .arg(sqlDateLiteral(request.from), sqlDateLiteral(request.to),
             groupCondition(request.groups)
                 .replace(QStringLiteral("tblJobList."), QStringLiteral("tblTimeTableContent.")));
}

} // namespace

int lessonShare(int hoursLeft, int periodDays, int daysLeft)
{
    if (hoursLeft <= 0 || periodDays <= 0)
        return 0;
    if (daysLeft <= periodDays)
        return hoursLeft;
    return int(std::lround(double(hoursLeft) * periodDays / daysLeft));
}

namespace {

// Plans one week (or the part of it the request names) and writes its lessons, inside the
// caller's transaction: a later week reads them as lessons already there.
CompileResult compileWeek(const Database &db, const SettingsRecord &settings,
                          const CompileRequest &request, int typeKey)
{
    CompileResult result;
    const StudyCalendar calendar(db);
    const std::optional<StudyPeriod> study = readStudyPeriod(db);
    PeriodFacts facts;
    facts.days = openDays(db, settings, calendar, request.from, request.to);
    if (facts.days.empty()) {
        result.refusal = QStringLiteral("В периоде нет учебных дней, открытых для изменения "
                                        "(выходные, каникулы, праздники, защищённые даты)");
        return result;
    }
    const QDate end = study ? std::max(study->end, request.to) : request.to;
    // The working days from the period's start to the study period's end, protected ones
    // too (the last period takes all). A line's hours are spread over the days its tutor is
    // there: a week he is away all of does not ask for lessons he cannot give, and the weeks
    // after it take them.
    std::vector<QDate> working;
    for (QDate d = request.from; d <= end; d = d.addDays(1)) {
        if (d.dayOfWeek() <= settings.WorkDays && calendar.refusal(d).isEmpty())
            working.push_back(d);
    }
    facts.daysLeft = int(working.size());
    const int workingInPeriod = int(std::count_if(
        working.begin(), working.end(), [&](const QDate &d) { return d <= request.to; }));
    readLines(db, request, study, facts);
    findSubgroups(facts.lines, settings.SubGroupCount);
    const TutorAbsences absences = TutorAbsences::read(db);
    QHash<int, std::pair<int, int>> tutorDays; // tutor -> days in the period, days left
    const auto daysOf = [&](int tutor) {
        const auto known = tutorDays.constFind(tutor);
        if (known != tutorDays.constEnd())
            return *known;
        std::pair<int, int> days{0, 0};
        for (const QDate &d : working) {
            if (absences.away(tutor, d, 0))
                continue;
            days.first += d <= request.to;
            ++days.second;
        }
        tutorDays.insert(tutor, days);
        return days;
    };

    // The share of each line, less what the period already holds.
    std::vector<LineFacts> lines;
    for (LineFacts &l : facts.lines) {
        const int left = l.hours - l.outside;
        const auto [periodDays, daysLeft] = daysOf(l.keyTutor);
        // A tutor away to the study period's end still owes his hours: they are asked of
        // the period as if he were there, and the reason says why they cannot be placed.
        const int share = daysLeft > 0 ? lessonShare(left, periodDays, daysLeft)
                                       : lessonShare(left, workingInPeriod, facts.daysLeft);
        l.shown.target = std::max(0, std::min(share, left) - l.inside);
        if (l.shown.target > 0)
            lines.push_back(l);
    }
    facts.lines = std::move(lines);
    if (facts.lines.empty()) {
        result.refusal = QStringLiteral("Нечего ставить: у строк нагрузки групп периода не "
                                        "осталось часов на этот период");
        return result;
    }
    for (const LineFacts &l : facts.lines) {
        if (!facts.groupIndex.contains(l.keyGroup))
            facts.groupIndex.insert(l.keyGroup, int(facts.groupIndex.size()));
        if (!facts.tutorIndex.contains(l.keyTutor))
            facts.tutorIndex.insert(l.keyTutor, int(facts.tutorIndex.size()));
    }
    // Each group within its shift, learned from its last weeks.
    const QHash<int, GroupShift> shifts = readGroupShifts(db, settings, request.from);
    facts.groupWindow.assign(size_t(facts.groupIndex.size()), {});
    for (auto g = facts.groupIndex.cbegin(); g != facts.groupIndex.cend(); ++g) {
        facts.groupWindow[size_t(g.value())] = shifts.value(g.key(), defaultShift(settings));
    }

    SlotProblem p;
    p.days = int(facts.days.size());
    p.lessonsPerDay = std::max(settings.LessonsInDay, 1);
    p.groups = int(facts.groupIndex.size());
    p.tutors = int(facts.tutorIndex.size());
    p.groupDayLimit = settings.LessonsToGroup;
    p.tutorDayLimit = settings.LessonsToTutor;
    p.lectureGroups = std::max(settings.CountGroupOnLecture, 1);
    const int slotCount = p.slotCount();
    p.groupTaken.assign(size_t(p.groups), std::vector<std::uint8_t>(size_t(slotCount), 0));
    p.tutorTaken.assign(size_t(p.tutors), std::vector<std::uint8_t>(size_t(slotCount), 0));
    facts.audTaken.assign(size_t(slotCount), {});
    QHash<QDate, int> dayIndex;
    for (int d = 0; d < p.days; ++d)
        dayIndex.insert(facts.days[size_t(d)], d);

    // The lessons the period holds stay where they are.
    for (Recordset rs = db.openRecordset(
             QStringLiteral(
                 "SELECT tblTimeTableList.Date, tblTimeTableContent.Lesson, "
                 "tblTimeTableContent.Key_Group, tblJob.Key_Tutor, tblTimeTableContent.Key_Aud "
                 "FROM (tblTimeTableContent INNER JOIN tblTimeTableList ON "
                 "tblTimeTableContent.Key_TTList = tblTimeTableList.Key) LEFT JOIN tblJob ON "
                 "tblTimeTableContent.Key_Job = tblJob.Key WHERE tblTimeTableList.Date Between "
                 "%1 And %2;")
                 .arg(sqlDateLiteral(request.from), sqlDateLiteral(request.to)));
         !rs.isEof(); rs.moveNext()) {
        const auto d = dayIndex.constFind(rs.value(0).toDate());
        const int lesson = rs.value(1).toInt();
        if (d == dayIndex.constEnd() || lesson < 1 || lesson > p.lessonsPerDay)
            continue;
        const int slot = *d * p.lessonsPerDay + lesson - 1;
        if (const auto g = facts.groupIndex.constFind(rs.value(2).toInt());
            g != facts.groupIndex.constEnd())
            p.groupTaken[size_t(*g)][size_t(slot)] = 1;
        if (const auto t = facts.tutorIndex.constFind(rs.value(3).toInt());
            t != facts.tutorIndex.constEnd())
            p.tutorTaken[size_t(*t)][size_t(slot)] = 1;
        if (rs.value(4).toInt() != 0)
            facts.audTaken[size_t(slot)].insert(rs.value(4).toInt());
    }
    p.freeAuditoriums.resize(size_t(slotCount));
    for (int s = 0; s < slotCount; ++s)
        p.freeAuditoriums[size_t(s)] =
            std::max(0, int(facts.auditoriums.size()) - int(facts.audTaken[size_t(s)].size()));

    // The lessons each line may take, and why the others are closed to it.
    for (LineFacts &l : facts.lines) {
        SlotProblem::Line line;
        line.group = facts.groupIndex.value(l.keyGroup);
        line.tutor = facts.tutorIndex.value(l.keyTutor);
        line.job = l.keyJob;
        line.target = l.shown.target;
        line.levelDiff = l.levelDiff;
        // Subgroup lines are told apart by their group and discipline.
        line.subgroups = l.subgroup > 0 ? l.keyDiscipline : -1;
        const GroupShift shift = facts.groupWindow[size_t(line.group)];
        for (int d = 0; d < p.days; ++d) {
            for (int lesson = shift.first; lesson <= shift.last; ++lesson) {
                const int s = d * p.lessonsPerDay + lesson - 1;
                if (p.groupTaken[size_t(line.group)][size_t(s)])
                    ++l.groupBusy;
                else if (absences.away(l.keyTutor, facts.days[size_t(d)], lesson))
                    ++l.tutorAway;
                else if (p.tutorTaken[size_t(line.tutor)][size_t(s)])
                    ++l.tutorBusy;
                else if (p.freeAuditoriums[size_t(s)] == 0)
                    ++l.noAuditorium;
                else
                    line.open.push_back(s);
            }
        }
        p.lines.push_back(std::move(line));
    }

    SolveOptions options;
    options.seed = request.seed;
    options.timeLimitSeconds = request.timeLimitSeconds;
    options.weights = request.weights;
    options.cancel = request.cancel;
    options.progress = request.progress;
    const SlotPlan plan = solveSlots(p, options);
    result.complete = plan.complete;
    result.cancelled = plan.cancelled;
    result.groupGaps = plan.groupGaps;
    result.tutorGaps = plan.tutorGaps;
    if (plan.cancelled) {
        result.refusal = QStringLiteral("Составление расписания прервано: расписание не изменено");
        return result;
    }
    if (!plan.found)
        result.refusal = QStringLiteral("За отведённое время не найдено ни одного плана недели "
                                        "с %1: дайте поиску больше времени")
                             .arg(request.from.toString(QStringLiteral("dd.MM.yyyy")));

    // Auditoriums: the tutor's usual one where it is free, then any free one.
    struct Placed
    {
        int line;
        int slot;
        int aud = 0;
    };
    std::vector<Placed> placed;
    for (size_t i = 0; i < plan.chosen.size(); ++i) {
        for (const int s : plan.chosen[i])
            placed.push_back({int(i), s});
    }
    // The groups of a lecture (one job at one slot) share its auditorium.
    std::sort(placed.begin(), placed.end(), [&](const Placed &a, const Placed &b) {
        const int ja = facts.lines[size_t(a.line)].keyJob, jb = facts.lines[size_t(b.line)].keyJob;
        return std::tie(a.slot, ja, a.line) < std::tie(b.slot, jb, b.line);
    });
    const auto sameLesson = [&](const Placed &a, const Placed &b) {
        return a.slot == b.slot
               && facts.lines[size_t(a.line)].keyJob == facts.lines[size_t(b.line)].keyJob;
    };
    std::vector<QSet<int>> taken = facts.audTaken;
    const auto give = [&](size_t first, size_t stop, int aud) {
        for (size_t i = first; i < stop; ++i)
            placed[i].aud = aud;
        taken[size_t(placed[first].slot)].insert(aud);
    };
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < placed.size();) {
            size_t stop = i + 1;
            while (stop < placed.size() && sameLesson(placed[i], placed[stop]))
                ++stop;
            const int usual = facts.lines[size_t(placed[i].line)].usualAud;
            QSet<int> &busy = taken[size_t(placed[i].slot)];
            if (placed[i].aud == 0 && pass == 0 && usual != 0 && !busy.contains(usual)) {
                give(i, stop, usual);
                result.usualAuditorium += int(stop - i);
            } else if (placed[i].aud == 0 && pass == 1) {
                for (const int aud : facts.auditoriums) {
                    if (!busy.contains(aud)) {
                        give(i, stop, aud);
                        break;
                    }
                }
            }
            i = stop;
        }
    }

    for (size_t i = 0; i < facts.lines.size(); ++i) {
        CompiledLine shown = facts.lines[i].shown;
        shown.placed = int(plan.chosen[i].size());
        if (shown.placed < shown.target)
            shown.reason = shortReason(facts.lines[i]);
        result.target += shown.target;
        result.placed += shown.placed;
        result.lines.push_back(shown);
    }
    BulkInsert add(db, "INSERT INTO tblTimeTableContent (\"Key_TTList\", \"Lesson\", \"Key_Job\", "
                       "\"Key_Group\", \"SubGroup\", \"Key_Aud\", \"Key_TypeLesson\") VALUES (?, ?, "
                       "?, ?, ?, ?, ?)");
    int dayKeyOf = -1, dayKey = 0;
    for (const Placed &x : placed) {
        const int d = p.dayOf(x.slot);
        if (d != dayKeyOf) {
            dayKey = timetableDayKey(db, facts.days[size_t(d)], settings.SaveCurrTable);
            dayKeyOf = d;
        }
        const LineFacts &l = facts.lines[size_t(x.line)];
        result.placedLessons.push_back({facts.days[size_t(d)], p.lessonOf(x.slot), l.groupName,
                                        l.course});
        add << dayKey << p.lessonOf(x.slot) << l.keyJob << l.keyGroup << l.subgroup;
        if (x.aud != 0)
            add << x.aud;
        else
            add.null();
        if (typeKey != 0)
            add << typeKey;
        else
            add.null();
        add.run();
    }
    return result;
}

} // namespace

int compiledLessonCount(const Database &db, const CompileRequest &request)
{
    if (!request.from.isValid() || !request.to.isValid() || request.from > request.to)
        return 0;
    const Recordset rs = db.openRecordset(
        QStringLiteral("SELECT Count(*) FROM (%1) AS Compiled;").arg(compiledLessons(request)));
    return rs.isEof() ? 0 : rs.value(0).toInt();
}

CompileResult compileTimetable(const Database &db, const SettingsRecord &settings,
                               const CompileRequest &request)
{
    CompileResult result;
    if (!request.from.isValid() || !request.to.isValid() || request.from > request.to) {
        result.refusal = QStringLiteral("Период задан неверно");
        return result;
    }
    if (request.from.daysTo(request.to) >= kMostDays) {
        result.refusal = QStringLiteral("Период длиннее %1 дней: составьте его по частям")
                             .arg(kMostDays);
        return result;
    }
    // Week by week, each week's plan written before the next is made: the weeks share only
    // the hours, which the next week reads from the lessons written.
    std::vector<std::pair<QDate, QDate>> weeks;
    for (QDate start = request.from; start <= request.to;) {
        const QDate end = std::min(request.to, start.addDays(7 - start.dayOfWeek()));
        weeks.emplace_back(start, end);
        start = end.addDays(1);
    }
    const int typeKey = [&] {
        const Recordset rs = db.openRecordset(QStringLiteral(
            "SELECT TOP 1 tblTypeLesson.Key FROM tblTypeLesson ORDER BY tblTypeLesson.Key;"));
        return rs.isEof() ? 0 : rs.value(0).toInt();
    }();
    const TimetableCheck before = checkTimetable(db, settings, request.from, request.to);
    // One step of the history, one transaction; kept only when the check finds nothing new.
    const History::Step step(db, QStringLiteral("составление расписания с %1 по %2")
                                     .arg(request.from.toString(QStringLiteral("dd.MM.yyyy")),
                                          request.to.toString(QStringLiteral("dd.MM.yyyy"))));
    Database::Transaction transaction(db);
    {
        std::vector<QDate> period;
        for (QDate d = request.from; d.isValid() && d <= request.to; d = d.addDays(1))
            period.push_back(d);
        db.lockDates(period);
    }
    if (request.replace) {
        result.replaced = db.execute(QStringLiteral("DELETE FROM tblTimeTableContent WHERE "
                                                    "tblTimeTableContent.Key In (%1);")
                                         .arg(compiledLessons(request)));
        forgetRemovedCompiled(db);
    }
    // Lessons are numbered upwards and never again: those written now are those above.
    const qint64 lastBefore = [&] {
        const Recordset rs = db.openRecordset(
            QStringLiteral("SELECT Max(tblTimeTableContent.Key) FROM tblTimeTableContent;"));
        return rs.isEof() ? 0 : rs.value(0).toLongLong();
    }();
    QHash<int, size_t> lineAt; // load line -> index in result.lines
    QStringList refusals;
    result.complete = true;
    for (const auto &[start, end] : weeks) {
        CompileRequest week = request;
        week.from = start;
        week.to = end;
        week.timeLimitSeconds = std::max(0.2, request.timeLimitSeconds / double(weeks.size()));
        const CompileResult done = compileWeek(db, settings, week, typeKey);
        if (done.cancelled) {
            result.cancelled = true;
            result.refusal = done.refusal;
            result.lines.clear();
            return result;
        }
        if (!done.refusal.isEmpty()) {
            refusals << done.refusal;
            if (!done.lines.empty())
                result.notes << done.refusal;
        }
        for (const CompiledLine &l : done.lines) {
            const auto at = lineAt.constFind(l.keyJobList);
            if (at == lineAt.constEnd()) {
                lineAt.insert(l.keyJobList, result.lines.size());
                result.lines.push_back(l);
                continue;
            }
            CompiledLine &sum = result.lines[*at];
            sum.target += l.target;
            sum.placed += l.placed;
            if (!l.reason.isEmpty())
                sum.reason = l.reason;
        }
        result.target += done.target;
        result.placed += done.placed;
        result.groupGaps += done.groupGaps;
        result.tutorGaps += done.tutorGaps;
        result.usualAuditorium += done.usualAuditorium;
        result.placedLessons.insert(result.placedLessons.end(), done.placedLessons.begin(),
                                    done.placedLessons.end());
        result.complete = result.complete && done.complete;
    }
    if (result.lines.empty()) {
        // Every week refused: say why once (the first week's reason stands for them all).
        result.refusal = refusals.value(0);
        return result;
    }
    if (result.placed == 0 && result.replaced == 0)
        return result;
    const TimetableCheck after = checkTimetable(db, settings, request.from, request.to);
    if (after.errors > before.errors) {
        QSet<QString> known;
        const auto keyOf = [](const TimetableProblem &problem) {
            return problem.explanation + problem.date.toString(Qt::ISODate)
                   + QString::number(problem.lesson);
        };
        for (const TimetableProblem &problem : before.problems)
            known.insert(keyOf(problem));
        for (const TimetableProblem &problem : after.problems) {
            if (isError(problem.kind) && !known.contains(keyOf(problem)))
                result.checkErrors << QStringLiteral("%1, урок %2: %3 - %4")
                                          .arg(problem.date.toString(QStringLiteral("dd.MM.yyyy")))
                                          .arg(problem.lesson)
                                          .arg(problemKindText(problem.kind), problem.explanation);
        }
        result.refusal = QStringLiteral("Проверка расписания нашла ошибки в составленном: "
                                        "расписание не изменено");
        return result;
    }
    db.execute(QStringLiteral("INSERT INTO tblCompiledLessons (Key, Key_TTList, Lesson, Key_Job, "
                              "Key_Group, Key_Aud) SELECT Key, Key_TTList, Lesson, Key_Job, "
                              "Key_Group, Key_Aud FROM tblTimeTableContent WHERE Key > %1;")
                   .arg(lastBefore));
    transaction.commit();
    result.written = true;
    return result;
}

} // namespace korvesta
