#pragma once

#include <QtGlobal>

// The options that outlive a run, kept in options.ini. The window owns the
// one record of the process and hands them to every batch at Start: the
// completion sound, the cutter's times for every job, and how many files
// are converted at once.
struct AppOptions
{
    qint16 SoundPrompt = 0; // position in cmbSR: 0 "ON" plays the completion sound
    qint16 MusicCutterOn = 0;
    qint32 CutterFromSeconds = 0;
    qint32 CutterToSeconds = 0;
    qint16 ConcurrentJobs = 1; // "同时转换", from 1 up to the number of processors

    friend bool operator==(const AppOptions &, const AppOptions &) = default;
};
