#pragma once

namespace korvesta {

struct ViewContext;

// Frames of the reference lists, the teaching load and the tutor passport. Each empties the
// main grid, gives it its header row, fixed columns and column widths (fractions of the
// grid's width W, GridModel::clientWidth) and leaves the current cell at row 0, column 0.
// The lists get one header row and one empty row; their fills add the body.

// Columns: "", "Курс", "Группа", "Цвет", "Факультет", "Форма обучения", "Финансирование",
// "Комментарий". The type columns show only when the settings ask for them; the comment
// column takes the width they leave.
void buildGroupListFrame(ViewContext &ctx);
// Seven columns without a fixed column, three rows.
void buildGroupPassportFrame(ViewContext &ctx);
void buildDisciplineListFrame(ViewContext &ctx);
// The fifth column ("Разное") is hidden.
void buildAuditoriumListFrame(ViewContext &ctx);
void buildLoadFrame(ViewContext &ctx);
// Eight columns under the title "ПАСПОРТ ПРЕПОДАВАТЕЛЯ", with the outline bar.
void buildTutorPassportFrame(ViewContext &ctx);

// Whether the grid holds the list a frame above built (by its shape and captions).
bool holdsGroupList(const ViewContext &ctx);
bool holdsDisciplineList(const ViewContext &ctx);
bool holdsAuditoriumList(const ViewContext &ctx);
bool holdsLoadList(const ViewContext &ctx);

} // namespace korvesta
