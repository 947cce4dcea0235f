#include "bench/BenchSupport.h"

#include "encoders/plan/FfmpegPlan.h"
#include "encoders/probe/MediaProbe.h"
#include "engine/CommandBuilder.h"
#include "engine/OutputFormats.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

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
    CommandEnvironment environment;
    environment.programFolder = programFolder();
    environment.pathExists = [](const QString &) { return false; };
    const StageCommand stage = CommandBuilder(environment).stageOne(settings, input);
    QStringList arguments = stage.command.arguments();
    arguments.replaceInStrings(stage.outputPath, output);
    return arguments;
}

bool makeCameraLikeClip(const QString &ffmpeg, const QString &size, int seconds,
                        const QString &path)
{
    const QString picture = u"mandelbrot=size=480x270:rate=25,hue=H=0.4*t,scale=%1:flags=bicubic,"
                            "noise=alls=5:allf=t"_s.arg(size);
    const QString sound = u"sine=frequency=220:sample_rate=48000[a];anoisesrc=color=pink:"
                          "amplitude=0.1:sample_rate=48000[b];[a][b]amix"_s;
    return timedRun(ffmpeg, {u"-nostdin"_s,
                             u"-loglevel"_s,
                             u"error"_s,
                             u"-f"_s,
                             u"lavfi"_s,
                             u"-i"_s,
                             picture,
                             u"-f"_s,
                             u"lavfi"_s,
                             u"-i"_s,
                             sound,
                             u"-t"_s,
                             QString::number(seconds),
                             u"-c:v"_s,
                             u"libx264"_s,
                             u"-preset"_s,
                             u"veryfast"_s,
                             u"-crf"_s,
                             u"18"_s,
                             u"-pix_fmt"_s,
                             u"yuv420p"_s,
                             u"-c:a"_s,
                             u"aac"_s,
                             u"-ac"_s,
                             u"2"_s,
                             u"-y"_s,
                             path}) >= 0;
}

QString freshFolder(const QString &work)
{
    static int runs = 0;
    const QString folder = work + u"/run-%1"_s.arg(++runs);
    QDir().mkpath(folder);
    return folder;
}

double cliJob(const QString &cli, const QString &work, OutputFormat format, const QString &source,
              QString &output)
{
    const QString folder = freshFolder(work);
    const double seconds =
        timedRun(cli, {u"-f"_s, OutputFormats::of(format).cliName, u"-o"_s, folder, source});
    // The run's only file in its fresh folder.
    const QStringList names = QDir(folder).entryList(QDir::Files);
    output = names.size() == 1 ? folder + u'/' + names.first() : QString();
    return seconds;
}

double meanSsim(const QString &ffmpeg, const QString &source, const QString &output,
                const QString &graph)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(ffmpeg, {u"-nostdin"_s, u"-hide_banner"_s, u"-i"_s, source, u"-i"_s, output,
                           u"-lavfi"_s, graph, u"-f"_s, u"null"_s, u"-"_s});
    process.waitForFinished(-1);
    static const QRegularExpression all(u"SSIM .* All:([0-9.]+)"_s);
    const QRegularExpressionMatch match = all.match(QString::fromUtf8(process.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() : -1.0;
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
