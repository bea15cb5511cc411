#pragma once

#include "settings/settingsrecord.h"

#include <QDate>
#include <QString>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace korvesta {

class Database;
class DocumentSession;
class Prompts;
class SettingsStore;

namespace options {
struct Refusal;
}

// What the options dialog does to the settings store and the document, without the dialog.
//
// The lists of the document (faculties, specializations, lesson times, holidays) and the
// choices that take effect at once (checks of the lists, colours, the display defaults,
// protection) are written as the user makes them, each change of the document one step of
// its history, and stay: "Отмена" only leaves the record's fields unwritten. "Применить"
// writes the record and the study period.
class OptionsSession
{
public:
    OptionsSession(DocumentSession &session, SettingsStore &store, SettingsRecord &record,
                   Prompts &prompts);
    ~OptionsSession();
    OptionsSession(const OptionsSession &) = delete;
    OptionsSession &operator=(const OptionsSession &) = delete;

    SettingsStore &store() { return m_store; }
    const SettingsRecord &record() const { return m_record; }

    // A faculty or specialization: its Key, its name and whether it is checked.
    struct ListItem
    {
        int key = 0;
        QString text;
        bool checked = true;
    };
    // Empty when the document cannot be read (the user has been told).
    std::vector<ListItem> faculties();
    std::vector<ListItem> specializations(); // by priority
    // False when refused (the user has been told why) or the document failed.
    bool addFaculty(const QString &name);
    bool deleteFaculty(int key);
    void setFacultyChecked(int key, bool checked);
    bool addSpecialization(const QString &name);
    bool deleteSpecialization(int key);
    void setSpecializationChecked(int key, bool checked);

    // A lesson of the day, its number within its shift and its clock time.
    struct LessonTime
    {
        int lesson = 0;
        int inShift = 0;
        QString time;
    };
    // Lessons 1 to lessonsInDay, each with the time the document holds for it (empty when
    // none).
    std::vector<LessonTime> lessonTimes(int lessonsInDay, int lessonsInPeriod);
    // An empty text clears the time.
    bool setLessonTime(int lesson, const QString &time);

    struct Period
    {
        QDate start;
        QDate end;
    };
    // The study period of the document; without one, the academic year so far.
    Period studyPeriod(const QDate &today = QDate::currentDate());
    // The one the document holds; nothing when it has none (or cannot be read).
    std::optional<Period> storedStudyPeriod();
    // Writes the study period (refused with a message when it ends before it starts).
    bool setStudyPeriod(const Period &study);

    // A vacation (two dates) or a holiday (one).
    struct Holiday
    {
        int key = 0;
        bool rest = false;
        QDate start;
        QDate end;
        // "re" or "se" followed by the Key.
        QString itemKey() const;
        QString text() const;
    };
    std::vector<Holiday> holidays();
    // One day becomes a holiday, a longer range a vacation. Refused: a range past
    // kLongestHoliday days, one outside the study period given (the one the dialog shows),
    // one that meets another holiday or vacation.
    bool addHoliday(const QDate &first, const QDate &last, const Period &study);
    bool deleteHoliday(int key);

    // The protection of the timetable, turned on (a password asked and kept) or off (under
    // that password). Returns the state it ends in.
    bool setProtection(bool on);
    // Protects every date of the timetable; progress(done, total) after each. The number of
    // dates protected.
    int protectAll(const std::function<void(int, int)> &progress = {});

    // Writes a setting of the store at once.
    void write(const QString &section, const QString &key, const QString &value);
    void writeBool(const QString &section, const QString &key, bool value);

    // A colour of the difficulty levels, stored at once.
    void setLevelColour(int level, quint32 colour);
    // The display default of a timetable item (0 day, 1 week, 2 work schedule) from the
    // boxes, and whether the lesson time is shown. Refused with a message when the
    // timetable cannot show that combination.
    bool setDisplayDefault(int item, const std::array<bool, 6> &boxes, bool showTime);

    // Checks the record's norms and the study period, then writes both. The refusal when a
    // norm is out of bounds (nothing is written).
    std::optional<options::Refusal> apply(const SettingsRecord &edited, const Period &study);

private:
    // Says so and keeps the protection as it is.
    bool wrongPassword();
    template<typename T>
    T change(T failed, const QString &caption, const std::function<T(const Database &)> &work);
    template<typename T>
    T read(T failed, const std::function<T(const Database &)> &work);
    bool deleteListRow(int key, bool faculty);
    bool addListRow(const QString &name, bool faculty);

    DocumentSession &m_session;
    SettingsStore &m_store;
    SettingsRecord &m_record; // the window's record: written on apply
    Prompts &m_prompts;
};

// Whether exported cells keep their colours ("Отображать цвета", setting ExportColor; true
// when missing).
bool exportColors(const SettingsStore &store);
void setExportColors(SettingsStore &store, bool on);

} // namespace korvesta
