// What the options dialog writes: the type lists with their refusals, lesson times, the study
// period and holidays, protection, and "Отмена" taking everything back.

#include "data/apppaths.h"
#include "data/calendar.h"
#include "options/optionsrules.h"
#include "options/optionssession.h"
#include "support/documentfixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace korvesta {
namespace {

using Kind = ScriptedPrompts::Kind;
const QString kCrLf = QStringLiteral("\r\n");

class OptionsSessionTest : public DocumentTest
{
protected:
    QStringList rows(const QString &sql) const { return b.raw(sql); }
    QString onlyMessage() const
    {
        const QStringList texts = prompts.texts(Kind::Message);
        return texts.size() == 1 ? texts.first() : QString("%1 messages").arg(texts.size());
    }
    // Everything the dialog may write in the document.
    QStringList documentRows() const
    {
        return rows("SELECT * FROM tblTypeFaculty") + rows("SELECT * FROM tblDiscType")
               + rows("SELECT * FROM tblTimeLesson") + rows("SELECT * FROM tblAutoTable")
               + rows("SELECT * FROM tblTimeTableList");
    }
    QString settingsFile() const
    {
        return QString::fromUtf8(readTestFile(folder.file("user.ini")));
    }

    SettingsRecord record;
    OptionsSession options{session, store, record, prompts};
    const OptionsSession::Period year{QDate(2026, 9, 1), QDate(2027, 6, 30)};
};

TEST_F(OptionsSessionTest, TypeListsRefuseDuplicatesAndRecordsInUse)
{
    const int fit = b.add("tblTypeFaculty", {"TypeFaculty", "ФИТ", "Visible", true});
    const int unused = b.add("tblTypeFaculty", {"TypeFaculty", "ФЭМ", "Visible", true});
    b.add("tblGroups", {"Group", "П-1", "Course", "1", "Key_TypeFaculty", fit});
    b.add("tblGroups", {"Group", "П-2", "Course", "1", "Key_TypeFaculty", fit});
    const int math = b.add("tblDiscType", {"Type", "Математика", "Priory", 1, "Visible", true});
    b.add("tblDisciplines", {"Discipline", "Алгебра", "DiscType", math});
    store.writeBool("Faculty", QString::number(unused), false);

    const struct
    {
        const char *name;
        std::function<bool()> act;
        QString message;
    } refusals[] = {
        {"faculty twice", [&] { return options.addFaculty(" фит "); },
         "Такой факультет уже имеется в списке"},
        {"nameless faculty", [&] { return options.addFaculty("  "); },
         "Введите название факультета"},
        {"specialization twice", [&] { return options.addSpecialization("МАТЕМАТИКА"); },
         "Такая специализация уже имеется в списке"},
        {"faculty of groups", [&] { return options.deleteFaculty(fit); },
         "Операция отменена:" + kCrLf + kCrLf + "Факультет ФИТ" + kCrLf
             + "связан с 2 учебными группами" + kCrLf + kCrLf
             + "Возможно удаление только неиспользуемого факультета"},
        {"specialization of disciplines", [&] { return options.deleteSpecialization(math); },
         "Операция отменена:" + kCrLf + kCrLf + "В специализацию Математика" + kCrLf
             + "уже включено 1 дисциплин" + kCrLf + kCrLf
             + "Возможно удаление только неиспользуемой специализации"},
        {"the faculty of groups without one", [&] { return options.deleteFaculty(1); },
         "Операция отменена:" + kCrLf + kCrLf + "Факультет отсутствует" + kCrLf
             + "назначается группам без факультета" + kCrLf + kCrLf
             + "Возможно удаление только неиспользуемого факультета"},
    };
    const QStringList before = documentRows();
    for (const auto &r : refusals) {
        prompts.shown.clear();
        EXPECT_FALSE(r.act()) << r.name;
        EXPECT_EQ(onlyMessage(), r.message) << r.name;
        EXPECT_EQ(documentRows(), before) << r.name;
    }

    // A faculty shows the user's check; deleting it forgets the check.
    std::vector<OptionsSession::ListItem> faculties = options.faculties();
    ASSERT_EQ(faculties.size(), 3u);
    EXPECT_EQ(faculties[2].text, "ФЭМ");
    EXPECT_FALSE(faculties[2].checked);
    EXPECT_TRUE(faculties[1].checked);
    EXPECT_TRUE(options.deleteFaculty(unused));
    EXPECT_EQ(store.readText("Faculty", QString::number(unused), "none"), "none");
    EXPECT_TRUE(options.addFaculty("ФЭМ"));
    EXPECT_EQ(rows("SELECT TypeFaculty, Visible FROM tblTypeFaculty ORDER BY Key"),
              QStringList({"отсутствует|1", "ФИТ|1", "ФЭМ|1"}));
}

TEST_F(OptionsSessionTest, PrioritiesStayWithoutGaps)
{
    b.raw("DELETE FROM tblDiscType");
    int keys[4];
    for (int i = 0; i < 4; ++i)
        keys[i] = b.add("tblDiscType",
                        {"Type", QString("С%1").arg(i + 1), "Priory", i + 1, "Visible", true});
    store.writeBool("DiscType", QString::number(keys[1]), false);
    EXPECT_FALSE(options.specializations()[1].checked);
    EXPECT_TRUE(options.deleteSpecialization(keys[1]));
    EXPECT_EQ(rows("SELECT Type, Priory FROM tblDiscType ORDER BY Priory"),
              QStringList({"С1|1", "С3|2", "С4|3"}));
    EXPECT_EQ(store.readText("DiscType", QString::number(keys[1]), "none"), "none");
    // A specialization never checked leaves the section as it was.
    const QString settingsBefore = settingsFile();
    EXPECT_TRUE(options.deleteSpecialization(keys[2]));
    EXPECT_EQ(settingsFile(), settingsBefore);
    EXPECT_TRUE(options.addSpecialization("С5"));
    EXPECT_EQ(rows("SELECT Type, Priory FROM tblDiscType ORDER BY Priory"),
              QStringList({"С1|1", "С4|2", "С5|3"}));
}

TEST_F(OptionsSessionTest, LessonTimesOfANewDocument)
{
    std::vector<OptionsSession::LessonTime> times = options.lessonTimes(6, 3);
    ASSERT_EQ(times.size(), 6u);
    EXPECT_EQ(times[3].lesson, 4);
    EXPECT_EQ(times[3].inShift, 1);
    EXPECT_TRUE(times[3].time.isEmpty());

    EXPECT_TRUE(options.setLessonTime(4, "11:40-12:25"));
    EXPECT_TRUE(options.setLessonTime(4, "11:50-12:35"));
    EXPECT_TRUE(options.setLessonTime(1, "08:30-09:15"));
    EXPECT_TRUE(options.setLessonTime(2, "")); // no row, nothing to clear
    EXPECT_EQ(rows("SELECT Lesson, TimeLesson FROM tblTimeLesson ORDER BY Lesson"),
              QStringList({"1|08:30-09:15", "4|11:50-12:35"}));
    EXPECT_EQ(options.lessonTimes(6, 3)[3].time, "11:50-12:35");
    EXPECT_TRUE(options.setLessonTime(4, ""));
    EXPECT_EQ(rows("SELECT Lesson, TimeLesson IS NULL FROM tblTimeLesson ORDER BY Lesson"),
              QStringList({"1|0", "4|1"}));
    // A lesson past the day is not listed.
    EXPECT_EQ(options.lessonTimes(0, 0).size(), 0u);
}

TEST_F(OptionsSessionTest, HolidaysInsideTheStudyPeriodWithoutOverlaps)
{
    b.period("Session", year.start, year.end);
    b.period("Year", QDate(2026, 9, 1), QDate(2027, 8, 31));
    b.period("Rest", QDate(2026, 12, 28), QDate(2027, 1, 10));

    EXPECT_TRUE(options.addHoliday(QDate(2026, 11, 4), QDate(2026, 11, 4), year));
    EXPECT_TRUE(options.addHoliday(QDate(2027, 3, 31), QDate(2027, 3, 24), year));
    const QString overlap = "Пересекающиеся периоды";
    const struct
    {
        const char *name;
        QDate first, last;
        QString message;
    } refusals[] = {
        {"touches a vacation", {2027, 1, 10}, {2027, 1, 12}, overlap},
        {"holds a holiday", {2026, 11, 1}, {2026, 11, 8}, overlap},
        {"the same holiday", {2026, 11, 4}, {2026, 11, 4}, overlap},
        {"inside a vacation", {2027, 1, 1}, {2027, 1, 1}, overlap},
        {"before the study period",
         {2026, 8, 31},
         {2026, 9, 2},
         "Каникулы и праздники указываются внутри учебного периода 01.09.2026 - 30.06.2027"},
        {"after it",
         {2027, 7, 1},
         {2027, 7, 1},
         "Каникулы и праздники указываются внутри учебного периода 01.09.2026 - 30.06.2027"},
        {"31 days", {2027, 2, 1}, {2027, 3, 3}, "Каждый период не более 30 дней"},
    };
    const QStringList before = documentRows();
    for (const auto &r : refusals) {
        prompts.shown.clear();
        EXPECT_FALSE(options.addHoliday(r.first, r.last, year)) << r.name;
        EXPECT_EQ(onlyMessage(), r.message) << r.name;
        EXPECT_EQ(documentRows(), before) << r.name;
    }
    EXPECT_TRUE(options.addHoliday(QDate(2027, 2, 1), QDate(2027, 3, 2), year)); // 30 days

    QStringList shown;
    for (const OptionsSession::Holiday &h : options.holidays())
        shown << h.itemKey().left(2) + " " + h.text();
    EXPECT_EQ(shown, QStringList({"re 28.12.2026 - 10.01.2027", "re 01.02.2027 - 02.03.2027",
                                  "re 24.03.2027 - 31.03.2027", "se 04.11.2026"}));
    const OptionsSession::Holiday first = options.holidays().front();
    EXPECT_TRUE(options.deleteHoliday(first.key));
    EXPECT_EQ(options.holidays().size(), 3u);
    // The year and the study period are no holidays to delete.
    for (const QString &type : {QString("Session"), QString("Year")})
        EXPECT_TRUE(options.deleteHoliday(
            b.rawNumber("SELECT Key FROM tblAutoTable WHERE DateType = '" + type + "'")));
    EXPECT_EQ(b.rawNumber("SELECT count(*) FROM tblAutoTable WHERE DateType IN "
                          "('Session', 'Year')"),
              2);
}

TEST_F(OptionsSessionTest, TheStudyPeriodIsWrittenOnApply)
{
    const OptionsSession::Period shown = options.studyPeriod(QDate(2027, 2, 10));
    EXPECT_EQ(shown.start, QDate(2026, 9, 1));
    EXPECT_EQ(shown.end, QDate(2027, 2, 10));

    EXPECT_FALSE(options.apply(record, year));
    EXPECT_FALSE(options.apply(record, {year.start, QDate(2027, 5, 31)}));
    EXPECT_EQ(rows("SELECT DateType, DateStart, DateEnd FROM tblAutoTable"),
              QStringList({"Session|2026-09-01|2027-05-31"}));
    EXPECT_EQ(options.studyPeriod().end, QDate(2027, 5, 31));

    // The working weeks of the load count from it.
    b.period("Rest", QDate(2026, 12, 28), QDate(2027, 1, 10));
    EXPECT_EQ(workingWeekNumber(b.db(), QDate(2027, 1, 11), QDate(2026, 10, 1)), 18);

    prompts.shown.clear();
    const std::optional<options::Refusal> refusal =
        options.apply(record, {QDate(2027, 6, 1), QDate(2027, 5, 31)});
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->control, "DTPickerStart");
    EXPECT_EQ(onlyMessage(), "Дата начала учебного периода позже даты окончания");
    EXPECT_EQ(options.studyPeriod().start, QDate(2026, 9, 1));
}

TEST_F(OptionsSessionTest, ApplyRefusesNormsOutOfBoundsAndWritesNothing)
{
    SettingsRecord edited = record;
    edited.LessonsInDay = 100;
    const QString before = settingsFile();
    const std::optional<options::Refusal> refusal = options.apply(edited, year);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->control, "txtLessonsInDay");
    EXPECT_EQ(settingsFile(), before);
    EXPECT_EQ(record.LessonsInDay, 14);
    EXPECT_TRUE(rows("SELECT * FROM tblAutoTable").isEmpty());

    edited.LessonsInDay = 8;
    edited.LessonsInPeriod = 4;
    edited.LessonsToGroup = 6;
    edited.WorkTimePeriod = 2;
    edited.FreeWindow = false;
    EXPECT_FALSE(options.apply(edited, year));
    EXPECT_EQ(record, edited);
    SettingsRecord reread;
    reread.load(store);
    EXPECT_EQ(reread, edited);
}

TEST_F(OptionsSessionTest, ProtectionUnderThePassword)
{
    const QString on =
        "Укажите пароль для ограничения доступа" + kCrLf + "к редактированию расписания";
    const QString off =
        "Введите пароль для отмены ограничения" + kCrLf + "редактирования расписания";
    const auto password = [&] { return store.readText("Settings", "AccessEditPwd", "none"); };

    prompts.textAnswers = {std::nullopt}; // the question cancelled: nothing changes
    EXPECT_FALSE(options.setProtection(true));
    EXPECT_EQ(password(), "none");

    prompts.textAnswers = {QString("секрет")};
    EXPECT_TRUE(options.setProtection(true));
    EXPECT_EQ(password(), "секрет");
    EXPECT_TRUE(record.SaveCurrTable);
    EXPECT_TRUE(store.readBool("Settings", "SaveCurrTable", false));

    prompts.textAnswers = {QString("Секрет")};
    EXPECT_TRUE(options.setProtection(false));
    EXPECT_EQ(password(), "секрет");
    EXPECT_TRUE(store.readBool("Settings", "SaveCurrTable", false));

    prompts.textAnswers = {QString("секрет")};
    EXPECT_FALSE(options.setProtection(false));
    EXPECT_EQ(password(), "");
    EXPECT_FALSE(store.readBool("Settings", "SaveCurrTable", true));

    // An empty password is a password too.
    prompts.textAnswers = {QString(), QString()};
    EXPECT_TRUE(options.setProtection(true));
    EXPECT_FALSE(options.setProtection(false));
    EXPECT_EQ(prompts.texts(Kind::Text), QStringList({on, on, off, off, on, off}));
    EXPECT_EQ(prompts.texts(Kind::Message), QStringList({"Неверный пароль"}));
}

TEST_F(OptionsSessionTest, ProtectAllDates)
{
    b.day(QDate(2026, 9, 14));
    b.day(QDate(2026, 9, 15), true);
    b.day(QDate(2026, 9, 16));
    std::vector<std::pair<int, int>> steps;
    EXPECT_EQ(options.protectAll([&](int done, int total) { steps.push_back({done, total}); }), 2);
    EXPECT_EQ(steps, (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}}));
    EXPECT_EQ(rows("SELECT ReadOnly FROM tblTimeTableList"), QStringList({"1", "1", "1"}));
    EXPECT_EQ(options.protectAll(), 0);
    EXPECT_EQ(prompts.texts(Kind::Message),
              QStringList({"Защищено дат расписания: 2", "Все даты расписания уже защищены"}));
}

TEST_F(OptionsSessionTest, DisplayDefaultsTheTimetableCannotShowAreRefused)
{
    EXPECT_FALSE(options.setDisplayDefault(1, {true, true, false, false, false, false}, false));
    EXPECT_EQ(store.readText("Settings", "DisplayTextDefault1", "none"), "none");
    EXPECT_TRUE(options.setDisplayDefault(1, {false, true, false, true, true, true}, false));
    EXPECT_EQ(store.readText("Settings", "DisplayTextDefault1", "none"), "43");
    EXPECT_EQ(store.readText("Settings", "ShowTimeLesson", "none"), "False");
}

} // namespace
} // namespace korvesta
