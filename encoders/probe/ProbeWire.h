#pragma once

#include "encoders/probe/MediaInfo.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QIODevice;

// How an encoder asks the probe server for a file's facts and how the
// answer comes back: each message is a frame, a 32-bit length and that many
// bytes. Both ends are built from this tree, so the layout carries no
// version of its own; a frame that does not decode is refused.
namespace ProbeWire {

struct Reply
{
    std::optional<MediaInfo> info;
    QString error; // why there are no facts
};

QByteArray encodeRequest(const QString &path);
std::optional<QString> decodeRequest(const QByteArray &bytes);
QByteArray encodeReply(const Reply &reply);
std::optional<Reply> decodeReply(const QByteArray &bytes);

bool writeFrame(QIODevice &device, const QByteArray &payload);
// Nothing when the device closes, the frame is malformed or the time runs
// out (-1: no limit).
std::optional<QByteArray> readFrame(QIODevice &device, int timeoutMilliseconds);

} // namespace ProbeWire
