#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

// What a media file holds: its container, its duration, its main picture
// (cover pictures are not video), its sound tracks with the one converted
// unless another is asked for, and its subtitle tracks.
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
        // As ffmpeg names them: "progressive", "tt", "bb", "tb", "bt"; empty
        // when the stream does not say.
        QString fieldOrder{};
        // ffmpeg's names of the colour properties; empty when unspecified.
        QString colourTransfer{};
        QString colourPrimaries{};
        QString colourMatrix{};

        bool isInterlaced() const { return !fieldOrder.isEmpty() && fieldOrder != u"progressive"; }
        // Perceptual quantiser (HDR10, Dolby Vision's base) or hybrid
        // log-gamma: pictures made for a brighter screen than SDR's.
        bool isHighDynamicRange() const
        {
            return colourTransfer == u"smpte2084" || colourTransfer == u"arib-std-b67";
        }

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
        QString language{}; // as the file tags it ("chi", "eng"), empty when untagged
        bool isDefault = false;
    };

    struct Subtitle
    {
        int index = 0;
        QString codec;
        QString language{};
        bool isDefault = false;
        bool isForced = false;
        bool isBitmap = false; // pictures (DVD, Blu-ray) rather than text
    };

    QStringList formatNames;
    QString majorBrand;
    std::optional<double> durationSeconds;
    std::optional<double> startSeconds;
    std::optional<qint64> bitsPerSecond;
    std::optional<Video> video;
    // The sound track converted: the one flagged default, else the first.
    std::optional<Audio> audio;
    QList<Audio> audioTracks;       // every sound track, in the file's order
    QList<Subtitle> subtitleTracks; // every subtitle track, in the file's order
};
