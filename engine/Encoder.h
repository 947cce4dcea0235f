#pragma once

#include <QString>

// The three external encoders in the data folder.
enum class Encoder
{
    Conv,
    Coder,
    Coder2
};

// conv.exe always runs on the first runner, the two coders on the second;
// each runner has its own progress parser.
enum class Runner
{
    Conv,
    Coders
};

// The executable's file name, also what runningEncoderName holds while it runs.
QString executableName(Encoder encoder);

Runner runnerFor(Encoder encoder);
