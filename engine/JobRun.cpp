#include "JobRun.h"

#include "AppPaths.h"
#include "LegacyNames.h"
#include "OutputFormats.h"
#include "PathHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <array>

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

// The line in which an encoder says why it failed: its last one that starts
// with its own name; empty when it said nothing of the kind.
QString explainingLine(const QString &lines, const QString &encoderName)
{
    const QString prefix = encoderName + QStringLiteral(": ");
    const QStringList all = lines.split(u'\n');
    const auto found = std::find_if(all.crbegin(), all.crend(), [&prefix](const QString &line) {
        return line.startsWith(prefix);
    });
    return found == all.crend() ? QString() : *found;
}

// The common causes a person can act on, as the encoders and ffmpeg name them.
JobResult::Cause causeNamedBy(const QString &explanation)
{
    static const std::array<std::pair<QLatin1StringView, JobResult::Cause>, 6> causes{{
        {QLatin1StringView("No space left on device"), JobResult::Cause::DiskFull},
        {QLatin1StringView("Disk quota exceeded"), JobResult::Cause::DiskFull},
        {QLatin1StringView("Permission denied"), JobResult::Cause::NoPermission},
        {QLatin1StringView("does not exist"), JobResult::Cause::UnreadableInput},
        {QLatin1StringView("is not a readable file"), JobResult::Cause::UnreadableInput},
        {QLatin1StringView("as a video or audio file"), JobResult::Cause::UnreadableInput},
    }};
    for (const auto &[words, cause] : causes) {
        if (explanation.contains(words))
            return cause;
    }
    return JobResult::Cause::EncoderError;
}

// The encoders never replace a file: when the name they were given is taken
// by the time they finish, they write the next free one and say which, with
// line breaks, other control characters and "%" percent-encoded.
QString savedPath(const QString &output)
{
    static const QString token = QStringLiteral("Saved to: ");
    const qsizetype at = output.lastIndexOf(token);
    if (at < 0 || (at > 0 && output.at(at - 1) != u'\n' && output.at(at - 1) != u'\r'))
        return {};
    const QString encoded = output.mid(at + token.size()).section(u'\n', 0, 0).remove(u'\r');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(encoded.toUtf8()));
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
    const QDir folder = info.absoluteDir();
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (IsPartFileOf(name, info.fileName()))
            QFile::remove(folder.filePath(name));
    }
}

CommandEnvironment seeingReservations(CommandEnvironment environment,
                                      const QSet<QString> &reservedOutputs)
{
    environment.pathExists = [exists = environment.pathExists,
                              &reservedOutputs](const QString &path) {
        return reservedOutputs.contains(path) || exists(path);
    };
    return environment;
}

} // namespace

JobRun::JobRun(ActivityIndicator &indicator, CommandEnvironment environment,
               QSet<QString> &reservedOutputs, QObject *parent)
    : QObject(parent), m_environment(std::move(environment)), m_reservedOutputs(reservedOutputs),
      m_builder(seeingReservations(m_environment, reservedOutputs)), m_stageOneParser(indicator),
      m_stageTwoParser(indicator)
{
    connect(&m_convRunner, &EncoderRunner::finished, this, [this] { stageOver(m_convRunner); });
    connect(&m_coderRunner, &EncoderRunner::finished, this, [this] { stageOver(m_coderRunner); });
    connect(&m_convRunner, &EncoderRunner::outputReceived, this,
            [this](const QString &chunk) { showProgress(m_stageOneParser.feed(chunk)); });
    connect(&m_coderRunner, &EncoderRunner::outputReceived, this,
            [this](const QString &chunk) { showProgress(m_stageTwoParser.feed(chunk)); });
}

void JobRun::start(JobQueue::JobId job, const QString &inputPath,
                   const ConversionSettings &settings)
{
    m_job = job;
    m_jobPath = inputPath;
    m_settings = settings;
    m_stage.reset();
    m_stopRequested = false;

    if (!QDir().mkpath(m_settings.outputFolder)) {
        finish(JobResult::Status::Failed,
               QStringLiteral("无法创建输出文件夹：") + m_settings.outputFolder,
               JobResult::Cause::OutputFolder);
        return;
    }
    if (OutputFormats::of(m_settings.format).hasStageTwo()) {
        const QString tempFolder =
            ParsePath(m_environment.intermediatePath, m_environment.pathStyle);
        if (!AppPaths::createPrivateFolder(tempFolder)) {
            finish(JobResult::Status::Failed, QStringLiteral("无法创建临时文件夹：") + tempFolder,
                   JobResult::Cause::TempFolder);
            return;
        }
        // A stage two must never convert the intermediate file of an earlier job.
        QFile::remove(m_environment.intermediatePath);
    }
    const std::optional<QString> input = encoderInputFor(m_jobPath);
    if (!input) {
        finish(JobResult::Status::Failed, QStringLiteral("无法打开这个文件名：") + m_jobPath,
               JobResult::Cause::UnopenableName);
        return;
    }
    m_encoderInput = *input;
    runStage(m_builder.stageOne(m_settings, m_encoderInput));
}

// A file shown by the GB18030 reading of its name's bytes reaches the
// encoders through a link under that name in the private working folder:
// the encoders get a name they can open, and the output is named as shown.
std::optional<QString> JobRun::encoderInputFor(const QString &path)
{
    if (QFileInfo::exists(path))
        return path;
    const std::optional<QByteArray> bytes = LegacyNames::bytesOf(path);
    if (!bytes)
        return path.contains(QChar::ReplacementCharacter) ? std::nullopt : std::optional(path);
    const QString linkFolder = m_environment.intermediatePath + QStringLiteral("-source");
    removeSourceLink();
    if (!AppPaths::createPrivateFolder(ParsePath(linkFolder, m_environment.pathStyle)) ||
        !QDir().mkpath(linkFolder))
        return std::nullopt;
    const QString link = linkFolder + m_environment.pathStyle.separator +
                         FileNameFromPath(path, m_environment.pathStyle);
    if (!LegacyNames::link(*bytes, link))
        return std::nullopt;
    m_sourceLink = link;
    return link;
}

void JobRun::removeSourceLink()
{
    if (m_sourceLink.isEmpty())
        return;
    QFile::remove(m_sourceLink);
    QDir().rmdir(ParsePath(m_sourceLink, m_environment.pathStyle));
    m_sourceLink.clear();
}

void JobRun::runStage(const StageCommand &stage)
{
    m_stage = stage;
    if (!isIntermediateStage()) {
        m_reservedOutput = stage.outputPath;
        m_reservedOutputs.insert(m_reservedOutput);
    }
    m_runningEncoderName = executableName(stage.encoder);
    EncoderRunner &runner = runnerFor(stage.encoder);
    runner.setCommand(stage.command);
    runner.setEnvironment(stage.environment());
    if (const auto failure = runner.start())
        Q_EMIT encoderNotStarted(release(), EncoderRunner::messageFor(*failure));
}

void JobRun::stageOver(const EncoderRunner &runner)
{
    if (!m_job || !m_stage)
        return;
    const bool wasStageOne = isIntermediateStage();
    if (const QString saved = savedPath(runner.output()); !wasStageOne && !saved.isEmpty())
        m_stage->outputPath = saved;
    const std::optional<Failure> failure = stageFailure(runner);
    if (m_stopRequested) {
        // A job whose last stage was done before the stop took hold is kept.
        if (!failure && !wasStageOne) {
            finish(JobResult::Status::Converted, {});
            return;
        }
        removeUnfinishedOutput();
        Q_EMIT stopped(release());
        return;
    }
    if (failure) {
        // An encoder that ends by itself removes its own part file; one that
        // crashed or had to be killed cannot.
        const EncoderRunner::Outcome outcome = runner.lastResult().outcome;
        if (outcome == EncoderRunner::Outcome::Crashed || outcome == EncoderRunner::Outcome::Hung)
            removeUnfinishedOutput();
        finish(JobResult::Status::Failed, failure->reason, failure->cause);
        return;
    }
    if (wasStageOne) {
        if (const auto stageTwo = m_builder.stageTwo(m_settings, m_encoderInput)) {
            runStage(*stageTwo);
            return;
        }
    }
    finish(JobResult::Status::Converted, {});
}

std::optional<JobRun::Failure> JobRun::stageFailure(const EncoderRunner &runner) const
{
    const EncoderRunner::RunResult result = runner.lastResult();
    QString reason;
    JobResult::Cause cause = JobResult::Cause::Crashed;
    switch (result.outcome) {
    case EncoderRunner::Outcome::Succeeded:
        if (isNonEmptyFile(m_stage->outputPath))
            return std::nullopt;
        reason = QStringLiteral("%1 没有生成输出文件").arg(m_runningEncoderName);
        cause = JobResult::Cause::NoOutput;
        break;
    case EncoderRunner::Outcome::ExitedWithError:
        cause = JobResult::Cause::EncoderError;
        reason =
            QStringLiteral("%1 失败（退出码 %2）").arg(m_runningEncoderName).arg(result.exitCode);
        break;
    case EncoderRunner::Outcome::Hung:
        reason = QStringLiteral("%1 已停止：%2 秒没有任何输出")
                     .arg(m_runningEncoderName)
                     .arg((runner.stallTimeout() + 999) / 1000);
        cause = JobResult::Cause::Hung;
        break;
    case EncoderRunner::Outcome::Crashed:
    case EncoderRunner::Outcome::Stopped:
        reason =
            QStringLiteral("%1 异常终止（信号 %2）").arg(m_runningEncoderName).arg(result.exitCode);
        break;
    }
    const QString output = lastLines(runner.output(), ReasonLines);
    // The encoder's own last word on why it failed comes first: that is what
    // a summary shows of a failure, and a status code explains nothing.
    const QString explanation = explainingLine(output, m_runningEncoderName);
    if (!explanation.isEmpty())
        reason.prepend(explanation + u'\n');
    if (cause == JobResult::Cause::EncoderError)
        cause = causeNamedBy(explanation);
    return Failure{cause, output.isEmpty() ? reason : reason + u'\n' + output};
}

bool JobRun::isIntermediateStage() const
{
    return m_stage->writesIntermediate;
}

void JobRun::finish(JobResult::Status status, const QString &reason, JobResult::Cause cause)
{
    const bool converted = status == JobResult::Status::Converted;
    JobResult result{m_jobPath, converted && m_stage ? m_stage->outputPath : QString(), status,
                     reason};
    result.cause = cause;
    if (!converted && m_stage)
        result.failedStage = m_stage->stage;
    QFile::remove(m_environment.intermediatePath);
    m_stage.reset();
    Q_EMIT finished(result, release());
}

JobQueue::JobId JobRun::release()
{
    const JobQueue::JobId job = *m_job;
    m_job.reset();
    m_reservedOutputs.remove(m_reservedOutput);
    m_reservedOutput.clear();
    removeSourceLink();
    m_stageOneParser.reset();
    m_stageTwoParser.reset();
    return job;
}

void JobRun::stop()
{
    if (!m_job)
        return;
    m_stopRequested = true;
    m_convRunner.stop();
    m_coderRunner.stop();
}

void JobRun::shutdown()
{
    // Without a job, the ends the waits deliver are not handled as a stage's.
    m_job.reset();
    m_convRunner.stopAndWait();
    m_coderRunner.stopAndWait();
    removeUnfinishedOutput();
    removeSourceLink();
}

void JobRun::removeUnfinishedOutput() const
{
    QFile::remove(m_environment.intermediatePath);
    if (m_stage)
        removePartFilesOf(m_stage->outputPath);
}

void JobRun::clear()
{
    m_stage.reset();
    m_stageOneParser.reset();
    m_stageTwoParser.reset();
}

void JobRun::showProgress(std::optional<ProgressDisplay> display)
{
    if (!display || !m_job)
        return;
    display->stage = m_stage && m_stage->stage == Stage::Two ? 2 : 1;
    display->stages = OutputFormats::of(m_settings.format).hasStageTwo() ? 2 : 1;
    Q_EMIT progressChanged(*display, *m_job);
}

void JobRun::setStallTimeout(int milliseconds)
{
    m_convRunner.setStallTimeout(milliseconds);
    m_coderRunner.setStallTimeout(milliseconds);
}

EncoderRunner &JobRun::runnerFor(Encoder encoder)
{
    return ::runnerFor(encoder) == Runner::Conv ? m_convRunner : m_coderRunner;
}
