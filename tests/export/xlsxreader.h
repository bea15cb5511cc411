#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace korvesta {

// What a test needs to see of a written .xlsx file with one sheet, read back through libzip
// and the XML of the parts: cells with values and formulas, outline levels, merges, the
// print titles and the page setup.
struct XlsxCell
{
    QString value;   // the text, or the number or formula result as written
    QString formula; // without "="
    QString numberFormat;
};

struct XlsxSheet
{
    bool opened = false;
    QString error;
    QStringList sheetNames;
    QString printTitles;              // the defined name _xlnm.Print_Titles
    QMap<QString, XlsxCell> cells;    // by reference ("B3")
    QMap<int, int> rowLevels;         // 1-based row -> outline level, rows with one only
    QMap<int, double> rowHeights;     // 1-based row -> height in points, where set
    QStringList merges;               // "A1:B2"
    QString header;                   // oddHeader
    QString footer;                   // oddFooter
    QMap<QString, QString> pageSetup; // attributes of pageSetup
    QMap<QString, QString> printOptions;
    QMap<QString, QString> margins;   // attributes of pageMargins
    bool fitToPage = false;

    QString text(const QString &ref) const { return cells.value(ref).value; }
    QString formula(const QString &ref) const { return cells.value(ref).formula; }
    int maxLevel() const;
};

XlsxSheet readXlsx(const QString &path);

} // namespace korvesta
