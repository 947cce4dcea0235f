#include "desktop/EndNotification.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace {

const QString Service = u"org.freedesktop.Notifications"_s;
const QString Path = u"/org/freedesktop/Notifications"_s;
const QString Interface = u"org.freedesktop.Notifications"_s;
const QString ActionKey = u"default"_s;
// The server's own choice of how long it stays.
constexpr int ServerTimeout = -1;

} // namespace

EndNotification::EndNotification(QDBusConnection sessionBus, QString icon, QObject *parent)
    : QObject(parent), m_bus(std::move(sessionBus)), m_icon(std::move(icon))
{
    if (m_bus.isConnected())
        m_bus.connect(Service, Path, Interface, u"ActionInvoked"_s, this,
                      SLOT(onActionInvoked(uint, QString)));
}

bool EndNotification::show(const QString &summary, const QString &body, const QString &actionText)
{
    if (!m_bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, u"Notify"_s);
    // The "default" action is also what a click on the notification itself does.
    call << u"Zenvora"_s << m_shown << m_icon << summary << body
         << QStringList{ActionKey, actionText} << QVariantMap{{u"desktop-entry"_s, u"zenvora"_s}}
         << ServerTimeout;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<uint> reply = *watcher;
        if (reply.isError())
            qWarning("zenvora: no notification: %s", qUtf8Printable(reply.error().message()));
        else
            m_shown = reply.value();
    });
    return true;
}

void EndNotification::onActionInvoked(uint id, const QString &action)
{
    if (id == m_shown && action == ActionKey)
        Q_EMIT actionInvoked();
}
