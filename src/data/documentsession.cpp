#include "documentsession.h"

#include "pgconnection.h"
#include "serverdocument.h"

#include <QUrl>

#include "settings/recentdocuments.h"

#include "history.h"

#include "dberror.h"
#include "dberrorhandler.h"
#include "documenttemplate.h"
#include "prompts.h"
#include "recordset.h"
#include "settings/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

namespace korvesta {

namespace {

const QString kSection = QStringLiteral("Settings");
const QString kPathDB = QStringLiteral("PathDB");
const QString kTempFile = QStringLiteral("TempFile");

const QString kTitlePrefix = QStringLiteral("Тарвела - ");
const QString kFilter = QStringLiteral("Файлы Тарвела (*.kvt)");

// A file by its whole path; a document on a server by its URI as given.
QString absolutePath(const QString &path)
{
    if (PgConnection::isServerUri(path))
        return path;
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool samePath(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return a == b;
    return absolutePath(a) == absolutePath(b);
}

// "Тарвела - " and the file name without its last four characters (the ".kvt").
QString namedTitle(const QString &path)
{
    // A server document by its database's name.
    if (PgConnection::isServerUri(path))
        return kTitlePrefix + QUrl(path).path().section(u'/', -1) + QStringLiteral(" (сервер)");
    const QString name = QFileInfo(path).fileName();
    return kTitlePrefix + name.left(std::max<qsizetype>(0, name.size() - 4));
}

// Compaction refuses an existing destination, while the user has already agreed to replace
// it; so the copy is written beside the destination under a passing name and renamed over
// it in one step. This also covers saving a document onto itself.
bool writeCompactedCopy(const Database &source, const QString &destination)
{
    // A server's document is written into a new file by its rows.
    if (PgConnection::isServerUri(source.path())) {
        try {
            Database::forget(destination);
            exportServerDocument(source.path(), destination);
        } catch (const DbError &) {
            return false;
        }
        return true;
    }
    QString passing;
    {
        QTemporaryFile reserve(QFileInfo(destination).absolutePath()
                               + QStringLiteral("/.korvesta-save-XXXXXX"));
        if (!reserve.open())
            return false;
        passing = reserve.fileName();
    } // The reserved name is free again; compaction creates the file.
    try {
        source.compactTo(passing);
    } catch (const DbError &) {
        QFile::remove(passing);
        return false;
    }
    Database::forget(destination);
    if (std::rename(QFile::encodeName(passing).constData(),
                    QFile::encodeName(destination).constData())
        != 0) {
        QFile::remove(passing);
        return false;
    }
    return true;
}

} // namespace

DocumentSession::DocumentSession(Prompts &prompts, SettingsStore &settings, AppPaths paths)
    : m_prompts(prompts)
    , m_settings(settings)
    , m_paths(std::move(paths))
{}

bool DocumentSession::isNewDocument() const
{
    return samePath(m_path, m_paths.newDocumentFile());
}

void DocumentSession::setTitleListener(std::function<void(const QString &)> listener)
{
    m_titleListener = std::move(listener);
}

void DocumentSession::setBeforeClose(std::function<void()> hook)
{
    m_beforeClose = std::move(hook);
}

void DocumentSession::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    if (m_titleListener)
        m_titleListener(m_title);
}

bool DocumentSession::tempFileSetting() const
{
    return m_settings.readBool(kSection, kTempFile, false);
}

void DocumentSession::setTempFileSetting(bool value)
{
    m_settings.writeBool(kSection, kTempFile, value);
}

void DocumentSession::discardNewDocumentFile()
{
    Database::forget(m_paths.newDocumentFile());
    QFile::remove(m_paths.newDocumentFile());
}

void DocumentSession::enterNamedDocument(const QString &path)
{
    m_path = path;
    setTitle(namedTitle(path));
    m_settings.write(kSection, kPathDB, path);
    if (!m_readingOnly)
        RecentDocuments::remember(m_settings, path);
}

void DocumentSession::newDocument()
{
    const QString file = m_paths.newDocumentFile();
    try {
        // Overwrites, without a question, a new document left from before.
        writeNewDocument(file);
    } catch (const DbError &) {
        return; // The application folder is not writable: the current document stays.
    }
    m_path = file;
    setTitle(kTitlePrefix + QStringLiteral("Новое расписание"));
    setTempFileSetting(true);
}

void DocumentSession::openDocument()
{
    Prompts::FileChoice choice;
    choice.folder = m_settings.readText(kSection, kPathDB, QString());
    choice.filter = kFilter;
    const std::optional<QString> chosen = m_prompts.chooseFileToOpen(choice);
    if (!chosen || chosen->isEmpty())
        return;
    openPath(*chosen);
}

bool DocumentSession::openPath(const QString &chosen)
{
    const QString path = absolutePath(chosen);

    // The file is tried before the switch: one that is not a document gets the usual message
    // and the current document, an unsaved new one included, stays as it was.
    try {
        Database::open(path, openingMode());
    } catch (const DbError &error) {
        handleError(error);
        return false;
    }

    enterNamedDocument(path);
    // An unsaved new document is discarded without a question (unless it is the very file
    // the user chose).
    if (tempFileSetting() && !samePath(path, m_paths.newDocumentFile()))
        discardNewDocumentFile();
    setTempFileSetting(false);
    return true;
}

void DocumentSession::saveDocumentAs()
{
    trySaveAs();
}

DocumentSession::SaveResult DocumentSession::trySaveAs()
{
    const QString source = isNewDocument() || m_path.isEmpty() ? m_paths.newDocumentFile()
                                                                : m_path;
    Prompts::FileChoice choice;
    choice.folder = m_settings.readText(kSection, kPathDB, QString());
    choice.proposedName = QStringLiteral("Новое учебное расписание");
    choice.filter = kFilter;
    const std::optional<QString> chosen = m_prompts.chooseFileToSave(choice);
    if (!chosen || chosen->isEmpty())
        return SaveResult::Cancelled;
    const QString destination = absolutePath(*chosen);

    std::optional<Database> db;
    try {
        db = Database::open(source);
    } catch (const DbError &error) {
        handleError(error);
        return SaveResult::Failed;
    }
    // The current document moves to the copy only once the copy is written; on failure the
    // path, the title and TempFile stay, and the user learns that nothing was saved.
    if (!writeCompactedCopy(*db, destination)) {
        m_prompts.message(QStringLiteral("Не удалось сохранить файл ")
                              + QDir::toNativeSeparators(destination),
                          Prompts::Icon::Warning);
        return SaveResult::Failed;
    }
    db.reset();
    if (PgConnection::isServerUri(source)) {
        // The copy is the user's; the window stays with the document the planners share.
        m_prompts.message(QStringLiteral("Документ с сервера записан в файл %1. Окно "
                                         "по-прежнему работает с документом на сервере")
                              .arg(QDir::toNativeSeparators(destination)),
                          Prompts::Icon::Information);
        return SaveResult::Saved;
    }

    if (tempFileSetting() && !samePath(destination, m_paths.newDocumentFile()))
        discardNewDocumentFile();
    m_path = destination;
    setTitle(QFileInfo(destination).fileName());
    setTempFileSetting(false);
    // PathDB stays on the document last opened.
    return SaveResult::Saved;
}

bool DocumentSession::newDocumentHoldsData() const
{
    static const char *const checks[] = {
        "SELECT tblGroups.Key FROM tblGroups;",
        "SELECT tblDisciplines.Key FROM tblDisciplines;",
        "SELECT tblTutors.Key FROM tblTutors;",
        "SELECT tblNotes.* FROM tblNotes;",
    };
    try {
        const Database db = Database::open(m_path);
        for (const char *sql : checks) {
            if (!db.openRecordset(QString::fromLatin1(sql)).isEmpty())
                return true;
        }
    } catch (const DbError &) {
        // Closing raises no dialogs: a new document that is missing or damaged has nothing
        // worth saving.
    }
    return false;
}

void DocumentSession::confirmClosing()
{
    if (isNewDocument() && newDocumentHoldsData()) {
        // A save that failed (rather than one the user cancelled) asks again, so that the new
        // document is not deleted behind the user's "Yes".
        bool ask = true;
        while (ask && isNewDocument()) {
            ask = m_prompts.askYesNo(QStringLiteral("Сохранить новый файл?"),
                                     Prompts::Icon::Question)
                      == Prompts::Answer::Yes
                  && trySaveAs() == SaveResult::Failed;
        }
    }

    if (m_beforeClose)
        m_beforeClose();

    // Still on the new document: nothing was saved (no data, No, or a cancelled save).
    if (isNewDocument()) {
        if (QFile::exists(m_path))
            discardNewDocumentFile();
        setTempFileSetting(false);
        QFile::remove(m_paths.scratchFile()); // May well not exist.
    }
}

void DocumentSession::startFromCommandLine(const QStringList &args)
{
    // A path with blanks that reached us unquoted arrives split; it is one path all the same.
    QString path = args.join(QLatin1Char(' '));
    if (path.isEmpty()) {
        newDocument();
        return;
    }
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
        path = path.mid(1, path.size() - 2);
    // TempFile stays as it was: a new document left by a crash is cleared by the next Open
    // or Save as.
    enterNamedDocument(absolutePath(path));
}

std::optional<Database> DocumentSession::access()
{
    if (m_path.isEmpty())
        openDocument();
    if (m_path.isEmpty())
        return std::nullopt;
    try {
        Database db = Database::open(m_path, openingMode());
        if (!m_readingOnly) {
            // The window's document keeps its history of changes (another one's is dropped);
            // without it the document still works.
            try {
                History::attach(db);
            } catch (const DbError &) {
                History::detachAll();
            }
        }
        if (!m_readingOnly && db.isFromNewerVersion() && m_toldNewerVersion != m_path) {
            m_toldNewerVersion = m_path;
            m_prompts.message(QStringLiteral("Документ «%1» создан более новой версией программы. "
                                             "Его можно просматривать, но изменения в нём не "
                                             "будут сохранены: обновите программу")
                                  .arg(QDir::toNativeSeparators(m_path)),
                              Prompts::Icon::Warning);
        }
        return db;
    } catch (const DbError &error) {
        handleError(error);
        return std::nullopt;
    }
}

Database::Mode DocumentSession::openingMode() const
{
    return m_readingOnly ? Database::Mode::ReadOnly : Database::Mode::ReadWrite;
}

void DocumentSession::handleError(const DbError &error)
{
    handleDatabaseError(error, m_prompts, [this] { openDocument(); },
                        [this](const QString &saved) {
                            enterNamedDocument(saved);
                            setTempFileSetting(false);
                        });
}

} // namespace korvesta
