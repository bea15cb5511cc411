#pragma once

#include "placement.h"

#include <QDate>
#include <QString>

#include <optional>

namespace korvesta {

class DocumentSession;
class Prompts;
struct SettingsRecord;

// Changing the auditorium of lessons already placed: the lessons of a group's or a tutor's
// cell are shown in the job dialog, each with its auditorium, and only the auditoriums
// chosen there are written.
class AuditoriumChange
{
public:
    AuditoriumChange(DocumentSession &session, const SettingsRecord &settings, Prompts &prompts);

    // The cell's lessons as a choice for the job dialog; nothing when the cell has none, the
    // date is protected (told) or the document cannot be read (told).
    std::optional<PlacementChoice> openForGroup(const QDate &date, int lesson, const QString &group,
                                                const QString &course, const QString &faculty);
    std::optional<PlacementChoice> openForTutor(const QDate &date, int lesson,
                                                const QString &tutor);

    // The dialog's OK: every checked lesson takes its box's auditorium (by tutor, the first
    // box's), after the checks of placing; one undoable step.
    PlacementResult write(PlacementChoice &choice);

    static QString caption() { return QStringLiteral("Редактирование аудитории"); }

private:
    // The refusals and the cell's lessons for a choice whose mode and object are set.
    std::optional<PlacementChoice> open(PlacementChoice c, const QString &faculty);

    DocumentSession &m_session;
    const SettingsRecord &m_settings;
    Prompts &m_prompts;
};

} // namespace korvesta
