#include "engine/StageCommand.h"

#include "encoders/protocol/EncoderProtocol.h"

QProcessEnvironment StageCommand::environment(const QString &probeServer) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(EncoderProtocol::IntermediateVariable);
    environment.remove(EncoderProtocol::ProbeServerVariable);
    environment.remove(EncoderProtocol::SubtitlesVariable);
    environment.remove(EncoderProtocol::AudioTrackVariable);
    if (!probeServer.isEmpty())
        environment.insert(EncoderProtocol::ProbeServerVariable, probeServer);
    if (!workingFile.isEmpty())
        environment.insert(EncoderProtocol::IntermediateVariable, workingFile);
    environment.insert(EncoderProtocol::SubtitlesVariable,
                       subtitles.isEmpty() ? QString(EncoderProtocol::SubtitlesAuto) : subtitles);
    if (!audioTrack.isEmpty())
        environment.insert(EncoderProtocol::AudioTrackVariable, audioTrack);
    return environment;
}
