#include "BatchDriver.h"

#include "AppPaths.h"
#include "EncoderProcesses.h"
#include "MessageSink.h"
#include "OutputFormats.h"
#include "PathHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString lastLines(const QString &output, int count)
{
    static const QRegularExpression lineEnd(QStringLiteral("[\r\n]+"));
    QStringList lines = output.split(lineEnd, Qt::SkipEmptyParts);
    for (QString &line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    return lines.mid(std::max<qsizetype>(0, lines.size() - count)).join(u'\n');
}

// The encoders never replace a file: when the name they were given is taken
// by the time they finish, they write the next free one and say which.
QString savedPath(const QString &output)
{
    static const QString token = QStringLiteral("Saved to: ");
    const qsizetype at = output.lastIndexOf(token);
    if (at < 0 || (at > 0 && output.at(at - 1) != u'\n' && output.at(at - 1) != u'\r'))
        return {};
    return output.mid(at + token.size()).section(u'\n', 0, 0).remove(u'\r');
}

bool isNonEmptyFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.size() > 0;
}

// The encoders write under a hidden name beside the target until the result
// has been checked; a killed encoder may leave one behind.
void removePartFilesOf(const QString &target)
{
    const QFileInfo info(target);
    const QString pattern = u'.' + info.completeBaseName() + QStringLiteral(".part-*") +
                            (info.suffix().isEmpty() ? QString() : u'.' + info.suffix());
    const QDir folder = info.absoluteDir();
    for (const QString &name : folder.entryList({pattern}, QDir::Files | QDir::Hidden))
        QFile::remove(folder.filePath(name));
}

} // namespace

BatchDriver::BatchDriver(JobQueue &queue, MessageSink &messages, CommandEnvironment environment,
                         QObject *parent)
    : QObject(parent), m_queue(queue), m_messages(messages), m_environment(environment),
      m_builder(environment), m_objDOS(messages), m_objffmpeg(messages),
      m_stageOneParser(m_indicator), m_stageTwoParser(m_indicator)
{
    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(StartDelayMilliseconds);
    connect(&m_startTimer, &QTimer::timeout, this, &BatchDriver::StartNextJob);
    connect(&m_objDOS, &DOSOutputs::CommandOver, this, &BatchDriver::objDOS_CommandOver);
    connect(&m_objffmpeg, &DOSOutputs::CommandOver, this, &BatchDriver::objffmpeg_CommandOver);
    connect(&m_objDOS, &DOSOutputs::ReceiveOutputs, this, [this](const QString &chunk) {
        if (const auto display = m_stageOneParser.feed(chunk))
            Q_EMIT progressChanged(*display);
    });
    connect(&m_objffmpeg, &DOSOutputs::ReceiveOutputs, this, [this](const QString &chunk) {
        if (const auto display = m_stageTwoParser.feed(chunk))
            Q_EMIT progressChanged(*display);
    });
}

void BatchDriver::requestStart(const ConversionSettings &settings, bool playCompletionSound)
{
    if (m_state == State::StartPending || m_state == State::Running)
        return;
    if (m_queue.jobCount() < 1) {
        m_messages.showMessage(QStringLiteral("请先添加一个文件"), QStringLiteral("添加"),
                               MessageSink::Icon::Exclamation);
        return;
    }
    if (m_state == State::Idle) {
        m_report = {};
        Q_EMIT controlsEnabledChanged(false);
    }
    m_settings = settings;
    m_playCompletionSound = playCompletionSound;
    m_stopRequested = false;
    m_state = State::StartPending;
    m_startTimer.start();
}

void BatchDriver::StartNextJob()
{
    if (m_state != State::StartPending && m_state != State::Running)
        return;
    const std::optional<JobQueue::JobId> job = m_queue.currentJob();
    if (!job) {
        QDir().mkpath(m_settings.outputFolder);
        endBatch();
        return;
    }
    m_state = State::Running;
    const QString folder = separatorTerminated(m_settings.outputFolder);
    if (folder != m_settings.outputFolder) {
        m_settings.outputFolder = folder;
        Q_EMIT outputFolderChanged(folder);
    }
    startJob(*job);
}

void BatchDriver::startJob(JobQueue::JobId job)
{
    m_job = job;
    m_jobPath = m_queue.pathOf(job);
    m_stage.reset();
    m_queue.setRunningJob(job);
    Q_EMIT jobStarted(m_jobPath);

    if (!QDir().mkpath(m_settings.outputFolder)) {
        finishJob(JobResult::Status::Failed,
                  QStringLiteral("无法创建输出文件夹：") + m_settings.outputFolder);
        return;
    }
    if (OutputFormats::of(m_settings.format).hasStageTwo()) {
        const QString tempFolder =
            ParsePath(m_environment.intermediatePath, m_environment.pathStyle);
        if (!AppPaths::createPrivateFolder(tempFolder)) {
            finishJob(JobResult::Status::Failed,
                      QStringLiteral("无法创建临时文件夹：") + tempFolder);
            return;
        }
        // A stage two must never convert the intermediate file of an earlier job.
        QFile::remove(m_environment.intermediatePath);
    }
    runStage(m_builder.stageOne(m_settings, m_jobPath));
}

void BatchDriver::runStage(const StageCommand &stage)
{
    m_stage = stage;
    m_runningEncoderName = executableName(stage.encoder);
    DOSOutputs &runner = runnerFor(stage.encoder);
    runner.setCommand(stage.command);
    if (!runner.ExecuteCommand()) {
        // The runner has told the user why; Start tries this job again.
        m_state = State::Stalled;
        m_queue.setRunningJob(std::nullopt);
        Q_EMIT stalled();
    }
}

void BatchDriver::objDOS_CommandOver()
{
    stageOver(m_objDOS);
}

void BatchDriver::objffmpeg_CommandOver()
{
    stageOver(m_objffmpeg);
}

void BatchDriver::stageOver(const DOSOutputs &runner)
{
    if (m_state != State::Running || !m_stage)
        return;
    const bool wasStageOne = m_stage->outputPath == m_environment.intermediatePath &&
                             OutputFormats::of(m_settings.format).hasStageTwo();
    if (const QString saved = savedPath(runner.Outputs()); !wasStageOne && !saved.isEmpty())
        m_stage->outputPath = saved;
    const QString failure = stageFailure(runner);
    if (m_stopRequested) {
        // A job whose last stage was done before the stop took hold is kept.
        if (failure.isEmpty() && !wasStageOne)
            finishJob(JobResult::Status::Converted, {});
        endStoppedBatch();
        return;
    }
    if (!failure.isEmpty()) {
        // An encoder that ends by itself removes its own part file; one that
        // crashed or had to be killed cannot.
        const DOSOutputs::Outcome outcome = runner.lastResult().outcome;
        if (outcome == DOSOutputs::Outcome::Crashed || outcome == DOSOutputs::Outcome::Hung)
            removeUnfinishedOutput();
        finishJob(JobResult::Status::Failed, failure);
        return;
    }
    if (wasStageOne) {
        if (const auto stageTwo = m_builder.stageTwo(m_settings, m_jobPath)) {
            runStage(*stageTwo);
            return;
        }
    }
    finishJob(JobResult::Status::Converted, {});
}

QString BatchDriver::stageFailure(const DOSOutputs &runner) const
{
    const DOSOutputs::RunResult result = runner.lastResult();
    QString reason;
    switch (result.outcome) {
    case DOSOutputs::Outcome::Succeeded:
        if (isNonEmptyFile(m_stage->outputPath))
            return {};
        reason = QStringLiteral("%1 没有生成输出文件").arg(m_runningEncoderName);
        break;
    case DOSOutputs::Outcome::ExitedWithError:
        reason =
            QStringLiteral("%1 失败（退出码 %2）").arg(m_runningEncoderName).arg(result.exitCode);
        break;
    case DOSOutputs::Outcome::Hung:
        reason = QStringLiteral("%1 已停止：%2 秒没有任何输出")
                     .arg(m_runningEncoderName)
                     .arg((runner.stallTimeout() + 999) / 1000);
        break;
    case DOSOutputs::Outcome::Crashed:
    case DOSOutputs::Outcome::Stopped:
        reason =
            QStringLiteral("%1 异常终止（信号 %2）").arg(m_runningEncoderName).arg(result.exitCode);
        break;
    }
    const QString output = lastLines(runner.Outputs(), ReasonLines);
    return output.isEmpty() ? reason : reason + u'\n' + output;
}

void BatchDriver::finishJob(JobResult::Status status, const QString &reason)
{
    const bool converted = status == JobResult::Status::Converted;
    const JobResult result{m_jobPath, converted && m_stage ? m_stage->outputPath : QString(),
                           status, reason};
    m_report.results.append(result);
    QFile::remove(m_environment.intermediatePath);
    m_queue.setRunningJob(std::nullopt);
    m_queue.removeJob(*m_job);
    m_job.reset();
    m_stage.reset();
    m_stageOneParser.reset();
    m_stageTwoParser.reset();
    Q_EMIT jobFinished(result);
    // The next job starts after this handler has returned, never inside it.
    QMetaObject::invokeMethod(this, &BatchDriver::StartNextJob, Qt::QueuedConnection);
}

void BatchDriver::endBatch()
{
    m_state = State::Idle;
    Q_EMIT openFolderRequested(m_settings.outputFolder);
    if (m_playCompletionSound)
        Q_EMIT completionSoundRequested(m_environment.programFolder +
                                        m_environment.pathStyle.separator +
                                        QStringLiteral("sound.wav"));
    Q_EMIT controlsEnabledChanged(true);
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
        if (!m_objDOS.isRunning() && !m_objffmpeg.isRunning()) {
            endStoppedBatch();
            return;
        }
        m_stopRequested = true;
        m_objDOS.stop();
        m_objffmpeg.stop();
        return;
    case State::StartPending:
    case State::Stalled:
        endStoppedBatch();
        return;
    }
}

void BatchDriver::endStoppedBatch()
{
    removeUnfinishedOutput();
    m_queue.setRunningJob(std::nullopt);
    m_job.reset();
    m_stage.reset();
    m_stageOneParser.reset();
    m_stageTwoParser.reset();
    m_state = State::Idle;
    m_stopRequested = false;
    m_report.stopped = true;
    Q_EMIT controlsEnabledChanged(true);
    Q_EMIT batchFinished(m_report);
}

void BatchDriver::shutdown()
{
    m_startTimer.stop();
    m_state = State::Idle;
    m_objDOS.stopAndWait();
    m_objffmpeg.stopAndWait();
    removeUnfinishedOutput();
    if (!m_runningEncoderName.isEmpty())
        EncoderProcesses::KillEncoderProcess(m_runningEncoderName);
    removeTemporaryFiles();
}

// Only what the encoders write under a hidden name is unfinished: a file
// under an output name is complete, whoever put it there.
void BatchDriver::removeUnfinishedOutput() const
{
    QFile::remove(m_environment.intermediatePath);
    if (m_stage)
        removePartFilesOf(m_stage->outputPath);
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
    m_objDOS.setStallTimeout(milliseconds);
    m_objffmpeg.setStallTimeout(milliseconds);
}

DOSOutputs &BatchDriver::runnerFor(Encoder encoder)
{
    return ::runnerFor(encoder) == Runner::Dos ? m_objDOS : m_objffmpeg;
}
