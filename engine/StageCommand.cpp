#include "StageCommand.h"

#include "EncoderOutput.h"

QProcessEnvironment StageCommand::environment(const QString &probeServer) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(EncoderOutput::IntermediateVariable);
    environment.remove(EncoderOutput::ProbeServerVariable);
    environment.remove(EncoderOutput::SubtitlesVariable);
    environment.remove(EncoderOutput::AudioTrackVariable);
    if (!probeServer.isEmpty())
        environment.insert(EncoderOutput::ProbeServerVariable, probeServer);
    if (!workingFile.isEmpty())
        environment.insert(EncoderOutput::IntermediateVariable, workingFile);
    environment.insert(EncoderOutput::SubtitlesVariable,
                       subtitles.isEmpty() ? QString(EncoderOutput::SubtitlesAuto) : subtitles);
    if (!audioTrack.isEmpty())
        environment.insert(EncoderOutput::AudioTrackVariable, audioTrack);
    return environment;
}
