#pragma once

#include "engine/ports/Desktop.h"

#include <QRegularExpression>
#include <QStringList>

// Keeps what the window asks of the desktop, a line a request, and fails or
// succeeds as a test sets it to.
class RecordingDesktop final : public Desktop
{
public:
    void showFolder(const QString &folder, const QStringList &selected, Failed failed) override
    {
        calls.append(QStringLiteral("show %1 [%2]").arg(folder, selected.join(u", ")));
        if (!opens)
            failed();
    }
    void openUrl(const QUrl &url, Failed failed) override
    {
        calls.append(QStringLiteral("open ") + url.toString());
        if (!opens)
            failed();
    }
    void playSound(const QString &file) override { calls.append(QStringLiteral("play ") + file); }
    void stayAwake(Failed failed) override
    {
        calls.append(QStringLiteral("stay awake"));
        if (!keepsAwake)
            failed();
    }
    void allowSleep() override { calls.append(QStringLiteral("allow sleep")); }
    void showBatchProgress(std::optional<double> fraction, int filesLeft) override
    {
        calls.append(QStringLiteral("progress %1, %2 left")
                         .arg(fraction ? QString::number(*fraction) : QStringLiteral("off"))
                         .arg(filesLeft));
    }
    void notify(const QString &title, const QString &text, const QString &action,
                std::function<void()> chosen) override
    {
        calls.append(QStringLiteral("notify %1: %2 [%3]").arg(title, text, action));
        notificationChosen = std::move(chosen);
    }

    // The requests whose line starts as pattern says, in order.
    QStringList callsOf(const QString &pattern) const
    {
        return calls.filter(QRegularExpression(u'^' + pattern));
    }

    bool opens = true;
    bool keepsAwake = true;
    QStringList calls;
    std::function<void()> notificationChosen;
};
