// The formats converted in two stages, each run as a user runs it (one
// zenvora-cli job with the format's defaults) against what a user would run
// instead: ONE ffmpeg command with the final stage's settings, on the source.
// Two clips made here from a zooming fractal with camera grain and a
// mixed-tone soundtrack: 10 s at 1080p and 6 s at PAL size, both H.264 and
// AAC in MP4, as phones and cameras write them. For each format: the median
// of the pairwise time ratios, and the SSIM of both outputs against the
// source (the source brought to each output's size).

#include "bench/BenchSupport.h"
#include "encoders/job/ToolLocator.h"
#include "encoders/options/CoderOptions.h"
#include "engine/CommandBuilder.h"
#include "engine/OutputFormats.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace BenchSupport;

namespace {

constexpr int Rounds = 5;

struct Clip
{
    const char *name;
    QString size;
    int seconds;
};

struct Setup
{
    QString cli;
    QString ffmpeg;
    QString work;
};

ConversionSettings defaultsOf(OutputFormat format, const QString &outputFolder)
{
    ConversionSettings settings = ConversionSettings::startupDefaults();
    settings.selectFormat(format);
    settings.outputFolder = outputFolder;
    return settings;
}

// The final stage's command as the program builds it, with the source in
// place of the intermediate file, turned into the ffmpeg command it runs.
// Working that out is done off the clock.
double directCommand(const Setup &setup, OutputFormat format, const QString &source,
                     QString &output)
{
    const QString folder = freshFolder(setup.work);
    CommandEnvironment environment;
    environment.programFolder = programFolder();
    environment.intermediatePath = source;
    const std::optional<StageCommand> stage =
        CommandBuilder(environment).stageTwo(defaultsOf(format, folder), source);
    if (!stage)
        return -1.0;
    output = stage->outputPath;
    const QStringList arguments =
        ffmpegArguments(CoderOptions::parse(stage->command.arguments()), source, output);
    return arguments.isEmpty() ? -1.0 : timedRun(setup.ffmpeg, arguments);
}

bool compare(const Setup &setup, const Clip &clip, const QString &source, OutputFormat format)
{
    QString ours;
    QString direct;
    const std::optional<Paired> times = paired(
        Rounds, [&] { return cliJob(setup.cli, setup.work, format, source, ours); },
        [&] { return directCommand(setup, format, source, direct); });
    if (!times)
        return false;
    // At the output's size: the source is scaled to each output.
    const QString graph = u"[0:v][1:v]scale2ref=flags=bicubic[src][out];[src][out]ssim"_s;
    const double oursSsim = meanSsim(setup.ffmpeg, source, ours, graph);
    const double directSsim = meanSsim(setup.ffmpeg, source, direct, graph);
    std::printf("| %s | %s | %.2f s | %.2f s | %.3f | %.4f | %.4f | %+.4f |\n", clip.name,
                qPrintable(OutputFormats::of(format).cliName), times->ours, times->reference,
                times->ratio, oursSsim, directSsim, oursSsim - directSsim);
    std::fflush(stdout);
    return oursSsim > 0 && directSsim > 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const ToolLocator::Tools tools = ToolLocator::locate(QProcessEnvironment::systemEnvironment());
    QTemporaryDir work;
    const Setup setup{programFolder() + u"/zenvora-cli"_s, tools.ffmpeg, work.path()};
    const QList<Clip> clips{{"1080p 10 s", u"1920x1080"_s, 10}, {"PAL 6 s", u"720x576"_s, 6}};
    if (!tools.error.isEmpty() || !work.isValid()) {
        std::fprintf(stderr, "two_stage_formats: cannot prepare: %s\n", qPrintable(tools.error));
        return 1;
    }
    std::printf("targets: time ratio <= 1.15; SSIM ours >= direct - 0.002\n"
                "| clip | format | ours | direct | ratio | SSIM ours | SSIM direct | diff |\n"
                "|---|---|---|---|---|---|---|---|\n");
    for (const Clip &clip : clips) {
        const QString source = work.filePath(u"%1.mp4"_s.arg(clip.seconds));
        if (!makeCameraLikeClip(setup.ffmpeg, clip.size, clip.seconds, source))
            return 1;
        for (int index = 0; index < OutputFormats::Count; ++index) {
            const OutputFormat format = *OutputFormats::fromIndex(index);
            if (OutputFormats::of(format).hasStageTwo() && !compare(setup, clip, source, format))
                return 1;
        }
    }
    return 0;
}
