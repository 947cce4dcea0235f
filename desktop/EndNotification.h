#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

// A desktop notification with one action, through the notification server
// on the session bus; the action's click comes back as a signal.
class EndNotification final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EndNotification)

public:
    // icon: a theme icon name or a file's path.
    EndNotification(QDBusConnection sessionBus, QString icon, QObject *parent = nullptr);

    // false when no notification server is there to ask.
    bool show(const QString &summary, const QString &body, const QString &actionText);

Q_SIGNALS:
    void actionInvoked();

private Q_SLOTS:
    void onActionInvoked(uint id, const QString &action);

private:
    QDBusConnection m_bus;
    QString m_icon;
    uint m_shown = 0; // the id of the one shown last
};
