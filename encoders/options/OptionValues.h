#pragma once

#include <QSize>
#include <QString>

#include <optional>

// Reads the values that follow options. Every reader takes the whole text
// or nothing: "1200 k", "12a" or "" are rejected, never half read.
class OptionValues final
{
public:
    // A plain decimal such as "44100" or "12.2"; no sign, no exponent.
    static std::optional<double> decimal(const QString &text);
    static std::optional<int> wholeNumber(const QString &text);

    // FFmpeg-style rate: "128k", "12.2k", "1.5M" or a bare number. Early
    // FFmpeg builds read bare values as kbit/s and later ones as bit/s; a
    // bare value below 10000 is only sensible as kbit/s, so it is read so.
    static std::optional<qint64> ffmpegBitrate(const QString &text);

    // "320x240": both sides between 1 and MaxSide pixels.
    static std::optional<QSize> frameSize(const QString &text);
    static constexpr int MaxSide = 8192;

    // A time as both option styles write it: seconds such as "90" or
    // "1.5", or "[hh:]mm:ss[.frac]".
    static std::optional<double> seconds(const QString &text);

    // "25", "29.97" or "30000/1001"; positive.
    static std::optional<double> frameRate(const QString &text);
};
