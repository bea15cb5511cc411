#pragma once

#include "reportcontent.h"
#include "reportlayout.h"

#include <QDate>
#include <QDateTime>
#include <QSet>
#include <QString>

#include <optional>

namespace korvesta {

class DocumentSession;
class Prompts;
class SettingsStore;
struct SettingsRecord;

// What a report is made of: its name (the title in capitals, as the layouts name it), the
// object it is about (a tutor, a group or an auditorium, as the object list shows it) and the
// dates it covers.
struct ReportRequest
{
    QString name;
    QString object;
    int objectKey = 0; // the group's Key for a group passport; 0: looked up by `object`
    QDate from;
    QDate to;
};

// The reports the program makes, by the data they read.
struct ReportKind
{
    const char *name;
    int viewCode;      // the view whose grid or preview the report stands for
    bool needsObject;  // a tutor, group or auditorium
    bool usesPeriod;   // the first and last date
};
const ReportKind *findReportKind(const QString &name);
// The report a view is saved as; nullptr for a view that has none.
const ReportKind *reportOfView(int code);

// Makes reports of the current document: reads the layouts, opens the report's data and
// binds it. Anything that goes wrong is told through the prompts.
class ReportMaker
{
public:
    ReportMaker(DocumentSession &session, SettingsStore &settings, const SettingsRecord &record,
                Prompts &prompts, QString applicationFolder);

    // Nothing when the report has no layout or its data could not be read (the user has been
    // told); a report with headings and no rows when the object has nothing in the period.
    std::optional<ReportContent> make(const ReportRequest &request);

    // Replaces where the layouts are read from (tests).
    void setLayoutSources(const ReportLayoutSources &sources) { m_sources = sources; }
    // A fault of a layout file already told is not told again (the window keeps them while it
    // is open, so that each click on an object does not repeat it).
    void rememberToldProblems(QSet<QString> &told) { m_told = &told; }
    // The moment the footer names (tests fix it).
    void setMoment(const QDateTime &moment) { m_moment = moment; }

private:
    DocumentSession &m_session;
    SettingsStore &m_settings;
    const SettingsRecord &m_record;
    Prompts &m_prompts;
    QString m_applicationFolder;
    std::optional<ReportLayoutSources> m_sources;
    QDateTime m_moment;
    QSet<QString> *m_told = nullptr; // Not owned.
};

} // namespace korvesta
