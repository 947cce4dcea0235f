#pragma once

#include "FrameRate.h"

#include <QList>
#include <QSize>
#include <QString>

// A video codec the encoders can write, with the frame sizes and rates its
// ffmpeg encoder accepts. Requests outside them are moved to the nearest
// accepted value instead of failing the conversion.
class VideoCodec final
{
public:
    static const VideoCodec *find(const QString &name);
    static QStringList allEncoders();

    QString name() const { return m_name; }
    // ffmpeg's encoders for these codecs carry the codecs' own names.
    QString encoder() const { return m_name; }

    // Each side to the nearest multiple the codec needs, a tie to the smaller
    // one so the picture is not enlarged; never below one multiple. A picture
    // with more macroblocks than the encoder can code is shrunk to fit,
    // keeping its shape.
    QSize sizeFor(QSize wanted) const;
    FrameRate frameRateFor(double wanted) const;

    // Rates a codec without a fixed list is still held to.
    static constexpr double MinFrameRate = 1.0;
    static constexpr double MaxFrameRate = 120.0;

    VideoCodec(QString name, int sizeMultiple, int maxMacroblocks, QList<FrameRate> frameRates);

private:
    QString m_name;
    int m_sizeMultiple;
    int m_maxMacroblocks;          // 0: no limit
    QList<FrameRate> m_frameRates; // empty: any rate in the general range
};
