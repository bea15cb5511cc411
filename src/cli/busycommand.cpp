#include "busycommand.h"

#include "commandline.h"
#include "trialreport.h"

#include "data/apppaths.h"
#include "data/documentsession.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "data/trialrun.h"
#include "editing/commandrun.h"
#include "editing/consoleprompts.h"
#include "editing/exitcode.h"
#include "editing/tutorexceptions.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"

#include <QTemporaryDir>

#include <algorithm>
#include <optional>

namespace korvesta {

namespace {

struct BusyOptions
{
    QString path;
    QString tutor;
    QString reason;
    bool remove = false;
    std::vector<int> lessons;
    std::vector<QDate> dates;
    std::vector<int> weekdays;
    int workDays = 5;
    bool yes = false;
    bool dryRun = false;
    RecordFormat format = RecordFormat::Text;
};

void readOptions(CommandLine &line, BusyOptions &o)
{
    o.path = line.arguments().value(0);
    o.tutor = line.value(QStringLiteral("tutor"));
    o.reason = line.value(QStringLiteral("reason"));
    o.remove = line.isSet(QStringLiteral("remove"));
    o.lessons = line.numbers(QStringLiteral("lesson"), 1, 99);
    o.dates = line.dates(QStringLiteral("date"));
    o.weekdays = line.numbers(QStringLiteral("weekday"), 1, 7);
    o.workDays = line.number(QStringLiteral("workdays"), 1, 7).value_or(5);
    o.yes = line.isSet(QStringLiteral("yes"));
    o.dryRun = line.isSet(QStringLiteral("dry-run"));
    o.format = RecordFormat(line.choice(QStringLiteral("format")).value_or(0));
    if (o.tutor.trimmed().isEmpty())
        line.fail(QStringLiteral("Не указан преподаватель (--tutor)"));
    else if (o.remove == line.isSet(QStringLiteral("reason")))
        line.fail(QStringLiteral("Укажите вид занятости (--reason) или --remove"));
    else if (o.lessons.empty())
        line.fail(QStringLiteral("Не указан урок (--lesson)"));
    else if (o.dates.empty() == o.weekdays.empty())
        line.fail(QStringLiteral("Укажите даты (--date) или дни недели (--weekday)"));
}

int firstKey(const Database &db, const QString &sql)
{
    const Recordset rs = db.openRecordset(sql);
    return rs.isEof() ? 0 : rs.value(0).toInt();
}

int markBusy(const BusyOptions &o, QTextStream &out, QTextStream &err)
{
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

    int refusal = ExitRefused;
    const std::optional<NamedObject> tutor =
        objectOfOption(*db, NamedKind::Tutor, QStringLiteral("--tutor"), o.tutor, err, refusal);
    if (!tutor)
        return refusal;
    const int keyTutor = tutor->key;
    int kind = 0;
    if (!o.remove) {
        bool numbered = false;
        const int number = o.reason.toInt(&numbered);
        kind = firstKey(*db, numbered ? QStringLiteral("SELECT tblTutorTypeOut.Key FROM "
                                                       "tblTutorTypeOut WHERE "
                                                       "(((tblTutorTypeOut.Key)=%1));")
                                            .arg(number)
                                      : QStringLiteral("SELECT tblTutorTypeOut.Key FROM "
                                                       "tblTutorTypeOut WHERE "
                                                       "(((tblTutorTypeOut.TypeOut)=%1));")
                                            .arg(sqlText(o.reason.trimmed())));
        if (kind == 0) {
            err << QStringLiteral("Нет вида занятости «%1»").arg(o.reason) << Qt::endl;
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
    const bool changed = o.remove ? exceptions.remove(keyTutor, tutor->canonical, by, cells)
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
        reportTrial(*trial, o.format, out, err);
    return 0;
}

} // namespace

const CommandSpec &busyCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("busy"),
        {QStringLiteral("ФАЙЛ")},
        1,
        {
            {{QStringLiteral("tutor")},
             QStringLiteral("П"),
             QStringLiteral("преподаватель (полное имя или фамилия, если она одна такая)"),
             false,
             Completion::Tutor},
            {{QStringLiteral("reason")},
             QStringLiteral("ВИД"),
             QStringLiteral("вид занятости: номер или название из списка видов (отгул, "
                            "болезнь, командировка, отпуск ...)")},
            {{QStringLiteral("remove")},
             QString(),
             QStringLiteral("снять отметки этих уроков (и на дату, и на её день недели)")},
            {{QStringLiteral("lesson")}, QStringLiteral("N"), QStringLiteral("урок"), true},
            {{QStringLiteral("date")}, QStringLiteral("Д"), QStringLiteral("дата"), true},
            {{QStringLiteral("weekday")},
             QStringLiteral("N"),
             QStringLiteral("день каждой недели (1 - понедельник)"),
             true},
            {{QStringLiteral("workdays")},
             QStringLiteral("N"),
             QStringLiteral("число рабочих дней недели (по умолчанию 5): дни после них не "
                            "отмечаются")},
            yesOption(),
            dryRunOption(),
            formatOption(),
        },
        QStringLiteral("отметить занятость преподавателя на уроки дат или дней недели, или "
                       "снять отметки"),
        QStringLiteral("  --lesson, --date и --weekday можно повторять: отмечается каждый урок "
                       "каждого дня.\n  Снятие отметок спрашивает подтверждение: ответ «нет», "
                       "с --yes - «да»."),
    };
    return spec;
}

int runBusyCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    BusyOptions o;
    return runCommand(
        busyCommandSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, o); },
        [&] { return markBusy(o, out, err); });
}

} // namespace korvesta
