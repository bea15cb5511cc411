#pragma once

#include <functional>

class QString;
class QWidget;

namespace korvesta {

class DocumentSession;
class Prompts;
class SettingsStore;
struct SettingsRecord;

// "Создать", "Открыть" and "Сохранить как..." with their dialogs, each followed by a refill
// of the current view whether it completed or was cancelled; and the look at the document
// the program was started with.
class FileCommands
{
public:
    FileCommands(DocumentSession &session, Prompts &prompts, SettingsStore &settings,
                 SettingsRecord &record, std::function<void()> refill);

    void newDocument();
    void openDocument();
    void saveDocumentAs();
    // A document of the recent list; one that is gone is dropped from the list, with a word.
    void openRecent(const QString &path);
    // The sample college, written into the program's folder the first time (and again when
    // it has been deleted), with the norms its lessons need.
    void openSample();
    // A document on a PostgreSQL server, by the server, database and user asked for.
    void connectToServer(QWidget *parent);
    QString samplePath() const;

    // Once the window is up: a start document that is missing or not a document is named
    // to the user and a new document takes its place (one that another program holds stays,
    // with a word why); a new document that could not be written is reported too.
    void checkStartDocument();

private:
    void replaceByNewDocument(const QString &message);

    DocumentSession &m_session; // Not owned.
    Prompts &m_prompts;         // Not owned.
    SettingsStore &m_settings;  // Not owned.
    SettingsRecord &m_record;   // Not owned.
    std::function<void()> m_refill;
};

} // namespace korvesta
