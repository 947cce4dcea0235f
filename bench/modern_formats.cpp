// Today's formats, each run as a user runs it (one zenvora-cli job with the
// format's defaults) against ONE ffmpeg command with the same codecs at the
// encoder's default preset: x264 and x265 at their default CRF, VP9 at the
// CRF 31 its guide gives for 1080p (ffmpeg's own VP9 default is a bare
// 256 kbit/s), the sound as ours. A 1 s 1080p clip of a zooming fractal
// with camera grain, H.264 and AAC in MP4 as phones write it; timed in
// turn (ours, direct, ours, direct). For each format: the median of the
// pairwise time ratios, and the SSIM of both outputs against the source.
// Formats named on the command line (h264, hevc, webm) are the only ones run.

#include "BenchSupport.h"
#include "OutputFormats.h"
#include "ToolLocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
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

bool makeClip(const Setup &setup, const QString &path)
{
    const QString picture = u"mandelbrot=size=480x270:rate=25,hue=H=0.4*t,scale=1920x1080:"
                            "flags=bicubic,noise=alls=5:allf=t"_s;
    const QString sound = u"sine=frequency=220:sample_rate=48000[a];anoisesrc=color=pink:"
                          "amplitude=0.1:sample_rate=48000[b];[a][b]amix"_s;
    return timedRun(setup.ffmpeg, {u"-nostdin"_s, u"-loglevel"_s, u"error"_s,   u"-f"_s,
                                   u"lavfi"_s,    u"-i"_s,        picture,      u"-f"_s,
                                   u"lavfi"_s,    u"-i"_s,        sound,        u"-t"_s,
                                   u"2"_s,        u"-c:v"_s,      u"libx264"_s, u"-preset"_s,
                                   u"veryfast"_s, u"-crf"_s,      u"18"_s,      u"-pix_fmt"_s,
                                   u"yuv420p"_s,  u"-c:a"_s,      u"aac"_s,     u"-ac"_s,
                                   u"2"_s,        u"-y"_s,        path}) >= 0;
}

QString freshFolder(const Setup &setup)
{
    static int runs = 0;
    const QString folder = setup.work + u"/run-%1"_s.arg(++runs);
    QDir().mkpath(folder);
    return folder;
}

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

double directCommand(const Setup &setup, const Direct &direct, const QString &source,
                     QString &output)
{
    output = freshFolder(setup) + u"/direct"_s + direct.extension;
    return timedRun(setup.ffmpeg,
                    QStringList{u"-nostdin"_s, u"-loglevel"_s, u"error"_s, u"-i"_s, source} +
                        direct.streams + QStringList{u"-y"_s, output});
}

// Picture by picture: the containers start their timestamps differently,
// and with grain that changes every frame a picture off by one scores low.
double ssim(const Setup &setup, const QString &output, const QString &source)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(setup.ffmpeg,
                  {u"-nostdin"_s, u"-hide_banner"_s, u"-i"_s, source, u"-i"_s, output, u"-lavfi"_s,
                   u"[0:v]settb=1/25,setpts=N[s];[1:v]settb=1/25,setpts=N[o];[s][o]ssim"_s, u"-f"_s,
                   u"null"_s, u"-"_s});
    process.waitForFinished(-1);
    static const QRegularExpression all(u"SSIM .* All:([0-9.]+)"_s);
    const QRegularExpressionMatch match = all.match(QString::fromUtf8(process.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() : -1.0;
}

bool compare(const Setup &setup, const QString &source, const Direct &direct)
{
    QString ours;
    QString reference;
    const std::optional<Paired> times = paired(
        Rounds, [&] { return ourJob(setup, direct.format, source, ours); },
        [&] { return directCommand(setup, direct, source, reference); });
    if (!times)
        return false;
    const double oursSsim = ssim(setup, ours, source);
    const double directSsim = ssim(setup, reference, source);
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
    if (!makeClip(setup, source))
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
