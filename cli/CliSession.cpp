#include "cli/CliSession.h"

#include "app/OutcomeText.h"
#include "app/ProgressText.h"
#include "engine/BatchDriver.h"
#include "engine/ports/MessageSink.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

// A failed job's first line: what the window says first, except that a
// hung encoder is told by the hang, in the words of the command line's own
// lines; all it printed itself stays below.
QString headline(const RunOutcome &outcome)
{
    if (const auto *hung = std::get_if<Outcome::Hung>(&outcome))
        return QCoreApplication::translate("CliSession", "%1 stopped: no output for %2 s")
            .arg(hung->run.encoder)
            .arg(hung->seconds);
    return OutcomeText::details(outcome).section(u'\n', 0, 0);
}

} // namespace

CliSession::CliSession(BatchDriver &driver, MessageSink &messages, QIODevice &output, int jobCount,
                       int parallelJobs, bool interactive, QObject *parent)
    : QObject(parent), m_messages(messages), m_out(&output), m_jobCount(jobCount),
      m_singleLine(interactive && parallelJobs == 1)
{
    m_timeLeft.batchStarted(parallelJobs);
    connect(&driver, &BatchDriver::jobStarted, this, &CliSession::jobStarted);
    connect(&driver, &BatchDriver::progressChanged, this, &CliSession::progressChanged);
    connect(&driver, &BatchDriver::jobFinished, this, &CliSession::jobFinished);
    connect(&driver, &BatchDriver::batchFinished, this, &CliSession::batchFinished);
}

void CliSession::jobStarted(const QString &inputPath, JobQueue::JobId job)
{
    Job &started = m_jobs[job];
    started = {++m_started, QFileInfo(inputPath).fileName(), {}};
    m_timeLeft.jobStarted(job);
    endProgressLine();
    m_out << tag(started) << inputPath << Qt::endl;
}

void CliSession::progressChanged(const Progress &progress, JobQueue::JobId job)
{
    m_timeLeft.progressChanged(progress, job);
    if (m_singleLine) {
        m_out << "\r  " << ProgressText::caption(progress) << "      " << Qt::flush;
        m_progressLineOpen = true;
        return;
    }
    // One line per change of the shown value, without the spinner.
    Job &running = m_jobs[job];
    const QString shown = ProgressText::line(progress);
    if (shown != running.lastShown)
        m_out << tag(running) << running.name << ": " << shown << Qt::endl;
    running.lastShown = shown;
}

void CliSession::jobFinished(const JobResult &result, JobQueue::JobId job)
{
    endProgressLine();
    const Job finished = m_jobs.take(job);
    ++m_done;
    m_timeLeft.jobFinished(job, result.converted());
    if (result.converted()) {
        m_out << tag(finished) << "-> " << result.outputPath() << Qt::endl;
    } else {
        const QString details = OutcomeText::details(result.outcome);
        m_out << tag(finished) << tr("失败：") << headline(result.outcome) << Qt::endl;
        for (const QString &line : details.section(u'\n', 1).split(u'\n', Qt::SkipEmptyParts))
            m_out << "    " << line << Qt::endl;
    }
    showTimeLeft();
}

// Nothing until a job has converted: only a conversion tells the pace.
void CliSession::showTimeLeft()
{
    const std::optional<qint64> seconds = m_timeLeft.secondsLeft(m_jobCount - m_done);
    if (!seconds)
        return;
    m_out << tr("%1/%2 done, about %3 left")
                 .arg(m_done)
                 .arg(m_jobCount)
                 .arg(ProgressText::clock(*seconds))
          << Qt::endl;
}

void CliSession::batchFinished(const BatchReport &report)
{
    printSummary(report);
    m_exitCode = report.failures().isEmpty() && !report.stopped ? 0 : 1;
    if (const std::optional<Outcome::CouldNotStart> failure = report.couldNotStart()) {
        m_out << tr("The encoder could not be started; nothing more was converted.") << Qt::endl;
        m_messages.showMessage(OutcomeText::details(*failure), {}, MessageSink::Icon::Critical);
        m_exitCode = 3;
    }
    Q_EMIT finished();
}

void CliSession::printSummary(const BatchReport &report)
{
    endProgressLine();
    const QList<JobResult> failures = report.failures();
    m_out << tr("%1 converted, %2 failed.").arg(report.convertedCount()).arg(failures.size())
          << Qt::endl;
    for (const JobResult &failure : failures)
        m_out << "  " << failure.inputPath << ": " << headline(failure.outcome) << Qt::endl;
}

void CliSession::endProgressLine()
{
    if (m_progressLineOpen)
        m_out << Qt::endl;
    m_progressLineOpen = false;
}

QString CliSession::tag(const Job &job) const
{
    return QStringLiteral("[%1/%2] ").arg(job.number).arg(m_jobCount);
}
