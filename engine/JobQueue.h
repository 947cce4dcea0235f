#pragma once

#include <QString>

#include <optional>

// What the batch driver needs of the queue of input files: the job at the
// front, and removing a finished job as itself.
class JobQueue
{
public:
    using JobId = quint64;

    virtual ~JobQueue() = default;
    virtual int jobCount() const = 0;
    virtual std::optional<JobId> currentJob() const = 0;
    virtual QString pathOf(JobId id) const = 0;
    virtual bool removeJob(JobId id) = 0;
    // The job being converted cannot be removed by the user.
    virtual void setRunningJob(std::optional<JobId> id) = 0;
};
