#include "encoders/job/EncoderJob.h"

#include "encoders/job/Console.h"
#include "encoders/job/ErrorWords.h"
#include "encoders/job/FileCalls.h"
#include "encoders/job/ProgressLines.h"
#include "encoders/job/SourceReference.h"
#include "encoders/job/ToolProcess.h"
#include "encoders/options/TrackChoice.h"
#include "encoders/subtitles/SubtitleSearch.h"
#include "encoders/subtitles/SubtitleText.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;
using EncoderProtocol::Failure;
using EncoderProtocol::FailureCause;

namespace {

// Far beyond the text of any film's subtitles.
constexpr qint64 MaxSubtitleBytes = 32 * 1024 * 1024;

} // namespace

EncoderJob::EncoderJob(EncoderStyle style, const QString &encoderName, EncodeRequest request,
                       ToolLocator::Tools tools, const QString &probeServer, QObject *parent)
    : QObject(parent), m_style(style), m_name(encoderName), m_request(std::move(request)),
      m_tools(std::move(tools)), m_probe(probeServer)
{
}

EncoderJob::~EncoderJob() = default;

void EncoderJob::start()
{
    if (m_done) // stopped before it began
        return;
    if (m_followsReference) {
        if (const std::optional<SourceReference::Target> target =
                SourceReference::read(m_request.input)) {
            m_request.input = target->source;
            m_request.cut = m_request.cut.within(target->cut);
            // What stage one read holds only for the file it read.
            if (target->sourceStamp && target->sourceStamp == FileCalls::stampOf(target->source))
                m_knownInput = target->sourceFacts;
        }
    }
    if (const std::optional<Failure> problem = checkFiles())
        return fail(*problem);
    QString error;
    m_part = PartFile::create(m_request.output, error);
    if (!m_part)
        return fail({causeOfWriteError(error), error});
    Console::printLine(EncoderProtocol::partFileLine(QDir::toNativeSeparators(m_part->path())));
    probeInputAndEncode();
}

void EncoderJob::stop(int signalNumber)
{
    if (m_done || m_stopSignal != 0)
        return;
    m_stopSignal = signalNumber;
    if (m_ffmpeg)
        m_ffmpeg->stop();
    else
        fail(stoppedBy(signalNumber), EncoderProtocol::SignalStatusBase + signalNumber);
}

Failure EncoderJob::stoppedBy(int signalNumber)
{
    return {FailureCause::StoppedBySignal, u"stopped by signal %1"_s.arg(signalNumber)};
}

std::optional<Failure> EncoderJob::checkFiles() const
{
    const QFileInfo input(m_request.input);
    if (!input.exists())
        return Failure{FailureCause::InputMissing,
                       u"the input file \"%1\" does not exist"_s.arg(m_request.input)};
    if (!input.isFile() || !input.isReadable())
        return Failure{FailureCause::InputUnreadable,
                       u"the input \"%1\" is not a readable file"_s.arg(m_request.input)};
    const QFileInfo output(m_request.output);
    if (output.exists() && !m_request.overwrite)
        return Failure{
            FailureCause::OutputExists,
            u"the output file \"%1\" exists; add -y to write beside it under the next free name"_s
                .arg(m_request.output)};
    if (!output.absoluteDir().exists())
        return Failure{FailureCause::OutputFolderMissing,
                       u"the output folder \"%1\" does not exist"_s.arg(output.absolutePath())};
    return std::nullopt;
}

// A folder that may not be written is told as such whatever the words: the
// system words a read-only drive in the user's language.
FailureCause EncoderJob::causeOfWriteError(const QString &error) const
{
    if (!QFileInfo(QFileInfo(m_request.output).absolutePath()).isWritable())
        return FailureCause::NoPermission;
    return ErrorWords::causeOf(error);
}

void EncoderJob::probeInputAndEncode()
{
    QString error;
    const std::optional<MediaInfo> input =
        m_knownInput ? m_knownInput : m_probe.read(m_request.input, &error);
    if (!input)
        return fail(
            {FailureCause::NotMedia,
             u"cannot read \"%1\" as a video or audio file: %2"_s.arg(m_request.input, error)});
    m_plan = FfmpegPlan::build(m_request, *input);
    if (!m_plan.ok())
        return fail(m_plan.failure());
    m_inputDuration = m_plan.expectation().durationSeconds;
    if (m_writesReference)
        return writeSourceReference(*input);
    if (m_plan.expectation().video) {
        std::optional<BurnedSubtitles> subtitles;
        Failure subtitleFailure;
        if (!findSubtitles(*input, subtitles, subtitleFailure))
            return fail(subtitleFailure);
        if (subtitles)
            m_plan = FfmpegPlan::build(m_request, *input, subtitles);
    }
    if (!m_plan.note().isEmpty())
        Console::printLine(u"Note: "_s + m_plan.note());
    if (m_style == EncoderStyle::Coder)
        Console::printLine(ProgressLines::coderDurationLine(*input, m_inputDuration));
    m_ffmpeg = new ToolProcess(this);
    connect(m_ffmpeg, &ToolProcess::outputArrived, this, &EncoderJob::onProgress);
    connect(m_ffmpeg, &ToolProcess::ended, this, &EncoderJob::onEncoded);
    m_ffmpeg->start(m_tools.ffmpeg, m_plan.arguments(m_part->path()));
}

bool EncoderJob::findSubtitles(const MediaInfo &input, std::optional<BurnedSubtitles> &subtitles,
                               Failure &failure)
{
    using Kind = JobChoices::Subtitles::Kind;
    switch (m_request.choices.subtitles.kind) {
    case Kind::Off:
        return true;
    case Kind::File:
        return copySubtitleFile(m_request.choices.subtitles.file, subtitles, failure);
    case Kind::Auto:
        break;
    }
    // A source reached through a link (a name in a legacy encoding is) has
    // its subtitles beside the file the link names.
    QStringList files = SubtitleSearch::filesBeside(m_request.input);
    if (const QString target = QFileInfo(m_request.input).symLinkTarget(); !target.isEmpty())
        files += SubtitleSearch::filesBeside(target);
    for (const QString &file : files) {
        if (copySubtitleFile(file, subtitles, failure))
            return true;
        // A subtitle file nobody asked for by name does not stop the film
        // from converting: the next one is tried, then the film's own.
        Console::printLine(u"Note: "_s + failure.reason);
        failure = {};
    }
    if (const std::optional<MediaInfo::Subtitle> track = TrackChoice::shownSubtitle(input))
        subtitles = BurnedSubtitles{BurnedSubtitles::Kind::Track, {}, false, *track};
    return true;
}

// libass reads UTF-8 only, and a copy under a plain name also keeps the
// filter graph free of whatever the original's name holds.
bool EncoderJob::copySubtitleFile(const QString &path, std::optional<BurnedSubtitles> &subtitles,
                                  Failure &failure)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || file.size() > MaxSubtitleBytes ||
        !file.open(QIODevice::ReadOnly)) {
        failure = {FailureCause::SubtitlesUnusable,
                   u"cannot read the subtitle file \"%1\""_s.arg(path)};
        return false;
    }
    const QString text = SubtitleText::decode(file.readAll());
    if (!SubtitleText::isSubtitles(text, QFileInfo(path).suffix())) {
        failure = {FailureCause::SubtitlesUnusable,
                   u"\"%1\" holds no subtitles of the kind its name says"_s.arg(path)};
        return false;
    }
    m_subtitleCopy = std::make_unique<QTemporaryFile>(
        QDir::tempPath() + u"/zenvora-subtitles-XXXXXX."_s + QFileInfo(path).suffix().toLower());
    if (!m_subtitleCopy->open() || m_subtitleCopy->write(text.toUtf8()) < 0 ||
        !m_subtitleCopy->flush()) {
        const QString error = m_subtitleCopy->errorString();
        failure = {ErrorWords::causeOf(error),
                   u"cannot write a working copy of the subtitle file: %1"_s.arg(error)};
        return false;
    }
    subtitles = BurnedSubtitles{BurnedSubtitles::Kind::File, m_subtitleCopy->fileName(),
                                SubtitleSearch::isStyled(path)};
    return true;
}

// The input has been read and found usable for what was asked, so stage
// two is sure to find what it needs; that is the whole of stage one's work.
void EncoderJob::writeSourceReference(const MediaInfo &input)
{
    QString error;
    if (!SourceReference::write(
            m_part->path(),
            {m_request.input, m_request.cut, input, FileCalls::stampOf(m_request.input)}, error))
        return fail({causeOfWriteError(error), error});
    if (!m_part->commit(error))
        return fail({causeOfWriteError(error), error});
    m_lastSnapshot.outSeconds = m_inputDuration.value_or(0.0);
    succeed();
}

void EncoderJob::onProgress(const QByteArray &output)
{
    // The end block is told only once the output has passed its checks.
    for (const ProgressReader::Snapshot &snapshot : m_progress.feed(output)) {
        m_lastSnapshot = snapshot;
        // ffmpeg says "end" once the trailer is written, and still has its
        // clean-up and exit ahead: the output is read back meanwhile. Only
        // a pass counts; a file not yet readable is checked again at exit.
        if (snapshot.end) {
            m_outputPassed = outputProblem().isEmpty();
            continue;
        }
        Console::printLine(m_style == EncoderStyle::Coder
                               ? ProgressLines::coderLine(snapshot)
                               : ProgressLines::convLine(snapshot, m_inputDuration));
    }
}

void EncoderJob::onEncoded(const QString &problem)
{
    m_ffmpeg->deleteLater();
    m_ffmpeg = nullptr;
    if (m_stopSignal != 0)
        return fail(stoppedBy(m_stopSignal), EncoderProtocol::SignalStatusBase + m_stopSignal);
    if (!problem.isEmpty())
        return fail({ErrorWords::causeOf(problem), u"the conversion failed: %1"_s.arg(problem)});
    if (!m_outputPassed) {
        if (const QString outputFault = outputProblem(); !outputFault.isEmpty())
            return fail({FailureCause::EncoderError, outputFault});
    }
    QString error;
    if (!m_part->commit(error))
        return fail({causeOfWriteError(error), error});
    succeed();
}

QString EncoderJob::outputProblem()
{
    const std::optional<MediaInfo> output = m_probe.read(m_part->path());
    if (!output)
        return u"the output is incomplete: it cannot be read back"_s;
    if (const QString mismatch = m_plan.expectation().mismatch(*output); !mismatch.isEmpty())
        return u"the output is incomplete: %1"_s.arg(mismatch);
    return {};
}

void EncoderJob::succeed()
{
    Console::printLine(m_style == EncoderStyle::Coder
                           ? ProgressLines::coderFinishedLine(m_lastSnapshot, m_inputDuration)
                           : ProgressLines::convFinishedLine(m_lastSnapshot));
    // The program takes the last line starting with "Saved to: " as the
    // file written: it is the target only when that name was still free.
    Console::printLine(EncoderProtocol::savedLine(QDir::toNativeSeparators(m_part->savedPath())));
    m_done = true;
    Q_EMIT finished(0);
}

void EncoderJob::fail(const Failure &failure, int exitStatus)
{
    m_part.reset();
    m_done = true;
    Console::printErrorLine(EncoderProtocol::failureLine(m_name, failure));
    Q_EMIT finished(exitStatus);
}
