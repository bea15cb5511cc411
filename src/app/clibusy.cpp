#include "clibusy.h"

#include "cli.h"
#include "editing/consoleprompts.h"
#include "data/apppaths.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "data/trialrun.h"
#include "editing/tutorexceptions.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"

#include <QTemporaryDir>

#include <algorithm>
#include <optional>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

const char *const busyUsage =
    "Использование:\n"
    "  korvesta busy ФАЙЛ --tutor П (--kind ВИД | --remove) --lesson N [--lesson N2 ...]\n"
    "                (--date Д [--date Д2 ...] | --weekday N [--weekday N2 ...])\n"
    "                [--workdays N] [--yes] [--dry-run]\n"
    "  Отмечает уроки преподавателя видом занятости (номер или название из списка видов)\n"
    "  на даты (--date) или на дни недели каждой недели (--weekday, 1 - понедельник);\n"
    "  --remove снимает отметки этих уроков (и на дату, и на её день недели) после\n"
    "  вопроса, на который отвечается «нет», с --yes - «да». --workdays - число рабочих\n"
    "  дней недели (по умолчанию 5): дни недели после них не отмечаются.\n";

struct BusyOptions
{
    QString path;
    QString tutor;
    QString kind;
    bool remove = false;
    std::vector<int> lessons;
    std::vector<QDate> dates;
    std::vector<int> weekdays;
    int workDays = 5;
    bool yes = false;
    bool dryRun = false;
};

bool positiveNumber(const QString &text, int &value, int limit)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= 1 && value <= limit;
}

QString parseOptions(const QStringList &args, BusyOptions &o)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == u"--remove" || a == u"--yes" || a == u"--dry-run") {
            (a == u"--remove" ? o.remove : a == u"--yes" ? o.yes : o.dryRun) = true;
            continue;
        }
        if (!a.startsWith(QStringLiteral("--")) && o.path.isEmpty()) {
            o.path = a;
            continue;
        }
        if (i + 1 >= args.size())
            return QStringLiteral("Не задано значение для %1").arg(a);
        const QString value = args[++i];
        int number = 0;
        if (a == u"--tutor") {
            o.tutor = value;
        } else if (a == u"--kind") {
            o.kind = value;
        } else if (a == u"--lesson") {
            if (!positiveNumber(value, number, 99))
                return QStringLiteral("Номер урока должен быть от 1 до 99: %1").arg(value);
            o.lessons.push_back(number);
        } else if (a == u"--date") {
            const QDate date = parseMoment(value).date();
            if (!date.isValid())
                return QStringLiteral("Непонятная дата: %1").arg(value);
            o.dates.push_back(date);
        } else if (a == u"--weekday") {
            if (!positiveNumber(value, number, 7))
                return QStringLiteral("День недели - число от 1 до 7: %1").arg(value);
            o.weekdays.push_back(number);
        } else if (a == u"--workdays") {
            if (!positiveNumber(value, o.workDays, 7))
                return QStringLiteral("Число рабочих дней - от 1 до 7: %1").arg(value);
        } else {
            return QStringLiteral("Непонятный аргумент: %1").arg(a);
        }
    }
    if (o.path.isEmpty() || o.tutor.isEmpty())
        return QStringLiteral("Укажите файл документа и преподавателя (--tutor)");
    if (o.remove == !o.kind.isEmpty())
        return QStringLiteral("Укажите вид занятости (--kind) или --remove");
    if (o.lessons.empty())
        return QStringLiteral("Укажите урок (--lesson)");
    if (o.dates.empty() == o.weekdays.empty())
        return QStringLiteral("Укажите даты (--date) или дни недели (--weekday)");
    return QString();
}

int firstKey(const Database &db, const QString &sql)
{
    const Recordset rs = db.openRecordset(sql);
    return rs.isEof() ? 0 : rs.value(0).toInt();
}

} // namespace

int runBusyCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.contains(QStringLiteral("--help"))) {
        out << QString::fromUtf8(busyUsage);
        return 0;
    }
    BusyOptions o;
    if (const QString problem = parseOptions(args, o); !problem.isEmpty()) {
        err << problem << Qt::endl << QString::fromUtf8(busyUsage);
        return 2;
    }
    if (!documentFileGiven(o.path, err))
        return ExitUnreadable;
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        err << QStringLiteral("Не удалось создать временную папку") << Qt::endl;
        return 1;
    }
    SettingsStore store(scratch.filePath(QStringLiteral("settings.ini")));
    SettingsRecord settings;
    settings.WorkDays = qint16(o.workDays);
    ConsolePrompts prompts(err, o.yes);
    DocumentSession session(prompts, store, AppPaths::standard());
    session.startFromCommandLine({o.path});
    const std::optional<Database> db = session.access();
    if (!db)
        return ExitUnreadable;

    const int keyTutor = firstKey(*db, QStringLiteral("SELECT tblTutors.Key FROM tblTutors "
                                                      "WHERE (((tblTutors.Tutor)=%1));")
                                           .arg(sqlText(o.tutor.trimmed())));
    if (keyTutor == 0) {
        err << QStringLiteral("Преподаватель «%1» не найден").arg(o.tutor) << Qt::endl;
        return 1;
    }
    int kind = 0;
    if (!o.remove) {
        bool numbered = false;
        const int number = o.kind.toInt(&numbered);
        kind = firstKey(*db, numbered ? QStringLiteral("SELECT tblTutorTypeOut.Key FROM "
                                                       "tblTutorTypeOut WHERE "
                                                       "(((tblTutorTypeOut.Key)=%1));")
                                            .arg(number)
                                      : QStringLiteral("SELECT tblTutorTypeOut.Key FROM "
                                                       "tblTutorTypeOut WHERE "
                                                       "(((tblTutorTypeOut.TypeOut)=%1));")
                                            .arg(sqlText(o.kind.trimmed())));
        if (kind == 0) {
            err << QStringLiteral("Нет вида занятости «%1»").arg(o.kind) << Qt::endl;
            return 1;
        }
    }

    const MarkBy by = o.dates.empty() ? MarkBy::Weekday : MarkBy::Date;
    std::vector<BusyCell> cells;
    for (const int lesson : o.lessons) {
        for (const QDate &date : o.dates)
            cells.push_back({lesson, date, date.dayOfWeek()});
        for (const int weekday : o.weekdays)
            cells.push_back({lesson, QDate(), weekday});
    }
    std::optional<TrialRun> trial;
    if (o.dryRun)
        trial.emplace(*db);
    TutorExceptions exceptions(session, settings, prompts);
    const bool changed = o.remove ? exceptions.remove(keyTutor, o.tutor.trimmed(), by, cells)
                                  : exceptions.mark(keyTutor, kind, by, cells);
    if (!changed) {
        const bool pastWorkDays =
            by == MarkBy::Weekday
            && std::all_of(o.weekdays.begin(), o.weekdays.end(),
                           [&](int weekday) { return weekday > o.workDays; });
        if (!o.remove && pastWorkDays)
            err << QStringLiteral("Нечего отмечать: дни недели после рабочих не отмечаются")
                << Qt::endl;
        else if (o.remove && prompts.refused())
            err << QStringLiteral("Ответ «нет»: отметки не сняты. Чтобы ответить «да», "
                                  "добавьте --yes")
                << Qt::endl;
        else if (o.remove && o.yes)
            err << QStringLiteral("Отметок на эти уроки нет") << Qt::endl;
        return 1;
    }
    if (trial)
        trial->report(out, err);
    return 0;
}

} // namespace korvesta
