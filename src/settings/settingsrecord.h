#pragma once

#include <QString>

namespace korvesta {

class SettingsStore;

// The user's options, held for the whole run: loaded at start, saved by the options
// dialog. Each field is stored in section "Settings" under its own name.
struct SettingsRecord
{
    bool CheckDelete = true;
    bool SaveCurrTable = false;
    int LessonsToGroup = 7;
    bool ExcelPrintPreview = true;
    QString ExcelPrintFormat = QStringLiteral("A4");
    int HoursValue = 0;
    int LessonsToTutor = 0;
    bool JobOverFlow = true;
    bool OverFlowView = true;
    int LessonsInDay = 14;
    int LessonsInPeriod = 14;
    bool SortPrep = false;
    int WorkTimePeriod = 1;
    int WorkDays = 5;
    bool SortDiscAuto = false;
    bool ShowWeekNumber = false;
    bool FreeWindow = true;
    bool ShowTimeLesson = false;
    bool TimePlace = false;
    int SubGroupCount = 2;
    QString PathDB;
    bool UseFooterReport = true;
    bool UseHeadReport = true;
    QString FooterReport;
    QString HeaderReport;
    bool MergeLessons = false;
    bool ShowLevelDiff = true;
    int CountGroupOnLecture = 1;
    bool ShowTotals = true;
    bool ShowColorItem = true;
    bool UseTypeFinance = false;
    bool UseTypeTuition = false;
    bool UseTypeFaculty = false;
    bool UseTypeDiscipline = false;
    bool CheckAuditoria = true;
    quint32 SubGroupColor = 0xFFFFFF; // 0x00BBGGRR
    bool FixMonthView = false;

    // Reads every field; a missing key gives the field's default, a value that does not
    // convert leaves the field as it is, and the load goes on.
    void load(const SettingsStore &store);
    // Writes every field, in the order the store has always been written in.
    void save(SettingsStore &store) const;

    bool operator==(const SettingsRecord &) const = default;
};

} // namespace korvesta
