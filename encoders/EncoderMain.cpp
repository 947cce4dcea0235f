#include "EncoderMain.h"

#include "EncoderOutput.h"

#include "Console.h"
#include "EncoderOutput.h"
#include "PosixSignals.h"
#include "SelfCheck.h"
#include "SourceReference.h"
#include "ToolLocator.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace EncoderMain {

int run(int argc, char *argv[], const QString &encoderName, EncoderJob::Style style,
        const Parser &parse)
{
    if (!PosixSignals::bindToParent())
        return EncoderJob::FailureStatus;
    QCoreApplication application(argc, argv);
    PosixSignals signalWatcher;
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const ToolLocator::Tools tools = ToolLocator::locate(environment);
    if (arguments == QStringList{u"--self-check"_s})
        return SelfCheck::run(encoderName, tools);

    const ParsedRequest parsed = parse(arguments);
    if (!parsed.ok()) {
        Console::printErrorLine(EncoderOutput::failureLine(encoderName, parsed.error));
        return UsageStatus;
    }
    if (!tools.error.isEmpty()) {
        Console::printErrorLine(EncoderOutput::failureLine(encoderName, tools.error));
        return EncoderJob::FailureStatus;
    }
    EncoderJob job(style, encoderName, parsed.request, tools,
                   environment.value(EncoderOutput::ProbeServerVariable));
    job.setWritesSourceReference(SourceReference::isAskedFor(parsed.request.output, environment));
    QObject::connect(&signalWatcher, &PosixSignals::terminationRequested, &job, &EncoderJob::stop);
    QObject::connect(&job, &EncoderJob::finished, &application, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    QMetaObject::invokeMethod(&job, &EncoderJob::start, Qt::QueuedConnection);
    return QCoreApplication::exec();
}

} // namespace EncoderMain
