#include "encoders/probe/MediaProbe.h"

#include "encoders/probe/ProbeWire.h"

#include <QFile>
#include <QMap>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Rates above this come from time bases, not from pictures.
constexpr double MaxPlausibleFrameRate = 1000.0;
// How far before the end a header states the last packets are looked for:
// more than a header overstates in practice, a few packets' read in any case.
constexpr int64_t EndWindowSeconds = 10;

struct InputCloser
{
    void operator()(AVFormatContext *context) const { avformat_close_input(&context); }
};
using Input = std::unique_ptr<AVFormatContext, InputCloser>;

QString errorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

// The file protocol, so that a colon in a name is never read as another.
Input openMedia(const QString &path, QString *error)
{
    av_log_set_level(AV_LOG_QUIET);
    AVFormatContext *opened = nullptr;
    const QByteArray url = "file:" + QFile::encodeName(path);
    int result = avformat_open_input(&opened, url.constData(), nullptr, nullptr);
    Input input(opened);
    if (result >= 0)
        result = avformat_find_stream_info(input.get(), nullptr);
    if (result >= 0)
        return input;
    if (error)
        *error = errorText(result);
    return nullptr;
}

std::optional<double> seconds(int64_t value, AVRational timeBase)
{
    if (value == AV_NOPTS_VALUE)
        return std::nullopt;
    return static_cast<double>(value) * av_q2d(timeBase);
}

QString tag(const AVDictionary *metadata, const char *key)
{
    const AVDictionaryEntry *entry = av_dict_get(metadata, key, nullptr, 0);
    return entry ? QString::fromUtf8(entry->value).trimmed() : QString();
}

// A player turns the picture by the display matrix, or by the "rotate" tag
// older writers used instead.
int rotationOf(const AVStream &stream)
{
    double degrees = tag(stream.metadata, "rotate").toDouble();
    if (const uint8_t *matrix =
            av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr))
        degrees = av_display_rotation_get(reinterpret_cast<const int32_t *>(matrix));
    if (std::isnan(degrees))
        return 0;
    const int whole = static_cast<int>(std::lround(degrees));
    return (whole % 360 + 360) % 360;
}

// The average rate follows the timestamps; the other is only the rate the
// header or the codec claims, and is used when no average is known.
std::optional<double> frameRateOf(const AVStream &stream)
{
    for (const AVRational rate : {stream.avg_frame_rate, stream.r_frame_rate}) {
        if (rate.num > 0 && rate.den > 0 && av_q2d(rate) <= MaxPlausibleFrameRate)
            return av_q2d(rate);
    }
    return std::nullopt;
}

// What the header says, until the packets tell otherwise.
MediaInfo::StreamSpan headerSpan(const AVStream &stream)
{
    MediaInfo::StreamSpan span{seconds(stream.start_time, stream.time_base), std::nullopt};
    if (const std::optional<double> length = seconds(stream.duration, stream.time_base))
        span.endSeconds = span.startSeconds.value_or(0.0) + *length;
    return span;
}

QString fieldOrderName(AVFieldOrder order)
{
    static const QMap<AVFieldOrder, QString> names{{AV_FIELD_PROGRESSIVE, u"progressive"_s},
                                                   {AV_FIELD_TT, u"tt"_s},
                                                   {AV_FIELD_BB, u"bb"_s},
                                                   {AV_FIELD_TB, u"tb"_s},
                                                   {AV_FIELD_BT, u"bt"_s}};
    return names.value(order);
}

// ffmpeg's name of a colour property, empty for "unspecified".
template <typename Property>
QString colourName(Property value, Property unspecified, const char *(*name)(Property))
{
    const char *text = value == unspecified ? nullptr : name(value);
    return text ? QString::fromUtf8(text) : QString();
}

MediaInfo::Video readVideo(AVFormatContext &input, AVStream &stream)
{
    const AVCodecParameters &codec = *stream.codecpar;
    MediaInfo::Video video{stream.index, QString::fromUtf8(avcodec_get_name(codec.codec_id)),
                           QSize(codec.width, codec.height)};
    video.rotation = rotationOf(stream);
    const AVRational aspect = av_guess_sample_aspect_ratio(&input, &stream, nullptr);
    if (aspect.num > 0 && aspect.den > 0)
        video.pixelAspect = {aspect.num, aspect.den};
    video.frameRate = frameRateOf(stream);
    video.span = headerSpan(stream);
    video.fieldOrder = fieldOrderName(codec.field_order);
    video.colourTransfer =
        colourName(codec.color_trc, AVCOL_TRC_UNSPECIFIED, &av_color_transfer_name);
    video.colourPrimaries =
        colourName(codec.color_primaries, AVCOL_PRI_UNSPECIFIED, &av_color_primaries_name);
    video.colourMatrix = colourName(codec.color_space, AVCOL_SPC_UNSPECIFIED, &av_color_space_name);
    return video;
}

bool flagged(const AVStream &stream, int disposition)
{
    return (stream.disposition & disposition) != 0;
}

MediaInfo::Audio readAudio(const AVStream &stream)
{
    const AVCodecParameters &codec = *stream.codecpar;
    MediaInfo::Audio audio{stream.index, QString::fromUtf8(avcodec_get_name(codec.codec_id)),
                           codec.sample_rate, codec.ch_layout.nb_channels};
    audio.span = headerSpan(stream);
    audio.language = tag(stream.metadata, "language");
    audio.isDefault = flagged(stream, AV_DISPOSITION_DEFAULT);
    return audio;
}

MediaInfo::Subtitle readSubtitle(const AVStream &stream)
{
    const AVCodecDescriptor *descriptor = avcodec_descriptor_get(stream.codecpar->codec_id);
    return {stream.index,
            QString::fromUtf8(avcodec_get_name(stream.codecpar->codec_id)),
            tag(stream.metadata, "language"),
            flagged(stream, AV_DISPOSITION_DEFAULT),
            flagged(stream, AV_DISPOSITION_FORCED),
            descriptor && (descriptor->props & AV_CODEC_PROP_BITMAP_SUB) != 0};
}

// The track a player starts with: the one flagged default, else the first.
std::optional<MediaInfo::Audio> defaultTrack(const QList<MediaInfo::Audio> &tracks)
{
    if (tracks.isEmpty())
        return std::nullopt;
    const auto flaggedTrack =
        std::find_if(tracks.begin(), tracks.end(),
                     [](const MediaInfo::Audio &track) { return track.isDefault; });
    return flaggedTrack != tracks.end() ? *flaggedTrack : tracks.first();
}

// A packet without a duration, as some containers store pictures, is shown
// for one frame.
int64_t packetEnd(const AVPacket &packet, const AVStream &stream)
{
    const int64_t start = packet.pts != AV_NOPTS_VALUE ? packet.pts : packet.dts;
    if (packet.duration > 0 || stream.codecpar->codec_type != AVMEDIA_TYPE_VIDEO)
        return start + packet.duration;
    const AVRational rate =
        stream.avg_frame_rate.num > 0 ? stream.avg_frame_rate : stream.r_frame_rate;
    return rate.num > 0 ? start + av_rescale_q(1, av_inv_q(rate), stream.time_base) : start;
}

// The end of each stream's last packet, read from shortly before where the
// header says the file ends. A file that cannot seek keeps its header's word.
void readStreamEnds(AVFormatContext &input, MediaInfo &info)
{
    if (input.duration == AV_NOPTS_VALUE)
        return;
    const int64_t start = input.start_time == AV_NOPTS_VALUE ? 0 : input.start_time;
    const int64_t target =
        std::max(start, start + input.duration - EndWindowSeconds * AV_TIME_BASE);
    if (av_seek_frame(&input, -1, target, AVSEEK_FLAG_BACKWARD) < 0)
        return;
    std::map<int, int64_t> ends;
    AVPacket *packet = av_packet_alloc();
    while (av_read_frame(&input, packet) >= 0) {
        if (packet->pts != AV_NOPTS_VALUE || packet->dts != AV_NOPTS_VALUE) {
            const int64_t end = packetEnd(*packet, *input.streams[packet->stream_index]);
            const auto found = ends.try_emplace(packet->stream_index, end).first;
            found->second = std::max(found->second, end);
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    const auto takeEnd = [&](auto &stream) {
        if (const auto found = ends.find(stream.index); found != ends.end())
            stream.span.endSeconds = seconds(found->second, input.streams[stream.index]->time_base);
    };
    if (info.video)
        takeEnd(*info.video);
    if (info.audio)
        takeEnd(*info.audio);
    for (MediaInfo::Audio &track : info.audioTracks)
        takeEnd(track);
}

// Reads on from where probing stopped, so the packets probing already read
// come first: only a stream without any packet costs a read to the end.
bool hasPacketOf(AVFormatContext &input, int streamIndex)
{
    AVPacket *packet = av_packet_alloc();
    bool found = false;
    while (!found && av_read_frame(&input, packet) >= 0) {
        found = packet->stream_index == streamIndex;
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    return found;
}

} // namespace

std::optional<MediaInfo> MediaProbe::read(const QString &path, QString *error)
{
    const Input input = openMedia(path, error);
    if (!input)
        return std::nullopt;

    MediaInfo info;
    info.formatNames = QString::fromUtf8(input->iformat->name).split(u',', Qt::SkipEmptyParts);
    info.majorBrand = tag(input->metadata, "major_brand");
    info.durationSeconds = seconds(input->duration, AV_TIME_BASE_Q);
    info.startSeconds = seconds(input->start_time, AV_TIME_BASE_Q);
    if (input->bit_rate > 0)
        info.bitsPerSecond = input->bit_rate;
    for (unsigned index = 0; index < input->nb_streams; ++index) {
        AVStream &stream = *input->streams[index];
        const AVMediaType type = stream.codecpar->codec_type;
        const bool coverPicture = flagged(stream, AV_DISPOSITION_ATTACHED_PIC);
        if (type == AVMEDIA_TYPE_VIDEO && !info.video && !coverPicture)
            info.video = readVideo(*input, stream);
        else if (type == AVMEDIA_TYPE_AUDIO)
            info.audioTracks.append(readAudio(stream));
        else if (type == AVMEDIA_TYPE_SUBTITLE)
            info.subtitleTracks.append(readSubtitle(stream));
    }
    info.audio = defaultTrack(info.audioTracks);
    // A container may declare a sound track that never got a single packet
    // (a clip cut to its first frame): that is no sound at all.
    if (info.audio && !hasPacketOf(*input, info.audio->index))
        info.audio.reset();
    readStreamEnds(*input, info);
    return info;
}

QByteArray MediaProbe::answer(const QByteArray &request)
{
    const std::optional<QString> path = ProbeWire::decodeRequest(request);
    if (!path)
        return {};
    ProbeWire::Reply reply;
    reply.info = read(*path, &reply.error);
    return ProbeWire::encodeReply(reply);
}
