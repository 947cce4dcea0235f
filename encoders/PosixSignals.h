#pragma once

#include <QObject>

class QProcess;
class QSocketNotifier;

// Every POSIX call of the encoders lives here. Termination signals are
// turned into a Qt signal through a self-pipe, so no work is done inside a
// signal handler; the encoder and the tools it starts are bound to their
// parents' lives so nothing is left running when the program dies.
class PosixSignals final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PosixSignals)

public:
    // Installs the handlers for SIGTERM, SIGINT and SIGHUP, and ignores
    // SIGPIPE so a vanished reader cannot kill the encoder before it cleans up.
    explicit PosixSignals(QObject *parent = nullptr);
    ~PosixSignals() override;

    // Asks for SIGTERM when the parent dies. False when the parent is
    // already gone, which the request could not notice by itself.
    static bool bindToParent();

    // Makes the process's child die with this process, with its signal
    // dispositions back at their defaults.
    static void bindChildToThisProcess(QProcess &process);

Q_SIGNALS:
    void terminationRequested(int signalNumber);

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};
