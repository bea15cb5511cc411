#pragma once

#include "exportformat.h"
#include "sheetplan.h"

#include <QString>

namespace korvesta {

class GridModel;
struct SettingsRecord;

// One export of a view's grid to an .xlsx file.
struct ExportRequest
{
    const GridModel *grid = nullptr;
    int viewCode = -1;
    ExportSubject subject;
    const SettingsRecord *settings = nullptr; // ExcelPrintPreview, the header and footer texts
    QString userName;                         // signs the footer when FooterReport is empty
    bool colours = true;                      // the cells keep their colours (ExportColor)
};

struct ExportResult
{
    enum Outcome { Written, NotExported, Cancelled, Failed };
    Outcome outcome = Failed;
    QString message; // why it failed, in Russian
};

// Writes the sheet of the view to `path`: the grid as the view's format lays it out, and,
// with ExcelPrintPreview on, the printed page. The file is written beside its destination
// under a temporary name and takes the destination's name only when complete, so a failure
// leaves whatever was there before and no part of a file. A view without a format writes
// nothing (NotExported).
ExportResult exportView(const ExportRequest &request, const QString &path,
                        const ExportProgress &progress = {});

} // namespace korvesta
