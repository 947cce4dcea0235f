#pragma once

#include "engine/JobQueue.h"
#include "engine/JobResult.h"
#include "engine/Progress.h"
#include "engine/TimeLeft.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <optional>

// How the batch goes, in the words of the window's status line and the
// figures of its bar and of the taskbar, decided without a display.
class BatchStatus final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BatchStatus)

public:
    using Clock = TimeLeft::Clock;

    explicit BatchStatus(Clock clock = {}, QObject *parent = nullptr);

    // parallelJobs: how many files the batch converts side by side.
    void batchStarted(int parallelJobs = 1);
    // pending: the jobs of the queue that are waiting or running.
    void jobStarted(const QString &path, JobQueue::JobId job, int pending);
    void jobFinished(const JobResult &result, JobQueue::JobId job, int pending);
    // The bar's value for a job's progress: 0 to 100 once over all its
    // stages. The first of two takes the share of the time it took in this
    // batch's finished jobs, and FirstStageShare until one has finished.
    // The progress also tells the time left how far the job is.
    int barValue(const Progress &progress, JobQueue::JobId job);
    // A first stage mostly copies the streams: about a twentieth of an RMVB job.
    static constexpr double FirstStageShare = 0.05;
    // Whether the bar shows this job's progress. With files converted side
    // by side it follows one of them, the one started last, and once that
    // has finished the next to report, so it never jumps between files.
    bool follows(JobQueue::JobId job);
    // stopped also covers a batch whose encoder could not be started.
    void batchEnded(bool stopped, int pending);
    // How the last batch ended, for a notification: its title and the
    // status line's counts.
    struct Ending
    {
        QString title;
        QString counts;
    };
    Ending ending() const { return m_ending; }
    // Nothing keeps the machine awake during this batch: the running
    // status says so.
    void sleepNotPrevented();
    QString statusText() const { return m_status; }
    void clearStatus() { setStatus({}); }
    // Whether a batch ended less than a moment ago: a click on the Start
    // button now was aimed at the Stop button the user saw there, and must
    // not start the files left in the list again.
    bool batchJustEnded() const;
    static constexpr qint64 StaleClickMilliseconds = 800;

Q_SIGNALS:
    void statusTextChanged(const QString &text);
    // The batch's files, the running ones by their progress, from 0 to 1.
    void batchProgressChanged(double fraction, int filesLeft);

private:
    void setStatus(const QString &text);
    void showRunning();
    void showBatchProgress();
    int jobBarValue(const Progress &progress, JobQueue::JobId job);

    Clock m_clock;
    TimeLeft m_timeLeft;
    QHash<JobQueue::JobId, qint64> m_startedAt;
    QHash<JobQueue::JobId, qint64> m_secondStageAt;
    std::optional<JobQueue::JobId> m_followed;
    qint64 m_firstStageMilliseconds = 0; // of the finished two-stage jobs
    qint64 m_twoStageMilliseconds = 0;
    QString m_currentName;
    int m_started = 0;
    int m_done = 0;
    int m_failed = 0;
    int m_total = 0;
    std::optional<qint64> m_endedAt;
    QString m_status;
    QHash<JobQueue::JobId, int> m_barValues; // of the running jobs
    double m_shownFraction = -1;
    int m_shownFilesLeft = -1;
    bool m_mayFallAsleep = false;
    Ending m_ending;
};
