#pragma once

#include "MediaInfo.h"

#include <QString>

#include <optional>

// Reads a file's facts with libavformat inside the encoder's own process:
// the headers and as much of the streams as their parameters need, the
// same facts ffprobe would print, without starting one.
class MediaProbe final
{
public:
    // Nothing when the file cannot be opened or read as media.
    static std::optional<MediaInfo> read(const QString &path);
};
