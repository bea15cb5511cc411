#include "servercommands.h"

#include "commandline.h"

#include "data/dberror.h"
#include "data/pgconnection.h"
#include "data/serverdocument.h"
#include "editing/exitcode.h"

#include <QFileInfo>

namespace korvesta {

namespace {

// The exit code of a failure: the server or the file out of reach is 3, anything else 1.
int failed(const DbError &error, QTextStream &err)
{
    err << error.message() << Qt::endl;
    return error.code() == dberr::FileNotFound || error.code() == dberr::ForeignFormat
               ? ExitUnreadable
               : ExitRefused;
}

bool isUri(CommandLine &line, const QString &uri)
{
    if (PgConnection::isServerUri(uri))
        return true;
    line.fail(QStringLiteral("«%1» - не адрес базы данных на сервере: ожидается "
                             "postgresql://СЕРВЕР/БАЗА или postgresql:///БАЗА?host=ПАПКА")
                  .arg(uri));
    return false;
}

} // namespace

const CommandSpec &serverInitCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("server-init"),
        {QStringLiteral("АДРЕС")},
        1,
        {
            {{QStringLiteral("from")},
             QStringLiteral("ФАЙЛ"),
             QStringLiteral("документ, который скопировать на сервер (без него - пустой)"),
             false,
             Completion::Nothing},
        },
        QStringLiteral("создать документ в пустой базе данных PostgreSQL"),
        QStringLiteral("  АДРЕС - в виде libpq: postgresql://сервер/база или "
                       "postgresql:///база?host=/run/postgresql.\n  Пароль берётся только из "
                       ".pgpass, PGPASSWORD или файла служб. Таблицы, порядок\n  сравнения "
                       "текста без учёта регистра и сохранённые запросы создаются одной\n  "
                       "транзакцией; база, в которой уже есть таблицы, не изменяется."),
    };
    return spec;
}

int runServerInitCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QString uri, from;
    return runCommand(
        serverInitCommandSpec(), args, out, err,
        [&](CommandLine &line) {
            uri = line.arguments().value(0);
            from = line.value(QStringLiteral("from"));
            if (line.error().isEmpty())
                isUri(line, uri);
        },
        [&] {
            if (!from.isEmpty() && !QFileInfo(from).isFile()) {
                err << QStringLiteral("Файл «%1» не найден").arg(from) << Qt::endl;
                return int(ExitUnreadable);
            }
            try {
                initServerDocument(uri, from);
            } catch (const DbError &error) {
                return failed(error, err);
            }
            return int(ExitDone);
        });
}

const CommandSpec &serverExportCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("server-export"),
        {QStringLiteral("АДРЕС"), QStringLiteral("ФАЙЛ")},
        2,
        {forceOption(QStringLiteral("имеющийся файл"))},
        QStringLiteral("скопировать документ с сервера в файл"),
        QStringLiteral("  Все таблицы документа по состоянию на одно мгновение; файл "
                       "появляется под своим\n  именем, только когда записан целиком."),
        {{Completion::Nothing, {}}, {Completion::File, {}}},
    };
    return spec;
}

int runServerExportCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QString uri, file;
    bool force = false;
    return runCommand(
        serverExportCommandSpec(), args, out, err,
        [&](CommandLine &line) {
            uri = line.arguments().value(0);
            file = line.arguments().value(1);
            force = line.isSet(QStringLiteral("force"));
            if (line.error().isEmpty())
                isUri(line, uri);
        },
        [&] {
            if (QFileInfo::exists(file) && !force) {
                err << QStringLiteral("Файл «%1» уже существует. Чтобы заменить его, добавьте "
                                      "--force")
                           .arg(file)
                    << Qt::endl;
                return int(ExitRefused);
            }
            try {
                exportServerDocument(uri, file);
            } catch (const DbError &error) {
                return failed(error, err);
            }
            return int(ExitDone);
        });
}

} // namespace korvesta
