#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT, SIGTERM and SIGHUP into a Qt signal, so that an interrupted
// run stops its batch like the Stop command instead of dying on the spot
// and leaving its encoder, partial output and working folder behind. The
// handler only writes to a pipe; the work is done in the event loop.
class StopSignals final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StopSignals)

public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

    // The first signal received, 0 when none was.
    int received() const { return m_received; }

Q_SIGNALS:
    void stopRequested(int signalNumber);

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
    int m_received = 0;
};
