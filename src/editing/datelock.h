#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace korvesta {

class Database;
class DocumentSession;
class Prompts;
class SettingsStore;

// Protecting a date of the timetable against editing, and lifting the protection under the
// password: the setting AccessEditPwd for a file, the document's own for a server document
// (which the server checks). A protected date takes no lessons, loses none to clearing and
// receives no copies.
class DateLock
{
public:
    DateLock(DocumentSession &session, const SettingsStore &settings, Prompts &prompts);

    // Gives the date the wanted state: locking asks nothing; unlocking asks for the password
    // when one is set. A date without a timetable row gets one. The user is told the result.
    // False when the date keeps its state: a wrong or no password, or a document error (told).
    bool setLocked(const QDate &date, bool lock);

    static QString unlockedText() { return QStringLiteral("Доступ к редактированию расписания открыт"); }
    static QString lockedText() { return QStringLiteral("Доступ к редактированию расписания закрыт"); }

private:
    // The password for lifting a protection: an empty text when none is needed, nothing when
    // the user gave none or a wrong one (told).
    std::optional<QString> unlockPassword(const Database &db);

    DocumentSession &m_session;
    const SettingsStore &m_settings;
    Prompts &m_prompts;
};

} // namespace korvesta
