#pragma once

#include "engine/Encoder.h"
#include "engine/PathStyle.h"

#include <QFileInfo>
#include <QString>
#include <QTime>

#include <functional>

// Everything outside the settings that a command line depends on. The
// defaults read the real clock and file system; tests pass fixed ones.
struct CommandEnvironment
{
    QString programFolder; // without a trailing separator
    PathStyle pathStyle = PathStyle::native();
    QString intermediatePath; // stage one of a two-stage format writes here
    QString probeServer;      // where the encoders ask for files' facts; empty: nowhere
    std::function<QTime()> clock = &QTime::currentTime;
    std::function<bool(const QString &)> pathExists =
        qOverload<const QString &>(&QFileInfo::exists);

    // The encoder in the data folder beside the program.
    QString programPath(Encoder encoder) const;
    // The completion chime beside the program.
    QString soundFile() const;
};
