#pragma once

#include "encoders/plan/FrameRate.h"

#include <QList>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

// A video codec the encoders can write, with the frame sizes and rates its
// ffmpeg encoder accepts. Requests outside them are moved to the nearest
// accepted value instead of failing the conversion.
class VideoCodec final
{
public:
    // By the codec name a probe reports or by the ffmpeg encoder's name.
    static const VideoCodec *find(const QString &name);

    QString name() const { return m_traits.name; }
    QString encoder() const
    {
        return m_traits.encoder.isEmpty() ? m_traits.name : m_traits.encoder;
    }

    // Each side to the nearest multiple the codec needs, a tie to the smaller
    // one so the picture is not enlarged; never below one multiple. A picture
    // with more macroblocks than the encoder can code is shrunk to fit,
    // keeping its shape.
    QSize sizeFor(QSize wanted) const;
    // A legal size near the wanted one whose shape differs from it by no
    // more than ShapeTolerance where any such size exists: rounding both
    // sides on their own can stretch a picture by several percent.
    QSize sizeKeepingShape(QSizeF wanted) const;
    FrameRate frameRateFor(double wanted) const;
    // Whether the codec takes only some rates, so that a source's own rate
    // has to be moved to one of them.
    bool restrictsFrameRate() const
    {
        return m_traits.wholeRatesOnly || !m_traits.frameRates.isEmpty();
    }
    // Options that make the encoder mark its pictures as never reordered.
    // ffmpeg's MPEG-2 encoder writes no B-frames but leaves the mark out, so
    // decoders hold each picture back one frame, which in a container
    // without timestamps (AVI) shows it one frame late.
    QStringList lowDelayOptions() const;
    // The pixel format every player decodes, empty when the encoder takes
    // no other.
    QString pixelFormat() const { return m_traits.pixelFormat; }
    // The codec tag the container is to record, empty for its own choice.
    QString tag() const { return m_traits.tag; }
    // The encoder's speed and log settings, whatever the rate control.
    QStringList encoderOptions() const { return m_traits.encoderOptions; }
    // The rate control when no bitrate is asked for, empty for a codec
    // without a quality target of its own.
    QStringList qualityOptions() const { return m_traits.qualityOptions; }
    // The smallest picture side the encoder codes safely, 0 for any. A
    // smaller picture is coded padded to it, and the bitstream filter (its
    // "crop_right" and "crop_bottom" options) tells decoders to show only
    // the picture.
    int minimumSide() const { return m_traits.minimumSide; }
    QString croppingFilter() const { return m_traits.croppingFilter; }

    // Rates a codec without a fixed list is still held to.
    static constexpr double MinFrameRate = 1.0;
    static constexpr double MaxFrameRate = 120.0;
    static constexpr double ShapeTolerance = 0.01;

    struct Traits
    {
        QString name{};
        QString encoder{}; // empty: the codec's own name
        int sizeMultiple = 2;
        int maxMacroblocks = 0;        // 0: no limit
        QList<FrameRate> frameRates{}; // empty: any rate in the general range
        bool wholeRatesOnly = false;
        QString pixelFormat{};
        QString tag{};
        QStringList encoderOptions{};
        QStringList qualityOptions{};
        int minimumSide = 0;
        QString croppingFilter{};
    };
    explicit VideoCodec(Traits traits) : m_traits(std::move(traits)) {}

private:
    Traits m_traits;
};
