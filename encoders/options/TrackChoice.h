#pragma once

#include "encoders/probe/MediaInfo.h"
#include "encoders/protocol/JobChoices.h"

#include <QString>

#include <optional>

// Which of a file's tracks a conversion takes when the file holds several.
class TrackChoice final
{
public:
    struct Audio
    {
        std::optional<MediaInfo::Audio> track;
        QString note; // why the track asked for was not taken; empty when it was
    };

    // asked: the file's default track, one by its number, or one in a
    // language named in any of its usual forms ("zh", "chi", "zho"). A track
    // that is not there leaves the default.
    static Audio audio(const MediaInfo &input, const JobChoices::AudioTrack &asked);

    // The subtitle track a player would show without being asked: the first
    // flagged default or forced, of the kinds that can be drawn in.
    static std::optional<MediaInfo::Subtitle> shownSubtitle(const MediaInfo &input);

    // Whether two language tags name the same language: "zh", "chi", "zho"
    // and "zh-CN" all do.
    static bool sameLanguage(const QString &first, const QString &second);
    static bool isChinese(const QString &tag);
};
