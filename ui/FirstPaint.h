#pragma once

#include <QObject>

#include <functional>

// Runs an action once a window has painted its first frame: it is then on
// the screen where the window manager placed it, so what the action opens
// over it (a question) opens over it, not at the screen's corner.
class FirstPaint final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FirstPaint)

public:
    static void then(QWidget &window, std::function<void()> action);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FirstPaint(QWidget &window, std::function<void()> action);

    QWidget &m_window;
    std::function<void()> m_action;
};
