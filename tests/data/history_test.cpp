// The document's history: each kind of change is undone to exactly the content before and
// redone to exactly the content after, a long random run of changes, undos and redos agrees
// with a model of snapshots, and a row changed by another program stops an undo cleanly.

#include "data/history.h"

#include "data/dberror.h"
#include "data/documentschema.h"
#include "data/querydef.h"
#include "data/recordset.h"
#include "editing/editingfixture.h"
#include "editing/examdate.h"
#include "editing/loadeditor.h"
#include "editing/placement.h"

#include <QFile>
#include <QRandomGenerator>

#include <sqlite3.h>

#include <map>

namespace korvesta {
namespace {

using Snapshot = std::map<QString, QStringList>;

class HistoryTest : public EditingTest
{
public:
    using EditingTest::editor;
    using EditingTest::prompts;
    using EditingTest::s;
    using EditingTest::session;

protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        const std::optional<Database> opened = session.access();
        ASSERT_TRUE(opened);
        db = *opened;
        history = History::of(db);
        ASSERT_NE(history, nullptr);
        history->clear(); // the sample institution is no step of the user's
    }
    // Every document table, row by row with its rowid, values quoted with their kind.
    Snapshot snapshot() const
    {
        Snapshot shot;
        for (const QString &table : documentTables()) {
            QStringList columns{"rowid"};
            for (const QString &c : b.raw("SELECT name FROM pragma_table_info('" + table + "')"))
                columns << "quote(\"" + c + "\")";
            shot[table] =
                b.raw("SELECT " + columns.join(", ") + " FROM " + table + " ORDER BY rowid");
        }
        return shot;
    }

public:
    Database db = Database::open(path);
    History *history = nullptr;
    LoadEditor loadEditor{session, prompts};
    LessonPlacement placement{session, settings, store, prompts};
};

// The tables whose rows differ.
QStringList differences(const Snapshot &a, const Snapshot &b)
{
    QStringList tables;
    for (const auto &[table, rows] : a) {
        auto other = b.find(table);
        if (other == b.end() || other->second != rows)
            tables << table;
    }
    return tables;
}

struct Change
{
    const char *name;
    std::function<void(HistoryTest &)> make;
    // What the edit menu names the step by; not checked when null.
    const char *caption = nullptr;
};

void PrintTo(const Change &change, std::ostream *os)
{
    *os << change.name;
}

class EachChange : public HistoryTest, public ::testing::WithParamInterface<Change>
{};

TEST_P(EachChange, UndoneAndRedoneExactly)
{
    const Snapshot before = snapshot();
    GetParam().make(*this);
    const Snapshot after = snapshot();
    ASSERT_NE(before, after);
    ASSERT_EQ(history->undoCaptions().size(), 1) << "one change, one step";
    if (GetParam().caption) {
        EXPECT_EQ(history->undoCaption(), QString::fromUtf8(GetParam().caption));
    }
    EXPECT_FALSE(history->canRedo());

    history->undo();
    EXPECT_EQ(differences(snapshot(), before), QStringList());
    EXPECT_FALSE(history->canUndo());
    ASSERT_TRUE(history->canRedo());
    history->redo();
    EXPECT_EQ(differences(snapshot(), after), QStringList());
    history->undo();
    EXPECT_EQ(differences(snapshot(), before), QStringList());
}

void sql(HistoryTest &t, const QString &statement)
{
    t.db.execute(statement);
}

std::vector<Change> changes()
{
    return {
        Change{"SqlInsert",
               [](HistoryTest &t) {
                   sql(t, "INSERT INTO tblGroups ([Group], Course, Comment) "
                          "VALUES ('Н-5', 1, 'O''Neil')");
               }},
        Change{"SqlUpdateManyRows",
               [](HistoryTest &t) { sql(t, "UPDATE tblTutors SET Tutor = UCase(Tutor)"); }},
        Change{"SqlUpdateOfKey",
               [](HistoryTest &t) {
                   sql(t, "UPDATE tblAuditories SET [Key] = [Key] + 1000, Corpus = 'Новый'");
               }},
        Change{"SqlDeleteAllLessons",
               [](HistoryTest &t) { sql(t, "DELETE * FROM tblTimeTableContent"); }},
        Change{"SqlDeleteRowsWithoutKey",
               [](HistoryTest &t) { sql(t, "DELETE FROM tblTutorOut WHERE FreeDay Is Not Null"); }},
        Change{"TransactionOfSeveralStatements",
               [](HistoryTest &t) {
                   Database::Transaction tr(t.db);
                   sql(t, "DELETE FROM tblJobList");
                   sql(t, "INSERT INTO tblNotes (Key_TTL, [Note]) VALUES (1, 'заметка')");
                   sql(t, "UPDATE tblTimeLesson SET TimeLesson = '08:00' WHERE Lesson = 1");
                   tr.commit();
               }},
        // Enough rows, each written once, for the step to be written back whole.
        Change{"StepOfManyRowsEachWrittenOnce",
               [](HistoryTest &t) {
                   History::Step step(t.db, "копирование");
                   for (int i = 0; i < 40; ++i)
                       sql(t, QStringLiteral("INSERT INTO tblAuditories (Auditoria, Corpus) "
                                             "VALUES ('%1', 'Новый')")
                                  .arg(500 + i));
                   sql(t, "UPDATE tblTutors SET Tutor = UCase(Tutor)");
                   sql(t, "DELETE FROM tblTimeTableContent WHERE Lesson > 1");
                   sql(t, "DELETE FROM tblTutorOut WHERE FreeDay Is Not Null");
               }},
        Change{"StepAroundSeveralStatements",
               [](HistoryTest &t) {
                   History::Step step(t.db, "перенос");
                   sql(t, "UPDATE tblGroups SET Course = Course + 1");
                   sql(t, "DELETE FROM tblTimeTableList WHERE ReadOnly = True");
               }},
        Change{"RecordsetAdd",
               [](HistoryTest &t) {
                   Recordset rs = t.db.openRecordset("tblNotes");
                   rs.addNew();
                   rs.setValue("Key_TTL", 7);
                   rs.setValue("Note", "1,5 часа");
                   rs.update();
               }},
        Change{"RecordsetEditRowWithoutKey",
               [](HistoryTest &t) {
                   Recordset rs = t.db.openRecordset("SELECT * FROM tblTutorOut WHERE FreeDay=3");
                   rs.edit();
                   rs.setValue("FreeLesson", 2);
                   rs.update();
               }},
        Change{"RecordsetDelete",
               [](HistoryTest &t) {
                   Recordset rs = t.db.openRecordset("tblNotes");
                   rs.moveLast();
                   rs.deleteCurrent();
               }},
        Change{"ReplacedSavedQuery",
               [](HistoryTest &t) { t.db.createQueryDef("qryKeysJob", "SELECT 1 AS One"); }},
        Change{"ReferenceEditorDeletesGroup",
               [](HistoryTest &t) {
                   t.prompts.answers = {Prompts::Answer::Yes};
                   ASSERT_EQ(t.editor.deleteGroup("п-9", "1", ""),
                             DeleteOutcome::FutureLessonsRemoved);
               },
               "удаление группы «п-9»"},
        Change{"ReferenceEditorAddsGroup",
               [](HistoryTest &t) {
                   GroupRow row;
                   row.course = "4";
                   row.group = "Ф-41";
                   ASSERT_TRUE(t.editor.addGroup(row).saved);
               },
               "добавление группы «Ф-41»"},
        Change{"LoadOfNewTutor",
               [](HistoryTest &t) {
                   t.prompts.answers = {Prompts::Answer::Yes};
                   ASSERT_TRUE(t.loadEditor.addTutor({" Козлов ", "", "Физ", "П-9  (1)", "4"}));
               },
               "добавление нагрузки преподавателя «Козлов»"},
        Change{"LoadDiscipline",
               [](HistoryTest &t) {
                   ASSERT_TRUE(t.loadEditor.addDiscipline({"Сидоров", "", "Физ", "П-9  (1)", "4"}));
               },
               "добавление дисциплины «Физ» в нагрузку преподавателя «Сидоров»"},
        Change{
            "LoadGroup",
            [](HistoryTest &t) {
                ASSERT_TRUE(t.loadEditor.addGroup({"Иванов И.И.", "", "Матем", "Э-31  (3)", "4"}));
            },
            "добавление группы «Э-31  (3)» в нагрузку преподавателя «Иванов И.И.»"},
        Change{"LoadHours",
               [](HistoryTest &t) {
                   ASSERT_TRUE(
                       t.loadEditor.changeHours({"Иванов И.И.", "", "Матем", "П-9  (1)", "77"}));
               },
               "изменение нагрузки преподавателя «Иванов И.И.» по дисциплине «Матем»"},
        Change{"TutorAdded",
               [](HistoryTest &t) {
                   ASSERT_TRUE(t.editor.addTutor({"Козлов", ""}).saved);
               },
               "добавление преподавателя «Козлов»"},
        Change{"TutorEdited",
               [](HistoryTest &t) {
                   ASSERT_TRUE(t.editor.editTutor(t.s.sidorov, {"Сидоров С.С.", ""}).saved);
               },
               "изменение преподавателя «Сидоров С.С.»"},
        Change{"TutorDeleted",
               [](HistoryTest &t) {
                   t.prompts.answers = {Prompts::Answer::Yes};
                   ASSERT_EQ(t.editor.deleteTutor("сидоров"), DeleteOutcome::RecordDeleted);
               },
               "удаление преподавателя «Сидоров»"},
        Change{"ExamDate",
               [](HistoryTest &t) {
                   ASSERT_TRUE(saveExamDate(t.session, t.prompts, {t.s.p9, " Матем ", ""},
                                            QDate(2026, 6, 15)));
               },
               "дата экзамена по дисциплине «Матем»: 15.06.2026"},
        Change{"LessonPlaced", [](HistoryTest &t) {
                   std::optional<PlacementChoice> c =
                       t.placement.openForGroup(t.s.future, 3, "П-9", "1", "");
                   ASSERT_TRUE(c);
                   ASSERT_TRUE(c->check(t.s.lineIvanovP9, t.prompts));
                   ASSERT_FALSE(c->lessonTypes.empty());
                   ASSERT_EQ(t.placement.add(*c, {c->lessonTypes.front().key, false}).outcome,
                             PlacementOutcome::Written);
                   EXPECT_EQ(t.history->undoCaption(), "занятие «Матем» на "
                                                           + t.s.future.toString("dd.MM.yyyy")
                                                           + ", урок 3");
               }}};
}

std::string changeName(const ::testing::TestParamInfo<Change> &param)
{
    return param.param.name;
}

INSTANTIATE_TEST_SUITE_P(History, EachChange, ::testing::ValuesIn(changes()), changeName);

// Lines taken out of the load are named by what went, and one undo brings them back.
TEST_F(HistoryTest, LoadRemovalsAreStepsOfTheirOwn)
{
    ASSERT_TRUE(loadEditor.addDiscipline({"Сидоров", "", "Физ", "П-9  (1)", "4"}));
    ASSERT_TRUE(loadEditor.addGroup({"Сидоров", "", "Физ", "Э-31  (3)", "6"}));
    history->clear();
    const Snapshot before = snapshot();
    const struct
    {
        std::function<bool()> remove;
        const char *caption;
    } cases[] = {
        {[&] { return loadEditor.removeGroup("Сидоров", "Физ", "Э-31  (3)"); },
         "удаление группы «Э-31  (3)» из нагрузки преподавателя «Сидоров»"},
        {[&] { return loadEditor.removeDiscipline("Сидоров", "Физ"); },
         "удаление дисциплины «Физ» из нагрузки преподавателя «Сидоров»"},
    };
    for (const auto &c : cases) {
        prompts.answers = {Prompts::Answer::Yes};
        ASSERT_TRUE(c.remove()) << c.caption;
        EXPECT_EQ(history->undoCaption(), QString::fromUtf8(c.caption));
        history->undo();
        EXPECT_EQ(differences(snapshot(), before), QStringList()) << c.caption;
    }
}

TEST_F(HistoryTest, SavedQueryTextFollowsUndo)
{
    const QString text = db.queryDef("qryKeysJob").sql();
    db.createQueryDef("qryKeysJob", "SELECT 1 AS One");
    history->undo();
    EXPECT_EQ(db.queryDef("qryKeysJob").sql(), text);
    EXPECT_EQ(db.queryDef("qryKeysJob").parameterNames().size(), 1);
}

TEST_F(HistoryTest, StepsNamedAndRedoDroppedByANewChange)
{
    EXPECT_EQ(db.execute("UPDATE tblNotes SET [Note] = 'x' WHERE False"), 0);
    EXPECT_FALSE(history->canUndo()) << "a step that touched no row is none";
    {
        History::Step step(db, "копирование недели");
        History::Step inner(db, "вложенный");
        sql(*this, "INSERT INTO tblNotes (Key_TTL, [Note]) VALUES (1, 'a')");
        sql(*this, "INSERT INTO tblNotes (Key_TTL, [Note]) VALUES (1, 'b')");
    }
    sql(*this, "INSERT INTO tblNotes (Key_TTL, [Note]) VALUES (1, 'c')");
    EXPECT_EQ(history->undoCaptions(), (QStringList{"изменение данных", "копирование недели"}));
    history->undo();
    history->undo();
    EXPECT_EQ(history->redoCaption(), "копирование недели");
    sql(*this, "INSERT INTO tblNotes (Key_TTL, [Note]) VALUES (2, 'd')");
    EXPECT_FALSE(history->canRedo());
    EXPECT_EQ(history->undoCaptions().size(), 1);

    for (int i = 0; i < History::kStepLimit + 5; ++i)
        sql(*this, "UPDATE tblNotes SET [Note] = [Note] & 'x'");
    EXPECT_EQ(history->undoCaptions().size(), History::kStepLimit);

    history->clear();
    EXPECT_FALSE(history->canUndo());
    EXPECT_THROW(history->undo(), DbError);
}

TEST_F(HistoryTest, RandomRunAgreesWithSnapshots)
{
    QRandomGenerator random(16);
    std::vector<Snapshot> states{snapshot()};
    size_t at = 0;
    for (int i = 0; i < 300; ++i) {
        const int what = int(random.bounded(7));
        if (what == 0 && at > 0) {
            history->undo();
            --at;
        } else if (what == 1 && at + 1 < states.size()) {
            history->redo();
            ++at;
        } else {
            int changed = 0;
            const int key = int(random.bounded(40));
            switch (random.bounded(4)) {
            case 0:
                changed = db.execute(QString("INSERT INTO tblNotes (Key_TTL, [Note]) "
                                             "VALUES (%1, 'n%2')")
                                         .arg(key)
                                         .arg(i));
                break;
            case 1:
                changed = db.execute(QString("DELETE FROM tblNotes WHERE Key_TTL = %1").arg(key));
                break;
            case 2:
                changed = db.execute(QString("UPDATE tblTimeTableContent SET Lesson = Lesson + 1 "
                                             "WHERE Key <= %1")
                                         .arg(key));
                break;
            default: {
                Database::Transaction tr(db);
                changed =
                    db.execute(QString("DELETE FROM tblTimeTableContent WHERE Key = %1").arg(key));
                changed += db.execute(QString("INSERT INTO tblGroups ([Group], Course) "
                                              "VALUES ('g%1', 1)")
                                          .arg(i));
                tr.commit();
            }
            }
            if (changed == 0)
                continue;
            states.resize(at + 1);
            states.push_back(snapshot());
            ++at;
        }
        ASSERT_EQ(differences(snapshot(), states[at]), QStringList()) << "after action " << i;
        ASSERT_EQ(history->canUndo(), at > 0);
        ASSERT_EQ(history->canRedo(), at + 1 < states.size());
    }
}

// Undo counts what it must not add to on the step's dates and the load lines of its lessons.
TEST_F(HistoryTest, UndoCountsOnTheStepsDatesAndLoadLines)
{
    std::optional<PlacementChoice> c = placement.openForGroup(s.future, 3, "П-9", "1", "");
    ASSERT_TRUE(c);
    ASSERT_TRUE(c->check(s.lineIvanovP9, prompts));
    ASSERT_EQ(placement.add(*c, {c->lessonTypes.front().key, false}).outcome,
              PlacementOutcome::Written);
    std::vector<QDate> dates;
    std::vector<std::pair<int, int>> lines;
    history->undo([&](const std::vector<QDate> &d, const std::vector<std::pair<int, int>> &l) {
        dates = d;
        lines = l;
        return 0;
    });
    EXPECT_EQ(dates, std::vector<QDate>{s.future});
    const QStringList line = rows("SELECT Key_Group, Key_Job FROM tblJobList WHERE Key = "
                                  + QString::number(s.lineIvanovP9))
                                 .value(0)
                                 .split(u'|');
    ASSERT_EQ(line.size(), 2);
    EXPECT_EQ(lines, (std::vector<std::pair<int, int>>{{line[0].toInt(), line[1].toInt()}}));
    // What the window refreshes after it: the step's dates, and that it wrote lessons alone.
    EXPECT_EQ(history->lastApplied().dates, std::vector<QDate>{s.future});
    QStringList tables = history->lastApplied().tables;
    tables.removeAll("tblTimeTableList"); // the date's row, when the step made it
    EXPECT_EQ(tables, QStringList{"tblTimeTableContent"});
    sql(*this, "UPDATE tblGroups SET Comment = 'x'");
    history->undo();
    EXPECT_TRUE(history->lastApplied().dates.empty());
    EXPECT_EQ(history->lastApplied().tables, QStringList{"tblGroups"});
}

TEST_F(HistoryTest, AnotherProgramsChangeRefusesTheUndo)
{
    sql(*this,
        "UPDATE tblTutors SET DefaultAud = 'наш' WHERE [Key] = " + QString::number(s.ivanov));
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &other), SQLITE_OK);
    auto otherSql = [&](const QByteArray &statement) {
        ASSERT_EQ(sqlite3_exec(other, statement.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    };
    // Another program's change of letter case alone counts.
    otherSql("UPDATE tblTutors SET DefaultAud = 'НАШ' WHERE Key = " + QByteArray::number(s.ivanov));
    const Snapshot changedElsewhere = snapshot();

    try {
        history->undo();
        ADD_FAILURE() << "the undo went through";
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(), "Отменить «изменение данных» невозможно: после него "
                               "преподавателя Иванов И.И. изменила другая программа (таблица "
                               "tblTutors). Документ оставлен без изменений");
    }
    EXPECT_EQ(differences(snapshot(), changedElsewhere), QStringList());
    EXPECT_TRUE(history->canUndo());

    // Once the row is as the step left it, the step undoes. A row gone stops the redo of a
    // deletion; a row the other program put where a deleted one belongs stops its undo.
    otherSql("UPDATE tblTutors SET DefaultAud = 'наш' WHERE Key = " + QByteArray::number(s.ivanov));
    history->undo();
    sql(*this, "DELETE FROM tblAuditories WHERE [Key] = " + QString::number(s.lab));
    history->undo();
    otherSql("DELETE FROM tblAuditories WHERE Key = " + QByteArray::number(s.lab));
    const Snapshot removed = snapshot();
    EXPECT_THROW(history->redo(), DbError);
    EXPECT_EQ(differences(snapshot(), removed), QStringList());
    sql(*this, "DELETE FROM tblAuditories WHERE [Key] = " + QString::number(s.a202));
    otherSql("INSERT INTO tblAuditories (Key, Auditoria) VALUES (" + QByteArray::number(s.a202)
             + ", 'чужая')");
    const Snapshot taken = snapshot();
    EXPECT_THROW(history->undo(), DbError);
    EXPECT_EQ(differences(snapshot(), taken), QStringList());
    sqlite3_close(other);
}

// A step of many rows is written back whole, and still refused, naming the row, when another
// program changed one of them since.
TEST_F(HistoryTest, AnotherProgramsChangeRefusesTheUndoOfAManyRowStep)
{
    {
        History::Step step(db, QStringLiteral("аудитории"));
        for (int i = 0; i < 40; ++i)
            sql(*this, QStringLiteral("INSERT INTO tblAuditories (Auditoria, Corpus) VALUES "
                                      "('%1', 'Новый')")
                           .arg(600 + i));
    }
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "UPDATE tblAuditories SET Corpus = 'Старый' WHERE Auditoria = "
                                  "'620'",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    const Snapshot changedElsewhere = snapshot();
    try {
        history->undo();
        ADD_FAILURE() << "the undo went through";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains("аудиторию 620 (Новый) изменила другая программа"))
            << e.message().toStdString();
    }
    EXPECT_EQ(differences(snapshot(), changedElsewhere), QStringList());
    ASSERT_EQ(sqlite3_exec(other, "UPDATE tblAuditories SET Corpus = 'Новый' WHERE Auditoria = "
                                  "'620'",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(other);
    history->undo();
    EXPECT_EQ(b.rawNumber("SELECT count(*) FROM tblAuditories WHERE Corpus = 'Новый'"), 0);
}

TEST_F(HistoryTest, BelongsToTheOpenDocumentOnly)
{
    sql(*this, "DELETE FROM tblNotes");
    ASSERT_TRUE(history->canUndo());

    const QString second = newTestDocument(folder, "second.kvt");
    History *other = History::attach(Database::open(second));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(History::of(db), nullptr);
    EXPECT_FALSE(History::attach(db)->canUndo()) << "the first document's steps are gone";

    // A document that cannot be written, and a session that only reads, get no history.
    QFile::setPermissions(second, QFile::ReadOwner);
    Database::forget(second);
    EXPECT_EQ(History::attach(Database::open(second, Database::Mode::ReadOnly)), nullptr);
    EXPECT_EQ(History::of(db), nullptr);

    // A table without rowids, which no document of ours has, is left out of the history.
    const QString extra = newTestDocument(folder, "extra.kvt");
    sqliteExec(extra, "CREATE TABLE tblExtra (a PRIMARY KEY, b) WITHOUT ROWID");
    const Database extraDb = Database::open(extra);
    History *extraHistory = History::attach(extraDb);
    ASSERT_NE(extraHistory, nullptr);
    extraDb.execute("INSERT INTO tblExtra (a, b) VALUES (1, 2)");
    extraDb.execute("INSERT INTO tblNotes (Key_TTL, [Note]) VALUES (1, 'x')");
    EXPECT_EQ(extraHistory->undoCaptions().size(), 1);

    // Nor does one made by a later version of the program.
    const QString newer = newTestDocument(folder, "newer.kvt");
    sqliteExec(newer, "PRAGMA user_version = 99");
    const Database newerDb = Database::open(newer);
    EXPECT_EQ(History::attach(newerDb), nullptr);
    EXPECT_TRUE(InstitutionBuilder(newerDb).raw("SELECT name FROM sqlite_temp_master").isEmpty());

    DocumentSession reader{prompts, store, {folder.path(), folder.path()}};
    reader.setReadingOnly(true);
    reader.startFromCommandLine({path});
    History::detachAll();
    ASSERT_TRUE(reader.access());
    EXPECT_EQ(History::of(db), nullptr);
    EXPECT_TRUE(b.raw("SELECT name FROM sqlite_temp_master").isEmpty());
}

TEST_F(HistoryTest, FileReplacedOnDiskEndsTheHistory)
{
    sql(*this, "DELETE FROM tblNotes");
    const QString copy = folder.file("copy.kvt");
    ASSERT_TRUE(QFile::copy(path, copy));
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::rename(copy, path));
    try {
        history->undo();
        ADD_FAILURE() << "the undo went through";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains("заменён другим файлом")) << e.message().toStdString();
    }
    EXPECT_FALSE(history->canUndo());
}

} // namespace
} // namespace korvesta
