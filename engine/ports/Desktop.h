#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

// What the window asks of the desktop: showing folders and opening pages in
// the user's programs, playing the completion sound, and during a batch
// keeping the machine awake, its progress on the taskbar and a word at its
// end. Tests record it.
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

    // The machine stays awake until allowSleep(); failed when nothing on
    // this desktop can keep it so.
    virtual void stayAwake(Failed failed) = 0;
    virtual void allowSleep() = 0;
    // The batch's progress, from 0 to 1, on the program's taskbar entry;
    // nothing takes it off.
    virtual void showBatchProgress(std::optional<double> fraction, int filesLeft) = 0;
    // A notification whose one action calls chosen.
    virtual void notify(const QString &title, const QString &text, const QString &action,
                        std::function<void()> chosen) = 0;
};
