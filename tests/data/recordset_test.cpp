// Reading and changing rows through recordsets, over tables and through joins.

#include "database.h"
#include "dberror.h"
#include "recordset.h"
#include "support/testdocument.h"

#include <QDate>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

class RecordsetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = newTestDocument(folder);
        db = std::make_unique<Database>(Database::open(path));
    }

    // Reads through a fresh connection, so the assertion sees what is on disk.
    QVariant onDisk(const QString &sql, const QString &field)
    {
        Database::forgetAll();
        Recordset rs = Database::open(path).openRecordset(sql);
        return rs.isEof() ? QVariant() : rs.value(field);
    }

    TestFolder folder;
    QString path;
    std::unique_ptr<Database> db;
};

TEST_F(RecordsetTest, NavigationCountsAndPositions)
{
    for (const char *t : {"А", "Б", "В"})
        db->execute(QStringLiteral("INSERT INTO tblTutors (Tutor) VALUES ('%1')").arg(QString::fromUtf8(t)));
    Recordset rs = db->openRecordset("SELECT tblTutors.Tutor FROM tblTutors ORDER BY tblTutors.Tutor DESC;");
    EXPECT_EQ(rs.recordCount(), 3);
    EXPECT_FALSE(rs.isBof());
    EXPECT_EQ(rs.value(0).toString(), QStringLiteral("В"));
    rs.moveLast();
    EXPECT_EQ(rs.absolutePosition(), 2);
    EXPECT_EQ(rs["Tutor"].toString(), QStringLiteral("А"));
    rs.moveNext();
    EXPECT_TRUE(rs.isEof());
    EXPECT_THROW(rs.value(0), DbError);
    EXPECT_THROW(rs.moveNext(), DbError);
    rs.setAbsolutePosition(1);
    EXPECT_EQ(rs.value("TUTOR").toString(), QStringLiteral("Б"));
    rs.movePrevious();
    rs.movePrevious();
    EXPECT_TRUE(rs.isBof());

    Recordset none = db->openRecordset("SELECT tblTutors.Tutor FROM tblTutors WHERE tblTutors.Key = 0");
    EXPECT_TRUE(none.isEof());
    EXPECT_TRUE(none.isBof());
    EXPECT_EQ(none.recordCount(), 0);
}

TEST_F(RecordsetTest, AddNewGivesTheKeyBeforeUpdateAndConvertsDates)
{
    db->execute("INSERT INTO tblTimeTableList ([Date]) VALUES (#9/1/2007#)");
    db->execute("DELETE * FROM tblTimeTableList");
    Recordset rs = db->openRecordset(
        "SELECT tblTimeTableList.* FROM tblTimeTableList WHERE (((tblTimeTableList.Date)=#3/14/2007#));");
    ASSERT_TRUE(rs.isEof());
    rs.addNew();
    const qint64 key = rs.value("Key").toLongLong();
    EXPECT_EQ(key, 2) << "keys are not reused after a delete";
    rs.setValue("Date", QStringLiteral("14.03.2007"));
    rs.setValue("ReadOnly", true);
    rs.update();
    EXPECT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(onDisk("SELECT tblTimeTableList.* FROM tblTimeTableList WHERE tblTimeTableList.Date = #3/14/2007#",
                     "Key")
                  .toLongLong(),
              key);
    EXPECT_EQ(onDisk("tblTimeTableList", "ReadOnly"), QVariant(true));

    // Defaults of the table show in the added row.
    Recordset faculties = db->openRecordset("tblTypeFaculty");
    faculties.addNew();
    faculties.setValue("TypeFaculty", "Экономический");
    faculties.update();
    faculties.moveLast();
    EXPECT_EQ(faculties.value("Visible"), QVariant(true));
    EXPECT_EQ(faculties.value("Key").toInt(), 2);

    Recordset bad = db->openRecordset("tblTimeTableList");
    bad.addNew();
    bad.setValue("Date", QStringLiteral("31.02.2007"));
    EXPECT_THROW(bad.update(), DbError);
}

TEST_F(RecordsetTest, EditThroughAJoinChangesTheFieldsTable)
{
    db->execute("INSERT INTO tblTutors (Tutor) VALUES ('Антонов')");
    db->execute("INSERT INTO tblJob (Key_Tutor, Key_Discipline) VALUES (1, 7)");
    db->execute("INSERT INTO tblJobList (Key_Job, Key_Group, Hours) VALUES (1, 3, 40)");
    Recordset rs = db->openRecordset(
        "SELECT tblJobList.Hours FROM tblJob INNER JOIN tblJobList ON tblJob.Key = tblJobList.Key_Job "
        "WHERE (((tblJob.Key_Tutor)=1) AND ((tblJob.Key_Discipline)=7) AND ((tblJobList.Key_Group)=3));");
    ASSERT_EQ(rs.recordCount(), 1);
    rs.edit();
    rs.setValue("Hours", 72);
    EXPECT_EQ(rs.value("Hours").toInt(), 72) << "the edit buffer reads back";
    rs.update();
    EXPECT_EQ(rs.value("Hours").toInt(), 72);
    EXPECT_EQ(onDisk("tblJobList", "Hours").toInt(), 72);

    // A computed field cannot be written.
    Recordset computed = db->openRecordset("SELECT tblJobList.Hours * 2 AS Twice FROM tblJobList");
    computed.edit();
    EXPECT_THROW(computed.setValue("Twice", 1), DbError);
    computed.cancelUpdate();
    EXPECT_THROW(computed.setValue("Twice", 1), DbError) << "no edit after cancel";
}

TEST_F(RecordsetTest, DeleteThroughAJoinRemovesTheSelectedTablesRowsOnly)
{
    db->execute("INSERT INTO tblTimeTableList ([Date]) VALUES (#9/3/2007#)");
    db->execute("INSERT INTO tblTimeTableList ([Date]) VALUES (#9/4/2007#)");
    db->execute("INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Group, SubGroup) VALUES (1, 3, 5, 0)");
    db->execute("INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Group, SubGroup) VALUES (1, 3, 5, 1)");
    db->execute("INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Group, SubGroup) VALUES (2, 3, 5, 0)");
    Recordset rs = db->openRecordset(
        "SELECT tblTimeTableContent.* FROM tblTimeTableList INNER JOIN tblTimeTableContent ON "
        "tblTimeTableList.Key = tblTimeTableContent.Key_TTList WHERE (((tblTimeTableContent.Key_Group)=5) "
        "AND ((tblTimeTableList.Date)=#9/3/2007#) AND ((tblTimeTableContent.Lesson)=3));");
    ASSERT_EQ(rs.recordCount(), 2);
    while (!rs.isEof()) {
        rs.deleteCurrent();
        EXPECT_THROW(rs.value("Key"), DbError) << "a deleted row has no values";
        rs.moveNext();
    }
    EXPECT_EQ(rs.recordCount(), 0);
    EXPECT_EQ(db->openRecordset("tblTimeTableContent").recordCount(), 1);
    EXPECT_EQ(db->openRecordset("tblTimeTableList").recordCount(), 2);
}

TEST_F(RecordsetTest, TablesWithoutAKeyAreWritableToo)
{
    Recordset notes = db->openRecordset("tblNotes");
    notes.addNew();
    notes.setValue("Key_TTL", 4);
    notes.setValue("Note", QStringLiteral("Собрание\r\nв 15:00, ауд. 'Б'"));
    notes.update();
    EXPECT_EQ(onDisk("tblNotes", "Note").toString(), QStringLiteral("Собрание\r\nв 15:00, ауд. 'Б'"));
    Recordset again = db->openRecordset("SELECT tblNotes.* FROM tblNotes");
    again.edit();
    again.setValue("Note", QVariant());
    again.update();
    EXPECT_TRUE(onDisk("tblNotes", "Note").isNull());
}

TEST_F(RecordsetTest, GroupedResultsAreReadOnly)
{
    db->execute("INSERT INTO tblTutors (Tutor) VALUES ('А')");
    Recordset rs = db->openRecordset("SELECT Count(tblTutors.Key) AS N FROM tblTutors");
    EXPECT_EQ(rs.value("N").toInt(), 1);
    EXPECT_THROW(rs.addNew(), DbError);
    EXPECT_THROW(rs.deleteCurrent(), DbError);
}

} // namespace
} // namespace korvesta
