#include "FirstPaintReport.h"

#include <QEvent>
#include <QWidget>

#include <cstdio>

FirstPaintReport::FirstPaintReport(QWidget &window) : QObject(&window), m_window(window) {}

void FirstPaintReport::installIfAsked(QWidget &window)
{
    if (qEnvironmentVariableIsSet("ZENVORA_REPORT_FIRST_PAINT"))
        window.installEventFilter(new FirstPaintReport(window));
}

bool FirstPaintReport::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && event->type() == QEvent::Paint) {
        // Told once the paint event has been handled and its frame flushed.
        QMetaObject::invokeMethod(
            this,
            [this] {
                std::fputs("zenvora: first frame painted\n", stderr);
                std::fflush(stderr);
                deleteLater();
            },
            Qt::QueuedConnection);
        m_window.removeEventFilter(this);
    }
    return false;
}
