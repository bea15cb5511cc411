// Every routine and saved query of the query layer on the large sample institution, with
// the parameters a planner typically gives: one date, one tutor or group over the year.

#include "data/calendar.h"
#include "data/database.h"
#include "data/queries.h"
#include "data/querydef.h"
#include "data/recordset.h"
#include "support/largesample.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace korvesta {
namespace {

// The large sample and the records the benchmarks ask about: the busiest date, tutor,
// group and auditorium of the year.
struct Sample
{
    LargeSample &large = largeSample();
    QDate day, first, last;
    int tutor = 0, group = 0, jobList = 0, job = 0, dayKey = 0;
    QString tutorName, groupName, course, faculty, groupText, auditoria, corpus, discipline,
        discipline1;
    std::unique_ptr<DocumentQueries> queries;
};

Sample *g_sample = nullptr;

QVariant first(const Database &db, const QString &sql, int field = 0)
{
    Recordset rs = db.openRecordset(sql);
    return rs.isEmpty() ? QVariant() : rs.value(field);
}

void prepareSample(Sample &s)
{
    const Database db = Database::open(s.large.path);
    s.first = first(db, "SELECT Min(tblTimeTableList.Date) FROM tblTimeTableList").toDate();
    s.last = first(db, "SELECT Max(tblTimeTableList.Date) FROM tblTimeTableList").toDate();
    Recordset day = db.openRecordset(
        "SELECT tblTimeTableList.Key, tblTimeTableList.Date, Count(*) AS N FROM tblTimeTableList "
        "INNER JOIN tblTimeTableContent ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList "
        "GROUP BY tblTimeTableList.Key, tblTimeTableList.Date ORDER BY Count(*) DESC");
    s.dayKey = day.value(0).toInt();
    s.day = day.value(1).toDate();
    Recordset tutor = db.openRecordset(
        "SELECT tblTutors.Key, tblTutors.Tutor, Count(*) AS N FROM (tblTutors INNER JOIN tblJob "
        "ON tblTutors.Key = tblJob.Key_Tutor) INNER JOIN tblTimeTableContent ON tblJob.Key = "
        "tblTimeTableContent.Key_Job GROUP BY tblTutors.Key, tblTutors.Tutor ORDER BY Count(*) "
        "DESC");
    s.tutor = tutor.value(0).toInt();
    s.tutorName = tutor.value(1).toString();
    Recordset group = db.openRecordset(
        "SELECT tblGroups.Key, tblGroups.Group, tblGroups.Course, Nz(tblTypeFaculty.TypeFaculty, "
        "'отсутствует'), Count(*) AS N FROM (tblGroups LEFT JOIN tblTypeFaculty ON "
        "tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) INNER JOIN tblTimeTableContent ON "
        "tblGroups.Key = tblTimeTableContent.Key_Group GROUP BY tblGroups.Key, tblGroups.Group, "
        "tblGroups.Course, tblTypeFaculty.TypeFaculty ORDER BY Count(*) DESC");
    s.group = group.value(0).toInt();
    s.groupName = group.value(1).toString();
    s.course = group.value(2).toString();
    s.faculty = group.value(3).toString();
    s.groupText = s.groupName + QStringLiteral("  (") + s.course + QStringLiteral(")");
    Recordset aud = db.openRecordset(
        "SELECT tblAuditories.Auditoria, tblAuditories.Corpus, Count(*) AS N FROM tblAuditories "
        "INNER JOIN tblTimeTableContent ON tblAuditories.Key = tblTimeTableContent.Key_Aud GROUP "
        "BY tblAuditories.Key, tblAuditories.Auditoria, tblAuditories.Corpus ORDER BY Count(*) "
        "DESC");
    s.auditoria = aud.value(0).toString();
    s.corpus = aud.value(1).toString();
    Recordset line = db.openRecordset(
        QStringLiteral("SELECT tblJobList.Key, tblJobList.Key_Job, tblDisciplines.Discipline, "
                       "tblDisciplines.Discipline1 FROM (tblJobList INNER JOIN tblJob ON "
                       "tblJobList.Key_Job = tblJob.Key) INNER JOIN tblDisciplines ON "
                       "tblJob.Key_Discipline = tblDisciplines.Key WHERE tblJob.Key_Tutor = %1 "
                       "ORDER BY tblJobList.Key")
            .arg(s.tutor));
    s.jobList = line.value(0).toInt();
    s.job = line.value(1).toInt();
    s.discipline = line.value(2).toString();
    s.discipline1 = line.value(3).toString();
    std::fprintf(stderr, "  date %s, tutor %s, group %s, year %s - %s\n",
                 qPrintable(s.day.toString(Qt::ISODate)), qPrintable(s.tutorName),
                 qPrintable(s.groupText), qPrintable(s.first.toString(Qt::ISODate)),
                 qPrintable(s.last.toString(Qt::ISODate)));

    // Limits that make the checks count.
    s.large.settings->writeInt(QStringLiteral("Settings"), QStringLiteral("LessonsToGroup"), 7);
    s.large.settings->writeInt(QStringLiteral("Settings"), QStringLiteral("LessonsToTutor"), 7);
    s.queries = std::make_unique<DocumentQueries>(*s.large.session, *s.large.settings,
                                                  s.large.prompts);
}

void add(const std::string &name, std::function<void(Sample &)> work)
{
    // The library keeps its own copy of the name.
    benchmark::RegisterBenchmark(name.c_str(), [work](benchmark::State &state) {
        for (auto _ : state)
            work(*g_sample);
    })->Unit(benchmark::kMillisecond);
}

template<typename T>
void keep(T &&value)
{
    benchmark::DoNotOptimize(value);
}

// A saved query opened straight, for the queries no routine opens by itself.
void query(const char *name, std::vector<std::pair<QString, QVariant>> params, Sample &s)
{
    QueryDef q = Database::open(s.large.path).queryDef(QString::fromLatin1(name));
    for (const auto &[p, v] : params)
        q.setParameter(p, v);
    keep(q.openRecordset().recordCount());
}

void registerAll()
{
    // Scalar routines.
    add("CountGroupLessonsInDay",
        [](Sample &s) { keep(s.queries->CountGroupLessonsInDay(s.group, s.day)); });
    add("CountTutorLessonsInDay",
        [](Sample &s) { keep(s.queries->CountTutorLessonsInDay(s.tutor, s.day)); });
    add("CanAddGroupLesson",
        [](Sample &s) { keep(s.queries->CanAddGroupLesson(s.group, s.day, false)); });
    add("CanAddTutorLesson",
        [](Sample &s) { keep(s.queries->CanAddTutorLesson(s.tutor, s.day, false)); });
    add("IsDateReadOnly", [](Sample &s) { keep(s.queries->IsDateReadOnly(s.day)); });
    add("GetGroupUsage",
        [](Sample &s) { keep(s.queries->GetGroupUsage(s.groupName, s.course, s.faculty)); });
    add("GetTutorUsage", [](Sample &s) { keep(s.queries->GetTutorUsage(s.tutorName)); });
    add("GetDisciplineUsage",
        [](Sample &s) { keep(s.queries->GetDisciplineUsage(s.discipline, s.discipline1)); });
    add("GetAuditoriaUsage",
        [](Sample &s) { keep(s.queries->GetAuditoriaUsage(s.auditoria, s.corpus)); });
    add("GetGroupKey", [](Sample &s) {
        QString g = s.groupText, c, f;
        keep(s.queries->GetGroupKey(g, c, f, QStringLiteral("Очная"), QStringLiteral("Бюджетная")));
    });
    add("GetKeyByText/Group",
        [](Sample &s) { keep(s.queries->GetKeyByText(s.groupText, "Group")); });
    add("GetKeyByText/Auditoria", [](Sample &s) {
        keep(s.queries->GetKeyByText(s.auditoria + " (" + s.corpus + ")", "Auditoria"));
    });
    add("GetKeyByText/Discipline",
        [](Sample &s) { keep(s.queries->GetKeyByText(s.discipline, "Discipline")); });
    add("GetKeyByText/Tutor",
        [](Sample &s) { keep(s.queries->GetKeyByText(s.tutorName, "Tutor")); });
    add("GetTypeKey", [](Sample &s) { keep(s.queries->GetTypeKey(s.faculty, "Faculty")); });
    add("GetGroupExamDate",
        [](Sample &s) { keep(s.queries->GetGroupExamDate(s.groupName, s.course, s.faculty)); });
    add("GetNote", [](Sample &s) { keep(s.queries->GetNote(s.day)); });
    add("GetWorkWeeks", [](Sample &s) { keep(s.queries->GetWorkWeeks()); });
    add("ShowExamsOnDate", [](Sample &s) { s.queries->ShowExamsOnDate(s.day); });
    add("workingWeekNumber", [](Sample &s) { keep(workingWeekNumber(*s.large.session, s.day)); });
    add("timetableDayKey",
        [](Sample &s) { keep(timetableDayKey(*s.large.session, *s.large.settings, s.day)); });

    // One date.
    add("OpenTimeTable/groups", [](Sample &s) { keep(s.queries->OpenTimeTable(s.day, 0)); });
    add("OpenTimeTable/tutors", [](Sample &s) { keep(s.queries->OpenTimeTable(s.day, 1)); });
    for (int kind = 1; kind <= 4; ++kind) {
        static const char *const names[] = {"OpenFreeBusy/groups", "OpenFreeBusy/disciplines",
                                            "OpenFreeBusy/auditoriums", "OpenFreeBusy/tutors"};
        add(names[kind - 1], [kind](Sample &s) { keep(s.queries->OpenFreeBusy(kind, 3, s.day)); });
    }
    add("OpenGroupLessonsOnDay",
        [](Sample &s) { keep(s.queries->OpenGroupLessonsOnDay(s.group, 3, s.day)); });
    add("OpenTutorLessonsOnDay",
        [](Sample &s) { keep(s.queries->OpenTutorLessonsOnDay(s.tutor, 3, s.day)); });
    add("qryCopyReWrite", [](Sample &s) {
        query("qryCopyReWrite",
              {{"pKeyTTL", s.dayKey},
               {"pLesson", 3},
               {"pKeyGroup", s.group},
               {"pSubGroup", 0},
               {"pKeyJob", s.job}},
              s);
    });

    // One record.
    add("OpenJobsOfTutor", [](Sample &s) { keep(s.queries->OpenJobsOfTutor(s.tutor)); });
    add("OpenJobsOfGroup", [](Sample &s) { keep(s.queries->OpenJobsOfGroup(s.group)); });
    add("OpenGroupPassport", [](Sample &s) { keep(s.queries->OpenGroupPassport(s.group)); });
    add("OpenJobKeys", [](Sample &s) { keep(s.queries->OpenJobKeys(s.jobList)); });
    add("OpenTutorFreeTime", [](Sample &s) { keep(s.queries->OpenTutorFreeTime(s.tutor)); });
    add("qryCheckCopyOverJob", [](Sample &s) {
        query("qryCheckCopyOverJob", {{"pKeyGroup", s.group}, {"pKeyJob", s.job}}, s);
    });
    for (const char *name : {"qryOutWeekDay1", "qryOutLesson1", "qryOutLesson2"})
        add(name, [name](Sample &s) { query(name, {{"pKeyTutor", s.tutor}}, s); });

    // One tutor, group or auditorium over the year.
    add("OpenBusyTime/month", [](Sample &s) {
        const QDate from(s.day.year(), s.day.month(), 1);
        keep(s.queries->OpenBusyTime(s.tutor, from.toString("dd.MM.yyyy"),
                                     from.addMonths(1).addDays(-1).toString("dd.MM.yyyy")));
    });
    add("OpenScheduleReport/tutor",
        [](Sample &s) { keep(s.queries->OpenScheduleReport(0, s.tutorName, s.first, s.last)); });
    add("OpenScheduleReport/group",
        [](Sample &s) { keep(s.queries->OpenScheduleReport(1, s.groupName, s.first, s.last)); });
    add("OpenScheduleReport/auditorium", [](Sample &s) {
        keep(
            s.queries->OpenScheduleReport(2, s.auditoria + " (" + s.corpus + ")", s.first, s.last));
    });
    add("OpenLoadBreakdown",
        [](Sample &s) { keep(s.queries->OpenLoadBreakdown(s.tutor, s.first, s.last)); });
    add("OpenTutorHoursByGroup",
        [](Sample &s) { keep(s.queries->OpenTutorHoursByGroup(s.tutor, s.first, s.last)); });
    add("OpenTutorLessonsByGroup",
        [](Sample &s) { keep(s.queries->OpenTutorLessonsByGroup(s.tutor, s.first, s.last)); });
    add("OpenTutorBusyTotals",
        [](Sample &s) { keep(s.queries->OpenTutorBusyTotals(s.tutorName)); });
    for (const char *name : {"qryOutLocalDate3", "qryOutLesson4", "qryOutLesson5"})
        add(name, [name](Sample &s) {
            query(name, {{"pKeyTutor", s.tutor}, {"pStartDate", s.first}, {"pEndDate", s.last}}, s);
        });

    // Everything.
    add("OpenLessonsInPeriod/year",
        [](Sample &s) { keep(s.queries->OpenLessonsInPeriod(s.first, s.last)); });
    for (const char *list :
         {"Groups", "GroupsInCourse", "Disciplines", "Tutors", "Korvesta", "Auditories",
          "DisciplineType", "TimeLesson", "TypeFaculty", "TypeLesson", "TypeTuition", "TypeFinance",
          "TutorTypeOut", "LectureForTabel"}) {
        add(std::string("OpenList/") + list,
            [list](Sample &s) { keep(s.queries->OpenList(list)); });
    }
}

} // namespace
} // namespace korvesta

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    korvesta::Sample sample;
    korvesta::prepareSample(sample);
    korvesta::g_sample = &sample;
    korvesta::registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
