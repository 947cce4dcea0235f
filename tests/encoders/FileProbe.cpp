#include "tests/encoders/FileProbe.h"

#include <QProcess>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

double pixelAspectOf(const QJsonObject &stream)
{
    const QStringList pixel = stream.value(u"sample_aspect_ratio"_s).toString().split(u':');
    return pixel.size() == 2 && pixel.at(0).toInt() > 0
               ? pixel.at(0).toDouble() / pixel.at(1).toDouble()
               : 1.0;
}

double shownAspect(const QJsonObject &stream)
{
    const double pixelAspect = pixelAspectOf(stream);
    const double stored =
        stream.value(u"width"_s).toDouble() * pixelAspect / stream.value(u"height"_s).toDouble();
    int rotation = 0;
    for (const QJsonValue &sideData : stream.value(u"side_data_list"_s).toArray())
        rotation = sideData.toObject().value(u"rotation"_s).toInt(rotation);
    return rotation % 180 != 0 ? 1.0 / stored : stored;
}

} // namespace

FileProbe FileProbe::of(const QString &ffprobe, const QString &path)
{
    FileProbe probe;
    QProcess process;
    process.start(ffprobe,
                  {u"-v"_s, u"error"_s, u"-print_format"_s, u"json"_s, u"-show_format"_s,
                   u"-show_streams"_s, u"file:"_s + path},
                  QIODevice::ReadOnly);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return probe;
    const QJsonObject root = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    const QJsonObject format = root.value(u"format"_s).toObject();
    QStringList parts{
        (format.value(u"format_name"_s).toString() + u' ' +
         format.value(u"tags"_s).toObject().value(u"major_brand"_s).toString().trimmed())
            .trimmed()};
    QString videoCodec;
    QString audioCodec;
    for (const QJsonValue &value : root.value(u"streams"_s).toArray()) {
        const QJsonObject stream = value.toObject();
        const QString type = stream.value(u"codec_type"_s).toString();
        const QString codec = stream.value(u"codec_name"_s).toString();
        if (type == u"video" && videoCodec.isEmpty()) {
            videoCodec = codec;
            parts.append(u"v=%1 %2x%3"_s.arg(codec)
                             .arg(stream.value(u"width"_s).toInt())
                             .arg(stream.value(u"height"_s).toInt()));
            probe.videoFrameRate = stream.value(u"r_frame_rate"_s).toString();
            probe.videoProfile = stream.value(u"profile"_s).toString();
            probe.pixelFormat = stream.value(u"pix_fmt"_s).toString();
            probe.videoTag = stream.value(u"codec_tag_string"_s).toString();
            probe.videoLevel = stream.value(u"level"_s).toInt();
            probe.displayAspect = shownAspect(stream);
            probe.pixelAspect = pixelAspectOf(stream);
        } else if (type == u"audio" && audioCodec.isEmpty()) {
            audioCodec = codec;
            probe.audioKbps = qRound(stream.value(u"bit_rate"_s).toString().toDouble() / 1000);
            parts.append(u"a=%1 %2 %3"_s.arg(codec, stream.value(u"sample_rate"_s).toString())
                             .arg(stream.value(u"channels"_s).toInt()));
        }
    }
    probe.readable = true;
    probe.description = parts.join(u" | "_s);
    probe.durationSeconds = format.value(u"duration"_s).toString().toDouble();
    probe.containerAndCodecs =
        QStringList{format.value(u"format_name"_s).toString(), videoCodec, audioCodec}.join(u' ');
    return probe;
}
