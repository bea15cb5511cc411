// Deleting groups, auditoriums, disciplines and tutors: the four cases by the record's lessons held
// and to come, the texts asked, and what is left in the document.

#include "editingfixture.h"

namespace korvesta {
namespace {

using Answer = Prompts::Answer;
using Icon = Prompts::Icon;
using Kind = ScriptedPrompts::Kind;

class ReferenceDelete : public EditingTest
{
protected:
    // What the user was shown since the last call, as "kind icon: text".
    QStringList shown()
    {
        QStringList out;
        for (const auto &item : prompts.shown) {
            const bool question = item.kind == Kind::YesNo;
            out << QString("%1 %2: %3")
                       .arg(question ? "?" : "!")
                       .arg(item.icon == Icon::Question  ? "question"
                            : item.icon == Icon::Warning ? "warning"
                                                         : "other")
                       .arg(item.text);
        }
        prompts.shown.clear();
        return out;
    }
    qint64 lessonsOf(const QString &field, int key, bool futureOnly = false) const
    {
        return count(QString("SELECT count(*) FROM tblTimeTableContent c JOIN tblTimeTableList d "
                             "ON c.Key_TTList = d.Key WHERE c.%1=%2 %3")
                         .arg(field)
                         .arg(key)
                         .arg(futureOnly ? "AND d.Date > date('now', 'localtime')" : ""));
    }
    qint64 exists(const QString &table, int key) const
    {
        return count(QString("SELECT count(*) FROM %1 WHERE Key=%2").arg(table).arg(key));
    }
    qint64 allLessons() const { return count("SELECT count(*) FROM tblTimeTableContent"); }
};

TEST_F(ReferenceDelete, GroupInEachCase)
{
    // Caption and total rows name no group: nothing is asked.
    EXPECT_EQ(editor.deleteGroup("Группа", "Курс", "Факультет"), DeleteOutcome::Nothing);
    EXPECT_EQ(editor.deleteGroup("групп:  2", "Итого на курсе:  1", ""), DeleteOutcome::Nothing);
    EXPECT_TRUE(shown().isEmpty());

    // Not in the timetable: the final question alone.
    prompts.answers = {Answer::No, Answer::Yes};
    EXPECT_EQ(editor.deleteGroup("Э-31", "3", "отсутствует"), DeleteOutcome::Nothing);
    EXPECT_EQ(editor.deleteGroup("Э-31", "3", "отсутствует"), DeleteOutcome::RecordDeleted);
    EXPECT_EQ(shown(), QStringList(2, "? question: Удалить группу 'Э-31' (курс '3')?"));
    EXPECT_EQ(exists("tblGroups", s.noLoad), 0);

    // Only in the future timetable: a warning, then the final question; its lessons, load
    // lines and exam dates go with it.
    const int fresh = b.add("tblGroups", {"Group", "Н-1", "Course", "1", "Key_TypeFaculty", 1});
    b.add("tblJobList", {"Key_Job", s.ivanovMath, "Key_Group", fresh, "Hours", 4, "DateExam",
                         s.future.addDays(3)});
    b.lesson(s.future, 2, s.ivanovMath, fresh, s.a101);
    b.lesson(s.future.addDays(1), 2, s.ivanovMath, fresh, s.a101);
    const qint64 lessons = allLessons();
    prompts.answers = {Answer::Yes, Answer::Yes};
    EXPECT_EQ(editor.deleteGroup("Н-1", "1", ""), DeleteOutcome::RecordDeleted);
    EXPECT_EQ(shown(),
              (QStringList{"? warning: Группа 'Н-1 (курс 1)' внесена в будущее расписание - 2 "
                           "часов.\r\nУдаление группы повлечёт её исключение из расписания\r\n"
                           "и изменение дальнейшего графика работы преподавателей.\r\n\r\n"
                           "Удалить группу?",
                           "? question: Удалить группу 'Н-1' (курс '1')?"}));
    EXPECT_EQ(allLessons(), lessons - 2);
    EXPECT_EQ(count(QString("SELECT count(*) FROM tblJobList WHERE Key_Group=%1").arg(fresh)), 0);

    // Held lessons and none to come: refused. The faculty picks one of two namesakes.
    EXPECT_EQ(editor.deleteGroup("Д'Артаньян", "2", ""), DeleteOutcome::Nothing);
    EXPECT_EQ(editor.deleteGroup("ИС-21", "2", "ФИТ"), DeleteOutcome::Nothing);
    EXPECT_EQ(shown(), (QStringList{"! warning: В группе 'Д'Артаньян (курс 2)' на сегодня "
                                    "проведено 1 занятий.\r\nУдаление невозможно",
                                    "! warning: В группе 'ИС-21 (курс 2)' на сегодня "
                                    "проведено 2 занятий.\r\nУдаление невозможно"}));

    // Held lessons and some to come: only those after now go (today's lesson is held), and
    // the group stays with its load.
    const qint64 p9Lessons = lessonsOf("Key_Group", s.p9);
    prompts.answers = {Answer::Yes};
    EXPECT_EQ(editor.deleteGroup("п-9", "1", ""), DeleteOutcome::FutureLessonsRemoved);
    EXPECT_EQ(shown(),
              QStringList{"? warning: Группа 'П-9 (курс 1)'\r\nПроведено на сегодня - 3 часов."
                          "\r\nВнесена в будущее расписание в объёме - 1 часов.\r\n"
                          "Возможно удаление группы из расписания лишь на будущее время.\r\n\r\n"
                          "Удаление группы повлечёт изменение дальнейшего графика работы "
                          "преподавателей.\r\n\r\nУдалить группу из будущего расписания?"});
    EXPECT_EQ(lessonsOf("Key_Group", s.p9), p9Lessons - 1);
    EXPECT_EQ(lessonsOf("Key_Group", s.p9, true), 0);
    EXPECT_EQ(lessonsOf("Key_Group", s.p10, true), 1);
    EXPECT_EQ(exists("tblGroups", s.p9), 1);
    EXPECT_EQ(exists("tblJobList", s.lineIvanovP9), 1);
    EXPECT_EQ(danglingRows(), 0);
}

TEST_F(ReferenceDelete, AuditoriumTakesTheUsualAuditoriumOfTutors)
{
    const int fresh = b.add("tblAuditories", {"Auditoria", "303", "Corpus", "Новый"});
    b.raw(QString("UPDATE tblTutors SET DefaultAud='303 (новый)' WHERE Key=%1").arg(s.sidorov));
    b.lesson(s.future, 3, s.petrovPhysics, s.p10, fresh);
    prompts.answers = {Answer::Yes, Answer::Yes};
    EXPECT_EQ(editor.deleteAuditorium("303", "Новый"), DeleteOutcome::RecordDeleted);
    EXPECT_EQ(shown(),
              (QStringList{"? warning: Аудитория '303 (корпус Новый)' внесена в будущее "
                           "расписание - 1 часов.\r\nУдаление аудитории повлечёт её исключение "
                           "из расписания\r\n\r\nУдалить аудиторию?",
                           "? question: Удалить аудиторию '303' (корпус 'Новый')?"}));
    EXPECT_EQ(lessonsOf("Key_Aud", fresh), 0);
    EXPECT_EQ(rows("SELECT Tutor, DefaultAud IS NULL FROM tblTutors WHERE DefaultAud IS NULL "
                   "OR DefaultAud LIKE '101%' ORDER BY Key"),
              (QStringList{"Иванов И.И.|0", "Петров П.П.|1", "Сидоров|1"}));

    prompts.answers = {Answer::No};
    EXPECT_EQ(editor.deleteAuditorium("202", "Второй"), DeleteOutcome::Nothing);
    EXPECT_EQ(shown(),
              QStringList{"? warning: Аудитория '202 (корпус Второй)'\r\nПроведено на сегодня "
                          "- 2 часов.\r\nВнесена в будущее расписание в объёме - 1 часов.\r\n"
                          "Возможно удаление аудитории из расписания лишь на будущее время."
                          "\r\n\r\nУдаление аудитории повлечёт изменение дальнейшего графика "
                          "работы преподавателей.\r\n\r\nУдалить аудиторию из будущего "
                          "расписания?"});
    EXPECT_EQ(lessonsOf("Key_Aud", s.a202, true), 1);
    EXPECT_EQ(danglingRows(), 0);
}

TEST_F(ReferenceDelete, DisciplineTakesItsJobsAndLoad)
{
    prompts.answers = {Answer::Yes};
    EXPECT_EQ(editor.deleteDiscipline("Физ", "Физика 'общая'"),
              DeleteOutcome::FutureLessonsRemoved);
    EXPECT_EQ(shown(),
              QStringList{"? warning: Дисциплина 'Физ (Физика 'общая')'\r\nПроведено на "
                          "сегодня - 2 часов.\r\nВнесено в будущее расписание в объёме - 1 "
                          "часов.\r\nВозможно удаление дисциплины из расписания лишь на "
                          "будущее время.\r\n\r\nУдаление дисциплины повлечёт изменение "
                          "дальнейшего графика работы преподавателей.\r\n\r\nУдалить "
                          "дисциплину из будущего расписания?"});
    // The future lesson of another discipline in the same cell stays.
    EXPECT_EQ(lessonsOf("Key_Job", s.petrovPhysics, true), 0);
    EXPECT_EQ(lessonsOf("Key_Job", s.ivanovMath, true), 1);

    // Now only held lessons are left: refused.
    EXPECT_EQ(editor.deleteDiscipline("Физ", "Физика 'общая'"), DeleteOutcome::Nothing);
    EXPECT_EQ(shown(), QStringList{"! warning: По дисциплине 'Физ' на сегодня проведено 2 "
                                   "занятий.\r\nУдаление невозможно"});

    const int chemistry =
        b.add("tblDisciplines", {"Discipline", "Хим", "Discipline1", "Химия", "DiscType", 1});
    const int job = b.job(s.sidorov, chemistry);
    b.add("tblJobList", {"Key_Job", job, "Key_Group", s.p10, "Hours", 8});
    b.lesson(s.future, 5, job, s.p10, s.lab);
    prompts.answers = {Answer::Yes, Answer::Yes};
    EXPECT_EQ(editor.deleteDiscipline("хим", "химия"), DeleteOutcome::RecordDeleted);
    EXPECT_EQ(shown(),
              (QStringList{"? warning: Дисциплина 'Хим' внесена в будущее расписание - 1 часов."
                           "\r\nУдаление дисциплины повлечёт исключение из расписания\r\nи "
                           "изменение дальнейшего графика работы преподавателей.\r\n\r\n"
                           "Удалить дисциплину?",
                           "? question: Удалить дисциплину 'Хим' ('Химия')?"}));
    EXPECT_EQ(exists("tblJob", job), 0);
    EXPECT_EQ(count(QString("SELECT count(*) FROM tblJobList WHERE Key_Job=%1").arg(job)), 0);
    EXPECT_EQ(danglingRows(), 0);
}

TEST_F(ReferenceDelete, TutorInEachCase)
{
    const auto jobsOf = [this](int tutor) {
        return count(QString("SELECT count(*) FROM tblJob WHERE Key_Tutor=%1").arg(tutor));
    };
    // The caption, an empty cell and an unknown name are no tutor.
    for (const char *name : {"Преподаватель", " ", "Нет такого"})
        EXPECT_EQ(editor.deleteTutor(name), DeleteOutcome::Nothing) << name;
    EXPECT_TRUE(shown().isEmpty());

    // No lessons at all: the final question alone, which has no question mark.
    prompts.answers = {Answer::No, Answer::Yes};
    EXPECT_EQ(editor.deleteTutor("сидоров"), DeleteOutcome::Nothing);
    EXPECT_EQ(editor.deleteTutor("сидоров"), DeleteOutcome::RecordDeleted);
    EXPECT_EQ(shown(), QStringList(2, "? question: Удалить преподавателя 'Сидоров'"));
    EXPECT_EQ(exists("tblTutors", s.sidorov), 0);

    // Only in the future timetable: a warning, then the final question; his lessons, jobs,
    // load lines and busy-time marks go with him.
    const int fresh = b.add("tblTutors", {"Tutor", "Новиков"});
    const int job = b.job(fresh, s.math);
    b.add("tblJobList", {"Key_Job", job, "Key_Group", s.p10, "Hours", 6});
    b.lesson(s.future, 5, job, s.p10, s.lab);
    b.lesson(s.future.addDays(1), 5, job, s.p10, s.lab);
    b.add("tblTutorOut", {"KeyTutor", fresh, "FreeDay", 2, "KeyTypeOut", 1});
    const qint64 lessons = allLessons();
    prompts.answers = {Answer::Yes, Answer::Yes};
    EXPECT_EQ(editor.deleteTutor("Новиков"), DeleteOutcome::RecordDeleted);
    EXPECT_EQ(shown(),
              (QStringList{"? warning: На преподавателя 'Новиков' составлено расписание - 2 "
                           "часов.\r\nУдаление преподавателя повлечёт исключение его из "
                           "составленного расписания.\r\n\r\nУдалить преподавателя?",
                           "? question: Удалить преподавателя 'Новиков'"}));
    EXPECT_EQ(allLessons(), lessons - 2);
    EXPECT_EQ(jobsOf(fresh), 0);
    EXPECT_EQ(count(QString("SELECT count(*) FROM tblTutorOut WHERE KeyTutor=%1").arg(fresh)), 0);
    EXPECT_EQ(danglingRows(), 0);

    // Held lessons and none to come: refused, whatever the answer would be.
    EXPECT_EQ(editor.deleteTutor("о'нил"), DeleteOutcome::Nothing);
    EXPECT_EQ(shown(), QStringList{"! warning: Преподавателем 'О'Нил' на сегодня проведено 1 "
                                   "занятий.\r\nУдаление невозможно"});
    EXPECT_EQ(exists("tblTutors", s.oneil), 1);

    // Held lessons and some to come: No keeps everything, Yes removes his lessons after now
    // only, and he stays with his load and marks.
    const QString question = "? warning: Преподаватель 'Петров П.П.'\r\nОтработано на сегодня "
                             "- 2 часов.\r\nСоставлено расписание на будущий период в объёме - "
                             "1 часов.\r\nВозможно удаление преподавателя из расписания только "
                             "за неотработанный период.\r\n\r\nУдалить преподавателя из "
                             "будущего расписания?";
    const qint64 petrovLessons = lessonsOf("Key_Job", s.petrovPhysics);
    prompts.answers = {Answer::No, Answer::Yes};
    EXPECT_EQ(editor.deleteTutor("Петров П.П."), DeleteOutcome::Nothing);
    EXPECT_EQ(lessonsOf("Key_Job", s.petrovPhysics), petrovLessons);
    EXPECT_EQ(editor.deleteTutor("Петров П.П."), DeleteOutcome::FutureLessonsRemoved);
    EXPECT_EQ(shown(), QStringList(2, question));
    EXPECT_EQ(lessonsOf("Key_Job", s.petrovPhysics), petrovLessons - 1);
    EXPECT_EQ(lessonsOf("Key_Job", s.petrovPhysics, true), 0);
    EXPECT_EQ(lessonsOf("Key_Job", s.ivanovMath, true), 1);
    EXPECT_EQ(exists("tblTutors", s.petrov), 1);
    EXPECT_EQ(jobsOf(s.petrov), 2);
    EXPECT_EQ(count(QString("SELECT count(*) FROM tblTutorOut WHERE KeyTutor=%1").arg(s.petrov)),
              5);
    EXPECT_EQ(danglingRows(), 0);
}

TEST_F(ReferenceDelete, AFailedDeletionLeavesEverythingInPlace)
{
    const qint64 lessons = allLessons();
    // The load table is gone, as in a damaged document: removing the load lines fails after
    // the lessons were already deleted inside the transaction.
    b.raw("ALTER TABLE tblJobList RENAME TO tblJobListGone");
    const int fresh = b.add("tblGroups", {"Group", "Н-2", "Course", "1", "Key_TypeFaculty", 1});
    b.lesson(s.future, 6, s.ivanovMath, fresh, s.a101);
    prompts.answers = {Answer::Yes, Answer::Yes};
    EXPECT_EQ(editor.deleteGroup("Н-2", "1", ""), DeleteOutcome::Nothing);
    EXPECT_EQ(allLessons(), lessons + 1);
    EXPECT_EQ(exists("tblGroups", fresh), 1);
}

} // namespace
} // namespace korvesta
