// Wall-clock cost of going through an encoder instead of running ffmpeg
// directly with the command it translates its options into: one stage
// (conv.exe to MPG) on a 6-second clip, the fixed cost a stage adds (option
// reading, probing, output check, rename). Whole jobs of the two-stage
// formats are measured by two_stage_formats. Each pair runs in turn;
// medians of the pairwise ratios and differences.

#include "bench/BenchSupport.h"
#include "encoders/job/ToolLocator.h"
#include "encoders/options/ConvOptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace BenchSupport;

namespace {

constexpr int StageRounds = 9;

struct Setup
{
    QString dataFolder;
    QString ffmpeg;
    QString work;
};

bool makeClip(const Setup &setup, const QString &path, int seconds)
{
    return timedRun(setup.ffmpeg,
                    {u"-nostdin"_s,  u"-hide_banner"_s,
                     u"-loglevel"_s, u"error"_s,
                     u"-f"_s,        u"lavfi"_s,
                     u"-i"_s,        u"testsrc2=size=640x360:rate=25,noise=alls=8:allf=t"_s,
                     u"-f"_s,        u"lavfi"_s,
                     u"-i"_s,        u"sine=frequency=440:sample_rate=44100"_s,
                     u"-t"_s,        QString::number(seconds),
                     u"-ac"_s,       u"2"_s,
                     u"-c:v"_s,      u"mpeg4"_s,
                     u"-q:v"_s,      u"4"_s,
                     u"-c:a"_s,      u"libmp3lame"_s,
                     u"-y"_s,        path}) >= 0;
}

bool isFile(const QString &path)
{
    return QFileInfo(path).isFile();
}

// A fresh output name for every run, so no run finds another's file.
QString freshPath(const Setup &setup, const QString &name)
{
    static int runs = 0;
    const QString folder = setup.work + u"/run-%1"_s.arg(++runs);
    QDir().mkpath(folder);
    return folder + u'/' + name;
}

double encoderStage(const Setup &setup, const QString &clip)
{
    return timedRun(setup.dataFolder + u"/conv.exe"_s,
                    mpgArguments(clip, freshPath(setup, u"out.mpg"_s)));
}

double ffmpegStage(const Setup &setup, const QString &clip)
{
    const QString output = freshPath(setup, u"out.mpg"_s);
    const QStringList arguments =
        ffmpegArguments(ConvOptions::parse(mpgArguments(clip, output), isFile), clip, output);
    return arguments.isEmpty() ? -1.0 : timedRun(setup.ffmpeg, arguments);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const ToolLocator::Tools tools = ToolLocator::locate(QProcessEnvironment::systemEnvironment());
    QTemporaryDir work;
    const Setup setup{programFolder() + u"/data"_s, tools.ffmpeg, work.path()};
    const QString shortClip = work.filePath(u"short.avi"_s);
    if (!tools.error.isEmpty() || !work.isValid() || !makeClip(setup, shortClip, 6)) {
        std::fprintf(stderr, "encoder_overhead: cannot prepare: %s\n", qPrintable(tools.error));
        return 1;
    }
    const std::optional<Paired> stage = paired(
        StageRounds, [&] { return encoderStage(setup, shortClip); },
        [&] { return ffmpegStage(setup, shortClip); });
    if (!stage)
        return 1;
    report("one stage, conv.exe to MPG, 6 s clip, against ffmpeg", *stage,
           "target: difference <= 0.08 s");
    return 0;
}
