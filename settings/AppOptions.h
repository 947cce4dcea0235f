#pragma once

#include "encoders/protocol/JobChoices.h"

#include <QtGlobal>

// The options that outlive a run, kept in options.ini. The window owns the
// one record of the process and hands them to every batch at Start: the
// completion sound, the cutter's times for every job, how many files are
// converted at once, whether subtitles are burned in, and whether the end of
// a batch is told by a desktop notification.
struct AppOptions
{
    qint16 SoundPrompt = 0; // position in cmbSR: 0 "ON" plays the completion sound
    qint16 MusicCutterOn = 0;
    qint32 CutterFromSeconds = 0;
    qint32 CutterToSeconds = 0;
    qint16 concurrentJobs = 1; // "同时转换", from 1 up to the number of processors
    // Position in cmbSubtitles: 0 "自动" burns the subtitles found for each
    // source, 1 "关闭" burns none.
    qint16 subtitles = SubtitlesAuto;
    // Position in cmbNotify: 0 "开启" tells the desktop when a batch ends
    // while the window is not active, 1 "关闭" does not.
    qint16 notify = NotifyOn;

    bool chimeOn() const { return SoundPrompt == SoundOn; }
    // What these options choose for every job of a batch.
    JobChoices jobChoices() const;

    static constexpr qint16 SoundOn = 0;
    static constexpr qint16 SubtitlesAuto = 0;
    static constexpr qint16 SubtitlesOff = 1;
    static constexpr qint16 NotifyOn = 0;
    static constexpr qint16 NotifyOff = 1;
    // How many entries the 字幕 and 完成通知 combos offer. A position outside
    // them, as an edited or a newer file may hold, is the first entry.
    static constexpr qint16 SubtitlesChoices = 2;
    static constexpr qint16 NotifyChoices = 2;
    static qint16 choiceAt(int position, int choices)
    {
        return position > 0 && position < choices ? static_cast<qint16>(position) : 0;
    }

    friend bool operator==(const AppOptions &, const AppOptions &) = default;
};
