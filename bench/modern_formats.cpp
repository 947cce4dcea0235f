// Today's formats, each run as a user runs it (one zenvora-cli job with the
// format's defaults) against ONE ffmpeg command with the same codecs at the
// encoder's default preset: x264 and x265 at their default CRF, VP9 at the
// CRF 31 its guide gives for 1080p (ffmpeg's own VP9 default is a bare
// 256 kbit/s), the sound as ours. A 2 s 1080p clip of a zooming fractal
// with camera grain, H.264 and AAC in MP4 as phones write it; timed in
// turn (ours, direct, ours, direct). For each format: the median of the
// pairwise time ratios, and the SSIM of both outputs against the source.
// Formats named on the command line (h264, hevc, webm) are the only ones run.

#include "bench/BenchSupport.h"
#include "encoders/job/ToolLocator.h"
#include "engine/OutputFormats.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace BenchSupport;

namespace {

constexpr int Rounds = 2;

struct Setup
{
    QString cli;
    QString ffmpeg;
    QString work;
};

struct Direct
{
    OutputFormat format;
    QStringList streams; // what the direct command tells ffmpeg of its output
    QString extension;
};

double directCommand(const Setup &setup, const Direct &direct, const QString &source,
                     QString &output)
{
    output = freshFolder(setup.work) + u"/direct"_s + direct.extension;
    return timedRun(setup.ffmpeg,
                    QStringList{u"-nostdin"_s, u"-loglevel"_s, u"error"_s, u"-i"_s, source} +
                        direct.streams + QStringList{u"-y"_s, output});
}

bool compare(const Setup &setup, const QString &source, const Direct &direct)
{
    QString ours;
    QString reference;
    const std::optional<Paired> times = paired(
        Rounds, [&] { return cliJob(setup.cli, setup.work, direct.format, source, ours); },
        [&] { return directCommand(setup, direct, source, reference); });
    if (!times)
        return false;
    // Picture by picture: the containers start their timestamps differently,
    // and with grain that changes every frame a picture off by one scores low.
    const QString graph = u"[0:v]settb=1/25,setpts=N[s];[1:v]settb=1/25,setpts=N[o];[s][o]ssim"_s;
    const double oursSsim = meanSsim(setup.ffmpeg, source, ours, graph);
    const double directSsim = meanSsim(setup.ffmpeg, source, reference, graph);
    std::printf("| %s | %.2f s | %.2f s | %.3f | %.4f | %.4f | %+.4f | %lld kB | %lld kB |\n",
                qPrintable(OutputFormats::of(direct.format).cliName), times->ours, times->reference,
                times->ratio, oursSsim, directSsim, oursSsim - directSsim,
                QFileInfo(ours).size() / 1000, QFileInfo(reference).size() / 1000);
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
    if (!tools.error.isEmpty() || !work.isValid()) {
        std::fprintf(stderr, "modern_formats: cannot prepare: %s\n", qPrintable(tools.error));
        return 1;
    }
    const QStringList aac{u"-c:a"_s, u"aac"_s, u"-ar"_s, u"48000"_s, u"-b:a"_s, u"160k"_s};
    const QList<Direct> directs{
        {OutputFormat::H264Mp4, QStringList{u"-c:v"_s, u"libx264"_s} + aac, u".mp4"_s},
        {OutputFormat::HevcMp4, QStringList{u"-c:v"_s, u"libx265"_s} + aac, u".mp4"_s},
        {OutputFormat::Vp9Webm,
         {u"-c:v"_s, u"libvpx-vp9"_s, u"-crf"_s, u"31"_s, u"-b:v"_s, u"0"_s, u"-c:a"_s,
          u"libopus"_s, u"-b:a"_s, u"128k"_s},
         u".webm"_s},
    };
    const QString source = work.filePath(u"1080p.mp4"_s);
    if (!makeCameraLikeClip(setup.ffmpeg, u"1920x1080"_s, 2, source))
        return 1;
    std::printf("targets: time ratio <= 1.00; SSIM ours >= direct\n"
                "| format | ours | direct | ratio | SSIM ours | SSIM direct | diff | size ours | "
                "size direct |\n|---|---|---|---|---|---|---|---|---|\n");
    const QStringList only = application.arguments().mid(1);
    for (const Direct &direct : directs) {
        const bool chosen =
            only.isEmpty() || only.contains(OutputFormats::of(direct.format).cliName);
        if (chosen && !compare(setup, source, direct))
            return 1;
    }
    return 0;
}
