#pragma once

#include <QDate>
#include <QString>

#include <vector>

namespace korvesta {

class DocumentSession;
class Prompts;
struct SettingsRecord;

// One cell of a tutor's busy time: a lesson of a day. A mark is kept either for the day's
// date or for its weekday, repeating every week.
struct BusyCell
{
    int lesson = 0;
    QDate date;      // may be invalid where the grid shows weekdays only
    int weekday = 0; // 1 = Monday
};

// Where marks are kept: for the cell's date, or for its weekday of every week.
enum class MarkBy { Weekday, Date };

// The times a tutor cannot teach or is marked otherwise (a day off, sick leave, a business
// trip...), each a kind of the kind list: marked on cells of the busy-time grid and removed
// from them. Every change is one undoable step.
class TutorExceptions
{
public:
    TutorExceptions(DocumentSession &session, const SettingsRecord &settings, Prompts &prompts);

    // Gives every cell the kind (a Key of the kind list), replacing the cell's marks kept the
    // same way; weekdays past the working days are left alone. False when nothing was written
    // (nothing to mark, or a document error, told).
    bool mark(int keyTutor, int kind, MarkBy by, const std::vector<BusyCell> &cells);
    // Asks the user, naming the tutor and the first cell, then removes every mark of the
    // cells, those of the date and those of the weekday. False when refused, when nothing was
    // marked there, or on a document error (told).
    bool remove(int keyTutor, const QString &tutor, MarkBy by, const std::vector<BusyCell> &cells);

    // The question remove() asks.
    static QString removalQuestion(const QString &tutor, MarkBy by, const BusyCell &first);

private:
    DocumentSession &m_session;
    const SettingsRecord &m_settings;
    Prompts &m_prompts;
};

} // namespace korvesta
