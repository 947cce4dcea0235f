#pragma once

#include <QtGlobal>

// The options that outlive a run, kept in options.ini. The window owns the
// one record of the process; the batch driver reads SoundPrompt, while the
// cutter values are only shown, edited and stored.
struct AppOptions
{
    qint16 SoundPrompt = 0; // position in cmbSR: 0 "ON" plays the completion sound
    qint16 MusicCutterOn = 0;
    qint32 CutterFromSeconds = 0;
    qint32 CutterToSeconds = 0;

    friend bool operator==(const AppOptions &, const AppOptions &) = default;
};
