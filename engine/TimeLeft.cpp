#include "engine/TimeLeft.h"

#include <QtMath>

#include <algorithm>
#include <chrono>

TimeLeft::TimeLeft(Clock clock) : m_clock(clock ? std::move(clock) : Clock(&steadyMilliseconds)) {}

qint64 TimeLeft::steadyMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void TimeLeft::batchStarted(int parallelJobs)
{
    m_parallelJobs = std::max(1, parallelJobs);
    m_running.clear();
    m_converted = m_convertedKnown = 0;
    m_knownSeconds = 0;
    m_knownMilliseconds = m_convertedMilliseconds = 0;
}

void TimeLeft::jobStarted(JobQueue::JobId job)
{
    m_running.insert(job, {m_clock()});
}

void TimeLeft::progressChanged(const Progress &progress, JobQueue::JobId job)
{
    const auto running = m_running.find(job);
    if (running == m_running.end())
        return;
    if (progress.durationSeconds > 0)
        running->duration = progress.durationSeconds;
    // An earlier stage of two mostly copies the streams: the media is
    // converted in the last one.
    if (progress.percent && progress.stage >= progress.stages)
        running->done = std::clamp(progress.shownPercent() / 100, 0.0, 1.0);
}

void TimeLeft::jobFinished(JobQueue::JobId job, bool converted)
{
    const auto running = m_running.find(job);
    if (running == m_running.end())
        return;
    const Running finished = *running;
    m_running.erase(running);
    if (!converted)
        return;
    const qint64 took = std::max<qint64>(0, m_clock() - finished.startedAt);
    ++m_converted;
    m_convertedMilliseconds += took;
    if (finished.duration > 0) {
        ++m_convertedKnown;
        m_knownSeconds += finished.duration;
        m_knownMilliseconds += took;
    }
}

std::optional<qint64> TimeLeft::secondsLeft(int filesLeft) const
{
    if (m_converted == 0 || filesLeft <= 0)
        return std::nullopt;
    // Lengths are measured in media seconds once a converted job told its
    // own; until then every file counts as one of the same size.
    const bool inSeconds = m_convertedKnown > 0;
    const double average = inSeconds ? m_knownSeconds / m_convertedKnown : 1.0;
    const double doneSize = inSeconds ? m_knownSeconds : double(m_converted);
    const qint64 doneMilliseconds = inSeconds ? m_knownMilliseconds : m_convertedMilliseconds;

    double mediaLeft = 0;
    for (const Running &running : m_running) {
        const double size = inSeconds && running.duration > 0 ? running.duration : average;
        mediaLeft += size * (1 - running.done);
    }
    const auto waiting = std::max<qsizetype>(0, filesLeft - m_running.size());
    mediaLeft += double(waiting) * average;

    const int atOnce = std::min(m_parallelJobs, filesLeft);
    const double milliseconds = mediaLeft * double(doneMilliseconds) / doneSize / atOnce;
    return qCeil(milliseconds / 1000 - 1e-9);
}
