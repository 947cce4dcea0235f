#pragma once

#include <QPoint>

#include <optional>

class QMouseEvent;
class QWidget;

// A window without a title bar moves when dragged by its background: it
// follows the pointer while the button is held, the point pressed staying
// under the pointer, and stops at the release. Not the desktop's own move:
// one started at a press that the window manager sees only after the
// release never ends, and the window follows the pointer with no button
// held.
class BackgroundMove final
{
public:
    void press(const QWidget &window, const QMouseEvent &event);
    void move(QWidget &window, const QMouseEvent &event);
    void release() { m_grabOffset.reset(); }

private:
    std::optional<QPoint> m_grabOffset; // from the window's corner to the pointer
};
