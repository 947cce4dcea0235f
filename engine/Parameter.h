#pragma once

#include <QFlags>

// The encoding parameters a command line can take from the settings.
enum class Parameter
{
    Size = 0x01,
    VideoBitrate = 0x02,
    FrameRate = 0x04,
    AudioRate = 0x08,
    AudioBitrate = 0x10,
    Channels = 0x20,
};
Q_DECLARE_FLAGS(Parameters, Parameter)
Q_DECLARE_OPERATORS_FOR_FLAGS(Parameters)
