#pragma once

#include <QTimer>
#include <QWidget>

namespace korvesta {

// Animation1: a spinner over the right pane and the wait cursor while the program works.
// Starts nest: the indicator stays until the last stop.
class BusyIndicator : public QWidget
{
    Q_OBJECT

public:
    explicit BusyIndicator(QWidget *parent = nullptr);
    ~BusyIndicator() override;

    // `animation` names the kind of work (the program's animations 102 to 113); they all
    // show the same spinner here.
    void start(int animation = 0);
    void stop();
    bool isBusy() const { return m_depth > 0; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void centre();

    QTimer m_timer;
    int m_step = 0;
    int m_depth = 0;
};

// Keeps the indicator going for a scope.
class BusyScope
{
public:
    explicit BusyScope(BusyIndicator *indicator, int animation = 0)
        : m_indicator(indicator)
    {
        if (m_indicator)
            m_indicator->start(animation);
    }
    ~BusyScope()
    {
        if (m_indicator)
            m_indicator->stop();
    }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    BusyIndicator *m_indicator; // Not owned.
};

} // namespace korvesta
