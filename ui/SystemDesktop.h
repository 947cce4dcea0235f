#pragma once

#include "ChimePlayer.h"
#include "Desktop.h"

class SystemDesktop final : public Desktop
{
public:
    // The sound that will be played is made ready at once.
    explicit SystemDesktop(const QString &soundFile = {});

    bool openUrl(const QUrl &url) override;
    // The platform's beep stands in when the sound cannot be played.
    void playSound(const QString &file) override;

private:
    ChimePlayer m_chime;
};
