#pragma once

#include <QProcessEnvironment>
#include <QString>

// Finds the ffmpeg the encoders run: ZENVORA_FFMPEG names it when set,
// otherwise PATH is searched.
class ToolLocator final
{
public:
    struct Tools
    {
        QString ffmpeg;
        QString error;
    };

    static Tools locate(const QProcessEnvironment &environment);
};
