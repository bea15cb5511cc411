#pragma once

#include <QDialog>
#include <QStringList>

#include <vector>

class QTreeWidget;

namespace korvesta {

class Prompts;

// What a command left undone, as a table the planner can read, copy and save: the lessons a
// copy did not copy, with the reason. The rows are shown as given; every column is sortable.
class frmResultList : public QDialog
{
    Q_OBJECT

public:
    frmResultList(const QString &caption, const QString &summary, const QStringList &headings,
                  const std::vector<QStringList> &rows, Prompts &prompts,
                  QWidget *parent = nullptr);

    // The table as tab-separated text, the headings first, in the order shown.
    QString text() const;

private:
    void copyToClipboard();
    void save();

    QTreeWidget *m_list;
    Prompts &m_prompts;
};

} // namespace korvesta
