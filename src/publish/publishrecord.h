#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <map>

namespace korvesta {

// The record a publication leaves in its folder (".korvesta-publish.json"): the files that
// are the program's own, with what each was made from, so that the next publication writes
// only what changed and removes only what it wrote.
extern const QString kPublishRecordFile;
// Raised when the files come out differently for the same timetable, so that every file is
// made anew once.
constexpr int kPublishFormat = 4;

struct PublishedFile
{
    QString hash;
    QString source;    // pages: what the page was made from
    QDate date;        // pages: the day their timetable last changed
    bool gone = false; // calendars of objects that are no more, already cancelled
};

struct PublishRecord
{
    QString feed;
    std::map<QString, PublishedFile> files; // by path relative to the folder

    // The record at `path`. It lies in a folder others may write into: an entry that does
    // not name a file of the program's own shape is left out (a warning says so), and a
    // record that cannot be read is no record.
    static PublishRecord read(const QString &path, QStringList &warnings);
    QByteArray text() const;
};

// The whole file; empty when it cannot be read or is larger than any the program writes.
QByteArray readWholeFile(const QString &path);
// "index.html, style.css", at most ten names and how many more.
QString listedNames(QStringList names);

} // namespace korvesta
