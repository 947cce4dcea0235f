#pragma once

#include "Encoder.h"
#include "EncoderCommand.h"

#include <QString>

// Which of a job's encoder runs: the first, or the second of the formats
// converted in two stages.
enum class Stage
{
    One,
    Two
};

// One encoder run of a job: which stage, which encoder, its command, and
// the file it is to write (the intermediate file or the job's final file).
struct StageCommand
{
    Stage stage;
    Encoder encoder;
    EncoderCommand command;
    QString outputPath;
    bool writesIntermediate = false;
};
