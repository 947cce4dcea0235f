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
    // A yes-or-no question; true when the user said yes.
    virtual bool confirm(const QString &text, const QString &caption) = 0;
};
