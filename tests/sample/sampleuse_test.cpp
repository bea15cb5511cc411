// The sample as a newcomer uses it: the weeks to come can be compiled from it, and its own
// lectures placed with the norms it brings.

#include "data/database.h"
#include "data/recordset.h"
#include "cli/copycommand.h"
#include "cli/placecommand.h"
#include "sample/demodocument.h"
#include "sample/samplenorms.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"
#include "support/testdocument.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

class SampleUse : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        folder = new TestFolder;
        pristine = new QString(folder->file("пример.kvt"));
        norms = writeDemoDocument(*pristine, DemoRequest::midTerm(DemoSize::Small, {2026, 12, 7}));
    }
    static void TearDownTestSuite()
    {
        delete pristine;
        delete folder;
    }
    // Each test works on a copy of its own.
    void SetUp() override { writeTestFile(*path, readTestFile(*pristine)); }
    void TearDown() override { Database::forgetAll(); }

    // A week of the sample copied onto a fresh copy of it.
    int copy(const QStringList &args)
    {
        Database::forgetAll();
        writeTestFile(*path, readTestFile(*pristine));
        errors.clear();
        QString output;
        QTextStream out(&output), err(&errors);
        return runCopyCommand(QStringList{*path} + args + QStringList{"--set", "JobOverFlow=True"},
                              out, err);
    }

    static TestFolder *folder;
    static QString *pristine;
    static DemoNorms norms;
    TestFolder own;
    const QString copyPath = own.file("копия.kvt");
    const QString *path = &copyPath;
    QString errors;
};

TestFolder *SampleUse::folder = nullptr;
QString *SampleUse::pristine = nullptr;
DemoNorms SampleUse::norms;

// This week copied two weeks on, or onto next week, drops nothing for want of hours; onto
// next week it drops the lessons of the tutor who is away then.
TEST_F(SampleUse, WeeksToComeHaveHoursLeft)
{
    EXPECT_EQ(copy({"--week", "09.12.2026", "--onto", "23.12.2026"}), 0) << errors.toStdString();
    EXPECT_FALSE(errors.contains("отработаны")) << errors.toStdString();
    EXPECT_FALSE(errors.contains("отсутствует")) << errors.toStdString();

    EXPECT_EQ(copy({"--week", "09.12.2026", "--onto", "16.12.2026"}), 0) << errors.toStdString();
    EXPECT_FALSE(errors.contains("отработаны")) << errors.toStdString();
    EXPECT_TRUE(errors.contains("преподаватель отсутствует")) << errors.toStdString();
}

// The lecture read to the most groups, placed again a fortnight later, as the tutor's
// dialog places it, with the options the sample has raised.
TEST_F(SampleUse, ItsLecturesFitTheNormsItBrings)
{
    SettingsRecord record;
    SettingsStore store(folder->file("user.ini"));
    EXPECT_FALSE(fitNormsToSample(norms, record, store).isEmpty());
    EXPECT_TRUE(fitNormsToSample(norms, record, store).isEmpty()) << "raised once";
    ASSERT_GE(record.CountGroupOnLecture, 2);

    const Database db = Database::open(*path);
    Recordset lecture = db.openRecordset(
        "SELECT D.Date, C.Lesson, C.Key_Job, T.Tutor, S.Discipline, A.Auditoria, A.Corpus "
        "FROM ((((tblTimeTableContent AS C INNER JOIN tblTimeTableList AS D ON D.Key = "
        "C.Key_TTList) INNER JOIN tblJob AS J ON J.Key = C.Key_Job) INNER JOIN tblTutors AS T "
        "ON T.Key = J.Key_Tutor) INNER JOIN tblDisciplines AS S ON S.Key = J.Key_Discipline) "
        "INNER JOIN tblAuditories AS A ON A.Key = C.Key_Aud "
        "WHERE D.Date >= #11/30/2026# GROUP BY D.Date, C.Lesson, C.Key_Job, T.Tutor, "
        "S.Discipline, A.Auditoria, A.Corpus ORDER BY Count(*) DESC, D.Date, C.Lesson");
    ASSERT_FALSE(lecture.isEof());
    const QDate date = lecture.value(0).toDate();
    QStringList args{*path,
                     "--date",
                     date.addDays(14).toString("dd.MM.yyyy"),
                     "--lesson",
                     lecture.value(1).toString(),
                     "--tutor",
                     lecture.value(3).toString(),
                     "--discipline",
                     lecture.value(4).toString(),
                     "--aud",
                     lecture.value(5).toString() + " (" + lecture.value(6).toString() + ")",
                     "--set",
                     QString("CountGroupOnLecture=%1").arg(record.CountGroupOnLecture)};
    Recordset groups = db.openRecordset(
        QString("SELECT G.Group, G.Course FROM (tblTimeTableContent AS C INNER JOIN "
                "tblTimeTableList AS D ON D.Key = C.Key_TTList) INNER JOIN tblGroups AS G ON "
                "G.Key = C.Key_Group WHERE D.Date = #%1# AND C.Lesson = %2 AND C.Key_Job = %3")
            .arg(date.toString("M/d/yyyy"), lecture.value(1).toString(),
                 lecture.value(2).toString()));
    int count = 0;
    for (; !groups.isEof(); groups.moveNext(), ++count)
        args << "--group" << groups.value(0).toString() + " (" + groups.value(1).toString() + ")";
    EXPECT_EQ(count, norms.groupsOnLecture);

    QString output, messages;
    QTextStream out(&output), err(&messages);
    EXPECT_EQ(runPlaceCommand(args, out, err), 0) << messages.toStdString();
}

} // namespace
} // namespace korvesta
