#pragma once

namespace korvesta {

class frmMain;

// "Сервис → Составить расписание...": asks for the period and the groups, compiles it with a
// progress window that can cancel, shows the compiled week and lists the load lines that did
// not get their share, with the reason.
void compileTimetableInWindow(frmMain &window);

} // namespace korvesta
