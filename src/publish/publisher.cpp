#include "publisher.h"

#include "icalfeed.h"
#include "lessonwords.h"
#include "publishfolder.h"
#include "publishrecord.h"
#include "publishmodel.h"
#include "webtimetable.h"

#include "data/database.h"
#include "data/recordset.h"
#include "editing/progress.h"
#include "settings/settingsstore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QUuid>

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <system_error>
#include <thread>

namespace korvesta {

namespace {


QString day(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}


bool sameDevice(const QString &a, const QString &b)
{
    struct stat sa {}, sb {};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0
           && ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev;
}


// "12 групп", "1 группа", "2 группы".
QString counted(int n, const char *one, const char *few, const char *many)
{
    const int tens = n % 100, units = n % 10;
    const char *word = (tens >= 11 && tens <= 14) ? many
                       : units == 1               ? one
                       : (units >= 2 && units <= 4) ? few
                                                    : many;
    return QString::number(n) + u' ' + QString::fromUtf8(word);
}


// The files of one object as made: each with its entry in the new state, and whether it
// differed from what the folder holds and was written.
struct MadeFile
{
    QString relative;
    PublishedFile state;
    bool changed = false; // written to the staging folder
};

// The words of an object's lessons, made when the first of its files is written: a file that
// stands as it was needs none.
struct ObjectWords
{
    const PublishModel &model;
    PublishedKind kind;
    size_t object;
    std::vector<LessonWords> words;
    bool made = false;

    const std::vector<LessonWords> &get()
    {
        if (!made)
            words = objectWords(model, kind, object);
        made = true;
        return words;
    }
};

struct ObjectFiles
{
    MadeFile calendar;
    std::vector<MadeFile> pages; // the front page, then the months
    int cancelled = 0;
    QString problem; // why a file could not be written
};

class Publisher
{
public:
    Publisher(const Database &db, const PublishRequest &request, Progress &progress)
        : m_db(db)
        , m_request(request)
        , m_progress(progress)
    {}

    PublishResult run();

private:
    QString target(const QString &relative) const { return m_folder + u'/' + relative; }
    // What the folder holds where a file of the publication goes.
    struct Standing
    {
        bool writable = true;
        QByteArray content; // the program's own file as it is; empty for any other
        QString problem;    // why it cannot be written, when not for being someone else's
    };
    Standing standing(const QString &relative);
    QString stagingFolder(QString &problem);
    QString stage(const QString &relative, const QByteArray &content);
    void put(const QString &relative, const QByteArray &content);
    void take(const MadeFile &made);
    QString sourceOf(PublishedKind kind, size_t object, const QByteArray &page, const QDate &from,
                     const QDate &to) const;
    void hashShared();
    ObjectFiles makeFiles(PublishedKind kind, size_t object);
    MadeFile makeCalendar(ObjectWords &words, ObjectFiles &files);
    MadeFile makePage(const PageSource &source, ObjectWords &words, const QDate &month,
                      ObjectFiles &files);
    bool makeAllFiles();
    void publishIndex();
    void retireFiles();
    QString write();
    QString moveIntoPlace();

    const Database &m_db;
    const PublishRequest &m_request;
    Progress &m_progress;
    QString m_folder;
    PublishModel m_model;
    QByteArray m_shared;
    std::shared_ptr<const FeedZone> m_zone;
    QDateTime m_now; // the moment of the publication in UTC
    PublishRecord m_old, m_new;
    // The files are written into a temporary folder as they are made, from any thread; it
    // is made for the first of them.
    std::mutex m_stagingLock;
    std::optional<QTemporaryDir> m_staging;
    QString m_stagingProblem;
    std::set<QString> m_stagedFolders; // made in the temporary folder: each once

    bool m_folderExisted = false;
    std::mutex m_foreignLock;
    QStringList m_foreign; // files of someone else where the program's would go
    std::set<QString> m_changed; // relative paths of the files written
    QString m_problem;           // why a file could not be written
    QStringList m_removed;
    QDate m_latestPage;
    PublishResult m_result;
};

// The temporary folder the files are written to, beside the destination when a rename can
// reach it from there, else inside it; made on the first call. Empty, with the reason, when it
// cannot be made.
QString Publisher::stagingFolder(QString &problem)
{
    const std::lock_guard lock(m_stagingLock);
    if (m_staging)
        return m_staging->path();
    if (m_stagingProblem.isEmpty()) {
        const QFileInfo folder(m_folder);
        const QString parent = folder.absolutePath();
        m_folderExisted = folder.exists();
        if (!m_folderExisted && !QDir().mkpath(parent)) {
            m_stagingProblem = QStringLiteral("Не удалось создать папку «%1»").arg(parent);
        } else {
            const bool beside = !m_folderExisted || sameDevice(parent, m_folder);
            m_staging.emplace(beside ? besideStagingTemplate(m_folder)
                                     : insideStagingTemplate(m_folder));
            if (m_staging->isValid() && markStagingOwner(m_staging->path()))
                return m_staging->path();
            m_staging.reset();
            m_stagingProblem = QStringLiteral("Нет доступа на запись в папку «%1»").arg(m_folder);
        }
    }
    problem = m_stagingProblem;
    return QString();
}

// Writes a file of the publication into the temporary folder; the reason when it fails.
QString Publisher::stage(const QString &relative, const QByteArray &content)
{
    QString problem;
    const QString staging = stagingFolder(problem);
    if (staging.isEmpty())
        return problem;
    const QString path = staging + u'/' + relative;
    {
        const QString folder = QFileInfo(path).absolutePath();
        const std::lock_guard lock(m_stagingLock);
        if (m_stagedFolders.insert(folder).second && !QDir().mkpath(folder))
            m_stagedFolders.erase(folder); // the file's own opening says why
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()
        || !file.flush())
        return QStringLiteral("Не удалось записать файл «%1»: %2")
            .arg(target(relative), file.errorString());
    return QString();
}

Publisher::Standing Publisher::standing(const QString &relative)
{
    Standing s;
    switch (folderEntry(m_folder, relative)) {
    case FolderEntry::Missing:
        return s;
    case FolderEntry::OutsidePath:
        s.writable = false;
        s.problem = QStringLiteral("Файл «%1» не записан: путь к нему ведёт через ссылку или "
                                   "файл за пределы папки публикации")
                        .arg(target(relative));
        return s;
    case FolderEntry::File:
        if (m_old.files.count(relative)) {
            s.content = readWholeFile(target(relative));
            return s;
        }
        break;
    case FolderEntry::Foreign:
        break;
    }
    if (!m_request.replaceForeign) {
        s.writable = false;
        const std::lock_guard lock(m_foreignLock);
        m_foreign << relative;
    }
    return s;
}

// Writes the file when its content differs from what the folder holds; m_problem says why
// when it cannot be written.
void Publisher::put(const QString &relative, const QByteArray &content)
{
    const Standing now = standing(relative);
    if (!now.writable) {
        if (m_problem.isEmpty())
            m_problem = now.problem;
        return;
    }
    if (now.content == content)
        return;
    m_changed.insert(relative);
    const QString problem = stage(relative, content);
    if (!problem.isEmpty() && m_problem.isEmpty())
        m_problem = problem;
}

void Publisher::take(const MadeFile &made)
{
    if (made.changed)
        m_changed.insert(made.relative);
    m_new.files[made.relative] = made.state;
}

// What a file of an object is made from, without making it: the keys of its lessons from..to
// and of the records they name, on top of everything the whole publication shares (names,
// colours, times, period) and what tells the file's page apart (`page`). When it is what the
// last file was made from, the file stands.
QString Publisher::sourceOf(PublishedKind kind, size_t object, const QByteArray &page,
                            const QDate &from, const QDate &to) const
{
    // The keys go into one buffer, hashed at once.
    thread_local std::vector<qint64> keys;
    keys.clear();
    const auto add = [](qint64 n) { keys.push_back(n); };
    add(int(kind));
    add(qint64(object));
    const auto &lessons = m_model.lessonsOf(kind, object);
    for (auto l = m_model.lessonFrom(kind, object, from); l != lessons.end() && l->teaching->date <= to; ++l) {
        const Teaching &t = *l->teaching;
        add(t.date.toJulianDay());
        add(t.lesson);
        add(t.job);
        add(t.auditorium);
        add(t.tutor);
        add(t.discipline);
        add(t.type);
        add(l->subgroup);
        add(l->clash);
        for (const Teaching::Attendance &a : t.groups) {
            add(a.group);
            add(a.subgroup);
            add(a.meeting);
        }
        if (kind == PublishedKind::Group)
            add(l->meeting);
    }
    QCryptographicHash hash(QCryptographicHash::Md5);
    hash.addData(m_shared);
    hash.addData(page);
    hash.addData(QByteArrayView(reinterpret_cast<const char *>(keys.data()),
                                qsizetype(keys.size() * sizeof(qint64))));
    return QString::fromLatin1(hash.result().toHex());
}

// Everything all files share; a change of any name re-makes every file (and writes those
// whose text changed).
void Publisher::hashShared()
{
    QCryptographicHash hash(QCryptographicHash::Md5);
    const auto add = [&hash](const QString &text) {
        hash.addData(text.toUtf8());
        hash.addData(QByteArrayView("\x1f", 1));
    };
    add(QString::number(kPublishFormat));
    add(m_new.feed);
    add(QString::fromUtf8(m_request.zone.id()));
    add(m_request.from.toString(Qt::ISODate) + m_request.to.toString(Qt::ISODate));
    add(QString::number(m_request.workDays));
    for (const auto &objects : m_model.objects)
        for (const PublishedObject &o : objects)
            add(o.name + u'|' + o.title + u'|' + o.label + u'|' + o.file);
    QList<int> keys = m_model.disciplines.keys();
    std::sort(keys.begin(), keys.end());
    for (const int k : std::as_const(keys)) {
        const DisciplineInfo &d = m_model.disciplines[k];
        add(QString::number(k) + u'|' + d.name + u'|' + d.fullName + u'|'
            + (d.colour.isValid() ? d.colour.name() : QString()));
    }
    keys = m_model.lessonTypes.keys();
    std::sort(keys.begin(), keys.end());
    for (const int k : std::as_const(keys))
        add(QString::number(k) + u'|' + m_model.lessonTypes[k].first + u'|'
            + m_model.lessonTypes[k].second);
    for (const auto &[n, t] : m_model.times)
        add(QString::number(n) + u'|' + t.start.toString() + u'|' + t.end.toString());
    for (const QColor &c : m_model.groupColours)
        add(c.isValid() ? c.name() : QString());
    m_shared = hash.result();
}

MadeFile Publisher::makeCalendar(ObjectWords &texts, ObjectFiles &files)
{
    const PublishedKind kind = texts.kind;
    const size_t object = texts.object;
    const PublishedObject &o = m_model.list(kind)[object];
    MadeFile made;
    made.relative = kindFolder(kind) + u'/' + o.file + QStringLiteral(".ics");
    made.state.hash = sourceOf(kind, object, QByteArray("calendar"), m_request.from, m_request.to);
    const auto old = m_old.files.find(made.relative);
    if (old != m_old.files.end() && old->second.hash == made.state.hash && !old->second.gone
        && folderEntry(m_folder, made.relative) == FolderEntry::File)
        return made;
    const Standing now = standing(made.relative);
    if (!now.writable) {
        files.problem = now.problem;
        return made;
    }

    const std::vector<LessonWords> &words = texts.get();
    std::vector<FeedEvent> events;
    const auto &lessons = m_model.lessonsOf(kind, object);
    events.reserve(lessons.size());
    // Day by day, a pair is one event.
    for (size_t day = 0, next = 0; day < lessons.size(); day = next) {
        while (next < lessons.size() && lessons[next].teaching->date == lessons[day].teaching->date)
            ++next;
        for (const LessonRun &run : lessonRuns(m_model, std::span(words).subspan(day, next - day)))
            events.push_back(feedEvent(m_model, kind, object, lessons[day + run.first],
                                       words[day + run.first], run.last, m_new.feed));
    }
    FeedSettings settings;
    settings.name = QStringLiteral("Расписание: ") + o.title;
    settings.zone = m_request.zone;
    settings.rules = m_zone;
    settings.from = m_request.from;
    settings.to = m_request.to;
    settings.now = m_now;
    FeedChanges changes;
    // Each thread keeps the room of its last calendar: files of a megabyte, made hundreds of
    // times, would otherwise be fresh blocks of memory each time.
    thread_local QByteArray content;
    writeFeed(settings, events, now.content, content, &changes);
    files.cancelled = changes.cancelled;
    if (content != now.content) {
        made.changed = true;
        files.problem = stage(made.relative, content);
    }
    return made;
}

// The object's front page when `month` is invalid, else the page of that month.
MadeFile Publisher::makePage(const PageSource &source, ObjectWords &words, const QDate &month,
                             ObjectFiles &files)
{
    const PublishedKind kind = source.kind;
    const size_t object = source.object;
    const std::vector<QDate> &months = source.months;
    const PublishedObject &o = m_model.list(kind)[object];
    MadeFile made;
    made.relative = kindFolder(kind) + u'/'
                    + (month.isValid() ? monthPagePath(o, month) : o.file + QStringLiteral(".html"));
    // A page is made from its lessons and the months it links to; the front page also from
    // the day, which it marks.
    QByteArray page = month.isValid() ? "month " + month.toString(Qt::ISODate).toLatin1()
                                      : "front " + m_request.today.toString(Qt::ISODate).toLatin1();
    for (const QDate &m : months)
        page += ' ' + m.toString(Qt::ISODate).toLatin1();
    std::vector<QDate> weeks;
    if (!month.isValid())
        weeks = frontWeeks(m_model, kind, object, m_request.today);
    const QDate from = month.isValid() ? month : weeks.empty() ? QDate() : weeks.front();
    const QDate to = month.isValid() ? month.addMonths(1).addDays(-1)
                     : weeks.empty() ? QDate()
                                     : weeks.back().addDays(6);
    PublishedFile &state = made.state;
    state.source = sourceOf(kind, object, page, from, to);
    const auto old = m_old.files.find(made.relative);
    const bool known = old != m_old.files.end() && old->second.date.isValid();
    if (known && old->second.source == state.source
        && folderEntry(m_folder, made.relative) == FolderEntry::File) {
        state.hash = old->second.hash;
        state.date = old->second.date;
        return made;
    }
    const Standing now = standing(made.relative);
    if (!now.writable) {
        files.problem = now.problem;
        return made;
    }
    // The page's text and bytes in room each thread keeps from its last page.
    thread_local QString html;
    thread_local QByteArray bytes;
    words.get(); // the words the source refers to
    if (month.isValid())
        writeMonthPage(source, month, html);
    else
        writeObjectPage(source, m_request.today, html);
    QStringEncoder utf8(QStringEncoder::Utf8);
    bytes.resize(utf8.requiredSpace(html.size()));
    bytes.truncate(utf8.appendToBuffer(bytes.data(), html) - bytes.constData());
    state.hash = QString::fromLatin1(
        QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
    state.date = known && old->second.hash == state.hash ? old->second.date : m_request.today;
    bytes.replace(kPublishedMark.toUtf8(), day(state.date).toUtf8());
    if (bytes != now.content) {
        made.changed = true;
        files.problem = stage(made.relative, bytes);
    }
    return made;
}

ObjectFiles Publisher::makeFiles(PublishedKind kind, size_t object)
{
    ObjectFiles files;
    ObjectWords words{m_model, kind, object, {}};
    files.calendar = makeCalendar(words, files);
    const std::vector<QDate> months = pageMonths(m_model, kind, object);
    const PageSource source{m_model, kind, object, words.words, months};
    files.pages.reserve(months.size() + 1);
    for (size_t i = 0; i <= months.size() && files.problem.isEmpty(); ++i)
        files.pages.push_back(makePage(source, words, i == 0 ? QDate() : months[i - 1], files));
    return files;
}

// The files of every object, made on as many threads as the machine has cores: each object's
// files depend only on the model read before, and the results are taken in the objects'
// order, so that the publication is the same however the work was shared. The progress is
// told and a cancel seen on this thread alone. False when the user cancelled.
bool Publisher::makeAllFiles()
{
    std::vector<std::pair<PublishedKind, size_t>> objects;
    for (const PublishedKind kind :
         {PublishedKind::Group, PublishedKind::Tutor, PublishedKind::Auditorium}) {
        for (size_t i = 0; i < m_model.list(kind).size(); ++i)
            objects.emplace_back(kind, i);
    }
    const size_t total = objects.size();
    std::vector<ObjectFiles> made(total);
    std::atomic<size_t> next{0}, done{0};
    std::atomic<bool> stop{false};
    std::mutex failure;
    std::exception_ptr error;
    const auto work = [&] {
        try {
            for (size_t i = next++; i < total && !stop; i = next++) {
                made[i] = makeFiles(objects[i].first, objects[i].second);
                if (!made[i].problem.isEmpty())
                    stop = true;
                ++done;
            }
        } catch (...) {
            const std::lock_guard lock(failure);
            if (!error)
                error = std::current_exception();
            stop = true;
        }
    };

    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> helpers;
    for (unsigned n = 1; n < std::min<size_t>(cores, total); ++n)
        helpers.emplace_back(work);
    bool cancelled = false;
    try {
        // This thread makes files too, telling the progress between objects.
        for (size_t i = next++; i < total && !stop; i = next++) {
            made[i] = makeFiles(objects[i].first, objects[i].second);
            if (!made[i].problem.isEmpty())
                stop = true;
            m_progress.advance(int(++done), int(total));
            if (m_progress.cancelled()) {
                cancelled = true;
                stop = true;
            }
        }
    } catch (...) {
        const std::lock_guard lock(failure);
        if (!error)
            error = std::current_exception();
        stop = true;
    }
    for (std::thread &helper : helpers)
        helper.join();
    if (error)
        std::rethrow_exception(error);
    if (cancelled)
        return false;
    for (const ObjectFiles &files : made) {
        if (!files.problem.isEmpty()) {
            m_problem = files.problem;
            return true;
        }
    }
    m_progress.advance(int(total), int(total));

    for (const ObjectFiles &files : made) {
        take(files.calendar);
        for (const MadeFile &page : files.pages) {
            take(page);
            m_latestPage = std::max(m_latestPage, page.state.date);
        }
        m_result.cancelled += files.cancelled;
    }
    return true;
}

// The index says when the newest of the pages changed; the style sheet of all pages stands
// beside it.
void Publisher::publishIndex()
{
    const QByteArray style = styleSheet(m_model).toUtf8();
    m_new.files[kStyleSheetFile].hash =
        QString::fromLatin1(QCryptographicHash::hash(style, QCryptographicHash::Md5).toHex());
    put(kStyleSheetFile, style);

    const QString relative = QStringLiteral("index.html");
    QByteArray page = indexPage(m_model).toUtf8();
    PublishedFile &state = m_new.files[relative];
    state.hash = QString::fromLatin1(QCryptographicHash::hash(page, QCryptographicHash::Md5).toHex());
    const auto old = m_old.files.find(relative);
    if (old != m_old.files.end() && old->second.hash == state.hash)
        m_latestPage = std::max(m_latestPage, old->second.date);
    else
        m_latestPage = m_request.today;
    state.date = m_latestPage;
    put(relative, page.replace(kPublishedMark.toUtf8(), day(state.date).toUtf8()));
}

// Files of objects that are gone: a page goes at once, a calendar first tells its readers
// that every lesson in it is cancelled and goes with the next publication.
void Publisher::retireFiles()
{
    for (const auto &[relative, old] : m_old.files) {
        if (m_new.files.count(relative))
            continue;
        const QString path = target(relative);
        const FolderEntry entry = folderEntry(m_folder, relative);
        if (entry == FolderEntry::Missing)
            continue;
        if (entry != FolderEntry::File) {
            m_result.warnings << QStringLiteral("«%1» больше не файл публикации (его заменили "
                                                "ссылкой или папкой); оставлен как есть")
                                     .arg(path);
            continue;
        }
        if (relative.endsWith(QStringLiteral(".ics")) && !old.gone) {
            FeedSettings settings;
            settings.name = QStringLiteral("Расписание (больше не публикуется)");
            settings.zone = m_request.zone;
            settings.rules = m_zone;
            settings.from = m_request.from;
            settings.to = m_request.to;
            settings.now = m_now;
            settings.gone = true;
            FeedChanges changes;
            put(relative, writeFeed(settings, {}, readWholeFile(path), &changes));
            m_result.cancelled += changes.cancelled;
            PublishedFile &state = m_new.files[relative];
            state.gone = true;
        } else {
            m_removed << relative;
        }
    }
}

QString Publisher::moveIntoPlace()
{
    namespace fs = std::filesystem;
    const QString staging = m_staging->path();
    std::error_code error;
    std::set<QString> folders; // made or found already
    for (const QString &relative : m_changed) {
        const QString to = target(relative);
        if (folderEntry(m_folder, relative) == FolderEntry::OutsidePath)
            return QStringLiteral("Файл «%1» не записан: путь к нему ведёт через ссылку или "
                                  "файл за пределы папки публикации")
                .arg(to);
        const QString folder = QFileInfo(to).absolutePath();
        if (folders.insert(folder).second && !QDir().mkpath(folder))
            return QStringLiteral("Не удалось создать папку «%1»").arg(folder);
        fs::rename(fs::path(QFile::encodeName(staging + u'/' + relative).toStdString()),
                   fs::path(QFile::encodeName(to).toStdString()), error);
        if (error)
            return QStringLiteral("Не удалось записать файл «%1»: %2")
                .arg(to, QString::fromLocal8Bit(error.message().c_str()));
    }
    fs::rename(fs::path(QFile::encodeName(staging + u'/' + kPublishRecordFile).toStdString()),
               fs::path(QFile::encodeName(target(kPublishRecordFile)).toStdString()), error);
    for (const QString &relative : std::as_const(m_removed)) {
        if (folderEntry(m_folder, relative) != FolderEntry::File)
            continue; // replaced by something else since it was looked at
        QFile::remove(target(relative));
        QDir(m_folder).rmpath(QFileInfo(relative).path()); // only when left empty
    }
    return QString();
}

// Everything is written beside the folder first (the files as they were made); only then is
// it renamed into place.
QString Publisher::write()
{
    const QString cannot = QStringLiteral("Нет доступа на запись в папку «%1»").arg(m_folder);
    const QByteArray stateText = m_new.text();
    if (const QString problem = stage(kPublishRecordFile, stateText); !problem.isEmpty())
        return problem;
    if (!m_folderExisted) {
        QFile::remove(m_staging->path() + u'/' + kStagingOwnerFile);
        if (!QDir().rename(m_staging->path(), m_folder))
            return cannot;
        m_staging->setAutoRemove(false);
        return QString();
    }
    if (!QFileInfo(m_folder).isWritable())
        return cannot;
    return moveIntoPlace();
}

PublishResult Publisher::run()
{
    if (!m_request.from.isValid() || !m_request.to.isValid() || m_request.from > m_request.to) {
        m_result.problem = QStringLiteral("Начало периода позже его конца");
        return m_result;
    }
    m_folder = QFileInfo(m_request.folder).absoluteFilePath();
    const QFileInfo folder(m_folder);
    if (folder.exists() && !folder.isDir()) {
        m_result.problem = QStringLiteral("«%1» - не папка").arg(m_folder);
        return m_result;
    }
    // A folder to be made under a file cannot be.
    for (QFileInfo above(folder.absolutePath()); !folder.exists();
         above = QFileInfo(above.absolutePath())) {
        if (above.exists()) {
            if (!above.isDir()) {
                m_result.problem =
                    QStringLiteral("Не удалось создать папку «%1»").arg(folder.absolutePath());
                return m_result;
            }
            break;
        }
        if (above.isRoot())
            break;
    }
    removeLeftoverStaging(m_folder);
    m_progress.status(QStringLiteral("Публикация расписания"));
    m_model = readPublishModel(m_db, m_request.from, m_request.to, m_request.workDays);
    if (m_model.teachings.empty()) {
        m_result.problem = QStringLiteral("В периоде %1 - %2 нет ни одного занятия; ничего "
                                          "не опубликовано")
                               .arg(day(m_request.from), day(m_request.to));
        return m_result;
    }
    m_old = PublishRecord::read(target(kPublishRecordFile), m_result.warnings);
    m_new.feed = m_old.feed.isEmpty()
                     ? QUuid::createUuid().toString(QUuid::WithoutBraces)
                     : m_old.feed;

    hashShared();
    m_zone = std::make_shared<const FeedZone>(
        feedZone(m_request.zone, m_request.from, m_request.to));
    m_now = m_request.now.toUTC();
    if (!makeAllFiles()) {
        m_result.problem = QStringLiteral("Публикация прервана; в папке всё осталось как было");
        return m_result;
    }
    publishIndex();
    // A publication that cannot be written has not made all its files: the rest are not gone.
    if (m_problem.isEmpty())
        retireFiles();
    if (!m_problem.isEmpty()) {
        m_result.problem = m_problem;
        return m_result;
    }
    if (!m_foreign.isEmpty()) {
        m_result.foreign = m_foreign;
        m_result.foreign.sort();
        m_result.problem = QStringLiteral("В папке «%1» есть файлы, которые записала не эта "
                                          "программа: %2. Они оставлены как есть; расписание "
                                          "не опубликовано")
                               .arg(m_folder, listedNames(m_foreign));
        return m_result;
    }

    if (!m_changed.empty() || !m_removed.isEmpty()
        || m_new.text() != readWholeFile(target(kPublishRecordFile))) {
        m_progress.status(QStringLiteral("Запись файлов"));
        if (const QString problem = write(); !problem.isEmpty()) {
            m_result.problem = problem;
            return m_result;
        }
    }
    for (const QString &relative : m_changed)
        m_result.written << relative;
    m_result.removed = m_removed;
    m_result.groups = int(m_model.list(PublishedKind::Group).size());
    m_result.tutors = int(m_model.list(PublishedKind::Tutor).size());
    m_result.auditoriums = int(m_model.list(PublishedKind::Auditorium).size());
    m_result.untimedLessons = m_model.untimedLessons();
    m_result.untimedCount = m_model.untimedCount();
    m_result.done = true;
    m_progress.status(QString());
    return m_result;
}

QString documentKey(const QString &path)
{
    const QFileInfo file(path);
    const QString canonical = file.canonicalFilePath();
    return QString::fromLatin1(
        QCryptographicHash::hash((canonical.isEmpty() ? file.absoluteFilePath() : canonical)
                                     .toUtf8(),
                                 QCryptographicHash::Sha1)
            .toHex());
}

} // namespace

QString PublishResult::summary() const
{
    QString text = QStringLiteral("опубликовано: %1, %2, %3; изменено файлов: %4")
                       .arg(counted(groups, "группа", "группы", "групп"),
                            counted(tutors, "преподаватель", "преподавателя", "преподавателей"),
                            counted(auditoriums, "аудитория", "аудитории", "аудиторий"))
                       .arg(written.size() + removed.size());
    if (cancelled > 0)
        text += QStringLiteral("; отменено занятий: %1").arg(cancelled);
    if (!untimedLessons.empty()) {
        QStringList numbers;
        for (const int n : untimedLessons)
            numbers << QString::number(n);
        text += QStringLiteral("\nзанятий без времени урока: %1 (уроки %2) - опубликованы как "
                               "события на весь день")
                    .arg(untimedCount)
                    .arg(numbers.join(QStringLiteral(", ")));
    }
    return text;
}

std::pair<QDate, QDate> defaultPublishPeriod(const Database &db, const QDate &today)
{
    const Recordset rs = db.openRecordset(
        QStringLiteral("SELECT tblAutoTable.DateStart, tblAutoTable.DateEnd FROM tblAutoTable "
                       "WHERE (((tblAutoTable.DateType)='Session'));"));
    if (!rs.isEmpty() && rs.value(0).toDate().isValid() && rs.value(1).toDate().isValid()
        && rs.value(0).toDate() <= rs.value(1).toDate())
        return {rs.value(0).toDate(), rs.value(1).toDate()};
    const QDate start(today.month() > 8 ? today.year() : today.year() - 1, 9, 1);
    return {start, start.addYears(1).addDays(-1)};
}

PublishResult publishTimetable(const Database &db, const PublishRequest &request,
                               Progress &progress)
{
    return Publisher(db, request, progress).run();
}

QString publishFolder(const SettingsStore &settings, const QString &documentPath)
{
    if (documentPath.isEmpty())
        return QString();
    return settings.readText(QStringLiteral("Publish"), documentKey(documentPath), QString());
}

void setPublishFolder(SettingsStore &settings, const QString &documentPath, const QString &folder)
{
    if (!documentPath.isEmpty())
        settings.write(QStringLiteral("Publish"), documentKey(documentPath), folder);
}

} // namespace korvesta
