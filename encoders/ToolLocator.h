#pragma once

#include <QProcessEnvironment>
#include <QString>

// Finds the ffmpeg and ffprobe the encoders run: ZENVORA_FFMPEG names
// ffmpeg when set, otherwise PATH is searched; ffprobe is looked for beside
// that ffmpeg first, then on PATH.
class ToolLocator final
{
public:
    struct Tools
    {
        QString ffmpeg;
        QString ffprobe;
        QString error;
    };

    static Tools locate(const QProcessEnvironment &environment);
};
