#include "newyearcommand.h"

#include "commandline.h"
#include "editing/exitcode.h"

#include "year/nextyear.h"

#include "data/dberror.h"
#include "data/isodate.h"

#include <QFileInfo>

namespace korvesta {

namespace {

const CommandSpec &newYearSpec()
{
    static const CommandSpec spec{
        QStringLiteral("new-year"),
        {QStringLiteral("ФАЙЛ"), QStringLiteral("НОВЫЙ.kvt")},
        2,
        {
            {{QStringLiteral("start")},
             QStringLiteral("Д"),
             QStringLiteral("первый день нового учебного периода (дд.мм.гггг или гггг-мм-дд)")},
            {{QStringLiteral("keep-load")},
             QString(),
             QStringLiteral("перенести нагрузку с часами (без дат экзаменов)")},
            {{QStringLiteral("hours-from")},
             QStringLiteral("ЧАСЫ.csv"),
             QStringLiteral("часы строк нагрузки из таблицы (.xlsx или CSV со столбцами "
                            "импорта нагрузки); нагрузка при этом переносится"),
             false,
             Completion::File},
            forceOption(QStringLiteral("имеющийся файл НОВЫЙ.kvt")),
        },
        QStringLiteral("записать документ следующего учебного года"),
        QStringLiteral("  Новый документ получает списки, преподавателей с исключениями, которые "
                       "ещё\n  действуют, время уроков, учебный период с даты --start и "
                       "каникулы с праздниками\n  этого года, перенесённые на год вперёд "
                       "(проверьте их даты). Занятий и заметок в нём\n  нет; документ этого "
                       "года не меняется."),
    };
    return spec;
}

QString dayText(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

void readOptions(CommandLine &line, NextYearRequest &request, bool &force)
{
    if (const std::optional<QDate> start = line.date(QStringLiteral("start")))
        request.start = *start;
    else if (line.error().isEmpty())
        line.fail(QStringLiteral("Не указано начало нового учебного года (--start)"));
    request.source = line.arguments().value(0);
    request.target = line.arguments().value(1);
    request.keepLoad = line.isSet(QStringLiteral("keep-load"));
    request.hoursFrom = line.value(QStringLiteral("hours-from"));
    force = line.isSet(QStringLiteral("force"));
}

int newYear(const NextYearRequest &request, bool force, QTextStream &out, QTextStream &err)
{
    if (!QFileInfo(request.source).isFile()) {
        err << QStringLiteral("Файл %1 не найден").arg(request.source) << Qt::endl;
        return ExitUnreadable;
    }
    if (QFileInfo::exists(request.target) && !force) {
        err << QStringLiteral("Файл «%1» уже существует. Чтобы заменить его, добавьте --force")
                   .arg(request.target)
            << Qt::endl;
        return ExitRefused;
    }
    try {
        const NextYearResult r = startNextYear(request);
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
        for (const QString &text : r.hoursReport)
            out << text << Qt::endl;
        if (r.hoursSkipped > 0)
            err << QStringLiteral("Строк таблицы часов пропущено: %1").arg(r.hoursSkipped)
                << Qt::endl;
    } catch (const DbError &e) {
        err << e.message() << Qt::endl;
        return e.code() == dberr::Failed ? ExitRefused : ExitUnreadable;
    }
    return ExitDone;
}

} // namespace

const CommandSpec &newYearCommandSpec()
{
    return newYearSpec();
}

int runNewYearCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    NextYearRequest request;
    bool force = false;
    return runCommand(
        newYearSpec(), args, out, err,
        [&](CommandLine &line) { readOptions(line, request, force); },
        [&] { return newYear(request, force, out, err); });
}

} // namespace korvesta
