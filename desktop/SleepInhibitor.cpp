#include "desktop/SleepInhibitor.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QVariantMap>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// A service that is there answers at once; one that hangs must not keep the
// batch from starting to be kept awake by the next way.
constexpr int AnswerTimeoutMilliseconds = 3'000;

// The portal's flags: suspending and going idle.
constexpr uint PortalSuspendAndIdle = 4 | 8;

QString wayName(SleepInhibitor::Way way)
{
    static const QString names[] = {
        {}, u"logind"_s, u"the desktop portal"_s, u"the screen saver"_s};
    return names[static_cast<int>(way)];
}

SleepInhibitor::Way nextWay(SleepInhibitor::Way way)
{
    return way == SleepInhibitor::Way::ScreenSaver
               ? SleepInhibitor::Way::None
               : static_cast<SleepInhibitor::Way>(static_cast<int>(way) + 1);
}

QDBusMessage inhibitCall(SleepInhibitor::Way way, const QString &reason)
{
    switch (way) {
    case SleepInhibitor::Way::Logind:
        return QDBusMessage::createMethodCall(u"org.freedesktop.login1"_s,
                                              u"/org/freedesktop/login1"_s,
                                              u"org.freedesktop.login1.Manager"_s, u"Inhibit"_s)
               << u"sleep:idle"_s << u"Zenvora"_s << reason << u"block"_s;
    case SleepInhibitor::Way::Portal:
        return QDBusMessage::createMethodCall(u"org.freedesktop.portal.Desktop"_s,
                                              u"/org/freedesktop/portal/desktop"_s,
                                              u"org.freedesktop.portal.Inhibit"_s, u"Inhibit"_s)
               << QString() << PortalSuspendAndIdle << QVariantMap{{u"reason"_s, reason}};
    case SleepInhibitor::Way::ScreenSaver:
        return QDBusMessage::createMethodCall(u"org.freedesktop.ScreenSaver"_s,
                                              u"/org/freedesktop/ScreenSaver"_s,
                                              u"org.freedesktop.ScreenSaver"_s, u"Inhibit"_s)
               << u"Zenvora"_s << reason;
    case SleepInhibitor::Way::None:
        break;
    }
    return {};
}

} // namespace

SleepInhibitor::SleepInhibitor(QDBusConnection systemBus, QDBusConnection sessionBus,
                               QString reason, QObject *parent)
    : QObject(parent), m_systemBus(std::move(systemBus)), m_sessionBus(std::move(sessionBus)),
      m_reason(std::move(reason))
{
}

SleepInhibitor::~SleepInhibitor()
{
    release();
}

void SleepInhibitor::hold()
{
    if (m_wanted)
        return;
    m_wanted = true;
    ++m_request;
    m_failures.clear();
    tryWay(Way::Logind);
}

void SleepInhibitor::release()
{
    m_wanted = false;
    ++m_request;
    giveUp(m_hold);
}

void SleepInhibitor::tryWay(Way way)
{
    if (way == Way::None) {
        Q_EMIT unavailable(m_failures);
        return;
    }
    QDBusConnection &bus = way == Way::Logind ? m_systemBus : m_sessionBus;
    if (!bus.isConnected()) {
        wayAnswered(way,
                    QDBusPendingCall::fromError(
                        QDBusError(QDBusError::Disconnected, u"no bus to ask on"_s)),
                    m_request);
        return;
    }
    auto *watcher = new QDBusPendingCallWatcher(
        bus.asyncCall(inhibitCall(way, m_reason), AnswerTimeoutMilliseconds), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, watcher, way, request = m_request] {
                watcher->deleteLater();
                wayAnswered(way, *watcher, request);
            });
}

void SleepInhibitor::wayAnswered(Way way, const QDBusPendingCall &answer, quint64 request)
{
    const bool current = request == m_request;
    if (answer.isError()) {
        if (!current)
            return;
        const QString reason = wayName(way) + u": "_s + answer.error().message();
        std::fprintf(stderr, "%s: sleep not inhibited through %s\n",
                     qUtf8Printable(QFileInfo(QCoreApplication::applicationFilePath()).fileName()),
                     qUtf8Printable(reason));
        m_failures.append(reason);
        tryWay(nextWay(way));
        return;
    }
    Hold hold{way, {}, {}, 0};
    if (way == Way::Logind)
        hold.logindLock = QDBusPendingReply<QDBusUnixFileDescriptor>(answer).value();
    else if (way == Way::Portal)
        hold.portalRequest = QDBusPendingReply<QDBusObjectPath>(answer).value().path();
    else
        hold.screenSaverCookie = QDBusPendingReply<uint>(answer).value();
    if (!current) {
        giveUp(hold);
        return;
    }
    m_hold = hold;
    Q_EMIT held(way);
}

// Given up without waiting for an answer: nothing is left to do on failure.
// logind's lock goes with its descriptor, which the emptied hold closes.
void SleepInhibitor::giveUp(Hold &hold)
{
    if (hold.way == Way::Portal)
        m_sessionBus.send(
            QDBusMessage::createMethodCall(u"org.freedesktop.portal.Desktop"_s, hold.portalRequest,
                                           u"org.freedesktop.portal.Request"_s, u"Close"_s));
    else if (hold.way == Way::ScreenSaver)
        m_sessionBus.send(QDBusMessage::createMethodCall(
                              u"org.freedesktop.ScreenSaver"_s, u"/org/freedesktop/ScreenSaver"_s,
                              u"org.freedesktop.ScreenSaver"_s, u"UnInhibit"_s)
                          << hold.screenSaverCookie);
    hold = {};
}
