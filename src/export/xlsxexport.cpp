#include "xlsxexport.h"

#include "grid/gridmodel.h"
#include "pagebreaks.h"
#include "settings/settingsrecord.h"
#include "text/printable.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvesta {

namespace {

// The "Comma" style's number format, and the date of a day of hours worked.
constexpr const char *CommaFormat = "_-* #,##0_?_._-;-* #,##0_?_._-;_-* \"0\"??_?_._-;_-@_-";
constexpr const char *DayDateFormat = "[$-419]d mmm;@";
constexpr lxw_color_t BorderColour = 0xA0A0A0;
// The spreadsheet takes no margin of 0 for a header or footer; this is as good as none.
constexpr double NoMargin = 0.001;

lxw_color_t colour(QRgb rgb)
{
    return lxw_color_t(rgb & 0xffffffu);
}

// The library prints its errors to the standard error stream in English; the user is told
// in Russian instead, so its own words are kept off the console while the file is written.
class QuietLibrary
{
public:
    QuietLibrary()
        : m_saved(dup(STDERR_FILENO))
    {
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (m_saved >= 0 && null >= 0)
            dup2(null, STDERR_FILENO);
        if (null >= 0)
            close(null);
    }
    ~QuietLibrary()
    {
        if (m_saved >= 0) {
            dup2(m_saved, STDERR_FILENO);
            close(m_saved);
        }
    }
    QuietLibrary(const QuietLibrary &) = delete;
    QuietLibrary &operator=(const QuietLibrary &) = delete;

private:
    int m_saved;
};

struct WorkbookCloser
{
    void operator()(lxw_workbook *workbook) const
    {
        // Only when writing was given up: its file is removed by the caller.
        if (workbook)
            workbook_close(workbook);
    }
};

lxw_format *makeFormat(lxw_workbook *workbook, const SheetStyle &style, double fontSize)
{
    lxw_format *format = workbook_add_format(workbook);
    format_set_font_size(format, fontSize);
    if (style.bold)
        format_set_bold(format);
    if (style.wrap)
        format_set_text_wrap(format);
    if (style.align & Qt::AlignLeft)
        format_set_align(format, LXW_ALIGN_LEFT);
    else if (style.align & Qt::AlignRight)
        format_set_align(format, LXW_ALIGN_RIGHT);
    else if (style.align & Qt::AlignHCenter)
        format_set_align(format, LXW_ALIGN_CENTER);
    const Qt::Alignment valign = Qt::Alignment(int(style.valign) << 5);
    if (valign & Qt::AlignTop)
        format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
    else if (valign & Qt::AlignBottom)
        format_set_align(format, LXW_ALIGN_VERTICAL_BOTTOM);
    else
        format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
    if (style.back) {
        format_set_pattern(format, LXW_PATTERN_SOLID);
        format_set_bg_color(format, colour(style.back));
    }
    if (style.fore)
        format_set_font_color(format, colour(style.fore));
    format_set_border(format, LXW_BORDER_THIN);
    format_set_border_color(format, BorderColour);
    if (style.number == SheetStyle::Comma)
        format_set_num_format(format, CommaFormat);
    else if (style.number == SheetStyle::DayDate)
        format_set_num_format(format, DayDateFormat);
    return format;
}

void setUpPage(lxw_worksheet *sheet, const ExportFormat &format, const SheetPlan &plan,
               const PageTexts &texts)
{
    if (format.titleRows > 0 && plan.rows > 0)
        worksheet_repeat_rows(sheet, 0, lxw_row_t(std::min(format.titleRows, plan.rows) - 1));
    if (format.titleCols > 0 && plan.cols > 0)
        worksheet_repeat_columns(sheet, 0,
                                 lxw_col_t(std::min(format.titleCols, plan.cols) - 1));
    if (format.landscape)
        worksheet_set_landscape(sheet);
    else
        worksheet_set_portrait(sheet);
    if (format.centreAcross)
        worksheet_center_horizontally(sheet);
    if (format.centreDown)
        worksheet_center_vertically(sheet);
    if (format.fitToPage)
        worksheet_fit_to_pages(sheet, 1, 1);
    else if (format.widthsToPage)
        worksheet_fit_to_pages(sheet, 1, 0); // as many pages down as it takes
    if (format.overThenDown)
        worksheet_print_across(sheet);
    if (format.paperA4)
        worksheet_set_paper(sheet, 9);
    // Pages begin where a reader is not lost (the lists end with 0; the library copies
    // them).
    const PageBreaks breaks = planPageBreaks(plan, format);
    std::vector<lxw_row_t> rowBreaks(breaks.rows.begin(), breaks.rows.end());
    std::vector<lxw_col_t> colBreaks(breaks.cols.begin(), breaks.cols.end());
    if (!rowBreaks.empty() && rowBreaks.size() < 1024) {
        rowBreaks.push_back(0);
        worksheet_set_h_pagebreaks(sheet, rowBreaks.data());
    }
    if (!colBreaks.empty() && colBreaks.size() < 1024) {
        colBreaks.push_back(0);
        worksheet_set_v_pagebreaks(sheet, colBreaks.data());
    }
    if (breaks.scale < 100 && !format.fitToPage && !format.widthsToPage)
        worksheet_set_print_scale(sheet, uint16_t(breaks.scale));
    const PageMargins &m = format.margins;
    worksheet_set_margins(sheet, m.left, m.right, m.top, m.bottom);
    const QByteArray header = texts.header.toUtf8();
    const QByteArray footer = texts.footer.toUtf8();
    lxw_header_footer_options headerOptions{};
    headerOptions.margin = m.header > 0 ? m.header : NoMargin;
    lxw_header_footer_options footerOptions{};
    footerOptions.margin = m.footer > 0 ? m.footer : NoMargin;
    worksheet_set_header_opt(sheet, header.constData(), &headerOptions);
    worksheet_set_footer_opt(sheet, footer.constData(), &footerOptions);
}

// Writes the plan into the workbook; false when the progress asked to stop.
bool writeSheet(lxw_workbook *workbook, lxw_worksheet *sheet, const SheetPlan &plan,
                const ExportProgress &progress)
{
    std::vector<lxw_format *> formats;
    formats.reserve(plan.styles.size());
    for (const SheetStyle &style : plan.styles)
        formats.push_back(makeFormat(workbook, style, plan.fontSize));

    for (int col = 0; col < plan.cols; ++col) {
        lxw_row_col_options options{};
        options.hidden = plan.colHidden[size_t(col)] ? 1 : 0;
        const double width = plan.colWidths[size_t(col)];
        worksheet_set_column_opt(sheet, lxw_col_t(col), lxw_col_t(col),
                                 width < 0 ? LXW_DEF_COL_WIDTH : width, nullptr, &options);
    }
    for (const SheetMerge &m : plan.merges) {
        worksheet_merge_range(sheet, lxw_row_t(m.top), lxw_col_t(m.left), lxw_row_t(m.bottom),
                              lxw_col_t(m.right), "",
                              formats[size_t(plan.at(m.top, m.left).style)]);
    }
    QByteArray utf8;
    for (int row = 0; row < plan.rows; ++row) {
        const double height = plan.rowHeights[size_t(row)];
        const int level = plan.rowLevels[size_t(row)];
        if (height >= 0 || level > 0) {
            lxw_row_col_options options{};
            options.level = uint8_t(level);
            worksheet_set_row_opt(sheet, lxw_row_t(row), height < 0 ? LXW_DEF_ROW_HEIGHT : height,
                                  nullptr, &options);
        }
        for (int col = 0; col < plan.cols; ++col) {
            const SheetCell &cell = plan.at(row, col);
            lxw_format *format = formats[size_t(cell.style)];
            const auto r = lxw_row_t(row);
            const auto c = lxw_col_t(col);
            switch (cell.kind) {
            case SheetCell::Empty:
                worksheet_write_blank(sheet, r, c, format);
                break;
            case SheetCell::Text:
                utf8 = printableText(cell.text).toUtf8();
                worksheet_write_string(sheet, r, c, utf8.constData(), format);
                break;
            case SheetCell::Number:
                worksheet_write_number(sheet, r, c, cell.value, format);
                break;
            case SheetCell::Formula:
                utf8 = cell.text.toUtf8();
                worksheet_write_formula_num(sheet, r, c, utf8.constData(), format, cell.value);
                break;
            }
        }
        if (progress && !progress(plan.rows + row + 1, 2 * plan.rows))
            return false;
    }
    return true;
}

QString folderProblem(const QFileInfo &target)
{
    if (target.isDir())
        return QStringLiteral("«%1» - это папка. Укажите имя файла таблицы")
            .arg(QDir::toNativeSeparators(target.filePath()));
    const QFileInfo folder(target.absolutePath());
    if (!folder.exists())
        return QStringLiteral("Папка «%1» не найдена")
            .arg(QDir::toNativeSeparators(folder.filePath()));
    if (!folder.isDir())
        return QStringLiteral("«%1» - это файл, а не папка")
            .arg(QDir::toNativeSeparators(folder.filePath()));
    return QString();
}

QString writeProblem(const QFileInfo &target, int error, const QString &detail)
{
    const QString folder = QDir::toNativeSeparators(target.absolutePath());
    const QString file = QDir::toNativeSeparators(target.absoluteFilePath());
    QStorageInfo storage(target.absolutePath());
    if (error == ENOSPC || error == EDQUOT
        || (storage.isValid() && storage.bytesAvailable() < 64 * 1024))
        return QStringLiteral("На диске не хватает места для файла «%1». Файл таблицы не "
                              "записан")
            .arg(file);
    if (error == EACCES || error == EPERM || error == EROFS)
        return QStringLiteral("Нет доступа на запись в папку «%1». Файл таблицы не записан")
            .arg(folder);
    return QStringLiteral("Не удалось записать файл «%1»: %2").arg(file, detail);
}

} // namespace

ExportResult exportView(const ExportRequest &request, const QString &path,
                        const ExportProgress &progress)
{
    const ExportFormat *format = exportFormat(request.viewCode);
    if (!format || !request.grid)
        return {ExportResult::NotExported, QString()};

    const QFileInfo target(path);
    if (const QString problem = folderProblem(target); !problem.isEmpty())
        return {ExportResult::Failed, problem};

    // The file is made beside its destination, so that the last step is a rename within one
    // disk, which either happens whole or not at all.
    QTemporaryFile scratch(target.absolutePath() + QStringLiteral("/.korvesta-XXXXXX.xlsx"));
    if (!scratch.open()) {
        errno = 0;
        const int error = QFileInfo(target.absolutePath()).isWritable() ? EIO : EACCES;
        return {ExportResult::Failed, writeProblem(target, error, scratch.errorString())};
    }
    const QString scratchPath = scratch.fileName();
    scratch.close();

    SheetPlan plan = planSheet(*request.grid, *format, progress);
    if (plan.rows == 0 && request.grid->rows() > 0)
        return {ExportResult::Cancelled, QString()};
    if (!request.colours) {
        for (SheetStyle &style : plan.styles)
            style.back = style.fore = 0;
    }

    const QByteArray scratchName = QFile::encodeName(scratchPath);
    lxw_workbook_options options{};
    std::unique_ptr<lxw_workbook, WorkbookCloser> workbook(
        workbook_new_opt(scratchName.constData(), &options));
    if (!workbook)
        return {ExportResult::Failed,
                writeProblem(target, errno, QStringLiteral("не хватает памяти"))};
    const QByteArray sheetName = sheetNameFrom(format->sheetName).toUtf8();
    lxw_worksheet *sheet = workbook_add_worksheet(workbook.get(), sheetName.constData());
    if (!sheet)
        return {ExportResult::Failed,
                writeProblem(target, 0, QStringLiteral("неверное имя листа"))};

    if (!writeSheet(workbook.get(), sheet, plan, progress))
        return {ExportResult::Cancelled, QString()};
    if (request.settings && request.settings->ExcelPrintPreview) {
        setUpPage(sheet, *format, plan,
                  pageTexts(*format, request.subject, *request.settings, request.userName));
    }
    worksheet_activate(sheet);

    errno = 0;
    lxw_error closed = LXW_NO_ERROR;
    int error = 0;
    {
        const QuietLibrary quiet;
        closed = workbook_close(workbook.release());
        error = errno;
    }
    if (closed != LXW_NO_ERROR) {
        return {ExportResult::Failed,
                writeProblem(target, error, QString::fromUtf8(lxw_strerror(closed)))};
    }
    const QByteArray finalName = QFile::encodeName(target.absoluteFilePath());
    if (std::rename(scratchName.constData(), finalName.constData()) != 0) {
        error = errno;
        return {ExportResult::Failed,
                writeProblem(target, error, QString::fromLocal8Bit(std::strerror(error)))};
    }
    scratch.setAutoRemove(false);
    // The temporary file was made for its owner alone; the table gets what a new file of
    // the user's gets.
    const mode_t mask = umask(0);
    umask(mask);
    chmod(finalName.constData(), 0666 & ~mask);
    return {ExportResult::Written, QString()};
}

} // namespace korvesta
