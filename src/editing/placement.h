#pragma once

#include <QColor>
#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace korvesta {

class Database;
class DocumentSession;
class Prompts;
class SettingsStore;
struct PlacementAgreement;
struct SettingsRecord;

// Placing lessons in the timetable from a double click on a lesson cell: by group (a cell of
// a group's column) or by tutor (a cell of a tutor's column). The window opens a choice, shows
// it in the job dialog, lets the user check lines and pick auditoriums through it, and hands
// it back to add(). Everything the dialog shows or decides lives here; the dialog only draws.

enum class PlacementMode { Group, Tutor };

// Lessons form pairs (1, 2), (3, 4), ...: the other lesson of L's pair.
int partnerLesson(int lesson);

// One load line offered for placing; in an auditorium change, one lesson of the cell.
struct PlacementLine
{
    int keyJobList = 0; // in an auditorium change: the lesson's row (tblTimeTableContent.Key)
    QString discipline;  // short name
    QString discipline1; // full name
    int levelDiff = 0;
    QColor disciplineColor; // the difficulty's colour; invalid for the ordinary text colour
    // By group: the line's tutor. By tutor: the line's group.
    QString tutor;
    int keyTutor = 0;
    QString group;
    QString course;
    int keyGroup = 0;
    // The tutor's usual auditorium as "101 (Главный)", empty when he has none.
    QString auditorium;
    int keyAud = 0;
    int hours = 0;
    int placed = 0; // lessons already placed for the line
    int left() const { return hours - placed; }

    // The tutor cannot teach at the lesson (by group; a red cell with a lock), and why.
    bool tutorBusy = false;
    QString busyReason;
    // The group already has a lesson then (by tutor; red, still selectable).
    bool groupBusy = false;
    // The tutor is free at the other lesson of the pair.
    bool pairFree = false;
    // Every hour is placed and the line is shown greyed.
    bool exhausted = false;
    QString tooltip;

    // The line cannot be placed: a busy tutor, or a greyed line.
    bool blocked() const { return tutorBusy || exhausted; }
};

struct PlacementAuditorium
{
    int key = 0;
    QString text; // "101 (Главный)"
    bool free = false;
};

struct PlacementLessonType
{
    int key = 0;
    QString text; // "(Лек) - Лекция"
};

// One chosen line: the subgroup (by group) or the group of a lecture (by tutor) it stands
// for is its slot's number, from 1.
struct PlacementSlot
{
    int keyJobList = 0; // 0: the slot is free
    QString auditorium; // the auditorium box's text
    int keyAud = 0;     // the key kept with the box; 0 when typed and not yet looked up
};

// What the job dialog shows and what the user has chosen in it.
class PlacementChoice
{
public:
    PlacementMode mode = PlacementMode::Group;
    QDate date;
    int lesson = 0;
    int partner = 0;
    int keyGroup = 0;   // by group
    int keyTutor = 0;   // by tutor
    QString objectName; // the group ("П-9") or the tutor
    QString course;
    // No lesson of the group (by group) or of the tutor (by tutor) was in the cell at opening.
    bool cellWasEmpty = true;
    // The choice changes the auditoriums of the cell's lessons instead of placing lessons:
    // each line is a lesson, checked in a slot of its own that starts with its auditorium.
    bool auditoriumChange = false;

    QString tag;          // "Расписание" or "График"
    QString caption;      // window caption
    QString frameCaption; // the list's frame caption
    QString hint;         // next to the list
    QString freeLessonsText;
    QStringList headers; // list columns
    int freeLessons = 0;
    bool pairEnabled = false;
    bool pairChecked = false;
    bool okEnabled = true;
    // The tutor's usual auditorium (by tutor), the text the auditorium box starts with.
    QString initialAuditorium;

    std::vector<PlacementLine> lines;
    std::vector<PlacementLessonType> lessonTypes;
    // Every auditorium with its state at the lesson; the free ones fill the auditorium list.
    std::vector<PlacementAuditorium> auditoriums;
    // The slots of the chosen lines: slot 0 is never used, slots 1..n are.
    std::vector<PlacementSlot> picks;

    // The settings the choice was opened under.
    bool jobOverFlow = true;
    bool overFlowView = true;
    bool checkAuditoria = true;

    // Texts of a line's columns in list order.
    QStringList columns(const PlacementLine &line) const;
    const PlacementLine *line(int keyJobList) const;
    // The free auditoriums for the list; empty when there are none (see noAuditoriumsText).
    std::vector<PlacementAuditorium> freeAuditoriums() const;
    static QString noAuditoriumsText() { return QStringLiteral("Не задан список аудиторий"); }

    // Checking a line puts it into the first free slot with its auditorium; false (with the
    // limit message told) when every slot is taken and the line stays unchecked.
    bool check(int keyJobList, Prompts &prompts);
    void uncheck(int keyJobList);
    // 0 when the line is not checked.
    int slotOf(int keyJobList) const;
    int usedSlots() const;
    // The slots holding a line, in slot order; and the slots whose auditorium box counts: each
    // of them by group, the first by tutor (one auditorium serves the lecture).
    std::vector<int> checkedSlots() const;
    std::vector<int> auditoriumSlots() const;
    // A pick from the auditorium list, or a text typed into the slot's box.
    void chooseAuditorium(int slot, const PlacementAuditorium &auditorium);
    void typeAuditorium(int slot, const QString &text);
    // A click on a line: with JobOverFlow on, a greyed line disables OK and the line's pair
    // state decides the paired-lesson box.
    void click(int keyJobList);
    // A click on the header of column 0, 1 or 2 sorts by it, each click reversing the order.
    void sortByColumn(int column);

private:
    int m_sortColumn = -1;
    bool m_sortDescending = false;
};

// The user's answers from the dialog besides the checked lines.
struct PlacementRequest
{
    int keyTypeLesson = 0;
    bool paired = false;
};

enum class PlacementOutcome {
    Written,
    Refused, // a check refused; the dialog stays open
    Dropped, // the cell changed meanwhile: the input is dropped and the dialog closes
    Failed   // a document error, told through the shared handler
};

// A cell after the write, to be shown with its new text.
struct PlacedCell
{
    int lesson = 0;
    QString text;
    QColor color; // the discipline colour of its first lesson; invalid when none
};

struct PlacementResult
{
    PlacementOutcome outcome = PlacementOutcome::Refused;
    std::vector<PlacedCell> cells;
};

// The timetable's lesson placement on the current document.
class LessonPlacement
{
public:
    LessonPlacement(DocumentSession &session, const SettingsRecord &settings,
                    const SettingsStore &store, Prompts &prompts);

    // The refusals in their order, then the choice to show; nothing when refused (the user
    // was told) or when the document could not be read. The faculty may be empty.
    std::optional<PlacementChoice> openForGroup(const QDate &date, int lesson, const QString &group,
                                                const QString &course, const QString &faculty);
    std::optional<PlacementChoice> openForTutor(const QDate &date, int lesson,
                                                const QString &tutor);

    // "Добавить": the checks in order, the questions about the document as it is now (a pair's
    // other lesson, occupied auditoriums), then the rows written in one transaction that
    // checks them again against the clash rules, the tutors' exceptions and the day limits.
    PlacementResult add(PlacementChoice &choice, const PlacementRequest &request);

    // The text of the last refusal before opening, for the status bar ("" otherwise).
    const QString &statusText() const { return m_status; }

private:
    // The refusals every cell meets (lesson number, document, protected date), then the
    // mode's own steps, which complete the choice or refuse it; database errors are told.
    using Completion =
        std::function<std::optional<PlacementChoice>(const Database &, PlacementChoice)>;
    std::optional<PlacementChoice> open(PlacementMode mode, const QDate &date, int lesson,
                                        const Completion &complete);

    PlacementResult write(const Database &db, const PlacementChoice &choice,
                          const PlacementRequest &request, const PlacementAgreement &agreement);

    DocumentSession &m_session;
    const SettingsRecord &m_settings;
    const SettingsStore &m_store;
    Prompts &m_prompts;
    QString m_status;
};

// Every auditorium with its state at the choice's lesson; the auditoriums only the cell's own
// lessons hold count as free, since those lessons are replaced. Throws DbError.
std::vector<PlacementAuditorium> readAuditoriums(const Database &db, const PlacementChoice &c);
// The auditorium boxes of the slots are filled with auditoriums of the list; told otherwise.
bool auditoriumsGiven(PlacementChoice &c, const std::vector<int> &boxes, Prompts &prompts);
// No box holds an occupied auditorium, or the user keeps it (asked when CheckAuditoria is on).
bool occupiedAuditoriumsAccepted(const PlacementChoice &c, const std::vector<int> &boxes,
                                 Prompts &prompts);

// The tutor availability test: false when one of his exceptions covers the lesson or he
// already teaches then. Throws DbError.
bool isTutorFree(const Database &db, int keyTutor, const QDate &date, int lesson);
// The refusal text of the first exception covering the lesson; empty when none does.
QString tutorExceptionText(const Database &db, int keyTutor, const QDate &date, int lesson);

} // namespace korvesta
