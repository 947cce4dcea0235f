#pragma once

#include "MediaInfo.h"

#include <QProcessEnvironment>
#include <QString>

#include <optional>

// The intermediate file between the two stages of a format names its source
// instead of holding a re-encoded copy of it. Stage two then reads the
// source itself, so a two-stage conversion costs one encode, loses nothing
// to a lossy copy and needs next to no room in the working folder. The
// reference also carries what stage one read of the source, so that stage
// two need not read it again.
class SourceReference final
{
public:
    struct Content
    {
        QString sourcePath;
        std::optional<MediaInfo> sourceFacts; // none: read the source
    };

    // Set by the program for stage one to the path of its working file: only
    // an output at exactly that path is written as a reference, so a command
    // line run by hand still gets the file it asks for.
    static constexpr auto EnvironmentVariable = "ZENVORA_INTERMEDIATE";

    static bool isAskedFor(const QString &outputPath, const QProcessEnvironment &environment);
    static bool write(const QString &path, const QString &sourcePath, const MediaInfo &sourceFacts,
                      QString &error);
    // What a reference holds; nothing when the file is not a reference.
    static std::optional<Content> read(const QString &path);
};
