#include "jobs/JobList.h"

#include "engine/LegacyNames.h"

#include <algorithm>
#include <functional>
#include <iterator>

JobList::JobList(QObject *parent) : QObject(parent) {}

QString JobList::FormatTag(const QString &path)
{
    return untrimmedFormatTag(path.trimmed());
}

QString JobList::untrimmedFormatTag(const QString &path)
{
    return path.right(3).toUpper();
}

JobList::JobId JobList::addJob(const QString &path, TagSource tagSource)
{
    const int row = jobCount();
    Q_EMIT jobsAboutToBeAdded(row, row);
    const JobId id = m_nextId++;
    m_jobs.append(newJob(id, path, tagSource));
    Q_EMIT jobsAdded();
    return id;
}

// A name Qt could not decode is shown, and kept, by its real bytes.
JobList::Job JobList::newJob(JobId id, const QString &path, TagSource tagSource)
{
    const QString shown = LegacyNames::mended(path);
    return {id, shown,
            tagSource == TagSource::Trimmed ? FormatTag(shown) : untrimmedFormatTag(shown)};
}

void JobList::addJobs(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    const int first = jobCount();
    Q_EMIT jobsAboutToBeAdded(first, first + static_cast<int>(paths.size()) - 1);
    for (const QString &path : paths)
        m_jobs.append(newJob(m_nextId++, path, TagSource::Trimmed));
    Q_EMIT jobsAdded();
}

int JobList::removeSelectedJobs(QList<int> rows)
{
    // From the bottom up, so the rows still to remove keep their numbers.
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    int removed = 0;
    for (const int row : std::as_const(rows)) {
        if (row < 0 || row >= jobCount() || isRunning(row))
            continue;
        removeRow(row);
        ++removed;
    }
    return removed;
}

void JobList::removeAllJobs()
{
    Q_EMIT jobsAboutToBeReset();
    m_jobs.removeIf([this](const Job &job) { return !m_runningJobs.contains(job.id); });
    m_failures.clear();
    Q_EMIT jobsReset();
}

bool JobList::removeJob(JobId id)
{
    const int row = rowOf(id);
    if (row < 0)
        return false;
    removeRow(row);
    return true;
}

std::optional<JobList::JobId> JobList::nextWaitingJob() const
{
    for (const Job &job : m_jobs) {
        if (!m_runningJobs.contains(job.id) && !m_failures.contains(job.id))
            return job.id;
    }
    return std::nullopt;
}

void JobList::setJobRunning(JobId id, bool running)
{
    if (running)
        m_runningJobs.insert(id);
    else
        m_runningJobs.remove(id);
}

void JobList::setJobFailed(JobId id, const JobResult &failure)
{
    const int row = rowOf(id);
    if (row < 0)
        return;
    m_failures.insert(id, failure);
    Q_EMIT failuresChanged(row, row);
}

void JobList::clearFailures()
{
    if (m_failures.isEmpty())
        return;
    m_failures.clear();
    Q_EMIT failuresChanged(0, jobCount() - 1);
}

std::optional<JobResult> JobList::failureOf(JobId id) const
{
    const auto failure = m_failures.constFind(id);
    if (failure == m_failures.cend())
        return std::nullopt;
    return *failure;
}

QString JobList::pathOf(JobId id) const
{
    const int row = rowOf(id);
    return row < 0 ? QString() : m_jobs.at(row).path;
}

QStringList JobList::paths() const
{
    QStringList all;
    std::ranges::transform(m_jobs, std::back_inserter(all), &Job::path);
    return all;
}

int JobList::rowOf(JobId id) const
{
    // Finished jobs are almost always at the front.
    const auto job = std::ranges::find(m_jobs, id, &Job::id);
    return job == m_jobs.cend() ? -1 : static_cast<int>(job - m_jobs.cbegin());
}

bool JobList::isRunning(int row) const
{
    return m_runningJobs.contains(m_jobs.at(row).id);
}

void JobList::removeRow(int row)
{
    Q_EMIT jobAboutToBeRemoved(row);
    m_failures.remove(m_jobs.at(row).id);
    m_jobs.removeAt(row);
    Q_EMIT jobRemoved();
}
