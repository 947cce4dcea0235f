#include "encoders/plan/FfmpegPlan.h"

#include "encoders/options/TrackChoice.h"
#include "encoders/plan/AudioCodec.h"
#include "encoders/plan/Container.h"
#include "encoders/plan/VideoArguments.h"
#include "encoders/plan/VideoCodec.h"
#include "encoders/plan/VideoFilters.h"

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

FfmpegPlan FfmpegPlan::build(const EncodeRequest &request, const MediaInfo &probed,
                             const std::optional<BurnedSubtitles> &subtitles)
{
    const TrackChoice::Audio sound = TrackChoice::audio(probed, request.choices.audioTrack);
    MediaInfo input = probed;
    input.audio = sound.track;
    const QString videoAsked = request.video.enabled ? request.video.codec : QString();
    const QString &audioAsked = request.audio.codec;
    const Container::Choice choice =
        Container::choose(request.container, request.output, videoAsked, audioAsked);
    if (!choice.container)
        return failed(EncoderProtocol::FailureCause::BadCommandLine, choice.error);
    const Container &container = *choice.container;
    const bool withVideo = request.video.enabled && container.carriesVideo();
    if (withVideo && !input.video)
        return failed(EncoderProtocol::FailureCause::NoVideoStream,
                      u"the input has no video stream"_s);
    const bool withAudio = input.audio.has_value();
    if (!withVideo && !withAudio)
        return failed(EncoderProtocol::FailureCause::NoAudioStream,
                      u"the input has no audio stream"_s);

    const std::optional<double> duration =
        cutDuration(keptDuration(input, withVideo, withAudio), request.cut);
    if (request.cut.cuts() && duration && *duration <= 0)
        return failed(EncoderProtocol::FailureCause::CutPastTheEnd,
                      u"nothing is left of the input from %1 s on"_s.arg(request.cut.startSeconds));

    FfmpegPlan plan;
    plan.m_input = request.input;
    plan.m_cut = request.cut;
    plan.m_note = sound.note;
    plan.m_expectation.probeName = container.probeName();
    plan.m_expectation.brand = container.brand();
    plan.m_expectation.durationSeconds = duration;
    if (withVideo) {
        const QString name = videoAsked.isEmpty() ? container.defaultVideoCodec() : videoAsked;
        plan.addVideo(request, *VideoCodec::find(name), input, container, subtitles);
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

// The picture's filters, then what its encoder is told. The crop of a padded
// frame is a filter of the coded stream, so it goes with the encoder's options.
void FfmpegPlan::addVideo(const EncodeRequest &request, const VideoCodec &codec,
                          const MediaInfo &input, const Container &container,
                          const std::optional<BurnedSubtitles> &subtitles)
{
    const MediaInfo::Video &source = *input.video;
    const std::optional<FrameRate> rate =
        VideoArguments::frameRate(request.video.frameRate, codec, source);
    const VideoFilters filters(request, input, codec, container, rate, subtitles);
    m_streamArguments << filters.arguments() << VideoArguments::encoder(codec) << filters.cropBack()
                      << VideoArguments::colourTags(source)
                      << VideoArguments::rateControl(request.video.bitsPerSecond, codec, container,
                                                     rate)
                      << VideoArguments::timing(rate, container);
    m_expectation.video = MediaInfo::Video{0, codec.name(), filters.frameSize()};
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
    m_streamArguments << u"-map"_s << u"0:"_s + QString::number(source.index) << u"-c:a"_s
                      << codec.encoder() << u"-af"_s << timing << u"-ar"_s
                      << QString::number(sampleRate) << u"-ac"_s << QString::number(channels);
    if (wanted.vbrQuality) {
        m_streamArguments << u"-q:a"_s << QString::number(*wanted.vbrQuality);
    } else if (wanted.bitsPerSecond) {
        m_streamArguments << u"-b:a"_s
                          << QString::number(codec.bitrateFor(*wanted.bitsPerSecond, sampleRate));
    }
    m_expectation.audio = MediaInfo::Audio{0, codec.name(), sampleRate, channels};
}

FfmpegPlan FfmpegPlan::failed(EncoderProtocol::FailureCause cause, const QString &reason)
{
    FfmpegPlan plan;
    plan.m_failure = {cause, reason};
    return plan;
}
