#include "settings/BackgroundMove.h"

#include <QMouseEvent>
#include <QWidget>

BackgroundMove::BackgroundMove(QWidget &window) : m_window(window)
{
    window.installEventFilter(this);
}

bool BackgroundMove::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched != &m_window || (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
                                 type != QEvent::MouseButtonRelease))
        return false;
    // Cast only once the type says it is one: most events the window gets
    // are not mouse events, and treating them as such is undefined.
    const auto *mouse = static_cast<QMouseEvent *>(event);
    switch (type) {
    case QEvent::MouseButtonPress:
        if (mouse->button() == Qt::LeftButton)
            m_grabOffset = mouse->globalPosition().toPoint() - m_window.pos();
        break;
    case QEvent::MouseMove:
        if (m_grabOffset && (mouse->buttons() & Qt::LeftButton))
            m_window.move(mouse->globalPosition().toPoint() - *m_grabOffset);
        else
            m_grabOffset.reset();
        break;
    case QEvent::MouseButtonRelease:
        m_grabOffset.reset();
        break;
    default:
        break;
    }
    return false;
}
