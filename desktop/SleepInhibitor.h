#pragma once

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QString>
#include <QStringList>

// Keeps the machine from sleeping while it is held: logind's inhibitor on
// the system bus, else the desktop portal's, else the screen saver's on the
// session bus; the first that answers is kept. Every way ends with the
// process too (the lock's descriptor closes, the bus connection drops), so a
// crash never leaves the machine awake for good.
class SleepInhibitor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SleepInhibitor)

public:
    // The ways in the order they are tried.
    enum class Way
    {
        None,
        Logind,
        Portal,
        ScreenSaver
    };

    SleepInhibitor(QDBusConnection systemBus, QDBusConnection sessionBus, QString reason,
                   QObject *parent = nullptr);
    ~SleepInhibitor() override;

    // The answers come later; holding twice holds once.
    void hold();
    void release();
    Way way() const { return m_hold.way; }

Q_SIGNALS:
    void held(SleepInhibitor::Way way);
    // No way worked; each one's reason is also on stderr.
    void unavailable(const QStringList &reasons);

private:
    // What a way that worked gave back, to be given up with it.
    struct Hold
    {
        Way way = Way::None;
        QDBusUnixFileDescriptor logindLock;
        QString portalRequest;
        uint screenSaverCookie = 0;
    };

    void tryWay(Way way);
    void wayAnswered(Way way, const QDBusPendingCall &answer, quint64 request);
    void giveUp(Hold &hold);

    QDBusConnection m_systemBus;
    QDBusConnection m_sessionBus;
    QString m_reason;
    bool m_wanted = false;
    quint64 m_request = 0; // an answer to an earlier hold() is given up, not kept
    QStringList m_failures;
    Hold m_hold;
};
