#pragma once

#include <QString>

#include <optional>

// What selecting a format writes into the parameter combos; an empty field
// leaves that combo as it is.
struct FormatDefaults
{
    std::optional<QString> videoBitrate;
    std::optional<QString> frameRate;
    std::optional<QString> size;
    std::optional<QString> audioRate;
    std::optional<QString> audioBitrate;
    std::optional<int> channelIndex;
};
