#include "documenttemplate.h"

#include "database.h"
#include "dberror.h"
#include "documentschema.h"
#include "querydef.h"
#include "sqlfunctions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sqlite3.h>

#include <cstdio>
#include <memory>

// Resources of a static library are registered by hand, outside any namespace.
static void initCoreResources()
{
    Q_INIT_RESOURCE(core);
}

namespace korvesta {

namespace {

struct SqliteCloser
{
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};

void run(sqlite3 *db, const QByteArray &sql)
{
    char *error = nullptr;
    const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const DbError cause = DbError::fromEngine(rc, QString::fromUtf8(error ? error : ""), {});
        sqlite3_free(error);
        throw DbError(cause.code(), QStringLiteral("Не удалось создать документ.\n")
                                        + cause.message());
    }
}

} // namespace

namespace {

QString resourceText(const QString &name)
{
    static const bool registered = (initCoreResources(), true);
    Q_UNUSED(registered);
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

QList<std::pair<QString, QString>> documentTemplateQueries()
{
    // Blocks of the form "-- query: NAME" followed by the query's text up to the next block.
    QList<std::pair<QString, QString>> queries;
    const QString marker = QStringLiteral("-- query:");
    QString name;
    QStringList lines;
    auto flush = [&] {
        if (!name.isEmpty())
            queries.append({name, lines.join(u'\n').trimmed()});
        lines.clear();
    };
    for (const QString &line : resourceText(QStringLiteral(":/schema/queries.sql")).split(u'\n')) {
        if (line.startsWith(marker)) {
            flush();
            name = line.mid(marker.size()).trimmed();
        } else if (!name.isEmpty() && !line.startsWith(QLatin1String("--"))) {
            lines << line;
        }
    }
    flush();
    return queries;
}

namespace {

// The template's queries by case-folded name, their white space simplified.
const QHash<QString, QString> &templateQueriesByName()
{
    static const QHash<QString, QString> texts = [] {
        QHash<QString, QString> byName;
        for (const auto &[query, sql] : documentTemplateQueries())
            byName.insert(query.toCaseFolded(), sql.simplified());
        return byName;
    }();
    return texts;
}

} // namespace

QString templateQueryText(const QString &name)
{
    return templateQueriesByName().value(name.toCaseFolded());
}

bool isTemplateQuery(const Database &db, const QString &name)
{
    const QString text = templateQueryText(name);
    return !text.isEmpty() && db.queryDef(name).sql().simplified() == text;
}

QString documentTemplateScript()
{
    return resourceText(QStringLiteral(":/schema/template.sql"));
}

namespace {

// A temporary file is readable by its owner alone; a document gets the permissions any new
// file of the user gets.
void giveUsualPermissions(const QString &path)
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(path).constData(), 0666 & ~mask);
}

const QString kScratchPrefix = QStringLiteral(".korvesta-new-");

// Names under which a document was written by this program and earlier versions of it.
const QStringList &scratchPatterns()
{
    static const QStringList patterns = {kScratchPrefix + u'*',
                                         QStringLiteral(".korvesta-demo-*")};
    return patterns;
}

void writeTemplate(const QString &scratchPath, const QString &path)
{
    sqlite3 *raw = nullptr;
    const QByteArray name = scratchPath.toUtf8();
    const int rc = sqlite3_open_v2(name.constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    std::unique_ptr<sqlite3, SqliteCloser> db(raw);
    if (rc != SQLITE_OK)
        throw DbError(dberr::Failed, QStringLiteral("Не удалось создать документ %1").arg(path));
    registerJetFunctions(db.get());
    const QString script = documentTemplateScript();
    if (script.isEmpty())
        throw DbError(dberr::Failed, QStringLiteral("Шаблон документа недоступен"));
    run(db.get(), "BEGIN");
    run(db.get(), script.toUtf8());
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db.get(), "INSERT INTO sysQueries (\"Name\", \"SQL\") VALUES (?1, ?2)", -1,
                       &insert, nullptr);
    for (const auto &[queryName, sql] : documentTemplateQueries()) {
        const QByteArray n = queryName.toUtf8();
        const QByteArray q = sql.toUtf8();
        sqlite3_bind_text(insert, 1, n.constData(), int(n.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, q.constData(), int(q.size()), SQLITE_TRANSIENT);
        const int stepped = sqlite3_step(insert);
        sqlite3_reset(insert);
        if (stepped != SQLITE_DONE) {
            sqlite3_finalize(insert);
            throw DbError(dberr::Failed,
                          QStringLiteral("Не удалось записать запрос %1 в документ").arg(queryName));
        }
    }
    sqlite3_finalize(insert);
    run(db.get(), QStringLiteral("PRAGMA application_id = %1; PRAGMA user_version = %2;")
                      .arg(kDocumentApplicationId)
                      .arg(kDocumentSchemaVersion)
                      .toUtf8());
    run(db.get(), "COMMIT");
}

void removeWithJournals(const QString &path)
{
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace

void removeStaleScratchFiles(const QString &folder)
{
    const QDir dir(folder);
    const QStringList names =
        dir.entryList(scratchPatterns(), QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (name.endsWith(QLatin1String("-journal")) || name.endsWith(QLatin1String("-wal"))
            || name.endsWith(QLatin1String("-shm")))
            continue;
        const QString path = dir.filePath(name);
        // A run that is still writing holds a lock on its file; a file nobody locks was left
        // by a run that was killed.
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        const bool stale = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (stale)
            removeWithJournals(path);
        ::close(fd);
    }
}

void writeNewDocument(const QString &path, const std::function<void(const Database &)> &fill)
{
    const QFileInfo target(path);
    removeStaleScratchFiles(target.absolutePath());
    // A temporary name in the target's folder, so the final rename stays on one file system.
    QTemporaryFile scratch(target.absolutePath() + u'/' + kScratchPrefix + QStringLiteral("XXXXXX"));
    if (!scratch.open())
        throw DbError(dberr::Failed,
                      QStringLiteral("Не удалось создать файл в папке %1")
                          .arg(target.absolutePath()));
    // Held until the file has its final name: tells a later run that the file is in use.
    ::flock(scratch.handle(), LOCK_EX);
    const QString scratchPath = scratch.fileName();

    try {
        writeTemplate(scratchPath, path);
        if (fill) {
            const Database db = Database::open(scratchPath);
            fill(db);
        }
    } catch (...) {
        Database::forget(scratchPath);
        removeWithJournals(scratchPath);
        throw;
    }
    Database::forget(scratchPath);
    Database::forget(path);
    giveUsualPermissions(scratchPath);
    // rename() replaces the target in one step.
    if (std::rename(QFile::encodeName(scratchPath).constData(),
                    QFile::encodeName(path).constData())
        != 0)
        throw DbError(dberr::Failed, QStringLiteral("Не удалось записать файл %1").arg(path));
    scratch.setAutoRemove(false);
}

} // namespace korvesta
