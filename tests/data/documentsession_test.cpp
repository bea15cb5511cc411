#include "data/database.h"
#include "data/dberror.h"
#include "data/documentschema.h"
#include "data/documentsession.h"
#include "data/fileassociation.h"
#include "data/recordset.h"
#include "settings/settingsstore.h"
#include "support/scriptedprompts.h"
#include "support/testdocument.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <unistd.h>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

using Kind = ScriptedPrompts::Kind;

const QString kBadFormat = QStringLiteral("Некорректный формат базы данных\r\nДействие отменено");

void execute(const QString &path, const QString &sql)
{
    Database::open(path).execute(sql);
}

int rowCount(const QString &path, const QString &table)
{
    return Database::open(path).openRecordset(QStringLiteral("SELECT * FROM ") + table)
        .recordCount();
}

// A session whose application folder, temporary folder and settings all live in a
// temporary folder.
class DocumentSessionTest : public ::testing::Test
{
protected:
    static AppPaths pathsIn(const TestFolder &folder)
    {
        QDir(folder.path()).mkpath(QStringLiteral("app"));
        QDir(folder.path()).mkpath(QStringLiteral("tmp"));
        return {folder.file(QStringLiteral("app")), folder.file(QStringLiteral("tmp"))};
    }

    void SetUp() override
    {
        session.setTitleListener([this](const QString &title) { titles << title; });
    }

    void TearDown() override
    {
        EXPECT_TRUE(prompts.exhausted()) << "a scripted answer was not asked for";
        Database::forgetAll();
    }

    bool tempFile() const { return settings.readBool("Settings", "TempFile", false); }
    QString pathDB() const { return settings.readText("Settings", "PathDB", {}); }
    QString newFile() const { return paths.newDocumentFile(); }

    void startNew()
    {
        session.startFromCommandLine({});
        ASSERT_TRUE(QFile::exists(newFile()));
    }

    void closeExpectingNewFileGone()
    {
        session.confirmClosing();
        EXPECT_FALSE(QFile::exists(newFile()));
        EXPECT_FALSE(tempFile());
    }

    TestFolder folder;
    AppPaths paths = pathsIn(folder);
    SettingsStore settings{folder.file(QStringLiteral("user.ini"))};
    ScriptedPrompts prompts;
    DocumentSession session{prompts, settings, paths};
    QStringList titles;
};

TEST_F(DocumentSessionTest, StartWithoutArgumentsWritesANewDocument)
{
    startNew();
    EXPECT_EQ(session.currentPath(), newFile());
    EXPECT_TRUE(session.isNewDocument());
    EXPECT_TRUE(tempFile());
    EXPECT_EQ(titles, QStringList{QStringLiteral("Тарвела - Новое расписание")});
    EXPECT_EQ(rowCount(newFile(), QStringLiteral("tblGroups")), 0);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(DocumentSessionTest, StartWithAPathTakesItAsItIs)
{
    const QString dir = folder.path();
    const struct
    {
        QStringList args;
        QString path;
        QString title;
    } cases[] = {
        {{'"' + dir + "/Колледж 2024.kvt\""}, dir + "/Колледж 2024.kvt", "Тарвела - Колледж 2024"},
        {{dir + "/plan.kvt"}, dir + "/plan.kvt", "Тарвела - plan"},
        {{dir + "/Мой", "план.kvt"}, dir + "/Мой план.kvt", "Тарвела - Мой план"},
    };
    settings.writeBool("Settings", "TempFile", true); // left by an earlier crash
    for (const auto &c : cases) {
        session.startFromCommandLine(c.args);
        EXPECT_EQ(session.currentPath(), c.path);
        EXPECT_EQ(session.windowTitle(), c.title);
        EXPECT_EQ(pathDB(), c.path);
        EXPECT_TRUE(tempFile());
    }
    // The file is not looked at until it is used: a missing one then asks for another.
    prompts.fileAnswers = {std::nullopt};
    EXPECT_FALSE(session.access());
    EXPECT_EQ(prompts.texts(Kind::OpenFile).size(), 1);
}

TEST_F(DocumentSessionTest, ClosingAnEmptyNewDocumentAsksNothing)
{
    startNew();
    writeTestFile(paths.scratchFile(), "[x]\ny=1\n");
    bool hookRan = false;
    session.setBeforeClose([&] { hookRan = true; });
    closeExpectingNewFileGone();
    EXPECT_TRUE(hookRan);
    EXPECT_FALSE(QFile::exists(paths.scratchFile()));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(DocumentSessionTest, ClosingANewDocumentWithDataAsks)
{
    const char *const rows[] = {
        "INSERT INTO tblGroups ([Group], Course) VALUES ('ИС-11', '1')",
        "INSERT INTO tblDisciplines (Discipline) VALUES ('Физика')",
        "INSERT INTO tblTutors (Tutor) VALUES ('Петров')",
        "INSERT INTO tblNotes (Key_TTL, [Note]) VALUES (1, 'Совещание')",
    };
    for (const char *row : rows) {
        SCOPED_TRACE(row);
        startNew();
        execute(newFile(), QString::fromUtf8(row));
        prompts.answers = {Prompts::Answer::No};
        closeExpectingNewFileGone();
        ASSERT_EQ(prompts.shown.size(), 1u);
        EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Сохранить новый файл?"));
        EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Question);
        prompts.shown.clear();
    }
}

TEST_F(DocumentSessionTest, ClosingWithYesSavesOrDeletesWhenTheSaveIsCancelled)
{
    startNew();
    execute(newFile(), QStringLiteral("INSERT INTO tblNotes (Key_TTL, [Note]) VALUES (1, 'a')"));
    prompts.answers = {Prompts::Answer::Yes};
    prompts.fileAnswers = {std::nullopt};
    closeExpectingNewFileGone();

    startNew();
    execute(newFile(), QStringLiteral("INSERT INTO tblNotes (Key_TTL, [Note]) VALUES (1, 'b')"));
    const QString saved = folder.file(QStringLiteral("Расписание.kvt"));
    prompts.answers = {Prompts::Answer::Yes};
    prompts.fileAnswers = {saved};
    closeExpectingNewFileGone();
    EXPECT_EQ(session.currentPath(), saved);
    EXPECT_EQ(rowCount(saved, QStringLiteral("tblNotes")), 1);
    EXPECT_EQ(prompts.fileChoices.back().proposedName, QStringLiteral("Новое учебное расписание"));
}

TEST_F(DocumentSessionTest, ClosingAsksAgainWhenTheSaveFails)
{
    startNew();
    execute(newFile(), QStringLiteral("INSERT INTO tblTutors (Tutor) VALUES ('Петров')"));
    prompts.answers = {Prompts::Answer::Yes, Prompts::Answer::No};
    prompts.fileAnswers = {folder.file(QStringLiteral("нет такой папки/a.kvt"))};
    closeExpectingNewFileGone();
    EXPECT_EQ(prompts.texts(Kind::YesNo).size(), 2);
    ASSERT_EQ(prompts.texts(Kind::Message).size(), 1);
    EXPECT_TRUE(prompts.texts(Kind::Message)[0].startsWith(QStringLiteral("Не удалось сохранить")));
}

TEST_F(DocumentSessionTest, OpeningAnotherFileDiscardsTheNewDocument)
{
    const QString other = newTestDocument(folder, QStringLiteral("Другой.kvt"));
    settings.write("Settings", "PathDB", folder.file(QStringLiteral("old.kvt")));
    startNew();
    prompts.fileAnswers = {other};
    session.openDocument();

    EXPECT_FALSE(QFile::exists(newFile()));
    EXPECT_FALSE(tempFile());
    EXPECT_EQ(session.currentPath(), other);
    EXPECT_EQ(session.windowTitle(), QStringLiteral("Тарвела - Другой"));
    EXPECT_EQ(pathDB(), other);
    ASSERT_EQ(prompts.fileChoices.size(), 1u);
    EXPECT_EQ(prompts.fileChoices[0].folder, folder.file(QStringLiteral("old.kvt")));
    EXPECT_EQ(prompts.fileChoices[0].filter, QStringLiteral("Файлы Тарвела (*.kvt)"));
    EXPECT_EQ(prompts.texts(Kind::Message), QStringList());
}

TEST_F(DocumentSessionTest, OpeningWhatIsNotADocumentChangesNothing)
{
    const QString foreign = folder.file(QStringLiteral("чужой.kvt"));
    writeTestFile(foreign, "это не база данных");
    const QString missing = folder.file(QStringLiteral("нет.kvt"));
    startNew();

    // Cancelled; not a document; missing, which asks for another file (cancelled).
    prompts.fileAnswers = {std::nullopt, foreign, missing, std::nullopt};
    for (int i = 0; i < 3; ++i)
        session.openDocument();

    ASSERT_EQ(prompts.texts(Kind::Message).size(), 2);
    EXPECT_EQ(prompts.texts(Kind::Message)[0], kBadFormat);
    EXPECT_TRUE(prompts.texts(Kind::Message)[1].startsWith("Файл документа «" + missing));
    EXPECT_EQ(prompts.texts(Kind::OpenFile).size(), 4);
    EXPECT_EQ(session.currentPath(), newFile());
    EXPECT_EQ(session.windowTitle(), QStringLiteral("Тарвела - Новое расписание"));
    EXPECT_TRUE(QFile::exists(newFile()));
    EXPECT_TRUE(tempFile());
}

TEST_F(DocumentSessionTest, SaveAsWorksOnTheCopyAndLeavesTheOriginal)
{
    const QString original = newTestDocument(folder, QStringLiteral("Исходный.kvt"));
    execute(original, QStringLiteral("INSERT INTO tblGroups ([Group]) VALUES ('ИС-11')"));
    const QString copy = folder.file(QStringLiteral("Копия.kvt"));
    session.startFromCommandLine({original});

    prompts.fileAnswers = {copy};
    session.saveDocumentAs();
    EXPECT_EQ(session.currentPath(), copy);
    EXPECT_EQ(session.windowTitle(), QStringLiteral("Копия.kvt"));
    EXPECT_EQ(pathDB(), original);
    EXPECT_FALSE(tempFile());

    const std::optional<Database> db = session.access();
    ASSERT_TRUE(db);
    db->execute(QStringLiteral("INSERT INTO tblGroups ([Group]) VALUES ('ИС-12')"));
    EXPECT_EQ(rowCount(copy, QStringLiteral("tblGroups")), 2);
    EXPECT_EQ(rowCount(original, QStringLiteral("tblGroups")), 1);
}

TEST_F(DocumentSessionTest, SaveAsReplacesAConfirmedFileIncludingItself)
{
    const QString document = newTestDocument(folder, QStringLiteral("a.kvt"));
    execute(document, QStringLiteral("INSERT INTO tblTutors (Tutor) VALUES ('Петров')"));
    const QString existing = newTestDocument(folder, QStringLiteral("b.kvt"));
    session.startFromCommandLine({document});

    prompts.fileAnswers = {document, existing};
    session.saveDocumentAs();
    EXPECT_EQ(rowCount(document, QStringLiteral("tblTutors")), 1);
    session.saveDocumentAs();
    EXPECT_EQ(session.currentPath(), existing);
    EXPECT_EQ(rowCount(existing, QStringLiteral("tblTutors")), 1);
    EXPECT_TRUE(prompts.texts(Kind::Message).isEmpty());
}

TEST_F(DocumentSessionTest, FailedSaveAsKeepsTheDocumentAndSaysSo)
{
    startNew();
    prompts.fileAnswers = {folder.file(QStringLiteral("нет такой папки/a.kvt"))};
    session.saveDocumentAs();
    EXPECT_EQ(session.currentPath(), newFile());
    EXPECT_EQ(session.windowTitle(), QStringLiteral("Тарвела - Новое расписание"));
    EXPECT_TRUE(tempFile());
    EXPECT_TRUE(QFile::exists(newFile()));
    ASSERT_EQ(prompts.shown.back().kind, Kind::Message);
    EXPECT_EQ(prompts.shown.back().icon, Prompts::Icon::Warning);
}

// Makes a file unwritable for the test's life, also for root (who ignores permissions).
class Unwritable
{
public:
    explicit Unwritable(const QString &path)
        : m_path(path)
    {
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadUser);
        if (::geteuid() == 0)
            m_immutable = QProcess::execute(QStringLiteral("chattr"), {"+i", path}) == 0;
    }
    ~Unwritable()
    {
        if (m_immutable)
            QProcess::execute(QStringLiteral("chattr"), {"-i", m_path});
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    bool holds() const { return ::geteuid() != 0 || m_immutable; }

private:
    QString m_path;
    bool m_immutable = false;
};

TEST_F(DocumentSessionTest, AReadOnlyDocumentOpensForReading)
{
    const QString document = newTestDocument(folder, QStringLiteral("архив.kvt"));
    execute(document, QStringLiteral("INSERT INTO tblGroups ([Group]) VALUES ('ИС-11')"));
    Database::forgetAll();
    const Unwritable lock(document);
    if (!lock.holds())
        GTEST_SKIP() << "cannot make a file unwritable here";
    const QByteArray before = readTestFile(document);

    // No path yet: the first access asks for the file.
    prompts.fileAnswers = {document};
    const std::optional<Database> db = session.access();
    ASSERT_TRUE(db);
    EXPECT_EQ(db->openRecordset(QStringLiteral("SELECT tblGroups.Key FROM tblGroups;"))
                  .recordCount(),
              1);
    EXPECT_EQ(session.currentPath(), document);
    EXPECT_TRUE(db->isReadOnly());
    try {
        db->execute(QStringLiteral("DELETE * FROM tblGroups"));
        ADD_FAILURE() << "a read-only document was changed";
    } catch (const DbError &e) {
        EXPECT_EQ(e.code(), dberr::ReadOnly);
    }
    EXPECT_EQ(readTestFile(document), before);
}

TEST_F(DocumentSessionTest, AReadingSessionLeavesAnOlderDocumentAsItWas)
{
    const QString document = newTestDocument(folder, QStringLiteral("старый.kvt"));
    execute(document, QStringLiteral("INSERT INTO tblGroups ([Group]) VALUES ('ИС-11')"));
    sqliteExec(document, "PRAGMA user_version = 2");
    Database::forgetAll();
    auto version = [&] {
        QFile f(document);
        f.open(QIODevice::ReadOnly);
        const QByteArray header = f.read(64); // user_version: bytes 60-63, big-endian
        return (uchar(header[60]) << 24) | (uchar(header[61]) << 16) | (uchar(header[62]) << 8)
               | uchar(header[63]);
    };
    ASSERT_EQ(version(), 2);

    DocumentSession reading{prompts, settings, paths};
    reading.setReadingOnly(true);
    reading.startFromCommandLine({document});
    ASSERT_TRUE(reading.access());
    EXPECT_EQ(reading.access()->openRecordset(QStringLiteral("tblGroups")).recordCount(), 1);
    Database::forgetAll();
    EXPECT_EQ(version(), 2);

    session.startFromCommandLine({document});
    ASSERT_TRUE(session.access());
    EXPECT_EQ(version(), kDocumentSchemaVersion);
}

TEST_F(DocumentSessionTest, ADocumentOfALaterVersionIsShownWithAWarningOnce)
{
    const QString document = newTestDocument(folder, QStringLiteral("новый.kvt"));
    sqliteExec(document, "PRAGMA user_version = 99");
    Database::forgetAll();
    session.startFromCommandLine({document});
    ASSERT_TRUE(session.access());
    ASSERT_TRUE(session.access());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Warning);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("более новой версией")));
}

TEST(FileAssociation, RegistersTheTypeUnderTheProgramsOwnName)
{
    TestFolder home;
    const QString program = QStringLiteral("/opt/Мои программы/korvesta");
    ASSERT_TRUE(associateFileType(program, home.path()));

    QFile mime(home.file(QStringLiteral("mime/packages/korvesta.xml")));
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    const QString type = QString::fromUtf8(mime.readAll());
    EXPECT_TRUE(type.contains(QStringLiteral("<comment>Файл приложения Тарвела</comment>")))
        << type.toStdString();
    EXPECT_TRUE(type.contains(QStringLiteral("<glob pattern=\"*.kvt\"/>")));

    QFile entry(home.file(QStringLiteral("applications/korvesta.desktop")));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(entry.readAll())
                    .contains(QStringLiteral("\nExec=\"/opt/Мои программы/korvesta\" %f\n")));
}

} // namespace
} // namespace korvesta
