#pragma once

#include "engine/CoderProgressParser.h"
#include "engine/CommandBuilder.h"
#include "engine/ConvProgressParser.h"
#include "engine/ConversionSettings.h"
#include "engine/EncoderRunner.h"
#include "engine/JobFiles.h"
#include "engine/JobQueue.h"
#include "engine/JobResult.h"
#include "engine/Progress.h"
#include "engine/StageCommand.h"

#include <QObject>
#include <QSet>

#include <optional>

struct ActivityIndicator;

// One job on its way through its stages, one encoder at a time: the stage
// running, its runner and the progress parser of its encoder's style, and
// the job's files. Stage two is started from the handler of stage one's
// end, once that end has been checked; the job's end is told by one signal
// with its outcome. The batch driver keeps as many of these as jobs may run
// at once.
class JobRun final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JobRun)

public:
    // reservedOutputs: the final output names the batch's running jobs
    // hold, shared by every run of a batch (see JobFiles).
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

    bool isBusy() const { return m_job.has_value(); }
    QString runningEncoderName() const { return m_runningEncoderName; }
    void setStallTimeout(int milliseconds) { m_runner.setStallTimeout(milliseconds); }
    // Where the encoders of the jobs from now on ask for files' facts.
    void setProbeServer(const QString &serverName) { m_environment.probeServer = serverName; }

Q_SIGNALS:
    void progressChanged(const Progress &progress, JobQueue::JobId job);
    void finished(const JobResult &result, JobQueue::JobId job);

private:
    void runStage(const StageCommand &stage);
    void stageOver(RunOutcome outcome);
    // The runner's outcome with what the job knows: the stage and its
    // encoder, the encoder's own failure line and the cause it names, and
    // whether a run that exited well left its file.
    RunOutcome checked(RunOutcome outcome) const;
    Outcome::EncoderRun describedRun(Outcome::EncoderRun run) const;
    void finish(const RunOutcome &outcome);
    // Only what the encoders write under a hidden name is unfinished: a file
    // under an output name is complete, whoever put it there.
    void removeUnfinishedOutput();
    void readProgress(const QString &chunk);

    CommandEnvironment m_environment;
    QSet<QString> &m_reservedOutputs;
    CommandBuilder m_builder;
    // Given up after the runner has ended its encoder.
    std::optional<JobFiles> m_files;
    EncoderRunner m_runner;
    ConvProgressParser m_convParser;
    CoderProgressParser m_coderParser;

    ConversionSettings m_settings;
    std::optional<JobQueue::JobId> m_job;
    QString m_jobPath;
    std::optional<StageCommand> m_stage;
    QString m_runningEncoderName;
    bool m_stopRequested = false;
};
