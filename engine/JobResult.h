#pragma once

#include "StageCommand.h"

#include <QList>
#include <QString>

#include <optional>

// How one job of a batch ended.
struct JobResult
{
    enum class Status
    {
        Converted,
        Failed
    };
    // What went wrong, so that each program can word it for its own reader.
    enum class Cause
    {
        None,
        OutputFolder,
        TempFolder,
        EncoderError,
        DiskFull,
        NoPermission,
        UnreadableInput,
        UnopenableName,
        NoOutput,
        Hung,
        Crashed,
        CouldNotStart
    };

    QString inputPath;
    QString outputPath; // the final file; empty when the job failed
    Status status = Status::Converted;
    QString reason; // why it failed: our own line, then the encoder's last lines
    std::optional<Stage> failedStage{}; // nothing when it failed before any encoder ran
    Cause cause = Cause::None;
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
