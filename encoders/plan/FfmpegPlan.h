#pragma once

#include "encoders/options/EncodeRequest.h"
#include "encoders/plan/OutputExpectation.h"
#include "encoders/probe/MediaInfo.h"
#include "encoders/protocol/EncoderProtocol.h"
#include "encoders/subtitles/BurnedSubtitles.h"

#include <QStringList>

class AudioCodec;
class Container;
class VideoCodec;

// Turns a request and what the probe found in its input into one ffmpeg
// command, and into what the finished file must then look like. Values the
// codecs cannot take are moved to the nearest ones they can.
class FfmpegPlan final
{
public:
    // The sound track is the one the request asks for, or the input's
    // default; subtitles are drawn into the picture when given.
    static FfmpegPlan build(const EncodeRequest &request, const MediaInfo &input,
                            const std::optional<BurnedSubtitles> &subtitles = std::nullopt);

    bool ok() const { return m_failure.reason.isEmpty(); }
    QString error() const { return m_failure.reason; }
    // Why there is no command, with the cause the encoder reports.
    const EncoderProtocol::Failure &failure() const { return m_failure; }
    // What the request asked for and did not get, told but not failed.
    QString note() const { return m_note; }

    // The whole ffmpeg argument list writing to writePath. Both paths go
    // through the "file:" protocol so that a leading dash or a colon in a
    // name is never read as an option or a protocol.
    QStringList arguments(const QString &writePath) const;
    const OutputExpectation &expectation() const { return m_expectation; }

private:
    void addVideo(const EncodeRequest &request, const VideoCodec &codec, const MediaInfo &input,
                  const Container &container, const std::optional<BurnedSubtitles> &subtitles);
    void addAudio(const EncodeRequest::Audio &wanted, const AudioCodec &codec,
                  const MediaInfo::Audio &source, const Container &container, bool withPicture);
    static FfmpegPlan failed(EncoderProtocol::FailureCause cause, const QString &reason);

    EncoderProtocol::Failure m_failure;
    QString m_note;
    QString m_input;
    EncodeRequest::Cut m_cut;
    QStringList m_streamArguments;
    OutputExpectation m_expectation;
};
