#include "BackgroundMove.h"

#include <QMouseEvent>
#include <QWidget>

BackgroundMove::BackgroundMove(QWidget &window) : m_window(window)
{
    window.installEventFilter(this);
}

bool BackgroundMove::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_window)
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    switch (event->type()) {
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
