#include "BenchSupport.h"

#include "CommandBuilder.h"
#include "FfmpegPlan.h"
#include "MediaProbe.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <optional>

using namespace Qt::StringLiterals;

namespace BenchSupport {

QString programFolder()
{
    const QString chosen = qEnvironmentVariable("ZENVORA_PROGRAM_DIR");
    return chosen.isEmpty() ? QStringLiteral(ZENVORA_PROGRAM_DIR) : chosen;
}

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

QStringList mpgArguments(const QString &input, const QString &output)
{
    ConversionSettings settings = ConversionSettings::startupDefaults();
    settings.selectFormat(OutputFormat::Mpg);
    settings.outputFolder = QFileInfo(output).absolutePath();
    CommandEnvironment environment{programFolder(), PathStyle::native(), {}};
    environment.pathExists = [](const QString &) { return false; };
    const StageCommand stage = CommandBuilder(environment).stageOne(settings, input);
    QStringList arguments = stage.command.arguments();
    arguments.replaceInStrings(stage.outputPath, output);
    return arguments;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

std::optional<Paired> paired(int rounds, const std::function<double()> &ours,
                             const std::function<double()> &reference)
{
    QList<double> oursTimes;
    QList<double> referenceTimes;
    QList<double> ratios;
    QList<double> differences;
    for (int round = 0; round < rounds; ++round) {
        const double a = ours();
        const double b = reference();
        if (a < 0 || b < 0)
            return std::nullopt;
        oursTimes.append(a);
        referenceTimes.append(b);
        ratios.append(a / b);
        differences.append(a - b);
    }
    return Paired{median(ratios), median(differences), median(oursTimes), median(referenceTimes)};
}

void report(const char *what, const Paired &result, const char *target)
{
    std::printf("%s: ours %.3f s, reference %.3f s, ratio %.3f, difference %.3f s (%s)\n", what,
                result.ours, result.reference, result.ratio, result.difference, target);
    std::fflush(stdout);
}

} // namespace BenchSupport
