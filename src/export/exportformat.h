#pragma once

#include <QDate>
#include <QDateTime>
#include "data/apppaths.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace korvesta {

struct SettingsRecord;

// Page margins in inches.
struct PageMargins
{
    double left = 0;
    double right = 0;
    double top = 0;
    double bottom = 0;
    double header = 0;
    double footer = 0;
};

// How the grid of one view goes to a spreadsheet: what the sheet leaves out or adds, and how
// its pages print. Column numbers are the grid's.
struct ExportFormat
{
    int code = -1;
    QString sheetName;
    QString title;               // the report's title in the page header
    int titleRows = 0;           // the first rows repeated on every page
    int titleCols = 0;           // the first columns repeated on every page (0: none)
    bool landscape = false;
    PageMargins margins;
    bool paperA4 = true;
    bool centreAcross = false;
    bool centreDown = false;
    bool fitToPage = false;      // one page wide and one tall
    bool overThenDown = false;   // page order
    std::vector<int> leftOut;    // grid columns the sheet does not have
    int firstNumberCol = -1;     // body cells from this column on that read as numbers go
                                 // out as numbers (-1: everything stays text)
    bool formulas = false;       // totals rows sum their blocks with live formulas
    int rowTotalsAt = -1;        // a column "Всего" summing each row to its right goes in
                                 // before this grid column (-1: none)
    int dayDateCol = -1;         // the column of dates shown "d mmm", their month and year
    int monthCol = -1;           // in the month column ("Сентябрь '26")
    bool headerRowsEven = false; // the first header row as high as the second
    bool widthsToPage = false;   // the columns, sized on the window's width, narrowed to the
                                 // page's
    QStringList cornerTexts;     // the first column's header cells, top to bottom
    bool accounting = false;     // the header names the tutor and the period
};

// The format of a view; nullptr for a view that is not exported.
const ExportFormat *exportFormat(int code);
// The codes of every exported view, in the order of the view table.
std::vector<int> exportedViewCodes();

// What the exported grid shows, for the page header's lines.
struct ExportSubject
{
    QString object;   // the tutor, group or auditorium chosen in the object list
    QDate date;       // the calendar's date
    QDate from;       // the period
    QDate to;
    int workDays = 5; // of the week timetable
    QDateTime made;   // the moment in the footer; now when invalid
};

// The header and footer strings of the printed page, in the spreadsheet's codes (&L, &C, &R
// sections; &D, &T, &P fields), each within the 255 characters a sheet keeps.
struct PageTexts
{
    QString header;
    QString footer;
};
PageTexts pageTexts(const ExportFormat &format, const ExportSubject &subject,
                    const SettingsRecord &settings, const QString &userName);


// A name a sheet may carry: at most 31 characters, none of []:*?/\, no apostrophe at either
// end, never empty.
QString sheetNameFrom(const QString &name);

// The name the save dialog proposes: the view's caption on one line, and the object shown.
QString exportFileName(int code, const QString &object);

} // namespace korvesta
