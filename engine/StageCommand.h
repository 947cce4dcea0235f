#pragma once

#include "Encoder.h"
#include "EncoderCommand.h"

#include <QString>

// One encoder run of a job: which encoder, its command, and the file it is
// to write (the intermediate file or the job's final file).
struct StageCommand
{
    Encoder encoder;
    EncoderCommand command;
    QString outputPath;
};
