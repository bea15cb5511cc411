#include "newcommand.h"

#include "commandline.h"

#include "data/calendar.h"
#include "data/documenttemplate.h"
#include "editing/exitcode.h"
#include "sample/demodocument.h"
#include "sample/samplenorms.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"

#include <QFileInfo>

namespace korvesta {

namespace {

struct NewOptions
{
    QString path;
    bool force = false;
    DemoSize size = DemoSize::Small;
    bool fullYear = false;
};

const QStringList &sizeWords()
{
    static const QStringList words = {QStringLiteral("small"), QStringLiteral("large")};
    return words;
}

void readOptions(CommandLine &line, NewOptions &o)
{
    o.path = line.arguments().value(0);
    o.force = line.isSet(QStringLiteral("force"));
    o.fullYear = line.isSet(QStringLiteral("full-year"));
    if (line.choice(QStringLiteral("size")).value_or(0) == 1)
        o.size = DemoSize::Large;
}

// False, with the refusal told, when the file is there and may not be replaced.
bool mayWrite(const NewOptions &o, QTextStream &err)
{
    if (!QFileInfo::exists(o.path) || o.force)
        return true;
    err << QStringLiteral("Файл «%1» уже существует. Чтобы заменить его, добавьте --force")
               .arg(o.path)
        << Qt::endl;
    return false;
}

int writeNew(const NewOptions &o, QTextStream &err)
{
    if (!mayWrite(o, err))
        return ExitRefused;
    writeNewDocument(o.path);
    return ExitDone;
}

int writeDemo(const NewOptions &o, QTextStream &out, QTextStream &err)
{
    if (!mayWrite(o, err))
        return ExitRefused;
    const QDate today = QDate::currentDate();
    const DemoRequest request = o.fullYear
                                    ? DemoRequest::fullYear(o.size, academicYearStart(today).year())
                                    : DemoRequest::midTerm(o.size, today);
    const DemoNorms norms = writeDemoDocument(o.path, request);
    SettingsStore settings;
    SettingsRecord record;
    record.load(settings);
    const QString changed = fitNormsToSample(norms, record, settings);
    if (!changed.isEmpty())
        out << changed << Qt::endl;
    return ExitDone;
}

} // namespace

const CommandSpec &newCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("new"),
        {QStringLiteral("ФАЙЛ")},
        1,
        {forceOption(QStringLiteral("имеющийся файл"))},
        QStringLiteral("записать новый пустой документ"),
        QString(),
        {{Completion::File, {}}},
    };
    return spec;
}

int runNewCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    NewOptions o;
    return runCommand(
        newCommandSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, o); },
        [&] { return writeNew(o, err); });
}

const CommandSpec &demoCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("demo"),
        {QStringLiteral("ФАЙЛ")},
        1,
        {
            {{QStringLiteral("size")},
             QStringLiteral("РАЗМЕР"),
             QStringLiteral("small (по умолчанию) или large (120 групп)"),
             false,
             Completion::Words,
             sizeWords()},
            {{QStringLiteral("full-year")},
             QString(),
             QStringLiteral("расписание составлено на весь учебный год")},
            forceOption(QStringLiteral("имеющийся файл")),
        },
        QStringLiteral("записать пример колледжа в середине семестра"),
        QStringLiteral("  Расписание составлено с начала учебного периода до конца текущей "
                       "недели, у каждой\n  строки нагрузки остались часы."),
        {{Completion::File, {}}},
    };
    return spec;
}

int runDemoCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    NewOptions o;
    return runCommand(
        demoCommandSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, o); },
        [&] { return writeDemo(o, out, err); });
}

} // namespace korvesta
