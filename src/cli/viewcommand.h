#pragma once

#include "commandline.h"

#include <QDate>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <vector>

namespace korvesta {

class GridModel;
class SettingsStore;
struct SettingsRecord;

// "korvesta view FILE CODE": fills a view headlessly, through the same settings and the same
// fill routines as the window, and prints its grid.
const CommandSpec &viewCommandSpec();
int runViewCommand(const QStringList &args, QTextStream &out, QTextStream &err);

// What names a filled view: the document, the view's code and its options.
struct ViewOptions
{
    QString path;
    int code = -1;
    QDate date;
    QDate from;
    QDate to;
    QString object;
    int width = 0;
    CommandSettings::Values sets;
    QString filter; // an entry of the view's filter menu
};

// The options of a view (date, period, object, width, settings, filter), for the commands
// that fill one, and their reading from a line whose first two arguments are FILE and CODE.
std::vector<OptionSpec> viewOptionSpecs();
void readViewOptions(CommandLine &line, ViewOptions &options);
// The codes of every view.
QStringList viewCodeWords();

// A view filled, for a command that uses its grid.
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

// Fills the view the options name, as "korvesta view" does, and hands it to `use`. Returns
// use's result, or the exit code of the failure told to err.
int withFilledView(const ViewOptions &options, QTextStream &err,
                   const std::function<int(const FilledView &)> &use);

} // namespace korvesta
