#include "commandline.h"

#include "editing/exitcode.h"

#include "data/isodate.h"
#include "records.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace korvesta {

namespace {

QString dashed(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// The option a message of the parser names: it is quoted, whatever the language.
QString namedOption(const QString &text)
{
    static const QRegularExpression quoted(QStringLiteral("['«\"]-*([^'»\"]+)['»\"]"));
    return quoted.match(text).captured(1);
}

} // namespace

QString wrapped(const QString &text, int indent, int width)
{
    QString result;
    int column = indent;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (column > indent && column + 1 + word.size() > width) {
            result += u'\n' + QString(indent, u' ');
            column = indent;
        } else if (column > indent) {
            result += u' ';
            ++column;
        }
        result += word;
        column += int(word.size());
    }
    return result;
}

CommandLine::CommandLine(const CommandSpec &spec, const QStringList &args)
    : m_spec(spec)
{
    // A word with one dash is an option misspelt, not a cluster of one-letter switches.
    for (const QString &a : args) {
        if (a == u"--")
            break;
        if (a.size() > 2 && a.startsWith(u'-') && !a.startsWith(QLatin1String("--"))) {
            m_error = QStringLiteral("Параметры пишутся с двумя дефисами: -%1").arg(a);
            return;
        }
    }
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    for (const OptionSpec &o : spec.options)
        parser.addOption(QCommandLineOption(o.names, o.help, o.valueName));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(help);
    if (!parser.parse(QStringList{QStringLiteral("korvesta")} + args)) {
        if (!parser.unknownOptionNames().isEmpty()) {
            m_error = QStringLiteral("Неизвестный параметр: %1")
                          .arg(dashed(parser.unknownOptionNames().constFirst()));
            return;
        }
        const QString name = namedOption(parser.errorText());
        const OptionSpec *o = find(name);
        if (o && !o->valueName.isEmpty())
            m_error = QStringLiteral("Не указано значение параметра %1 (%2)")
                          .arg(dashed(o->names.constFirst()), o->valueName);
        else if (o)
            m_error = QStringLiteral("Параметр %1 задаётся без значения")
                          .arg(dashed(o->names.constFirst()));
        else
            m_error = parser.errorText();
        return;
    }
    if (parser.isSet(help)) {
        m_help = true;
        return;
    }
    // Every option as given, under its first name; values in the order given.
    QHash<QString, int> valuesTaken;
    for (const QString &given : parser.optionNames()) {
        const OptionSpec *o = find(given);
        if (!o)
            continue;
        const QString canonical = o->names.constFirst();
        const bool again = std::any_of(m_given.begin(), m_given.end(),
                                       [&](const auto &g) { return g.first == canonical; });
        if (again && !o->repeatable) {
            m_error = QStringLiteral("Параметр %1 указан дважды").arg(dashed(canonical));
            return;
        }
        QString value;
        if (!o->valueName.isEmpty())
            value = parser.values(canonical).value(valuesTaken[canonical]++);
        m_given.emplace_back(canonical, value);
    }
    m_arguments = parser.positionalArguments();
    if (m_arguments.size() < spec.requiredArguments)
        m_error = QStringLiteral("Не указано: %1")
                      .arg(spec.arguments.mid(m_arguments.size(), spec.requiredArguments
                                                                      - m_arguments.size())
                               .join(QStringLiteral(", ")));
    else if (m_arguments.size() > spec.arguments.size())
        m_error = QStringLiteral("Лишний аргумент: %1").arg(m_arguments.value(spec.arguments.size()));
}

const OptionSpec *CommandLine::find(const QString &name) const
{
    for (const OptionSpec &o : m_spec.options) {
        if (o.names.contains(name))
            return &o;
    }
    return nullptr;
}

bool CommandLine::isSet(const QString &name) const
{
    return std::any_of(m_given.begin(), m_given.end(),
                       [&](const auto &g) { return g.first == name; });
}

QString CommandLine::value(const QString &name) const
{
    for (const auto &[given, value] : m_given) {
        if (given == name)
            return value;
    }
    return QString();
}

QStringList CommandLine::values(const QString &name) const
{
    QStringList found;
    for (const auto &[given, value] : m_given) {
        if (given == name)
            found << value;
    }
    return found;
}

void CommandLine::fail(const QString &message)
{
    if (m_error.isEmpty())
        m_error = message;
}

std::optional<QDate> CommandLine::dateOf(const QString &name, const QString &text)
{
    const QDate d = parseMoment(text).date();
    if (!d.isValid()) {
        fail(QStringLiteral("%1: нужна дата дд.мм.гггг или гггг-мм-дд, а не «%2»")
                 .arg(dashed(name), text));
        return std::nullopt;
    }
    return d;
}

std::optional<int> CommandLine::numberOf(const QString &name, const QString &text, int low,
                                         int high)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < low || n > high) {
        fail(QStringLiteral("%1: нужно целое число от %2 до %3, а не «%4»")
                 .arg(dashed(name))
                 .arg(low)
                 .arg(high)
                 .arg(text));
        return std::nullopt;
    }
    return n;
}

std::optional<QDate> CommandLine::date(const QString &name)
{
    return isSet(name) ? dateOf(name, value(name)) : std::nullopt;
}

std::optional<int> CommandLine::number(const QString &name, int low, int high)
{
    return isSet(name) ? numberOf(name, value(name), low, high) : std::nullopt;
}

std::vector<QDate> CommandLine::dates(const QString &name)
{
    std::vector<QDate> found;
    for (const QString &text : values(name)) {
        if (const std::optional<QDate> d = dateOf(name, text))
            found.push_back(*d);
    }
    return m_error.isEmpty() ? found : std::vector<QDate>();
}

std::vector<int> CommandLine::numbers(const QString &name, int low, int high)
{
    std::vector<int> found;
    for (const QString &text : values(name)) {
        if (const std::optional<int> n = numberOf(name, text, low, high))
            found.push_back(*n);
    }
    return m_error.isEmpty() ? found : std::vector<int>();
}

std::optional<int> CommandLine::choice(const QString &name)
{
    if (!isSet(name))
        return std::nullopt;
    const OptionSpec *o = find(name);
    const QStringList words = o ? o->words : QStringList();
    const int i = int(words.indexOf(value(name)));
    if (i < 0) {
        fail(QStringLiteral("%1: одно из %2, а не «%3»")
                 .arg(dashed(name), words.join(QStringLiteral(", ")), value(name)));
        return std::nullopt;
    }
    return i;
}

OptionSpec formatOption(const QStringList &extraWords)
{
    const QStringList words = recordFormatWords() + extraWords;
    QStringList rest = words.mid(1, words.size() - 2);
    return {{QStringLiteral("format")},
            QStringLiteral("ВИД"),
            QStringLiteral("%1 (по умолчанию), %2 или %3: tsv - строка заголовка и запись на "
                           "строку, json - массив объектов")
                .arg(words.constFirst(), rest.join(QStringLiteral(", ")), words.constLast()),
            false,
            Completion::Words,
            words};
}

OptionSpec isoDatesOption()
{
    return {{QStringLiteral("iso-dates")},
            QString(),
            QStringLiteral("даты как гггг-мм-дд (в json - всегда)")};
}

OptionSpec setOption()
{
    return {{QStringLiteral("set")},
            QStringLiteral("КЛЮЧ=ЗНАЧЕНИЕ"),
            QStringLiteral("настройка раздела Settings (или РАЗДЕЛ/КЛЮЧ) только на этот запуск"),
            true};
}

OptionSpec yesOption()
{
    return {{QStringLiteral("yes")},
            QString(),
            QStringLiteral("ответить «да» на вопросы, которые задало бы окно (без него - «нет»)")};
}

OptionSpec dryRunOption()
{
    return {{QStringLiteral("dry-run")},
            QString(),
            QStringLiteral("только проверить и сказать, что изменилось бы; ничего не записывать")};
}

OptionSpec forceOption(const QString &what)
{
    return {{QStringLiteral("force")}, QString(), QStringLiteral("заменить %1").arg(what)};
}

OptionSpec groupOption(const QString &help)
{
    return {{QStringLiteral("group")},
            QStringLiteral("ГРУППА"),
            help + QStringLiteral(": \"П-9\", \"П-9 (1)\" или \"П-9 (1) ИТ\""),
            false,
            Completion::Group};
}

OptionSpec tutorOption(const QString &help)
{
    return {{QStringLiteral("tutor")},
            QStringLiteral("ПРЕПОДАВАТЕЛЬ"),
            help + QStringLiteral(": полное имя или фамилия, если она одна такая"),
            false,
            Completion::Tutor};
}

OptionSpec audOption(const QString &help)
{
    return {{QStringLiteral("aud"), QStringLiteral("auditorium")},
            QStringLiteral("АУДИТОРИЯ"),
            help + QStringLiteral(": \"109 (Главный)\" или \"109\", если она одна такая"),
            false,
            Completion::Auditorium};
}

OptionSpec disciplineOption(const QString &help)
{
    return {{QStringLiteral("discipline")},
            QStringLiteral("ДИСЦИПЛИНА"),
            help + QStringLiteral(": краткое или полное название"),
            false,
            Completion::Discipline};
}

ArgumentValues argumentValues(const CommandSpec &spec, int index)
{
    if (index < int(spec.argumentValues.size()))
        return spec.argumentValues[size_t(index)];
    return {index == 0 ? Completion::Document : Completion::File, {}};
}

QString commandSynopsis(const CommandSpec &spec)
{
    QString text = spec.name;
    for (int i = 0; i < spec.arguments.size(); ++i)
        text += i < spec.requiredArguments ? u' ' + spec.arguments[i]
                                           : QStringLiteral(" [%1]").arg(spec.arguments[i]);
    if (!spec.options.empty())
        text += QStringLiteral(" [ПАРАМЕТРЫ]");
    return text;
}

QString commandHelp(const CommandSpec &spec)
{
    QString text = QStringLiteral("Использование:\n  korvesta ") + commandSynopsis(spec)
                   + QStringLiteral("\n  ") + spec.summary + u'\n';
    if (!spec.details.isEmpty())
        text += spec.details + u'\n';
    text += QStringLiteral("Параметры:\n");
    for (const OptionSpec &o : spec.options) {
        QStringList names;
        for (const QString &n : o.names)
            names << dashed(n);
        QString left = QStringLiteral("  ") + names.join(QStringLiteral(", "));
        if (!o.valueName.isEmpty())
            left += u' ' + o.valueName;
        text += left.leftJustified(30) + u' ' + wrapped(o.help, 31, 80) + u'\n';
    }
    text += QStringLiteral("  -h, --help").leftJustified(30) + QStringLiteral(" эта справка\n");
    return text;
}

int usageFailure(const CommandSpec &spec, const QString &message, QTextStream &err)
{
    err << message << Qt::endl
        << QStringLiteral("Справка: korvesta %1 --help").arg(spec.name) << Qt::endl;
    return ExitUsage;
}

CommandSettings::Values settingValues(CommandLine &line)
{
    CommandSettings::Values sets;
    for (const QString &set : line.values(QStringLiteral("set"))) {
        if (const QString problem = CommandSettings::addSet(set, sets); !problem.isEmpty())
            line.fail(QStringLiteral("--set: ") + problem);
    }
    return sets;
}

int runCommand(const CommandSpec &spec, const QStringList &args, QTextStream &out,
               QTextStream &err, const std::function<void(CommandLine &)> &read,
               const std::function<int()> &run)
{
    CommandLine line(spec, args);
    int code = ExitDone;
    if (line.helpAsked()) {
        out << commandHelp(spec);
    } else {
        if (line.error().isEmpty())
            read(line);
        code = line.error().isEmpty() ? run() : usageFailure(spec, line.error(), err);
    }
    out.flush();
    err.flush();
    return code;
}

} // namespace korvesta
