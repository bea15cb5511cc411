#pragma once

#include "import/columnmapping.h"
#include "import/sheetfile.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;

namespace korvesta {

class frmMain;

// "Файл → Импорт...": a file is chosen, its first rows are shown with the field each column
// fills (matched by the header names, corrected here by hand), the rows are imported in one
// step and the report is shown, ready to be saved.
void importFromFile(frmMain &window);

// The preview and the column mapping. It decides nothing: the import runs in core.
class dlgImport : public QDialog
{
    Q_OBJECT

public:
    dlgImport(frmMain &window, const QString &path, SheetTable table);

    ImportKind kind() const;
    ColumnMapping mapping() const;
    bool createMissing() const;
    const SheetTable &table() const { return m_table; }

private:
    void kindChosen();
    void sheetChosen();
    void fillPreview();

    frmMain &m_window;
    QString m_path;
    SheetTable m_table;
    QComboBox *m_kind = nullptr;
    QComboBox *m_sheet = nullptr;
    QLabel *m_source = nullptr;
    QCheckBox *m_createMissing = nullptr;
    QTableWidget *m_preview = nullptr;
    std::vector<QComboBox *> m_fields; // one per column of the sheet
};

} // namespace korvesta
