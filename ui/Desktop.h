#pragma once

#include <QString>
#include <QUrl>

// What the window asks of the desktop: opening folders, pages and help in
// the user's programs, and playing the completion sound. Tests record it.
class Desktop
{
public:
    virtual ~Desktop() = default;
    // false when no program on this machine opens it.
    virtual bool openUrl(const QUrl &url) = 0;
    virtual void playSound(const QString &file) = 0;
};
