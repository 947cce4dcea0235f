#include "app/BatchStatus.h"

#include "app/ProgressText.h"

#include <QFileInfo>

#include <cmath>

using namespace Qt::StringLiterals;

BatchStatus::BatchStatus(Clock clock, QObject *parent)
    : QObject(parent), m_clock(clock ? std::move(clock) : Clock(&TimeLeft::steadyMilliseconds)),
      m_timeLeft(m_clock)
{
}

void BatchStatus::batchStarted(int parallelJobs)
{
    m_timeLeft.batchStarted(parallelJobs);
    m_startedAt.clear();
    m_secondStageAt.clear();
    m_firstStageMilliseconds = m_twoStageMilliseconds = 0;
    m_currentName.clear();
    m_followed.reset();
    m_started = m_done = m_failed = m_total = 0;
    m_barValues.clear();
    m_mayFallAsleep = false;
    m_endedAt.reset();
    m_shownFraction = -1;
    m_shownFilesLeft = -1;
    setStatus(tr("准备转换……"));
}

void BatchStatus::jobStarted(const QString &path, JobQueue::JobId job, int pending)
{
    m_startedAt.insert(job, m_clock());
    m_timeLeft.jobStarted(job);
    m_currentName = QFileInfo(path).fileName();
    m_followed = job;
    ++m_started;
    m_total = m_done + pending;
    showRunning();
}

int BatchStatus::barValue(const Progress &progress, JobQueue::JobId job)
{
    m_timeLeft.progressChanged(progress, job);
    const int value = jobBarValue(progress, job);
    m_barValues.insert(job, value);
    showBatchProgress();
    return value;
}

int BatchStatus::jobBarValue(const Progress &progress, JobQueue::JobId job)
{
    const double value = progress.shownPercent();
    if (progress.stages < 2)
        return qRound(value);
    const double share = m_twoStageMilliseconds > 0
                             ? double(m_firstStageMilliseconds) / double(m_twoStageMilliseconds)
                             : FirstStageShare;
    if (progress.stage < 2)
        return qRound(value * share);
    if (!m_secondStageAt.contains(job))
        m_secondStageAt.insert(job, m_clock());
    return qRound(share * 100 + value * (1 - share));
}

bool BatchStatus::follows(JobQueue::JobId job)
{
    if (!m_followed)
        m_followed = job;
    return *m_followed == job;
}

void BatchStatus::jobFinished(const JobResult &result, JobQueue::JobId job, int pending)
{
    if (m_followed == job)
        m_followed.reset();
    m_barValues.remove(job);
    const qint64 now = m_clock();
    const qint64 startedAt = m_startedAt.take(job);
    if (const auto second = m_secondStageAt.find(job); second != m_secondStageAt.end()) {
        m_firstStageMilliseconds += *second - startedAt;
        m_twoStageMilliseconds += now - startedAt;
        m_secondStageAt.erase(second);
    }
    m_timeLeft.jobFinished(job, result.converted());
    ++m_done;
    if (result.failed())
        ++m_failed;
    m_total = m_done + pending;
    showRunning();
}

void BatchStatus::showRunning()
{
    const int place = std::min(m_started, m_total);
    QString text = tr("第 %1/%2 个：%3").arg(place).arg(m_total).arg(m_currentName);
    if (const std::optional<qint64> seconds = m_timeLeft.secondsLeft(m_total - m_done))
        text += tr("，剩余约 %1").arg(ProgressText::clock(*seconds));
    if (m_mayFallAsleep)
        text += tr("（无法阻止系统休眠）");
    setStatus(text);
    showBatchProgress();
}

void BatchStatus::sleepNotPrevented()
{
    m_mayFallAsleep = true;
    if (!m_endedAt && m_total > 0)
        showRunning();
}

// The share of the batch's files converted, the running ones by their bars;
// told only when it moves by a thousandth, as often as a taskbar can show.
void BatchStatus::showBatchProgress()
{
    if (m_total <= 0)
        return;
    double running = 0;
    for (const int value : std::as_const(m_barValues))
        running += value / 100.0;
    const double fraction = std::min(1.0, (m_done + running) / m_total);
    const int filesLeft = m_total - m_done;
    if (std::abs(fraction - m_shownFraction) < 0.001 && filesLeft == m_shownFilesLeft)
        return;
    m_shownFraction = fraction;
    m_shownFilesLeft = filesLeft;
    Q_EMIT batchProgressChanged(fraction, filesLeft);
}

void BatchStatus::batchEnded(bool stopped, int pending)
{
    m_endedAt = m_clock();
    m_barValues.clear();
    const int converted = m_done - m_failed;
    if (!stopped) {
        m_ending = {tr("转换完成"), tr("%1 个成功，%2 个失败").arg(converted).arg(m_failed)};
        setStatus(tr("完成：%1").arg(m_ending.counts));
        return;
    }
    m_ending = {tr("转换已停止"), tr("%1 个已完成，%2 个未转换").arg(converted).arg(pending)};
    if (m_failed > 0)
        m_ending.counts += tr("，%1 个失败").arg(m_failed);
    setStatus(tr("已停止：%1").arg(m_ending.counts));
}

bool BatchStatus::batchJustEnded() const
{
    return m_endedAt && m_clock() - *m_endedAt < StaleClickMilliseconds;
}

void BatchStatus::setStatus(const QString &text)
{
    if (m_status == text)
        return;
    m_status = text;
    Q_EMIT statusTextChanged(text);
}
