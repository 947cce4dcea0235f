#include "CliSession.h"

#include "BatchDriver.h"

#include <cstdio>

CliSession::CliSession(BatchDriver &driver, int jobCount, bool interactive, QObject *parent)
    : QObject(parent), m_out(stdout), m_jobCount(jobCount), m_interactive(interactive)
{
    connect(&driver, &BatchDriver::jobStarted, this, &CliSession::jobStarted);
    connect(&driver, &BatchDriver::progressChanged, this, &CliSession::progressChanged);
    connect(&driver, &BatchDriver::jobFinished, this, &CliSession::jobFinished);
    connect(&driver, &BatchDriver::batchFinished, this, &CliSession::batchFinished);
    connect(&driver, &BatchDriver::stalled, this, &CliSession::stalled);
}

void CliSession::jobStarted(const QString &inputPath)
{
    ++m_jobNumber;
    m_lastCaption.clear();
    m_out << '[' << m_jobNumber << '/' << m_jobCount << "] " << inputPath << Qt::endl;
}

void CliSession::progressChanged(const ProgressDisplay &display)
{
    if (m_interactive) {
        m_out << "\r  " << display.caption << "      " << Qt::flush;
        m_progressLineOpen = true;
        return;
    }
    // A log gets one line per change of the shown value, without the spinner.
    const QString caption = display.caption.left(3) + u' ' + QString::number(display.value);
    if (caption != m_lastCaption)
        m_out << "  " << display.caption << Qt::endl;
    m_lastCaption = caption;
}

void CliSession::jobFinished(const JobResult &result)
{
    endProgressLine();
    if (result.status == JobResult::Status::Converted) {
        m_out << "  -> " << result.outputPath << Qt::endl;
        return;
    }
    m_out << "  失败 (failed): " << result.reason.section(u'\n', 0, 0) << Qt::endl;
    for (const QString &line : result.reason.section(u'\n', 1).split(u'\n', Qt::SkipEmptyParts))
        m_out << "    " << line << Qt::endl;
}

void CliSession::batchFinished(const BatchReport &report)
{
    endProgressLine();
    const qsizetype failed = report.failures().size();
    m_out << (report.results.size() - failed) << " converted, " << failed << " failed." << Qt::endl;
    m_exitCode = failed == 0 && !report.stopped ? 0 : 1;
    Q_EMIT finished();
}

void CliSession::stalled()
{
    endProgressLine();
    m_out << "The encoder could not be started; nothing more was converted." << Qt::endl;
    m_exitCode = 3;
    Q_EMIT finished();
}

void CliSession::endProgressLine()
{
    if (m_progressLineOpen)
        m_out << Qt::endl;
    m_progressLineOpen = false;
}
