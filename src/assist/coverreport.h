#pragma once

#include "reports/reportcontent.h"

#include <QDate>
#include <QString>

#include <vector>

namespace korvesta {

class Database;
class GridModel;

// The day's cover report for the notice board: every cover remembered in the date's note,
// then every lesson still held by a tutor who is away at it.

struct CoverReportRow
{
    int lesson = 0;
    QString time;       // of the lesson, as the timetable shows it
    QString group;      // "П-9 (1)"
    QString discipline;
    QString auditorium; // "101 (Главный)"
    QString absent;
    QString covering;   // "нет замены" for a lesson nobody took
};

// "Замены на 14.09.2026 (понедельник)"
QString coverReportTitle(const QDate &date);

// The rows of the date: the covers in the order of their lessons, then the lessons left
// without cover. Throws DbError.
std::vector<CoverReportRow> coverReportRows(const Database &db, const QDate &date);

// The report in a grid: the title across the top, the column captions, one line a row
// (a line that says so on a day without covers), boxed.
void fillCoverReport(GridModel &grid, const QDate &date, const std::vector<CoverReportRow> &rows);

// The filled grid as printable pages: its title above the table, the captions on every page.
ReportContent coverReportContent(const GridModel &grid);

} // namespace korvesta
