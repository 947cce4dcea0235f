#pragma once

#include "engine/EncoderCommand.h"
#include "engine/RunOutcome.h"

#include <QObject>
#include <QProcess>
#include <QStringDecoder>
#include <QTimer>

#include <optional>

// Runs one encoder at a time as a child process in a process group of its
// own, hands its merged output on in chunks of at most 1024 bytes, and
// announces the end once the child has exited and every chunk is delivered.
// A child that stays silent too long is stopped as hung.
class EncoderRunner final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EncoderRunner)

public:
    static constexpr qint64 ChunkSize = 1024;

    // How many of the last lines of output an outcome carries.
    static constexpr int LastLines = 4;

    explicit EncoderRunner(QObject *parent = nullptr);
    ~EncoderRunner() override;

    void setCommand(const EncoderCommand &command) { m_command = command; }
    // The environment the next runs start in; the program's own by default.
    void setEnvironment(const QProcessEnvironment &environment) { m_environment = environment; }
    // The part file the running or last encoder said it writes; empty when
    // it said none.
    QString partFile() const { return m_partFile; }

    // Starts the command and returns at once: nothing when it started, and
    // finished follows; otherwise why not, and no signal follows.
    std::optional<Outcome::CouldNotStart> start();

    // Ends the child and everything it started: terminate, then kill after
    // a grace period. finished follows with Stopped.
    void stop();
    // For a program that is closing: stops the child and waits for it,
    // killing the group when the grace period runs out.
    void stopAndWait();

    static constexpr int StopGraceMilliseconds = 3000;
    // An encoder prints progress several times a second; one that says
    // nothing for this long is stuck (a stalled mount, a blocked pipe).
    static constexpr int DefaultStallTimeoutSeconds = 5 * 60;
    // 0 turns the watchdog off.
    void setStallTimeout(int milliseconds) { m_stallTimeout = milliseconds; }

Q_SIGNALS:
    void outputReceived(const QString &chunk);
    // Converted (exit status 0, with the path the encoder said it saved
    // to, if any), Failed (EncoderError
    // with the exit code, or Crashed with the signal), Hung or Stopped.
    void finished(const RunOutcome &outcome);

private:
    bool programExists() const;
    void deliverAvailableOutput();
    void finishRun(int exitCode, QProcess::ExitStatus status);
    RunOutcome outcomeOf(int exitCode, QProcess::ExitStatus status) const;

    EncoderCommand m_command;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    QString m_output;
    QString m_partFile;
    QProcess *m_process = nullptr;
    qint64 m_groupId = 0;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
    QTimer m_killTimer;
    QTimer m_stallTimer;
    int m_stallTimeout = DefaultStallTimeoutSeconds * 1000;
    bool m_stopRequested = false;
    bool m_stalled = false;
};
