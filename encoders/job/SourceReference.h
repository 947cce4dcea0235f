#pragma once

#include "encoders/options/EncodeRequest.h"
#include "encoders/probe/MediaInfo.h"

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
    // What tells one file from another that took its name or its place: a
    // source whose stamp differs from the one stored is read again.
    struct Stamp
    {
        qint64 size = 0;
        qint64 modifiedNanoseconds = 0;
        quint64 inode = 0;

        friend bool operator==(const Stamp &, const Stamp &) = default;
    };

    struct Target
    {
        QString source;
        EncodeRequest::Cut cut;
        std::optional<MediaInfo> sourceFacts{}; // none: read the source
        std::optional<Stamp> sourceStamp{};
    };

    // Whether the program named this path, through the environment, as its
    // working file: a command line run by hand gets the file it asks for,
    // and reads the file it is given as that file.
    static bool isAskedFor(const QString &path, const QProcessEnvironment &environment);
    // Whether a reference at this path may be followed: it lies in a folder
    // only its owner can enter, where no one else can have put it.
    static bool isInPrivateFolder(const QString &path);
    static bool write(const QString &path, const Target &target, QString &error);
    // What a reference names; nothing when the file is not a reference.
    static std::optional<Target> read(const QString &path);
};
