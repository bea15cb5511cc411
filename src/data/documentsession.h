#pragma once

#include "apppaths.h"
#include "database.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace korvesta {

class DbError;
class Prompts;
class SettingsStore;

// The current document and the commands that change it: New, Open, Save as, the start from
// the command line and the question asked at closing.
//
// A new document is written from the template as the new-document file in the application
// folder and lives there until it is saved under a name of the user's own; the setting
// TempFile records that it is current. Every operation on the document goes through
// access(), which opens the file at the current path, asking for one if there is none.
class DocumentSession
{
public:
    DocumentSession(Prompts &prompts, SettingsStore &settings, AppPaths paths);

    const QString &currentPath() const { return m_path; }
    const QString &windowTitle() const { return m_title; }
    const AppPaths &paths() const { return m_paths; }
    // The current document is the unsaved new document.
    bool isNewDocument() const;

    // Called with the new title whenever it changes.
    void setTitleListener(std::function<void(const QString &)> listener);
    // Run by confirmClosing() after the save question, to close what hangs on the document.
    void setBeforeClose(std::function<void()> hook);

    void newDocument();
    void openDocument();
    // Opens the document at the path given (a recent one, the sample) as "Открыть" opens the
    // one chosen. False when it was not opened (the user has been told why).
    bool openPath(const QString &path);
    void saveDocumentAs();
    // Offers to save a new document that holds data and deletes the new-document file.
    // Never cancels the close.
    void confirmClosing();
    // No arguments: a new document. Otherwise the arguments are one document path, quoted
    // or not; the file is not looked at until the first access.
    void startFromCommandLine(const QStringList &args);

    // A session that only reads (a command that prints a view): the document is opened so
    // that nothing is written to it, not even the update of an earlier layout, which waits
    // for the window or a command that changes data.
    void setReadingOnly(bool readingOnly) { m_readingOnly = readingOnly; }

    // Opens the current document for one operation, first asking for a file when no path is
    // set. On failure the user has been told (or asked for another file) and the result is
    // empty: the operation ends.
    std::optional<Database> access();
    // The shared handling of an engine error raised while working on the document.
    void handleError(const DbError &error);

private:
    enum class SaveResult { Saved, Cancelled, Failed };
    SaveResult trySaveAs();
    void setTitle(const QString &title);
    void enterNamedDocument(const QString &path);
    bool tempFileSetting() const;
    Database::Mode openingMode() const;
    void setTempFileSetting(bool value);
    bool newDocumentHoldsData() const;
    void discardNewDocumentFile();

    Prompts &m_prompts;
    SettingsStore &m_settings;
    AppPaths m_paths;
    QString m_path;
    QString m_title;
    std::function<void(const QString &)> m_titleListener;
    std::function<void()> m_beforeClose;
    bool m_readingOnly = false;
    QString m_toldNewerVersion; // the document the user was told a later version made
};

} // namespace korvesta
