#include "FfmpegPlan.h"

#include "AudioCodec.h"
#include "Container.h"
#include "VideoCodec.h"

using namespace Qt::StringLiterals;

namespace {

// Used when ffprobe cannot tell; the most common values of audio sources.
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

    FfmpegPlan plan;
    plan.m_input = request.input;
    plan.m_expectation.probeName = container.probeName();
    plan.m_expectation.brand = container.brand();
    plan.m_expectation.durationSeconds = input.durationSeconds;
    if (withVideo) {
        const QString name = videoAsked.isEmpty() ? container.defaultVideoCodec() : videoAsked;
        plan.addVideo(request.video, *VideoCodec::find(name), *input.video,
                      container.maxVideoFrameBytes());
    }
    if (withAudio) {
        const QString name = audioAsked.isEmpty() ? container.defaultAudioCodec() : audioAsked;
        plan.addAudio(request.audio, *AudioCodec::find(name), *input.audio);
    }
    plan.m_streamArguments << u"-f"_s << container.muxer();
    return plan;
}

QStringList FfmpegPlan::arguments(const QString &writePath) const
{
    QStringList arguments{u"-nostdin"_s, u"-hide_banner"_s, u"-loglevel"_s,
                          u"error"_s,    u"-nostats"_s,     u"-progress"_s,
                          u"pipe:1"_s,   u"-i"_s,           fileUrl(m_input)};
    arguments += m_streamArguments;
    arguments << u"-y"_s << fileUrl(writePath);
    return arguments;
}

void FfmpegPlan::addVideo(const EncodeRequest::Video &wanted, const VideoCodec &codec,
                          const MediaInfo::Video &source, int maxFrameBytes)
{
    const QSize size = codec.sizeFor(wanted.size.value_or(source.size));
    m_streamArguments << u"-map"_s << streamMap(source.index) << u"-c:v"_s << codec.encoder()
                      << u"-s"_s << u"%1x%2"_s.arg(size.width()).arg(size.height());
    addVideoRate(wanted.bitsPerSecond, maxFrameBytes);
    if (wanted.frameRate)
        m_streamArguments << u"-r"_s << codec.frameRateFor(*wanted.frameRate).toString();
    m_expectation.video = MediaInfo::Video{0, codec.name(), size};
}

void FfmpegPlan::addVideoRate(std::optional<qint64> wanted, int maxFrameBytes)
{
    if (maxFrameBytes == 0) {
        if (wanted)
            m_streamArguments << u"-b:v"_s << QString::number(*wanted);
        else
            m_streamArguments << u"-q:v"_s << QString::number(DefaultVideoQuality);
        return;
    }
    // A decoder buffer no larger than the biggest frame allowed makes the
    // encoder re-code any frame that would not fit, at a coarser quantiser.
    const qint64 bitsPerSecond = wanted.value_or(BoundedFrameBitrate);
    m_streamArguments << u"-b:v"_s << QString::number(bitsPerSecond) << u"-maxrate"_s
                      << QString::number(2 * bitsPerSecond) << u"-bufsize"_s
                      << QString::number(static_cast<qint64>(maxFrameBytes) * 8);
}

void FfmpegPlan::addAudio(const EncodeRequest::Audio &wanted, const AudioCodec &codec,
                          const MediaInfo::Audio &source)
{
    const int sourceRate = source.sampleRate > 0 ? source.sampleRate : FallbackSampleRate;
    const int sourceChannels = source.channels > 0 ? source.channels : FallbackChannels;
    const int sampleRate = codec.sampleRateFor(wanted.sampleRate.value_or(sourceRate));
    const int channels =
        codec.channelsFor(wanted.channels.value_or(0) > 0 ? *wanted.channels : sourceChannels);
    m_streamArguments << u"-map"_s << streamMap(source.index) << u"-c:a"_s << codec.encoder()
                      << u"-ar"_s << QString::number(sampleRate) << u"-ac"_s
                      << QString::number(channels);
    if (wanted.vbrQuality) {
        m_streamArguments << u"-q:a"_s << QString::number(*wanted.vbrQuality);
    } else if (wanted.bitsPerSecond) {
        if (wanted.averageBitrate)
            m_streamArguments << u"-abr"_s << u"1"_s;
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
