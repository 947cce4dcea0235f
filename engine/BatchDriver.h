#pragma once

#include "ActivityIndicator.h"
#include "CommandBuilder.h"
#include "ConversionSettings.h"
#include "DOSOutputs.h"
#include "JobQueue.h"
#include "JobResult.h"
#include "StageCommand.h"
#include "StageOneProgressParser.h"
#include "StageTwoProgressParser.h"

#include <QObject>
#include <QTimer>

#include <optional>

class MessageSink;

// Converts the queue job after job, stage after stage. Each stage starts
// after the previous one's end has been handled, a failed stage is reported
// and the batch goes on, and the settings are the ones taken at Start.
class BatchDriver final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BatchDriver)

public:
    enum class State
    {
        Idle,
        StartPending,
        Running,
        Stalled
    };
    static constexpr int StartDelayMilliseconds = 100;
    static constexpr int ReasonLines = 4;
    static constexpr int DeleteAttempts = 20;

    BatchDriver(JobQueue &queue, MessageSink &messages, CommandEnvironment environment,
                QObject *parent = nullptr);

    // Start: refused with a message on an empty queue, ignored while a batch
    // runs; a stalled batch starts its first job again.
    void requestStart(const ConversionSettings &settings, bool playCompletionSound);
    // Stops the running encoder and ends the batch; the queue is kept, and
    // so is every finished output.
    void stop();
    // The program is ending: stops the encoders now, removes what they left
    // unfinished and the temporary files.
    void shutdown();

    // How long an encoder may print nothing before it is stopped and its job
    // fails; 0 lets it run for ever.
    void setStallTimeout(int milliseconds);

    State state() const { return m_state; }
    QString RunningEncoderName() const { return m_runningEncoderName; }
    QString outputFolder() const { return m_settings.outputFolder; }

Q_SIGNALS:
    void controlsEnabledChanged(bool enabled);
    void outputFolderChanged(const QString &folder);
    void jobStarted(const QString &inputPath);
    void progressChanged(const ProgressDisplay &display);
    void jobFinished(const JobResult &result);
    void stalled();
    void openFolderRequested(const QString &folder);
    void completionSoundRequested(const QString &soundFile);
    void batchFinished(const BatchReport &report);

private:
    void StartNextJob();
    void startJob(JobQueue::JobId job);
    void runStage(const StageCommand &stage);
    void objDOS_CommandOver();
    void objffmpeg_CommandOver();
    void stageOver(const DOSOutputs &runner);
    QString stageFailure(const DOSOutputs &runner) const;
    void finishJob(JobResult::Status status, const QString &reason);
    void endBatch();
    void endStoppedBatch();
    void removeUnfinishedOutput() const;
    void removeTemporaryFiles() const;
    QString separatorTerminated(const QString &folder) const;
    DOSOutputs &runnerFor(Encoder encoder);

    JobQueue &m_queue;
    MessageSink &m_messages;
    CommandEnvironment m_environment;
    CommandBuilder m_builder;
    DOSOutputs m_objDOS;
    DOSOutputs m_objffmpeg;
    ActivityIndicator m_indicator;
    StageOneProgressParser m_stageOneParser;
    StageTwoProgressParser m_stageTwoParser;
    QTimer m_startTimer;

    State m_state = State::Idle;
    ConversionSettings m_settings;
    bool m_playCompletionSound = false;
    bool m_stopRequested = false;
    BatchReport m_report;
    std::optional<JobQueue::JobId> m_job;
    QString m_jobPath;
    std::optional<StageCommand> m_stage;
    QString m_runningEncoderName;
};
