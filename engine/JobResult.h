#pragma once

#include "engine/RunOutcome.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// How one job of a batch ended.
struct JobResult
{
    QString inputPath;
    RunOutcome outcome;

    bool converted() const { return std::holds_alternative<Outcome::Converted>(outcome); }
    // Anything but converted or stopped: the job is to be tried again.
    bool failed() const
    {
        return !converted() && !std::holds_alternative<Outcome::Stopped>(outcome);
    }
    QString outputPath() const;
};

// What a batch did, for the messages at its end.
struct BatchReport
{
    QList<JobResult> results;
    bool stopped = false;

    QList<JobResult> failures() const;
    qsizetype convertedCount() const;
    // The files the converted jobs wrote, in the order they finished.
    QStringList outputPaths() const;
    // Why an encoder could not be started, when the batch ended there.
    std::optional<Outcome::CouldNotStart> couldNotStart() const;
};
