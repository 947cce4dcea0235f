#include "tests/desktop/FakeDesktopServices.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QSocketNotifier>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Each adaptor exports its slots under the interface its class info names.
class FileManager final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    explicit FileManager(FakeDesktopServices &log) : QObject(&log), m_log(log) {}

public Q_SLOTS:
    void ShowFolders(const QStringList &uris, const QString &)
    {
        m_log.record(u"FileManager1.ShowFolders "_s + uris.join(u' '));
    }
    void ShowItems(const QStringList &uris, const QString &)
    {
        m_log.record(u"FileManager1.ShowItems "_s + uris.join(u' '));
    }

private:
    FakeDesktopServices &m_log;
};

class ScreenSaver final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    explicit ScreenSaver(FakeDesktopServices &log) : QObject(&log), m_log(log) {}

public Q_SLOTS:
    uint Inhibit(const QString &application, const QString &)
    {
        m_log.record(u"ScreenSaver.Inhibit "_s + application);
        return ++m_cookie;
    }
    void UnInhibit(uint cookie) { m_log.record(u"ScreenSaver.UnInhibit %1"_s.arg(cookie)); }

private:
    FakeDesktopServices &m_log;
    uint m_cookie = 40;
};

class PortalRequest final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")

public:
    explicit PortalRequest(FakeDesktopServices &log) : QObject(&log), m_log(log) {}

public Q_SLOTS:
    void Close() { m_log.record(u"portal.Request.Close"_s); }

private:
    FakeDesktopServices &m_log;
};

const QString PortalRequestPath = u"/org/freedesktop/portal/desktop/request/1_1/zenvora"_s;

class Portal final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Inhibit")

public:
    explicit Portal(FakeDesktopServices &log) : QObject(&log), m_log(log) {}

public Q_SLOTS:
    QDBusObjectPath Inhibit(const QString &, uint flags, const QVariantMap &)
    {
        m_log.record(u"portal.Inhibit flags=%1"_s.arg(flags));
        return QDBusObjectPath(PortalRequestPath);
    }

private:
    FakeDesktopServices &m_log;
};

// The lock is one end of a pipe: the other end reads the end of the file
// once the caller has closed its copy, by releasing or by dying.
class Logind final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    explicit Logind(FakeDesktopServices &log) : QObject(&log), m_log(log) {}

public Q_SLOTS:
    QDBusUnixFileDescriptor Inhibit(const QString &what, const QString &, const QString &,
                                    const QString &mode)
    {
        m_log.record(u"login1.Inhibit %1 %2"_s.arg(what, mode));
        int ends[2];
        if (::pipe(ends) != 0)
            return {};
        auto *closed = new QSocketNotifier(ends[0], QSocketNotifier::Read, this);
        connect(closed, &QSocketNotifier::activated, this, [this, closed, readEnd = ends[0]] {
            char byte;
            if (::read(readEnd, &byte, 1) > 0)
                return;
            closed->setEnabled(false);
            closed->deleteLater();
            ::close(readEnd);
            m_log.record(u"login1.released"_s);
        });
        const QDBusUnixFileDescriptor lock(ends[1]);
        ::close(ends[1]);
        return lock;
    }

private:
    FakeDesktopServices &m_log;
};

class Notifications final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    explicit Notifications(FakeDesktopServices &log) : QObject(&log), m_log(log) {}

public Q_SLOTS:
    uint Notify(const QString &, uint, const QString &, const QString &summary, const QString &body,
                const QStringList &actions, const QVariantMap &, int)
    {
        m_log.record(u"Notifications.Notify %1|%2|%3"_s.arg(summary, body, actions.join(u',')));
        return ++m_id;
    }
    // Not the server's: a script's stand-in for the user's click, whose
    // signal must come from the server's own connection to be believed.
    void InvokeAction(uint id, const QString &action) { m_log.invokeAction(id, action); }

private:
    FakeDesktopServices &m_log;
    uint m_id = 0;
};

} // namespace

std::optional<FakeDesktopServices::Service> FakeDesktopServices::named(const QString &name)
{
    const std::pair<QString, Service> names[] = {{u"FileManager1"_s, Service::FileManager},
                                                 {u"ScreenSaver"_s, Service::ScreenSaver},
                                                 {u"portal"_s, Service::Portal},
                                                 {u"login1"_s, Service::Logind},
                                                 {u"Notifications"_s, Service::Notifications},
                                                 {u"LauncherEntry"_s, Service::Launcher}};
    for (const auto &[each, service] : names) {
        if (each == name)
            return service;
    }
    return std::nullopt;
}

FakeDesktopServices::FakeDesktopServices(QDBusConnection bus, Services services, QString logFile,
                                         QObject *parent)
    : QObject(parent), m_bus(std::move(bus)), m_logFile(std::move(logFile))
{
    if (services.testFlag(Service::FileManager))
        offer(u"org.freedesktop.FileManager1"_s, u"/org/freedesktop/FileManager1"_s,
              new FileManager(*this));
    if (services.testFlag(Service::ScreenSaver))
        offer(u"org.freedesktop.ScreenSaver"_s, u"/org/freedesktop/ScreenSaver"_s,
              new ScreenSaver(*this));
    if (services.testFlag(Service::Portal)) {
        offer(u"org.freedesktop.portal.Desktop"_s, u"/org/freedesktop/portal/desktop"_s,
              new Portal(*this));
        offer(u"org.freedesktop.portal.Desktop"_s, PortalRequestPath, new PortalRequest(*this));
    }
    if (services.testFlag(Service::Logind))
        offer(u"org.freedesktop.login1"_s, u"/org/freedesktop/login1"_s, new Logind(*this));
    if (services.testFlag(Service::Notifications))
        offer(u"org.freedesktop.Notifications"_s, u"/org/freedesktop/Notifications"_s,
              new Notifications(*this));
    if (services.testFlag(Service::Launcher) &&
        !m_bus.connect({}, {}, u"com.canonical.Unity.LauncherEntry"_s, u"Update"_s, this,
                       SLOT(launcherUpdated(QString, QVariantMap))))
        m_error = m_bus.lastError().message();
}

void FakeDesktopServices::offer(const QString &service, const QString &path, QObject *object)
{
    if (!m_bus.registerObject(path, object, QDBusConnection::ExportAllSlots) ||
        !m_bus.registerService(service))
        m_error = service + u": "_s + m_bus.lastError().message();
}

void FakeDesktopServices::invokeAction(uint notification, const QString &action)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(u"/org/freedesktop/Notifications"_s,
                                   u"org.freedesktop.Notifications"_s, u"ActionInvoked"_s);
    signal << notification << action;
    m_bus.send(signal);
}

void FakeDesktopServices::launcherUpdated(const QString &appUri, const QVariantMap &properties)
{
    record(u"LauncherEntry.Update %1 progress=%2 visible=%3 count=%4"_s.arg(
        appUri, QString::number(properties.value(u"progress"_s).toDouble(), 'g', 3),
        properties.value(u"progress-visible"_s).toBool() ? u"yes"_s : u"no"_s,
        QString::number(properties.value(u"count"_s).toLongLong())));
}

void FakeDesktopServices::record(const QString &line)
{
    m_calls.append(line);
    if (!m_logFile.isEmpty()) {
        QFile file(m_logFile);
        if (file.open(QIODevice::Append))
            file.write(line.toUtf8() + '\n');
    }
    Q_EMIT called(line);
}

#include "FakeDesktopServices.moc"
