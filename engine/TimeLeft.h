#pragma once

#include "engine/JobQueue.h"
#include "engine/Progress.h"

#include <QHash>

#include <functional>
#include <optional>

// How long the rest of a batch will take, for the window's status line and
// zenvora-cli alike. The pace is media seconds converted per second of a
// job's own wall time, taken from the jobs that converted only: a job that
// failed or was stopped says nothing about how fast the files convert. The
// media still to convert is shared by the jobs that run at once.
class TimeLeft final
{
public:
    // Milliseconds on a clock that never goes back.
    using Clock = std::function<qint64()>;

    explicit TimeLeft(Clock clock = {});
    static qint64 steadyMilliseconds();

    // A batch starts with up to parallelJobs files converted side by side.
    void batchStarted(int parallelJobs);
    void jobStarted(JobQueue::JobId job);
    // Takes the source's length once an encoder has told it, and how far
    // into its last stage the job is.
    void progressChanged(const Progress &progress, JobQueue::JobId job);
    void jobFinished(JobQueue::JobId job, bool converted);

    // Whole seconds, rounded up, for the filesLeft files not yet finished
    // (the running ones among them); nothing before a job has converted or
    // once no file is left.
    std::optional<qint64> secondsLeft(int filesLeft) const;

private:
    struct Running
    {
        qint64 startedAt = 0;
        double duration = 0; // media seconds; 0 while unknown
        double done = 0;     // the fraction converted, 0 to 1
    };

    Clock m_clock;
    int m_parallelJobs = 1;
    QHash<JobQueue::JobId, Running> m_running;
    int m_converted = 0;
    int m_convertedKnown = 0;           // converted jobs whose length was told
    double m_knownSeconds = 0;          // their media seconds
    qint64 m_knownMilliseconds = 0;     // and the wall time they took
    qint64 m_convertedMilliseconds = 0; // the wall time of all converted jobs
};
