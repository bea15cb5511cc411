// The headless "clear" subcommand as a planner's script runs it.

#include "data/database.h"
#include "data/institutionbuilder.h"
#include "cli/clearcommand.h"
#include "support/testdocument.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

class ClearCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int d = 0; d < 3; ++d) {
            b.lesson(monday.addDays(d), 1, job, g1, a101, 1);
            b.lesson(monday.addDays(d), 1, job, g1, a101, 2);
        }
        b.raw("UPDATE tblTimeTableList SET ReadOnly = 1 WHERE Date = '2026-09-15'");
    }
    void TearDown() override { Database::forgetAll(); }

    int run(QStringList args)
    {
        output.clear();
        errors.clear();
        QTextStream out(&output), err(&errors);
        args.prepend(path);
        args << "--set"
             << "CheckDelete=1"
             << "--set"
             << "WorkDays=5";
        return runClearCommand(args, out, err);
    }
    QStringList dates() const
    {
        return b.raw("SELECT d.Date, count(c.Key) FROM tblTimeTableList d LEFT JOIN "
                     "tblTimeTableContent c ON c.Key_TTList = d.Key GROUP BY d.Date");
    }

    TestFolder folder;
    QString path = newTestDocument(folder);
    InstitutionBuilder b{Database::open(path)};
    QDate monday = QDate(2026, 9, 14);
    int g1 = b.add("tblGroups", {"Group", "П-1", "Course", "1"});
    int a101 = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Главный"});
    int job = b.job(b.add("tblTutors", {"Tutor", "Иванов"}),
                    b.add("tblDisciplines", {"Discipline", "Матем"}));
    QString output, errors;
};

TEST_F(ClearCommand, ExitCodesAndWhatIsLeft)
{
    const QStringList all = {"2026-09-14|2", "2026-09-15|2", "2026-09-16|2"};
    const QStringList cell = {"--date", "14.09.2026", "--lesson", "1", "--group", "П-1 (1)"};
    const struct
    {
        const char *name;
        QStringList args;
        int code;
        QStringList dates;
        QString error; // a text the error stream must hold
    } cases[] = {
        {"no range end", {"--from", "14.09.2026"}, 2, all, "--from и --to"},
        {"two forms", {"--all", "--date", "14.09.2026"}, 2, all, "Укажите одно из"},
        {"dry run", {"--all", "--dry-run"}, 0, all, "документ не изменён"},
        {"question refused", cell, 1, all, "добавьте --yes"},
        {"a day off",
         {"--date", "20.09.2026", "--lesson", "1", "--tutor", "Иванов"},
         1,
         all,
         "Выбран выходной день"},
        {"cell", cell + QStringList{"--yes"}, 0, {"2026-09-15|2", "2026-09-16|2"}, "урок\t1"},
        {"the cell again: nothing to remove",
         cell + QStringList{"--yes"},
         1,
         {"2026-09-15|2", "2026-09-16|2"},
         "В ячейке нет занятий"},
        {"range without --yes",
         {"--from", "20.09.2026", "--to", "15.09.2026"},
         1,
         {"2026-09-15|2", "2026-09-16|2"},
         "удаляет занятия многих дат"},
        {"a range of protected dates only",
         {"--from", "15.09.2026", "--to", "15.09.2026", "--yes"},
         1,
         {"2026-09-15|2", "2026-09-16|2"},
         "Все даты периода заблокированы"},
        {"a range without a timetable",
         {"--from", "01.10.2026", "--to", "05.10.2026", "--yes"},
         1,
         {"2026-09-15|2", "2026-09-16|2"},
         "Нет расписания на эти даты"},
        {"range",
         {"--from", "20.09.2026", "--to", "15.09.2026", "--yes"},
         0,
         {"2026-09-15|2"},
         "Дата 15.09.2026 заблокирована для редактирования\nУдаление завершено"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(run(c.args), c.code) << errors.toStdString();
        EXPECT_EQ(dates(), c.dates);
        EXPECT_TRUE(errors.contains(c.error)) << errors.toStdString();
    }
    EXPECT_EQ(output, "Удалено дат: 1\nЗаблокированных дат пропущено: 1\n");
}

} // namespace
} // namespace korvesta
