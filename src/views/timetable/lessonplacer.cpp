#include "lessonplacer.h"

#include "grid/gridmodel.h"
#include "timetablelessons.h"
#include "tooltipcache.h"
#include "views/lists/celltext.h"

namespace korvesta {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

} // namespace

GroupLessonPlacer::GroupLessonPlacer(GridModel &grid, const TimetableLayout &layout, int code,
                                     bool showColor, const AuditoriumLabels *labels)
    : m_grid(grid)
    , m_layout(layout)
    , m_code(code)
    , m_showColor(showColor)
    , m_labels(labels)
{
    // The first of equal columns takes the lessons: without the faculty row two groups of
    // one name and course in different faculties are one column to the lessons.
    for (int i = 0; i < layout.objectCount; ++i) {
        const int col = layout.firstObjectCol + i;
        const QString faculty =
            layout.useFaculty ? grid.text(layout.facultyRow(), col) : QString();
        const QString key =
            columnKey(grid.text(layout.objectRow(), col),
                      courseFromHeader(grid.text(layout.courseRow(), col)), faculty);
        if (!m_columns.contains(key))
            m_columns.insert(key, col);
    }
}

QString GroupLessonPlacer::columnKey(const QString &group, const QString &course,
                                     const QString &faculty) const
{
    QString key = group + QChar(0x1F) + course;
    if (m_layout.useFaculty)
        key += QChar(0x1F) + faculty;
    return key.toCaseFolded();
}

int GroupLessonPlacer::columnOf(const QString &group, const QString &course,
                                const QString &faculty) const
{
    return m_columns.value(columnKey(group, course, faculty), -1);
}

void GroupLessonPlacer::placeAll(const std::vector<DatedLesson> &lessons, const QDate &firstDay,
                                 TooltipCache *tooltips)
{
    for (const DatedLesson &dated : lessons) {
        const PlacedLesson &lesson = dated.lesson;
        if (lesson.lesson < 1 || lesson.lesson > m_layout.lessonsInDay)
            continue;
        auto found = m_groupColumns.constFind(dated.keyGroup);
        if (found == m_groupColumns.cend())
            found = m_groupColumns.insert(
                dated.keyGroup, columnOf(lesson.texts.group, lesson.course, lesson.faculty));
        const int col = *found;
        if (col < 0)
            continue;
        place(lesson, col, int(firstDay.daysTo(dated.date)) + 1);
        if (tooltips) {
            // Without the faculty row a column does not know its faculty, so neither does
            // the entry that its tooltip looks for.
            const QString faculty =
                m_layout.useFaculty ? lesson.faculty : QStringLiteral("отсутствует");
            const LessonTexts &t = lesson.texts;
            tooltips->add(TooltipCache::section(t.group, lesson.course, faculty),
                          TooltipCache::key(lesson.lesson, lesson.subGroup),
                          TooltipCache::details({t.tutor, t.discipline1, t.longType,
                                                 t.auditoria}));
        }
    }
}

void GroupLessonPlacer::place(const PlacedLesson &lesson, int col, int day)
{
    const int row = m_rows ? m_rows(day, lesson.lesson) : m_layout.rowOf(day, lesson.lesson);
    if (row < 0)
        return;
    const QString text = composeCellText(lesson.texts, m_code);
    if (lesson.subGroup <= 1) {
        m_grid.setText(row, col, text);
        m_grid.setCellBackColor(row, col, m_showColor ? lesson.discColor : QColor());
        return;
    }
    if (isTallMode(m_code))
        m_grid.setRowHeight(row, 2 * m_layout.lessonRowHeight);
    m_grid.setText(row, col, m_grid.text(row, col) + kLineBreak + text);
}

} // namespace korvesta
