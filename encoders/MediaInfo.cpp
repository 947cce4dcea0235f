#include "MediaInfo.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

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

MediaInfo::Video readVideo(const QJsonObject &stream)
{
    return {intField(stream, u"index"_s), stream.value(u"codec_name"_s).toString(),
            QSize(intField(stream, u"width"_s), intField(stream, u"height"_s))};
}

MediaInfo::Audio readAudio(const QJsonObject &stream)
{
    return {intField(stream, u"index"_s), stream.value(u"codec_name"_s).toString(),
            intField(stream, u"sample_rate"_s), intField(stream, u"channels"_s)};
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
