// The headless "copy" subcommand as a planner's script runs it.

#include "data/database.h"
#include "data/institutionbuilder.h"
#include "cli/copycommand.h"
#include "support/testdocument.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

class CopyCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Monday to Saturday each hold one lesson, at the lesson of the weekday's number.
        for (int i = 0; i < 6; ++i)
            b.lesson(monday.addDays(i), i + 1, job, group, aud);
    }
    void TearDown() override { Database::forgetAll(); }

    int run(QStringList args)
    {
        output.clear();
        errors.clear();
        QTextStream out(&output), err(&errors);
        args.prepend(path);
        return runCopyCommand(args, out, err);
    }
    // "date|lesson" of every lesson from the given date on and before the source week.
    QStringList lessonsFrom(const QDate &date) const
    {
        return b.raw(QString("SELECT d.Date, c.Lesson FROM tblTimeTableContent c JOIN "
                             "tblTimeTableList d ON d.Key = c.Key_TTList WHERE d.Date >= '%1' "
                             "OR d.Date < '2026-09-14' ORDER BY d.Date, c.Lesson")
                         .arg(date.toString(Qt::ISODate)));
    }

    TestFolder folder;
    QString path = newTestDocument(folder);
    InstitutionBuilder b{Database::open(path)};
    QDate monday{2026, 9, 14};
    int group = b.add("tblGroups", {"Group", "П-1", "Course", "1"});
    int aud = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Главный"});
    int job = b.job(b.add("tblTutors", {"Tutor", "Иванов"}),
                    b.add("tblDisciplines", {"Discipline", "Матем"}));
    QString output, errors;
};

TEST_F(CopyCommand, CopiesAndRefusesAsTheDialogDoes)
{
    const QDate next = monday.addDays(7);
    const struct
    {
        const char *name;
        QStringList args;
        int code;
        QString out;
        QStringList lessons; // from the next week's Monday on, and before the source week
        QString errorStart;
    } cases[] = {
        // clang-format off
        {"week, five working days",
         {"--week", "16.09.2026", "--onto", "2026-09-25", "--set", "WorkDays=5"}, 0,
         "21.09.2026\n22.09.2026\n23.09.2026\n24.09.2026\n25.09.2026\n",
         {"2026-09-21|1", "2026-09-22|2", "2026-09-23|3", "2026-09-24|4", "2026-09-25|5"},
         "Копирование расписания: проверяется дата назначения"},
        {"a day replicated backwards",
         {"--day", "14.09.2026", "--until", "9.09.2026", "--set", "WorkDays=5"}, 0,
         "11.09.2026\n10.09.2026\n09.09.2026\n",
         {"2026-09-09|1", "2026-09-10|1", "2026-09-11|1"}, ""},
        {"onto a day with lessons, unanswered", {"--day", "14.09.2026", "--onto", "15.09.2026"}, 1,
         "", {}, "На датах назначения уже есть занятия: 1."},
        {"onto a day with lessons, --yes",
         {"--day", "14.09.2026", "--onto", "15.09.2026", "--yes"}, 0, "15.09.2026\n", {},
         "На датах назначения уже есть занятия: 1."},
        {"an empty day writes nothing", {"--day", "20.09.2026", "--onto", "22.09.2026"}, 1, "", {},
         "Скопировано дат: 0, занятий: 0\nНи одна дата не скопирована"},
        {"onto itself", {"--day", "14.09.2026", "--onto", "14.09.2026"}, 1, "", {},
         "Дата нового расписания совпадает с датой исходного."},
        {"a week does not replicate", {"--week", "14.09.2026", "--until", "21.09.2026"}, 2, "",
         {}, "Размножается только один день: --until задаётся с --day"},
        {"no destination", {"--day", "14.09.2026"}, 2, "", {},
         "Не указана дата назначения (--onto или --until)"},
        // clang-format on
    };
    // A trial says what would change and leaves the document as it was.
    EXPECT_EQ(run({"--week", "14.09.2026", "--onto", "21.09.2026", "--dry-run"}), 0)
        << errors.toStdString();
    EXPECT_TRUE(output.contains("tblTimeTableContent\t5\t0\t0\ntblTimeTableList\t5\t0\t0\n"))
        << output.toStdString();
    EXPECT_TRUE(errors.contains("Пробный запуск: документ не изменён")) << errors.toStdString();
    EXPECT_TRUE(lessonsFrom(next).isEmpty());
    EXPECT_EQ(b.rawNumber("SELECT count(*) FROM tblTimeTableList"), 6);

    for (const auto &c : cases) {
        b.raw(QString("DELETE FROM tblTimeTableContent WHERE Key_TTList IN (SELECT Key FROM "
                      "tblTimeTableList WHERE Date >= '%1' OR Date < '%2')")
                  .arg(next.toString(Qt::ISODate), monday.toString(Qt::ISODate)));
        EXPECT_EQ(run(c.args), c.code) << c.name << "\n" << errors.toStdString();
        EXPECT_EQ(output, c.out) << c.name;
        EXPECT_EQ(lessonsFrom(next), c.lessons) << c.name;
        EXPECT_TRUE(errors.startsWith(c.errorStart)) << c.name << "\n" << errors.toStdString();
    }
}

} // namespace
} // namespace korvesta
