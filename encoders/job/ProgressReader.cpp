#include "encoders/job/ProgressReader.h"

#include <algorithm>

namespace {

// ffmpeg writes "N/A" before it knows a value, and a negative time while
// the first frames are still being filtered.
std::optional<double> readNumber(const QByteArray &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

} // namespace

QList<ProgressReader::Snapshot> ProgressReader::feed(const QByteArray &output)
{
    m_tail += output;
    QList<Snapshot> completed;
    qsizetype lineEnd = 0;
    while ((lineEnd = m_tail.indexOf('\n')) >= 0) {
        readLine(m_tail.left(lineEnd).trimmed(), completed);
        m_tail.remove(0, lineEnd + 1);
    }
    return completed;
}

void ProgressReader::readLine(const QByteArray &line, QList<Snapshot> &completed)
{
    const qsizetype equals = line.indexOf('=');
    if (equals < 0)
        return;
    const QByteArray key = line.left(equals);
    const QByteArray value = line.mid(equals + 1);
    if (key == "progress") {
        m_current.end = value == "end";
        completed.append(m_current);
        return;
    }
    const std::optional<double> number =
        readNumber(value.endsWith("kbits/s") ? value.chopped(7) : value);
    if (key == "bitrate") {
        m_current.kilobitsPerSecond = number;
        return;
    }
    if (!number)
        return;
    if (key == "frame")
        m_current.frame = static_cast<qint64>(*number);
    else if (key == "fps")
        m_current.fps = *number;
    else if (key == "total_size")
        m_current.totalBytes = static_cast<qint64>(*number);
    else if (key == "out_time_us")
        m_current.outSeconds = std::max(0.0, *number / 1e6);
    else if (key.startsWith("stream_") && key.endsWith("_q"))
        m_current.quality = *number;
}
