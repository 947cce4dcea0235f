// Burning subtitles in, run as a user runs it (one zenvora-cli job to
// H.264 MP4 with a same-named SRT beside the film) against what a user
// would run instead: ONE ffmpeg command with the same codec settings and
// the same `subtitles` filter. And what the filter itself costs: that
// command against the same one without it. A 10 s 1080p clip of a zooming
// fractal with camera grain, with a Chinese cue every two seconds; timed in
// turn, the median of the pairwise ratios.

#include "bench/BenchSupport.h"
#include "encoders/job/ToolLocator.h"
#include "engine/OutputFormats.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace BenchSupport;

namespace {

constexpr int Rounds = 3;
constexpr int Seconds = 10;

bool writeSubtitles(const QString &path)
{
    QByteArray text;
    for (int cue = 0; cue < Seconds / 2; ++cue) {
        text +=
            u"%1\n00:00:%2,000 --> 00:00:%3,500\n第 %1 句字幕：今天天气很好。\n\n"_s.arg(cue + 1)
                .arg(cue * 2, 2, 10, QChar(u'0'))
                .arg(cue * 2 + 1, 2, 10, QChar(u'0'))
                .toUtf8();
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// The user's command: the encoder settings zenvora-cli uses for H.264 MP4,
// the picture filters given.
double direct(const QString &ffmpeg, const QString &work, const QString &source,
              const QString &pictureFilters)
{
    const QString output = freshFolder(work) + u"/direct.mp4"_s;
    return timedRun(ffmpeg,
                    {u"-nostdin"_s, u"-loglevel"_s,  u"error"_s,      u"-i"_s,      source,
                     u"-vf"_s,      pictureFilters,  u"-c:v"_s,       u"libx264"_s, u"-preset"_s,
                     u"faster"_s,   u"-profile:v"_s, u"high"_s,       u"-crf"_s,    u"23"_s,
                     u"-c:a"_s,     u"aac"_s,        u"-ar"_s,        u"48000"_s,   u"-b:a"_s,
                     u"160k"_s,     u"-movflags"_s,  u"+faststart"_s, u"-y"_s,      output});
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const ToolLocator::Tools tools = ToolLocator::locate(QProcessEnvironment::systemEnvironment());
    QTemporaryDir work;
    if (!tools.error.isEmpty() || !work.isValid()) {
        std::fprintf(stderr, "subtitle_burn: cannot prepare: %s\n", qPrintable(tools.error));
        return 1;
    }
    const QString cli = programFolder() + u"/zenvora-cli"_s;
    const QString source = work.filePath(u"film.mp4"_s);
    const QString subtitles = work.filePath(u"film.srt"_s);
    if (!makeCameraLikeClip(tools.ffmpeg, u"1920x1080"_s, Seconds, source) ||
        !writeSubtitles(subtitles))
        return 1;
    const QString burned =
        u"subtitles=filename=%1:force_style='FontName=Noto Sans CJK SC,FontSize=17,Outline=1.2,"
        u"Shadow=0.5,MarginV=14',format=yuv420p"_s.arg(subtitles);
    QString ours;
    const std::optional<Paired> against = paired(
        Rounds, [&] { return cliJob(cli, work.path(), OutputFormat::H264Mp4, source, ours); },
        [&] { return direct(tools.ffmpeg, work.path(), source, burned); });
    const std::optional<Paired> filterCost = paired(
        Rounds, [&] { return direct(tools.ffmpeg, work.path(), source, burned); },
        [&] { return direct(tools.ffmpeg, work.path(), source, u"format=yuv420p"_s); });
    if (!against || !filterCost)
        return 1;
    report("zenvora-cli burning against one ffmpeg command burning", *against, "<= 1.05");
    report("ffmpeg burning against ffmpeg without subtitles", *filterCost, "<= 1.10");
    return 0;
}
