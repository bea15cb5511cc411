#include "dlgimport.h"

#include "mainwindow.h"
#include "viewdispatcher.h"

#include "data/prompts.h"
#include "editing/documentchange.h"
#include "import/tableimport.h"
#include "settings/settingsstore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace korvesta {

namespace {

constexpr int kPreviewRows = 20;
const ImportKind kKinds[] = {ImportKind::Load, ImportKind::Groups, ImportKind::Tutors,
                             ImportKind::Disciplines, ImportKind::Auditoriums};

void showReport(frmMain &window, const ImportReport &report)
{
    QDialog dialog(&window);
    dialog.setObjectName(QStringLiteral("dlgImportReport"));
    dialog.setWindowTitle(QStringLiteral("Отчёт об импорте"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *text = new QPlainTextEdit(report.text(), &dialog);
    text->setObjectName(QStringLiteral("txtReport"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(text);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QPushButton *save =
        buttons->addButton(QStringLiteral("Сохранить отчёт..."), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("cmdSaveReport"));
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(save, &QPushButton::clicked, &dialog, [&] {
        const std::optional<QString> path = window.prompts().chooseFileToSave(
            {QStringLiteral("Сохранить отчёт"), QString(), QStringLiteral("Отчёт об импорте.txt"),
             QStringLiteral("Текст (*.txt)")});
        if (!path)
            return;
        QFile file(*path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(report.text().toUtf8()) < 0)
            window.prompts().message(QStringLiteral("Не удалось записать файл «%1»").arg(*path),
                                     Prompts::Icon::Warning);
    });
    dialog.resize(760, 420);
    dialog.exec();
}

} // namespace

void importFromFile(frmMain &window)
{
    Prompts &prompts = window.prompts();
    const std::optional<QString> path = prompts.chooseFileToOpen(
        {QStringLiteral("Импорт"), QString(), QString(),
         QStringLiteral("Таблицы (*.xlsx *.csv *.txt *.xls);;Все файлы (*)")});
    if (!path)
        return;
    SheetTable table = readSheetFile(*path);
    if (!table.ok()) {
        prompts.message(table.error, Prompts::Icon::Warning);
        return;
    }
    dlgImport dialog(window, *path, std::move(table));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ColumnMapping mapping = dialog.mapping();
    rememberMapping(window.settings(), mapping, sheetHeaders(dialog.table()));
    ImportOptions options;
    options.createMissing = dialog.createMissing();
    const std::optional<ImportReport> report = runDocumentChange<std::optional<ImportReport>>(
        window.session(), prompts, std::nullopt, [&](const Database &db) {
            return importTable(db, window.settingsRecord(), prompts, dialog.table(), mapping,
                               options);
        });
    if (!report)
        return;
    if (report->written)
        window.dispatcher().refresh();
    showReport(window, *report);
}

dlgImport::dlgImport(frmMain &window, const QString &path, SheetTable table)
    : QDialog(&window)
    , m_window(window)
    , m_path(path)
    , m_table(std::move(table))
{
    setObjectName(QStringLiteral("dlgImport"));
    setWindowTitle(QStringLiteral("Импорт: ") + QFileInfo(path).fileName());
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("cboKind"));
    for (ImportKind kind : kKinds)
        m_kind->addItem(importKindCaption(kind), int(kind));
    form->addRow(QStringLiteral("Что импортировать:"), m_kind);
    m_sheet = new QComboBox(this);
    m_sheet->setObjectName(QStringLiteral("cboSheet"));
    m_sheet->addItems(m_table.sheetNames);
    m_sheet->setEnabled(m_table.sheetNames.size() > 1);
    form->addRow(QStringLiteral("Лист:"), m_sheet);
    m_source = new QLabel(this);
    m_source->setObjectName(QStringLiteral("lblSource"));
    form->addRow(QStringLiteral("Прочитано:"), m_source);
    m_createMissing = new QCheckBox(
        QStringLiteral("Добавить в списки недостающих преподавателей, дисциплины и группы"), this);
    m_createMissing->setObjectName(QStringLiteral("chkCreateMissing"));
    m_createMissing->setChecked(true);
    form->addRow(QString(), m_createMissing);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("Первые строки таблицы. В верхней строке - поле, "
                                                "которое заполняет столбец; его можно изменить."),
                                 this));
    m_preview = new QTableWidget(this);
    m_preview->setObjectName(QStringLiteral("grdPreview"));
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(m_preview, 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton *run = buttons->addButton(QStringLiteral("Импорт"), QDialogButtonBox::AcceptRole);
    run->setObjectName(QStringLiteral("cmdImport"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(run, &QPushButton::clicked, this, [this] {
        const QString problem = mappingProblem(mapping());
        if (!problem.isEmpty()) {
            m_window.prompts().message(problem, Prompts::Icon::Warning);
            return;
        }
        accept();
    });
    connect(m_kind, &QComboBox::currentIndexChanged, this, &dlgImport::kindChosen);
    connect(m_sheet, &QComboBox::currentIndexChanged, this, &dlgImport::sheetChosen);
    fillPreview();
    resize(1000, 480);
}

ImportKind dlgImport::kind() const
{
    return ImportKind(m_kind->currentData().toInt());
}

bool dlgImport::createMissing() const
{
    return kind() == ImportKind::Load && m_createMissing->isChecked();
}

ColumnMapping dlgImport::mapping() const
{
    ColumnMapping mapping;
    mapping.kind = kind();
    mapping.columns.assign(importFields(mapping.kind).size(), -1);
    for (size_t c = 0; c < m_fields.size(); ++c) {
        const int field = m_fields[c]->currentData().toInt();
        if (field >= 0 && mapping.columns[size_t(field)] < 0)
            mapping.columns[size_t(field)] = int(c);
    }
    return mapping;
}

void dlgImport::kindChosen()
{
    fillPreview();
}

void dlgImport::sheetChosen()
{
    SheetTable table = readSheetFile(m_path, m_sheet->currentText());
    if (!table.ok()) {
        m_window.prompts().message(table.error, Prompts::Icon::Warning);
        return;
    }
    m_table = std::move(table);
    fillPreview();
}

void dlgImport::fillPreview()
{
    m_source->setText(m_table.source + QStringLiteral(", строк данных: %1")
                                           .arg(m_table.rows.empty() ? 0 : m_table.rows.size() - 1));
    m_createMissing->setEnabled(kind() == ImportKind::Load);
    const QStringList headers = sheetHeaders(m_table);
    const ColumnMapping matched = matchColumns(kind(), headers, &m_window.settings());
    int columns = int(headers.size());
    const size_t shown = std::min<size_t>(m_table.rows.size(), kPreviewRows + 1);
    for (size_t r = 0; r < shown; ++r)
        columns = std::max(columns, int(m_table.rows[r].cells.size()));
    m_preview->clear();
    m_preview->setColumnCount(columns);
    m_preview->setRowCount(int(std::max<size_t>(shown, 1)));
    m_fields.clear();
    const std::vector<ImportField> &fields = importFields(kind());
    for (int c = 0; c < columns; ++c) {
        auto *field = new QComboBox(m_preview);
        field->setObjectName(QStringLiteral("cboField%1").arg(c));
        field->addItem(QStringLiteral("(не импортировать)"), -1);
        for (size_t f = 0; f < fields.size(); ++f)
            field->addItem(fields[f].caption, int(f));
        for (size_t f = 0; f < matched.columns.size(); ++f) {
            if (matched.columns[f] == c)
                field->setCurrentIndex(int(f) + 1);
        }
        m_preview->setCellWidget(0, c, field);
        m_fields.push_back(field);
    }
    QStringList labels;
    for (int c = 0; c < columns; ++c)
        labels << headers.value(c);
    m_preview->setHorizontalHeaderLabels(labels);
    QStringList rowLabels{QStringLiteral("Поле")};
    for (size_t r = 1; r < shown; ++r) {
        const SheetRow &row = m_table.rows[r];
        rowLabels << QString::number(row.number);
        for (int c = 0; c < row.cells.size(); ++c)
            m_preview->setItem(int(r), c, new QTableWidgetItem(row.cells[c]));
    }
    m_preview->setVerticalHeaderLabels(rowLabels);
    m_preview->resizeColumnsToContents();
}

} // namespace korvesta
