#pragma once

#include "ConversionSettings.h"
#include "JobQueue.h"
#include "JobResult.h"
#include "Parameter.h"
#include "Progress.h"
#include "TimeLeft.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// What the main window shows beyond its widgets' own state, decided without
// a display: which parameters the chosen format uses, the status line of a
// batch, and the queue kept on disk so that a close or a crash loses no file.
class WindowModel final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowModel)

public:
    // Milliseconds on a clock that never goes back.
    using Clock = std::function<qint64()>;

    // An empty state folder keeps no queue on disk.
    explicit WindowModel(QString stateFolder, Clock clock = {}, QObject *parent = nullptr);

    // A parameter the settings' format takes nothing from: what its box
    // shows instead of the user's value, and the tip that says why.
    struct UnusedParameter
    {
        QString shown; // the value the output will have, or "—" when the file decides
        QString tip;
    };
    static constexpr QStringView DependsOnFile = u"—";
    // Nothing when the format uses the parameter. The rule is the one
    // zenvora-cli warns by.
    static std::optional<UnusedParameter> unusedParameter(const ConversionSettings &settings,
                                                          Parameter parameter);
    // Whether a combo entry can be chosen with the settings: one zenvora-cli
    // would take for the format (an entry that leaves the value to the
    // source, "自动(按质量)" or "原始帧率", only where the format leaves that
    // option out of its command), and that the codec does not move to
    // another of the combo's entries.
    static bool offersEntry(const ConversionSettings &settings, Parameter parameter,
                            const QString &entry, const QStringList &entries);

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

    QString queueFile() const;
    // The files the last run left unconverted, until offerAnswered().
    QStringList savedQueue() const { return m_saved; }
    static QString restoreQuestion(int count);
    void offerAnswered();
    // Declined: the files stay on disk until the queue next changes.
    void offerDeclined();
    // The queue as the window now holds it, written at once and whole.
    void queueChanged(const QStringList &paths);

Q_SIGNALS:
    void statusTextChanged(const QString &text);
    // The batch's files, the running ones by their progress, from 0 to 1.
    void batchProgressChanged(double fraction, int filesLeft);

private:
    void setStatus(const QString &text);
    void showRunning();
    void showBatchProgress();
    int jobBarValue(const Progress &progress, JobQueue::JobId job);
    void writeQueue();

    QString m_stateFolder;
    Clock m_clock;
    TimeLeft m_timeLeft;
    QStringList m_saved;
    bool m_savedDeclined = false;
    QStringList m_queue;

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
