#pragma once

#include "engine/JobQueue.h"
#include "engine/JobResult.h"
#include "engine/Progress.h"
#include "engine/TimeLeft.h"

#include <QHash>
#include <QObject>
#include <QTextStream>

class BatchDriver;
class MessageSink;

// Tells a terminal what the batch driver does: each job's progress, marked
// with the job's place in the batch, each finished job's output or failure
// with an estimate of the time left, and a summary at the end. One job at a
// time on a terminal keeps its progress on a single line.
class CliSession final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CliSession)

public:
    // messages gets the line saying why an encoder could not be started.
    CliSession(BatchDriver &driver, MessageSink &messages, QIODevice &output, int jobCount,
               int parallelJobs, bool interactive, QObject *parent = nullptr);

    // 0 when every job was converted, 1 when any failed or the batch was
    // stopped, 3 when an encoder could not be started.
    int exitCode() const { return m_exitCode; }

Q_SIGNALS:
    void finished();

private:
    struct Job
    {
        int number = 0;
        QString name;
        QString lastShown;
    };

    void jobStarted(const QString &inputPath, JobQueue::JobId job);
    void progressChanged(const Progress &progress, JobQueue::JobId job);
    void jobFinished(const JobResult &result, JobQueue::JobId job);
    void batchFinished(const BatchReport &report);
    void printSummary(const BatchReport &report);
    void showTimeLeft();
    void endProgressLine();
    QString tag(const Job &job) const;

    MessageSink &m_messages;
    QTextStream m_out;
    int m_jobCount;
    bool m_singleLine;
    QHash<JobQueue::JobId, Job> m_jobs;
    int m_started = 0;
    int m_done = 0;
    TimeLeft m_timeLeft;
    bool m_progressLineOpen = false;
    int m_exitCode = 0;
};
