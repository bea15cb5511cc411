#include "filecommands.h"

#include "data/pgconnection.h"

#include "dlgserver.h"

#include "data/database.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/prompts.h"
#include "sample/demodocument.h"
#include "sample/samplenorms.h"
#include "settings/recentdocuments.h"

#include <QDir>
#include <QFileInfo>

namespace korvesta {

FileCommands::FileCommands(DocumentSession &session, Prompts &prompts, SettingsStore &settings,
                           SettingsRecord &record, std::function<void()> refill)
    : m_session(session)
    , m_prompts(prompts)
    , m_settings(settings)
    , m_record(record)
    , m_refill(std::move(refill))
{}

void FileCommands::newDocument()
{
    m_session.newDocument();
    m_refill();
}

void FileCommands::openDocument()
{
    m_session.openDocument();
    m_refill();
}

void FileCommands::saveDocumentAs()
{
    m_session.saveDocumentAs();
    m_refill();
}

void FileCommands::openRecent(const QString &path)
{
    // A server document is looked for by opening it: the session says what went wrong.
    if (!PgConnection::isServerUri(path) && !QFileInfo(path).isFile()) {
        RecentDocuments::forget(m_settings, path);
        m_prompts.message(QStringLiteral("Файл ") + QDir::toNativeSeparators(path)
                              + QStringLiteral(" не найден.\r\nОн убран из списка последних "
                                               "документов."),
                          Prompts::Icon::Warning);
        return;
    }
    m_session.openPath(path);
    m_refill();
}

QString FileCommands::samplePath() const
{
    return m_session.paths().applicationFolder + QStringLiteral("/Пример колледжа.kvt");
}

void FileCommands::openSample()
{
    const QString path = samplePath();
    QString norms;
    if (!QFileInfo(path).isFile()) {
        try {
            norms = fitNormsToSample(writeDemoDocument(path, DemoSize::Small), m_record,
                                     m_settings);
        } catch (const DbError &error) {
            m_prompts.message(QStringLiteral("Пример не записан: ") + error.message(),
                              Prompts::Icon::Warning);
            return;
        }
    }
    m_session.openPath(path);
    m_refill();
    if (!norms.isEmpty())
        m_prompts.message(norms, Prompts::Icon::Information);
}

void FileCommands::connectToServer(QWidget *parent)
{
    dlgServer dialog(m_settings, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (m_session.openPath(dialog.uri()))
        m_refill();
}

void FileCommands::checkStartDocument()
{
    const QString path = m_session.currentPath();
    if (path.isEmpty()) {
        m_prompts.message(QStringLiteral("Не удалось создать новое расписание в папке ")
                              + QDir::toNativeSeparators(m_session.paths().applicationFolder)
                              + QStringLiteral(".\r\nОткройте существующий файл командой "
                                               "«Файл» – «Открыть»."),
                          Prompts::Icon::Warning);
        return;
    }
    if (m_session.isNewDocument())
        return;
    const QString name = QDir::toNativeSeparators(path);
    try {
        Database::open(path);
    } catch (const DbError &error) {
        // Held by another program for now: the document stays, and the user is told why the
        // views stay empty until it is free.
        if (error.code() == dberr::Locked)
            m_prompts.message(QStringLiteral("Документ ") + name
                                  + QStringLiteral(" занят другой программой.\r\n")
                                  + QStringLiteral("Когда она закончит работу с документом, "
                                                   "обновите вид (F5)."),
                              Prompts::Icon::Warning);
        else if (error.code() == dberr::FileNotFound)
            replaceByNewDocument(QStringLiteral("Файл ") + name + QStringLiteral(" не найден."));
        else
            replaceByNewDocument(QStringLiteral("Файл ") + name
                                 + QStringLiteral(" не является файлом расписания "
                                                  "или повреждён."));
    }
}

void FileCommands::replaceByNewDocument(const QString &message)
{
    m_prompts.message(message + QStringLiteral("\r\nСоздано новое расписание."),
                      Prompts::Icon::Warning);
    m_session.newDocument();
}

} // namespace korvesta
