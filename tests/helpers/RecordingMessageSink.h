#pragma once

#include "engine/ports/MessageSink.h"

#include <QList>
#include <QString>

#include <functional>

// Keeps every message instead of showing it, so tests can read them.
class RecordingMessageSink final : public MessageSink
{
public:
    struct Message
    {
        QString text;
        QString caption;
        Icon icon;
        QString details{};
    };

    void showMessage(const QString &text, const QString &caption, Icon icon) override
    {
        messages.append({text, caption, icon});
    }

    void showDetailedMessage(const QString &text, const QString &caption, Icon icon,
                             const QString &details) override
    {
        messages.append({text, caption, icon, details});
    }

    // What happens while a question is open runs in whileAsking; a question
    // dismissed meanwhile is answered no.
    bool confirm(const QString &text, const QString &caption, OnEnter onEnter) override
    {
        questions.append({text, caption, Icon::Information});
        enterAnswers.append(onEnter);
        m_asking = true;
        m_dismissed = false;
        if (whileAsking)
            whileAsking();
        m_asking = false;
        return confirmAnswer && !m_dismissed;
    }

    void dismissQuestion() override
    {
        if (m_asking)
            ++dismissals;
        m_dismissed = m_asking;
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
    QList<OnEnter> enterAnswers; // what Enter would have answered each question
    bool confirmAnswer = true;
    std::function<void()> whileAsking;
    int dismissals = 0;

private:
    bool m_asking = false;
    bool m_dismissed = false;
};
