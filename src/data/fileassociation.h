#pragma once

#include <QString>

namespace korvesta {

// Makes the desktop open .kvt files with the given program: a MIME package
// (application/x-korvesta, *.kvt) in dataHome/mime/packages and a .desktop entry in
// dataHome/applications, then refreshes the desktop's caches where the tools exist.
// dataHome defaults to the user's data folder (~/.local/share). True when both files
// were written.
bool associateFileType(const QString &executablePath, const QString &dataHome = QString());

// The Exec= value that runs the program on one file, quoted as desktop entries require.
QString desktopExecLine(const QString &executablePath);

} // namespace korvesta
