// The state of every lesson for a load line against clashes counted here from the lessons
// placed, and the colours the week timetable gets from it.

#include "assist/slotmap.h"
#include "assist/slotpaint.h"
#include "data/documentsession.h"
#include "data/institutionbuilder.h"
#include "grid/gridmodel.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"
#include "support/scriptedprompts.h"
#include "support/testdocument.h"
#include "views/headlessviews.h"
#include "views/timetable/timetablelayout.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <map>
#include <set>

namespace korvesta {
namespace {

class SlotMapTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings.LessonsInDay = 4;
        settings.LessonsToGroup = 3;
        settings.LessonsToTutor = 2;
        settings.WorkDays = 5;
        settings.MergeLessons = true;
        session.startFromCommandLine({path});
    }
    void TearDown() override { Database::forgetAll(); }

    TestFolder folder;
    QString path = newTestDocument(folder);
    InstitutionBuilder b{Database::open(path)};
    QDate monday = QDate(2026, 9, 14);
    int g1 = b.add("tblGroups", {"Group", "П-1", "Course", "1"});
    int g2 = b.add("tblGroups", {"Group", "П-2", "Course", "1"});
    int g3 = b.add("tblGroups", {"Group", "П-3", "Course", "2"});
    int math = b.add("tblDisciplines", {"Discipline", "Матем", "LevelDiff", 2});
    int phys = b.add("tblDisciplines", {"Discipline", "Физ", "LevelDiff", 2});
    int hist = b.add("tblDisciplines", {"Discipline", "Ист"});
    int a101 = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Гл"});
    int a102 = b.add("tblAuditories", {"Auditoria", "102", "Corpus", "Гл"});
    int ivanov = b.add("tblTutors", {"Tutor", "Иванов", "DefaultAud", "101 (Гл)"});
    int petrov = b.add("tblTutors", {"Tutor", "Петров"});
    int ivanovMath = b.job(ivanov, math), ivanovHist = b.job(ivanov, hist);
    int petrovPhys = b.job(petrov, phys);
    int line = b.add("tblJobList", {"Key_Job", ivanovMath, "Key_Group", g1, "Hours", 200});

    SettingsStore store{folder.file(QStringLiteral("user.ini"))};
    SettingsRecord settings;
    ScriptedPrompts prompts;
    DocumentSession session{prompts, store, {folder.path(), folder.path()}};
};

TEST_F(SlotMapTest, EveryLessonAgreesWithTheClashesOfTheLessonsPlaced)
{
    // Two weeks of lessons put at random; the tutor away on one Thursday.
    QRandomGenerator random(7);
    struct Placed
    {
        int job, group, aud;
    };
    std::map<std::pair<QDate, int>, std::vector<Placed>> placed;
    const int jobs[] = {ivanovMath, ivanovHist, petrovPhys};
    const int groups[] = {g1, g2, g3};
    const int auds[] = {a101, a102};
    for (int n = 0; n < 60; ++n) {
        const QDate date = monday.addDays(random.bounded(12));
        if (date.dayOfWeek() > 5)
            continue;
        const int lesson = 1 + random.bounded(4);
        const Placed p{jobs[random.bounded(3)], groups[random.bounded(3)], auds[random.bounded(2)]};
        auto &cell = placed[{date, lesson}];
        const bool clash = std::any_of(cell.begin(), cell.end(), [&](const Placed &o) {
            return o.group == p.group || o.aud == p.aud
                   || (o.job != petrovPhys) == (p.job != petrovPhys);
        });
        if (clash)
            continue;
        cell.push_back(p);
        b.add("tblJobList", {"Key_Job", p.job, "Key_Group", p.group, "Hours", 10});
        b.lesson(date, lesson, p.job, p.group, p.aud);
    }
    const QDate away = monday.addDays(3);
    b.add("tblTutorOut", {"KeyTutor", ivanov, "FreeLocalDate", away, "KeyTypeOut", 1});

    QString refusal;
    const std::optional<AssistLine> l = findLoadLine(b.db(), "П-1 (1)", "Матем", "", &refusal);
    ASSERT_TRUE(l) << refusal.toStdString();
    EXPECT_EQ(l->keyJobList, line);
    const SlotMap map(b.db(), settings, *l, monday, monday.addDays(13));
    int free = 0, soft = 0;
    for (const SlotState &s : map.states()) {
        SCOPED_TRACE(s.date.toString("dd.MM").toStdString() + " " + std::to_string(s.lesson));
        const auto &cell = placed[{s.date, s.lesson}];
        std::set<int> groupLessons, tutorLessons;
        for (int lesson = 1; lesson <= 4; ++lesson) {
            for (const Placed &p : placed[{s.date, lesson}]) {
                if (p.group == g1)
                    groupLessons.insert(lesson);
                if (p.job != petrovPhys)
                    tutorLessons.insert(lesson);
            }
        }
        const auto has = [&](auto pred) { return std::any_of(cell.begin(), cell.end(), pred); };
        const bool blocked = s.date.dayOfWeek() > 5 || s.date == away
                             || groupLessons.size() >= 3
                             || has([&](const Placed &p) { return p.group == g1; })
                             || has([&](const Placed &p) { return p.job != petrovPhys; })
                             || cell.size() == 2;
        EXPECT_EQ(s.fit == SlotFit::None, blocked) << s.problems.join("; ").toStdString();
        if (blocked)
            continue;
        const bool usualTaken = has([&](const Placed &p) { return p.aud == a101; });
        const int partner = s.lesson % 2 ? s.lesson + 1 : s.lesson - 1;
        bool pairTaken = false;
        for (const Placed &p : placed[{s.date, partner}])
            pairTaken = pairTaken || p.group == g1 || p.job != petrovPhys;
        const bool pairOurs = std::any_of(
            placed[{s.date, partner}].begin(), placed[{s.date, partner}].end(),
            [&](const Placed &p) { return p.group == g1 && p.job == ivanovMath; });
        std::set<QString> expected;
        if (tutorLessons.size() >= 2)
            expected.insert("Достигнут предел дневной нагрузки для преподавателя");
        if (usualTaken)
            expected.insert("Своя аудитория преподавателя занята");
        if (pairTaken && !pairOurs)
            expected.insert("Парное занятие невозможно");
        EXPECT_EQ(std::set<QString>(s.problems.begin(), s.problems.end()), expected);
        EXPECT_EQ(s.fit, expected.empty() ? SlotFit::Free : SlotFit::Soft);
        EXPECT_EQ(s.freeAuditoriums.size(), qsizetype(2 - cell.size()));
        if (!usualTaken) {
            EXPECT_EQ(s.freeAuditoriums.front(), "101 (Гл)");
        }
        (s.fit == SlotFit::Free ? free : soft)++;
    }
    EXPECT_GT(free, 0);
    EXPECT_GT(soft, 0);

    // The ranking: free and soft lessons only, scores falling.
    const std::vector<SlotState> best = map.ranked(0);
    EXPECT_EQ(int(best.size()), free + soft);
    EXPECT_TRUE(std::is_sorted(best.begin(), best.end(), [](const auto &x, const auto &y) {
        return x.score > y.score;
    }));

    // The week timetable: the group's column takes the colours, the others none.
    settings.ShowColorItem = false;
    GridModel grid;
    HeadlessViews views{grid, session, store, settings, prompts};
    views.date = monday.addDays(7);
    ASSERT_TRUE(views.show(41));
    const TimetableLayout layout = TimetableLayout::ofGrid(TimetableKind::Week, settings, grid);
    SlotPaint paint;
    ASSERT_TRUE(paint.paint(grid, layout, map, *l, views.date));
    const int col = groupColumn(grid, layout, *l);
    ASSERT_GE(col, 0);
    int painted = 0;
    for (int row = layout.headerRows; row < grid.rows(); ++row) {
        const int lesson = layout.lessonOfRow(grid, row);
        const int weekday = layout.weekdayOfRow(grid, row);
        if (lesson == 0 || weekday == 0)
            continue;
        const SlotState *s = map.state(views.date.addDays(weekday - 1), lesson);
        ASSERT_TRUE(s);
        if (s->fit != SlotFit::None) {
            EXPECT_EQ(grid.cellBackColor(row, col), SlotPaint::colorOf(s->fit));
            ++painted;
        } else {
            EXPECT_TRUE(paint.toolTip(row, col).contains(s->problems.front()));
        }
        EXPECT_NE(grid.cellBackColor(row, col + 1), SlotPaint::colorOf(SlotFit::Free));
    }
    EXPECT_GT(painted, 0);
}

TEST_F(SlotMapTest, HardDisciplinesAreSpreadAndSeveralTutorsOfALineAreTold)
{
    settings.LessonsToTutor = 0;
    settings.LessonsToGroup = 0;
    settings.MergeLessons = false;
    // Monday holds a hard lesson of П-1, Tuesday an easy one: the hard line goes to Tuesday.
    const int petrovMath = b.job(petrov, math);
    b.add("tblJobList", {"Key_Job", petrovPhys, "Key_Group", g1, "Hours", 10});
    b.add("tblJobList", {"Key_Job", ivanovHist, "Key_Group", g1, "Hours", 10});
    b.add("tblJobList", {"Key_Job", petrovMath, "Key_Group", g1, "Hours", 10});
    b.lesson(monday, 1, petrovPhys, g1, a102);
    b.lesson(monday.addDays(1), 1, ivanovHist, g1, a102);

    std::optional<AssistLine> l = findLoadLine(b.db(), "П-1", "Матем", "Иванов", nullptr);
    ASSERT_TRUE(l);
    const SlotMap map(b.db(), settings, *l, monday, monday.addDays(1));
    const std::vector<SlotState> best = map.ranked(1);
    ASSERT_EQ(best.size(), 1u);
    EXPECT_EQ(best.front().date, monday.addDays(1));
    EXPECT_TRUE(map.state(monday, 2)->reasons.contains("трудный день у группы"));

    // Two tutors teach Матем to П-1: the tutor picks, an unknown one is told.
    l = findLoadLine(b.db(), "П-1 (1)", "Матем", "Петров", nullptr);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->tutor, "Петров");
    QString refusal;
    EXPECT_FALSE(findLoadLine(b.db(), "П-1 (1)", "Матем", "Сидоров", &refusal));
    EXPECT_TRUE(refusal.contains("Сидоров"));

    // A line with every hour placed can go nowhere, and says why on every lesson.
    b.db().execute(QString("UPDATE tblJobList SET Hours = 0 WHERE Key = %1").arg(line));
    l = loadLine(b.db(), line);
    ASSERT_TRUE(l);
    const SlotMap spent(b.db(), settings, *l, monday, monday);
    EXPECT_TRUE(std::all_of(spent.states().begin(), spent.states().end(), [](const auto &s) {
        return s.fit == SlotFit::None && s.problems.front().startsWith("По строке нагрузки");
    }));
    EXPECT_FALSE(loadLine(b.db(), 999999));
}

} // namespace
} // namespace korvesta
