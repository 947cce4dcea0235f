#pragma once

#include <QObject>

class QProcess;
class QSocketNotifier;

// Every POSIX signal and process call of the encoders lives here; zenvora-cli
// uses it too, to stop its batch on a termination signal.
// Termination signals are turned into a Qt signal through a self-pipe, so
// no work is done inside a signal handler; the encoder and the tools it
// starts are bound to their parents' lives so nothing is left running when
// the program dies.
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

    // Starts the process's child as the leader of a process group of its
    // own, with its signal dispositions back at their defaults, and makes
    // the whole group die with this process, even when this process is
    // killed: a tool may start processes of its own (a wrapper script
    // running the real ffmpeg) that would outlive the tool itself.
    static void bindChildToThisProcess(QProcess &process);

    // Signal the group a bound child leads, whose id is the child's pid.
    static void terminateGroup(qint64 group);
    static void killGroup(qint64 group);

Q_SIGNALS:
    void terminationRequested(int signalNumber);

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};
