// A date's note stored and read back, row by row: no empty date rows, a cleared note deleted,
// nothing written when nothing changed.

#include "editing/datenote.h"
#include "support/documentfixture.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

using Stored = DateNote::Stored;

class DateNoteTest : public DocumentTest
{
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        History::attach(*session.access());
    }
    qint64 count(const char *table) const
    {
        return b.rawNumber(QString("SELECT count(*) FROM %1").arg(table));
    }

    QDate monday = QDate(2026, 9, 14);
    DateNote note{session, prompts};
};

TEST_F(DateNoteTest, StoresOnlyWhatChangesAndKeepsTheDateRow)
{
    EXPECT_EQ(note.store(monday, ""), Stored::Unchanged);
    EXPECT_EQ(count("tblTimeTableList"), 0); // no date row for nothing

    // Quotes, a line break and the dialect's wildcard and date characters stay as typed.
    const QString text = "Собрание в 14:00 \"кафедры\"\nO'Brien * ? # [1]";
    EXPECT_EQ(note.store(monday, text), Stored::Written);
    EXPECT_EQ(note.load(monday), text);
    EXPECT_EQ(count("tblTimeTableList"), 1);
    EXPECT_EQ(note.store(monday, text), Stored::Unchanged);
    EXPECT_EQ(History::of(*session.access())->undoCaptions(), QStringList{"заметка на 14.09.2026"});

    EXPECT_EQ(note.store(monday, "Другое"), Stored::Written);
    EXPECT_EQ(note.load(monday), "Другое");
    EXPECT_EQ(count("tblNotes"), 1);

    EXPECT_EQ(note.store(monday, ""), Stored::Written);
    EXPECT_EQ(count("tblNotes"), 0);
    EXPECT_EQ(count("tblTimeTableList"), 1);
    EXPECT_TRUE(note.load(monday).isEmpty());
    EXPECT_TRUE(note.load(monday.addDays(1)).isEmpty());
}

} // namespace
} // namespace korvesta
