#include "EncoderJob.h"

#include "Console.h"
#include "ProgressLines.h"
#include "ToolProcess.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

EncoderJob::EncoderJob(Style style, const QString &encoderName, EncodeRequest request,
                       ToolLocator::Tools tools, QObject *parent)
    : QObject(parent), m_style(style), m_name(encoderName), m_request(std::move(request)),
      m_tools(std::move(tools))
{
}

EncoderJob::~EncoderJob() = default;

void EncoderJob::start()
{
    if (m_done) // stopped before it began
        return;
    if (const QString problem = checkFiles(); !problem.isEmpty())
        return fail(problem);
    QString error;
    m_part = PartFile::create(m_request.output, error);
    if (!m_part)
        return fail(error);
    probe(m_request.input, &EncoderJob::onInputProbed);
}

void EncoderJob::stop(int signalNumber)
{
    if (m_done || m_stopSignal != 0)
        return;
    m_stopSignal = signalNumber;
    if (m_tool)
        m_tool->stop();
    else
        fail(u"stopped by signal %1"_s.arg(signalNumber), 128 + signalNumber);
}

QString EncoderJob::checkFiles() const
{
    const QFileInfo input(m_request.input);
    if (!input.exists())
        return u"the input file \"%1\" does not exist"_s.arg(m_request.input);
    if (!input.isFile() || !input.isReadable())
        return u"the input \"%1\" is not a readable file"_s.arg(m_request.input);
    const QFileInfo output(m_request.output);
    if (output.exists() && !m_request.overwrite)
        return u"the output file \"%1\" exists; add -y to write beside it under the next free name"_s
            .arg(m_request.output);
    if (!output.absoluteDir().exists())
        return u"the output folder \"%1\" does not exist"_s.arg(output.absolutePath());
    return {};
}

void EncoderJob::runTool(const QString &program, const QStringList &arguments,
                         OutputHandler onOutput, EndHandler onEnded)
{
    m_tool = new ToolProcess(this);
    connect(m_tool, &ToolProcess::outputArrived, this, onOutput);
    connect(m_tool, &ToolProcess::ended, this, [this, onEnded](const QString &problem) {
        m_tool->deleteLater();
        m_tool = nullptr;
        if (m_stopSignal != 0)
            return fail(u"stopped by signal %1"_s.arg(m_stopSignal), 128 + m_stopSignal);
        (this->*onEnded)(problem);
    });
    m_tool->start(program, arguments);
}

void EncoderJob::probe(const QString &path, EndHandler onEnded)
{
    m_toolOutput.clear();
    runTool(m_tools.ffprobe,
            {u"-v"_s, u"error"_s, u"-print_format"_s, u"json"_s, u"-show_format"_s,
             u"-show_streams"_s, u"file:"_s + path},
            &EncoderJob::collectOutput, onEnded);
}

void EncoderJob::collectOutput(const QByteArray &output)
{
    m_toolOutput += output;
}

std::optional<MediaInfo> EncoderJob::probedInfo() const
{
    return MediaInfo::fromProbeJson(m_toolOutput);
}

void EncoderJob::onInputProbed(const QString &problem)
{
    const std::optional<MediaInfo> input = problem.isEmpty() ? probedInfo() : std::nullopt;
    if (!input)
        return fail(u"cannot read \"%1\" as a video or audio file"_s.arg(m_request.input));
    m_plan = FfmpegPlan::build(m_request, *input);
    if (!m_plan.ok())
        return fail(m_plan.error());
    m_inputDuration = m_plan.expectation().durationSeconds;
    if (input->audio)
        m_sourceAudioIndex = input->audio->index;
    if (m_style == Style::Coder)
        Console::printLine(ProgressLines::coderDurationLine(*input, m_inputDuration));
    runTool(m_tools.ffmpeg, m_plan.arguments(m_part->path()), &EncoderJob::onProgress,
            &EncoderJob::onEncoded);
}

void EncoderJob::onProgress(const QByteArray &output)
{
    // The end block is told only once the output has passed its checks.
    for (const ProgressReader::Snapshot &snapshot : m_progress.feed(output)) {
        m_lastSnapshot = snapshot;
        if (snapshot.end)
            continue;
        Console::printLine(m_style == Style::Coder
                               ? ProgressLines::coderLine(snapshot)
                               : ProgressLines::convLine(snapshot, m_inputDuration));
    }
}

void EncoderJob::onEncoded(const QString &problem)
{
    if (!problem.isEmpty())
        return fail(u"the conversion failed: %1"_s.arg(problem));
    probe(m_part->path(), &EncoderJob::onOutputProbed);
}

void EncoderJob::onOutputProbed(const QString &problem)
{
    m_output = problem.isEmpty() ? probedInfo() : std::nullopt;
    if (m_plan.expectation().audio && !(m_output && m_output->audio))
        return countSourceSound();
    checkOutput(m_plan.expectation());
}

// A container may declare a sound track that never got a single packet
// (a clip cut to its first frame); ffmpeg then writes no sound at all. Only
// then is it worth reading the whole input to count them.
void EncoderJob::countSourceSound()
{
    m_toolOutput.clear();
    runTool(m_tools.ffprobe,
            {u"-v"_s, u"error"_s, u"-select_streams"_s, QString::number(m_sourceAudioIndex),
             u"-count_packets"_s, u"-show_entries"_s, u"stream=nb_read_packets"_s, u"-of"_s,
             u"csv=p=0"_s, u"file:"_s + m_request.input},
            &EncoderJob::collectOutput, &EncoderJob::onSourceSoundCounted);
}

void EncoderJob::onSourceSoundCounted(const QString &problem)
{
    OutputExpectation expected = m_plan.expectation();
    // ffprobe writes N/A rather than 0 for a stream it read no packet of.
    if (problem.isEmpty() && m_toolOutput.trimmed().toInt() == 0) {
        if (!expected.video)
            return fail(u"the input has no audio stream"_s);
        expected.audio.reset();
    }
    checkOutput(expected);
}

void EncoderJob::checkOutput(const OutputExpectation &expected)
{
    if (!m_output)
        return fail(u"the output is incomplete: ffprobe cannot read it"_s);
    if (const QString mismatch = expected.mismatch(*m_output); !mismatch.isEmpty())
        return fail(u"the output is incomplete: %1"_s.arg(mismatch));
    QString error;
    if (!m_part->commit(error))
        return fail(error);
    succeed();
}

void EncoderJob::succeed()
{
    Console::printLine(m_style == Style::Coder
                           ? ProgressLines::coderFinishedLine(m_lastSnapshot, m_inputDuration)
                           : ProgressLines::convFinishedLine(m_lastSnapshot));
    // The program takes the last line starting with "Saved to: " as the
    // file written: it is the target only when that name was still free.
    Console::printLine(u"Saved to: "_s + QDir::toNativeSeparators(m_part->savedPath()));
    m_done = true;
    Q_EMIT finished(0);
}

void EncoderJob::fail(const QString &reason, int exitStatus)
{
    m_part.reset();
    m_done = true;
    Console::printErrorLine(m_name + u": "_s + reason);
    Q_EMIT finished(exitStatus);
}
