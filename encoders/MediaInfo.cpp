#include "MediaInfo.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Rates above this come from time bases, not from pictures.
constexpr double MaxPlausibleFrameRate = 1000.0;

// ffprobe writes most numbers as strings, "N/A" when it does not know them.
std::optional<double> numberField(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    if (value.isDouble())
        return value.toDouble();
    bool ok = false;
    const double number = value.toString().toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

int intField(const QJsonObject &object, const QString &key)
{
    return static_cast<int>(numberField(object, key).value_or(0));
}

// "24000/1001" or "64:45"; nothing when either side is not a positive number.
std::optional<std::pair<int, int>> fractionField(const QJsonObject &object, const QString &key)
{
    static const QRegularExpression fraction(u"^(\\d+)[/:](\\d+)$"_s);
    const QRegularExpressionMatch match = fraction.match(object.value(key).toString());
    const int num = match.captured(1).toInt();
    const int den = match.captured(2).toInt();
    if (num <= 0 || den <= 0)
        return std::nullopt;
    return std::pair{num, den};
}

// A player turns the picture by the display matrix, or by the "rotate" tag
// older writers used instead.
int rotationOf(const QJsonObject &stream)
{
    std::optional<double> degrees = numberField(stream.value(u"tags"_s).toObject(), u"rotate"_s);
    for (const QJsonValue &sideData : stream.value(u"side_data_list"_s).toArray()) {
        if (const std::optional<double> matrix = numberField(sideData.toObject(), u"rotation"_s))
            degrees = matrix;
    }
    const int whole = static_cast<int>(std::lround(degrees.value_or(0.0)));
    return (whole % 360 + 360) % 360;
}

// The average rate follows the timestamps; the other is only the rate the
// header or the codec claims, and is used when no average is known.
std::optional<double> frameRateOf(const QJsonObject &stream)
{
    for (const QString &key : {u"avg_frame_rate"_s, u"r_frame_rate"_s}) {
        if (const auto rate = fractionField(stream, key)) {
            const double value = static_cast<double>(rate->first) / rate->second;
            if (value <= MaxPlausibleFrameRate)
                return value;
        }
    }
    return std::nullopt;
}

MediaInfo::Video readVideo(const QJsonObject &stream)
{
    MediaInfo::Video video{intField(stream, u"index"_s), stream.value(u"codec_name"_s).toString(),
                           QSize(intField(stream, u"width"_s), intField(stream, u"height"_s))};
    video.rotation = rotationOf(stream);
    if (const auto aspect = fractionField(stream, u"sample_aspect_ratio"_s))
        video.pixelAspect = {aspect->first, aspect->second};
    video.frameRate = frameRateOf(stream);
    video.durationSeconds = numberField(stream, u"duration"_s);
    return video;
}

MediaInfo::Audio readAudio(const QJsonObject &stream)
{
    return {intField(stream, u"index"_s), stream.value(u"codec_name"_s).toString(),
            intField(stream, u"sample_rate"_s), intField(stream, u"channels"_s),
            numberField(stream, u"duration"_s)};
}

bool isCoverPicture(const QJsonObject &stream)
{
    return stream.value(u"disposition"_s).toObject().value(u"attached_pic"_s).toInt() != 0;
}

} // namespace

std::optional<MediaInfo> MediaInfo::fromProbeJson(const QByteArray &json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    const QJsonObject format = document.object().value(u"format"_s).toObject();
    if (format.isEmpty())
        return std::nullopt;
    MediaInfo info;
    info.formatNames = format.value(u"format_name"_s).toString().split(u',', Qt::SkipEmptyParts);
    info.majorBrand =
        format.value(u"tags"_s).toObject().value(u"major_brand"_s).toString().trimmed();
    info.durationSeconds = numberField(format, u"duration"_s);
    info.startSeconds = numberField(format, u"start_time"_s);
    if (const std::optional<double> bitrate = numberField(format, u"bit_rate"_s))
        info.bitsPerSecond = static_cast<qint64>(*bitrate);
    for (const QJsonValue &value : document.object().value(u"streams"_s).toArray()) {
        const QJsonObject stream = value.toObject();
        const QString type = stream.value(u"codec_type"_s).toString();
        if (type == u"video" && !info.video && !isCoverPicture(stream))
            info.video = readVideo(stream);
        else if (type == u"audio" && !info.audio)
            info.audio = readAudio(stream);
    }
    return info;
}
