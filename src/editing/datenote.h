#pragma once

#include <QDate>
#include <QString>

namespace korvesta {

class DocumentSession;
class Prompts;

// The free-text note of a timetable date. A note needs the date's timetable row, which is
// added with the first note of a date; an emptied note is deleted and the date row stays.
// Nothing is written when the text is what the date already holds.
class DateNote
{
public:
    enum class Stored { Unchanged, Written, Failed };

    DateNote(DocumentSession &session, Prompts &prompts);

    // The note of the date; empty when it has none or the document cannot be read (told).
    QString load(const QDate &date);
    // Stores the text as the date's note, one undoable step. Failed when the document could
    // not be written (told).
    Stored store(const QDate &date, const QString &text);

private:
    DocumentSession &m_session;
    Prompts &m_prompts;
};

} // namespace korvesta
