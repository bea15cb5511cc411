#include "compilecommand.h"

#include "dlggenerate.h"
#include "frmresultlist.h"
#include "mainwindow.h"
#include "viewdispatcher.h"

#include "grid/gridmodel.h"
#include "grid/gridview.h"
#include "views/navigationstate.h"
#include "views/timetable/timetablelayout.h"

#include "compile/compiler.h"
#include "compile/softweights.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/prompts.h"
#include "data/recordset.h"
#include "editing/objectnames.h"

#include <QCalendarWidget>
#include <QProgressDialog>
#include <QSet>

#include <atomic>
#include <exception>
#include <thread>

namespace korvesta {

namespace {

// The courses and the faculties the dialog offers, with their groups.
void readGroupSets(const Database &db, std::vector<dlgGenerate::GroupSet> &courses,
                   std::vector<dlgGenerate::GroupSet> &faculties,
                   std::vector<dlgGenerate::GroupSet> &groups)
{
    for (const NamedObject &group : namedObjects(db, NamedKind::Group))
        groups.push_back({group.canonical, {group.key}});
    for (Recordset rs = db.openRecordset(QStringLiteral(
             "SELECT tblGroups.Key, tblGroups.Course, tblTypeFaculty.TypeFaculty FROM tblGroups "
             "LEFT JOIN tblTypeFaculty ON tblGroups.Key_TypeFaculty = tblTypeFaculty.Key ORDER "
             "BY tblGroups.Course, tblTypeFaculty.TypeFaculty;"));
         !rs.isEof(); rs.moveNext()) {
        const auto add = [&](std::vector<dlgGenerate::GroupSet> &sets, const QString &name) {
            if (name.isEmpty())
                return;
            if (sets.empty() || sets.back().name != name)
                sets.push_back({name, {}});
            sets.back().groups.push_back(rs.value(0).toInt());
        };
        add(courses, QStringLiteral("%1 курс").arg(rs.value(1).toString().simplified()));
        const QString faculty = rs.value(2).toString().simplified();
        const auto known = std::find_if(faculties.begin(), faculties.end(),
                                        [&](const auto &f) { return f.name == faculty; });
        if (known != faculties.end())
            known->groups.push_back(rs.value(0).toInt());
        else
            add(faculties, faculty);
    }
}

// The placed lessons shown in bold in the week timetable on screen, until it is filled again.
void markPlaced(frmMain &window, const CompileResult &result, const QDate &monday)
{
    GridModel &grid = *window.grid()->model();
    const TimetableLayout layout =
        TimetableLayout::ofGrid(TimetableKind::Week, window.settingsRecord(), grid);
    QSet<QString> placed;
    const auto keyOf = [](const QDate &date, int lesson, const QString &group,
                          const QString &course) {
        return date.toString(Qt::ISODate) + u'|' + QString::number(lesson) + u'|' + group
               + u'|' + course;
    };
    for (const CompiledLesson &l : result.placedLessons)
        placed.insert(keyOf(l.date, l.lesson, l.group, l.course));
    for (int row = layout.headerRows; row < grid.rows(); ++row) {
        const int weekday = layout.weekdayOfRow(grid, row);
        const int lesson = layout.lessonOfRow(grid, row);
        if (weekday < 1 || lesson < 1)
            continue;
        const QDate date = monday.addDays(weekday - 1);
        for (int col = 0; col < grid.cols(); ++col) {
            if (!layout.isObjectCol(col))
                continue;
            const QString group = grid.text(layout.objectRow(), col).trimmed();
            const QString course = courseFromHeader(grid.text(layout.courseRow(), col));
            if (placed.contains(keyOf(date, lesson, group, course)))
                grid.setCellBold(row, col, true);
        }
    }
}

QString summaryOf(const CompileResult &result)
{
    return (result.replaced > 0
                ? QStringLiteral("Убрано составленных ранее занятий: %1. ").arg(result.replaced)
                : QString())
           + QStringLiteral("Поставлено занятий: %1 из %2. Окон у групп: %3, у преподавателей: "
                            "%4. В своей аудитории: %5.")
        .arg(result.placed)
        .arg(result.target)
        .arg(result.groupGaps)
        .arg(result.tutorGaps)
        .arg(result.usualAuditorium);
}

} // namespace

void compileTimetableInWindow(frmMain &window)
{
    Prompts &prompts = window.prompts();
    const std::optional<Database> db = window.session().access();
    if (!db)
        return;
    std::vector<dlgGenerate::GroupSet> courses, faculties, groups;
    try {
        readGroupSets(*db, courses, faculties, groups);
    } catch (const DbError &error) {
        window.session().handleError(error);
        return;
    }
    const QDate date = window.calendar()->selectedDate();
    dlgGenerate dialog(date.addDays(1 - date.dayOfWeek()), courses, faculties, groups, &window);
    if (dialog.exec() != QDialog::Accepted)
        return;

    CompileRequest request;
    request.from = dialog.from();
    request.to = dialog.to();
    request.groups = dialog.groups();
    request.timeLimitSeconds = dialog.timeLimitSeconds();
    request.replace = dialog.replace();
    request.weights = readSoftWeights(window.settings());
    try {
        if (const int earlier = request.replace ? compiledLessonCount(*db, request) : 0;
            earlier > 0
            && prompts.askYesNo(QStringLiteral("В периоде %1 занятий, составленных программой "
                                               "ранее. Убрать их и составить заново?")
                                    .arg(earlier),
                                Prompts::Icon::Question, QStringLiteral("Составление расписания"))
                   != Prompts::Answer::Yes)
            return;
    } catch (const DbError &error) {
        window.session().handleError(error);
        return;
    }
    std::atomic<bool> cancel{false};
    request.cancel = &cancel;

    // The search runs beside the window, which shows how far it has got and can stop it; the
    // document is not touched from the window meanwhile (the progress window is modal).
    QProgressDialog progress(QStringLiteral("Составляется расписание..."),
                             QStringLiteral("Отмена"), 0, 0, &window);
    progress.setObjectName(QStringLiteral("frmGenerateProgress"));
    progress.setWindowTitle(QStringLiteral("Составление расписания"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setMinimumWidth(420);
    request.progress = [&progress](int placed, long long cost) {
        QMetaObject::invokeMethod(
            &progress,
            [&progress, placed, cost] {
                progress.setLabelText(QStringLiteral("Поставлено занятий: %1\nОценка плана: %2 "
                                                     "(чем меньше, тем лучше)")
                                          .arg(placed)
                                          .arg(cost));
            },
            Qt::QueuedConnection);
    };
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, [&cancel] { cancel = true; });
    CompileResult result;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            result = compileTimetable(*db, window.settingsRecord(), request);
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&progress, [&progress] { progress.done(0); },
                                  Qt::QueuedConnection);
    });
    progress.exec();
    worker.join();

    if (failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const DbError &error) {
            window.session().handleError(error);
        } catch (const std::exception &) {
            prompts.message(QStringLiteral("Расписание не составлено из-за внутренней ошибки "
                                           "программы"),
                            Prompts::Icon::Critical, QStringLiteral("Составление расписания"));
        }
        return;
    }
    if (!result.refusal.isEmpty()) {
        QString text = result.refusal;
        if (!result.checkErrors.isEmpty())
            text += u'\n' + result.checkErrors.mid(0, 10).join(u'\n');
        prompts.message(text, Prompts::Icon::Warning, QStringLiteral("Составление расписания"));
        return;
    }
    if (result.written) {
        // The compiled week, in the week view.
        window.calendar()->setSelectedDate(request.from);
        ViewDispatcher &dispatcher = window.dispatcher();
        dispatcher.sectionClicked(4);
        dispatcher.itemClicked(1);
        dispatcher.dateClicked(request.from);
        window.setCalendarShown(false);
        if (window.navigation().viewCode() == 41)
            markPlaced(window, result, request.from.addDays(1 - request.from.dayOfWeek()));
    }
    std::vector<QStringList> rows;
    for (const CompiledLine &l : result.lines) {
        if (l.placed < l.target)
            rows.push_back({l.group, l.discipline, l.tutor, QString::number(l.target),
                            QString::number(l.placed), l.reason});
    }
    if (rows.empty() && result.notes.isEmpty()) {
        prompts.message(summaryOf(result) + QStringLiteral("\nКаждая строка нагрузки получила "
                                                           "свою долю."),
                        Prompts::Icon::Information, QStringLiteral("Составление расписания"));
        return;
    }
    frmResultList list(QStringLiteral("Составление расписания: не все занятия поставлены"),
                       summaryOf(result)
                           + (result.notes.isEmpty() ? QString()
                                                     : u'\n' + result.notes.join(u'\n')),
                       {QStringLiteral("Группа"), QStringLiteral("Дисциплина"),
                        QStringLiteral("Преподаватель"), QStringLiteral("Нужно"),
                        QStringLiteral("Поставлено"), QStringLiteral("Почему не все")},
                       rows, prompts, &window);
    list.exec();
}

} // namespace korvesta
