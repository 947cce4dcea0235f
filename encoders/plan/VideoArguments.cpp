#include "encoders/plan/VideoArguments.h"

#include "encoders/plan/Container.h"
#include "encoders/plan/VideoCodec.h"

#include <algorithm>

using namespace Qt::StringLiterals;

std::optional<FrameRate> VideoArguments::frameRate(std::optional<double> wanted,
                                                   const VideoCodec &codec,
                                                   const MediaInfo::Video &source)
{
    const std::optional<double> rate =
        wanted ? wanted : (codec.restrictsFrameRate() ? source.frameRate : std::nullopt);
    if (!rate)
        return std::nullopt;
    return codec.frameRateFor(*rate);
}

QStringList VideoArguments::encoder(const VideoCodec &codec)
{
    QStringList arguments{u"-c:v"_s, codec.encoder()};
    arguments << codec.lowDelayOptions() << codec.encoderOptions();
    if (!codec.tag().isEmpty())
        arguments << u"-tag:v"_s << codec.tag();
    return arguments;
}

// HDR pictures are tone-mapped to BT.709 by their filters; tagged so, players
// read them as what they have become.
QStringList VideoArguments::colourTags(const MediaInfo::Video &source)
{
    if (!source.isHighDynamicRange())
        return {};
    return {u"-color_primaries"_s, u"bt709"_s, u"-color_trc"_s, u"bt709"_s,
            u"-colorspace"_s,      u"bt709"_s};
}

QStringList VideoArguments::rateControl(std::optional<qint64> wanted, const VideoCodec &codec,
                                        const Container &container,
                                        std::optional<FrameRate> frameRate)
{
    const int maxFrameBytes = container.maxVideoFrameBytes();
    if (maxFrameBytes == 0) {
        if (wanted)
            return {u"-b:v"_s, QString::number(*wanted)};
        if (!codec.qualityOptions().isEmpty())
            return codec.qualityOptions();
        return {u"-q:v"_s, QString::number(DefaultVideoQuality)};
    }
    // A decoder buffer no larger than the biggest frame allowed makes the
    // encoder re-code any frame that would not fit, at a coarser quantiser.
    // The encoder refuses a buffer smaller than one frame's share of the
    // bitrate, so at a few frames per second the bitrate comes down to
    // half a full buffer per frame.
    const qint64 bufferBits = static_cast<qint64>(maxFrameBytes) * 8;
    qint64 bitsPerSecond = wanted.value_or(BoundedFrameBitrate);
    if (frameRate)
        bitsPerSecond =
            std::min(bitsPerSecond, static_cast<qint64>(bufferBits * frameRate->value() / 2));
    return {u"-b:v"_s,     QString::number(bitsPerSecond),
            u"-maxrate"_s, QString::number(2 * bitsPerSecond),
            u"-bufsize"_s, QString::number(bufferBits)};
}

// A fixed rate is made by the filters and stated to the encoder; without one,
// containers that time each picture keep the source's variable rate.
QStringList VideoArguments::timing(std::optional<FrameRate> frameRate, const Container &container)
{
    if (frameRate)
        return {u"-r"_s, frameRate->toString()};
    if (container.storesFrameTimes())
        return {u"-fps_mode"_s, u"vfr"_s};
    return {};
}
