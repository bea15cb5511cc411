#include "documenttemplate.h"

#include "database.h"
#include "dberror.h"
#include "documentschema.h"
#include "sqlfunctions.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

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
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString text = QString::fromUtf8(error ? error : "");
        sqlite3_free(error);
        throw DbError(dberr::Failed, QStringLiteral("Не удалось создать документ: %1").arg(text));
    }
}

} // namespace

QString documentTemplateScript()
{
    static const bool registered = (initCoreResources(), true);
    Q_UNUSED(registered);
    QFile file(QStringLiteral(":/schema/template.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void writeNewDocument(const QString &path)
{
    const QFileInfo target(path);
    // A temporary name in the target's folder, so the final rename stays on one file system.
    QTemporaryFile scratch(target.absolutePath() + QStringLiteral("/.korvesta-new-XXXXXX"));
    if (!scratch.open())
        throw DbError(dberr::Failed,
                      QStringLiteral("Не удалось создать файл в папке %1")
                          .arg(target.absolutePath()));
    const QString scratchPath = scratch.fileName();
    scratch.close();

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
        run(db.get(), QStringLiteral("PRAGMA application_id = %1; PRAGMA user_version = %2;")
                          .arg(kDocumentApplicationId)
                          .arg(kDocumentSchemaVersion)
                          .toUtf8());
        run(db.get(), "COMMIT");
    }

    Database::forget(path);
    // rename() replaces the target in one step.
    if (std::rename(QFile::encodeName(scratchPath).constData(),
                    QFile::encodeName(path).constData())
        != 0)
        throw DbError(dberr::Failed, QStringLiteral("Не удалось записать файл %1").arg(path));
    scratch.setAutoRemove(false);
}

} // namespace korvesta
