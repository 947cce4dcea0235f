#pragma once

#include "settings/AppOptions.h"

#include <QList>

// AppOptions as the list SoundPrompt, MusicCutterOn, CutterFromSeconds,
// CutterToSeconds, concurrentJobs, subtitles, so test tables stay short and
// failures print the values. A shorter list leaves the fields it does not
// reach at their defaults.
inline AppOptions optionsOf(const QList<int> &values)
{
    return {static_cast<qint16>(values[0]),
            static_cast<qint16>(values[1]),
            values[2],
            values[3],
            static_cast<qint16>(values.value(4, 1)),
            static_cast<qint16>(values.value(5, AppOptions::SubtitlesAuto)),
            static_cast<qint16>(values.value(6, AppOptions::NotifyOn))};
}

inline QList<int> valuesOf(const AppOptions &options)
{
    return {options.SoundPrompt,     options.MusicCutterOn,  options.CutterFromSeconds,
            options.CutterToSeconds, options.concurrentJobs, options.subtitles,
            options.notify};
}
