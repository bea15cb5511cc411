#include "slotpaint.h"

#include "grid/gridmodel.h"
#include "views/timetable/timetablelayout.h"

namespace korvesta {

namespace {

bool sameText(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// A group without a faculty heads its column with none or with "отсутствует".
bool sameFaculty(const QString &header, const QString &faculty)
{
    const auto none = [](const QString &t) {
        return t.trimmed().isEmpty() || sameText(t, QStringLiteral("отсутствует"));
    };
    return none(header) ? none(faculty) : sameText(header, faculty);
}

} // namespace

QColor SlotPaint::colorOf(SlotFit fit)
{
    switch (fit) {
    case SlotFit::Free:
        return QColor(140, 225, 140);
    case SlotFit::Soft:
        return QColor(255, 215, 90);
    case SlotFit::None:
        break;
    }
    return QColor();
}

int groupColumn(const GridModel &grid, const TimetableLayout &layout, const AssistLine &line)
{
    for (int col = layout.firstObjectCol; col < layout.firstObjectCol + layout.objectCount;
         ++col) {
        if (!sameText(grid.text(layout.objectRow(), col), line.group)
            || !sameText(courseFromHeader(grid.text(layout.courseRow(), col)), line.course))
            continue;
        if (!layout.useFaculty || sameFaculty(grid.text(layout.facultyRow(), col), line.faculty))
            return col;
    }
    return -1;
}

bool SlotPaint::paint(GridModel &grid, const TimetableLayout &layout, const SlotMap &map,
                      const AssistLine &line, const QDate &date)
{
    m_tips.clear();
    const int col = groupColumn(grid, layout, line);
    if (col < 0)
        return false;
    const QDate monday = date.addDays(1 - date.dayOfWeek());
    for (int row = layout.headerRows; row < grid.rows(); ++row) {
        const int lesson = layout.lessonOfRow(grid, row);
        if (lesson == 0)
            continue;
        QDate day = date;
        if (layout.kind == TimetableKind::Week) {
            const int weekday = layout.weekdayOfRow(grid, row);
            if (weekday == 0)
                continue;
            day = monday.addDays(weekday - 1);
        }
        const SlotState *state = map.state(day, lesson);
        if (!state)
            continue;
        const QColor color = colorOf(state->fit);
        if (color.isValid())
            grid.setCellBackColor(row, col, color);
        QString tip = state->fit == SlotFit::Free ? QStringLiteral("Можно поставить: %1")
                                                      .arg(line.discipline)
                      : state->fit == SlotFit::Soft
                          ? QStringLiteral("Можно поставить с помехами: %1")
                                .arg(state->problems.join(QStringLiteral("; ")))
                          : QStringLiteral("Нельзя поставить: %1")
                                .arg(state->problems.join(QStringLiteral("; ")));
        if (state->fit != SlotFit::None && !state->freeAuditoriums.isEmpty())
            tip += QStringLiteral("\nСвободные аудитории: %1")
                       .arg(state->freeAuditoriums.mid(0, 6).join(QStringLiteral(", ")));
        m_tips.insert({row, col}, tip);
    }
    return true;
}

QString SlotPaint::toolTip(int row, int col) const
{
    return m_tips.value({row, col});
}

} // namespace korvesta
