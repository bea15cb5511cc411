#pragma once

#include "data/planners.h"

#include <QString>

namespace korvesta {

class frmMain;

// The list as the window says it, a line per planner ("ivanova (вы) - Расписание занятий на
// неделю, 12.10.2026, с 08:15").
QString plannersText(const std::vector<PlannerAtWork> &planners);

// "Сервис → Кто работает с документом...": the planners in the server document now.
void showPlannersAtWork(frmMain &window);

} // namespace korvesta
