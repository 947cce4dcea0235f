#include "encoders/probe/ProbeWire.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QIODevice>
#include <QtEndian>

// The facts are streamed field by field, an optional one as a flag before
// its value. The operators are local to this file but in the namespace of
// MediaInfo, the global one, where the templates that stream its optional
// fields and its lists find them.
template <typename T>
static QDataStream &operator<<(QDataStream &out, const std::optional<T> &value)
{
    out << value.has_value();
    return value ? out << *value : out;
}

template <typename T> static QDataStream &operator>>(QDataStream &in, std::optional<T> &value)
{
    bool present = false;
    in >> present;
    value.reset();
    return present ? in >> value.emplace() : in;
}

template <typename T> static void writeList(QDataStream &out, const QList<T> &values)
{
    out << qint32(values.size());
    for (const T &value : values)
        out << value;
}

// A count beyond what any file holds is a broken frame, not a reason to
// allocate.
constexpr qint32 MaxTracks = 4096;

template <typename T> static void readList(QDataStream &in, QList<T> &values)
{
    qint32 count = 0;
    in >> count;
    values.clear();
    if (count < 0 || count > MaxTracks) {
        in.setStatus(QDataStream::ReadCorruptData);
        return;
    }
    for (qint32 position = 0; position < count && in.status() == QDataStream::Ok; ++position)
        in >> values.emplace_back();
}

static QDataStream &operator<<(QDataStream &out, const MediaInfo::StreamSpan &span)
{
    return out << span.startSeconds << span.endSeconds;
}

static QDataStream &operator>>(QDataStream &in, MediaInfo::StreamSpan &span)
{
    return in >> span.startSeconds >> span.endSeconds;
}

static QDataStream &operator<<(QDataStream &out, const MediaInfo::Video &video)
{
    return out << video.index << video.codec << video.size << video.rotation
               << video.pixelAspect.num << video.pixelAspect.den << video.frameRate << video.span
               << video.fieldOrder << video.colourTransfer << video.colourPrimaries
               << video.colourMatrix;
}

static QDataStream &operator>>(QDataStream &in, MediaInfo::Video &video)
{
    return in >> video.index >> video.codec >> video.size >> video.rotation >>
           video.pixelAspect.num >> video.pixelAspect.den >> video.frameRate >> video.span >>
           video.fieldOrder >> video.colourTransfer >> video.colourPrimaries >> video.colourMatrix;
}

static QDataStream &operator<<(QDataStream &out, const MediaInfo::Audio &audio)
{
    return out << audio.index << audio.codec << audio.sampleRate << audio.channels << audio.span
               << audio.language << audio.isDefault;
}

static QDataStream &operator>>(QDataStream &in, MediaInfo::Audio &audio)
{
    return in >> audio.index >> audio.codec >> audio.sampleRate >> audio.channels >> audio.span >>
           audio.language >> audio.isDefault;
}

static QDataStream &operator<<(QDataStream &out, const MediaInfo::Subtitle &subtitle)
{
    return out << subtitle.index << subtitle.codec << subtitle.language << subtitle.isDefault
               << subtitle.isForced << subtitle.isBitmap;
}

static QDataStream &operator>>(QDataStream &in, MediaInfo::Subtitle &subtitle)
{
    return in >> subtitle.index >> subtitle.codec >> subtitle.language >> subtitle.isDefault >>
           subtitle.isForced >> subtitle.isBitmap;
}

static QDataStream &operator<<(QDataStream &out, const MediaInfo &info)
{
    out << info.formatNames << info.majorBrand << info.durationSeconds << info.startSeconds
        << info.bitsPerSecond << info.video << info.audio;
    writeList(out, info.audioTracks);
    writeList(out, info.subtitleTracks);
    return out;
}

static QDataStream &operator>>(QDataStream &in, MediaInfo &info)
{
    in >> info.formatNames >> info.majorBrand >> info.durationSeconds >> info.startSeconds >>
        info.bitsPerSecond >> info.video >> info.audio;
    readList(in, info.audioTracks);
    readList(in, info.subtitleTracks);
    return in;
}

namespace ProbeWire {

namespace {

// Far above any real reply; a length beyond it is a broken frame.
constexpr quint32 MaxFrameBytes = 1 << 20;
constexpr qsizetype LengthBytes = sizeof(quint32);
constexpr int WriteTimeoutMilliseconds = 30000;

bool readFully(QDataStream &in)
{
    return in.status() == QDataStream::Ok && in.atEnd();
}

bool waitForBytes(QIODevice &device, qsizetype count, const QDeadlineTimer &deadline)
{
    while (device.bytesAvailable() < count) {
        if (deadline.hasExpired() || !device.waitForReadyRead(deadline.remainingTime()))
            return false;
    }
    return true;
}

} // namespace

QByteArray encodeRequest(const QString &path)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << path;
    return bytes;
}

std::optional<QString> decodeRequest(const QByteArray &bytes)
{
    QDataStream in(bytes);
    QString path;
    in >> path;
    if (!readFully(in) || path.isEmpty())
        return std::nullopt;
    return path;
}

QByteArray encodeReply(const Reply &reply)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << reply.error << reply.info;
    return bytes;
}

std::optional<Reply> decodeReply(const QByteArray &bytes)
{
    QDataStream in(bytes);
    Reply reply;
    in >> reply.error >> reply.info;
    if (!readFully(in))
        return std::nullopt;
    return reply;
}

bool writeFrame(QIODevice &device, const QByteArray &payload)
{
    char length[LengthBytes];
    qToBigEndian(quint32(payload.size()), length);
    if (device.write(length, LengthBytes) != LengthBytes || device.write(payload) != payload.size())
        return false;
    // Sockets written from a thread without an event loop send only here.
    while (device.bytesToWrite() > 0) {
        if (!device.waitForBytesWritten(WriteTimeoutMilliseconds))
            return false;
    }
    return true;
}

std::optional<QByteArray> readFrame(QIODevice &device, int timeoutMilliseconds)
{
    const QDeadlineTimer deadline(timeoutMilliseconds);
    if (!waitForBytes(device, LengthBytes, deadline))
        return std::nullopt;
    const quint32 length = qFromBigEndian<quint32>(device.read(LengthBytes).constData());
    if (length > MaxFrameBytes || !waitForBytes(device, length, deadline))
        return std::nullopt;
    return device.read(length);
}

} // namespace ProbeWire
