#pragma once

#include <QObject>

namespace korvesta {

class frmMain;

// ButtonAccessEdit: a press locks the date shown in the calendar against editing, or unlocks
// it under the password; a refused unlock puts the button back. A child of the window.
class DateLockCommand : public QObject
{
    Q_OBJECT

public:
    explicit DateLockCommand(frmMain &window);

private:
    void pressed(bool lock);

    frmMain &m_window;
};

} // namespace korvesta
