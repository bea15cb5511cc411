// The check as a nightly script runs it: records a program reads back, and the exit codes.

#include "cli/checkcommand.h"
#include "data/database.h"
#include "data/institutionbuilder.h"
#include "support/testdocument.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

class CheckCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const int g = b.add("tblGroups", {"Group", "П-1", "Course", "1"});
        const int aud = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Гл"});
        const int job = b.job(b.add("tblTutors", {"Tutor", "Иванов И.И."}),
                              b.add("tblDisciplines", {"Discipline", "Матем"}));
        b.add("tblJobList", {"Key_Job", job, "Key_Group", g, "Hours", 40});
        // Two lessons of one group at once: one error.
        b.lesson(QDate(2026, 9, 14), 2, job, g, aud);
        b.lesson(QDate(2026, 9, 14), 2, job, g, aud);
    }
    void TearDown() override { Database::forgetAll(); }

    int run(const QStringList &args)
    {
        output.clear();
        errors.clear();
        QTextStream out(&output), err(&errors);
        return runCheckCommand(QStringList{path} + args, out, err);
    }

    TestFolder folder;
    QString path = newTestDocument(folder);
    InstitutionBuilder b{Database::open(path)};
    QString output, errors;
};

TEST_F(CheckCommand, PrintsRecordsAProgramReadsBack)
{
    ASSERT_EQ(run({"--format", "json", "--from", "01.09.2026"}), 1) << errors.toStdString();
    const QJsonArray problems = QJsonDocument::fromJson(output.toUtf8()).array();
    ASSERT_EQ(problems.size(), 1) << output.toStdString();
    const QJsonObject p = problems.first().toObject();
    EXPECT_EQ(p["kind"].toString(), "У группы два занятия одновременно");
    EXPECT_TRUE(p["error"].toBool());
    EXPECT_EQ(p["date"].toString(), "2026-09-14");
    EXPECT_EQ(p["lesson"].toInt(), 2);
    EXPECT_EQ(p["group"].toString(), "П-1 (1)");

    ASSERT_EQ(run({"--format=tsv", "--iso-dates"}), 1);
    const QStringList lines = output.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "Вид\tОшибка\tДата\tУрок\tГруппа\tПреподаватель\tОбъекты\tОписание");
    EXPECT_TRUE(lines[1].startsWith("У группы два занятия одновременно\ttrue\t2026-09-14\t2\tП-1 (1)"))
        << lines[1].toStdString();

    ASSERT_EQ(run({}), 1);
    EXPECT_TRUE(output.startsWith("Вид\tДата\tУрок\tОбъекты\tОписание\n")) << "the text of old";
    EXPECT_TRUE(errors.contains("Ошибок: 1, предупреждений: 0"));
}

TEST_F(CheckCommand, ExitsAsEveryCommandDoes)
{
    EXPECT_EQ(run({"--from", "15.09.2026"}), 0) << "a period without problems";
    EXPECT_EQ(run({"--format", "xml"}), 2);
    EXPECT_EQ(errors.split('\n').first(), "--format: одно из text, tsv, json, html, а не «xml»");
    EXPECT_EQ(run({"--from", "2.10.2026", "--to", "1.10.2026"}), 2);
    EXPECT_EQ(run({"--set", "нет"}), 2);
    output.clear();
    QTextStream out(&output), err(&errors);
    EXPECT_EQ(runCheckCommand({folder.file("нет.kvt")}, out, err), 3);
}

} // namespace
} // namespace korvesta
