// The placement assistant from a script: a header line, records a program reads back, and
// the names every command takes.

#include "cli/suggestcommand.h"
#include "data/database.h"
#include "sample/demodocument.h"
#include "support/testdocument.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

TEST(SuggestCommand, PrintsRankedLessonsAsRecords)
{
    TestFolder folder;
    const QString path = folder.file("пример.kvt");
    writeDemoDocument(path, DemoRequest::midTerm(DemoSize::Small, {2026, 12, 7}));
    QString output, errors;
    auto run = [&](const QStringList &args) {
        output.clear();
        errors.clear();
        QTextStream out(&output), err(&errors);
        return runSuggestCommand(QStringList{path, "--from", "21.12.2026"} + args, out, err);
    };
    ASSERT_EQ(run({"--group", "ис-12", "--discipline", "Математика", "--top", "2"}), 0)
        << errors.toStdString();
    const QStringList lines = output.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "Дата\tУрок\tСвободные аудитории\tОценка\tПричины\tПомехи");
    EXPECT_TRUE(lines[1].startsWith("21.12.2026\t")) << lines[1].toStdString();

    ASSERT_EQ(run({"--group", "ИС-12 (1)", "--discipline", "Матем.", "--format=json"}), 0);
    const QJsonArray ranked = QJsonDocument::fromJson(output.toUtf8()).array();
    ASSERT_FALSE(ranked.isEmpty());
    const QJsonObject best = ranked.first().toObject();
    EXPECT_EQ(best["date"].toString().left(8), "2026-12-");
    EXPECT_GE(best["lesson"].toInt(), 1);
    EXPECT_TRUE(best["score"].isDouble());

    EXPECT_EQ(run({"--group", "ИС-12", "--discipline", "Матем.", "--top", "0"}), 2);
    EXPECT_EQ(run({"--discipline", "Матем."}), 2);
    EXPECT_EQ(run({"--group", "Нет-1", "--discipline", "Матем."}), 1);
    Database::forgetAll();
}

} // namespace
} // namespace korvesta
