#include "optionscommand.h"

#include "commandline.h"
#include "trialreport.h"

#include "data/apppaths.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "data/trialrun.h"
#include "editing/commandrun.h"
#include "editing/commandsettings.h"
#include "editing/consoleprompts.h"
#include "options/optionssession.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"

#include <optional>
#include <vector>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

struct HolidayDates
{
    QDate first, last;
};

struct TimeOfLesson
{
    int lesson = 0;
    QString time;
};

struct OptionsOptions
{
    QString path;
    bool dryRun = false;
    RecordFormat format = RecordFormat::Text;
    std::optional<OptionsSession::Period> study;
    std::vector<HolidayDates> holidays;
    std::vector<TimeOfLesson> lessonTimes;
    QStringList faculties, specializations;
    bool protectAll = false;
};

// "Д" or "Д..Д".
std::optional<HolidayDates> holidayOf(const QString &text)
{
    const QStringList parts = text.split(QStringLiteral(".."));
    if (parts.size() > 2)
        return std::nullopt;
    const QDate first = parseMoment(parts.constFirst().trimmed()).date();
    const QDate last = parseMoment(parts.constLast().trimmed()).date();
    if (!first.isValid() || !last.isValid())
        return std::nullopt;
    return HolidayDates{first, last};
}

void readOptions(CommandLine &line, OptionsOptions &o)
{
    o.path = line.arguments().value(0);
    o.dryRun = line.isSet(QStringLiteral("dry-run"));
    o.format = RecordFormat(line.choice(QStringLiteral("format")).value_or(0));
    const std::optional<QDate> from = line.date(QStringLiteral("study-from"));
    const std::optional<QDate> to = line.date(QStringLiteral("study-to"));
    if (from.has_value() != to.has_value())
        line.fail(QStringLiteral("Учебный период задаётся двумя датами: --study-from и "
                                 "--study-to"));
    else if (from)
        o.study = OptionsSession::Period{*from, *to};
    for (const QString &text : line.values(QStringLiteral("holiday"))) {
        if (const std::optional<HolidayDates> h = holidayOf(text))
            o.holidays.push_back(*h);
        else
            line.fail(QStringLiteral("--holiday: нужна дата или две даты через «..» "
                                     "(28.12.2026..08.01.2027), а не «%1»")
                          .arg(text));
    }
    for (const QString &text : line.values(QStringLiteral("lesson-time"))) {
        bool ok = false;
        const int lesson = text.section(u'=', 0, 0).trimmed().toInt(&ok);
        if (!text.contains(u'=') || !ok || lesson < 1 || lesson > 24)
            line.fail(QStringLiteral("--lesson-time: нужно N=ВРЕМЯ с уроком от 1 до 24 "
                                     "(1=08:30-09:15), а не «%1»")
                          .arg(text));
        else
            o.lessonTimes.push_back({lesson, text.section(u'=', 1)});
    }
    o.faculties = line.values(QStringLiteral("faculty"));
    o.specializations = line.values(QStringLiteral("specialization"));
    o.protectAll = line.isSet(QStringLiteral("protect-all"));
    if (!o.study && o.holidays.empty() && o.lessonTimes.empty() && o.faculties.isEmpty()
        && o.specializations.isEmpty() && !o.protectAll)
        line.fail(QStringLiteral("Не указано, что записать в документ"));
}

int writeOptions(const OptionsOptions &o, QTextStream &out, QTextStream &err)
{
    const QString &path = o.path;
    if (!documentFileGiven(path, err))
        return ExitUnreadable;

    // The user's settings are read, never written: the command changes the document only.
    CommandSettings run;
    if (!run.usable()) {
        err << CommandSettings::unusableText() << Qt::endl;
        return ExitRefused;
    }
    SettingsStore &settings = run.store();
    SettingsRecord &record = run.record();
    ConsolePrompts prompts(err);
    DocumentSession session(prompts, settings, AppPaths::standard());
    session.startFromCommandLine({path});
    const std::optional<Database> db = session.access();
    if (!db)
        return ExitUnreadable;
    std::optional<TrialRun> trial;
    if (o.dryRun)
        trial.emplace(*db);
    OptionsSession options(session, settings, record, prompts);
    // The study period first: the holidays are checked against it.
    if (o.study && !options.setStudyPeriod(*o.study))
        return 1;
    for (const HolidayDates &h : o.holidays) {
        const std::optional<OptionsSession::Period> period = options.storedStudyPeriod();
        if (!options.addHoliday(h.first, h.last, period.value_or(OptionsSession::Period{})))
            return 1;
    }
    for (const TimeOfLesson &t : o.lessonTimes) {
        if (!options.setLessonTime(t.lesson, t.time))
            return 1;
    }
    for (const QString &name : o.faculties) {
        if (!options.addFaculty(name))
            return 1;
    }
    for (const QString &name : o.specializations) {
        if (!options.addSpecialization(name))
            return 1;
    }
    if (o.protectAll)
        options.protectAll();
    if (trial)
        reportTrial(*trial, o.format, out, err);
    return 0;
}

} // namespace

const CommandSpec &optionsCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("options"),
        {QStringLiteral("ФАЙЛ")},
        1,
        {
            {{QStringLiteral("study-from")},
             QStringLiteral("Д"),
             QStringLiteral("начало учебного периода")},
            {{QStringLiteral("study-to")},
             QStringLiteral("Д"),
             QStringLiteral("конец учебного периода")},
            {{QStringLiteral("holiday")},
             QStringLiteral("Д[..Д]"),
             QStringLiteral("праздник (одна дата) или каникулы (две даты через «..»)"),
             true},
            {{QStringLiteral("lesson-time")},
             QStringLiteral("N=ВРЕМЯ"),
             QStringLiteral("время урока N (1=08:30-09:15; пустое время стирает его)"),
             true},
            {{QStringLiteral("faculty")},
             QStringLiteral("ИМЯ"),
             QStringLiteral("добавить факультет"),
             true},
            {{QStringLiteral("specialization")},
             QStringLiteral("ИМЯ"),
             QStringLiteral("добавить специализацию"),
             true},
            {{QStringLiteral("protect-all")},
             QString(),
             QStringLiteral("защитить от изменения все даты расписания")},
            dryRunOption(),
            formatOption(),
        },
        QStringLiteral("учебный период, праздники, время занятий, факультеты, специализации"),
        QStringLiteral("  Записывает в документ с проверками окна «Настройки»: сначала учебный "
                       "период,\n  затем праздники и каникулы, время уроков, факультеты, "
                       "специализации."),
    };
    return spec;
}

int runOptionsCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    OptionsOptions o;
    return runCommand(
        optionsCommandSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, o); },
        [&] { return writeOptions(o, out, err); });
}

} // namespace korvesta
