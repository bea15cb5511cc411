#pragma once

#include <QDate>
#include <QString>

namespace korvesta {

class DocumentSession;
class Prompts;

// A load line of a group as its passport shows it: the group chosen in the object list, and
// the discipline (short name) and tutor of the row.
struct ExamLine
{
    int keyGroup = 0;
    QString discipline;
    // Two tutors may teach one discipline to the group, each with a line of his own; empty
    // for the first line of the discipline.
    QString tutor;
};

// Sets the exam date of a group's load line, a null date clearing it, in one transaction.
// Refused without a group ("Следует выбрать группу") and for a line the group does not have
// ("Добавление даты экзамена отклонено:" / "Выбраны некорректные данные"); a document error
// is told through the session's shared handler. True when the date was written.
bool saveExamDate(DocumentSession &session, Prompts &prompts, const ExamLine &line,
                  const QDate &date);

} // namespace korvesta
