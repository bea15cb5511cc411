#pragma once

#include <QDialog>

namespace korvesta {

// "О программе": the program's name, version and purpose.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);
};

} // namespace korvesta
