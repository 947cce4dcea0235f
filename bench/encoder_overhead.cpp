// Wall-clock cost of going through the encoders instead of running ffmpeg
// directly with the command they translate their options into:
// - one stage (conv.exe to MPG) on a 6-second clip: the fixed cost a stage
//   adds (option reading, probing, output check, rename);
// - an RMVB job (conv.exe to the intermediate file, coder.exe to .rmvb) on a
//   25-second clip with camera-like grain, against the two ffmpeg commands.
// Each pair runs in turn; medians of the pairwise ratios and differences.

#include "BenchSupport.h"
#include "CoderOptions.h"
#include "ConvOptions.h"
#include "ToolLocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace BenchSupport;

namespace {

constexpr int StageRounds = 9;
constexpr int JobRounds = 7;

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

// The argument lists the program passes for the two stages of an RMVB job.
QStringList stageOneArguments(const QString &input, const QString &intermediate)
{
    return QStringList{input} +
           words(u"-oac mp3lame -lameopts preset=320 -ovc lavc -lavcopts "
                 "vcodec=mpeg4:vbitrate=1200 -of avi -o"_s) +
           QStringList{intermediate};
}

QStringList stageTwoArguments(const QString &intermediate, const QString &output)
{
    return QStringList{u"-i"_s, intermediate} +
           words(u"-y -vcodec rv10 -b 1200k -f rm  -ab 128k -ac 2"_s) + QStringList{output};
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

double encoderJob(const Setup &setup, const QString &clip)
{
    const QString intermediate = freshPath(setup, u"tmp.mp4"_s);
    const double first =
        timedRun(setup.dataFolder + u"/conv.exe"_s, stageOneArguments(clip, intermediate));
    const double second =
        timedRun(setup.dataFolder + u"/coder.exe"_s,
                 stageTwoArguments(intermediate, freshPath(setup, u"out.rmvb"_s)));
    return first < 0 || second < 0 ? -1.0 : first + second;
}

// The probing that decides each ffmpeg command is done off the clock.
double ffmpegJob(const Setup &setup, const QString &clip)
{
    const QString intermediate = freshPath(setup, u"tmp.mp4"_s);
    const QStringList first = ffmpegArguments(
        ConvOptions::parse(stageOneArguments(clip, intermediate), isFile), clip, intermediate);
    const double firstSeconds = first.isEmpty() ? -1.0 : timedRun(setup.ffmpeg, first);
    const QString output = freshPath(setup, u"out.rmvb"_s);
    const QStringList second = ffmpegArguments(
        CoderOptions::parse(stageTwoArguments(intermediate, output)), intermediate, output);
    const double secondSeconds = second.isEmpty() ? -1.0 : timedRun(setup.ffmpeg, second);
    return firstSeconds < 0 || secondSeconds < 0 ? -1.0 : firstSeconds + secondSeconds;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const ToolLocator::Tools tools = ToolLocator::locate(QProcessEnvironment::systemEnvironment());
    QTemporaryDir work;
    const Setup setup{programFolder() + u"/data"_s, tools.ffmpeg, work.path()};
    const QString shortClip = work.filePath(u"short.avi"_s);
    const QString longClip = work.filePath(u"long.avi"_s);
    if (!tools.error.isEmpty() || !work.isValid() || !makeClip(setup, shortClip, 6) ||
        !makeClip(setup, longClip, 25)) {
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
    const std::optional<Paired> job = paired(
        JobRounds, [&] { return encoderJob(setup, longClip); },
        [&] { return ffmpegJob(setup, longClip); });
    if (!job)
        return 1;
    report("RMVB job, conv.exe + coder.exe, 25 s clip, against two ffmpeg commands", *job,
           "target: ratio <= 1.05");
    return 0;
}
