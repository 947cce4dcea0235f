#pragma once

#include "EncodeRequest.h"
#include "MediaInfo.h"

#include <QProcessEnvironment>
#include <QString>

#include <optional>

// The intermediate file between the two stages of a format names its source
// instead of holding a re-encoded copy of it. Stage two then reads the
// source itself, so a two-stage conversion costs one encode, loses nothing
// to a lossy copy and needs next to no room in the working folder. The part
// of the source stage one was asked for goes with it, so stage two converts
// that part, and what stage one read of the source, so stage two need not
// read it again.
class SourceReference final
{
public:
    struct Target
    {
        QString source;
        EncodeRequest::Cut cut;
        std::optional<MediaInfo> sourceFacts{}; // none: read the source
    };

    // Whether the program asked, through the environment, for the output to
    // be its working file: a command line run by hand still gets the file it
    // asks for.
    static bool isAskedFor(const QString &outputPath, const QProcessEnvironment &environment);
    static bool write(const QString &path, const Target &target, QString &error);
    // What a reference names; nothing when the file is not a reference.
    static std::optional<Target> read(const QString &path);
};
