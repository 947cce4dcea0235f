#pragma once

#include "encoders/options/EncodeRequest.h"
#include "encoders/plan/FrameRate.h"
#include "encoders/probe/MediaInfo.h"
#include "encoders/subtitles/BurnedSubtitles.h"

#include <QSize>
#include <QStringList>

#include <optional>

class Container;
class VideoCodec;

// What becomes of the picture between the decoder and the encoder: repairs
// first (fields woven into frames, HDR brought to SDR), then its size with
// any bars, burned subtitles, the frame rate, the padding a codec needs and
// the pixel format it takes.
class VideoFilters final
{
public:
    VideoFilters(const EncodeRequest &request, const MediaInfo &input, const VideoCodec &codec,
                 const Container &container, std::optional<FrameRate> frameRate,
                 const std::optional<BurnedSubtitles> &subtitles);

    // The frames written, as decoders show them.
    QSize frameSize() const { return m_size; }
    // The input's video stream and its filters.
    QStringList arguments() const { return m_arguments; }
    // The bitstream filter that crops the codec's padding off again; empty
    // when the frame is not padded.
    QStringList cropBack() const { return m_cropBack; }

private:
    void padForCodec(const VideoCodec &codec, QStringList &chain);

    QSize m_size;
    QStringList m_arguments;
    QStringList m_cropBack;
};
