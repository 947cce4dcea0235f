#pragma once

#include "engine/CommandEnvironment.h"

#include <QString>

// The final file of a job: the output folder, the input's name without its
// extension, "-" and the time of day as hour, minute and second without
// padding (09:05:07 gives "957"), then the extension. When that file exists
// already, "-2", "-3", ... go before the extension, so no output is ever
// written over an existing file.
QString BuildOutputPath(const CommandEnvironment &environment, const QString &outputFolder,
                        const QString &inputPath, const QString &extension);
