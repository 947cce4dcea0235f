#pragma once

#include "ToolLocator.h"

#include <QString>

// "--self-check": can ffmpeg be run, and does it have
// every encoder the conversions need? Prints one line; 0 when ready.
namespace SelfCheck {

int run(const QString &encoderName, const ToolLocator::Tools &tools);

} // namespace SelfCheck
