#pragma once

#include "engine/ActivityIndicator.h"
#include "engine/CommandEnvironment.h"
#include "engine/ConversionSettings.h"
#include "engine/EncoderRunner.h"
#include "engine/JobQueue.h"
#include "engine/JobResult.h"
#include "engine/ProbeService.h"
#include "engine/Progress.h"

#include <QObject>
#include <QSet>
#include <QTimer>

#include <memory>
#include <vector>

class JobRun;

// Converts the queue: up to a number of jobs at once (as many as the
// window's options say), each through its stages. A job starts after the
// previous handler has returned, a failed job is reported and the batch
// goes on, and the settings are the ones taken at Start.
class BatchDriver final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BatchDriver)

public:
    enum class State
    {
        Idle,
        StartPending,
        Running
    };
    static constexpr int StartDelayMilliseconds = 100;
    static constexpr int DeleteAttempts = 20;

    BatchDriver(JobQueue &queue, CommandEnvironment environment, QObject *parent = nullptr);
    ~BatchDriver() override;

    // Start: ignored while a batch runs. False, and nothing starts, when the
    // queue is empty.
    bool requestStart(const ConversionSettings &settings, bool playCompletionSound);
    // Stops every running encoder and ends the batch; the queue is kept, and
    // so is every finished output.
    void stop();
    // The program is ending: stops the encoders now, removes what they left
    // unfinished and the temporary files.
    void shutdown();

    // How many jobs may run at once, from 1; set between batches. With more
    // than one, each gets its own intermediate file beside the configured one.
    void setParallelJobs(int count);
    int parallelJobs() const { return static_cast<int>(m_runs.size()); }
    // How long an encoder may print nothing before it is stopped and its job
    // fails; 0 lets it run for ever.
    void setStallTimeout(int milliseconds);
    // The pause between Start and the first job, which lets the window show
    // its disabled controls first; a program without a window needs none.
    void setStartDelay(int milliseconds) { m_startTimer.setInterval(milliseconds); }

    State state() const { return m_state; }

Q_SIGNALS:
    // From Start to the batch's end.
    void runningChanged(bool running);
    void outputFolderChanged(const QString &folder);
    void jobStarted(const QString &inputPath, JobQueue::JobId job);
    void progressChanged(const Progress &progress, JobQueue::JobId job);
    // A job converted or failed; a stopped job or one whose encoder could
    // not be started stays waiting in the queue and is told only in the report.
    void jobFinished(const JobResult &result, JobQueue::JobId job);
    // The output folder and the files the batch converted into it.
    void openFolderRequested(const QString &folder, const QStringList &convertedFiles);
    void completionSoundRequested(const QString &soundFile);
    // The batch ended: done, stopped, or at a job whose encoder could not be
    // started (that job still first in the queue, the controls back for
    // another Start, no folder opened and no chime).
    void batchFinished(const BatchReport &report);

private:
    enum class Ending
    {
        Done,
        Stopped,
        CouldNotStart // once the jobs still running have ended
    };

    void startNextJob();
    void startJob(JobRun &run, JobQueue::JobId job);
    void jobOver(const JobResult &result, JobQueue::JobId job);
    void becomeIdle();
    void finishBatch(Ending ending);
    void removeTemporaryFiles() const;
    QString separatorTerminated(const QString &folder) const;
    QString intermediatePathOf(int slot, int slots) const;
    JobRun *idleRun() const;
    bool anyRunBusy() const;

    JobQueue &m_queue;
    CommandEnvironment m_environment;
    ProbeService m_probe;
    ActivityIndicator m_indicator;
    QSet<QString> m_reservedOutputs;
    std::vector<std::unique_ptr<JobRun>> m_runs;
    QTimer m_startTimer;
    int m_stallTimeout = EncoderRunner::DefaultStallTimeoutSeconds * 1000;

    State m_state = State::Idle;
    ConversionSettings m_settings;
    bool m_playCompletionSound = false;
    bool m_stopRequested = false;
    bool m_couldNotStartPending = false;
    BatchReport m_report;
};
