#include "largesample.h"

#include "data/calendar.h"
#include "data/database.h"
#include "sample/demodocument.h"
#include "data/recordset.h"

#include <QElapsedTimer>

#include <cstdio>

namespace korvesta {

LargeSample::LargeSample()
    : path(folder.filePath(QStringLiteral("large.kvt")))
{
    QElapsedTimer timer;
    timer.start();
    writeDemoDocument(path, DemoRequest::fullYear(DemoSize::Large, academicYearStart(QDate::currentDate()).year()));
    std::fprintf(stderr, "Large sample written in %.2f s\n", double(timer.elapsed()) / 1000.0);
    std::fprintf(stderr,
                 "  %lld groups, %lld tutors, %lld disciplines, %lld auditoriums, "
                 "%lld load lines, %lld dates, %lld lessons\n",
                 first("SELECT Count(*) FROM tblGroups").toLongLong(),
                 first("SELECT Count(*) FROM tblTutors").toLongLong(),
                 first("SELECT Count(*) FROM tblDisciplines").toLongLong(),
                 first("SELECT Count(*) FROM tblAuditories").toLongLong(),
                 first("SELECT Count(*) FROM tblJobList").toLongLong(),
                 first("SELECT Count(*) FROM tblTimeTableList").toLongLong(),
                 first("SELECT Count(*) FROM tblTimeTableContent").toLongLong());
    busiestDay = first(QStringLiteral(
                           "SELECT tblTimeTableList.Date FROM tblTimeTableList INNER JOIN "
                           "tblTimeTableContent ON tblTimeTableList.Key = "
                           "tblTimeTableContent.Key_TTList GROUP BY tblTimeTableList.Date "
                           "ORDER BY Count(*) DESC, tblTimeTableList.Date"))
                     .toDate();

    settings = std::make_unique<SettingsStore>(folder.filePath(QStringLiteral("user.ini")));
    record.load(*settings);
    session = std::make_unique<DocumentSession>(prompts, *settings,
                                                AppPaths{folder.path(), folder.path()});
    session->startFromCommandLine({path});
}

QVariant LargeSample::first(const QString &sql) const
{
    Recordset rs = Database::open(path).openRecordset(sql);
    return rs.isEmpty() ? QVariant() : rs.value(0);
}

LargeSample &largeSample()
{
    static LargeSample sample;
    return sample;
}

} // namespace korvesta
