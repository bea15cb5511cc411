// Queries run from a script: rows a program reads back, dates in the form asked for.

#include "cli/sqlcommand.h"
#include "data/database.h"
#include "data/institutionbuilder.h"
#include "support/testdocument.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

TEST(SqlCommand, PrintsRowsInTheFormAsked)
{
    TestFolder folder;
    const QString path = newTestDocument(folder);
    {
        InstitutionBuilder b{Database::open(path)};
        b.day(QDate(2026, 9, 14), true);
    }
    Database::forgetAll();
    QString output, errors;
    auto run = [&](const QStringList &args) {
        output.clear();
        errors.clear();
        QTextStream out(&output), err(&errors);
        return runSqlCommand(QStringList{path, "SELECT Date, ReadOnly, Key FROM tblTimeTableList"}
                                 + args,
                             out, err);
    };
    ASSERT_EQ(run({"--format", "json"}), 0) << errors.toStdString();
    const QJsonObject row = QJsonDocument::fromJson(output.toUtf8()).array().first().toObject();
    EXPECT_EQ(row["Date"].toString(), "2026-09-14");
    EXPECT_EQ(row["ReadOnly"], QJsonValue(true));
    EXPECT_TRUE(row["Key"].isDouble());

    ASSERT_EQ(run({}), 0);
    EXPECT_EQ(output, "Date\tReadOnly\tKey\n14.09.2026\tTrue\t1\n");
    ASSERT_EQ(run({"--iso-dates"}), 0);
    EXPECT_EQ(output, "Date\tReadOnly\tKey\n2026-09-14\tTrue\t1\n");
    EXPECT_EQ(run({"--format", "csv"}), 2);
    EXPECT_EQ(run({"--param", "безравенства"}), 2);
    EXPECT_EQ(errors.split('\n').first(), "--param: задаётся как ИМЯ=ЗНАЧЕНИЕ, а не «безравенства»");
    Database::forgetAll();
}

} // namespace
} // namespace korvesta
