#include "encoders/options/CoderOptions.h"
#include "encoders/plan/FfmpegPlan.h"
#include "encoders/protocol/JobChoices.h"
#include "tests/helpers/Words.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The ffmpeg command for one request and one probed input: which streams
// it maps, how it names files, what the output must then show.
class TestFfmpegPlan final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholeCommand();
    void streams_data();
    void streams();
    void burnsSubtitles_data();
    void burnsSubtitles();
    void choosesTheSoundTrack_data();
    void choosesTheSoundTrack();
    void expectation();
    void lastsAsTheSourcePlays_data();
    void lastsAsTheSourcePlays();
};

namespace {

// Progressive, as ffmpeg reads H.264 coded in frames.
MediaInfo::Video progressive(MediaInfo::Video video)
{
    video.fieldOrder = u"progressive"_s;
    return video;
}

MediaInfo::Video video640x360()
{
    return progressive({0, u"h264"_s, QSize(640, 360)});
}

// What phones, DVDs and old players write: turned pictures, non-square
// pixels, header rates off the real one.
MediaInfo::Video sourceVideo(QSize size, int rotation, MediaInfo::PixelAspect pixelAspect,
                             double frameRate)
{
    MediaInfo::Video video = progressive({0, u"h264"_s, size});
    video.rotation = rotation;
    video.pixelAspect = pixelAspect;
    video.frameRate = frameRate;
    return video;
}

MediaInfo::Audio stereo44100(int index = 1)
{
    return {index, u"aac"_s, 44100, 2};
}

MediaInfo input(std::optional<MediaInfo::Video> video, std::optional<MediaInfo::Audio> audio)
{
    MediaInfo info;
    info.formatNames = {u"mov"_s, u"mp4"_s};
    info.durationSeconds = 2.0;
    info.video = video;
    info.audio = audio;
    return info;
}

EncodeRequest coderRequest(const QString &options)
{
    const ParsedRequest parsed =
        CoderOptions::parse(u"-i /in/a.mp4 -y "_s.append(options).split(u' ', Qt::SkipEmptyParts));
    return parsed.request;
}

} // namespace

void TestFfmpegPlan::wholeCommand()
{
    EncodeRequest request = coderRequest(u"-ss 0.5 -t 1 -vn -ar 44100 -ab 128k -ac 2 /o/a.mp3"_s);
    request.input = u"-clip: 视频 \"1\".avi"_s;
    const FfmpegPlan plan = FfmpegPlan::build(request, input(video640x360(), stereo44100()));
    QVERIFY2(plan.ok(), qPrintable(plan.error()));
    const QStringList expected =
        words(u"-nostdin -hide_banner -loglevel error -nostats -progress pipe:1 "
              "-ss 0.500 -t 1.000 -i"_s) +
        QStringList{u"file:-clip: 视频 \"1\".avi"_s} +
        words(u"-map 0:1 -c:a libmp3lame -af aresample=async=1 -ar 44100 -ac 2 "
              "-b:a 128000 -f mp3 -y file:/o/.a.part-Xy12ab.mp3"_s);
    QCOMPARE(plan.arguments(u"/o/.a.part-Xy12ab.mp3"_s), expected);
}

void TestFfmpegPlan::streams_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<MediaInfo>("source");
    QTest::addColumn<QString>("expected"); // stream options, or "error: ..."

    QTest::newRow("video-only input gives video-only MOV")
        << u"-ac 2 -ar 48000 -ab 128k /o/a.mov"_s << input(video640x360(), std::nullopt)
        << u"-map 0:0 -vf scale=640:360,setsar=1/1 -c:v mpeg4 -q:v 3 -fps_mode vfr -movflags +faststart -f mov"_s;
    QTest::newRow("audio-only input cannot make MOV")
        << u"-ac 2 -ar 48000 -ab 128k /o/a.mov"_s << input(std::nullopt, stereo44100(0))
        << u"error: the input has no video stream"_s;
    QTest::newRow("MP3 needs audio")
        << u"-vn -ar 44100 -ab 128k -ac 2 /o/a.mp3"_s << input(video640x360(), std::nullopt)
        << u"error: the input has no audio stream"_s;
    QTest::newRow("MP3 without -vn still drops the picture")
        << u"-ar 44100 /o/a.mp3"_s << input(video640x360(), stereo44100())
        << u"-map 0:1 -c:a libmp3lame -af aresample=async=1 -ar 44100 -ac 2 -f mp3"_s;
    QTest::newRow("-ac 0 keeps 5.1 in AC-3")
        << u"-s 320x240 -vcodec rv10 -b 600k -f rm -ar 48000 -ab 384k -ac 0 /o/a.rm"_s
        << input(video640x360(), MediaInfo::Audio{1, u"ac3"_s, 48000, 6})
        << u"-map 0:0 -vf scale=320:180,pad=320:240:0:30:black,setsar=1 -c:v rv10 -b:v 600000 -maxrate 1200000 -bufsize 480000 -map 0:1 -c:a ac3 -af aresample=async=1:first_pts=0 -ar 48000 -ac 6 -b:a 384000 -f rm"_s;
    QTest::newRow("RealMedia without a bitrate still bounds its frames")
        << u"-f rm /o/a.rm"_s << input(video640x360(), stereo44100())
        << u"-map 0:0 -vf scale=624:352,setsar=1 -c:v rv10 -b:v 1200000 -maxrate 2400000 -bufsize 480000 -map 0:1 -c:a ac3 -af aresample=async=1:first_pts=0 -ar 44100 -ac 2 -f rm"_s;
    QTest::newRow("-ac 0 folds 5.1 into stereo MP3")
        << u"-vn -ar 48000 -ab 320k -ac 0 /o/a.mp3"_s
        << input(std::nullopt, MediaInfo::Audio{0, u"ac3"_s, 48000, 6})
        << u"-map 0:0 -c:a libmp3lame -af aresample=async=1 -ar 48000 -ac 2 -b:a 320000 -f mp3"_s;
    QTest::newRow("maps the streams ffprobe found")
        << u"/o/a.mov"_s << input(progressive({2, u"h264"_s, QSize(1280, 720)}), stereo44100(5))
        << u"-map 0:2 -vf scale=1280:720,setsar=1/1 -c:v mpeg4 -q:v 3 -fps_mode vfr -map 0:5 -c:a aac -af aresample=async=1:first_pts=0 -ar 44100 -ac 2 -movflags +faststart -f mov"_s;
    QTest::newRow("unknown source rate and channels")
        << u"-vn /o/a.mp3"_s << input(std::nullopt, MediaInfo::Audio{0, u"pcm"_s, 0, 0})
        << u"-map 0:0 -c:a libmp3lame -af aresample=async=1 -ar 44100 -ac 2 -f mp3"_s;
    QTest::newRow("odd source size made even")
        << u"/o/a.3gp"_s << input(progressive({0, u"h264"_s, QSize(641, 361)}), std::nullopt)
        << u"-map 0:0 -vf scale=640:360,setsar=1/1 -c:v mpeg4 -q:v 3 -fps_mode vfr -movflags +faststart -f 3gp"_s;
    const MediaInfo::Video portrait = sourceVideo(QSize(640, 360), 90, {1, 1}, 29.97);
    QTest::newRow("phone video turned upright in MP4")
        << u"/o/a.mp4"_s << input(portrait, std::nullopt)
        << u"-map 0:0 -vf scale=360:640,setsar=1/1 -c:v mpeg4 -q:v 3 -fps_mode vfr -movflags +faststart -f mp4"_s;
    QTest::newRow("phone video turned upright in RealMedia, whole frame rate")
        << u"-f rm /o/a.rm"_s
        << input(sourceVideo(QSize(640, 360), 270, {1, 1}, 29.97), std::nullopt)
        << u"-map 0:0 -vf scale=352:624,setsar=1,fps=30/1 -c:v rv10 -b:v 1200000 -maxrate 2400000 -bufsize 480000 -r 30/1 -f rm"_s;
    QTest::newRow("a chosen size keeps the picture's shape: portrait pillarboxed")
        << u"-s 320x240 /o/a.mp4"_s << input(portrait, std::nullopt)
        << u"-map 0:0 -vf scale=136:240,pad=320:240:92:0:black,setsar=1 -c:v mpeg4 -q:v 3 -fps_mode vfr -movflags +faststart -f mp4"_s;
    const MediaInfo::Video pal = sourceVideo(QSize(720, 576), 0, {64, 45}, 25.0);
    QTest::newRow("PAL 16:9 keeps its pixels in MOV")
        << u"/o/a.mov"_s << input(pal, std::nullopt)
        << u"-map 0:0 -vf scale=720:576,setsar=64/45 -c:v mpeg4 -q:v 3 -fps_mode vfr -movflags +faststart -f mov"_s;
    QTest::newRow("PAL 16:9 in RealMedia gets square pixels")
        << u"-f rm /o/a.rm"_s << input(pal, std::nullopt)
        << u"-map 0:0 -vf scale=1024:576,setsar=1,fps=25/1 -c:v rv10 -b:v 1200000 -maxrate 2400000 -bufsize 480000 -r 25/1 -f rm"_s;
    QTest::newRow("MP3 at 8 kHz moved up for an MP4")
        << u"-vn -acodec mp3 /o/a.mp4"_s
        << input(std::nullopt, MediaInfo::Audio{0, u"amr_nb"_s, 8000, 1})
        << u"-map 0:0 -c:a libmp3lame -af aresample=async=1 -ar 16000 -ac 1 -movflags +faststart -f mp4"_s;
    QTest::newRow("1 fps RealMedia gets a bitrate its frame buffer holds")
        << u"-f rm /o/a.rm"_s << input(sourceVideo(QSize(640, 360), 0, {1, 1}, 1.0), std::nullopt)
        << u"-map 0:0 -vf scale=624:352,setsar=1,fps=1/1 -c:v rv10 -b:v 240000 -maxrate 480000 -bufsize 480000 -r 1/1 -f rm"_s;
    QTest::newRow("1 fps MPEG-2 repeats its pictures at a rate MPEG-2 takes")
        << u"/o/a.mpg"_s << input(sourceVideo(QSize(640, 360), 0, {1, 1}, 1.0), stereo44100())
        << u"-map 0:0 -vf scale=640:360,setsar=1/1,fps=24000/1001 -c:v mpeg2video -flags +low_delay -q:v 3 -r 24000/1001 -map 0:1 -c:a mp2 -af aresample=async=1:first_pts=0 -ar 44100 -ac 2 -f vob"_s;
    MediaInfo::Video dvd = sourceVideo(QSize(720, 576), 0, {16, 15}, 25.0);
    dvd.fieldOrder = u"tt"_s;
    QTest::newRow("interlaced DVD woven into frames")
        << u"-vcodec libx264 /o/a.mp4"_s << input(dvd, std::nullopt)
        << u"-map 0:0 -vf scale=interl=1,format=yuv420p,bwdif=mode=send_frame,scale=720:576,"
           u"setsar=16/15,format=yuv420p -c:v libx264 -preset faster -profile:v high -crf 23 "
           u"-fps_mode vfr -movflags +faststart -f mp4"_s;
    MediaInfo::Video unsure = dvd;
    unsure.fieldOrder.clear();
    QTest::newRow("field order not stated: combed frames found and woven")
        << u"-f rm /o/a.rm"_s << input(unsure, std::nullopt)
        << u"-map 0:0 -vf idet,scale=interl=-1,format=yuv420p,bwdif=mode=send_frame:deint="
           u"interlaced,scale=768:576,setsar=1,fps=25/1 -c:v rv10 -b:v 1200000 -maxrate 2400000 "
           u"-bufsize 480000 -r 25/1 -f rm"_s;
    MediaInfo::Video pq = sourceVideo(QSize(1280, 720), 0, {1, 1}, 30.0);
    pq.colourTransfer = u"smpte2084"_s;
    QTest::newRow("PQ tone-mapped to BT.709 and tagged so")
        << u"-r 30 /o/a.mpg"_s << input(pq, std::nullopt)
        << u"-map 0:0 -vf zscale=tin=smpte2084:pin=bt2020:min=bt2020nc:t=linear:npl=100,"
           u"format=gbrpf32le,zscale=p=bt709,tonemap=tonemap=hable:desat=0,zscale=t=bt709:m=bt709:"
           u"r=tv,format=yuv420p,scale=1280:720,setsar=1/1,fps=30/1 -c:v mpeg2video -flags "
           u"+low_delay -color_primaries bt709 -color_trc bt709 -colorspace bt709 -q:v 3 -r 30/1 "
           u"-f vob"_s;
    QTest::newRow("a picture under HEVC's coding block padded, then cropped for decoders")
        << u"-vcodec libx265 /o/a.mp4"_s
        << input(sourceVideo(QSize(48, 144), 0, {1, 1}, 30.0), std::nullopt)
        << u"-map 0:0 -vf scale=48:144,setsar=1/1,pad=64:144:0:0:black,format=yuv420p -c:v "
           u"libx265 -preset fast -profile:v main -x265-params log-level=error -tag:v hvc1 -bsf:v "
           u"hevc_metadata=crop_right=16:crop_bottom=0 -crf 26 -fps_mode vfr -movflags +faststart "
           u"-f mp4"_s;
    QTest::newRow("extension and codecs disagree")
        << u"-vcodec rv10 /o/a.mp4"_s << input(video640x360(), stereo44100())
        << u"error: rv10 video cannot be stored in a .mp4 file"_s;
    QTest::newRow("cut starting at the input's end")
        << u"-ss 2 -vn /o/a.mp3"_s << input(video640x360(), stereo44100())
        << u"error: nothing is left of the input from 2 s on"_s;
}

void TestFfmpegPlan::streams()
{
    QFETCH(QString, options);
    QFETCH(MediaInfo, source);
    QFETCH(QString, expected);
    const FfmpegPlan plan = FfmpegPlan::build(coderRequest(options), source);
    if (!plan.ok()) {
        QCOMPARE(u"error: "_s + plan.error(), expected);
        return;
    }
    const QStringList arguments = plan.arguments(u"/o/part"_s);
    const qsizetype first = arguments.indexOf(u"-i"_s) + 2;
    QCOMPARE(arguments.mid(first, arguments.size() - first - 2).join(u' '), expected);
}

void TestFfmpegPlan::burnsSubtitles_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<MediaInfo>("source");
    QTest::addColumn<BurnedSubtitles>("subtitles");
    QTest::addColumn<QString>("expected"); // the picture's part of the command

    const QString plainStyle = u"force_style=FontName=Noto Sans CJK SC\\,FontSize=%1\\,"
                               u"Outline=1.2\\,Shadow=0.5\\,MarginV=14"_s;
    const BurnedSubtitles srt{BurnedSubtitles::Kind::File, u"/w/s.srt"_s, false, {}};
    QTest::newRow("SubRip file in a readable size, inside the letterboxed picture")
        << u"-s 320x240 /o/a.mp4"_s << input(video640x360(), std::nullopt) << srt
        << u"-map 0:0 -vf scale=320:180,subtitles=filename=/w/s.srt:%1,pad=320:240:0:30:black,"
           u"setsar=1 -c:v"_s.arg(plainStyle.arg(22));
    QTest::newRow("large picture: a share of its height")
        << u"/o/a.mp4"_s << input(sourceVideo(QSize(1920, 1080), 0, {1, 1}, 25.0), std::nullopt)
        << srt
        << u"-map 0:0 -vf scale=1920:1080,subtitles=filename=/w/s.srt:%1,setsar=1/1 -c:v"_s.arg(
               plainStyle.arg(17));
    QTest::newRow("ASS styles kept, cut kept in time")
        << u"-ss 1.5 -f rm /o/a.rm"_s << input(video640x360(), std::nullopt)
        << BurnedSubtitles{BurnedSubtitles::Kind::File, u"/w/s.ass"_s, true, {}}
        << u"-map 0:0 -vf scale=624:352,setpts=PTS+1.500/TB,subtitles=filename=/w/s.ass,"
           u"setpts=PTS-1.500/TB,setsar=1 -c:v"_s;
    MediaInfo tracks = input(video640x360(), std::nullopt);
    tracks.startSeconds = 1.4;
    tracks.subtitleTracks = {{2, u"subrip"_s, u"eng"_s}, {3, u"ass"_s, u"chi"_s, true}};
    QTest::newRow("text track of the input, on the input's own clock")
        << u"/o/a.mov"_s << tracks
        << BurnedSubtitles{BurnedSubtitles::Kind::Track, {}, false, tracks.subtitleTracks.at(1)}
        << uR"(-map 0:0 -vf scale=640:360,setpts=PTS+1.400/TB,subtitles=filename=/in/a\\\\\\\'b\\:c\,d\[e\]\;f.mkv:si=1,setpts=PTS-1.400/TB,setsar=1/1 -c:v)"_s;
    MediaInfo dvd = tracks;
    dvd.subtitleTracks = {{4, u"dvd_subtitle"_s, u"chi"_s, true, false, true}};
    QTest::newRow("picture subtitles drawn on the source's canvas")
        << u"/o/a.mov"_s << dvd
        << BurnedSubtitles{BurnedSubtitles::Kind::Track, {}, false, dvd.subtitleTracks.at(0)}
        << u"-filter_complex [0:0]null[picture];[0:4][picture]scale2ref[subtitles][base];[base]"
           u"[subtitles]overlay=eof_action=pass,scale=640:360,setsar=1/1[out] -map [out] -c:v"_s;
}

void TestFfmpegPlan::burnsSubtitles()
{
    QFETCH(QString, options);
    QFETCH(MediaInfo, source);
    QFETCH(BurnedSubtitles, subtitles);
    QFETCH(QString, expected);
    EncodeRequest request = coderRequest(options);
    request.input = u"/in/a\\'b:c,d[e];f.mkv"_s;
    const FfmpegPlan plan = FfmpegPlan::build(request, source, subtitles);
    QVERIFY2(plan.ok(), qPrintable(plan.error()));
    const QStringList arguments = plan.arguments(u"/o/part"_s);
    const QString picture = arguments.mid(arguments.indexOf(u"-i"_s) + 2).join(u' ');
    QCOMPARE(picture.first(picture.indexOf(u" -c:v"_s) + 5), expected);
}

void TestFfmpegPlan::choosesTheSoundTrack_data()
{
    using Track = JobChoices::AudioTrack;
    QTest::addColumn<JobChoices::AudioTrack>("asked");
    QTest::addColumn<int>("stream");
    QTest::addColumn<bool>("noted");

    QTest::newRow("the default track") << Track{} << 2 << false;
    QTest::newRow("by number, counting from 1") << Track::byNumber(1) << 1 << false;
    QTest::newRow("by a language's other code") << Track::byLanguage(u"zh"_s) << 1 << false;
    QTest::newRow("by a regional tag") << Track::byLanguage(u"en-US"_s) << 2 << false;
    QTest::newRow("a number past the tracks") << Track::byNumber(3) << 2 << true;
    QTest::newRow("a language no track has") << Track::byLanguage(u"fre"_s) << 2 << true;
}

void TestFfmpegPlan::choosesTheSoundTrack()
{
    QFETCH(JobChoices::AudioTrack, asked);
    QFETCH(int, stream);
    QFETCH(bool, noted);
    MediaInfo source = input(video640x360(), std::nullopt);
    source.audioTracks = {{1, u"aac"_s, 48000, 2, {}, u"chi"_s, false},
                          {2, u"aac"_s, 44100, 6, {}, u"eng"_s, true}};
    source.audio = source.audioTracks.at(1);
    EncodeRequest request = coderRequest(u"-vn /o/a.mp3"_s);
    request.choices.audioTrack = asked;
    const FfmpegPlan plan = FfmpegPlan::build(request, source);
    QVERIFY2(plan.ok(), qPrintable(plan.error()));
    QVERIFY(plan.arguments(u"/o/part"_s).join(u' ').contains(u"-map 0:%1 "_s.arg(stream)));
    QCOMPARE(!plan.note().isEmpty(), noted);
}

void TestFfmpegPlan::expectation()
{
    const FfmpegPlan plan =
        FfmpegPlan::build(coderRequest(u"-s 640x480 -ac 2 -ar 48000 -ab 128k /o/a.mov"_s),
                          input(video640x360(), stereo44100()));
    const OutputExpectation &expected = plan.expectation();
    QCOMPARE(expected.probeName, u"mov"_s);
    QCOMPARE(expected.brand, u"qt"_s);
    QCOMPARE(expected.video->codec, u"mpeg4"_s);
    QCOMPARE(expected.video->size, QSize(640, 480));
    QCOMPARE(expected.audio->codec, u"aac"_s);
    QCOMPARE(expected.audio->sampleRate, 48000);
    QCOMPARE(expected.audio->channels, 2);
    QCOMPARE(expected.durationSeconds, std::optional<double>(2.0));
}

void TestFfmpegPlan::lastsAsTheSourcePlays_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<MediaInfo>("source");
    QTest::addColumn<double>("seconds");

    MediaInfo late = input(video640x360(), stereo44100());
    late.durationSeconds = 4.0;
    late.video->span = {0.0, 4.0};
    late.audio->span = {2.0, 4.0};
    QTest::newRow("picture and late sound") << u"/o/a.mov"_s << late << 4.0;
    QTest::newRow("late sound alone") << u"-vn /o/a.mp3"_s << late << 2.0;
    MediaInfo overstated = input(video640x360(), std::nullopt);
    overstated.durationSeconds = 14.4;
    overstated.video->span = {0.0, 12.93};
    QTest::newRow("header promising more than the packets") << u"/o/a.mp4"_s << overstated << 12.93;
    MediaInfo shortSound = overstated;
    shortSound.audio = stereo44100();
    shortSound.audio->span = {0.5, 3.0};
    QTest::newRow("the longer kept stream") << u"/o/a.mp4"_s << shortSound << 12.93;
    QTest::newRow("no stream end known")
        << u"/o/a.mp4"_s << input(video640x360(), stereo44100()) << 2.0;
    QTest::newRow("cut inside") << u"-ss 1 -t 2 /o/a.mov"_s << late << 2.0;
    QTest::newRow("cut past the end") << u"-ss 3 -t 5 /o/a.mov"_s << late << 1.0;
    QTest::newRow("cut from a start on") << u"-ss 0.93 /o/a.mp4"_s << overstated << 12.0;
    MediaInfo unknown = input(video640x360(), std::nullopt);
    unknown.durationSeconds.reset();
    QTest::newRow("cut of an input of unknown length") << u"-t 5 /o/a.mp4"_s << unknown << 5.0;
}

void TestFfmpegPlan::lastsAsTheSourcePlays()
{
    QFETCH(QString, options);
    QFETCH(MediaInfo, source);
    QFETCH(double, seconds);
    const FfmpegPlan plan = FfmpegPlan::build(coderRequest(options), source);
    QVERIFY2(plan.ok(), qPrintable(plan.error()));
    QVERIFY(plan.expectation().durationSeconds.has_value());
    QCOMPARE(*plan.expectation().durationSeconds, seconds);
}

QTEST_GUILESS_MAIN(TestFfmpegPlan)
#include "tst_ffmpegplan.moc"
