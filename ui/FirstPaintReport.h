#pragma once

#include <QObject>

// For measuring start-up: writes one line to standard error once the
// watched window has painted its first frame, then stops watching. Only
// installed when ZENVORA_REPORT_FIRST_PAINT is set.
class FirstPaintReport final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FirstPaintReport)

public:
    static void installIfAsked(QWidget &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit FirstPaintReport(QWidget &window);

    QWidget &m_window;
};
