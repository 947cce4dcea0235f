#pragma once

#include "CoderProgressParser.h"
#include "CommandBuilder.h"
#include "ConvProgressParser.h"
#include "ConversionSettings.h"
#include "EncoderRunner.h"
#include "JobQueue.h"
#include "JobResult.h"
#include "Progress.h"
#include "StageCommand.h"

#include <QObject>
#include <QSet>

#include <optional>

struct ActivityIndicator;

// One job on its way through its stages: the two runners, their progress
// parsers, the stage running and the job's own intermediate file. Stage two
// is started from the handler of stage one's end, once that end has been
// checked; the job's end is told by one signal with its outcome. The batch
// driver keeps as many of these as jobs may run at once.
class JobRun final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JobRun)

public:
    // Final output names handed to a running job count as taken in
    // reservedOutputs, which every run of a batch shares, so that jobs
    // started in the same second never get the same name.
    JobRun(ActivityIndicator &indicator, CommandEnvironment environment,
           QSet<QString> &reservedOutputs, QObject *parent = nullptr);

    // Ends with finished, whatever the outcome; a job whose output folder
    // cannot be made fails at once.
    void start(JobQueue::JobId job, const QString &inputPath, const ConversionSettings &settings);
    // The encoder is ended and the job finishes Stopped; a job whose last
    // stage was already done finishes Converted.
    void stop();
    // For a program that is closing: the encoder is ended and waited for,
    // no signal follows, and what it left unfinished is removed.
    void shutdown();
    // Only what the encoders write under a hidden name is unfinished: a file
    // under an output name is complete, whoever put it there.
    void removeUnfinishedOutput();

    bool isBusy() const { return m_job.has_value(); }
    QString runningEncoderName() const { return m_runningEncoderName; }
    void setStallTimeout(int milliseconds);
    // Where the encoders of the jobs from now on ask for files' facts.
    void setProbeServer(const QString &serverName) { m_environment.probeServer = serverName; }

Q_SIGNALS:
    void progressChanged(const Progress &progress, JobQueue::JobId job);
    void finished(const JobResult &result, JobQueue::JobId job);

private:
    std::optional<QString> encoderInputFor(const QString &path);
    void removeSourceLink();
    void runStage(const StageCommand &stage);
    void stageOver(RunOutcome outcome);
    // The runner's outcome with what the job knows: the stage and its
    // encoder, the encoder's own failure line and the cause it names, and
    // whether a run that exited well left its file.
    RunOutcome checked(RunOutcome outcome) const;
    Outcome::EncoderRun describedRun(Outcome::EncoderRun run) const;
    bool isIntermediateStage() const;
    void finish(const RunOutcome &outcome);
    JobQueue::JobId release();
    void showProgress(std::optional<Progress> progress);
    EncoderRunner &runnerFor(Encoder encoder);

    CommandEnvironment m_environment;
    QSet<QString> &m_reservedOutputs;
    CommandBuilder m_builder;
    EncoderRunner m_convRunner;
    EncoderRunner m_coderRunner;
    ConvProgressParser m_convParser;
    CoderProgressParser m_coderParser;

    ConversionSettings m_settings;
    std::optional<JobQueue::JobId> m_job;
    QString m_jobPath;
    QString m_encoderInput; // the job's file, or a link to it the encoders can open
    QString m_sourceLink;
    std::optional<StageCommand> m_stage;
    QString m_reservedOutput;
    QString m_runningEncoderName;
    bool m_stopRequested = false;
};
