// Free slots for a load line: what is left out, how the rest is ranked, and that every slot
// suggested is one the placement itself accepts.

#include "assist/slotsuggestion.h"
#include "data/documentsession.h"
#include "data/institutionbuilder.h"
#include "editing/placement.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"
#include "support/scriptedprompts.h"
#include "support/testdocument.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <set>

namespace korvesta {
namespace {

class SlotSuggestionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings.LessonsInDay = 4;
        settings.LessonsToGroup = 0;
        session.startFromCommandLine({path});
    }
    void TearDown() override { Database::forgetAll(); }

    TestFolder folder;
    QString path = newTestDocument(folder);
    InstitutionBuilder b{Database::open(path)};
    QDate monday = QDate(2026, 9, 14);
    int g1 = b.add("tblGroups", {"Group", "П-1", "Course", "1"});
    int g2 = b.add("tblGroups", {"Group", "П-2", "Course", "1"});
    int math = b.add("tblDisciplines", {"Discipline", "Матем", "Discipline1", "Математика"});
    int phys = b.add("tblDisciplines", {"Discipline", "Физ"});
    int a101 = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Гл"});
    int ivanov = b.add("tblTutors", {"Tutor", "Иванов", "DefaultAud", "101 (Гл)"});
    int petrov = b.add("tblTutors", {"Tutor", "Петров"});
    int ivanovMath = b.job(ivanov, math), petrovPhys = b.job(petrov, phys);
    int line = b.add("tblJobList", {"Key_Job", ivanovMath, "Key_Group", g1, "Hours", 10});
    int other = b.add("tblJobList", {"Key_Job", petrovPhys, "Key_Group", g2, "Hours", 10});

    SettingsStore store{folder.file(QStringLiteral("user.ini"))};
    SettingsRecord settings;
    ScriptedPrompts prompts;
    DocumentSession session{prompts, store, {folder.path(), folder.path()}};

    SlotSuggestions suggest(const QDate &from, const QDate &to)
    {
        return suggestSlots(b.db(), settings, {"П-1 (1)", "Математика", from, to, 100, {}});
    }
};

TEST_F(SlotSuggestionTest, BusyCellsAreLeftOutAndEveryOtherSlotCanBePlaced)
{
    // Monday: П-1 has lesson 2; Иванов teaches П-2 at lesson 3 (a lecture line of his would
    // be another discipline here, so a clash); 101 is taken at lesson 4 by Петров.
    // Tuesday: Иванов is away all day. Wednesday is a holiday.
    b.lesson(monday, 2, ivanovMath, g1, a101);
    const int ivanovPhys = b.job(ivanov, phys);
    b.add("tblJobList", {"Key_Job", ivanovPhys, "Key_Group", g2, "Hours", 10});
    b.lesson(monday, 3, ivanovPhys, g2, a101);
    b.lesson(monday, 4, petrovPhys, g2, a101);
    b.add("tblTutorOut", {"KeyTutor", ivanov, "FreeLocalDate", monday.addDays(1), "KeyTypeOut", 1});
    b.period("Selebrate", monday.addDays(2), QDate());

    const SlotSuggestions found = suggest(monday, monday.addDays(2));
    ASSERT_TRUE(found.refusal.isEmpty()) << found.refusal.toStdString();
    EXPECT_EQ(found.hoursLeft, 9);
    std::set<std::pair<QDate, int>> cells;
    for (const Slot &s : found.best)
        cells.insert({s.date, s.lesson});
    // Monday lesson 1 only: 2 is the group's, 3 the tutor's, 4 leaves no auditorium.
    EXPECT_EQ(cells, (std::set<std::pair<QDate, int>>{{monday, 1}}));

    LessonPlacement placement(session, settings, store, prompts);
    for (const Slot &s : found.best) {
        const std::optional<PlacementChoice> choice =
            placement.openForGroup(s.date, s.lesson, "П-1", "1", "");
        ASSERT_TRUE(choice) << s.date.toString().toStdString() << " " << s.lesson;
        const PlacementLine *l = choice->line(line);
        ASSERT_TRUE(l);
        EXPECT_FALSE(l->blocked());
    }
}

TEST_F(SlotSuggestionTest, RankingKeepsDaysWithoutGapsAndRefusesWhatCannotBe)
{
    b.lesson(monday, 1, petrovPhys, g1, a101);
    const SlotSuggestions found = suggest(monday, monday);
    ASSERT_GE(found.best.size(), 2u);
    // Lesson 2 follows the group's lesson 1; lesson 4 would leave a gap.
    EXPECT_EQ(found.best.front().lesson, 2);
    EXPECT_EQ(found.best.back().lesson, 4);
    EXPECT_TRUE(found.best.back().reasons.contains("окно у группы"));

    EXPECT_FALSE(suggestSlots(b.db(), settings, {"П-1 (1)", "Химия", monday, monday, 5, {}})
                     .refusal.isEmpty());
    b.db().execute(QString("UPDATE tblJobList SET Hours = 0 WHERE Key = %1").arg(line));
    EXPECT_TRUE(suggest(monday, monday).refusal.startsWith("По строке нагрузки не осталось"));
    (void)other;
}

// A group taught in the afternoon the weeks before is offered its afternoon lessons first,
// and a morning lesson is marked as outside its shift.
TEST_F(SlotSuggestionTest, TheGroupsShiftComesFirst)
{
    settings.LessonsInDay = 8;
    settings.LessonsToGroup = 2;
    for (int d = 0; d < 5; ++d) {
        b.lesson(monday.addDays(d - 7), 5, petrovPhys, g1, a101);
        b.lesson(monday.addDays(d - 7), 6, petrovPhys, g1, a101);
    }
    const SlotSuggestions found = suggest(monday, monday);
    ASSERT_GE(found.best.size(), 8u);
    EXPECT_TRUE(found.best.front().lesson == 5 || found.best.front().lesson == 6)
        << found.best.front().lesson;
    const auto first = std::find_if(found.best.begin(), found.best.end(),
                                    [](const Slot &s) { return s.lesson == 1; });
    ASSERT_NE(first, found.best.end());
    EXPECT_TRUE(first->reasons.contains("вне смены группы (уроки 5-6)"))
        << first->reasons.join(", ").toStdString();
}

} // namespace
} // namespace korvesta
