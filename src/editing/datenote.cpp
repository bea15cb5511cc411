#include "datenote.h"

#include "documentchange.h"
#include "timetablerows.h"

#include "data/history.h"
#include "data/recordset.h"
#include "data/sqltext.h"

namespace korvesta {

DateNote::DateNote(DocumentSession &session, Prompts &prompts)
    : m_session(session)
    , m_prompts(prompts)
{}

QString DateNote::load(const QDate &date)
{
    return runDocumentChange<QString>(m_session, m_prompts, QString(), [&](const Database &db) {
        const Recordset rs =
            openSavedQuery(db, QStringLiteral("qryNote"), {{QStringLiteral("pDate"), date}});
        return rs.isEmpty() ? QString() : rs.value(QStringLiteral("Note")).toString();
    });
}

DateNote::Stored DateNote::store(const QDate &date, const QString &text)
{
    if (!date.isValid())
        return Stored::Unchanged;
    return runDocumentChange<Stored>(m_session, m_prompts, Stored::Failed, [&](const Database &db) {
        const History::Step step(db, QStringLiteral("заметка на ")
                                         + date.toString(QStringLiteral("dd.MM.yyyy")));
        Database::Transaction transaction(db);
        db.lockDates({date});
        Recordset day = db.openRecordset(QStringLiteral("SELECT tblTimeTableList.* "
                                                        "FROM tblTimeTableList "
                                                        "WHERE (((tblTimeTableList.Date)=%1));")
                                             .arg(sqlDateLiteral(date)));
        int key = 0;
        if (day.isEmpty()) {
            if (text.isEmpty())
                return Stored::Unchanged;
            day.addNew();
            day.setValue(QStringLiteral("Date"), date);
            key = day.value(QStringLiteral("Key")).toInt();
            day.update();
        } else {
            key = day.value(QStringLiteral("Key")).toInt();
        }
        const Recordset note =
            db.openRecordset(QStringLiteral("SELECT tblNotes.Note FROM tblNotes "
                                            "WHERE (((tblNotes.Key_TTL)=%1));")
                                 .arg(key));
        if (note.isEmpty()) {
            if (text.isEmpty())
                return Stored::Unchanged;
            db.execute(QStringLiteral("INSERT INTO tblNotes (Key_TTL, Note) VALUES (%1, %2);")
                           .arg(key)
                           .arg(sqlText(text)));
        } else if (note.value(0).toString() == text) {
            return Stored::Unchanged;
        } else if (text.isEmpty()) {
            db.execute(QStringLiteral("DELETE tblNotes.* FROM tblNotes "
                                      "WHERE (((tblNotes.Key_TTL)=%1));")
                           .arg(key));
        } else {
            db.execute(QStringLiteral("UPDATE tblNotes SET tblNotes.Note = %1 "
                                      "WHERE (((tblNotes.Key_TTL)=%2));")
                           .arg(sqlText(text))
                           .arg(key));
        }
        transaction.commit();
        return Stored::Written;
    });
}

} // namespace korvesta
