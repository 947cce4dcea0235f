#include "BenchSupport.h"

#include "FfmpegPlan.h"
#include "MediaProbe.h"

#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <optional>

using namespace Qt::StringLiterals;

namespace BenchSupport {

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

QStringList ffmpegArguments(const ParsedRequest &parsed, const QString &input,
                            const QString &output)
{
    const std::optional<MediaInfo> info = MediaProbe::read(input);
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
