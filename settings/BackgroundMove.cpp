#include "BackgroundMove.h"

#include <QMouseEvent>
#include <QWidget>

void BackgroundMove::press(const QWidget &window, const QMouseEvent &event)
{
    if (event.button() == Qt::LeftButton)
        m_grabOffset = event.globalPosition().toPoint() - window.pos();
}

void BackgroundMove::move(QWidget &window, const QMouseEvent &event)
{
    if (!m_grabOffset || !(event.buttons() & Qt::LeftButton)) {
        m_grabOffset.reset();
        return;
    }
    window.move(event.globalPosition().toPoint() - *m_grabOffset);
}
