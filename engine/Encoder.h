#pragma once

#include <QString>

// The three external encoders in the data folder.
enum class Encoder
{
    Conv,
    Coder,
    Coder2
};

// conv.exe always runs on the first runner (objDOS), the two coders on the
// second (objffmpeg); each runner has its own progress parser.
enum class Runner
{
    Dos,
    Ffmpeg
};

// The executable's file name, also what RunningEncoderName holds while it runs.
QString executableName(Encoder encoder);

Runner runnerFor(Encoder encoder);
