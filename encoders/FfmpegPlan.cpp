#include "FfmpegPlan.h"

#include "AudioCodec.h"
#include "Container.h"
#include "VideoCodec.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Used when the probe cannot tell; the most common values of audio sources.
constexpr int FallbackSampleRate = 44100;
constexpr int FallbackChannels = 2;

QString fileUrl(const QString &path)
{
    return u"file:"_s + path;
}

QString streamMap(int index)
{
    return u"0:"_s + QString::number(index);
}

QString scaleFilter(QSize size)
{
    return u"scale=%1:%2"_s.arg(size.width()).arg(size.height());
}

// How long the output should last: from the first to the last moment any
// kept stream holds, as the streams' packets say. The header's duration
// also counts streams left out and may promise more than the file holds.
std::optional<double> keptDuration(const MediaInfo &input, bool withVideo, bool withAudio)
{
    std::optional<double> first;
    std::optional<double> last;
    const auto consider = [&](const MediaInfo::StreamSpan &span) {
        const double start = span.startSeconds.value_or(input.startSeconds.value_or(0.0));
        first = std::min(start, first.value_or(start));
        if (span.endSeconds)
            last = std::max(*span.endSeconds, last.value_or(*span.endSeconds));
    };
    if (withVideo)
        consider(input.video->span);
    if (withAudio)
        consider(input.audio->span);
    return last ? std::optional<double>(*last - *first) : input.durationSeconds;
}

// What a cut leaves of the input's duration; with the duration unknown, the
// length asked for.
std::optional<double> cutDuration(std::optional<double> duration, const EncodeRequest::Cut &cut)
{
    if (!duration)
        return cut.lengthSeconds;
    const double left = *duration - cut.startSeconds;
    return std::min(left, cut.lengthSeconds.value_or(left));
}

} // namespace

FfmpegPlan FfmpegPlan::build(const EncodeRequest &request, const MediaInfo &input)
{
    const QString videoAsked = request.video.enabled ? request.video.codec : QString();
    const QString &audioAsked = request.audio.codec;
    const Container::Choice choice =
        Container::choose(request.container, request.output, videoAsked, audioAsked);
    if (!choice.container)
        return failure(choice.error);
    const Container &container = *choice.container;
    const bool withVideo = request.video.enabled && container.carriesVideo();
    if (withVideo && !input.video)
        return failure(u"the input has no video stream"_s);
    const bool withAudio = input.audio.has_value();
    if (!withVideo && !withAudio)
        return failure(u"the input has no audio stream"_s);

    const std::optional<double> duration =
        cutDuration(keptDuration(input, withVideo, withAudio), request.cut);
    if (request.cut.cuts() && duration && *duration <= 0)
        return failure(
            u"nothing is left of the input from %1 s on"_s.arg(request.cut.startSeconds));

    FfmpegPlan plan;
    plan.m_input = request.input;
    plan.m_cut = request.cut;
    plan.m_expectation.probeName = container.probeName();
    plan.m_expectation.brand = container.brand();
    plan.m_expectation.durationSeconds = duration;
    if (withVideo) {
        const QString name = videoAsked.isEmpty() ? container.defaultVideoCodec() : videoAsked;
        plan.addVideo(request.video, *VideoCodec::find(name), *input.video, container);
    }
    if (withAudio) {
        const QString name = audioAsked.isEmpty() ? container.defaultAudioCodec() : audioAsked;
        plan.addAudio(request.audio, *AudioCodec::find(name), *input.audio, container, withVideo);
    }
    plan.m_streamArguments << container.muxerOptions() << u"-f"_s << container.muxer();
    return plan;
}

QStringList FfmpegPlan::arguments(const QString &writePath) const
{
    QStringList arguments{u"-nostdin"_s, u"-hide_banner"_s, u"-loglevel"_s, u"error"_s,
                          u"-nostats"_s, u"-progress"_s,    u"pipe:1"_s};
    // As input options the cut seeks instead of decoding what it skips, and
    // the output's clock starts at the start time.
    if (m_cut.startSeconds > 0)
        arguments << u"-ss"_s << QString::number(m_cut.startSeconds, 'f', 3);
    if (m_cut.lengthSeconds)
        arguments << u"-t"_s << QString::number(*m_cut.lengthSeconds, 'f', 3);
    arguments << u"-i"_s << fileUrl(m_input);
    arguments += m_streamArguments;
    arguments << u"-y"_s << fileUrl(writePath);
    return arguments;
}

void FfmpegPlan::addVideo(const EncodeRequest::Video &wanted, const VideoCodec &codec,
                          const MediaInfo::Video &source, const Container &container)
{
    // ffmpeg turns a rotated picture upright before these filters, so sizes
    // follow the picture as shown. A size asked for is kept as asked; ffmpeg
    // then sets the pixel aspect that keeps the picture's shape.
    const QSize shown = source.shownSize();
    const MediaInfo::PixelAspect pixelAspect = source.shownPixelAspect();
    QSize size;
    QString filter;
    if (wanted.size) {
        size = codec.sizeFor(*wanted.size);
        filter = scaleFilter(size);
    } else if (container.keepsPixelAspect()) {
        size = codec.sizeKeepingShape(shown);
        filter = scaleFilter(size) + u",setsar="_s + pixelAspect.toString();
    } else {
        size = codec.sizeKeepingShape(QSizeF(shown.width() * pixelAspect.value(), shown.height()));
        filter = scaleFilter(size) + u",setsar=1"_s;
    }
    const std::optional<FrameRate> rate = frameRate(wanted.frameRate, codec, source);
    // A fixed rate is made by the filter, which shows the last picture for
    // its whole duration; ffmpeg's own rate conversion ends the output on
    // it and can repeat its timestamp.
    if (rate)
        filter += u",fps="_s + rate->toString();
    // Converted last, so that scaling works on the source's full precision.
    if (!codec.pixelFormat().isEmpty())
        filter += u",format="_s + codec.pixelFormat();
    m_streamArguments << u"-map"_s << streamMap(source.index) << u"-c:v"_s << codec.encoder()
                      << codec.lowDelayOptions() << codec.encoderOptions() << u"-vf"_s << filter;
    if (!codec.tag().isEmpty())
        m_streamArguments << u"-tag:v"_s << codec.tag();
    addVideoRate(wanted.bitsPerSecond, codec.qualityOptions(), container.maxVideoFrameBytes(),
                 rate);
    if (rate)
        m_streamArguments << u"-r"_s << rate->toString();
    m_expectation.video = MediaInfo::Video{0, codec.name(), size};
}

void FfmpegPlan::addVideoRate(std::optional<qint64> wanted, const QStringList &qualityOptions,
                              int maxFrameBytes, std::optional<FrameRate> frameRate)
{
    if (maxFrameBytes == 0) {
        if (wanted)
            m_streamArguments << u"-b:v"_s << QString::number(*wanted);
        else if (!qualityOptions.isEmpty())
            m_streamArguments << qualityOptions;
        else
            m_streamArguments << u"-q:v"_s << QString::number(DefaultVideoQuality);
        return;
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
    m_streamArguments << u"-b:v"_s << QString::number(bitsPerSecond) << u"-maxrate"_s
                      << QString::number(2 * bitsPerSecond) << u"-bufsize"_s
                      << QString::number(bufferBits);
}

// A codec that takes only some rates gets the one nearest the source's real
// average, not the rate a header claims; the others keep the source's
// timing, variable or not.
std::optional<FrameRate> FfmpegPlan::frameRate(std::optional<double> wanted,
                                               const VideoCodec &codec,
                                               const MediaInfo::Video &source)
{
    const std::optional<double> rate =
        wanted ? wanted : (codec.restrictsFrameRate() ? source.frameRate : std::nullopt);
    if (!rate)
        return std::nullopt;
    return codec.frameRateFor(*rate);
}

void FfmpegPlan::addAudio(const EncodeRequest::Audio &wanted, const AudioCodec &codec,
                          const MediaInfo::Audio &source, const Container &container,
                          bool withPicture)
{
    const int sourceRate = source.sampleRate > 0 ? source.sampleRate : FallbackSampleRate;
    const int sourceChannels = source.channels > 0 ? source.channels : FallbackChannels;
    const int sampleRate = codec.sampleRateFor(wanted.sampleRate.value_or(sourceRate),
                                               container.lowestSampleRate(codec.name()));
    const int channels =
        codec.channelsFor(wanted.channels.value_or(0) > 0 ? *wanted.channels : sourceChannels);
    // Sound is laid out by its timestamps: gaps filled with silence and,
    // beside a picture, a late start too, so that containers which time
    // sound by its bytes alone (AVI, RealMedia) keep it with the picture.
    QString timing = u"aresample=async=1"_s;
    if (withPicture)
        timing += u":first_pts=0"_s;
    m_streamArguments << u"-map"_s << streamMap(source.index) << u"-c:a"_s << codec.encoder()
                      << u"-af"_s << timing << u"-ar"_s << QString::number(sampleRate) << u"-ac"_s
                      << QString::number(channels);
    if (wanted.vbrQuality) {
        m_streamArguments << u"-q:a"_s << QString::number(*wanted.vbrQuality);
    } else if (wanted.bitsPerSecond) {
        m_streamArguments << u"-b:a"_s
                          << QString::number(codec.bitrateFor(*wanted.bitsPerSecond, sampleRate));
    }
    m_expectation.audio = MediaInfo::Audio{0, codec.name(), sampleRate, channels};
}

FfmpegPlan FfmpegPlan::failure(const QString &reason)
{
    FfmpegPlan plan;
    plan.m_error = reason;
    return plan;
}
