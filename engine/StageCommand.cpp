#include "StageCommand.h"

QProcessEnvironment StageCommand::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(IntermediateVariable);
    if (writesIntermediate)
        environment.insert(IntermediateVariable, outputPath);
    return environment;
}
