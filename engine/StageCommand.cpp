#include "StageCommand.h"

#include "ProbeService.h"

QProcessEnvironment StageCommand::environment(const QString &probeServer) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(IntermediateVariable);
    environment.remove(ProbeService::ServerVariable);
    if (!probeServer.isEmpty())
        environment.insert(ProbeService::ServerVariable, probeServer);
    if (writesIntermediate)
        environment.insert(IntermediateVariable, outputPath);
    return environment;
}
