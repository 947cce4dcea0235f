#include "encoders/job/ProgressLines.h"

#include "encoders/protocol/EncoderProtocol.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString convLineWithPercent(const ProgressReader::Snapshot &snapshot, int percent)
{
    return QString::asprintf("Pos:%6.1fs %6lldf ", snapshot.outSeconds,
                             static_cast<long long>(snapshot.frame)) +
           EncoderProtocol::percentGroup(percent) + QString::asprintf(" %6.2ffps", snapshot.fps);
}

QString clockText(double seconds)
{
    const long long centiseconds = std::llround(seconds * 100.0);
    return QString::asprintf("%02lld:%02lld:%02lld.%02lld", centiseconds / 360000,
                             centiseconds / 6000 % 60, centiseconds / 100 % 60, centiseconds % 100);
}

} // namespace

QString ProgressLines::convLine(const ProgressReader::Snapshot &snapshot,
                                std::optional<double> durationSeconds)
{
    int percent = 0;
    if (durationSeconds && *durationSeconds > 0)
        percent =
            static_cast<int>(std::clamp(snapshot.outSeconds / *durationSeconds * 100.0, 0.0, 99.0));
    return convLineWithPercent(snapshot, percent);
}

QString ProgressLines::convFinishedLine(const ProgressReader::Snapshot &snapshot)
{
    return convLineWithPercent(snapshot, 100);
}

QString ProgressLines::coderDurationLine(const MediaInfo &input,
                                         std::optional<double> durationSeconds)
{
    const QString duration = durationSeconds ? clockText(*durationSeconds) : u"N/A"_s;
    const QString bitrate =
        input.bitsPerSecond ? QString::number(*input.bitsPerSecond / 1000) + u" kb/s"_s : u"N/A"_s;
    return EncoderProtocol::DurationKey +
           u"%1, start: %2, bitrate: %3"_s.arg(
               duration, QString::number(input.startSeconds.value_or(0.0), 'f', 6), bitrate);
}

QString ProgressLines::coderLine(const ProgressReader::Snapshot &snapshot)
{
    const QString bitrate = snapshot.kilobitsPerSecond
                                ? QString::asprintf("%6.1fkbits/s", *snapshot.kilobitsPerSecond)
                                : u"N/A"_s;
    return QString::asprintf("frame=%5lld fps=%3.0f q=%.1f size=%8.0fkB ",
                             static_cast<long long>(snapshot.frame), snapshot.fps, snapshot.quality,
                             static_cast<double>(snapshot.totalBytes) / 1024.0) +
           EncoderProtocol::TimeKey + QString::asprintf("%.2f bitrate=", snapshot.outSeconds) +
           bitrate;
}

QString ProgressLines::coderFinishedLine(ProgressReader::Snapshot snapshot,
                                         std::optional<double> durationSeconds)
{
    // Rounded up to the hundredth, so the time printed is at least the
    // duration printed.
    if (durationSeconds)
        snapshot.outSeconds =
            std::max(snapshot.outSeconds, std::ceil(*durationSeconds * 100.0) / 100.0);
    return coderLine(snapshot);
}
