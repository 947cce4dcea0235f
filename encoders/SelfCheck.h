#pragma once

#include "ToolLocator.h"

#include <QString>

// "--self-check": can ffmpeg and ffprobe be run, and does this ffmpeg have
// every encoder the conversions need? Prints one line; 0 when ready.
namespace SelfCheck {

int run(const QString &encoderName, const ToolLocator::Tools &tools);

} // namespace SelfCheck
