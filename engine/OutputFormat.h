#pragma once

// The entries of the format combo, in their order there. Settings files keep
// a format by its position, so new formats only ever join at the end.
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
    H264Mp4,
    HevcMp4,
    Vp9Webm,
};
