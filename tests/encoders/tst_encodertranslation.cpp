#include "tests/encoders/CommandTable.h"

#include "encoders/options/CoderOptions.h"
#include "encoders/options/ConvOptions.h"
#include "encoders/plan/FfmpegPlan.h"

#include <QTest>

using namespace Qt::StringLiterals;
using CommandTable::Format;
using CommandTable::Settings;

// Every command line of the two command tables, read by the encoder that
// receives it and turned into the ffmpeg stream options it will run, for a
// 640x360 source with 44.1 kHz stereo sound.
class TestEncoderTranslation final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stageOne_data();
    void stageOne();
    void stageTwo_data();
    void stageTwo();
};

namespace {

const QString Input = u"/in/holiday.avi"_s;
const QString Intermediate = u"/cache/zenvora/tmp.mp4"_s;

MediaInfo source()
{
    MediaInfo info;
    info.formatNames = {u"avi"_s};
    info.durationSeconds = 2.0;
    info.video = MediaInfo::Video{0, u"mpeg4"_s, QSize(640, 360)};
    info.video->fieldOrder = u"progressive"_s;
    info.audio = MediaInfo::Audio{1, u"mp3"_s, 44100, 2};
    return info;
}

// What ffmpeg is told between its input and its output.
QString streamOptions(const CommandTable::Command &command)
{
    const ParsedRequest parsed =
        command.encoder == u"conv.exe"
            ? ConvOptions::parse(command.arguments, [](const QString &) { return false; })
            : CoderOptions::parse(command.arguments);
    if (!parsed.ok())
        return u"parse error: "_s + parsed.error;
    const FfmpegPlan plan = FfmpegPlan::build(parsed.request, source());
    if (!plan.ok())
        return u"plan error: "_s + plan.error();
    const QStringList arguments = plan.arguments(u"/out/part"_s);
    const qsizetype first = arguments.indexOf(u"-i"_s) + 2;
    return arguments.mid(first, arguments.size() - first - 2).join(u' ');
}

Settings settings(const QString &size, const QString &videoBitrate, const QString &frameRate,
                  const QString &audioRate, const QString &audioBitrate, int channels)
{
    return {size, videoBitrate, frameRate, audioRate, audioBitrate, channels};
}

} // namespace

void TestEncoderTranslation::stageOne_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QString>("expected");

    const QString src = CommandTable::SourceSize;
    QTest::newRow("MPG defaults 64/600/24")
        << Format::Mpg << CommandTable::defaults(Format::Mpg)
        << u"-map 0:0 -vf scale=640:360,setsar=1/1,fps=24/1 -c:v mpeg2video -flags +low_delay -b:v 600000 -r 24/1 -map 0:1 -c:a mp2 -af aresample=async=1:first_pts=0 -ar 44100 -ac 2 -b:a 64000 -f vob"_s;
    QTest::newRow("AVI defaults 64/600/24")
        << Format::Avi << CommandTable::defaults(Format::Avi)
        << u"-map 0:0 -vf scale=640:360,setsar=1/1,fps=24/1 -c:v mpeg2video -flags +low_delay -b:v 600000 -r 24/1 -map 0:1 -c:a mp2 -af aresample=async=1:first_pts=0 -ar 44100 -ac 2 -b:a 64000 -f avi"_s;
    QTest::newRow("MPG lowest 10.2/40/15")
        << Format::Mpg << settings(src, u"40"_s, u"15"_s, u"8000"_s, u"10.2"_s, 2)
        << u"-map 0:0 -vf scale=640:360,setsar=1/1,fps=24000/1001 -c:v mpeg2video -flags +low_delay -b:v 40000 -r 24000/1001 -map 0:1 -c:a mp2 -af aresample=async=1:first_pts=0 -ar 44100 -ac 2 -b:a 32000 -f vob"_s;
    QTest::newRow("MPG highest 320/1500/29")
        << Format::Mpg << settings(src, u"1500"_s, u"29"_s, u"48000"_s, u"320"_s, 2)
        << u"-map 0:0 -vf scale=640:360,setsar=1/1,fps=30000/1001 -c:v mpeg2video -flags +low_delay -b:v 1500000 -r 30000/1001 -map 0:1 -c:a mp2 -af aresample=async=1:first_pts=0 -ar 44100 -ac 2 -b:a 320000 -f vob"_s;
    QTest::newRow("AVI 12.2/1200/23")
        << Format::Avi << settings(src, u"1200"_s, u"23"_s, u"28000"_s, u"12.2"_s, 2)
        << u"-map 0:0 -vf scale=640:360,setsar=1/1,fps=24000/1001 -c:v mpeg2video -flags +low_delay -b:v 1200000 -r 24000/1001 -map 0:1 -c:a mp2 -af aresample=async=1:first_pts=0 -ar 44100 -ac 2 -b:a 32000 -f avi"_s;
    QTest::newRow("MP4 high quality defaults 320/1200")
        << Format::Mp4HighQuality << CommandTable::defaults(Format::Mp4HighQuality)
        << u"-map 0:0 -vf scale=640:360,setsar=1/1 -c:v mpeg4 -b:v 1200000 -fps_mode vfr -map 0:1 -c:a libmp3lame -af aresample=async=1:first_pts=0 -ar 44100 -ac 2 -b:a 320000 -movflags +faststart -f mp4"_s;
    QTest::newRow("MP4 high quality 10.2/40")
        << Format::Mp4HighQuality << settings(src, u"40"_s, u"29"_s, u"48000"_s, u"10.2"_s, 2)
        << u"-map 0:0 -vf scale=640:360,setsar=1/1 -c:v mpeg4 -b:v 40000 -fps_mode vfr -map 0:1 -c:a libmp3lame -af aresample=async=1:first_pts=0 -ar 44100 -ac 2 -b:a 32000 -movflags +faststart -f mp4"_s;
    const QList<QPair<Format, const char *>> twoStage{{Format::Rmvb, "RMVB"},
                                                      {Format::Rm, "RM"},
                                                      {Format::Mov, "MOV"},
                                                      {Format::Mp4Mobile, "mobile MP4"},
                                                      {Format::ThreeGpMobile, "3GP"}};
    for (const auto &[format, name] : twoStage) {
        QTest::addRow("%s intermediate", name)
            << format << CommandTable::defaults(format)
            << u"-map 0:0 -vf scale=640:360,setsar=1/1 -c:v mpeg4 -b:v 1200000 -fps_mode vfr "
               "-map 0:1 -c:a libmp3lame -af aresample=async=1:first_pts=0 -ar 44100 -ac 2 -b:a 320000 -movflags +faststart -f mp4"_s;
    }
    QTest::newRow("MP3 48000/320/stereo")
        << Format::Mp3Audio << settings(src, {}, {}, u"48000"_s, u"320"_s, 2)
        << u"-map 0:1 -c:a libmp3lame -af aresample=async=1 -ar 48000 -ac 2 -b:a 320000 -f mp3"_s;
    QTest::newRow("MP3 12050/10.2/mono")
        << Format::Mp3Audio << settings(src, {}, {}, u"12050"_s, u"10.2"_s, 1)
        << u"-map 0:1 -c:a libmp3lame -af aresample=async=1 -ar 12000 -ac 1 -b:a 8000 -f mp3"_s;
    QTest::newRow("MP3 28000/64/no channel chosen")
        << Format::Mp3Audio << settings(src, {}, {}, u"28000"_s, u"64"_s, 0)
        << u"-map 0:1 -c:a libmp3lame -af aresample=async=1 -ar 32000 -ac 2 -b:a 64000 -f mp3"_s;
    QTest::newRow("MP3 8000/320/stereo")
        << Format::Mp3Audio << settings(src, {}, {}, u"8000"_s, u"320"_s, 2)
        << u"-map 0:1 -c:a libmp3lame -af aresample=async=1 -ar 8000 -ac 2 -b:a 64000 -f mp3"_s;
    QTest::newRow("MP3 22050/224/mono")
        << Format::Mp3Audio << settings(src, {}, {}, u"22050"_s, u"224"_s, 1)
        << u"-map 0:1 -c:a libmp3lame -af aresample=async=1 -ar 22050 -ac 1 -b:a 160000 -f mp3"_s;

    // Today's formats: 8-bit 4:2:0, a quality target unless a bitrate is
    // given, the source's timing unless a rate is.
    // A size of another shape than the source's gets black bars.
    const QString h264 = u" -c:v libx264 -preset faster -profile:v high "_s;
    const QString x265 =
        u" -c:v libx265 -preset fast -profile:v main -x265-params log-level=error -tag:v hvc1 "_s;
    const QString vp9 = u" -c:v libvpx-vp9 -deadline good -cpu-used 2 -row-mt 1 "_s;
    const QString aac = u"-map 0:1 -c:a aac -af aresample=async=1:first_pts=0 "_s;
    const QString opus = u"-map 0:1 -c:a libopus -af aresample=async=1:first_pts=0 "_s;
    QTest::newRow("H.264 defaults")
        << Format::H264Mp4 << CommandTable::defaults(Format::H264Mp4)
        << u"-map 0:0 -vf scale=640:360,setsar=1/1,format=yuv420p"_s + h264 +
               u"-crf 23 -fps_mode vfr "_s + aac +
               u"-ar 48000 -ac 2 -b:a 160000 -movflags +faststart -f mp4"_s;
    QTest::newRow("H.264 320x240 800 15 44100 96 mono")
        << Format::H264Mp4 << settings(u"320x240"_s, u"800"_s, u"15"_s, u"44100"_s, u"96"_s, 1)
        << u"-map 0:0 -vf scale=320:180,pad=320:240:0:30:black,setsar=1,fps=15/1,format=yuv420p"_s +
               h264 + u"-b:v 800000 -r 15/1 "_s + aac +
               u"-ar 44100 -ac 1 -b:a 96000 -movflags +faststart -f mp4"_s;
    QTest::newRow("HEVC defaults, tagged hvc1")
        << Format::HevcMp4 << CommandTable::defaults(Format::HevcMp4)
        << u"-map 0:0 -vf scale=640:360,setsar=1/1,format=yuv420p"_s + x265 +
               u"-crf 26 -fps_mode vfr "_s + aac +
               u"-ar 48000 -ac 2 -b:a 160000 -movflags +faststart -f mp4"_s;
    QTest::newRow("HEVC 640x480 1500 29 12050 64 stereo")
        << Format::HevcMp4 << settings(u"640x480"_s, u"1500"_s, u"29"_s, u"12050"_s, u"64"_s, 2)
        << u"-map 0:0 -vf scale=640:360,pad=640:480:0:60:black,setsar=1,fps=29/1,format=yuv420p"_s +
               x265 + u"-b:v 1500000 -r 29/1 "_s + aac +
               u"-ar 12000 -ac 2 -b:a 64000 -movflags +faststart -f mp4"_s;
    QTest::newRow("VP9 defaults") << Format::Vp9Webm << CommandTable::defaults(Format::Vp9Webm)
                                  << u"-map 0:0 -vf scale=640:360,setsar=1/1,format=yuv420p"_s +
                                         vp9 + u"-crf 29 -b:v 0 -fps_mode vfr "_s + opus +
                                         u"-ar 48000 -ac 2 -b:a 128000 -f webm"_s;
    QTest::newRow("VP9 Opus takes 48000 for 44100, 24000 for 22050")
        << Format::Vp9Webm << settings(src, u"1000"_s, u"23"_s, u"22050"_s, u"48"_s, 1)
        << u"-map 0:0 -vf scale=640:360,setsar=1/1,fps=23/1,format=yuv420p"_s + vp9 +
               u"-b:v 1000000 -r 23/1 "_s + opus + u"-ar 24000 -ac 1 -b:a 48000 -f webm"_s;
}

void TestEncoderTranslation::stageOne()
{
    QFETCH(Format, format);
    QFETCH(Settings, settings);
    QFETCH(QString, expected);
    const QString output = CommandTable::hasStageTwo(format)
                               ? Intermediate
                               : u"/out/holiday-957"_s + CommandTable::extension(format);
    QCOMPARE(streamOptions(CommandTable::stageOne(format, Input, output, settings)), expected);
}

void TestEncoderTranslation::stageTwo_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QString>("expected");

    const QString src = CommandTable::SourceSize;
    // RealMedia frames are bounded by a 480 kbit decoder buffer.
    const QString rv10 =
        u"-map 0:0 -vf %1 -c:v rv10 -b:v %2 -maxrate %3 -bufsize 480000 "
        "-map 0:1 -c:a ac3 -af aresample=async=1:first_pts=0 -ar %4 -ac %5 -b:a %6 -f rm"_s;
    QTest::newRow("RMVB 原始大小 uses fixed values, shape kept in sixteens")
        << Format::Rmvb << settings(src, u"40"_s, u"15"_s, u"8000"_s, u"10.2"_s, 1)
        << rv10.arg(u"scale=624:352,setsar=1"_s, u"1200000"_s, u"2400000"_s, u"44100"_s, u"2"_s,
                    u"128000"_s);
    QTest::newRow("RM 320x240 1200 44100 320 stereo")
        << Format::Rm << settings(u"320x240"_s, u"1200"_s, u"29"_s, u"44100"_s, u"320"_s, 2)
        << rv10.arg(u"scale=320:180,pad=320:240:0:30:black,setsar=1"_s, u"1200000"_s, u"2400000"_s,
                    u"44100"_s, u"2"_s, u"320000"_s);
    QTest::newRow("RMVB 720x306 40 12050 10.2 mono")
        << Format::Rmvb << settings(u"720x306"_s, u"40"_s, u"29"_s, u"12050"_s, u"10.2"_s, 1)
        << rv10.arg(u"scale=540:304,pad=720:304:90:0:black,setsar=1"_s, u"40000"_s, u"80000"_s,
                    u"32000"_s, u"1"_s, u"32000"_s);
    QTest::newRow("RM 640x360 1500 8000 12.2 mono")
        << Format::Rm << settings(u"640x360"_s, u"1500"_s, u"29"_s, u"8000"_s, u"12.2"_s, 1)
        << rv10.arg(u"scale=626:352,pad=640:352:6:0:black,setsar=1"_s, u"1500000"_s, u"3000000"_s,
                    u"32000"_s, u"1"_s, u"32000"_s);
    QTest::newRow("RMVB 176x144 128 48000 256 no channel chosen")
        << Format::Rmvb << settings(u"176x144"_s, u"128"_s, u"29"_s, u"48000"_s, u"256"_s, 0)
        << rv10.arg(u"scale=176:100,pad=176:144:0:22:black,setsar=1"_s, u"128000"_s, u"256000"_s,
                    u"48000"_s, u"2"_s, u"256000"_s);
    QTest::newRow("RM 320x180 80 28000 56 stereo")
        << Format::Rm << settings(u"320x180"_s, u"80"_s, u"29"_s, u"28000"_s, u"56"_s, 2)
        << rv10.arg(u"scale=312:176,pad=320:176:4:0:black,setsar=1"_s, u"80000"_s, u"160000"_s,
                    u"32000"_s, u"2"_s, u"56000"_s);
    QTest::newRow("RM 128x96 1200 22050 112 stereo")
        << Format::Rm << settings(u"128x96"_s, u"1200"_s, u"29"_s, u"22050"_s, u"112"_s, 2)
        << rv10.arg(u"scale=128:72,pad=128:96:0:12:black,setsar=1"_s, u"1200000"_s, u"2400000"_s,
                    u"32000"_s, u"2"_s, u"112000"_s);

    const QString mov = u"-map 0:0 -vf %1 -c:v mpeg4 -q:v 3 -fps_mode vfr -map 0:1 -c:a aac "
                        "-af aresample=async=1:first_pts=0 -ar 48000 -ac 2 -b:a 128000 "
                        "-movflags +faststart -f mov"_s;
    QTest::newRow("MOV 原始大小") << Format::Mov << CommandTable::defaults(Format::Mov)
                                  << mov.arg(u"scale=640:360,setsar=1/1"_s);
    QTest::newRow("MOV 640x480 ignores bitrates")
        << Format::Mov << settings(u"640x480"_s, u"40"_s, u"15"_s, u"8000"_s, u"10.2"_s, 1)
        << mov.arg(u"scale=640:360,pad=640:480:0:60:black,setsar=1"_s);

    // A fixed size of another shape than the source's gets black bars.
    const QString mobile = u"-map 0:0 -vf %1 -c:v mpeg4 -q:v 3 -fps_mode vfr -map 0:1 -c:a "
                           "libopencore_amrnb -af aresample=async=1:first_pts=0 -ar 8000 -ac 1 "
                           "-b:a 12200 -movflags +faststart -f 3gp"_s;
    QTest::newRow("mobile MP4 原始大小 is 320x240")
        << Format::Mp4Mobile << settings(src, u"128"_s, u"29"_s, u"8000"_s, u"12.2"_s, 1)
        << mobile.arg(u"scale=320:180,pad=320:240:0:30:black,setsar=1"_s);
    QTest::newRow("mobile MP4 720x320")
        << Format::Mp4Mobile << settings(u"720x320"_s, u"128"_s, u"29"_s, u"8000"_s, u"12.2"_s, 1)
        << mobile.arg(u"scale=568:320,pad=720:320:76:0:black,setsar=1"_s);
    QTest::newRow("3GP 原始大小 is 320x240")
        << Format::ThreeGpMobile << settings(src, u"128"_s, u"29"_s, u"8000"_s, u"12.2"_s, 1)
        << mobile.arg(u"scale=320:180,pad=320:240:0:30:black,setsar=1"_s);
    QTest::newRow("3GP 128x96") << Format::ThreeGpMobile
                                << settings(u"128x96"_s, u"128"_s, u"29"_s, u"8000"_s, u"12.2"_s, 1)
                                << mobile.arg(u"scale=128:72,pad=128:96:0:12:black,setsar=1"_s);
}

void TestEncoderTranslation::stageTwo()
{
    QFETCH(Format, format);
    QFETCH(Settings, settings);
    QFETCH(QString, expected);
    const QString output = u"/out/holiday-957"_s + CommandTable::extension(format);
    QCOMPARE(streamOptions(CommandTable::stageTwo(format, Intermediate, output, settings)),
             expected);
}

QTEST_GUILESS_MAIN(TestEncoderTranslation)
#include "tst_encodertranslation.moc"
