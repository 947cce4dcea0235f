#pragma once

#include "ChimePlayer.h"
#include "Desktop.h"

// The desktop as freedesktop.org describes it: the file manager over the
// session bus, else xdg-open, whose exit status tells whether anything
// opened (it is there on desktops that have no program to open with).
class SystemDesktop final : public Desktop
{
public:
    // The sound that will be played is made ready at once.
    explicit SystemDesktop(const QString &soundFile = {});

    void showFolder(const QString &folder, const QStringList &selected, Failed failed) override;
    void openUrl(const QUrl &url, Failed failed) override;
    // The platform's beep stands in when the sound cannot be played.
    void playSound(const QString &file) override;

private:
    ChimePlayer m_chime;
};
