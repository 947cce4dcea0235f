#pragma once

#include "engine/ports/MessageSink.h"

#include <QPointer>

class QMessageBox;
class QWidget;

// Shows the engine's messages as modal message boxes over the window.
class MessageBoxSink final : public MessageSink
{
public:
    explicit MessageBoxSink(QWidget *owner) : m_owner(owner) {}
    // The window that owns the boxes exists only after the sink it is given.
    void setOwner(QWidget *owner) { m_owner = owner; }

    void showMessage(const QString &text, const QString &caption, Icon icon) override;
    bool confirm(const QString &text, const QString &caption, OnEnter onEnter) override;
    void dismissQuestion() override;
    void showDetailedMessage(const QString &text, const QString &caption, Icon icon,
                             const QString &details) override;

private:
    QWidget *m_owner;
    QPointer<QMessageBox> m_question;
};
