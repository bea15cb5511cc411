#include "publishfolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSysInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <limits>

namespace korvesta {

const QString kStagingOwnerFile = QStringLiteral(".korvesta-владелец");

namespace {

const QString kBesideSuffix = QStringLiteral("-публикация-");
const QString kInsideName = QStringLiteral(".korvesta-публикация-");

bool lstatPath(const QString &path, struct stat &st)
{
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

bool plainName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(u'.') || name.size() > 255)
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c == u'/' || c == u'\\' || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

// Whether the process that made a temporary folder may still be writing it.
bool ownerMayRun(const QString &staging)
{
    QFile note(staging + u'/' + kStagingOwnerFile);
    const QFileInfo info(staging);
    const QDateTime made = info.lastModified();
    if (!note.open(QIODevice::ReadOnly)) // killed before the note was written
        return made.isValid() && made.secsTo(QDateTime::currentDateTime()) < 3600;
    const QStringList lines = QString::fromUtf8(note.read(4096)).split(u'\n');
    bool number = false;
    const qint64 pid = lines.value(0).toLongLong(&number);
    if (lines.value(1) != QSysInfo::machineHostName())
        return made.isValid() && made.secsTo(QDateTime::currentDateTime()) < 24 * 3600;
    if (!number || pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

int removeMatching(const QString &where, const QRegularExpression &pattern)
{
    int removed = 0;
    const QStringList names =
        QDir(where).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QString &name : names) {
        if (!pattern.match(name).hasMatch())
            continue;
        const QString path = where + u'/' + name;
        struct stat st {};
        if (!lstatPath(path, st) || !S_ISDIR(st.st_mode) || ownerMayRun(path))
            continue;
        if (QDir(path).removeRecursively()) // links inside are removed, never followed
            ++removed;
    }
    return removed;
}

} // namespace

bool isPublishedFileName(const QString &relative)
{
    if (relative == u"index.html" || relative == u"style.css")
        return true;
    const QStringList parts = relative.split(u'/');
    if (parts.size() != 2 && parts.size() != 3)
        return false;
    if (parts[0] != u"groups" && parts[0] != u"tutors" && parts[0] != u"auditoriums")
        return false;
    static const QRegularExpression month(QStringLiteral("^[0-9]{4}-[0-9]{2}$"));
    if (parts.size() == 3 && !month.match(parts[1]).hasMatch())
        return false;
    const QString &file = parts.back();
    const bool page = file.endsWith(QStringLiteral(".html"));
    return plainName(file) && (page || (parts.size() == 2 && file.endsWith(QStringLiteral(".ics"))))
           && !file.contains(QStringLiteral(".."));
}

FolderEntry folderEntry(const QString &folder, const QString &relative)
{
    QString path = folder;
    const QStringList parts = relative.split(u'/');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        if (part.isEmpty() || part == u"." || part == u"..")
            return FolderEntry::OutsidePath;
        path += u'/' + part;
        struct stat st {};
        if (!lstatPath(path, st))
            return errno == ENOENT ? FolderEntry::Missing : FolderEntry::OutsidePath;
        const bool last = i + 1 == parts.size();
        if (!last && !S_ISDIR(st.st_mode)) // a link to a folder is not a folder here
            return FolderEntry::OutsidePath;
        if (last)
            return S_ISREG(st.st_mode) ? FolderEntry::File : FolderEntry::Foreign;
    }
    return FolderEntry::OutsidePath;
}

QString besideStagingTemplate(const QString &folder)
{
    const QFileInfo info(folder);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + kBesideSuffix
           + QStringLiteral("XXXXXX");
}

QString insideStagingTemplate(const QString &folder)
{
    return folder + u'/' + kInsideName + QStringLiteral("XXXXXX");
}

bool markStagingOwner(const QString &staging)
{
    QFile note(staging + u'/' + kStagingOwnerFile);
    if (!note.open(QIODevice::WriteOnly))
        return false;
    const QByteArray text = QByteArray::number(qint64(::getpid())) + '\n'
                            + QSysInfo::machineHostName().toUtf8() + '\n';
    return note.write(text) == text.size() && note.flush();
}

int removeLeftoverStaging(const QString &folder)
{
    const QFileInfo info(folder);
    const QString random = QStringLiteral("[A-Za-z0-9]{6}$");
    int removed = removeMatching(
        info.absolutePath(),
        QRegularExpression(u'^' + QRegularExpression::escape(u'.' + info.fileName() + kBesideSuffix)
                           + random));
    if (info.isDir())
        removed += removeMatching(
            folder, QRegularExpression(u'^' + QRegularExpression::escape(kInsideName) + random));
    return removed;
}

} // namespace korvesta
