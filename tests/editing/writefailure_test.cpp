// Changes the document cannot take: held by another program, a full disk, a file nobody may
// write, an engine refusal, a file deleted under the open document. Each is told to the user
// in Russian, the document stays as it was, and the typed row is kept (nothing saved).

#include "editingfixture.h"

#include "data/sqliteconnection.h"
#include "data/dberror.h"
#include "data/dberrorhandler.h"
#include "data/recordset.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>

#include <fcntl.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <functional>

namespace korvesta {
namespace {

using Answer = Prompts::Answer;
using Kind = ScriptedPrompts::Kind;

// Long enough that the row needs pages of its own: with no page left to take, it cannot be
// written however much room its table's pages have.
const QString kLong = QString(2500, QChar(u'Я'));

// A second program holding the document with BEGIN EXCLUSIVE.
class OtherProgram
{
public:
    explicit OtherProgram(const QString &path)
    {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        EXPECT_EQ(sqlite3_exec(m_db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    ~OtherProgram() { release(); }
    void release()
    {
        if (m_db)
            sqlite3_close_v2(m_db); // The open transaction is rolled back.
        m_db = nullptr;
    }

private:
    sqlite3 *m_db = nullptr;
};

// The file made unwritable even for root (the immutable attribute); where the file system or
// the container does not allow it, the document's connection is made read-only instead.
class Unwritable
{
public:
    explicit Unwritable(const QString &path)
        : m_path(path)
    {
        if (setImmutable(true)) {
            Database::forget(path); // The next access opens the file as it now is.
            return;
        }
        sqlite3_exec(sqliteOf(*Database::open(path).connection()).handle(), "PRAGMA query_only = 1", nullptr,
                     nullptr, nullptr);
    }
    ~Unwritable()
    {
        setImmutable(false);
        Database::forget(m_path);
    }

private:
    bool setImmutable(bool on)
    {
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }
    QString m_path;
};

class WriteFailure : public EditingTest
{
protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        Connection::setLockWait(50, [this] { ++lockWaits; });
    }
    void TearDown() override
    {
        Connection::setLockWait(5000);
        endReportedLoss();
        EditingTest::TearDown();
    }
    QStringList snapshot() const
    {
        return rows("SELECT * FROM tblGroups") + rows("SELECT * FROM tblAuditories")
               + rows("SELECT * FROM tblDisciplines") + rows("SELECT * FROM tblJobList")
               + rows("SELECT * FROM tblTutors") + rows("SELECT * FROM tblJob")
               + rows("SELECT * FROM tblTutorOut");
    }
    // No page left for the document to grow by, as on a full disk.
    void fillDisk() const
    {
        sqlite3 *db = sqliteOf(*Database::open(path).connection()).handle();
        sqlite3_exec(db, "VACUUM", nullptr, nullptr, nullptr);
        const qint64 pages = count("SELECT page_count FROM pragma_page_count()");
        sqlite3_exec(db,
                     QByteArray("PRAGMA max_page_count = " + QByteArray::number(pages)).constData(),
                     nullptr, nullptr, nullptr);
    }

    int lockWaits = 0;
};

// The first line of everything shown is Russian: no English text of the engine reaches the
// user but as the details under it.
void expectRussian(const QStringList &texts)
{
    static const QRegularExpression russian(QStringLiteral("^[А-ЯЁа-яё]"));
    for (const QString &text : texts)
        EXPECT_TRUE(russian.match(text).hasMatch()) << text.toStdString();
}

enum class Failure { Locked, DiskFull, ReadOnly };

struct Change
{
    const char *name;
    std::function<bool(ReferenceEditor &, const SampleInstitution &)> run; // true: done
    bool needsRoom; // fails only for want of new pages (a deletion needs none)
};

const Change kChanges[] = {
    {"new group",
     [](ReferenceEditor &e, auto &) {
         GroupRow row;
         row.course = "1";
         row.group = kLong;
         return e.addGroup(row).saved;
     },
     true},
    {"edited group",
     [](ReferenceEditor &e, auto &s) {
         GroupRow row;
         row.course = "1";
         row.group = kLong;
         return e.editGroup(s.p9, row).saved;
     },
     true},
    {"new auditorium",
     [](ReferenceEditor &e, auto &) {
         return e.addAuditorium({"Главный", kLong, ""}).saved;
     },
     true},
    {"new discipline",
     [](ReferenceEditor &e, auto &) {
         return e.addDiscipline({"", "Хим", kLong, {}, ""}).saved;
     },
     true},
    {"new tutor",
     [](ReferenceEditor &e, auto &) {
         return e.addTutor({kLong, ""}).saved;
     },
     true},
    {"edited tutor",
     [](ReferenceEditor &e, auto &s) {
         return e.editTutor(s.petrov, {kLong, ""}).saved;
     },
     true},
    {"deleted group",
     [](ReferenceEditor &e, auto &) {
         return e.deleteGroup("Э-31", "3", "отсутствует") != DeleteOutcome::Nothing;
     },
     false},
    {"deleted tutor",
     [](ReferenceEditor &e, auto &) { return e.deleteTutor("Сидоров") != DeleteOutcome::Nothing; },
     false},
};

TEST_F(WriteFailure, EveryRefusedChangeIsToldAndChangesNothing)
{
    const QStringList before = snapshot();
    for (const Failure failure : {Failure::Locked, Failure::DiskFull, Failure::ReadOnly}) {
        for (const Change &change : kChanges) {
            if (failure == Failure::DiskFull && !change.needsRoom)
                continue;
            SCOPED_TRACE(std::string(change.name) + " / "
                         + std::to_string(static_cast<int>(failure)));
            prompts.shown.clear();
            bool done = true;
            switch (failure) {
            case Failure::Locked: {
                OtherProgram other(path);
                prompts.answers = {Answer::Cancel};
                done = change.run(editor, s);
                EXPECT_EQ(prompts.texts(Kind::RetryCancel).size(), 1);
                EXPECT_TRUE(prompts.texts(Kind::RetryCancel)
                                .value(0)
                                .startsWith("Документ занят другой программой"));
                EXPECT_TRUE(prompts.texts(Kind::Message).isEmpty());
                break;
            }
            case Failure::DiskFull:
                fillDisk();
                done = change.run(editor, s);
                Database::forget(path); // The next case has its disk back.
                EXPECT_EQ(prompts.texts(Kind::Message).size(), 1);
                EXPECT_TRUE(
                    prompts.texts(Kind::Message).value(0).startsWith("На диске не хватает места"));
                break;
            case Failure::ReadOnly: {
                Unwritable unwritable(path);
                if (!change.needsRoom)
                    prompts.answers = {Answer::Yes}; // "Удалить группу ...?"
                done = change.run(editor, s);
                EXPECT_EQ(prompts.texts(Kind::Message).size(), 1);
                EXPECT_TRUE(
                    prompts.texts(Kind::Message).value(0).contains("открыт только для чтения"));
                break;
            }
            }
            EXPECT_FALSE(done); // The entry row keeps what was typed.
            EXPECT_TRUE(prompts.exhausted());
            QStringList texts;
            for (const auto &item : prompts.shown)
                texts << item.text;
            expectRussian(texts);
            EXPECT_EQ(snapshot(), before);
        }
    }
    EXPECT_GT(lockWaits, 0);
}

TEST_F(WriteFailure, RetryAfterTheOtherProgramLetGoSaves)
{
    // The other program ends its work while the question is on screen.
    struct Releasing : ScriptedPrompts
    {
        std::function<void()> beforeAnswer;
        Answer askRetryCancel(const QString &text, Icon icon, const QString &title) override
        {
            beforeAnswer();
            return ScriptedPrompts::askRetryCancel(text, icon, title);
        }
    } asked;
    DocumentSession other{asked, store, {folder.path(), folder.path()}};
    other.startFromCommandLine({path});
    ReferenceEditor retrying{other, settings, asked};

    OtherProgram holder(path);
    asked.beforeAnswer = [&] { holder.release(); };
    asked.answers = {Answer::Retry};
    GroupRow row;
    row.course = "1";
    row.group = "Н-1";
    EXPECT_TRUE(retrying.addGroup(row).saved);
    EXPECT_TRUE(asked.exhausted());
    EXPECT_TRUE(asked.texts(Kind::Message).isEmpty());
    EXPECT_EQ(count("SELECT count(*) FROM tblGroups WHERE \"Group\" = 'Н-1'"), 1);
}

TEST_F(WriteFailure, ALockIsWaitedForAndToldOncePerAction)
{
    int argc = 1;
    char name[] = "tests_editing";
    char *argv[] = {name};
    QCoreApplication app(argc, argv);
    OtherProgram holder(path);
    // A view reads three times in one action.
    const auto fill = [this] {
        for (int read = 0; read < 3; ++read) {
            const std::optional<Database> db = session.access();
            ASSERT_TRUE(db);
            try {
                db->openRecordset("tblGroups");
                ADD_FAILURE() << "read through the lock";
            } catch (const DbError &error) {
                session.handleError(error);
            }
        }
    };
    fill();
    EXPECT_EQ(lockWaits, 1);
    ASSERT_EQ(prompts.texts(Kind::Message).size(), 1);
    EXPECT_TRUE(prompts.texts(Kind::Message)[0].startsWith("Документ занят другой программой"));

    QCoreApplication::processEvents(); // the next action waits and tells again
    fill();
    EXPECT_EQ(lockWaits, 2);
    EXPECT_EQ(prompts.texts(Kind::Message).size(), 2);
}

TEST_F(WriteFailure, EngineRefusalsAreToldInRussian)
{
    const std::shared_ptr<Connection> c = Database::open(path).connection();
    const struct
    {
        const char *sql;
        int limit; // an engine limit lowered for the statement, or -1
        int value;
        int code;
        const char *first; // the first line the user reads
    } cases[] = {
        {"SELECT randomblob(5000)", SQLITE_LIMIT_LENGTH, 1000, dberr::TooBig,
         "Значение слишком велико для документа. Изменение не сохранено."},
        {"SELECT 1, 2, 3", SQLITE_LIMIT_COLUMN, 2, dberr::Failed,
         "В запросе слишком много полей: столько программа не обрабатывает. Сократите список "
         "полей."},
        {"INSERT INTO tblGroups VALUES (1, 2)", -1, 0, dberr::Failed,
         "Число значений не совпадает с числом полей таблицы. Изменение не сохранено."},
        {"INSERT INTO tblGroups (Key) SELECT Key FROM tblGroups LIMIT 1", -1, 0, dberr::Duplicate,
         "Такая запись уже есть в документе. Изменение не сохранено."},
        {"SELECT * FROM tblNothing", -1, 0, dberr::TableNotFound,
         "В документе нет таблицы или запроса «tblNothing»"},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.sql);
        const int old = test.limit < 0 ? 0 : sqlite3_limit(sqliteOf(*c).handle(), test.limit, test.value);
        try {
            c->exec(test.sql);
            ADD_FAILURE() << "no error";
        } catch (const DbError &e) {
            EXPECT_EQ(e.code(), test.code);
            EXPECT_EQ(e.message().section('\n', 0, 0), QString(test.first));
            prompts.shown.clear();
            handleDatabaseError(e, prompts, {});
            ASSERT_EQ(prompts.texts(Kind::Message).size(), 1);
            expectRussian(prompts.texts(Kind::Message));
        }
        if (test.limit >= 0)
            sqlite3_limit(sqliteOf(*c).handle(), test.limit, old);
    }
}

TEST_F(WriteFailure, DeletedDocumentIsToldOncePerAction)
{
    int argc = 1;
    char name[] = "tests_editing";
    char *argv[] = {name};
    QCoreApplication app(argc, argv);
    // A real file dialog runs an event loop of its own, inside the action.
    struct Nested : ScriptedPrompts
    {
        std::optional<QString> chooseFileToOpen(const FileChoice &choice) override
        {
            QCoreApplication::processEvents();
            return ScriptedPrompts::chooseFileToOpen(choice);
        }
    } asked;
    DocumentSession window{asked, store, {folder.path(), folder.path()}};
    window.startFromCommandLine({path});
    const QString saved = folder.file("спасено.kvt");
    const qint64 groups = count("SELECT count(*) FROM tblGroups");
    ASSERT_TRUE(QFile::remove(path));

    // One action reads three times: one question; the program still holds the data.
    asked.answers = {Answer::No};
    asked.fileAnswers = {std::nullopt};
    for (int read = 0; read < 3; ++read)
        EXPECT_FALSE(window.access());
    ASSERT_EQ(asked.texts(Kind::YesNo).size(), 1);
    EXPECT_TRUE(asked.texts(Kind::YesNo)[0].startsWith("Файл документа «" + path + "» не найден"));
    EXPECT_TRUE(asked.texts(Kind::YesNo)[0].contains("Сохранить их в другой файл?"));
    EXPECT_EQ(asked.texts(Kind::OpenFile).size(), 1);

    // The next action says it again; the data go into a new file, which becomes the document.
    QCoreApplication::processEvents();
    asked.answers = {Answer::Yes};
    asked.fileAnswers = {saved};
    EXPECT_FALSE(window.access());
    EXPECT_EQ(window.currentPath(), saved);
    EXPECT_EQ(asked.texts(Kind::YesNo).size(), 2);
    EXPECT_EQ(Database::open(saved)
                  .openRecordset("SELECT Count(*) AS N FROM tblGroups")
                  .value("N")
                  .toLongLong(),
              groups);
    EXPECT_TRUE(window.access());

    // Nothing held: said, then another document may be opened.
    Database::forgetAll();
    ASSERT_TRUE(QFile::remove(saved));
    QCoreApplication::processEvents();
    asked.fileAnswers = {std::nullopt};
    EXPECT_FALSE(window.access());
    EXPECT_FALSE(window.access());
    ASSERT_EQ(asked.texts(Kind::Message).size(), 1);
    EXPECT_TRUE(asked.texts(Kind::Message)[0].startsWith("Файл документа «" + saved));
    EXPECT_EQ(asked.texts(Kind::OpenFile).size(), 2);
    EXPECT_EQ(asked.texts(Kind::YesNo).size(), 2);
    EXPECT_TRUE(asked.exhausted());
}

} // namespace
} // namespace korvesta
