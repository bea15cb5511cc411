#include "dberror.h"

#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

namespace korvesta {

namespace {

const QString kNotSaved = QStringLiteral("Изменение не сохранено.");

QString lines(const QString &first, const QString &second)
{
    return second.isEmpty() ? first : first + u'\n' + second;
}

// The file named in a message, with the blank before it; nothing when unknown.
QString named(const QString &path)
{
    if (path.isEmpty())
        return QString();
    return QStringLiteral(" «") + QDir::toNativeSeparators(path) + QStringLiteral("»");
}

// The name SQLite quotes after "no such table: " and the like.
QString tail(const QString &text, const QString &prefix)
{
    return text.mid(prefix.size()).trimmed();
}

// SQLITE_ERROR covers everything from a misspelt name to a statement too large; its text
// tells them apart.
DbError statementError(const QString &text, const QString &path)
{
    const QString detail = QStringLiteral("Подробности: ") + text;
    static const QString noTable = QStringLiteral("no such table:");
    static const QString noColumn = QStringLiteral("no such column:");
    const qsizetype table = text.indexOf(noTable);
    if (table >= 0)
        return DbError(dberr::TableNotFound,
                       QStringLiteral("В документе нет таблицы или запроса «%1»")
                           .arg(tail(text.mid(table), noTable)),
                       path);
    const qsizetype column = text.indexOf(noColumn);
    if (column >= 0)
        return DbError(
            dberr::TooFewParameters,
            QStringLiteral("В документе нет поля «%1»").arg(tail(text.mid(column), noColumn)),
            path);
    if (text.contains(QLatin1String("too many columns")))
        return DbError(dberr::Failed,
                       lines(QStringLiteral("В запросе слишком много полей: столько программа "
                                            "не обрабатывает. Сократите список полей."),
                             detail),
                       path);
    if (text.contains(QLatin1String("values were supplied"))
        || text.contains(QLatin1String("values for")))
        return DbError(dberr::Failed,
                       lines(QStringLiteral("Число значений не совпадает с числом полей "
                                            "таблицы. Изменение не сохранено."),
                             detail),
                       path);
    if (text.contains(QLatin1String("stack overflow")) || text.contains(QLatin1String("too large"))
        || text.contains(QLatin1String("too many")))
        return DbError(dberr::SyntaxError,
                       lines(QStringLiteral("Запрос слишком сложен. Упростите его."), detail),
                       path);
    if (text.contains(QLatin1String("syntax error")) || text.contains(QLatin1String("near \""))
        || text.contains(QLatin1String("no such function"))
        || text.contains(QLatin1String("ambiguous")) || text.contains(QLatin1String("misuse")))
        return DbError(dberr::SyntaxError,
                       lines(QStringLiteral("Ошибка в тексте запроса."), detail), path);
    if (text.contains(QLatin1String("already exists")))
        return DbError(dberr::Failed,
                       lines(QStringLiteral("Такой объект или файл уже существует."), detail),
                       path);
    return DbError(dberr::Failed,
                   lines(QStringLiteral("Действие с документом не удалось."), detail), path);
}

} // namespace

DbError DbError::fromEngine(int resultCode, const QString &engineText, const QString &path)
{
    const QString detail =
        engineText.isEmpty() ? QString() : QStringLiteral("Подробности: ") + engineText;
    switch (resultCode & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_PROTOCOL:
        return DbError(dberr::Locked,
                       QStringLiteral("Документ занят другой программой.\nДождитесь, когда она "
                                      "закончит работу с документом, и повторите действие."),
                       path);
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return DbError(dberr::ReadOnly,
                       QStringLiteral("Документ%1 открыт только для чтения: изменения "
                                      "невозможны.\nРазрешите запись в файл или сохраните "
                                      "документ под другим именем (Файл – Сохранить как...).")
                           .arg(named(path)),
                       path);
    case SQLITE_FULL:
        return DbError(dberr::DiskFull,
                       QStringLiteral("На диске не хватает места. ") + kNotSaved
                           + QStringLiteral("\nОсвободите место на диске и повторите действие."),
                       path);
    case SQLITE_IOERR:
        return DbError(dberr::DiskIo,
                       lines(QStringLiteral("Ошибка чтения или записи файла%1. ").arg(named(path))
                                 + kNotSaved
                                 + QStringLiteral("\nПроверьте диск или сетевую папку и "
                                                  "повторите действие."),
                             detail),
                       path);
    case SQLITE_NOMEM:
        return DbError(dberr::Failed,
                       QStringLiteral("Не хватает памяти. ") + kNotSaved
                           + QStringLiteral("\nЗакройте другие программы и повторите действие."),
                       path);
    case SQLITE_TOOBIG:
        return DbError(dberr::TooBig,
                       QStringLiteral("Значение слишком велико для документа. ") + kNotSaved
                           + QStringLiteral("\nСократите текст и повторите."),
                       path);
    case SQLITE_CONSTRAINT:
        if (engineText.contains(QLatin1String("UNIQUE"))
            || engineText.contains(QLatin1String("PRIMARY KEY")))
            return DbError(
                dberr::Duplicate,
                lines(QStringLiteral("Такая запись уже есть в документе. ") + kNotSaved, detail),
                path);
        return DbError(
            dberr::Failed,
            lines(QStringLiteral("Значение нарушает правила документа. ") + kNotSaved, detail),
            path);
    case SQLITE_MISMATCH:
        return DbError(
            dberr::TypeMismatch,
            lines(QStringLiteral("Значение не подходит к типу поля. ") + kNotSaved, detail), path);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
        return DbError(dberr::ForeignFormat,
                       QStringLiteral("Файл%1 повреждён или не является документом расписания")
                           .arg(named(path)),
                       path);
    case SQLITE_CANTOPEN:
        // The document itself, or a file SQLite needs beside it (its journal) that the folder
        // does not let it create.
        if (!path.isEmpty() && QFileInfo(path).isFile())
            return DbError(dberr::ReadOnly,
                           QStringLiteral("Папка документа%1 закрыта для записи. ").arg(named(path))
                               + kNotSaved
                               + QStringLiteral("\nРазрешите запись в папку или сохраните "
                                                "документ в другой папке."),
                           path);
        return DbError(dberr::FileNotFound, QStringLiteral("Файл%1 не найден").arg(named(path)),
                       path);
    case SQLITE_SCHEMA:
        return DbError(dberr::Failed,
                       QStringLiteral("Документ изменён другой программой во время работы. ")
                           + QStringLiteral("Повторите действие."),
                       path);
    case SQLITE_INTERRUPT:
    case SQLITE_ABORT:
        return DbError(dberr::Failed,
                       QStringLiteral("Действие с документом прервано. ") + kNotSaved, path);
    case SQLITE_ERROR:
        return statementError(engineText, path);
    default:
        return DbError(dberr::Failed,
                       lines(QStringLiteral("Действие с документом не удалось."), detail), path);
    }
}

} // namespace korvesta
