#include "ui/LinkLabel.h"

#include <QMouseEvent>

#include <algorithm>

LinkLabel::LinkLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    // The text starts at the top of the place, so all that grows is below.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCursor(Qt::PointingHandCursor);
    setForegroundRole(QPalette::Link);
    // Most styles keep the link colour when disabled; a disabled link reads
    // as disabled text.
    QPalette colours = palette();
    colours.setColor(QPalette::Disabled, QPalette::Link,
                     colours.color(QPalette::Disabled, QPalette::WindowText));
    setPalette(colours);
}

void LinkLabel::place(const QRect &minimum)
{
    m_minimum = minimum;
    fitText();
}

void LinkLabel::fitText()
{
    const QFontMetrics metrics(font());
    // Some fonts put the underline lower than their descent reaches.
    const int below = std::max(metrics.descent(), metrics.underlinePos() + metrics.lineWidth());
    // A spare pixel each way: scaled displays round the underline's place.
    const QSize needed(metrics.horizontalAdvance(text()) + 2, metrics.ascent() + below + 2);
    setGeometry(QRect(m_minimum.topLeft(), m_minimum.size().expandedTo(needed)));
}

void LinkLabel::setBold(bool bold)
{
    QFont changed = font();
    changed.setBold(bold);
    setFont(changed);
}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    // Taken here, so a press on the link does not start moving the window.
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void LinkLabel::enterEvent(QEnterEvent *event)
{
    if (m_boldOnHover && isEnabled())
        setBold(true);
    QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent *event)
{
    if (m_boldOnHover)
        setBold(false);
    QLabel::leaveEvent(event);
}

void LinkLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange && m_minimum.isValid())
        fitText();
    QLabel::changeEvent(event);
}
