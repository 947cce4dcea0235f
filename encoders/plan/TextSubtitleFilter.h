#pragma once

#include "encoders/options/EncodeRequest.h"
#include "encoders/probe/MediaInfo.h"
#include "encoders/subtitles/BurnedSubtitles.h"

#include <QString>

// Text subtitles drawn into the picture with libass: a subtitle file, or a
// text track read from the input itself.
class TextSubtitleFilter final
{
public:
    // The filter for a picture pictureHeight high, timed for the request's
    // cut of the input.
    static QString build(const BurnedSubtitles &subtitles, const MediaInfo &input,
                         const EncodeRequest &request, int pictureHeight);
};
