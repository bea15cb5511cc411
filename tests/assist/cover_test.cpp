// Cover for an absent tutor on a hand-made day: who is offered, in which order, and the lesson
// given to the best one with the load line.

#include "assist/cover.h"
#include "data/documentsession.h"
#include "data/institutionbuilder.h"
#include "settings/settingsstore.h"
#include "support/scriptedprompts.h"
#include "support/testdocument.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

TEST(Cover, CandidatesRankedAndTheLessonGiven)
{
    TestFolder folder;
    const QString path = newTestDocument(folder);
    InstitutionBuilder b{Database::open(path)};
    const QDate monday(2026, 9, 14);
    const int g1 = b.add("tblGroups", {"Group", "П-1", "Course", "1"});
    const int g2 = b.add("tblGroups", {"Group", "П-2", "Course", "1"});
    const int math = b.add("tblDisciplines", {"Discipline", "Матем"});
    const int phys = b.add("tblDisciplines", {"Discipline", "Физ"});
    const int aud = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Гл"});
    const auto tutor = [&](const char *name) { return b.add("tblTutors", {"Tutor", name}); };
    const int ivanov = tutor("Иванов"), orlov = tutor("Орлов"), petrov = tutor("Петров");
    const int sidorov = tutor("Сидоров"), kuznetsov = tutor("Кузнецов"), gone = tutor("Ушёл");
    const auto line = [&](int t, int d, int g, int hours) {
        const int job = b.job(t, d);
        b.add("tblJobList", {"Key_Job", job, "Key_Group", g, "Hours", hours});
        return job;
    };
    const int ivanovMath = line(ivanov, math, g1, 40);
    const int orlovMath = line(orlov, math, g1, 10); // the discipline in the group
    line(petrov, math, g2, 10);                      // the discipline elsewhere
    const int sidorovMath = line(sidorov, math, g1, 10); // busy at that lesson
    line(kuznetsov, phys, g1, 10);                       // the group, another discipline
    line(gone, math, g1, 10);                            // away that day
    b.add("tblTutorOut", {"KeyTutor", gone, "FreeLocalDate", monday, "KeyTypeOut", 1});
    const int lesson = b.lesson(monday, 2, ivanovMath, g1, aud);
    b.lesson(monday, 2, sidorovMath, g2, aud);

    const CoverList list = coverList(b.db(), "Иванов", monday);
    ASSERT_TRUE(list.refusal.isEmpty()) << list.refusal.toStdString();
    ASSERT_EQ(list.lessons.size(), 1u);
    QStringList order;
    for (const CoverCandidate &c : list.lessons[0].candidates)
        order << c.tutor;
    EXPECT_EQ(order, QStringList({"Орлов", "Петров", "Кузнецов"}));
    EXPECT_FALSE(coverList(b.db(), "Орлов", monday).refusal.isEmpty()); // no lessons

    SettingsStore store{folder.file("user.ini")};
    ScriptedPrompts prompts;
    DocumentSession session{prompts, store, {folder.path(), folder.path()}};
    session.startFromCommandLine({path});
    EXPECT_FALSE(assignCover(session, prompts, list.lessons[0], list.lessons[0].candidates[1]));
    EXPECT_TRUE(assignCover(session, prompts, list.lessons[0], list.lessons[0].candidates[0]));
    EXPECT_EQ(b.rawNumber(QString("SELECT Key_Job FROM tblTimeTableContent WHERE Key = %1")
                              .arg(lesson)),
              orlovMath);
    Database::forgetAll();
}

} // namespace
} // namespace korvesta
