#include "newyearcommand.h"

#include "nextyear.h"

#include "data/dberror.h"
#include "data/isodate.h"

#include <QFileInfo>

namespace korvesta {

namespace {

const char *const newYearUsage =
    "Использование:\n"
    "  korvesta new-year ФАЙЛ НОВЫЙ.kvt --start Д [--keep-load] [--hours-from ЧАСЫ.csv|.xlsx]\n"
    "                    [--force]\n"
    "  Записывает документ следующего учебного года: списки, преподавателей с исключениями,\n"
    "  которые ещё действуют, время уроков, учебный период с даты --start и каникулы с\n"
    "  праздниками этого года, перенесённые на год вперёд (проверьте их даты). Занятий и\n"
    "  заметок в новом документе нет; документ этого года не меняется.\n"
    "  --keep-load: перенести нагрузку с часами (без дат экзаменов). --hours-from: часы строк\n"
    "  нагрузки из таблицы (столбцы как при импорте нагрузки: преподаватель, дисциплина,\n"
    "  группа, курс, часы); нагрузка при этом переносится. --force заменяет НОВЫЙ.kvt.\n";

struct NewYearOptions
{
    NextYearRequest request;
    bool force = false;
    bool help = false;
};

QString parseOptions(const QStringList &args, NewYearOptions &o)
{
    QStringList files;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == u"--help" || a == u"-h") {
            o.help = true;
        } else if (a == u"--keep-load") {
            o.request.keepLoad = true;
        } else if (a == u"--force") {
            o.force = true;
        } else if (a == u"--start" || a == u"--hours-from") {
            if (i + 1 >= args.size())
                return QStringLiteral("Не указано значение %1").arg(a);
            const QString value = args[++i];
            if (a == u"--hours-from") {
                o.request.hoursFrom = value;
            } else {
                o.request.start = parseMoment(value).date();
                if (!o.request.start.isValid())
                    return QStringLiteral("Непонятная дата: %1").arg(value);
            }
        } else if (a.startsWith(QLatin1String("-"))) {
            return QStringLiteral("Неизвестный параметр: %1").arg(a);
        } else {
            files << a;
        }
    }
    if (o.help)
        return QString();
    if (files.size() != 2)
        return QStringLiteral("Укажите документ этого года и файл нового документа");
    o.request.source = files[0];
    o.request.target = files[1];
    if (!o.request.start.isValid())
        return QStringLiteral("Не указано начало нового учебного года (--start)");
    return QString();
}

QString dayText(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

int runNewYearCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    NewYearOptions o;
    const QString usageProblem = parseOptions(args, o);
    if (o.help) {
        out << QString::fromUtf8(newYearUsage);
        return 0;
    }
    if (!usageProblem.isEmpty()) {
        err << usageProblem << Qt::endl << QStringLiteral("korvesta new-year --help") << Qt::endl;
        return 2;
    }
    if (!QFileInfo(o.request.source).isFile()) {
        err << QStringLiteral("Файл %1 не найден").arg(o.request.source) << Qt::endl;
        return 1;
    }
    if (QFileInfo::exists(o.request.target) && !o.force) {
        err << QStringLiteral("Файл «%1» уже существует. Чтобы заменить его, добавьте --force")
                   .arg(o.request.target)
            << Qt::endl;
        return 1;
    }
    try {
        const QString problem = nextYearProblem(o.request);
        if (!problem.isEmpty()) {
            err << problem << Qt::endl;
            return 1;
        }
        const NextYearResult r = startNextYear(o.request);
        out << QStringLiteral("Учебный период: %1 - %2").arg(dayText(r.periodStart),
                                                             dayText(r.periodEnd))
            << Qt::endl
            << QStringLiteral("Групп: %1, преподавателей: %2, строк нагрузки: %3, исключений "
                              "преподавателей: %4")
                   .arg(r.groups)
                   .arg(r.tutors)
                   .arg(r.lines)
                   .arg(r.exceptions)
            << Qt::endl
            << QStringLiteral("Каникулы и праздники перенесены на год вперёд: %1 (проверьте "
                              "даты)")
                   .arg(r.holidays)
            << Qt::endl;
        for (const QString &line : r.hoursReport)
            out << line << Qt::endl;
        if (r.hoursSkipped > 0)
            err << QStringLiteral("Строк таблицы часов пропущено: %1").arg(r.hoursSkipped)
                << Qt::endl;
    } catch (const DbError &e) {
        err << e.message() << Qt::endl;
        return 1;
    }
    return 0;
}

} // namespace korvesta
