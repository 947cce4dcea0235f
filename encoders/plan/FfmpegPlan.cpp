#include "encoders/plan/FfmpegPlan.h"

#include "encoders/options/TrackChoice.h"
#include "encoders/plan/AudioCodec.h"
#include "encoders/plan/Container.h"
#include "encoders/plan/VideoCodec.h"

#include <algorithm>
#include <cmath>

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

// Plain text subtitles (SubRip, WebVTT, tracks without styles) in a face
// that has every CJK character, with an outline that reads on any
// background. The text is a share of the picture's height, but never so
// small that a phone-sized picture's characters lose their strokes; libass
// scales the size from a script 288 lines high.
constexpr double TextShareOfHeight = 0.06;
constexpr double MinTextPixels = 14.0;
constexpr double LibassScriptHeight = 288.0;

QString plainTextStyle(int pictureHeight)
{
    const double pixels = std::max(MinTextPixels, pictureHeight * TextShareOfHeight);
    const long size = std::lround(pixels * LibassScriptHeight / pictureHeight);
    return u"FontName=Noto Sans CJK SC,FontSize=%1,Outline=1.2,Shadow=0.5,MarginV=14"_s.arg(size);
}

// A filter option's value as a filter graph reads it: escaped once for the
// option list and once more for the graph around it.
QString escapedFilterValue(const QString &value)
{
    QString option;
    for (const QChar character : value) {
        if (character == u'\\' || character == u'\'' || character == u':')
            option += u'\\';
        option += character;
    }
    QString graph;
    for (const QChar character : option) {
        if (QStringView(u"\\'[],;").contains(character))
            graph += u'\\';
        graph += character;
    }
    return graph;
}

// The largest picture of the shape (width over height) inside the frame,
// in even sizes; the whole frame when the shapes are the same.
QSize fitted(double shape, QSize frame)
{
    const auto even = [](double side) {
        return std::max(2, 2 * static_cast<int>(std::lround(side / 2)));
    };
    const double frameShape = static_cast<double>(frame.width()) / frame.height();
    if (std::abs(shape / frameShape - 1) <= VideoCodec::ShapeTolerance)
        return frame;
    if (shape > frameShape)
        return {frame.width(), std::min(frame.height(), even(frame.width() / shape))};
    return {std::min(frame.width(), even(frame.height() * shape)), frame.height()};
}

// HDR pictures brought to SDR's range and colours: into linear light at
// SDR's 100-nit white, to BT.709's primaries, a filmic curve for the
// highlights, then BT.709's transfer and matrix. The source's primaries and
// matrix are those of HDR video when it does not state them.
QString toneMapping(const MediaInfo::Video &source)
{
    QString linear = u"zscale=tin="_s + source.colourTransfer;
    linear +=
        u":pin="_s + (source.colourPrimaries.isEmpty() ? u"bt2020"_s : source.colourPrimaries);
    linear += u":min="_s + (source.colourMatrix.isEmpty() ? u"bt2020nc"_s : source.colourMatrix);
    return linear + u":t=linear:npl=100,format=gbrpf32le,zscale=p=bt709,"
                    u"tonemap=tonemap=hable:desat=0,zscale=t=bt709:m=bt709:r=tv,format=yuv420p"_s;
}

// What the picture needs before anything else: fields woven into frames
// and HDR brought to SDR. A stream that does not say whether it is
// interlaced is looked at frame by frame, and only the frames that show
// combing are deinterlaced. Fields go to 4:2:0 each on its own before they
// are woven: converting the woven frame's chroma afterwards mixes the two
// fields' chroma lines and combs the colours again.
QStringList pictureRepairs(const MediaInfo::Video &source)
{
    QStringList filters;
    if (source.isInterlaced())
        filters << u"scale=interl=1"_s << u"format=yuv420p"_s << u"bwdif=mode=send_frame"_s;
    else if (source.fieldOrder.isEmpty())
        filters << u"idet"_s << u"scale=interl=-1"_s << u"format=yuv420p"_s
                << u"bwdif=mode=send_frame:deint=interlaced"_s;
    if (source.isHighDynamicRange())
        filters << toneMapping(source);
    return filters;
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
        plan.addVideo(request.video, *VideoCodec::find(name), input, container, subtitles);
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
                          const MediaInfo &input, const Container &container,
                          const std::optional<BurnedSubtitles> &subtitles)
{
    const MediaInfo::Video &source = *input.video;
    const auto [size, picture, pixelAspectFilter] = frameFor(wanted, codec, source, container);
    QStringList afterOverlay{scaleFilter(picture)};
    // Text is drawn at the picture's final size, so it is sharp and sized
    // for it, and inside the picture rather than on the bars.
    const bool overlaid =
        subtitles && subtitles->kind == BurnedSubtitles::Kind::Track && subtitles->track.isBitmap;
    if (subtitles && !overlaid)
        afterOverlay << subtitleFilter(*subtitles, input, picture.height());
    if (picture != size)
        afterOverlay << u"pad=%1:%2:%3:%4:black"_s.arg(size.width())
                            .arg(size.height())
                            .arg((size.width() - picture.width()) / 2 / 2 * 2)
                            .arg((size.height() - picture.height()) / 2 / 2 * 2);
    afterOverlay << pixelAspectFilter;
    const std::optional<FrameRate> rate = frameRate(wanted.frameRate, codec, source);
    // A fixed rate is made by the filter, which shows the last picture for
    // its whole duration; ffmpeg's own rate conversion ends the output on
    // it and can repeat its timestamp.
    if (rate)
        afterOverlay << u"fps="_s + rate->toString();
    const QSize coded(std::max(size.width(), codec.minimumSide()),
                      std::max(size.height(), codec.minimumSide()));
    if (coded != size)
        afterOverlay << u"pad=%1:%2:0:0:black"_s.arg(coded.width()).arg(coded.height());
    // Converted last, so that scaling works on the source's full precision.
    if (!codec.pixelFormat().isEmpty())
        afterOverlay << u"format="_s + codec.pixelFormat();

    addFilters(source.index, pictureRepairs(source), afterOverlay,
               overlaid ? std::optional<int>(subtitles->track.index) : std::nullopt);
    m_streamArguments << u"-c:v"_s << codec.encoder() << codec.lowDelayOptions()
                      << codec.encoderOptions();
    if (!codec.tag().isEmpty())
        m_streamArguments << u"-tag:v"_s << codec.tag();
    if (coded != size)
        m_streamArguments << u"-bsf:v"_s
                          << u"%1=crop_right=%2:crop_bottom=%3"_s.arg(codec.croppingFilter())
                                 .arg(coded.width() - size.width())
                                 .arg(coded.height() - size.height());
    if (source.isHighDynamicRange())
        m_streamArguments << u"-color_primaries"_s << u"bt709"_s << u"-color_trc"_s << u"bt709"_s
                          << u"-colorspace"_s << u"bt709"_s;
    addVideoRate(wanted.bitsPerSecond, codec.qualityOptions(), container.maxVideoFrameBytes(),
                 rate);
    if (rate)
        m_streamArguments << u"-r"_s << rate->toString();
    else if (container.storesFrameTimes())
        m_streamArguments << u"-fps_mode"_s << u"vfr"_s;
    m_expectation.video = MediaInfo::Video{0, codec.name(), size};
}

FfmpegPlan::Frame FfmpegPlan::frameFor(const EncodeRequest::Video &wanted, const VideoCodec &codec,
                                       const MediaInfo::Video &source, const Container &container)
{
    // ffmpeg turns a rotated picture upright before these filters, so sizes
    // follow the picture as shown.
    const QSize shown = source.shownSize();
    const MediaInfo::PixelAspect pixelAspect = source.shownPixelAspect();
    if (wanted.size) {
        // A size asked for is the frame; the picture keeps its shape inside
        // it, with black bars where the shapes differ.
        const QSize size = codec.sizeFor(*wanted.size);
        return {size, fitted(shown.width() * pixelAspect.value() / shown.height(), size),
                u"setsar=1"_s};
    }
    if (container.keepsPixelAspect()) {
        const QSize size = codec.sizeKeepingShape(shown);
        return {size, size, u"setsar="_s + pixelAspect.toString()};
    }
    const QSize size =
        codec.sizeKeepingShape(QSizeF(shown.width() * pixelAspect.value(), shown.height()));
    return {size, size, u"setsar=1"_s};
}

// One chain for the picture, or a graph that lays a picture subtitle track
// over it: on the source's own canvas, which the subtitles are made for,
// after the repairs and before anything changes its size.
void FfmpegPlan::addFilters(int sourceIndex, const QStringList &beforeOverlay,
                            const QStringList &afterOverlay, std::optional<int> overlaidIndex)
{
    if (!overlaidIndex) {
        m_streamArguments << u"-map"_s << streamMap(sourceIndex) << u"-vf"_s
                          << (beforeOverlay + afterOverlay).join(u',');
        return;
    }
    const QString graph =
        u"[%1]%2[picture];[%3][picture]scale2ref[subtitles][base];"
        u"[base][subtitles]overlay=eof_action=pass,%4[out]"_s.arg(
            streamMap(sourceIndex), beforeOverlay.isEmpty() ? u"null"_s : beforeOverlay.join(u','),
            streamMap(*overlaidIndex), afterOverlay.join(u','));
    m_streamArguments << u"-filter_complex"_s << graph << u"-map"_s << u"[out]"_s;
}

// Drawn with libass: a subtitle file, or a text track read from the input
// itself. libass times the text by the picture's timestamps, which start
// at the cut's start (and without the input's own start time), so the
// picture is shifted back onto the subtitles' clock while they are drawn.
QString FfmpegPlan::subtitleFilter(const BurnedSubtitles &subtitles, const MediaInfo &input,
                                   int pictureHeight) const
{
    double offset = m_cut.startSeconds;
    QString source = u"subtitles=filename="_s;
    if (subtitles.kind == BurnedSubtitles::Kind::File) {
        source += escapedFilterValue(subtitles.file);
    } else {
        offset += input.startSeconds.value_or(0.0);
        const auto track = std::find_if(
            input.subtitleTracks.begin(), input.subtitleTracks.end(),
            [&](const MediaInfo::Subtitle &each) { return each.index == subtitles.track.index; });
        source += escapedFilterValue(m_input) + u":si="_s +
                  QString::number(track - input.subtitleTracks.begin());
    }
    if (!subtitles.keepsStyles())
        source += u":force_style="_s + escapedFilterValue(plainTextStyle(pictureHeight));
    if (offset == 0.0)
        return source;
    const QString shift = QString::number(offset, 'f', 3);
    return u"setpts=PTS+%1/TB,%2,setpts=PTS-%1/TB"_s.arg(shift, source);
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

FfmpegPlan FfmpegPlan::failed(EncoderProtocol::FailureCause cause, const QString &reason)
{
    FfmpegPlan plan;
    plan.m_failure = {cause, reason};
    return plan;
}
