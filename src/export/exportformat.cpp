#include "exportformat.h"

#include "settings/settingsrecord.h"
#include "views/viewtable.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>


namespace korvesta {

namespace {

// Left, right, top, bottom, header, footer: 2 cm, 1 cm, 1.8 cm, 1 cm, 0.5 cm, 0.
constexpr PageMargins ListMargins{0.7874, 0.3937, 0.7087, 0.3937, 0.1969, 0};
constexpr PageMargins AccountingMargins{0.7874, 0.3937, 1.02, 0.3937, 0.1969, 0};
constexpr PageMargins DayMargins{0, 0, 0.7, 0.27, 0, 0};
constexpr PageMargins WeekMargins{0, 0, 1.02, 0.27, 0, 0};

ExportFormat listFormat(int code, const char *sheet, const char *title)
{
    ExportFormat f;
    f.code = code;
    f.sheetName = QString::fromUtf8(sheet);
    f.title = QString::fromUtf8(title);
    f.titleRows = 1;
    f.margins = ListMargins;
    f.centreAcross = true;
    f.widthsToPage = true;
    return f;
}

ExportFormat accountingFormat(int code, const char *sheet, const char *title, int titleCols)
{
    ExportFormat f = listFormat(code, sheet, title);
    f.titleRows = 2;
    f.titleCols = titleCols;
    f.margins = AccountingMargins;
    f.leftOut = {0}; // the picture column
    f.formulas = true;
    f.headerRowsEven = true;
    f.accounting = true;
    f.widthsToPage = false;
    return f;
}

ExportFormat timetableFormat(int code, const char *sheet, const char *title, int titleRows,
                             int titleCols, const PageMargins &margins)
{
    ExportFormat f;
    f.code = code;
    f.sheetName = QString::fromUtf8(sheet);
    f.title = QString::fromUtf8(title);
    f.titleRows = titleRows;
    f.titleCols = titleCols;
    f.landscape = true;
    f.margins = margins;
    return f;
}

std::vector<ExportFormat> makeFormats()
{
    std::vector<ExportFormat> all;

    ExportFormat groups = listFormat(0, "Список групп", "СПИСОК ГРУПП");
    groups.leftOut = {3}; // the colour column
    all.push_back(groups);

    ExportFormat passport = listFormat(2, "Паспорт группы", "ПАСПОРТ ГРУППЫ  ");
    passport.firstNumberCol = 2;
    all.push_back(passport);

    all.push_back(listFormat(10, "Дисциплины", "СПИСОК ДИСЦИПЛИН"));

    ExportFormat rooms = listFormat(20, "Список аудиторий", "СПИСОК АУДИТОРИЙ");
    rooms.leftOut = {3};
    all.push_back(rooms);

    ExportFormat load = listFormat(30, "Преподаватели", "СПИСОК ПРЕПОДАВАТЕЛЕЙ");
    load.leftOut = {5};
    load.firstNumberCol = 5;
    all.push_back(load);

    ExportFormat timesheet = accountingFormat(33, "Табель", "ТАБЕЛЬ", 5);
    timesheet.landscape = true;
    timesheet.centreAcross = false;
    timesheet.centreDown = true;
    timesheet.firstNumberCol = 4;
    all.push_back(timesheet);

    ExportFormat worked = accountingFormat(34, "ОТР", "ОТРАБОТКА", 2);
    worked.firstNumberCol = 3;
    worked.rowTotalsAt = 3;
    worked.dayDateCol = 2;
    worked.monthCol = 1;
    all.push_back(worked);

    ExportFormat full = accountingFormat(35, "ОТР(все)", "ОТРАБОТКА (полная)", 5);
    full.landscape = true;
    full.centreAcross = false;
    full.firstNumberCol = 3;
    all.push_back(full);

    ExportFormat day = timetableFormat(40, "Расписание", "Р А С П И С А Н И Е   З А Н Я Т И Й",
                                       2, 1, DayMargins);
    day.fitToPage = true;
    day.centreAcross = day.centreDown = true;
    all.push_back(day);

    ExportFormat week = timetableFormat(41, "Расписание (неделя)",
                                        "РАСПИСАНИЕ ЗАНЯТИЙ НА НЕДЕЛЮ", 2, 2, WeekMargins);
    all.push_back(week);

    ExportFormat schedule = timetableFormat(42, "График", "ГРАФИК РАБОТЫ", 3, 1, DayMargins);
    schedule.overThenDown = true;
    schedule.cornerTexts = {QStringLiteral("Преподаватели"), QStringLiteral("Уроки")};
    all.push_back(schedule);
    return all;
}

const std::vector<ExportFormat> &formats()
{
    static const std::vector<ExportFormat> all = makeFormats();
    return all;
}

QString shortDate(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yy"));
}

// A text the header shows as it is: "&" doubled, so that no field code starts in it.
QString literal(QString text)
{
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    text.remove(QLatin1Char('\r'));
    return text;
}

// The first `room` characters of a header text, never ending in half of a doubled "&".
QString cutCodes(const QString &text, int room)
{
    QString cut = text.left(room);
    int ampersands = 0;
    for (int i = int(cut.size()) - 1; i >= 0 && cut[i] == QLatin1Char('&'); --i)
        ++ampersands;
    if (ampersands % 2 == 1)
        cut.chop(1);
    return cut;
}

} // namespace

const ExportFormat *exportFormat(int code)
{
    for (const ExportFormat &f : formats()) {
        if (f.code == code)
            return &f;
    }
    return nullptr;
}

std::vector<int> exportedViewCodes()
{
    std::vector<int> codes;
    for (const ExportFormat &f : formats())
        codes.push_back(f.code);
    return codes;
}

PageTexts pageTexts(const ExportFormat &format, const ExportSubject &subject,
                    const SettingsRecord &settings, const QString &userName)
{
    QString lines;
    if (settings.UseHeadReport)
        lines += literal(settings.HeaderReport) + QStringLiteral("\n\n");
    if (format.code < 40)
        lines += QStringLiteral("Отчет: ");
    lines += literal(format.title);
    if (format.code == 2)
        lines += literal(subject.object);
    if (format.accounting) {
        const QString tutor = format.code == 35 ? QStringLiteral("ВСЕ") : subject.object;
        lines += QStringLiteral("\nПреподаватель: ") + literal(tutor);
        lines += QStringLiteral("\nПериод: ") + shortDate(subject.from) + QStringLiteral(" - ")
                 + shortDate(subject.to);
    } else if (format.code == 40) {
        lines += QStringLiteral("\nДАТА: ")
                 + QLocale(QLocale::Russian).toString(subject.date, QStringLiteral("dd MMMM yyyy"))
                 + QStringLiteral(" года");
    } else if (format.code == 41) {
        const QDate monday = subject.date.addDays(1 - subject.date.dayOfWeek());
        const QDate last = monday.addDays(std::clamp(subject.workDays, 1, 7) - 1);
        lines += QStringLiteral("\nПериод: ") + monday.toString(QStringLiteral("dd.MM.yyyy"))
                 + QStringLiteral(" - ") + last.toString(QStringLiteral("dd.MM.yyyy"));
    } else if (format.code == 42) {
        lines += QStringLiteral("\nДАТА : ") + shortDate(subject.date);
    }

    QString signer;
    if (settings.UseFooterReport)
        signer = settings.FooterReport.isEmpty() ? userName : settings.FooterReport;
    const QString right = QStringLiteral("&RСтраница &P");
    QString left = QStringLiteral("&LПодготовил(a):  ") + literal(signer);
    // The moment as text: the spreadsheet's own date field (&D) shows in the reader's
    // format, 12/07/2026 in some.
    const QDateTime made = subject.made.isValid() ? subject.made : QDateTime::currentDateTime();
    const QString stamp = QStringLiteral("    ") + made.toString(QStringLiteral("dd.MM.yyyy"))
                          + QStringLiteral("    ") + made.toString(QStringLiteral("hh:mm"));

    // A sheet keeps 255 characters of each; the user's own texts give way.
    constexpr int Room = 255;
    // A header text starting with a digit would run into the font size's digits.
    if (!lines.isEmpty() && lines.front().isDigit())
        lines.prepend(QLatin1Char(' '));
    const QString header = cutCodes(QStringLiteral("&C&10") + lines, Room);
    left = cutCodes(left, Room - int(right.size() + stamp.size()));
    return {header, left + stamp + right};
}

QString sheetNameFrom(const QString &name)
{
    static const QRegularExpression forbidden(QStringLiteral("[\\[\\]:*?/\\\\]"));
    QString sheet = name;
    sheet.replace(forbidden, QStringLiteral("_"));
    sheet.replace(QLatin1Char('\n'), QLatin1Char(' '));
    sheet.remove(QLatin1Char('\r'));
    while (sheet.startsWith(QLatin1Char('\'')))
        sheet.remove(0, 1);
    sheet = sheet.left(31);
    while (sheet.endsWith(QLatin1Char('\'')))
        sheet.chop(1);
    if (sheet.trimmed().isEmpty())
        sheet = QStringLiteral("Лист1");
    return sheet;
}

QString exportFileName(int code, const QString &object)
{
    QString name = ViewTable::singleLineCaption(code);
    if (!object.isEmpty())
        name += QLatin1Char(' ') + object;
    // Characters a file name may not hold on the desktops the file may travel to.
    static const QRegularExpression forbidden(QStringLiteral("[\\\\/:*?\"<>|\\n\\r\\t]"));
    name.replace(forbidden, QStringLiteral("_"));
    return name.trimmed();
}

} // namespace korvesta
