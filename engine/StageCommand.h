#pragma once

#include "encoders/protocol/JobChoices.h"
#include "engine/Encoder.h"
#include "engine/EncoderCommand.h"

#include <QProcessEnvironment>
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
    // The program's working file between the two stages of a format that
    // has two: what stage one writes and stage two reads; empty otherwise.
    QString workingFile;
    // The job's choices, as in ConversionSettings.
    JobChoices choices{};

    // The program's own environment and, for both stages of a two-stage
    // format, the working file's path: stage one may then make it without
    // encoding, as only stage two reads it, and stage two follows it to the
    // source only when it is that file. probeServer: the batch's
    // probe server, when it has one. The subtitles and the sound track are
    // passed to both stages, whichever of them reads the source; a value
    // the program inherited never stands in for the job's own.
    QProcessEnvironment environment(const QString &probeServer) const;
};
