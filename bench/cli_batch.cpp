// A batch of ten short clips converted to MPG by zenvora-cli against the
// same ffmpeg commands run one after another, as a shell loop would: what the
// whole path (queue, driver, runner, encoder, checks) costs over ffmpeg.
// The two run in turn; medians of the pairwise ratios and differences.

#include "bench/BenchSupport.h"
#include "encoders/job/ToolLocator.h"
#include "encoders/options/ConvOptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace BenchSupport;

namespace {

constexpr int Clips = 10;
constexpr int ClipSeconds = 6;
constexpr int Rounds = 5;

QString clipPath(const QString &work, int index)
{
    return work + u"/clips/clip%1.avi"_s.arg(index);
}

bool makeClips(const ToolLocator::Tools &tools, const QString &work)
{
    QDir().mkpath(work + u"/clips"_s);
    for (int i = 0; i < Clips; ++i) {
        const double seconds = timedRun(
            tools.ffmpeg,
            {u"-nostdin"_s,
             u"-loglevel"_s,
             u"error"_s,
             u"-f"_s,
             u"lavfi"_s,
             u"-i"_s,
             u"testsrc2=size=640x360:rate=25:duration=%1,noise=alls=8:allf=t"_s.arg(ClipSeconds),
             u"-f"_s,
             u"lavfi"_s,
             u"-i"_s,
             u"sine=frequency=%1:sample_rate=44100:duration=%2"_s.arg(300 + 40 * i)
                 .arg(ClipSeconds),
             u"-ac"_s,
             u"2"_s,
             u"-c:v"_s,
             u"mpeg4"_s,
             u"-q:v"_s,
             u"4"_s,
             u"-c:a"_s,
             u"libmp3lame"_s,
             u"-y"_s,
             clipPath(work, i)});
        if (seconds < 0)
            return false;
    }
    return true;
}

double throughCli(const QString &programFolder, const QString &work, int jobs)
{
    static int runs = 0;
    QStringList arguments{u"-j"_s, QString::number(jobs),
                          u"-f"_s, u"mpg"_s,
                          u"-o"_s, work + u"/cli-out-%1"_s.arg(++runs)};
    for (int i = 0; i < Clips; ++i)
        arguments.append(clipPath(work, i));
    return timedRun(programFolder + u"/zenvora-cli"_s, arguments);
}

// The ffmpeg commands are worked out before the clock starts.
double directly(const ToolLocator::Tools &tools, const QString &work)
{
    QDir().mkpath(work + u"/direct-out"_s);
    QList<QStringList> commands;
    for (int i = 0; i < Clips; ++i) {
        const QString output = work + u"/direct-out/clip%1.mpg"_s.arg(i);
        const QStringList arguments = ffmpegArguments(
            ConvOptions::parse(mpgArguments(clipPath(work, i), output),
                               [](const QString &path) { return QFileInfo(path).isFile(); }),
            clipPath(work, i), output);
        if (arguments.isEmpty())
            return -1.0;
        commands.append(arguments);
    }
    double total = 0;
    for (const QStringList &arguments : std::as_const(commands)) {
        const double seconds = timedRun(tools.ffmpeg, arguments);
        if (seconds < 0)
            return -1.0;
        total += seconds;
    }
    return total;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const ToolLocator::Tools tools = ToolLocator::locate(QProcessEnvironment::systemEnvironment());
    QTemporaryDir work;
    if (!tools.error.isEmpty() || !work.isValid() || !makeClips(tools, work.path())) {
        std::fprintf(stderr, "cli_batch: cannot prepare: %s\n", qPrintable(tools.error));
        return 1;
    }
    const QString programFolder = BenchSupport::programFolder();
    const std::optional<Paired> serial = paired(
        Rounds, [&] { return throughCli(programFolder, work.path(), 1); },
        [&] { return directly(tools, work.path()); });
    if (!serial)
        return 1;
    report("zenvora-cli, ten 6 s clips to MPG, against an ffmpeg loop", *serial,
           "target: ratio <= 1.15");
    const std::optional<Paired> parallel = paired(
        Rounds, [&] { return throughCli(programFolder, work.path(), 2); },
        [&] { return directly(tools, work.path()); });
    if (!parallel)
        return 1;
    report("zenvora-cli -j 2, the same clips, against the ffmpeg loop", *parallel,
           "target: ratio <= 0.85 on 2 cores");
    return 0;
}
