#include "desktop/LauncherProgress.h"

#include <QDBusMessage>
#include <QVariantMap>

#include <algorithm>

using namespace Qt::StringLiterals;

LauncherProgress::LauncherProgress(QDBusConnection sessionBus, QString desktopFile)
    : m_bus(std::move(sessionBus)), m_appUri(u"application://"_s + desktopFile)
{
}

void LauncherProgress::show(double fraction, int filesLeft)
{
    update({{u"progress"_s, std::clamp(fraction, 0.0, 1.0)},
            {u"progress-visible"_s, true},
            {u"count"_s, qint64(filesLeft)},
            {u"count-visible"_s, filesLeft > 0}});
}

void LauncherProgress::clear()
{
    update({{u"progress"_s, 0.0},
            {u"progress-visible"_s, false},
            {u"count"_s, qint64(0)},
            {u"count-visible"_s, false}});
}

// A signal nobody may hear: a desktop without a dock simply ignores it.
void LauncherProgress::update(const QVariantMap &properties)
{
    if (!m_bus.isConnected())
        return;
    QDBusMessage signal =
        QDBusMessage::createSignal(u"/com/canonical/unity/launcherentry/zenvora"_s,
                                   u"com.canonical.Unity.LauncherEntry"_s, u"Update"_s);
    signal << m_appUri << properties;
    m_bus.send(signal);
}
