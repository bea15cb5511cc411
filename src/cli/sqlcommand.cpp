#include "sqlcommand.h"

#include "commandline.h"
#include "records.h"
#include "editing/exitcode.h"

#include "data/database.h"
#include "data/dberror.h"
#include "data/isodate.h"
#include "data/querydef.h"
#include "data/recordset.h"
#include "data/trialrun.h"
#include "data/connection.h"

#include <QDate>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>


namespace korvesta {

namespace {

const CommandSpec &sqlSpec()
{
    static const CommandSpec spec{
        QStringLiteral("sql"),
        {QStringLiteral("ФАЙЛ"), QStringLiteral("ЗАПРОС")},
        2,
        {
            {{QStringLiteral("param")},
             QStringLiteral("ИМЯ=ЗНАЧЕНИЕ"),
             QStringLiteral("значение параметра запроса (тип - по его PARAMETERS; даты "
                            "дд.мм.гггг или гггг-мм-дд)"),
             true},
            formatOption(),
            isoDatesOption(),
            {{QStringLiteral("dry-run")},
             QString(),
             QStringLiteral("запрос на изменение выполняется пробно: по таблицам - сколько "
                            "строк он добавил бы, изменил и удалил; документ не меняется")},
        },
        QStringLiteral("выполнить запрос или сохранённый запрос по имени"),
        QStringLiteral("  Строки выводятся через табуляцию, первая строка - имена полей; json - "
                       "массив\n  объектов. Запрос на изменение выводит число изменённых строк."),
    };
    return spec;
}

// A field as the tab-separated output writes it.
QString cellText(const QVariant &value, bool isoDates)
{
    if (value.isNull() || !value.isValid())
        return QString();
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return value.toDate().toString(isoDates ? QStringLiteral("yyyy-MM-dd")
                                                : QStringLiteral("dd.MM.yyyy"));
    case QMetaType::QDateTime:
        return displayDateText(value.toDateTime());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        break;
    }
    QString text = value.toString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    text.replace(u'\n', QStringLiteral("\\n"));
    text.replace(u'\r', QStringLiteral("\\n"));
    text.replace(u'\t', QStringLiteral("\\t"));
    return text;
}

QString databaseMessage(const DbError &e)
{
    switch (e.code()) {
    case dberr::ForeignFormat:
        return QStringLiteral("Некорректный формат базы данных: %1").arg(e.message());
    default:
        return e.message();
    }
}

// A single word that could name a saved query or a table, as opposed to a statement.
bool looksLikeAName(const QString &text)
{
    static const QRegularExpression name(QStringLiteral("^\\s*[\\w]+\\s*$"),
                                         QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression keyword(
        QStringLiteral("^\\s*(select|insert|update|delete|transform|parameters)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    return name.match(text).hasMatch() && !keyword.match(text).hasMatch();
}

struct SqlOptions
{
    QString path, statement;
    std::vector<std::pair<QString, QString>> params;
    int format = 0; // text, tsv, json
    bool isoDates = false;
    bool dryRun = false;
};

void readOptions(CommandLine &line, SqlOptions &o)
{
    o.path = line.arguments().value(0);
    o.statement = line.arguments().value(1);
    o.format = line.choice(QStringLiteral("format")).value_or(0);
    o.isoDates = line.isSet(QStringLiteral("iso-dates"));
    o.dryRun = line.isSet(QStringLiteral("dry-run"));
    for (const QString &p : line.values(QStringLiteral("param"))) {
        const int eq = int(p.indexOf(u'='));
        if (eq <= 0)
            line.fail(QStringLiteral("--param: задаётся как ИМЯ=ЗНАЧЕНИЕ, а не «%1»").arg(p));
        else
            o.params.emplace_back(p.left(eq), p.mid(eq + 1));
    }
}

int runSql(const SqlOptions &o, QTextStream &out, QTextStream &err)
{
    const QString &path = o.path;
    const QString &statement = o.statement;
    auto fail = [&](const QString &message, int code) {
        err << message << Qt::endl;
        return code;
    };

    try {
        // A read never opens the file for writing.
        Database db = Database::open(path, Database::Mode::ReadOnly);
        const bool named = db.hasQueryDef(statement);
        if (!named && looksLikeAName(statement)) {
            if (!db.connection()->table(statement.trimmed()))
                return fail(QStringLiteral("Запрос «%1» не найден в документе «%2»")
                                .arg(statement.trimmed(), path),
                            ExitRefused);
        }
        // A table's name shows the whole table.
        const QString text = named || !looksLikeAName(statement)
                                 ? statement
                                 : QStringLiteral("SELECT * FROM [%1]").arg(statement.trimmed());
        auto prepare = [&](const Database &d) {
            QueryDef q = named ? d.queryDef(statement) : QueryDef(d.connection(), QString(), text);
            for (const auto &[name, value] : o.params)
                q.setParameter(name, value);
            return q;
        };
        QueryDef query = prepare(db);
        if (!query.returnsRows()) {
            const Database writable = Database::open(path, Database::Mode::ReadWrite);
            if (o.dryRun) {
                if (writable.isReadOnly())
                    return fail(QStringLiteral("Документ «%1» открыт только для чтения: "
                                               "изменения в нём невозможны")
                                    .arg(writable.path()),
                                ExitRefused);
                TrialRun trial(writable);
                prepare(writable).execute();
                trial.report(out, err);
                return ExitDone;
            }
            out << prepare(writable).execute() << Qt::endl;
            return ExitDone;
        }
        Recordset rs = query.openRecordset();
        const QStringList fields = rs.fieldNames();
        if (o.format == 2) {
            QJsonArray rows;
            for (; !rs.isEof(); rs.moveNext()) {
                QJsonObject row;
                for (int i = 0; i < rs.fieldCount(); ++i)
                    row.insert(fields.value(i), jsonValueOf(rs.value(i)));
                rows.append(row);
            }
            out << QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Indented));
        } else {
            out << fields.join(u'\t') << '\n';
            QStringList cells;
            for (; !rs.isEof(); rs.moveNext()) {
                cells.clear();
                for (int i = 0; i < rs.fieldCount(); ++i)
                    cells << cellText(rs.value(i), o.isoDates);
                out << cells.join(u'\t') << '\n';
            }
        }
        out.flush();
    } catch (const DbError &e) {
        const bool unreadable = e.code() == dberr::FileNotFound
                                || e.code() == dberr::ForeignFormat || e.code() == dberr::Locked;
        return fail(databaseMessage(e), unreadable ? ExitUnreadable : ExitRefused);
    }
    return ExitDone;
}

} // namespace

const CommandSpec &sqlCommandSpec()
{
    return sqlSpec();
}

int runSqlCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    SqlOptions options;
    return runCommand(
        sqlSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, options); },
        [&] { return runSql(options, out, err); });
}

} // namespace korvesta
