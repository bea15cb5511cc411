#pragma once

#include <QDate>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace korvesta {

// "korvesta view FILE CODE [options]": fills a view headlessly, through the same settings and
// the same fill routines as the window, and prints its grid. Returns the exit code.
int runViewCommand(const QStringList &args, QTextStream &out, QTextStream &err);

class GridModel;
class SettingsStore;
struct SettingsRecord;

// A view filled from the arguments of "korvesta view", for a command that uses its grid.
struct FilledView
{
    const GridModel &grid;
    int code;
    QString object; // the object chosen with --object, as the list names it; empty for none
    QDate date;
    QDate from;
    QDate to;
    const SettingsRecord &record;
    const SettingsStore &settings; // with the run's --set values
};

// Fills the view that the arguments of "korvesta view" name, as that command does, and hands
// it to `use`. Returns use's result, or the exit code of the failure told to err.
int withFilledView(const QStringList &args, QTextStream &err,
                   const std::function<int(const FilledView &)> &use);

} // namespace korvesta
