#pragma once

#include <QObject>
#include <QPoint>

#include <optional>

class QWidget;

// A window without a title bar moves when dragged by its background: it
// follows the pointer while the button is held, the point pressed staying
// under the pointer, and stops at the release. Not the desktop's own move:
// one started at a press that the window manager sees only after the
// release never ends, and the window follows the pointer with no button
// held. Watches the window's own mouse events, those its controls leave to
// it.
class BackgroundMove final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BackgroundMove)

public:
    explicit BackgroundMove(QWidget &window);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_window;
    std::optional<QPoint> m_grabOffset; // from the window's corner to the pointer
};
