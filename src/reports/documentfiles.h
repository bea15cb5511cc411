#pragma once

#include "reportcontent.h"

#include <QString>

#include <optional>

namespace korvesta {

// The kinds of report document, by the numbers the save dialog's filter gives them.
enum class DocumentType {
    Html = 1,           // "Страница HTML (*.htm)"
    HtmlPaged = 2,      // "Страница HTML с разделением", chosen as *.xhtm, written as *.htm
    HtmlStructured = 3, // "Страница HTML со структурой (*.html)"
    Pdf = 4,
    Text = 5,
    Rtf = 7,
};

// The save dialog's filter: the six kinds in their order.
QString documentFileFilter();

// The same for the file dialog: "Текстовый документ (*.txt);;...", the paged HTML offered
// as *.xhtm, so that a name of that kind can be told from a plain page.
QString documentDialogFilter();

// The kind of document a file name asks for, by its last four characters (".txt", ".rtf",
// ".htm", "html", "xhtm", ".pdf"; letter case aside); nothing for any other name.
std::optional<DocumentType> documentTypeOf(const QString &fileName);
// The file actually written: a name ending in "xhtm" ends in "htm" instead.
QString documentFileName(const QString &fileName);

// Writes the report to the file as that kind of document. The text of the problem, in
// Russian and naming the file, when it could not be written; empty when all is well.
QString writeReportDocument(const ReportContent &content, const QString &fileName,
                            DocumentType type);

} // namespace korvesta
