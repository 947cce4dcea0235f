#pragma once

#include "engine/CommandFragments.h"
#include "engine/Encoder.h"
#include "engine/FormatDefaults.h"
#include "engine/OutputFormat.h"

#include <QString>

#include <optional>

// One output format, everything about it in one place: its combo entry,
// the name zenvora-cli knows it by, its stages and their command fragments,
// the final file's extension and the defaults selecting it writes. A format
// with a second stage writes the intermediate file in stage one; otherwise
// stage one writes the final file.
struct FormatSpec
{
    OutputFormat format;
    QString entryText;
    QString cliName;
    Encoder stageOne;
    Fragments stageOneFragments;
    std::optional<StageTwoFragments> stageTwo{};
    QString extension{}; // of the final file, with its dot
    FormatDefaults defaults{};

    bool hasStageTwo() const { return stageTwo.has_value(); }
};
