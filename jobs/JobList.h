#pragma once

#include "engine/JobQueue.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <optional>

// The queue of input files. Jobs are appended in the order they were added
// and leave from the front when they have been converted; each has an
// identity so that a finished job is removed as itself even if the user
// changed the list meanwhile. A view follows it through the signals, which
// come in pairs around each change, as a model needs them.
class JobList final : public QObject, public JobQueue
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JobList)

public:
    enum class TagSource
    {
        Trimmed,
        Untrimmed
    };
    struct Job
    {
        JobId id;
        QString path;
        QString tag; // its FormatTag
    };

    explicit JobList(QObject *parent = nullptr);

    static QString FormatTag(const QString &path);
    static QString untrimmedFormatTag(const QString &path);

    JobId addJob(const QString &path, TagSource tagSource = TagSource::Trimmed);
    void addJobs(const QStringList &paths);
    // Removes the jobs at the selected rows, in any order, except the ones
    // being converted. Returns how many were removed.
    int removeSelectedJobs(QList<int> rows);
    void removeAllJobs();
    bool removeJob(JobId id) override;

    int jobCount() const override { return static_cast<int>(m_jobs.size()); }
    bool isEmpty() const { return m_jobs.isEmpty(); }
    const Job &jobAt(int row) const { return m_jobs.at(row); }
    std::optional<JobId> nextWaitingJob() const override;
    QString pathOf(JobId id) const override;
    QStringList paths() const;

    void setJobRunning(JobId id, bool running) override;
    // A failed job stays, with how it ended, and waits for clearFailures()
    // before it is converted again.
    void setJobFailed(JobId id, const JobResult &failure) override;
    void clearFailures();
    int failedCount() const { return static_cast<int>(m_failures.size()); }
    // How a job that is marked failed ended; none for any other job.
    std::optional<JobResult> failureOf(JobId id) const;

Q_SIGNALS:
    void jobsAboutToBeAdded(int firstRow, int lastRow);
    void jobsAdded();
    void jobAboutToBeRemoved(int row);
    void jobRemoved();
    void jobsAboutToBeReset();
    void jobsReset();
    void failuresChanged(int firstRow, int lastRow);

private:
    static Job newJob(JobId id, const QString &path, TagSource tagSource);
    int rowOf(JobId id) const;
    bool isRunning(int row) const;
    void removeRow(int row);

    QList<Job> m_jobs;
    JobId m_nextId = 1;
    QSet<JobId> m_runningJobs;
    QHash<JobId, JobResult> m_failures;
};
