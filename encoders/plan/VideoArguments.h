#pragma once

#include "encoders/plan/FrameRate.h"
#include "encoders/probe/MediaInfo.h"

#include <QStringList>

#include <optional>

class Container;
class VideoCodec;

// The video encoder's options, apart from the filters that feed it: the
// encoder and its tag, the colours the picture is tagged with, how its bits
// are spent and how its frames are timed.
class VideoArguments final
{
public:
    // A codec that takes only some rates gets the one nearest the source's
    // real average, not the rate a header claims; the others keep the
    // source's timing, variable or not.
    static std::optional<FrameRate> frameRate(std::optional<double> wanted, const VideoCodec &codec,
                                              const MediaInfo::Video &source);

    static QStringList encoder(const VideoCodec &codec);
    static QStringList colourTags(const MediaInfo::Video &source);
    static QStringList rateControl(std::optional<qint64> wanted, const VideoCodec &codec,
                                   const Container &container, std::optional<FrameRate> frameRate);
    static QStringList timing(std::optional<FrameRate> frameRate, const Container &container);

    // A picture quality for when no video bitrate is asked for and the codec
    // has no quality target of its own: ffmpeg's default of 200 kbit/s is
    // blocky at any size.
    static constexpr int DefaultVideoQuality = 3;
    // Frame sizes can only be bounded under rate control, so containers with
    // a frame limit always get a bitrate: this one when none is asked for.
    static constexpr qint64 BoundedFrameBitrate = 1200000;
};
