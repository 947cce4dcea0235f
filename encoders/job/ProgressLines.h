#pragma once

#include "encoders/job/ProgressReader.h"
#include "encoders/probe/MediaInfo.h"

#include <QString>

#include <optional>

// The progress lines the program reads from its encoders, written the way
// MEncoder (conv.exe) and FFmpeg (coder.exe, coder2.exe) wrote them.
class ProgressLines final
{
public:
    // "Pos:  10.0s    250f ( 7%)  25.00fps". While running the percentage
    // stays within 0..99 so that "(100%)" only ever means the file is done.
    static QString convLine(const ProgressReader::Snapshot &snapshot,
                            std::optional<double> durationSeconds);
    static QString convFinishedLine(const ProgressReader::Snapshot &snapshot);

    // "Duration: 00:02:05.50, start: 0.000000, bitrate: 512 kb/s", for the
    // part of the input that is converted.
    static QString coderDurationLine(const MediaInfo &input, std::optional<double> durationSeconds);
    // "frame=  300 fps= 25 q=2.0 size=    1024kB time=12.00 bitrate= 699.1kbits/s",
    // the time in plain seconds.
    static QString coderLine(const ProgressReader::Snapshot &snapshot);
    // The last line of a finished conversion: its time is never short of the
    // duration announced, even when a stream ended a little early.
    static QString coderFinishedLine(ProgressReader::Snapshot snapshot,
                                     std::optional<double> durationSeconds);
};
