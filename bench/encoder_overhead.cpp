// Wall-clock cost of going through conv.exe and coder.exe instead of
// running ffmpeg directly: an RMVB job (stage one to the intermediate
// file, stage two to .rmvb) on a 25-second 640x360 clip with camera-like
// grain, against the two ffmpeg commands the encoders translate those
// command lines into. The encoders add option reading, two ffprobe runs per
// stage and the rename: a fixed cost per stage, printed on its own too.

#include "BenchSupport.h"
#include "CoderOptions.h"
#include "ConvOptions.h"
#include "ToolLocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;
using namespace BenchSupport;

namespace {

constexpr int Rounds = 3;
constexpr int ClipSeconds = 25;

struct Timing
{
    double stageOne = 0.0;
    double stageTwo = 0.0;
    double total() const { return stageOne + stageTwo; }
};

struct Setup
{
    QString dataFolder;
    ToolLocator::Tools tools;
    QString work;

    QString clip() const { return work + u"/clip.avi"_s; }
};

bool makeClip(const Setup &setup)
{
    return timedRun(setup.tools.ffmpeg,
                    {u"-nostdin"_s,  u"-hide_banner"_s,
                     u"-loglevel"_s, u"error"_s,
                     u"-f"_s,        u"lavfi"_s,
                     u"-i"_s,        u"testsrc2=size=640x360:rate=25,noise=alls=8:allf=t"_s,
                     u"-f"_s,        u"lavfi"_s,
                     u"-i"_s,        u"sine=frequency=440:sample_rate=44100"_s,
                     u"-t"_s,        QString::number(ClipSeconds),
                     u"-ac"_s,       u"2"_s,
                     u"-c:v"_s,      u"mpeg4"_s,
                     u"-q:v"_s,      u"4"_s,
                     u"-c:a"_s,      u"libmp3lame"_s,
                     u"-y"_s,        setup.clip()}) >= 0;
}

// The argument lists the program passes for an RMVB job.
QStringList stageOneArguments(const Setup &setup, const QString &intermediate)
{
    return QStringList{setup.clip()} +
           words(u"-oac mp3lame -lameopts preset=320 -ovc lavc -lavcopts "
                 "vcodec=mpeg4:vbitrate=1200 -of avi -o"_s) +
           QStringList{intermediate};
}

QStringList stageTwoArguments(const QString &intermediate, const QString &output)
{
    return QStringList{u"-i"_s, intermediate} +
           words(u"-y -vcodec rv10 -b 1200k -f rm  -ab 128k -ac 2"_s) + QStringList{output};
}

Timing throughEncoders(const Setup &setup, int round)
{
    const QString intermediate = setup.work + u"/enc-%1/tmp.mp4"_s.arg(round);
    QDir().mkpath(QFileInfo(intermediate).path());
    Timing timing;
    timing.stageOne =
        timedRun(setup.dataFolder + u"/conv.exe"_s, stageOneArguments(setup, intermediate));
    timing.stageTwo = timedRun(setup.dataFolder + u"/coder.exe"_s,
                               stageTwoArguments(intermediate, setup.work + u"/enc-out.rmvb"_s));
    return timing;
}

// The same two commands as ffmpeg runs them under the encoders; the probing
// that decides them is done before the clock starts.
Timing directly(const Setup &setup, int round)
{
    const QString intermediate = setup.work + u"/direct-%1/tmp.mp4"_s.arg(round);
    QDir().mkpath(QFileInfo(intermediate).path());
    const QStringList first = ffmpegArguments(
        ConvOptions::parse(stageOneArguments(setup, intermediate),
                           [](const QString &path) { return QFileInfo(path).isFile(); }),
        setup.clip(), intermediate);
    if (first.isEmpty())
        return {-1.0, -1.0};
    Timing timing;
    timing.stageOne = timedRun(setup.tools.ffmpeg, first);
    const QString output = setup.work + u"/direct-out.rmvb"_s;
    const QStringList second = ffmpegArguments(
        CoderOptions::parse(stageTwoArguments(intermediate, output)), intermediate, output);
    if (second.isEmpty())
        return {-1.0, -1.0};
    timing.stageTwo = timedRun(setup.tools.ffmpeg, second);
    return timing;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const ToolLocator::Tools tools = ToolLocator::locate(QProcessEnvironment::systemEnvironment());
    QTemporaryDir work;
    if (!tools.error.isEmpty() || !work.isValid()) {
        std::fprintf(stderr, "encoder_overhead: %s\n", qPrintable(tools.error));
        return 1;
    }
    const Setup setup{QStringLiteral(ZENVORA_DATA_DIR), tools, work.path()};
    if (!makeClip(setup))
        return 1;
    std::printf("encoder_overhead: RMVB job (conv.exe stage one, coder.exe stage two) on a %d s "
                "640x360 clip, %d rounds\n",
                ClipSeconds, Rounds);
    QList<double> encoderTotals;
    QList<double> directTotals;
    for (int round = 1; round <= Rounds; ++round) {
        // Alternate the order so neither side always runs on a warm cache.
        const bool encodersFirst = round % 2 == 1;
        const Timing first = encodersFirst ? throughEncoders(setup, round) : directly(setup, round);
        const Timing second =
            encodersFirst ? directly(setup, round) : throughEncoders(setup, round);
        const Timing &encoders = encodersFirst ? first : second;
        const Timing &direct = encodersFirst ? second : first;
        if (std::min({encoders.stageOne, encoders.stageTwo, direct.stageOne, direct.stageTwo}) < 0)
            return 1;
        std::printf(
            "round %d: encoders %.2f s (%.2f + %.2f), ffmpeg directly %.2f s (%.2f + %.2f)\n",
            round, encoders.total(), encoders.stageOne, encoders.stageTwo, direct.total(),
            direct.stageOne, direct.stageTwo);
        std::fflush(stdout);
        encoderTotals.append(encoders.total());
        directTotals.append(direct.total());
    }
    const double throughEncoders = median(encoderTotals);
    const double direct = median(directTotals);
    std::printf("median: encoders %.2f s, ffmpeg directly %.2f s, ratio %.3f (target <= 1.05), "
                "fixed cost %.2f s per job\n",
                throughEncoders, direct, throughEncoders / direct, throughEncoders - direct);
    return 0;
}
