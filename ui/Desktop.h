#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

// What the window asks of the desktop: showing folders and opening pages in
// the user's programs, and playing the completion sound. Tests record it.
class Desktop
{
public:
    // Called, once, when nothing on this machine could do what was asked.
    // Opening takes its time, so the answer may come after the call returns.
    using Failed = std::function<void()>;

    virtual ~Desktop() = default;
    // The folder in the file manager, with the files of it that are given
    // selected where the file manager can.
    virtual void showFolder(const QString &folder, const QStringList &selected, Failed failed) = 0;
    virtual void openUrl(const QUrl &url, Failed failed) = 0;
    virtual void playSound(const QString &file) = 0;
};
