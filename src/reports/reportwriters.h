#pragma once

#include "reportcontent.h"

#include <QByteArray>
#include <QString>

namespace korvesta {

// The report as plain text: the title and lines, then for each group its heading and a table
// of columns padded with blanks, then the lines after the table.
QString reportToText(const ReportContent &content);

// The report as an HTML page.
enum class HtmlKind {
    Plain,      // one table
    Structured, // a list of the groups at the top, each group its own section
    Paged,      // the pages as printed, one after the other, with their numbers
};
QString reportToHtml(const ReportContent &content, HtmlKind kind = HtmlKind::Plain);

// The report as an RTF document (Windows-1251 text, other characters as \u escapes), in the
// page orientation of the report, with the column headings repeated on every page and page
// numbers in the footer.
QByteArray reportToRtf(const ReportContent &content);

} // namespace korvesta
