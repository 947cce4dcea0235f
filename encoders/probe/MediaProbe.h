#pragma once

#include "encoders/probe/MediaInfo.h"

#include <QString>

#include <optional>

// Reads a file's facts with libavformat inside the encoder's own process:
// the headers and as much of the streams as their parameters need, the
// same facts ffprobe would print, without starting a process for them.
class MediaProbe final
{
public:
    // Nothing when the file cannot be opened or read as media; error then
    // says why, in libavformat's words. A sound track without a single
    // packet counts as none.
    static std::optional<MediaInfo> read(const QString &path, QString *error = nullptr);

    // The same for a request as the probe client sends it: the reply frame's
    // bytes, or an empty array when the request is malformed.
    static QByteArray answer(const QByteArray &request);
};
