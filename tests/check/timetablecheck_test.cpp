// The timetable check on documents with each kind of problem planted beside its look-alikes
// that are not problems; the list is compared whole.

#include "check/timetablecheck.h"
#include "data/institutionbuilder.h"
#include "settings/settingsrecord.h"
#include "support/testdocument.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

class TimetableCheckTest : public ::testing::Test
{
protected:
    void TearDown() override { Database::forgetAll(); }

    // "kind|date|lesson|objects" of every problem, in the list's order.
    QStringList found(const QDate &from = {}, const QDate &to = {}) const
    {
        QStringList rows;
        for (const TimetableProblem &p : checkTimetable(b.db(), settings, from, to).problems)
            rows << QString("%1|%2|%3|%4")
                        .arg(int(p.kind))
                        .arg(p.date.toString("dd.MM"))
                        .arg(p.lesson)
                        .arg(p.objects);
        return rows;
    }
    static QString row(ProblemKind kind, const char *date, int lesson, const QString &objects)
    {
        return QString("%1|%2|%3|%4").arg(int(kind)).arg(date).arg(lesson).arg(objects);
    }

    TestFolder folder;
    QString path = newTestDocument(folder);
    InstitutionBuilder b{Database::open(path)};
    SettingsRecord settings;
    QDate monday = QDate(2026, 9, 14);
    int g1 = b.add("tblGroups", {"Group", "П-1", "Course", "1"});
    int g2 = b.add("tblGroups", {"Group", "П-2", "Course", "1"});
    int g3 = b.add("tblGroups", {"Group", "П-3", "Course", "1"});
    int math = b.add("tblDisciplines", {"Discipline", "Матем"});
    int phys = b.add("tblDisciplines", {"Discipline", "Физ"});
    int a101 = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Гл"});
    int a202 = b.add("tblAuditories", {"Auditoria", "202", "Corpus", "Гл"});
    int ivanov = b.add("tblTutors", {"Tutor", "Иванов"});
    int petrov = b.add("tblTutors", {"Tutor", "Петров"});
    int ivanovMath = b.job(ivanov, math), petrovPhys = b.job(petrov, phys);
    int ivanovPhys = b.job(ivanov, phys);
    int lines = [this] {
        for (int g : {g1, g2, g3}) {
            b.add("tblJobList", {"Key_Job", ivanovMath, "Key_Group", g, "Hours", 40});
            b.add("tblJobList", {"Key_Job", petrovPhys, "Key_Group", g, "Hours", 40});
        }
        return 6;
    }();
};

TEST_F(TimetableCheckTest, ClashesAreFoundAndTheirLookAlikesAreNot)
{
    settings.LessonsToGroup = 0;
    // Not problems: a lecture for three groups; two subgroups, each with its tutor; a lesson
    // on a weekday another tutor is absent.
    for (int g : {g1, g2, g3})
        b.lesson(monday, 1, ivanovMath, g, a101);
    b.lesson(monday, 2, ivanovMath, g1, a101, 1);
    b.lesson(monday, 2, petrovPhys, g1, a202, 2);
    b.add("tblTutorOut", {"KeyTutor", petrov, "FreeDay", 2, "KeyTypeOut", 1});
    b.lesson(monday.addDays(1), 1, ivanovMath, g1, a101);
    EXPECT_TRUE(found().isEmpty()) << found().join("\n").toStdString();

    // Problems: Иванов at lesson 3 in two groups with two disciplines (both in 101, so the
    // auditorium too); П-2 at lesson 4 as a whole and in subgroup 1; Петров absent on Tuesdays.
    b.lesson(monday, 3, ivanovMath, g1, a101);
    b.lesson(monday, 3, ivanovPhys, g2, a101);
    b.lesson(monday, 4, ivanovMath, g2, a101);
    b.lesson(monday, 4, petrovPhys, g2, a202, 1);
    b.lesson(monday.addDays(1), 2, petrovPhys, g3, a202);
    EXPECT_EQ(found(), QStringList({row(ProblemKind::TutorClash, "14.09", 3, "Иванов"),
                                    row(ProblemKind::AuditoriumClash, "14.09", 3, "101 (Гл)"),
                                    row(ProblemKind::GroupClash, "14.09", 4, "П-2 (1)"),
                                    row(ProblemKind::TutorAbsent, "15.09", 2,
                                        "П-3 (1), Физ, Петров")}));
    // Only the period asked for is read.
    EXPECT_EQ(found(monday.addDays(1), monday.addDays(1)).size(), 1);
}

TEST_F(TimetableCheckTest, CalendarLimitsHoursAndMissingRecords)
{
    settings.WorkDays = 5;
    settings.LessonsToGroup = 2;
    b.period("Session", QDate(2026, 9, 1), QDate(2026, 12, 31));
    b.period("Selebrate", QDate(2026, 11, 4), QDate());
    b.period("Rest", QDate(2026, 12, 28), QDate(2026, 12, 31));
    b.lesson(QDate(2026, 9, 19), 1, ivanovMath, g1, a101);  // Saturday
    b.lesson(QDate(2026, 11, 4), 1, ivanovMath, g1, a101);  // holiday
    b.lesson(QDate(2026, 12, 29), 1, ivanovMath, g1, a101); // rest
    b.lesson(QDate(2027, 1, 11), 1, ivanovMath, g1, a101);  // after the study period
    for (int l = 1; l <= 3; ++l)
        b.lesson(monday, l, petrovPhys, g3, a202);
    // A lesson whose group is gone, and one whose auditorium is.
    const int gone = b.add("tblGroups", {"Group", "Ушла", "Course", "9"});
    const int lost = b.lesson(monday, 5, ivanovMath, gone, a101);
    b.db().execute(QString("DELETE FROM tblGroups WHERE Key = %1").arg(gone));
    const int shut = b.add("tblAuditories", {"Auditoria", "999", "Corpus", "Гл"});
    b.lesson(monday, 6, ivanovMath, g2, shut);
    b.db().execute(QString("DELETE FROM tblAuditories WHERE Key = %1").arg(shut));
    // Петров has one hour with П-2 and gives two.
    b.db().execute(QString("UPDATE tblJobList SET Hours = 1 WHERE Key_Job = %1 AND Key_Group = %2")
                       .arg(petrovPhys)
                       .arg(g2));
    b.lesson(monday.addDays(2), 1, petrovPhys, g2, a202);
    b.lesson(monday.addDays(2), 2, petrovPhys, g2, a202);

    const QStringList all = found(QDate(2026, 9, 1), QDate(2026, 10, 31));
    EXPECT_EQ(all, QStringList({row(ProblemKind::OverHours, "", 0, "Петров, Физ, П-2 (1)"),
                                row(ProblemKind::DayOff, "19.09", 1, "П-1 (1), Матем, Иванов"),
                                row(ProblemKind::GroupDayLimit, "14.09", 1, "П-3 (1)"),
                                row(ProblemKind::Orphan, "14.09", 5,
                                    QString("занятие %1").arg(lost)),
                                row(ProblemKind::Orphan, "14.09", 6, "П-2 (1)")}))
        << all.join("\n").toStdString();

    // The whole year: the holiday, the rest and the lesson after the study period, and the
    // hours every other line has left at its end.
    const TimetableCheck year = checkTimetable(b.db(), settings);
    int holiday = 0, rest = 0, outside = 0;
    for (const TimetableProblem &p : year.problems) {
        holiday += p.kind == ProblemKind::Holiday;
        rest += p.kind == ProblemKind::RestPeriod;
        outside += p.kind == ProblemKind::OutsideStudy;
    }
    EXPECT_EQ(holiday, 1);
    EXPECT_EQ(rest, 1);
    EXPECT_EQ(outside, 1);
    EXPECT_EQ(year.warnings, 5); // every line but the overdrawn one
    EXPECT_EQ(year.errors, int(year.problems.size()) - 5);
}

} // namespace
} // namespace korvesta
