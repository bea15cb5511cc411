#pragma once

#include <QString>

namespace korvesta {

// The two folders the program writes loose files to. Both are kept without a trailing
// slash; callers append "/" and a file name.
struct AppPaths
{
    QString applicationFolder; // the user's writable program folder
    QString tempFolder;

    // Where a new, not yet saved document lives.
    QString newDocumentFile() const;
    // The INI scratch file of the timetable fills (tooltip cache).
    QString scratchFile() const;

    // The per-user data folder (created when missing) and the system's temporary folder.
    static AppPaths standard();
};

// The login name of the user running the program ("ivanova"); what reports and spreadsheets
// sign with when no name is set.
QString loginName();

} // namespace korvesta
