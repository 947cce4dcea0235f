#pragma once

#include "engine/JobQueue.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

// The queue of input files, shown as two columns ("文件名", "格式"). Jobs are
// appended in the order they were added and leave from the front when they
// have been converted; each has an identity so that a finished job is
// removed as itself even if the user changed the list meanwhile.
class JobList final : public QAbstractTableModel, public JobQueue
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JobList)

public:
    enum Column
    {
        FileNameColumn,
        FormatColumn,
        ColumnCount
    };
    enum class TagSource
    {
        Trimmed,
        Untrimmed
    };

    explicit JobList(QObject *parent = nullptr);

    static QString FormatTag(const QString &path);
    static QString untrimmedFormatTag(const QString &path);

    JobId addJob(const QString &path, TagSource tagSource = TagSource::Trimmed);
    void addJobs(const QStringList &paths);
    // Removes the jobs at the selected rows, in any order, except the ones
    // being converted; shows the hint when the list has become empty.
    // Returns how many were removed.
    int removeSelectedJobs(QList<int> rows);
    void removeAllJobs();
    bool removeJob(JobId id) override;

    int jobCount() const override { return static_cast<int>(m_jobs.size()); }
    std::optional<JobId> nextWaitingJob() const override;
    QString pathOf(JobId id) const override;
    QStringList paths() const;

    void setJobRunning(JobId id, bool running) override;
    // A failed job stays, marked, with the reason as its tip, and waits for
    // clearFailures() before it is converted again.
    void setJobFailed(JobId id, const JobResult &failure) override;
    // How the tip words a failure's reason; no words by default.
    void setFailureReason(std::function<QString(const JobResult &)> reasonOf)
    {
        m_reasonOf = std::move(reasonOf);
    }
    void clearFailures();
    int failedCount() const { return static_cast<int>(m_failures.size()); }

    bool dropHintVisible() const { return m_dropHintVisible; }
    void updateDropHint();
    void setDropHintVisible(bool visible);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

Q_SIGNALS:
    void dropHintVisibleChanged(bool visible);

private:
    struct Job
    {
        JobId id;
        QString path;
        QString tag;
    };

    static Job newJob(JobId id, const QString &path, TagSource tagSource);
    int rowOf(JobId id) const;
    bool isRunning(int row) const;
    void removeRow(int row);

    QList<Job> m_jobs;
    JobId m_nextId = 1;
    QSet<JobId> m_runningJobs;
    QHash<JobId, QString> m_failures;
    std::function<QString(const JobResult &)> m_reasonOf;
    bool m_dropHintVisible = true;
};
