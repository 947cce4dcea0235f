#pragma once

#include "Encoder.h"
#include "FormatDefaults.h"
#include "OutputFormat.h"

#include <QString>

#include <optional>

// One output format: its combo entry, its stages and its defaults. A format
// with a second stage writes the intermediate file in stage one; otherwise
// stage one writes the final file.
struct FormatSpec
{
    OutputFormat format;
    QString entryText;
    Encoder stageOne;
    std::optional<Encoder> stageTwo;
    QString extension; // of the final file, with its dot
    FormatDefaults defaults;

    bool hasStageTwo() const { return stageTwo.has_value(); }
};
