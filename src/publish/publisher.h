#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTimeZone>

namespace korvesta {

class Database;
class Progress;
class SettingsStore;

// Publishes the timetable of a period into a folder: an iCalendar file and a web page per
// group, tutor and auditorium, and an index page. Only files whose content changed are
// written; each is written in full into a temporary folder beside the destination and then
// renamed into place, so that a reader never meets a half-written file and a failure leaves
// the last publication as it was. What was published is remembered in the folder
// (".korvesta-publish.json"): the files that are the program's own, so that the files of an
// object that is gone are cancelled and then removed, and never a file of anyone else. A file
// of the folder that the record does not name is someone else's: it is replaced only when
// the planner says so, and nothing outside the folder is ever written or removed.

struct PublishRequest
{
    QString folder;
    QDate from, to;       // both needed
    int workDays = 6;     // the weekdays a page shows even without lessons
    QDate today;          // the current week of the pages
    QDateTime now;        // the moment of the publication (DTSTAMP of what changed)
    QTimeZone zone;       // the clock of the lesson times
    bool replaceForeign = false; // files of the folder the program did not write may go
};

struct PublishResult
{
    bool done = false;
    QString problem; // why nothing was published, when not done
    QStringList foreign;  // files that are not the program's and stand where one of its goes
    QStringList warnings; // what was found wrong in the folder and left alone
    int groups = 0, tutors = 0, auditoriums = 0;
    QStringList written; // files written, relative to the folder, in order
    QStringList removed;
    int cancelled = 0;              // events cancelled
    std::vector<int> untimedLessons; // lesson numbers published as all-day events
    int untimedCount = 0;

    // "опубликовано: 12 групп, 40 преподавателей, 30 аудиторий; изменено файлов: 7", and a
    // line on the lessons without a time when there are any.
    QString summary() const;
};

// The study period of the document ("Session" of tblAutoTable), or the academic year of
// `today` when it has none. Throws DbError.
std::pair<QDate, QDate> defaultPublishPeriod(const Database &db, const QDate &today);

// Throws DbError when the document cannot be read; a folder that cannot be written, an empty
// period or a cancel by the user end with done false and the reason.
PublishResult publishTimetable(const Database &db, const PublishRequest &request,
                               Progress &progress);

// The folder the timetable of a document was last published to (settings section "Publish",
// a key per document file); empty when never.
QString publishFolder(const SettingsStore &settings, const QString &documentPath);
void setPublishFolder(SettingsStore &settings, const QString &documentPath, const QString &folder);

} // namespace korvesta
