#pragma once

// How an encoder talks: conv.exe prints MEncoder's progress lines, coder.exe
// and coder2.exe FFmpeg's. The encoders write in their style, and the
// program reads each with the progress parser of that style.
enum class EncoderStyle
{
    Conv,
    Coder
};
