#include "publishrecord.h"

#include "publishfolder.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QUuid>

namespace korvesta {

const QString kPublishRecordFile = QStringLiteral(".korvesta-publish.json");

namespace {

// The record of a college's publication is a few hundred kilobytes.
constexpr qint64 kRecordLimit = 64 << 20;

} // namespace

QByteArray readWholeFile(const QString &path)
{
    // Years of a busy tutor's calendar are a few megabytes; a file far larger is not one the
    // program wrote, and is not read into memory.
    constexpr qint64 kLargest = 64 * 1024 * 1024;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargest)
        return QByteArray();
    return file.read(kLargest);
}

QString listedNames(QStringList names)
{
    names.sort();
    const qsizetype more = names.size() - 10;
    if (more > 0)
        names.resize(10);
    QString text = names.join(QStringLiteral(", "));
    if (more > 0)
        text += QStringLiteral(" и ещё %1").arg(more);
    return text;
}

PublishRecord PublishRecord::read(const QString &path, QStringList &warnings)
{
    PublishRecord s;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return s;
    const auto ignored = [&](const QString &why) {
        warnings << QStringLiteral("Сведения о прошлой публикации (%1) не приняты: %2. "
                                   "Файлы папки, которых нет в новой публикации, оставлены "
                                   "как есть")
                        .arg(kPublishRecordFile, why);
        return PublishRecord();
    };
    if (info.isSymLink() || !info.isFile())
        return ignored(QStringLiteral("это не обычный файл"));
    if (info.size() > kRecordLimit)
        return ignored(QStringLiteral("файл больше %1 МБ").arg(kRecordLimit >> 20));
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(readWholeFile(path), &error);
    if (error.error != QJsonParseError::NoError || !json.isObject())
        return ignored(QStringLiteral("файл повреждён"));
    const QJsonObject root = json.object();
    s.feed = root.value(QStringLiteral("feed")).toString();
    if (QUuid::fromString(s.feed).isNull())
        s.feed.clear();
    const bool sameFormat = root.value(QStringLiteral("format")).toInt() == kPublishFormat;
    const QJsonObject files = root.value(QStringLiteral("files")).toObject();
    QStringList strange;
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (!isPublishedFileName(it.key())) {
            strange << it.key();
            continue;
        }
        const QJsonObject f = it.value().toObject();
        PublishedFile fs;
        if (sameFormat)
            fs.hash = f.value(QStringLiteral("hash")).toString();
        if (sameFormat)
            fs.source = f.value(QStringLiteral("source")).toString();
        fs.date = QDate::fromString(f.value(QStringLiteral("date")).toString(), Qt::ISODate);
        fs.gone = f.value(QStringLiteral("gone")).toBool();
        s.files.emplace(it.key(), fs);
    }
    if (!strange.isEmpty())
        warnings << QStringLiteral("В сведениях о прошлой публикации (%1) названы файлы "
                                   "вне папки или чужого вида; они не изменены и не "
                                   "удалены: %2")
                        .arg(kPublishRecordFile, listedNames(strange));
    return s;
}

QByteArray PublishRecord::text() const
{
    QJsonObject list;
    for (const auto &[name, f] : files) {
        QJsonObject o;
        o.insert(QStringLiteral("hash"), f.hash);
        if (!f.source.isEmpty())
            o.insert(QStringLiteral("source"), f.source);
        if (f.date.isValid())
            o.insert(QStringLiteral("date"), f.date.toString(Qt::ISODate));
        if (f.gone)
            o.insert(QStringLiteral("gone"), true);
        list.insert(name, o);
    }
    QJsonObject root;
    root.insert(QStringLiteral("format"), kPublishFormat);
    root.insert(QStringLiteral("feed"), feed);
    root.insert(QStringLiteral("files"), list);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace korvesta
