#pragma once

#include "EncoderCommand.h"

#include <QObject>
#include <QProcess>
#include <QStringDecoder>
#include <QTimer>

class MessageSink;

// Runs one encoder at a time as a child process in a process group of its
// own, hands its merged output on in chunks of at most 1024 bytes, and
// announces the end once the child has exited and every chunk is delivered.
class DOSOutputs final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DOSOutputs)

public:
    enum class Outcome
    {
        Succeeded,
        ExitedWithError,
        Crashed,
        Stopped
    };
    struct RunResult
    {
        Outcome outcome = Outcome::Succeeded;
        int exitCode = 0;
    };

    static constexpr qint64 ChunkSize = 1024;

    explicit DOSOutputs(MessageSink &messages, QObject *parent = nullptr);
    ~DOSOutputs() override;

    void setCommandLine(const QString &commandLine);
    void setCommand(const EncoderCommand &command);
    QString CommandLine() const { return m_command.text(); }
    QString Outputs() const { return m_outputs; }

    // Starts the command and returns at once; false when it could not start
    // (the user has been told why) or when a run is still going on.
    bool ExecuteCommand(const QString &commandLine = {});
    bool isRunning() const { return m_process != nullptr; }
    RunResult lastResult() const { return m_result; }

    // Ends the child and everything it started: terminate, then kill after
    // a grace period. CommandOver follows with the outcome Stopped.
    void stop();
    // For a program that is closing: stops the child and waits for it,
    // killing the group when the grace period runs out.
    void stopAndWait();

    static constexpr int StopGraceMilliseconds = 3000;

Q_SIGNALS:
    void ReceiveOutputs(const QString &chunk);
    void CommandOver();

private:
    bool programExists() const;
    void deliverAvailableOutput();
    void finishRun(int exitCode, QProcess::ExitStatus status);

    MessageSink &m_messages;
    EncoderCommand m_command;
    QString m_outputs;
    QProcess *m_process = nullptr;
    qint64 m_groupId = 0;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
    QTimer m_killTimer;
    bool m_stopRequested = false;
    RunResult m_result;
};
