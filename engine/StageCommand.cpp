#include "StageCommand.h"

#include "EncoderOutput.h"

QProcessEnvironment StageCommand::environment(const QString &probeServer) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(EncoderOutput::IntermediateVariable);
    environment.remove(EncoderOutput::ProbeServerVariable);
    if (!probeServer.isEmpty())
        environment.insert(EncoderOutput::ProbeServerVariable, probeServer);
    if (writesIntermediate)
        environment.insert(EncoderOutput::IntermediateVariable, outputPath);
    return environment;
}
