#include "BenchSupport.h"

#include "FfmpegPlan.h"
#include "MediaInfo.h"

#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <optional>

using namespace Qt::StringLiterals;

namespace BenchSupport {
namespace {

std::optional<MediaInfo> probe(const QString &ffprobe, const QString &path)
{
    QProcess process;
    process.start(ffprobe, {u"-v"_s, u"error"_s, u"-print_format"_s, u"json"_s, u"-show_format"_s,
                            u"-show_streams"_s, u"file:"_s + path});
    process.waitForFinished(-1);
    return MediaInfo::fromProbeJson(process.readAllStandardOutput());
}

} // namespace

double timedRun(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments, QIODevice::ReadOnly);
    QByteArray output;
    while (process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(1000);
        output += process.readAll();
    }
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed:\n%s\n", qPrintable(program),
                     (output + process.readAll()).constData());
        return -1.0;
    }
    return seconds;
}

QStringList ffmpegArguments(const ToolLocator::Tools &tools, const ParsedRequest &parsed,
                            const QString &input, const QString &output)
{
    const std::optional<MediaInfo> info = probe(tools.ffprobe, input);
    if (!parsed.ok() || !info)
        return {};
    const FfmpegPlan plan = FfmpegPlan::build(parsed.request, *info);
    return plan.ok() ? plan.arguments(output) : QStringList();
}

QStringList words(const QString &text)
{
    return text.split(u' ', Qt::SkipEmptyParts);
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace BenchSupport
