#pragma once

#include "desktop/EndNotification.h"
#include "desktop/LauncherProgress.h"
#include "desktop/SleepInhibitor.h"
#include "engine/ports/Desktop.h"
#include "ui/ChimePlayer.h"

// The desktop as freedesktop.org describes it: the file manager, the
// notification server, the sleep inhibitors and the taskbar over D-Bus, and
// xdg-open for pages; with the completion sound.
class SystemDesktop final : public Desktop
{
public:
    // The sound that will be played is made ready at once.
    explicit SystemDesktop(const QString &soundFile = {});

    void showFolder(const QString &folder, const QStringList &selected, Failed failed) override;
    void openUrl(const QUrl &url, Failed failed) override;
    // The platform's beep stands in when the sound cannot be played.
    void playSound(const QString &file) override;
    void stayAwake(Failed failed) override;
    void allowSleep() override;
    void showBatchProgress(std::optional<double> fraction, int filesLeft) override;
    void notify(const QString &title, const QString &text, const QString &action,
                std::function<void()> chosen) override;

private:
    ChimePlayer m_chime;
    SleepInhibitor m_inhibitor;
    LauncherProgress m_launcher;
    EndNotification m_notification;
    std::function<void()> m_notificationChosen;
};
