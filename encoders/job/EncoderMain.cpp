#include "encoders/job/EncoderMain.h"

#include "encoders/job/Console.h"
#include "encoders/job/SourceReference.h"
#include "encoders/job/ToolLocator.h"
#include "encoders/protocol/EncoderProtocol.h"
#include "encoders/system/PosixSignals.h"
#include "encoders/system/ProcessGroup.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace EncoderMain {

namespace {

// What the program passes; a command line run by hand gets the same
// subtitles as a conversion in the program would.
EncodeRequest::Subtitles subtitlesAskedFor(const QString &value)
{
    using Choice = EncodeRequest::Subtitles::Choice;
    if (value.isEmpty() || value == EncoderProtocol::SubtitlesAuto)
        return {};
    if (value == EncoderProtocol::SubtitlesOff)
        return {Choice::Off, {}};
    return {Choice::File, value};
}

} // namespace

int run(int argc, char *argv[], const QString &encoderName, EncoderStyle style, const Parser &parse)
{
    if (!ProcessGroup::bindToParent())
        return EncoderJob::FailureStatus;
    QCoreApplication application(argc, argv);
    PosixSignals signalWatcher;
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const ToolLocator::Tools tools = ToolLocator::locate(environment);
    ParsedRequest parsed = parse(arguments);
    if (!parsed.ok()) {
        Console::printErrorLine(EncoderProtocol::failureLine(
            encoderName, {EncoderProtocol::FailureCause::BadCommandLine, parsed.error}));
        return UsageStatus;
    }
    parsed.request.subtitles =
        subtitlesAskedFor(environment.value(EncoderProtocol::SubtitlesVariable));
    parsed.request.audioTrack = environment.value(EncoderProtocol::AudioTrackVariable).trimmed();
    if (!tools.error.isEmpty()) {
        Console::printErrorLine(EncoderProtocol::failureLine(
            encoderName, {EncoderProtocol::FailureCause::FfmpegMissing, tools.error}));
        return EncoderJob::FailureStatus;
    }
    EncoderJob job(style, encoderName, parsed.request, tools,
                   environment.value(EncoderProtocol::ProbeServerVariable));
    job.setWritesSourceReference(SourceReference::isAskedFor(parsed.request.output, environment));
    job.setFollowsSourceReference(SourceReference::isAskedFor(parsed.request.input, environment) &&
                                  SourceReference::isInPrivateFolder(parsed.request.input));
    QObject::connect(&signalWatcher, &PosixSignals::terminationRequested, &job, &EncoderJob::stop);
    QObject::connect(&job, &EncoderJob::finished, &application, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    QMetaObject::invokeMethod(&job, &EncoderJob::start, Qt::QueuedConnection);
    return QCoreApplication::exec();
}

} // namespace EncoderMain
