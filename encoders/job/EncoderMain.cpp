#include "encoders/job/EncoderMain.h"

#include "encoders/job/Console.h"
#include "encoders/job/SourceReference.h"
#include "encoders/job/ToolLocator.h"
#include "encoders/protocol/EncoderProtocol.h"
#include "encoders/protocol/JobChoices.h"
#include "encoders/system/PosixSignals.h"
#include "encoders/system/ProcessGroup.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace EncoderMain {

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
    QStringList notes;
    parsed.request.choices = JobChoices::readFrom(environment, notes);
    for (const QString &note : std::as_const(notes))
        Console::printLine(u"Note: "_s + note);
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
