#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

// What ffprobe tells about a file: its container, its duration and the
// first video and audio streams (cover pictures are not video).
struct MediaInfo final
{
    struct Video
    {
        int index = 0;
        QString codec;
        QSize size;
    };

    struct Audio
    {
        int index = 0;
        QString codec;
        int sampleRate = 0;
        int channels = 0;
    };

    // Reads the JSON of "ffprobe -print_format json -show_format -show_streams".
    static std::optional<MediaInfo> fromProbeJson(const QByteArray &json);

    QStringList formatNames;
    QString majorBrand;
    std::optional<double> durationSeconds;
    std::optional<double> startSeconds;
    std::optional<qint64> bitsPerSecond;
    std::optional<Video> video;
    std::optional<Audio> audio;
};
