#include "engine/StageCommand.h"

#include "encoders/protocol/EncoderProtocol.h"

QProcessEnvironment StageCommand::environment(const QString &probeServer) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(EncoderProtocol::IntermediateVariable);
    environment.remove(EncoderProtocol::ProbeServerVariable);
    if (!probeServer.isEmpty())
        environment.insert(EncoderProtocol::ProbeServerVariable, probeServer);
    if (!workingFile.isEmpty())
        environment.insert(EncoderProtocol::IntermediateVariable, workingFile);
    choices.writeTo(environment);
    return environment;
}
