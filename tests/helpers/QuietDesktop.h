#pragma once

#include "engine/ports/Desktop.h"

// A desktop that opens, plays and tells nothing, for window tests that do
// not look at what the window asks of it.
class QuietDesktop final : public Desktop
{
public:
    void showFolder(const QString &, const QStringList &, Failed) override {}
    void openUrl(const QUrl &, Failed) override {}
    void playSound(const QString &) override {}
    void stayAwake(Failed) override {}
    void allowSleep() override {}
    void showBatchProgress(std::optional<double>, int) override {}
    void notify(const QString &, const QString &, const QString &, std::function<void()>) override
    {
    }
};
