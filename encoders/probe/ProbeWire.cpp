#include "encoders/probe/ProbeWire.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QIODevice>
#include <QtEndian>

namespace ProbeWire {

namespace {

// Far above any real reply; a length beyond it is a broken frame.
constexpr quint32 MaxFrameBytes = 1 << 20;
constexpr qsizetype LengthBytes = sizeof(quint32);
constexpr int WriteTimeoutMilliseconds = 30000;

template <typename T, typename Write>
void writeOptional(QDataStream &out, const std::optional<T> &value, Write write)
{
    out << value.has_value();
    if (value)
        write(out, *value);
}

template <typename T, typename Read>
void readOptional(QDataStream &in, std::optional<T> &value, Read read)
{
    bool present = false;
    in >> present;
    value.reset();
    if (present)
        read(in, value.emplace());
}

void writeNumber(QDataStream &out, const auto &number)
{
    out << number;
}

void readNumber(QDataStream &in, auto &number)
{
    in >> number;
}

void writeSpan(QDataStream &out, const MediaInfo::StreamSpan &span)
{
    writeOptional(out, span.startSeconds, writeNumber<double>);
    writeOptional(out, span.endSeconds, writeNumber<double>);
}

void readSpan(QDataStream &in, MediaInfo::StreamSpan &span)
{
    readOptional(in, span.startSeconds, readNumber<double>);
    readOptional(in, span.endSeconds, readNumber<double>);
}

void writeVideo(QDataStream &out, const MediaInfo::Video &video)
{
    out << qint32(video.index) << video.codec << video.size << qint32(video.rotation)
        << qint32(video.pixelAspect.num) << qint32(video.pixelAspect.den);
    writeOptional(out, video.frameRate, writeNumber<double>);
    writeSpan(out, video.span);
    out << video.fieldOrder << video.colourTransfer << video.colourPrimaries << video.colourMatrix;
}

void readVideo(QDataStream &in, MediaInfo::Video &video)
{
    qint32 index = 0, rotation = 0, num = 1, den = 1;
    in >> index >> video.codec >> video.size >> rotation >> num >> den;
    video.index = index;
    video.rotation = rotation;
    video.pixelAspect = {num, den};
    readOptional(in, video.frameRate, readNumber<double>);
    readSpan(in, video.span);
    in >> video.fieldOrder >> video.colourTransfer >> video.colourPrimaries >> video.colourMatrix;
}

void writeAudio(QDataStream &out, const MediaInfo::Audio &audio)
{
    out << qint32(audio.index) << audio.codec << qint32(audio.sampleRate) << qint32(audio.channels);
    writeSpan(out, audio.span);
    out << audio.language << audio.isDefault;
}

void readAudio(QDataStream &in, MediaInfo::Audio &audio)
{
    qint32 index = 0, sampleRate = 0, channels = 0;
    in >> index >> audio.codec >> sampleRate >> channels;
    audio.index = index;
    audio.sampleRate = sampleRate;
    audio.channels = channels;
    readSpan(in, audio.span);
    in >> audio.language >> audio.isDefault;
}

void writeSubtitle(QDataStream &out, const MediaInfo::Subtitle &subtitle)
{
    out << qint32(subtitle.index) << subtitle.codec << subtitle.language << subtitle.isDefault
        << subtitle.isForced << subtitle.isBitmap;
}

void readSubtitle(QDataStream &in, MediaInfo::Subtitle &subtitle)
{
    qint32 index = 0;
    in >> index >> subtitle.codec >> subtitle.language >> subtitle.isDefault >> subtitle.isForced >>
        subtitle.isBitmap;
    subtitle.index = index;
}

template <typename T, typename Write>
void writeList(QDataStream &out, const QList<T> &values, Write write)
{
    out << qint32(values.size());
    for (const T &value : values)
        write(out, value);
}

// A count beyond what any file holds is a broken frame, not a reason to
// allocate.
constexpr qint32 MaxTracks = 4096;

template <typename T, typename Read> void readList(QDataStream &in, QList<T> &values, Read read)
{
    qint32 count = 0;
    in >> count;
    values.clear();
    if (count < 0 || count > MaxTracks) {
        in.setStatus(QDataStream::ReadCorruptData);
        return;
    }
    for (qint32 position = 0; position < count && in.status() == QDataStream::Ok; ++position)
        read(in, values.emplace_back());
}

void writeInfo(QDataStream &out, const MediaInfo &info)
{
    out << info.formatNames << info.majorBrand;
    writeOptional(out, info.durationSeconds, writeNumber<double>);
    writeOptional(out, info.startSeconds, writeNumber<double>);
    writeOptional(out, info.bitsPerSecond, writeNumber<qint64>);
    writeOptional(out, info.video, writeVideo);
    writeOptional(out, info.audio, writeAudio);
    writeList(out, info.audioTracks, writeAudio);
    writeList(out, info.subtitleTracks, writeSubtitle);
}

void readInfo(QDataStream &in, MediaInfo &info)
{
    in >> info.formatNames >> info.majorBrand;
    readOptional(in, info.durationSeconds, readNumber<double>);
    readOptional(in, info.startSeconds, readNumber<double>);
    readOptional(in, info.bitsPerSecond, readNumber<qint64>);
    readOptional(in, info.video, readVideo);
    readOptional(in, info.audio, readAudio);
    readList(in, info.audioTracks, readAudio);
    readList(in, info.subtitleTracks, readSubtitle);
}

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
    out << reply.error;
    writeOptional(out, reply.info, writeInfo);
    return bytes;
}

std::optional<Reply> decodeReply(const QByteArray &bytes)
{
    QDataStream in(bytes);
    Reply reply;
    in >> reply.error;
    readOptional(in, reply.info, readInfo);
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
