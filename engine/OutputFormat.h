#pragma once

// The entries of the format combo, in their order there.
enum class OutputFormat
{
    Rmvb,
    Rm,
    Mpg,
    Avi,
    Mp4HighQuality,
    Mov,
    Mp4Mobile,
    ThreeGpMobile,
    Mp3Audio,
};
