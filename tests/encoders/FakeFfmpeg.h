#pragma once

#include <QString>

// An "ffmpeg" for ZENVORA_FFMPEG: a shell script in folder that runs
// command, in which {ffmpeg} names the real one. Empty when it cannot be
// written.
namespace FakeFfmpeg {

QString write(const QString &folder, const QString &realFfmpeg, const QString &command);

} // namespace FakeFfmpeg
