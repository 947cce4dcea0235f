#pragma once

#include "encoders/probe/MediaInfo.h"

#include <QString>

// Subtitles drawn into the picture: a subtitle file, already in UTF-8, or
// one of the input's own tracks.
struct BurnedSubtitles
{
    enum class Kind
    {
        File,
        Track
    };

    Kind kind = Kind::File;
    QString file;                // Kind::File
    bool styled = false;         // Kind::File: ASS/SSA, whose own styles are kept
    MediaInfo::Subtitle track{}; // Kind::Track

    bool keepsStyles() const
    {
        return kind == Kind::File ? styled : track.codec == u"ass" || track.codec == u"ssa";
    }
};
