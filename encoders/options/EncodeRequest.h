#pragma once

#include "encoders/protocol/JobChoices.h"

#include <QSize>
#include <QString>

#include <algorithm>
#include <optional>

// What one encoder command line asks for, whatever option style it was
// written in. Values are as the user gave them; what the codecs and the
// container can really take is decided later, once the input is known.
struct EncodeRequest
{
    struct Video
    {
        bool enabled = true;
        QString codec; // empty: the container's usual codec
        std::optional<qint64> bitsPerSecond;
        std::optional<double> frameRate;
        std::optional<QSize> size;
    };

    struct Audio
    {
        QString codec; // empty: the container's usual codec
        std::optional<qint64> bitsPerSecond;
        std::optional<int> vbrQuality;
        std::optional<int> sampleRate;
        std::optional<int> channels; // 0 or none: as many as the source has
    };

    // The part of the input converted: from start, for length seconds when
    // a length is given.
    struct Cut
    {
        double startSeconds = 0;
        std::optional<double> lengthSeconds;

        bool cuts() const { return startSeconds > 0 || lengthSeconds.has_value(); }
        // This cut taken from what the outer one leaves of the input.
        Cut within(const Cut &outer) const
        {
            Cut nested{outer.startSeconds + startSeconds, lengthSeconds};
            if (outer.lengthSeconds) {
                const double left = std::max(*outer.lengthSeconds - startSeconds, 0.0);
                nested.lengthSeconds = std::min(left, lengthSeconds.value_or(left));
            }
            return nested;
        }
    };

    QString input;
    QString output;
    QString container; // the format name the command asked for, if any
    bool overwrite = false;
    Video video;
    Audio audio;
    Cut cut;
    // What the program chose for the job beyond its command line, read from
    // the environment: the subtitles and the sound track. The cut is the
    // command line's, above.
    JobChoices choices;
};

// A parsed command line, or the reason it could not be understood.
struct ParsedRequest
{
    EncodeRequest request;
    QString error;

    bool ok() const { return error.isEmpty(); }
    static ParsedRequest failure(const QString &reason) { return {{}, reason}; }
};
