#pragma once

#include <QList>
#include <QString>

// How one job of a batch ended.
struct JobResult
{
    enum class Status
    {
        Converted,
        Failed
    };

    QString inputPath;
    QString outputPath; // the final file; empty when the job failed
    Status status = Status::Converted;
    QString reason; // why it failed: our own line, then the encoder's last lines
};

// What a batch did, for the message at its end.
struct BatchReport
{
    QList<JobResult> results;
    bool stopped = false;

    QList<JobResult> failures() const;
    // "Done." only when every job was converted and nothing was stopped.
    QString caption() const;
};
