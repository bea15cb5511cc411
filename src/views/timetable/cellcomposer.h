#pragma once

#include <QString>

namespace korvesta {

// The texts of one placed lesson that a timetable cell can show.
struct LessonTexts
{
    QString group;
    QString tutor;
    QString discipline;  // short name
    QString discipline1; // full name
    QString auditoria;
    QString shortType;   // kind of lesson, short ("Лек")
    QString longType;    // kind of lesson, long ("Лекция")
};

// The text of a timetable cell for a display-text mode (the sum of the weights of the parts
// shown: group 1, tutor 3, discipline 7, auditorium 11, kind of lesson 24, full discipline
// 29). Parts stand two blanks apart; the tutor or auditorium of the longer modes goes on a
// line of its own (a line feed), and the only line feeds are those: a tab or line break
// inside a part shows as a blank. A code that names no known combination gives empty text.
QString composeCellText(const LessonTexts &lesson, int code);

// The width a group column takes in the modes that show the full discipline or four parts
// (1200 or 1500 twips); 0 when the mode keeps the frame's width.
int columnWidthForMode(int code);
// Whether a second subgroup's text below the first needs a row of twice the height.
bool isTallMode(int code);

} // namespace korvesta
