#pragma once

#include "encoders/protocol/EncoderStyle.h"

#include <QString>

// The three external encoders in the data folder.
enum class Encoder
{
    Conv,
    Coder,
    Coder2
};

// The executable's file name, also what runningEncoderName holds while it runs.
QString executableName(Encoder encoder);

// conv.exe talks in the conv style, the two coders in the coder style.
EncoderStyle styleOf(Encoder encoder);
