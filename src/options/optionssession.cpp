#include "optionssession.h"

#include "optionsrules.h"

#include "data/calendar.h"
#include "data/documentsession.h"
#include "data/history.h"
#include "data/isodate.h"
#include "data/prompts.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "editing/documentchange.h"
#include "settings/settingsstore.h"

namespace korvesta {

namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kFaculty = QStringLiteral("Faculty");
const QString kDiscType = QStringLiteral("DiscType");
const QString kCrLf = QStringLiteral("\r\n");
// The first row of each type list stands for "no type": records entered without one get it.
constexpr int kNoTypeKey = 1;
const QString kLateStart = QStringLiteral("Дата начала учебного периода позже даты окончания");

QString dayText(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

int keyOf(const Recordset &rs)
{
    return rs.value(QStringLiteral("Key")).toInt();
}

} // namespace

OptionsSession::OptionsSession(DocumentSession &session, SettingsStore &store,
                               SettingsRecord &record, Prompts &prompts)
    : m_session(session)
    , m_store(store)
    , m_record(record)
    , m_prompts(prompts)
{}

OptionsSession::~OptionsSession() = default;

template<typename T>
T OptionsSession::read(T failed, const std::function<T(const Database &)> &work)
{
    return runDocumentChange<T>(m_session, m_prompts, failed, work);
}

// One change of the document: one step of its history, in one transaction.
template<typename T>
T OptionsSession::change(T failed, const QString &caption,
                         const std::function<T(const Database &)> &work)
{
    return runDocumentChange<T>(m_session, m_prompts, failed, [&](const Database &db) {
        const History::Step step(db, caption);
        Database::Transaction transaction(db);
        T result = work(db);
        transaction.commit();
        return result;
    });
}

// Faculties and specializations.

std::vector<OptionsSession::ListItem> OptionsSession::faculties()
{
    return read<std::vector<ListItem>>({}, [&](const Database &db) {
        std::vector<ListItem> items;
        for (Recordset rs = db.openRecordset(QStringLiteral(
                 "SELECT tblTypeFaculty.* FROM tblTypeFaculty ORDER BY tblTypeFaculty.Key;"));
             !rs.isEof(); rs.moveNext()) {
            const int key = keyOf(rs);
            items.push_back({key, rs.value(QStringLiteral("TypeFaculty")).toString(),
                             m_store.readBool(kFaculty, QString::number(key), true)});
        }
        return items;
    });
}

std::vector<OptionsSession::ListItem> OptionsSession::specializations()
{
    return read<std::vector<ListItem>>({}, [&](const Database &db) {
        std::vector<ListItem> items;
        for (Recordset rs = db.openRecordset(QStringLiteral(
                 "SELECT tblDiscType.* FROM tblDiscType ORDER BY tblDiscType.Priory;"));
             !rs.isEof(); rs.moveNext()) {
            const int key = keyOf(rs);
            const bool visible = rs.value(QStringLiteral("Visible")).toBool();
            items.push_back({key, rs.value(QStringLiteral("Type")).toString(),
                             m_store.readBool(kDiscType, QString::number(key), visible)});
        }
        return items;
    });
}

bool OptionsSession::addListRow(const QString &name, bool faculty)
{
    const QString text = name.trimmed();
    const QString title = faculty ? QStringLiteral("Добавление факультета")
                                  : QStringLiteral("Добавление специализации");
    if (text.isEmpty()) {
        m_prompts.message(faculty ? QStringLiteral("Введите название факультета")
                                  : QStringLiteral("Введите название специализации"),
                          Prompts::Icon::Warning, title);
        return false;
    }
    const std::vector<ListItem> items = faculty ? faculties() : specializations();
    for (const ListItem &item : items) {
        if (item.text.trimmed().compare(text, Qt::CaseInsensitive) == 0) {
            m_prompts.message(faculty ? QStringLiteral("Такой факультет уже имеется в списке")
                                      : QStringLiteral("Такая специализация уже имеется в списке"),
                              Prompts::Icon::Warning, title);
            return false;
        }
    }
    const QString caption = (faculty ? QStringLiteral("добавление факультета ")
                                     : QStringLiteral("добавление специализации "))
                            + text;
    return change<bool>(false, caption, [&](const Database &db) {
        if (faculty)
            db.execute(QStringLiteral("INSERT INTO tblTypeFaculty (TypeFaculty, Visible) "
                                      "VALUES (%1, True);")
                           .arg(sqlText(text)));
        else
            db.execute(QStringLiteral("INSERT INTO tblDiscType (Type, Priory, Visible) "
                                      "VALUES (%1, %2, True);")
                           .arg(sqlText(text))
                           .arg(items.size() + 1));
        return true;
    });
}

bool OptionsSession::addFaculty(const QString &name)
{
    return addListRow(name, true);
}

bool OptionsSession::addSpecialization(const QString &name)
{
    return addListRow(name, false);
}

bool OptionsSession::deleteListRow(int key, bool faculty)
{
    const QString title =
        faculty ? QStringLiteral("Удаление факультета") : QStringLiteral("Удаление специализации");
    QString name;
    for (const ListItem &item : faculty ? faculties() : specializations()) {
        if (item.key == key)
            name = item.text;
    }
    if (name.isNull())
        return false;
    const int users = read<int>(-1, [&](const Database &db) {
        return db
            .openRecordset(faculty ? QStringLiteral("SELECT tblGroups.Group FROM tblGroups "
                                                    "WHERE (((tblGroups.Key_TypeFaculty)=%1));")
                                         .arg(key)
                                   : QStringLiteral("SELECT tblDisciplines.DiscType FROM "
                                                    "tblDisciplines WHERE "
                                                    "(((tblDisciplines.DiscType)=%1));")
                                         .arg(key))
            .recordCount();
    });
    if (users < 0)
        return false;
    if (users > 0 || key == kNoTypeKey) {
        QString reason;
        if (faculty)
            reason = QStringLiteral("Факультет ") + name + kCrLf
                     + (users > 0 ? QStringLiteral("связан с %1 учебными группами").arg(users)
                                  : QStringLiteral("назначается группам без факультета"));
        else
            reason = QStringLiteral("В специализацию ") + name + kCrLf
                     + (users > 0 ? QStringLiteral("уже включено %1 дисциплин").arg(users)
                                  : QStringLiteral("включаются дисциплины без специализации"));
        m_prompts.message(QStringLiteral("Операция отменена:") + kCrLf + kCrLf + reason + kCrLf
                              + kCrLf
                              + (faculty ? QStringLiteral("Возможно удаление только "
                                                          "неиспользуемого факультета")
                                         : QStringLiteral("Возможно удаление только "
                                                          "неиспользуемой специализации")),
                          Prompts::Icon::Critical, title);
        return false;
    }
    const QString caption = (faculty ? QStringLiteral("удаление факультета ")
                                     : QStringLiteral("удаление специализации "))
                            + name;
    const bool done = change<bool>(false, caption, [&](const Database &db) {
        if (faculty) {
            db.execute(QStringLiteral("DELETE * FROM tblTypeFaculty "
                                      "WHERE (((tblTypeFaculty.Key)=%1));")
                           .arg(key));
            return true;
        }
        Recordset rs = db.openRecordset(QStringLiteral("SELECT tblDiscType.Priory FROM tblDiscType "
                                                       "WHERE (((tblDiscType.Key)=%1));")
                                            .arg(key));
        const QVariant priory = rs.isEmpty() ? QVariant() : rs.value(0);
        db.execute(
            QStringLiteral("DELETE * FROM tblDiscType WHERE (((tblDiscType.Key)=%1));").arg(key));
        // Priorities stay 1..n without gaps.
        if (priory.isValid())
            db.execute(QStringLiteral("UPDATE tblDiscType SET tblDiscType.Priory = "
                                      "[tblDiscType].[Priory]-1 "
                                      "WHERE (((tblDiscType.Priory)>%1));")
                           .arg(priory.toLongLong()));
        return true;
    });
    if (done) {
        const QString section = faculty ? kFaculty : kDiscType;
        const QString entry = QString::number(key);
        const QString missing = QStringLiteral("xx");
        if (m_store.readText(section, entry, missing) != missing)
            m_store.remove(section, entry);
    }
    return done;
}

bool OptionsSession::deleteFaculty(int key)
{
    return deleteListRow(key, true);
}

bool OptionsSession::deleteSpecialization(int key)
{
    return deleteListRow(key, false);
}

void OptionsSession::setFacultyChecked(int key, bool checked)
{
    writeBool(kFaculty, QString::number(key), checked);
}

void OptionsSession::setSpecializationChecked(int key, bool checked)
{
    writeBool(kDiscType, QString::number(key), checked);
}

// Lesson times.

std::vector<OptionsSession::LessonTime> OptionsSession::lessonTimes(int lessonsInDay,
                                                                    int lessonsInPeriod)
{
    std::vector<LessonTime> lessons;
    for (int n = 1; n <= lessonsInDay; ++n)
        lessons.push_back({n, options::lessonInShift(n, lessonsInPeriod), QString()});
    read<bool>(false, [&](const Database &db) {
        for (Recordset rs = db.openRecordset(QStringLiteral(
                 "SELECT tblTimeLesson.* FROM tblTimeLesson ORDER BY tblTimeLesson.Lesson;"));
             !rs.isEof(); rs.moveNext()) {
            const int n = rs.value(QStringLiteral("Lesson")).toInt();
            if (n >= 1 && n <= lessonsInDay && lessons[size_t(n - 1)].time.isEmpty())
                lessons[size_t(n - 1)].time = rs.value(QStringLiteral("TimeLesson")).toString();
        }
        return true;
    });
    return lessons;
}

bool OptionsSession::setLessonTime(int lesson, const QString &time)
{
    const QString text = time.trimmed();
    const QString caption = text.isEmpty()
                                ? QStringLiteral("удаление времени занятия %1").arg(lesson)
                                : QStringLiteral("время занятия %1: %2").arg(lesson).arg(text);
    return change<bool>(false, caption, [&](const Database &db) {
        Recordset rs = db.openRecordset(QStringLiteral("SELECT tblTimeLesson.* FROM tblTimeLesson "
                                                       "WHERE (((tblTimeLesson.Lesson)=%1));")
                                            .arg(lesson));
        // A new document has no times yet: a lesson gets its row with its first time.
        if (rs.isEmpty()) {
            if (text.isEmpty())
                return true;
            rs.addNew();
            rs.setValue(QStringLiteral("Lesson"), lesson);
        } else {
            rs.edit();
        }
        rs.setValue(QStringLiteral("TimeLesson"), text.isEmpty() ? QVariant() : QVariant(text));
        rs.update();
        return true;
    });
}

// The study period and the holidays.

std::optional<OptionsSession::Period> OptionsSession::storedStudyPeriod()
{
    return read<std::optional<Period>>(std::nullopt, [&](const Database &db) {
        Recordset rs = db.openRecordset(QStringLiteral(
            "SELECT tblAutoTable.DateType, tblAutoTable.DateStart, tblAutoTable.DateEnd "
            "FROM tblAutoTable WHERE (((tblAutoTable.DateType)='Session'));"));
        if (rs.isEmpty())
            return std::optional<Period>();
        return std::optional<Period>(Period{dateOf(rs.value(QStringLiteral("DateStart"))),
                                            dateOf(rs.value(QStringLiteral("DateEnd")))});
    });
}

OptionsSession::Period OptionsSession::studyPeriod(const QDate &today)
{
    Period period{academicYearStart(today), today};
    if (const std::optional<Period> stored = storedStudyPeriod()) {
        if (stored->start.isValid())
            period.start = stored->start;
        if (stored->end.isValid())
            period.end = stored->end;
    }
    return period;
}

bool OptionsSession::setStudyPeriod(const Period &study)
{
    if (!study.start.isValid() || !study.end.isValid() || study.start > study.end) {
        m_prompts.message(kLateStart, Prompts::Icon::Warning, QStringLiteral("Настройки"));
        return false;
    }
    const std::optional<Period> stored = storedStudyPeriod();
    if (stored && stored->start == study.start && stored->end == study.end)
        return true;
    return change<bool>(false,
                        QStringLiteral("учебный период ") + dayText(study.start)
                            + QStringLiteral(" - ") + dayText(study.end),
                        [&](const Database &db) {
                            Recordset rs = db.openRecordset(
                                QStringLiteral("SELECT tblAutoTable.* FROM tblAutoTable "
                                               "WHERE (((tblAutoTable.DateType)='Session'));"));
                            if (rs.isEmpty()) {
                                rs.addNew();
                                rs.setValue(QStringLiteral("DateType"), QStringLiteral("Session"));
                            } else {
                                rs.edit();
                            }
                            rs.setValue(QStringLiteral("DateStart"), study.start);
                            rs.setValue(QStringLiteral("DateEnd"), study.end);
                            rs.update();
                            return true;
                        });
}

QString OptionsSession::Holiday::itemKey() const
{
    return (rest ? QStringLiteral("re") : QStringLiteral("se")) + QString::number(key);
}

QString OptionsSession::Holiday::text() const
{
    return rest ? dayText(start) + QStringLiteral(" - ") + dayText(end) : dayText(start);
}

std::vector<OptionsSession::Holiday> OptionsSession::holidays()
{
    return read<std::vector<Holiday>>({}, [&](const Database &db) {
        std::vector<Holiday> list;
        for (const char *kind : {"Rest", "Selebrate"}) {
            for (Recordset rs =
                     db.openRecordset(QStringLiteral("SELECT tblAutoTable.* FROM tblAutoTable "
                                                     "WHERE (((tblAutoTable.DateType) LIKE '%1*')) "
                                                     "ORDER BY tblAutoTable.DateStart;")
                                          .arg(QLatin1String(kind)));
                 !rs.isEof(); rs.moveNext()) {
                Holiday h;
                h.key = keyOf(rs);
                h.rest = kind[0] == 'R';
                h.start = dateOf(rs.value(QStringLiteral("DateStart")));
                h.end = h.rest ? dateOf(rs.value(QStringLiteral("DateEnd"))) : h.start;
                if (!h.end.isValid())
                    h.end = h.start;
                list.push_back(h);
            }
        }
        return list;
    });
}

bool OptionsSession::addHoliday(const QDate &firstDay, const QDate &lastDay, const Period &study)
{
    if (!firstDay.isValid() || !lastDay.isValid())
        return false;
    const QDate first = std::min(firstDay, lastDay);
    const QDate last = std::max(firstDay, lastDay);
    const QString title = QStringLiteral("Каникулы и праздники");
    if (first.daysTo(last) + 1 > options::kLongestHoliday) {
        m_prompts.message(
            QStringLiteral("Каждый период не более %1 дней").arg(options::kLongestHoliday),
            Prompts::Icon::Warning, title);
        return false;
    }
    if (study.start.isValid() && study.end.isValid() && (first < study.start || last > study.end)) {
        m_prompts.message(QStringLiteral("Каникулы и праздники указываются внутри учебного "
                                         "периода %1 - %2")
                              .arg(dayText(study.start), dayText(study.end)),
                          Prompts::Icon::Warning, title);
        return false;
    }
    const bool overlaps =
        read<int>(-1,
                  [&](const Database &db) {
                      for (Recordset rs = db.openRecordset(QStringLiteral(
                               "SELECT tblAutoTable.* FROM tblAutoTable "
                               "WHERE (((tblAutoTable.DateType) Not LIKE 'Year'));"));
                           !rs.isEof(); rs.moveNext()) {
                          // The study period holds the holidays; it is not one of them.
                          if (rs.value(QStringLiteral("DateType"))
                                  .toString()
                                  .compare(QStringLiteral("Session"), Qt::CaseInsensitive)
                              == 0)
                              continue;
                          const QDate start = dateOf(rs.value(QStringLiteral("DateStart")));
                          QDate end = dateOf(rs.value(QStringLiteral("DateEnd")));
                          if (!end.isValid())
                              end = start;
                          if (start.isValid() && first <= end && last >= start)
                              return 1;
                      }
                      return 0;
                  })
        != 0;
    if (overlaps) {
        m_prompts.message(QStringLiteral("Пересекающиеся периоды"), Prompts::Icon::Warning, title);
        return false;
    }
    const bool oneDay = first == last;
    const QString caption = oneDay ? QStringLiteral("праздник ") + dayText(first)
                                   : QStringLiteral("каникулы ") + dayText(first)
                                         + QStringLiteral(" - ") + dayText(last);
    return change<bool>(false, caption, [&](const Database &db) {
        Recordset rs = db.openRecordset(
            QStringLiteral("SELECT tblAutoTable.* FROM tblAutoTable WHERE False;"));
        rs.addNew();
        rs.setValue(QStringLiteral("DateType"),
                    oneDay ? QStringLiteral("Selebrate") : QStringLiteral("Rest"));
        rs.setValue(QStringLiteral("DateStart"), first);
        if (!oneDay)
            rs.setValue(QStringLiteral("DateEnd"), last);
        rs.update();
        return true;
    });
}

bool OptionsSession::deleteHoliday(int key)
{
    return change<bool>(false, QStringLiteral("удаление праздника"), [&](const Database &db) {
        db.execute(QStringLiteral("DELETE * FROM tblAutoTable WHERE (((tblAutoTable.Key)=%1) "
                                  "AND ((tblAutoTable.DateType) LIKE 'Rest*' "
                                  "Or (tblAutoTable.DateType) LIKE 'Selebrate*'));")
                       .arg(key));
        return true;
    });
}

// Protection.

bool OptionsSession::wrongPassword()
{
    m_prompts.message(QStringLiteral("Неверный пароль"), Prompts::Icon::Critical);
    return m_record.SaveCurrTable;
}

bool OptionsSession::setProtection(bool on)
{
    const std::optional<QString> password =
        on ? m_prompts.askPassword(QStringLiteral("Укажите пароль для ограничения доступа") + kCrLf
                                   + QStringLiteral("к редактированию расписания"))
           : m_prompts.askPassword(QStringLiteral("Введите пароль для отмены ограничения") + kCrLf
                                   + QStringLiteral("редактирования расписания"));
    if (!password)
        return m_record.SaveCurrTable;
    // A server document keeps the password for every planner, and the server checks it: one
    // it has already must be given to turn protection on again, and to turn it off.
    enum class Kept { Failed, Wrong, Done, ByUser };
    const auto keep = [&](const Database &db) {
        if (!db.keepsEditPassword())
            return Kept::ByUser;
        bool right = false;
        if (on && !db.hasEditPassword())
            right = db.changeEditPassword(QString(), *password);
        else if (on)
            right = db.giveEditPassword(*password);
        else
            right = db.changeEditPassword(*password, QString());
        return right ? Kept::Done : Kept::Wrong;
    };
    const Kept kept =
        m_session.currentPath().isEmpty() ? Kept::ByUser : read<Kept>(Kept::Failed, keep);
    if (kept == Kept::Failed)
        return m_record.SaveCurrTable;
    if (kept == Kept::ByUser && !on
        && *password != m_store.readText(kSettings, QStringLiteral("AccessEditPwd"), QString()))
        return wrongPassword();
    if (kept == Kept::Wrong)
        return wrongPassword();
    if (kept == Kept::ByUser)
        write(kSettings, QStringLiteral("AccessEditPwd"), on ? *password : QString());
    writeBool(kSettings, QStringLiteral("SaveCurrTable"), on);
    m_record.SaveCurrTable = on;
    return on;
}

int OptionsSession::protectAll(const std::function<void(int, int)> &progress)
{
    if (m_session.currentPath().isEmpty())
        return 0;
    const int done =
        change<int>(-1, QStringLiteral("защита всего расписания"), [&](const Database &db) {
            Recordset rs =
                db.openRecordset(QStringLiteral("SELECT tblTimeTableList.* FROM tblTimeTableList "
                                                "WHERE (((tblTimeTableList.ReadOnly)=False));"));
            const int total = rs.recordCount();
            int count = 0;
            for (; !rs.isEof(); rs.moveNext()) {
                rs.edit();
                rs.setValue(QStringLiteral("ReadOnly"), true);
                rs.update();
                ++count;
                if (progress)
                    progress(count, total);
            }
            return count;
        });
    if (done == 0)
        m_prompts.message(QStringLiteral("Все даты расписания уже защищены"),
                          Prompts::Icon::Information);
    else if (done > 0)
        m_prompts.message(QStringLiteral("Защищено дат расписания: %1").arg(done),
                          Prompts::Icon::Information);
    return std::max(done, 0);
}

// Settings written at once.

void OptionsSession::write(const QString &section, const QString &key, const QString &value)
{
    m_store.write(section, key, value);
}

void OptionsSession::writeBool(const QString &section, const QString &key, bool value)
{
    write(section, key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

void OptionsSession::setLevelColour(int level, quint32 colour)
{
    write(kSettings, QStringLiteral("LevelDiff_%1").arg(level), QString::number(colour));
}

bool OptionsSession::setDisplayDefault(int item, const std::array<bool, 6> &boxes, bool showTime)
{
    const int code = options::displayCode(boxes);
    if (!options::isShownCode(code)) {
        m_prompts.message(QStringLiteral("Такое сочетание расписание показать не может.") + kCrLf
                              + QStringLiteral("Выберите другое сочетание"),
                          Prompts::Icon::Warning, QStringLiteral("Что отображать в расписании"));
        return false;
    }
    write(kSettings, QStringLiteral("DisplayTextDefault%1").arg(item), QString::number(code));
    writeBool(kSettings, QStringLiteral("ShowTimeLesson"), showTime);
    m_record.ShowTimeLesson = showTime;
    return true;
}

// Apply.

std::optional<options::Refusal> OptionsSession::apply(const SettingsRecord &edited,
                                                      const Period &study)
{
    const QString title = QStringLiteral("Настройки");
    if (std::optional<options::Refusal> refusal = options::checkNorms(edited)) {
        m_prompts.message(refusal->text, Prompts::Icon::Warning, title);
        return refusal;
    }
    if (!setStudyPeriod(study))
        return options::Refusal{QStringLiteral("DTPickerStart"), kLateStart};
    m_record = edited;
    m_record.save(m_store);
    return std::nullopt;
}

bool exportColors(const SettingsStore &store)
{
    return store.readBool(kSettings, QStringLiteral("ExportColor"), true);
}

void setExportColors(SettingsStore &store, bool on)
{
    store.writeBool(kSettings, QStringLiteral("ExportColor"), on);
}

} // namespace korvesta
