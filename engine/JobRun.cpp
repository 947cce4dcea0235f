#include "engine/JobRun.h"

#include "encoders/protocol/EncoderProtocol.h"
#include "engine/OutputFormats.h"

#include <QFileInfo>
#include <QMap>

using namespace Qt::StringLiterals;

namespace {

// What the program makes of the cause an encoder names. Causes the program
// prevents (an output name taken, a command it did not build) tell a person
// nothing more than that the encoder failed.
Outcome::Failed::Cause causeNamedBy(EncoderProtocol::FailureCause cause)
{
    using Named = EncoderProtocol::FailureCause;
    using Cause = Outcome::Failed::Cause;
    static const QMap<Named, Cause> causes{{Named::InputMissing, Cause::InputMissing},
                                           {Named::InputUnreadable, Cause::UnreadableInput},
                                           {Named::NotMedia, Cause::NotMedia},
                                           {Named::NoVideoStream, Cause::NoVideoStream},
                                           {Named::NoAudioStream, Cause::NoAudioStream},
                                           {Named::CutPastTheEnd, Cause::CutPastTheEnd},
                                           {Named::SubtitlesUnusable, Cause::SubtitlesUnusable},
                                           {Named::OutputFolderMissing, Cause::OutputFolder},
                                           {Named::NoPermission, Cause::NoPermission},
                                           {Named::DiskFull, Cause::DiskFull},
                                           {Named::FfmpegMissing, Cause::FfmpegMissing},
                                           {Named::StoppedBySignal, Cause::Crashed}};
    return causes.value(cause, Cause::EncoderError);
}

// The cause with what a person needs to act on it: the folder that was
// gone, the signal that ended the encoder.
void nameCause(Outcome::Failed &failed, EncoderProtocol::FailureCause cause,
               const QString &outputFolder)
{
    failed.cause = causeNamedBy(cause);
    if (failed.cause == Outcome::Failed::Cause::OutputFolder)
        failed.path = outputFolder;
    else if (cause == EncoderProtocol::FailureCause::StoppedBySignal &&
             failed.code > EncoderProtocol::SignalStatusBase)
        failed.code -= EncoderProtocol::SignalStatusBase;
}

bool isNonEmptyFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.size() > 0;
}

} // namespace

JobRun::JobRun(ActivityIndicator &indicator, CommandEnvironment environment,
               QSet<QString> &reservedOutputs, QObject *parent)
    : QObject(parent), m_environment(std::move(environment)), m_reservedOutputs(reservedOutputs),
      m_builder(JobFiles::seeingReservations(m_environment, reservedOutputs)),
      m_convParser(indicator), m_coderParser(indicator)
{
    connect(&m_runner, &EncoderRunner::finished, this, &JobRun::stageOver);
    connect(&m_runner, &EncoderRunner::outputReceived, this, &JobRun::readProgress);
}

void JobRun::start(JobQueue::JobId job, const QString &inputPath,
                   const ConversionSettings &settings)
{
    m_job = job;
    m_jobPath = inputPath;
    m_settings = settings;
    m_stage.reset();
    m_stopRequested = false;
    m_files.emplace(m_environment, m_reservedOutputs);
    if (const std::optional<Outcome::Failed> failure = m_files->prepare(m_jobPath, m_settings)) {
        finish(*failure);
        return;
    }
    runStage(m_builder.stageOne(m_settings, m_files->encoderInput()));
}

void JobRun::runStage(const StageCommand &stage)
{
    m_stage = stage;
    if (!stage.writesIntermediate)
        m_files->reserveOutput(stage.outputPath);
    m_runningEncoderName = executableName(stage.encoder);
    m_runner.setCommand(stage.command);
    m_runner.setEnvironment(stage.environment(m_environment.probeServer));
    if (const std::optional<Outcome::CouldNotStart> failure = m_runner.start())
        finish(*failure);
}

void JobRun::stageOver(RunOutcome outcome)
{
    if (!m_job || !m_stage)
        return;
    const bool wasStageOne = m_stage->writesIntermediate;
    const auto *saved = std::get_if<Outcome::Converted>(&outcome);
    if (saved && !wasStageOne && !saved->outputPath.isEmpty())
        m_stage->outputPath = saved->outputPath;
    outcome = checked(std::move(outcome));
    const bool converted = std::holds_alternative<Outcome::Converted>(outcome);
    if (m_stopRequested) {
        // A job whose last stage was done before the stop took hold is kept.
        if (converted && !wasStageOne) {
            finish(outcome);
            return;
        }
        removeUnfinishedOutput();
        finish(Outcome::Stopped{});
        return;
    }
    if (!converted) {
        // An encoder that ends by itself removes its own part file; one that
        // crashed or had to be killed cannot.
        const auto *failed = std::get_if<Outcome::Failed>(&outcome);
        if (std::holds_alternative<Outcome::Hung>(outcome) ||
            (failed && failed->cause == Outcome::Failed::Cause::Crashed))
            removeUnfinishedOutput();
        finish(outcome);
        return;
    }
    if (wasStageOne) {
        if (const auto stageTwo = m_builder.stageTwo(m_settings, m_files->encoderInput())) {
            runStage(*stageTwo);
            return;
        }
    }
    finish(outcome);
}

RunOutcome JobRun::checked(RunOutcome outcome) const
{
    if (auto *converted = std::get_if<Outcome::Converted>(&outcome)) {
        const Outcome::EncoderRun run = describedRun(converted->run);
        if (!isNonEmptyFile(m_stage->outputPath))
            return Outcome::Failed{Outcome::Failed::Cause::NoOutput, 0, {}, run};
        return Outcome::Converted{m_stage->outputPath, run};
    }
    if (auto *failed = std::get_if<Outcome::Failed>(&outcome)) {
        failed->run = describedRun(failed->run);
        const std::optional<EncoderProtocol::Failure> said =
            EncoderProtocol::failureIn(failed->run.lastLines, m_runningEncoderName);
        if (failed->cause == Outcome::Failed::Cause::EncoderError && said)
            nameCause(*failed, said->cause, m_settings.outputFolder);
    } else if (auto *hung = std::get_if<Outcome::Hung>(&outcome)) {
        hung->run = describedRun(hung->run);
    }
    return outcome;
}

Outcome::EncoderRun JobRun::describedRun(Outcome::EncoderRun run) const
{
    run.stage = m_stage->stage;
    run.encoder = m_runningEncoderName;
    const std::optional<EncoderProtocol::Failure> said =
        EncoderProtocol::failureIn(run.lastLines, m_runningEncoderName);
    run.failureLine = said ? m_runningEncoderName + u": "_s + said->reason : QString();
    return run;
}

void JobRun::finish(const RunOutcome &outcome)
{
    const JobQueue::JobId job = *m_job;
    m_stage.reset();
    m_job.reset();
    m_files.reset();
    m_convParser.reset();
    m_coderParser.reset();
    Q_EMIT finished({m_jobPath, outcome}, job);
}

void JobRun::stop()
{
    if (!m_job)
        return;
    m_stopRequested = true;
    m_runner.stop();
}

void JobRun::shutdown()
{
    // Without a job, the ends the waits deliver are not handled as a stage's.
    m_job.reset();
    m_runner.stopAndWait();
    removeUnfinishedOutput();
    m_files.reset();
}

void JobRun::removeUnfinishedOutput()
{
    if (m_files && m_stage)
        m_files->removeUnfinished(m_runner.partFile(), m_stage->outputPath);
}

void JobRun::readProgress(const QString &chunk)
{
    if (!m_stage)
        return;
    std::optional<Progress> progress = styleOf(m_stage->encoder) == EncoderStyle::Conv
                                           ? m_convParser.feed(chunk)
                                           : m_coderParser.feed(chunk);
    if (!progress || !m_job)
        return;
    progress->stage = m_stage->stage == Stage::Two ? 2 : 1;
    progress->stages = OutputFormats::of(m_settings.format).hasStageTwo() ? 2 : 1;
    Q_EMIT progressChanged(*progress, *m_job);
}
