#pragma once

#include <QString>

namespace korvesta {

// The rules that keep a publication inside its folder. The folder may be shared (a web
// server's folder others write into), so nothing found in it is trusted: the names of the
// program's files come from the folder's own record, and are taken only when they have the
// shape of a file the program makes, and a path is followed only through real folders.

// "index.html", "style.css", "groups|tutors|auditoriums/NAME.html|.ics" or a month's page
// "groups|tutors|auditoriums/YYYY-MM/NAME.html", with a plain NAME: no folder above, no
// absolute path, no hidden or control-character names.
bool isPublishedFileName(const QString &relative);

// What stands at a path of the folder.
enum class FolderEntry {
    Missing,    // nothing: the file can be made
    File,       // a regular file, reached through real folders
    Foreign,    // a link, a folder or a device where a file would go: not the program's
    OutsidePath // a folder on the way is a link or not a folder: the path leaves the folder
};
FolderEntry folderEntry(const QString &folder, const QString &relative);

// Temporary folders in which the files of a publication are made before they are moved into
// place: beside the folder (".NAME-публикация-XXXXXX") or, when a rename cannot reach it
// from there, inside it (".korvesta-публикация-XXXXXX"). Each holds a note of the process
// that made it, so that those of a publication that was killed can be told from those of one
// still running.
QString besideStagingTemplate(const QString &folder);
QString insideStagingTemplate(const QString &folder);
extern const QString kStagingOwnerFile;
bool markStagingOwner(const QString &staging);

// Removes the temporary folders of publications into `folder` whose process has ended (or,
// made on another machine, that are older than a day). Returns how many were removed.
int removeLeftoverStaging(const QString &folder);

} // namespace korvesta
