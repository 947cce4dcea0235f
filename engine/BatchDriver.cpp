#include "engine/BatchDriver.h"

#include "engine/EncoderProcesses.h"
#include "engine/JobRun.h"
#include "engine/PathHelpers.h"

#include <QDir>
#include <QFile>

BatchDriver::BatchDriver(JobQueue &queue, CommandEnvironment environment, QObject *parent)
    : QObject(parent), m_queue(queue), m_environment(std::move(environment)),
      m_probe(m_environment.programFolder)
{
    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(StartDelayMilliseconds);
    connect(&m_startTimer, &QTimer::timeout, this, &BatchDriver::startNextJob);
    setParallelJobs(1);
}

BatchDriver::~BatchDriver() = default;

void BatchDriver::setParallelJobs(int count)
{
    if (m_state != State::Idle)
        return;
    const int slots = std::max(1, count);
    m_runs.clear();
    for (int slot = 1; slot <= slots; ++slot) {
        CommandEnvironment environment = m_environment;
        environment.intermediatePath = intermediatePathOf(slot, slots);
        auto run = std::make_unique<JobRun>(m_indicator, environment, m_reservedOutputs);
        run->setStallTimeout(m_stallTimeout);
        connect(run.get(), &JobRun::progressChanged, this, &BatchDriver::progressChanged);
        connect(run.get(), &JobRun::finished, this, &BatchDriver::jobOver);
        m_runs.push_back(std::move(run));
    }
}

// One job alone uses the configured intermediate file; jobs side by side
// each use their own beside it: tmp-1.mp4, tmp-2.mp4, ...
QString BatchDriver::intermediatePathOf(int slot, int slots) const
{
    const QString &path = m_environment.intermediatePath;
    if (slots == 1)
        return path;
    const QString folder = ParsePath(path, m_environment.pathStyle);
    const QString name = path.mid(folder.size());
    const qsizetype dot = name.lastIndexOf(u'.');
    const qsizetype at = dot < 0 ? name.size() : dot;
    return folder + name.left(at) + u'-' + QString::number(slot) + name.mid(at);
}

bool BatchDriver::requestStart(const ConversionSettings &settings, bool playCompletionSound)
{
    if (m_state == State::StartPending || m_state == State::Running)
        return true;
    if (m_queue.jobCount() < 1)
        return false;
    if (m_state == State::Idle) {
        m_report = {};
        const QString probeServer = m_probe.start();
        for (const auto &run : m_runs)
            run->setProbeServer(probeServer);
        Q_EMIT runningChanged(true);
    }
    m_settings = settings;
    m_playCompletionSound = playCompletionSound;
    m_stopRequested = false;
    m_state = State::StartPending;
    m_startTimer.start();
    return true;
}

void BatchDriver::startNextJob()
{
    if ((m_state != State::StartPending && m_state != State::Running) || m_stopRequested)
        return;
    if (m_couldNotStartPending) {
        if (!anyRunBusy())
            finishBatch(Ending::CouldNotStart);
        return;
    }
    JobRun *run = idleRun();
    if (!run)
        return;
    const std::optional<JobQueue::JobId> job = m_queue.nextWaitingJob();
    if (!job) {
        if (!anyRunBusy()) {
            QDir().mkpath(m_settings.outputFolder);
            finishBatch(Ending::Done);
        }
        return;
    }
    m_state = State::Running;
    const QString folder = separatorTerminated(m_settings.outputFolder);
    if (folder != m_settings.outputFolder) {
        m_settings.outputFolder = folder;
        Q_EMIT outputFolderChanged(folder);
    }
    startJob(*run, *job);
    // Further free places are filled one job per handler, like the first.
    if (run->isBusy() && idleRun() && m_queue.nextWaitingJob())
        QMetaObject::invokeMethod(this, &BatchDriver::startNextJob, Qt::QueuedConnection);
}

void BatchDriver::startJob(JobRun &run, JobQueue::JobId job)
{
    const QString path = m_queue.pathOf(job);
    m_queue.setJobRunning(job, true);
    Q_EMIT jobStarted(path, job);
    run.start(job, path, m_settings);
}

void BatchDriver::jobOver(const JobResult &result, JobQueue::JobId job)
{
    m_queue.setJobRunning(job, false);
    if (std::holds_alternative<Outcome::Stopped>(result.outcome)) {
        if (!anyRunBusy())
            finishBatch(Ending::Stopped);
        return;
    }
    m_report.results.append(result);
    // A job whose encoder could not be started stays queued, so that the next
    // Start tries it again. The jobs still running are not disturbed; the
    // batch waits for them.
    if (std::holds_alternative<Outcome::CouldNotStart>(result.outcome)) {
        m_couldNotStartPending = true;
        if (!anyRunBusy())
            finishBatch(Ending::CouldNotStart);
        return;
    }
    if (result.failed())
        m_queue.setJobFailed(job, result);
    else
        m_queue.removeJob(job);
    Q_EMIT jobFinished(result, job);
    if (m_stopRequested) {
        if (!anyRunBusy())
            finishBatch(Ending::Stopped);
        return;
    }
    // The next job starts after this handler has returned, never inside it.
    QMetaObject::invokeMethod(this, &BatchDriver::startNextJob, Qt::QueuedConnection);
}

void BatchDriver::becomeIdle()
{
    m_state = State::Idle;
    m_probe.stop();
}

void BatchDriver::finishBatch(Ending ending)
{
    becomeIdle();
    m_stopRequested = false;
    m_couldNotStartPending = false;
    m_report.stopped = ending == Ending::Stopped;
    // A folder without a single new file in it has nothing to show (it may
    // not even exist, when making it was what failed).
    if (ending == Ending::Done && m_report.convertedCount() > 0)
        Q_EMIT openFolderRequested(m_settings.outputFolder, m_report.outputPaths());
    if (ending == Ending::Done && m_playCompletionSound)
        Q_EMIT completionSoundRequested(m_environment.soundFile());
    Q_EMIT runningChanged(false);
    Q_EMIT batchFinished(m_report);
}

void BatchDriver::stop()
{
    m_startTimer.stop();
    switch (m_state) {
    case State::Idle:
        return;
    case State::Running:
        // Between two jobs no encoder runs: the batch ends here, before the
        // next job's start comes round.
        if (!anyRunBusy()) {
            finishBatch(Ending::Stopped);
            return;
        }
        m_stopRequested = true;
        for (const auto &run : m_runs)
            run->stop();
        return;
    case State::StartPending:
        finishBatch(Ending::Stopped);
        return;
    }
}

void BatchDriver::shutdown()
{
    m_startTimer.stop();
    becomeIdle();
    QSet<QString> encoderNames;
    for (const auto &run : m_runs) {
        run->shutdown();
        encoderNames.insert(run->runningEncoderName());
    }
    encoderNames.remove(QString());
    for (const QString &name : std::as_const(encoderNames))
        EncoderProcesses::KillEncoderProcess(name);
    removeTemporaryFiles();
}

void BatchDriver::removeTemporaryFiles() const
{
    const QString tempFolder = ParsePath(m_environment.intermediatePath, m_environment.pathStyle);
    for (const QString &name : {QStringLiteral("tmpfile.wav"), QStringLiteral("tmpfile1.mp3")}) {
        const QString path = tempFolder + name;
        for (int attempt = 0; attempt < DeleteAttempts && QFile::exists(path); ++attempt)
            QFile::remove(path);
    }
}

QString BatchDriver::separatorTerminated(const QString &folder) const
{
    const QChar separator = m_environment.pathStyle.separator;
    return folder.endsWith(separator) ? folder : folder + separator;
}

void BatchDriver::setStallTimeout(int milliseconds)
{
    m_stallTimeout = milliseconds;
    for (const auto &run : m_runs)
        run->setStallTimeout(milliseconds);
}

JobRun *BatchDriver::idleRun() const
{
    for (const auto &run : m_runs) {
        if (!run->isBusy())
            return run.get();
    }
    return nullptr;
}

bool BatchDriver::anyRunBusy() const
{
    return std::any_of(m_runs.begin(), m_runs.end(), [](const auto &run) { return run->isBusy(); });
}
