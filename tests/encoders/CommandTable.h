#pragma once

#include "engine/OutputFormat.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

// The encoder command lines the program builds, as argument lists, made by
// the program's own command builder so that the encoders are tested with
// exactly what the program passes them; only the final file's name is the
// test's own.
namespace CommandTable {

using Format = OutputFormat;

// Combo texts exactly as shown; channels is the channel index plus one.
struct Settings
{
    QString size;
    QString videoBitrate;
    QString frameRate;
    QString audioRate;
    QString audioBitrate;
    int channels = 2;
};

extern const QString SourceSize; // "原始大小"

struct Command
{
    QString encoder; // "conv.exe", "coder.exe" or "coder2.exe"
    QStringList arguments;
    QProcessEnvironment environment; // the one the program starts the stage in
};

// The defaults a format selection writes into the combos.
Settings defaults(Format format);
QString extension(Format format);
bool hasStageTwo(Format format);

// Stage one writes the final file for MPG, AVI, high-quality MP4 and MP3,
// the intermediate file for the others.
Command stageOne(Format format, const QString &input, const QString &output,
                 const Settings &settings);
Command stageTwo(Format format, const QString &intermediate, const QString &output,
                 const Settings &settings);

} // namespace CommandTable
