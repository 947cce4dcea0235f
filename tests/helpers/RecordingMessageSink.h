#pragma once

#include "MessageSink.h"

#include <QList>
#include <QString>

// Keeps every message instead of showing it, so tests can read them.
class RecordingMessageSink final : public MessageSink
{
public:
    struct Message
    {
        QString text;
        QString caption;
        Icon icon;
    };

    void showMessage(const QString &text, const QString &caption, Icon icon) override
    {
        messages.append({text, caption, icon});
    }

    bool confirm(const QString &text, const QString &caption) override
    {
        questions.append({text, caption, Icon::Information});
        return confirmAnswer;
    }

    QStringList texts() const
    {
        QStringList all;
        for (const Message &message : messages)
            all.append(message.text);
        return all;
    }

    QList<Message> messages;
    QList<Message> questions;
    bool confirmAnswer = true;
};
