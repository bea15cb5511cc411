#pragma once

#include "reportcontent.h"

#include <QSizeF>

#include <functional>
#include <vector>

class QPagedPaintDevice;

namespace korvesta {

// What one page of a report holds, top to bottom. Positions are in points from the top left
// corner of the printable area.
struct ReportPageItem
{
    enum class Kind { Title, Line, Headings, BlockHeading, Row, Summary };
    Kind kind = Kind::Row;
    int block = -1;  // BlockHeading and Row
    int row = -1;    // Row; the heading row for Headings
    bool continued = false; // a block heading repeated at the top of a later page
    double y = 0;
    double height = 0;
};

struct ReportPage
{
    std::vector<ReportPageItem> items;
};

// The report laid out on pages of the given printable size (points): columns as shares of
// the width, rows as high as their wrapped text, the column headings at the top of every
// page, a group's heading kept with its first row and repeated on the pages it runs on.
struct ReportPagination
{
    std::vector<ReportPage> pages;
    std::vector<double> columnX;
    std::vector<double> columnWidth;
    QSizeF area;
    double bodyTop = 0;    // below the page header
    double bodyBottom = 0; // above the page footer
};
ReportPagination paginateReport(const ReportContent &content, const QSizeF &area);

// The page size, orientation and margins the report asks for (A4 unless the device has a
// size of its own and keepPageSize is set).
void applyReportPageLayout(const ReportContent &content, QPagedPaintDevice &device,
                           bool keepPageSize = false);
// Told before each page is painted (its number and the number of pages to paint); false
// stops the painting.
using PageProgress = std::function<bool(int page, int count)>;

// Paints the report onto the device from its current page on: pages first..last (1-based,
// 0 for all). Returns the number of pages the report has; 0 when the device cannot be
// painted on or the painting was stopped.
int paintReport(const ReportContent &content, QPagedPaintDevice &device, int first = 0,
                int last = 0, const PageProgress &progress = {});

// The printable area, in points, of an A4 page laid out for the report.
QSizeF reportArea(const ReportContent &content);

// The width, in points, a table cell needs to show the longest word of the text whole, its
// padding included.
double reportWordWidth(const QString &text, double points, bool bold = false);

} // namespace korvesta
