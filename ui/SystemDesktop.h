#pragma once

#include "Desktop.h"

#include <memory>

class QSoundEffect;

class SystemDesktop final : public Desktop
{
public:
    SystemDesktop();
    ~SystemDesktop() override;

    bool openUrl(const QUrl &url) override;
    // The platform's beep stands in when the sound file is missing.
    void playSound(const QString &file) override;

private:
    std::unique_ptr<QSoundEffect> m_sound;
};
