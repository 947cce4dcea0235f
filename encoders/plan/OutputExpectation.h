#pragma once

#include "encoders/probe/MediaInfo.h"

#include <optional>

// What a finished output file must show when probed before it may take
// the target's name: ffmpeg can exit 0 after a failure while filtering, and
// a truncated or wrongly muxed file must never pass as a conversion.
struct OutputExpectation final
{
    QString probeName;
    QString brand;
    std::optional<MediaInfo::Video> video;
    std::optional<MediaInfo::Audio> audio;
    std::optional<double> durationSeconds;

    // The first thing that differs, empty when the file is as expected.
    QString mismatch(const MediaInfo &output) const;

    // Durations differ a little with frame and packet granularity.
    static double durationTolerance(double seconds);
};
