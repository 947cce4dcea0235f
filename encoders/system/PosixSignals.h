#pragma once

#include <QObject>

class QSocketNotifier;

// The termination signals of the encoders, the probe server and
// zenvora-cli, which stops its batch on them. They are turned into a Qt
// signal through a self-pipe, so no work is done inside a signal handler.
class PosixSignals final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PosixSignals)

public:
    // Installs the handlers for SIGTERM, SIGINT and SIGHUP, and ignores
    // SIGPIPE so a vanished reader cannot kill the encoder before it cleans up.
    explicit PosixSignals(QObject *parent = nullptr);
    ~PosixSignals() override;

Q_SIGNALS:
    void terminationRequested(int signalNumber);

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};
