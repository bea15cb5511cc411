#include "accountingcommon.h"
#include "accountingviews.h"

#include "data/isodate.h"
#include "data/queries.h"
#include "grid/gridmodel.h"
#include "settings/settingsrecord.h"
#include "views/frames/busytimeframe.h"
#include "views/lists/celltext.h"
#include "views/uisettings.h"
#include "views/viewcontext.h"

#include <algorithm>

namespace korvesta {

namespace busytime {

QDate dateOfCol(const QDate &anyDay, int col)
{
    if (!anyDay.isValid())
        return {};
    const QDate first(anyDay.year(), anyDay.month(), 1);
    const int day = col - dayCol(1) + 1;
    if (day < 1 || day > first.daysInMonth())
        return {};
    return first.addDays(day - 1);
}

int lessonOfRow(int row, int lessonsInDay)
{
    const int lesson = row - lessonRow(1) + 1;
    return lesson >= 1 && lesson <= lessonsInDay ? lesson : 0;
}

int absenceKindAt(int row, int col, int lessonsInDay)
{
    // The legend line of a kind: its name (columns 3 to 15), icon and letter (17 to 23).
    if (col < 3 || col > 23)
        return 0;
    for (int kind = 1; kind <= AbsenceKinds; ++kind) {
        if (row == kindRow(lessonsInDay, kind))
            return kind;
    }
    return 0;
}

int totalsRow(int lessonsInDay)
{
    return afterLessons(lessonsInDay);
}

} // namespace busytime

namespace {

using namespace accounting;

struct Mark
{
    const char *icon;
    const char *letter;
};

// The marks 1 to 5 are those of the absences of kinds 1 to 5 (5 of no name of its own).
const Mark kMarks[] = {
    {"HOUSE", "О"}, {"RED_CROSS", "Б"}, {"TRAIN", "К"}, {"REST", "М"},
    {"QUESTION", "?"}, {"SUN", "В"}, {"CHECK_GREEN", "Ф"},
};
constexpr int QuestionKind = 5;
constexpr int RestDayMark = 6;
constexpr int LessonMark = 7;

bool isSet(const QVariant &value)
{
    return value.isValid() && !value.isNull() && !value.toString().isEmpty();
}

// The month grid of marks, each cell the kind drawn last (0 for none).
class MonthMarks
{
public:
    MonthMarks(GridModel &grid, const QDate &first, int lessons, bool icons)
        : m_grid(grid)
        , m_first(first)
        , m_lessons(lessons)
        , m_icons(icons)
        , m_kinds(size_t(first.daysInMonth() * std::max(lessons, 0)), 0)
    {}

    int days() const { return m_first.daysInMonth(); }
    const QDate &first() const { return m_first; }

    // `lesson` 0 marks the whole day.
    void mark(int day, int lesson, int markId)
    {
        if (day < 1 || day > days() || lesson < 0 || lesson > m_lessons)
            return;
        const int from = lesson == 0 ? 1 : lesson;
        const int to = lesson == 0 ? m_lessons : lesson;
        const Mark &mark = kMarks[markId - 1];
        const int col = busytime::dayCol(day);
        for (int l = from; l <= to; ++l) {
            const int row = busytime::lessonRow(l);
            if (m_icons) {
                m_grid.setCellPicture(row, col, QString::fromLatin1(mark.icon));
                m_grid.setText(row, col, QString());
            } else {
                m_grid.setCellPicture(row, col, QString());
                m_grid.setText(row, col, QString::fromUtf8(mark.letter));
            }
            m_kinds[size_t((day - 1) * m_lessons + l - 1)] = markId;
        }
    }

    int count(int day, int markId) const
    {
        const auto begin = m_kinds.begin() + (day - 1) * m_lessons;
        return int(std::count(begin, begin + m_lessons, markId));
    }

private:
    GridModel &m_grid;
    QDate m_first;
    int m_lessons;
    bool m_icons;
    std::vector<int> m_kinds; // the mark of each day and lesson, 0 for none
};

// The tutor's exceptions that fall in the month. A row names a date, a weekday of every week
// or, with neither, every day; with a lesson only that lesson, else the whole day. Rows of a
// kind the view has no mark for, or naming no day or lesson that the grid shows, are left out.
void markExceptions(ViewContext &ctx, DocumentQueries &queries, int keyTutor, MonthMarks &marks)
{
    std::optional<Recordset> rs = queries.OpenTutorFreeTime(keyTutor);
    if (!rs)
        return;
    const int kindField = requiredField(*rs, QStringLiteral("KeyTypeOut"));
    const int dateField = requiredField(*rs, QStringLiteral("FreeLocalDate"));
    const int dayField = requiredField(*rs, QStringLiteral("FreeDay"));
    const int lessonField = requiredField(*rs, QStringLiteral("FreeLesson"));
    for (; !rs->isEof(); rs->moveNext()) {
        bool ok = false;
        const int kind = rs->value(kindField).toInt(&ok);
        if (!ok || kind < 1 || kind > QuestionKind || !UiSettings::showBusyTime(ctx.settings, kind))
            continue;
        int lesson = 0;
        if (const QVariant at = rs->value(lessonField); isSet(at)) {
            lesson = at.toInt(&ok);
            if (!ok || lesson < 1)
                continue;
        }
        const QVariant onDate = rs->value(dateField);
        const QVariant weekday = rs->value(dayField);
        if (isSet(onDate)) {
            const QDate date = onDate.typeId() == QMetaType::QDate
                                   ? onDate.toDate()
                                   : parseMoment(onDate.toString()).date();
            if (date.isValid() && date.year() == marks.first().year()
                && date.month() == marks.first().month())
                marks.mark(date.day(), lesson, kind);
        } else if (isSet(weekday)) {
            const int dayOfWeek = weekday.toInt(&ok);
            if (!ok || dayOfWeek < 1 || dayOfWeek > 7)
                continue;
            for (int day = 1; day <= marks.days(); ++day) {
                if (marks.first().addDays(day - 1).dayOfWeek() == dayOfWeek)
                    marks.mark(day, lesson, kind);
            }
        } else if (lesson > 0) {
            for (int day = 1; day <= marks.days(); ++day)
                marks.mark(day, lesson, kind);
        }
    }
}

} // namespace

void fillBusyTime(ViewContext &ctx, int keyTutor)
{
    GridModel &grid = ctx.grid;
    const WaitPointer wait(grid);
    const int lessons = std::max(ctx.record.LessonsInDay, 0);
    const QDate anyDay = ctx.calendarDate.isValid() ? ctx.calendarDate : QDate::currentDate();
    const QDate first(anyDay.year(), anyDay.month(), 1);
    MonthMarks marks(grid, first, lessons, UiSettings::busyTimeIcons(ctx.settings));
    DocumentQueries queries(ctx.session, ctx.settings, ctx.prompts);

    if (lessons > 0)
        grid.setCellAlignment(busytime::lessonRow(1), busytime::dayCol(1),
                              busytime::lessonRow(lessons), busytime::Cols - 1, Qt::AlignCenter);
    markExceptions(ctx, queries, keyTutor, marks);
    if (UiSettings::showBusyTime(ctx.settings, busytime::RestDays)) {
        for (int day = 1; day <= marks.days(); ++day) {
            if (first.addDays(day - 1).dayOfWeek() > ctx.record.WorkDays)
                marks.mark(day, 0, RestDayMark);
        }
    }
    if (UiSettings::showBusyTime(ctx.settings, busytime::Lessons)) {
        const QString format = QStringLiteral("dd.MM.yyyy");
        std::optional<Recordset> rs = queries.OpenBusyTime(
            keyTutor, first.toString(format), first.addDays(marks.days() - 1).toString(format));
        const int dateField = rs ? requiredField(*rs, QStringLiteral("Date")) : -1;
        const int lessonField = rs ? requiredField(*rs, QStringLiteral("Lesson")) : -1;
        for (; rs && !rs->isEof(); rs->moveNext()) {
            const QVariant value = rs->value(dateField);
            const QDate date = value.typeId() == QMetaType::QDate
                                   ? value.toDate()
                                   : parseMoment(value.toString()).date();
            bool ok = false;
            const int lesson = rs->value(lessonField).toInt(&ok);
            if (ok && lesson >= 1 && date.isValid() && date.month() == first.month()
                && date.year() == first.year())
                marks.mark(date.day(), lesson, LessonMark);
        }
    }
    if (ctx.record.ShowTotals && lessons > 0) {
        const int row = busytime::totalsRow(lessons);
        grid.setText(row, 1, QStringLiteral("Итого"));
        for (int day = 1; day <= marks.days(); ++day)
            grid.setText(row, busytime::dayCol(day),
                         QString::number(marks.count(day, LessonMark)));
        grid.setCellAlignment(row, 1, row, busytime::Cols - 1, Qt::AlignCenter);
        grid.setCellBold(row, 1, row, busytime::Cols - 1, true);
    }
    grid.setCurrentCell(0, 0);
}

} // namespace korvesta
