#pragma once

#include "recordset.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace korvesta {

class Database;
class DocumentSession;
class Prompts;
class SettingsStore;

// A group's display text "П-9  (1)", possibly followed by " " and a faculty, taken apart.
// A single "(" stands in for the two blanks and parenthesis of a text typed by hand.
struct GroupText
{
    QString group;
    QString course;
    QString faculty; // empty when the text names none
    bool hasCourse = false;
};
GroupText splitGroupText(const QString &text);

// The questions views, editors and reports ask of the current document: one routine per
// question, each opening the document for the call (asking for one when no path is set),
// running a saved query of the document or SQL built here, and returning a recordset, a
// number or a text.
//
// A routine that fails returns its empty result (no recordset, 0, false, an empty text or a
// null date) after the shared database-error handler has told the user: a document without
// one of the saved queries, or with one that lacks a parameter or field used here, gets
// "Некорректный формат базы данных / Действие отменено".
//
// The four routines that rewrite a saved query before they read (OpenTutorHoursByGroup,
// OpenTutorLessonsByGroup, OpenLessonsInPeriod, OpenTutorBusyTotals) return nothing at once
// when no document is open, without asking for one.
class DocumentQueries
{
public:
    DocumentQueries(DocumentSession &session, SettingsStore &settings, Prompts &prompts);

    // Lesson limits. A limit (LessonsToGroup, LessonsToTutor) of 0 or less never refuses; nor
    // does a cell that already holds a lesson (the lesson is being replaced).
    bool CanAddGroupLesson(int keyGroup, const QDate &date, bool cellHoldsLesson);
    int CountGroupLessonsInDay(int keyGroup, const QDate &date);
    bool CanAddTutorLesson(int keyTutor, const QDate &date, bool cellHoldsLesson);
    int CountTutorLessonsInDay(int keyTutor, const QDate &date);
    bool IsDateReadOnly(const QDate &date);

    // Accounting: a tutor's timesheet (OTR4), the lessons he gave per group (qryOtrabotka),
    // everybody's lessons per group (PER3). One column per date or group; a group's column is
    // named by its Key, and the rows carry the keys of their discipline, group or tutor, so
    // that two groups or disciplines of one name stay apart.
    std::optional<Recordset> OpenTutorHoursByGroup(int keyTutor, const QDate &first,
                                                   const QDate &last);
    std::optional<Recordset> OpenTutorLessonsByGroup(int keyTutor, const QDate &first,
                                                     const QDate &last);
    std::optional<Recordset> OpenLessonsInPeriod(const QDate &first, const QDate &last);
    // The period as the busy-time view writes it ("dd.mm.yyyy").
    std::optional<Recordset> OpenBusyTime(int keyTutor, const QString &first, const QString &last);

    // A logical list by name ("Groups", "Tutors", "TimeLesson", ...); nothing for a name that
    // is none of them.
    std::optional<Recordset> OpenList(const QString &listName);
    // The list "Korvesta" (the load lines); without `counted`, its field CountLesson may be 0
    // on every line, which spares counting each line's lessons over the whole period.
    std::optional<Recordset> OpenLoadLines(bool counted);
    std::optional<Recordset> OpenGroupPassport(int keyGroup);
    std::optional<Recordset> OpenTutorFreeTime(int keyTutor);
    // Mode 0: by groups (qryTimeTable); 1: by tutors (qryTimeTableWork); else nothing.
    std::optional<Recordset> OpenTimeTable(const QDate &date, int mode);
    // Kind 0: a tutor, 1: a group, 2: an auditorium, by name; else nothing.
    std::optional<Recordset> OpenScheduleReport(int kind, const QString &name, const QDate &first,
                                                const QDate &last);

    // Usage of a record as "held;future" (lessons up to now; after now). A group's and an
    // auditorium's "0;0" is given as the empty text.
    QString GetDisciplineUsage(const QString &discipline, const QString &discipline1);
    QString GetGroupUsage(const QString &group, const QString &course, const QString &faculty);
    QString GetAuditoriaUsage(const QString &auditoria, const QString &corpus);
    QString GetTutorUsage(const QString &tutor);

    // A group's Key from its name, course and type names; 0 when none matches. An empty
    // faculty is "отсутствует". With an empty course the group text is taken apart first:
    // "П-9  (1)" or "П-9  (1) ФИТ" give the group, the course and the faculty, which are
    // written back into the arguments.
    int GetGroupKey(QString &group, QString &course, QString &faculty, const QString &tuition,
                    const QString &finance);
    // A Key from the text a grid shows: kind "Group" ("П-9  (1)"), "Auditoria"
    // ("101 (Главный)"), "Discipline" or "Tutor" (the name). 0 when none.
    int GetKeyByText(const QString &text, const QString &kind);
    // The Key of a type name: kind "Faculty", "Tuition", "Finance" or "DiscType". 0 when none.
    int GetTypeKey(const QString &name, const QString &kind);

    std::optional<Recordset> OpenJobsOfTutor(int keyTutor);
    std::optional<Recordset> OpenJobsOfGroup(int keyGroup);
    std::optional<Recordset> OpenTutorLessonsOnDay(int keyTutor, int lesson, const QDate &date);
    std::optional<Recordset> OpenGroupLessonsOnDay(int keyGroup, int lesson, const QDate &date);
    std::optional<Recordset> OpenJobKeys(int keyJobList);

    // Tells the user of the exams set for the date, if any.
    void ShowExamsOnDate(const QDate &date);
    // The group's exam date nearest from today on (else its latest); a null date when none.
    QDate GetGroupExamDate(const QString &group, const QString &course, const QString &faculty);
    // A tutor's lesson totals with his exceptions (qryViewTutorOutTotals).
    std::optional<Recordset> OpenTutorBusyTotals(const QString &tutor);
    QString GetNote(const QDate &date);
    // Kind 1 groups, 2 disciplines, 3 auditoriums, 4 tutors, with FreeItem for the lesson
    // (0 is taken as lesson 1); nothing for another kind. A null date names no date, so that
    // nothing is busy (the auditorium change asks by the lesson alone).
    std::optional<Recordset> OpenFreeBusy(int kind, int lesson, const QDate &date);
    // Weeks of the study period less its rest weeks; 0 without a study period.
    int GetWorkWeeks();
    // A tutor's lessons in the period per kind of lesson, discipline and group (OTR51).
    std::optional<Recordset> OpenLoadBreakdown(int keyTutor, const QDate &first, const QDate &last);

private:
    using Parameters = std::vector<std::pair<QString, QVariant>>;

    // Runs work on the opened document; on failure the handler is told and `empty` returned.
    template<typename T>
    T run(T empty, const std::function<T(const Database &)> &work);
    // A rewriting routine: nothing at all when no document is open.
    std::optional<Recordset> rewriteAndOpen(const std::vector<std::pair<QString, QString>> &texts,
                                            const QString &reader);
    std::optional<Recordset> openSaved(const QString &name, const Parameters &parameters);
    // The first row's field of a saved query, or nothing when the query returns no row.
    std::optional<QVariant> firstValue(const QString &name, const Parameters &parameters,
                                       const QString &field);
    QString usage(const QString &held, const QString &future, const Parameters &parameters,
                  bool emptyWhenUnused);

    DocumentSession &m_session;
    SettingsStore &m_settings;
    Prompts &m_prompts;
};

} // namespace korvesta
