#include "encoders/options/CoderOptions.h"
#include "tests/encoders/CutSummary.h"
#include "tests/helpers/Words.h"

#include <QTest>

using namespace Qt::StringLiterals;

// How coder.exe and coder2.exe read FFmpeg-style options, and how they
// refuse what they cannot honour.
class TestCoderOptions final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
};

namespace {

QString summary(const EncodeRequest &request)
{
    const auto number = [](const auto &value) { return value ? QString::number(*value) : u"-"_s; };
    const QString size =
        request.video.size
            ? u"%1x%2"_s.arg(request.video.size->width()).arg(request.video.size->height())
            : u"-"_s;
    return u"in=%1 out=%2 y=%3 f=%4 video=%5:%6@%7 size=%8 audio=%9"_s.arg(
               request.input, request.output, request.overwrite ? u"1"_s : u"0"_s,
               request.container, request.video.enabled ? u"on"_s : u"off"_s, request.video.codec,
               number(request.video.bitsPerSecond), size, request.audio.codec) +
           u"@%1 ar=%2 ac=%3"_s.arg(number(request.audio.bitsPerSecond),
                                    number(request.audio.sampleRate),
                                    number(request.audio.channels)) +
           cutSummary(request.cut);
}

} // namespace

void TestCoderOptions::accepted_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");

    QTest::newRow("RMVB 原始大小, double blank")
        << QStringList{u"-i"_s, u"/c/tmp.mp4"_s} +
               words(u"-y -vcodec rv10 -b 1200k -f rm  -ab 128k -ac 2 "_s) +
               QStringList{u"/o/a b-957.rmvb"_s}
        << u"in=/c/tmp.mp4 out=/o/a b-957.rmvb y=1 f=rm video=on:rv10@1200000 size=- "
           "audio=@128000 ar=- ac=2"_s;
    QTest::newRow("RM custom")
        << words(u"-i /c/tmp.mp4 -y -s 320x240 -vcodec rv10 -b 1200k -f rm -ar 44100 -ab 320k "
                 "-ac 2 /o/a.rm"_s)
        << u"in=/c/tmp.mp4 out=/o/a.rm y=1 f=rm video=on:rv10@1200000 size=320x240 "
           "audio=@320000 ar=44100 ac=2"_s;
    QTest::newRow("MOV custom")
        << words(u"-i /c/tmp.mp4 -y -s 640x480 -ac 2 -ar 48000 -ab 128k /o/a.mov"_s)
        << u"in=/c/tmp.mp4 out=/o/a.mov y=1 f= video=on:@- size=640x480 audio=@128000 ar=48000 "
           "ac=2"_s;
    QTest::newRow("mobile, amr_nb, 12.2k")
        << words(u"-i /c/tmp.mp4 -y -s 320x240 -vcodec mpeg4 -acodec amr_nb -ac 1 -ar 8000 -ab "
                 "12.2k /o/a.3gp"_s)
        << u"in=/c/tmp.mp4 out=/o/a.3gp y=1 f= video=on:mpeg4@- size=320x240 audio=amr_nb@12200 "
           "ar=8000 ac=1"_s;
    QTest::newRow("MP3 with -vn and channel 0")
        << words(u"-i /in/a.avi -y -vn -ar 12050 -ab 10.2k -ac 0 /o/a.mp3"_s)
        << u"in=/in/a.avi out=/o/a.mp3 y=1 f= video=off:@- size=- audio=@10200 ar=12050 ac=0"_s;
    QTest::newRow("encoder names and bare kbit/s of early builds")
        << words(u"-i /a -acodec libopencore_amrnb -b 300 -ab 64 /o.3gp"_s)
        << u"in=/a out=/o.3gp y=0 f= video=on:@300000 size=- audio=amr_nb@64000 ar=- ac=-"_s;
    QTest::newRow("today's encoders by their ffmpeg names, a frame rate")
        << words(u"-i /a -y -vcodec libx265 -r 25 -acodec aac -ar 48000 -ab 160k -ac 2 /o.mp4"_s)
        << u"in=/a out=/o.mp4 y=1 f= video=on:hevc@- size=- audio=aac@160000 ar=48000 ac=2"_s;
    QTest::newRow("bare bit/s and M suffix")
        << words(u"-i /a -b 1.5M -ab 64000 /o.rm"_s)
        << u"in=/a out=/o.rm y=0 f= video=on:@1500000 size=- audio=@64000 ar=- ac=-"_s;
    QTest::newRow("-ss and -t")
        << words(u"-ss 1 -t 00:00:02.5 -i /a -vn /o.mp3"_s)
        << u"in=/a out=/o.mp3 y=0 f= video=off:@- size=- audio=@- ar=- ac=- cut=1+2.5"_s;
    QTest::newRow("output with leading dash comes last")
        << QStringList{u"-i"_s, u"-in 视频.avi"_s, u"-vn"_s, u"-out \"视频\".mp3"_s}
        << u"in=-in 视频.avi out=-out \"视频\".mp3 y=0 f= video=off:@- size=- audio=@- ar=- ac=-"_s;
}

void TestCoderOptions::accepted()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    const ParsedRequest parsed = CoderOptions::parse(arguments);
    QVERIFY2(parsed.ok(), qPrintable(parsed.error));
    QCOMPARE(summary(parsed.request), expected);
}

void TestCoderOptions::refused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");

    QTest::newRow("blank typed inside the bitrate")
        << words(u"-i /c/tmp.mp4 -y -s 320x240 -vcodec rv10 -b 1200 k -f rm /o/a.rm"_s)
        << u"more than one output file: \"k\" and \"/o/a.rm\"; is there a blank inside a value?"_s;
    QTest::newRow("blank inside the size")
        << words(u"-i /c/tmp.mp4 -y -s 320 x240 /o/a.mov"_s)
        << u"-s needs a frame size such as 320x240, not \"320\""_s;
    QTest::newRow("-t with a sign") << words(u"-i /a -t -2 /o.mp3"_s)
                                    << u"-t needs a time such as 90 or 00:01:30, not \"-2\""_s;
    QTest::newRow("size of zero") << words(u"-i /a -s 0x240 /o.mov"_s)
                                  << u"-s needs a frame size such as 320x240, not \"0x240\""_s;
    QTest::newRow("size too large") << words(u"-i /a -s 9000x240 /o.mov"_s)
                                    << u"-s needs a frame size such as 320x240, not \"9000x240\""_s;
    QTest::newRow("letters in -ab") << words(u"-i /a -ab 12.2kb /o.mp3"_s)
                                    << u"-ab needs a bitrate such as 128k, not \"12.2kb\""_s;
    QTest::newRow("letters in -b")
        << words(u"-i /a -b fast /o.rm"_s) << u"-b needs a bitrate such as 1200k, not \"fast\""_s;
    QTest::newRow("zero -ar") << words(u"-i /a -ar 0 /o.mp3"_s)
                              << u"-ar needs a sample rate in Hz such as 44100, not \"0\""_s;
    QTest::newRow("decimal -ar") << words(u"-i /a -ar 44.1 /o.mp3"_s)
                                 << u"-ar needs a sample rate in Hz such as 44100, not \"44.1\""_s;
    QTest::newRow("negative -ac") << words(u"-i /a -ac -1 /o.mp3"_s)
                                  << u"-ac needs a channel count, not \"-1\""_s;
    QTest::newRow("unknown video codec")
        << words(u"-i /a -vcodec vp8 /o.mov"_s) << u"unsupported video codec -vcodec vp8"_s;
    QTest::newRow("frame rate of nothing")
        << words(u"-i /a -r 0 /o.mp4"_s)
        << u"-r needs a frame rate such as 25 or 30000/1001, not \"0\""_s;
    QTest::newRow("frame rate in words")
        << words(u"-i /a -r 原始帧率 /o.mp4"_s)
        << u"-r needs a frame rate such as 25 or 30000/1001, not \"原始帧率\""_s;
    QTest::newRow("unknown audio codec")
        << words(u"-i /a -acodec vorbis /o.mov"_s) << u"unsupported audio codec -acodec vorbis"_s;
    QTest::newRow("unknown option")
        << words(u"-i /a -threads 2 /o.mov"_s) << u"unknown option -threads"_s;
    QTest::newRow("unknown option last, no extension")
        << words(u"-i /a /o.mov -bogus"_s) << u"unknown option -bogus"_s;
    QTest::newRow("value missing") << words(u"-i /a /o.mov -ab"_s) << u"option -ab needs a value"_s;
    QTest::newRow("two inputs") << words(u"-i /a -i /b /o.mov"_s)
                                << u"only one input file can be given with -i"_s;
    QTest::newRow("no input") << words(u"-y /o.mov"_s) << u"no input file given: use -i"_s;
    QTest::newRow("no output") << words(u"-i /a -y"_s) << u"no output file given"_s;
}

void TestCoderOptions::refused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    QCOMPARE(CoderOptions::parse(arguments).error, reason);
}

QTEST_GUILESS_MAIN(TestCoderOptions)
#include "tst_coderoptions.moc"
