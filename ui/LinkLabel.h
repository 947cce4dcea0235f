#pragma once

#include <QLabel>
#include <QRect>

// A label that acts as a link: underlined, in the link colour, greyed while
// disabled, with a pointing hand; a click emits clicked(). It keeps the
// top-left corner of its place and grows to hold its text with the
// underline, which a fixed height cuts off with some fonts and scales.
class LinkLabel final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LinkLabel)

public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

    // The smallest place the label takes.
    void place(const QRect &minimum);
    // Bold while the pointer is over the enabled label.
    void setBoldOnHover(bool bold) { m_boldOnHover = bold; }

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setBold(bool bold);
    void fitText();

    QRect m_minimum;
    bool m_boldOnHover = false;
};
