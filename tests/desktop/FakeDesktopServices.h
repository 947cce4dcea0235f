#pragma once

#include <QDBusConnection>
#include <QFlags>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

// Small stand-ins for the desktop's services on a private bus: each call
// they receive becomes a line of calls() (and of a log file, for scripts),
// such as "ScreenSaver.Inhibit Zenvora" or "login1.released".
class FakeDesktopServices final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeDesktopServices)

public:
    enum class Service
    {
        FileManager = 0x1,
        ScreenSaver = 0x2,
        Portal = 0x4,
        Logind = 0x8,
        Notifications = 0x10,
        Launcher = 0x20 // listens to the taskbar entry's signal
    };
    Q_DECLARE_FLAGS(Services, Service)

    // Services by the names scripts give them: FileManager1, ScreenSaver,
    // portal, login1, Notifications, LauncherEntry.
    static std::optional<Service> named(const QString &name);

    FakeDesktopServices(QDBusConnection bus, Services services, QString logFile = {},
                        QObject *parent = nullptr);
    // Why a service could not be offered; empty when all are.
    QString error() const { return m_error; }
    QStringList calls() const { return m_calls; }
    // As a user's click on a notification's action.
    void invokeAction(uint notification, const QString &action);

    void record(const QString &line);

Q_SIGNALS:
    void called(const QString &line);

private Q_SLOTS:
    void launcherUpdated(const QString &appUri, const QVariantMap &properties);

private:
    void offer(const QString &service, const QString &path, QObject *object);

    QDBusConnection m_bus;
    QString m_logFile;
    QString m_error;
    QStringList m_calls;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(FakeDesktopServices::Services)
