#pragma once

#include "engine/JobResult.h"

#include <QString>

#include <optional>

// What the batch driver needs of the queue of input files: the first job
// that is not being converted yet, and removing a finished job as itself.
class JobQueue
{
public:
    using JobId = quint64;

    virtual ~JobQueue() = default;
    virtual int jobCount() const = 0;
    virtual std::optional<JobId> nextWaitingJob() const = 0;
    virtual QString pathOf(JobId id) const = 0;
    virtual bool removeJob(JobId id) = 0;
    // A queue that keeps failed jobs for another try marks them instead and
    // never offers them as waiting again.
    virtual void setJobFailed(JobId id, const JobResult &) { removeJob(id); }
    // A job being converted cannot be removed by the user; several may be.
    virtual void setJobRunning(JobId id, bool running) = 0;
};
