#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

// What a media file holds: its container, its duration and the first video
// and audio streams (cover pictures are not video).
struct MediaInfo final
{
    // Width over height of one stored pixel, as the stream states it.
    struct PixelAspect
    {
        int num = 1;
        int den = 1;

        double value() const { return static_cast<double>(num) / den; }
        PixelAspect turned() const { return {den, num}; }
        QString toString() const { return QString::number(num) + u'/' + QString::number(den); }
    };

    // Where a stream's timestamps begin and where its last packet ends, on
    // the file's clock: what it really holds, which a header may overstate.
    struct StreamSpan
    {
        std::optional<double> startSeconds{};
        std::optional<double> endSeconds{};
    };

    struct Video
    {
        int index = 0;
        QString codec;
        QSize size;       // as stored, before any rotation
        int rotation = 0; // degrees a player turns the picture by: 0, 90, 180 or 270
        PixelAspect pixelAspect{};
        std::optional<double> frameRate{}; // frames per second on average, when known
        StreamSpan span{};

        bool turnsSideways() const { return rotation % 180 != 0; }
        // The picture as a player shows it, still in stored pixels.
        QSize shownSize() const { return turnsSideways() ? size.transposed() : size; }
        PixelAspect shownPixelAspect() const
        {
            return turnsSideways() ? pixelAspect.turned() : pixelAspect;
        }
    };

    struct Audio
    {
        int index = 0;
        QString codec;
        int sampleRate = 0;
        int channels = 0;
        StreamSpan span{};
    };

    QStringList formatNames;
    QString majorBrand;
    std::optional<double> durationSeconds;
    std::optional<double> startSeconds;
    std::optional<qint64> bitsPerSecond;
    std::optional<Video> video;
    std::optional<Audio> audio;
};
