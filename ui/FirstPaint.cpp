#include "ui/FirstPaint.h"

#include <QEvent>
#include <QWidget>

FirstPaint::FirstPaint(QWidget &window, std::function<void()> action)
    : QObject(&window), m_window(window), m_action(std::move(action))
{
}

void FirstPaint::then(QWidget &window, std::function<void()> action)
{
    window.installEventFilter(new FirstPaint(window, std::move(action)));
}

bool FirstPaint::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && event->type() == QEvent::Paint) {
        // Once the paint event has been handled and its frame flushed.
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_action();
                deleteLater();
            },
            Qt::QueuedConnection);
        m_window.removeEventFilter(this);
    }
    return false;
}
