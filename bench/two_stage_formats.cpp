// The formats converted in two stages, each run as a user runs it (one
// zenvora-cli job with the format's defaults) against what a user would run
// instead: ONE ffmpeg command with the final stage's settings, on the source.
// Two clips made here from a zooming fractal with camera grain and a
// mixed-tone soundtrack: 10 s at 1080p and 6 s at PAL size, both H.264 and
// AAC in MP4, as phones and cameras write them. For each format: the median
// of the pairwise time ratios, and the SSIM of both outputs against the
// source (the source brought to each output's size).

#include "BenchSupport.h"
#include "CoderOptions.h"
#include "CommandBuilder.h"
#include "OutputFormats.h"
#include "ToolLocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
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

bool makeClip(const Setup &setup, const Clip &clip, const QString &path)
{
    // Rendered small and scaled up, as much real HD material is; the grain
    // changes every frame so that no encoder gets static noise for free.
    const QString picture = u"mandelbrot=size=480x270:rate=25,hue=H=0.4*t,scale=%1:flags=bicubic,"
                            "noise=alls=5:allf=t"_s.arg(clip.size);
    const QString sound = u"sine=frequency=220:sample_rate=48000[a];anoisesrc=color=pink:"
                          "amplitude=0.1:sample_rate=48000[b];[a][b]amix"_s;
    return timedRun(setup.ffmpeg, {u"-nostdin"_s,
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
                                   QString::number(clip.seconds),
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

ConversionSettings defaultsOf(OutputFormat format, const QString &outputFolder)
{
    ConversionSettings settings = ConversionSettings::startupDefaults();
    settings.selectFormat(format);
    settings.outputFolder = outputFolder;
    return settings;
}

QString freshFolder(const Setup &setup)
{
    static int runs = 0;
    const QString folder = setup.work + u"/run-%1"_s.arg(++runs);
    QDir().mkpath(folder);
    return folder;
}

// The output file of a finished run: the only file in its fresh folder.
QString onlyFileIn(const QString &folder)
{
    const QStringList names = QDir(folder).entryList(QDir::Files);
    return names.size() == 1 ? folder + u'/' + names.first() : QString();
}

double ourJob(const Setup &setup, OutputFormat format, const QString &source, QString &output)
{
    const QString folder = freshFolder(setup);
    const double seconds =
        timedRun(setup.cli, {u"-f"_s, OutputFormats::of(format).cliName, u"-o"_s, folder, source});
    output = onlyFileIn(folder);
    return seconds;
}

// The final stage's command as the program builds it, with the source in
// place of the intermediate file, turned into the ffmpeg command it runs.
// Working that out is done off the clock.
double directCommand(const Setup &setup, OutputFormat format, const QString &source,
                     QString &output)
{
    const QString folder = freshFolder(setup);
    CommandEnvironment environment{programFolder(), PathStyle::native(), source};
    const std::optional<StageCommand> stage =
        CommandBuilder(environment).stageTwo(defaultsOf(format, folder), source);
    if (!stage)
        return -1.0;
    output = stage->outputPath;
    const QStringList arguments =
        ffmpegArguments(CoderOptions::parse(stage->command.arguments()), source, output);
    return arguments.isEmpty() ? -1.0 : timedRun(setup.ffmpeg, arguments);
}

// The mean SSIM of an output against its source brought to the output's
// size, or a negative value.
double ssim(const Setup &setup, const QString &output, const QString &source)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(setup.ffmpeg,
                  {u"-nostdin"_s, u"-hide_banner"_s, u"-i"_s, source, u"-i"_s, output, u"-lavfi"_s,
                   u"[0:v][1:v]scale2ref=flags=bicubic[src][out];[src][out]ssim"_s, u"-f"_s,
                   u"null"_s, u"-"_s});
    process.waitForFinished(-1);
    static const QRegularExpression all(u"SSIM .* All:([0-9.]+)"_s);
    const QRegularExpressionMatch match = all.match(QString::fromUtf8(process.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() : -1.0;
}

bool compare(const Setup &setup, const Clip &clip, const QString &source, OutputFormat format)
{
    QString ours;
    QString direct;
    const std::optional<Paired> times = paired(
        Rounds, [&] { return ourJob(setup, format, source, ours); },
        [&] { return directCommand(setup, format, source, direct); });
    if (!times)
        return false;
    const double oursSsim = ssim(setup, ours, source);
    const double directSsim = ssim(setup, direct, source);
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
        if (!makeClip(setup, clip, source))
            return 1;
        for (int index = 0; index < OutputFormats::Count; ++index) {
            const OutputFormat format = *OutputFormats::fromIndex(index);
            if (OutputFormats::of(format).hasStageTwo() && !compare(setup, clip, source, format))
                return 1;
        }
    }
    return 0;
}
