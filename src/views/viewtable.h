#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <span>

namespace korvesta {

// One view of the main grid: the item of a navigation-bar section that shows it.
struct ViewEntry
{
    int section;
    int item;
    const char *key;         // view key; empty for the one view without a key (53)
    QString caption;         // as the navigation bar shows it, "\n" between its lines
    const char *menuKey;     // entry of the section toolbar's drop-down; empty: none
    QString menuCaption;

    // Section × 10 + item; the section and item numbers joined as digits.
    int code() const { return section * 10 + item; }
    bool hasMenuEntry() const { return menuKey[0] != '\0'; }
};

// One section of the navigation bar, with its section-toolbar button.
struct SectionEntry
{
    QString buttonCaption;   // navigation bar ("ГРУППЫ")
    QString viewMenuCaption; // menu "Вид" ("Группы")
    const char *toolbarKey;  // section toolbar button key ("ButtonGroups")
    QString toolbarCaption;  // "Группы"
    const char *icon;        // icon key of the section
};

// The fixed table of sections and views the navigation bar, the "Вид" menu and the section
// toolbar are built from.
class ViewTable
{
public:
    static constexpr int SectionCount = 6;
    static constexpr int MaxItems = 6;

    static std::span<const SectionEntry> sections();
    static const SectionEntry &section(int section);
    // The items of a section in order; empty for a section out of range.
    static std::span<const ViewEntry> items(int section);
    // The view of a code; nullptr when no item has it.
    static const ViewEntry *find(int code);
    static const ViewEntry *find(int section, int item);

    // A section-toolbar menu key ("tu33") as its section and item: the third character is
    // the section, the fourth the item. Nothing for a key the section toolbar does not have.
    struct Choice
    {
        int section;
        int item;
    };
    static std::optional<Choice> parseMenuKey(const QString &key);

    // The caption of a view on one line, as window texts and file names use it.
    static QString singleLineCaption(int code);
    // The title over the grid: the caption, and for the views of a date what they show: the
    // weekday and date of the day views, the first and last working days of the week view,
    // the month of the busy time ("Расписание занятий на день: понедельник, 07.09.2026").
    static QString viewTitle(int code, const QDate &date, int workDays);
    // The title while a list's entry area holds an existing record rather than a new one
    // ("Изменение группы ИС-11  (1)"); `record` is the record as lists show it.
    static QString editTitle(int code, const QString &record);
};

} // namespace korvesta
