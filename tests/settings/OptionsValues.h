#pragma once

#include "AppOptions.h"

#include <QList>

// AppOptions as the list SoundPrompt, MusicCutterOn, CutterFromSeconds,
// CutterToSeconds, so test tables stay short and failures print the values.
inline AppOptions optionsOf(const QList<int> &values)
{
    return {static_cast<qint16>(values[0]), static_cast<qint16>(values[1]), values[2], values[3]};
}

inline QList<int> valuesOf(const AppOptions &options)
{
    return {options.SoundPrompt, options.MusicCutterOn, options.CutterFromSeconds,
            options.CutterToSeconds};
}
