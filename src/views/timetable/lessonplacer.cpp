#include "lessonplacer.h"

#include "data/recordset.h"
#include "grid/gridcolors.h"
#include "grid/gridmodel.h"
#include "auditoriumlabels.h"
#include "tooltipcache.h"
#include "views/lists/celltext.h"

namespace korvesta {

namespace {

QString textAt(const Recordset &rs, int index)
{
    return rs.value(index).toString();
}

QColor colorAt(const Recordset &rs, int index)
{
    const QVariant value = rs.value(index);
    bool ok = false;
    const qint64 bgr = value.toLongLong(&ok);
    return value.isNull() || !ok ? QColor() : colorFromBgr(static_cast<quint32>(bgr));
}

const QString kLineBreak = QStringLiteral("\r\n");

} // namespace

LessonReader::LessonReader(const Recordset &rs, const AuditoriumLabels *labels)
    : m_group(requiredField(rs, QStringLiteral("Group")))
    , m_course(requiredField(rs, QStringLiteral("Course")))
    , m_faculty(requiredField(rs, QStringLiteral("TypeFaculty")))
    , m_tutor(requiredField(rs, QStringLiteral("Tutor")))
    , m_discipline(requiredField(rs, QStringLiteral("Discipline")))
    , m_discipline1(requiredField(rs, QStringLiteral("Discipline1")))
    , m_aud(requiredField(rs, QStringLiteral("Aud")))
    , m_shortType(requiredField(rs, QStringLiteral("ShortTypeLesson")))
    , m_longType(requiredField(rs, QStringLiteral("LongTypeLesson")))
    , m_lesson(requiredField(rs, QStringLiteral("Lesson")))
    , m_subGroup(requiredField(rs, QStringLiteral("SubGroup")))
    , m_discColor(requiredField(rs, QStringLiteral("DiscColor")))
    , m_groupColor(requiredField(rs, QStringLiteral("GroupColor")))
    , m_labels(labels)
{
    const QStringList fields = rs.fieldNames();
    for (qsizetype i = 0; labels && i < fields.size(); ++i) {
        if (fields[i].compare(QLatin1String("Corpus"), Qt::CaseInsensitive) == 0)
            m_corpus = int(i);
    }
}

PlacedLesson LessonReader::read(const Recordset &rs) const
{
    PlacedLesson l;
    l.texts.group = textAt(rs, m_group);
    l.texts.tutor = textAt(rs, m_tutor);
    l.texts.discipline = textAt(rs, m_discipline);
    l.texts.discipline1 = textAt(rs, m_discipline1);
    l.texts.auditoria = textAt(rs, m_aud);
    if (m_labels && m_corpus >= 0)
        l.texts.auditoria = m_labels->label(l.texts.auditoria, textAt(rs, m_corpus));
    l.texts.shortType = textAt(rs, m_shortType);
    l.texts.longType = textAt(rs, m_longType);
    l.course = textAt(rs, m_course);
    l.faculty = textAt(rs, m_faculty);
    l.lesson = textAt(rs, m_lesson).toInt();
    l.subGroup = textAt(rs, m_subGroup).toInt();
    l.discColor = colorAt(rs, m_discColor);
    l.groupColor = colorAt(rs, m_groupColor);
    return l;
}

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

void GroupLessonPlacer::placeAll(Recordset &rs, int day, TooltipCache *tooltips)
{
    const LessonReader reader(rs, m_labels);
    for (rs.moveFirst(); !rs.isEof(); rs.moveNext()) {
        const PlacedLesson lesson = reader.read(rs);
        if (lesson.lesson < 1 || lesson.lesson > m_layout.lessonsInDay)
            continue;
        const int col = columnOf(lesson.texts.group, lesson.course, lesson.faculty);
        if (col < 0)
            continue;
        place(lesson, col, day);
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
    const int row = m_layout.rowOf(day, lesson.lesson);
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
