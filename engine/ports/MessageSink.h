#pragma once

#include <QString>

// Where the few messages meant for the user go: a message box in the window,
// standard error in the headless program, a recorder in tests. The engine
// never opens a dialog itself.
class MessageSink
{
public:
    enum class Icon
    {
        Critical,
        Exclamation,
        Information
    };

    virtual ~MessageSink() = default;
    virtual void showMessage(const QString &text, const QString &caption, Icon icon) = 0;
    // What Enter answers: no where yes would throw work away, yes where no
    // would.
    enum class OnEnter
    {
        No,
        Yes
    };

    // A yes-or-no question; true when the user said yes.
    virtual bool confirm(const QString &text, const QString &caption, OnEnter onEnter) = 0;
    // What the question was about has happened meanwhile: an open question
    // closes as if answered no.
    virtual void dismissQuestion() {}
    // A message whose details only some readers want, such as an encoder's
    // own output; where nothing can fold them away they follow the text.
    virtual void showDetailedMessage(const QString &text, const QString &caption, Icon icon,
                                     const QString &details)
    {
        showMessage(details.isEmpty() ? text : text + QStringLiteral("\n\n") + details, caption,
                    icon);
    }
};
