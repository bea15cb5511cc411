#pragma once

#include "exceptioncount.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace korvesta {

class Database;
class DocumentQueries;
struct ViewContext;

// The tutor passport (PASSPORT_TUTOR, code 32): the tutor's compiled load in a period by
// kind of lesson, discipline and group, and what his absences take out of the period.
struct TutorPassport
{
    struct LoadLine
    {
        QString typeLesson;
        QString discipline;
        QString group;
        QString faculty;
        int lessons = 0;
    };
    struct ExceptionLine
    {
        int kind = 0; // tblTutorTypeOut.Key
        QString name;
        int days = 0;
        int lessons = 0;
    };

    std::vector<LoadLine> load;
    std::vector<ExceptionLine> exceptions; // one per kind of absence, counted or not

    int loadLessons() const;
    int exceptionLessons() const;

    // Reads the passport of the tutor for the period (the dates in either order). Throws
    // DbError when the document cannot be read as ours.
    static TutorPassport read(const Database &db, int keyTutor, const QDate &first,
                              const QDate &last);
};

// Row captions and headings of the passport grid.
namespace passport {
inline const QString Title = QStringLiteral("РАСШИФРОВКА НАГРУЗКИ");
inline const QString LoadBlock = QStringLiteral("Занятость");
inline const QString ExceptionBlock = QStringLiteral("Исключения");
inline const QString Days = QStringLiteral("Дней");
inline const QString Hours = QStringLiteral("Часов");
inline const QString LoadTotal = QStringLiteral("Общая сумма составленной нагрузки");
inline const QString ExceptionTotal = QStringLiteral("Исключения из нагрузки");
inline const QString GrandTotal = QStringLiteral("Всего с исключениями");
// The columns of the lines.
enum Column { BlockCol = 1, TypeCol, DisciplineCol, GroupCol, FacultyCol, CountCol };
} // namespace passport

// Fills the passport frame for the tutor and the period DTPickerFrom..DTPickerTo: a heading
// row and the load lines, their total; a heading row and two lines per kind of absence
// (days, then lessons), their total in lessons; and the total of the two totals in lessons.
void fillTutorPassport(ViewContext &ctx, int keyTutor);

} // namespace korvesta
