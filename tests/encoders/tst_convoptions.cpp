#include "encoders/options/ConvOptions.h"
#include "tests/encoders/CutSummary.h"
#include "tests/helpers/Words.h"

#include <QTest>

using namespace Qt::StringLiterals;

// How conv.exe reads MEncoder-style options, and how it refuses the ones
// it cannot honour.
class TestConvOptions final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void accepted_data();
    void accepted();
    void lamePresets_data();
    void lamePresets();
    void refused_data();
    void refused();
    void leadingDashInput_data();
    void leadingDashInput();
};

namespace {

ParsedRequest parse(const QStringList &arguments, const QString &existingFile = {})
{
    return ConvOptions::parse(arguments,
                              [existingFile](const QString &path) { return path == existingFile; });
}

// The request's fields in one line, so a row states all of them at once.
QString summary(const EncodeRequest &request)
{
    const auto number = [](const auto &value) { return value ? QString::number(*value) : u"-"_s; };
    return u"in=%1 out=%2 format=%3 video=%4@%5 fps=%6 audio=%7@%8"_s.arg(
               request.input, request.output, request.container, request.video.codec,
               number(request.video.bitsPerSecond), number(request.video.frameRate),
               request.audio.codec, number(request.audio.bitsPerSecond)) +
           cutSummary(request.cut);
}

} // namespace

void TestConvOptions::accepted_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");

    QTest::newRow("MPG defaults")
        << QStringList{u"/in/a b.avi"_s} +
               words(u"-oac lavc -lavcopts acodec=mp2:abitrate=64 -ovc lavc -lavcopts "
                     "vcodec=mpeg2video:vbitrate=600:vpass=1 -ofps 24 -of lavf -lavfopts "
                     "format=yuv4mpeg -o /out/a-957.mpg"_s)
        << u"in=/in/a b.avi out=/out/a-957.mpg format=yuv4mpeg video=mpeg2video@600000 fps=24 "
           "audio=mp2@64000"_s;
    QTest::newRow("abitrate 10.2 is kept as asked")
        << words(u"/in/a.avi -oac lavc -lavcopts acodec=mp2:abitrate=10.2 -ovc lavc -lavcopts "
                 "vcodec=mpeg2video:vbitrate=40:vpass=1 -ofps 15 -of lavf -o /o.mpg"_s)
        << u"in=/in/a.avi out=/o.mpg format= video=mpeg2video@40000 fps=15 audio=mp2@10200"_s;
    QTest::newRow("two-stage intermediate")
        << words(u"/in/a.avi -oac mp3lame -lameopts preset=320 -ovc lavc -lavcopts "
                 "vcodec=mpeg4:vbitrate=1200 -of avi -o /cache/tmp.mp4"_s)
        << u"in=/in/a.avi out=/cache/tmp.mp4 format=avi video=mpeg4@1200000 fps=- "
           "audio=mp3@320000"_s;
    QTest::newRow("later -lavcopts add to earlier ones")
        << words(u"/a.avi -oac lavc -lavcopts abitrate=96 -ovc lavc -lavcopts vbitrate=800 -o "
                 "/o.avi"_s)
        << u"in=/a.avi out=/o.avi format=avi video=mpeg4@800000 fps=- audio=mp2@96000"_s;
    QTest::newRow("vbitrate above 16000 is bit/s")
        << words(u"/a.avi -oac lavc -ovc lavc -lavcopts vbitrate=900000 -of mpeg -o /o.mpg"_s)
        << u"in=/a.avi out=/o.mpg format=mpeg video=mpeg4@900000 fps=- audio=mp2@-"_s;
    QTest::newRow("acodec is ignored with mp3lame")
        << words(u"/a.avi -oac mp3lame -lavcopts acodec=mp2:abitrate=64 -ovc lavc -o /o.avi"_s)
        << u"in=/a.avi out=/o.avi format=avi video=mpeg4@- fps=- audio=mp3@-"_s;
    QTest::newRow("fractional -ofps")
        << words(u"/a.avi -oac lavc -ovc lavc -ofps 30000/1001 -o /o.avi"_s)
        << u"in=/a.avi out=/o.avi format=avi video=mpeg4@- fps=29.97 audio=mp2@-"_s;
    QTest::newRow("-endpos counts from -ss")
        << words(u"-ss 90 -endpos 1:30 /a.avi -oac lavc -ovc lavc -o /o.avi"_s)
        << u"in=/a.avi out=/o.avi format=avi video=mpeg4@- fps=- audio=mp2@- cut=90+90"_s;
    QTest::newRow("-ss in hours, alone")
        << words(u"/a.avi -oac lavc -ovc lavc -ss 1:02:03.5 -o /o.avi"_s)
        << u"in=/a.avi out=/o.avi format=avi video=mpeg4@- fps=- audio=mp2@- cut=3723.5+-"_s;
}

void TestConvOptions::accepted()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    const ParsedRequest parsed = parse(arguments);
    QVERIFY2(parsed.ok(), qPrintable(parsed.error));
    QCOMPARE(summary(parsed.request), expected);
    QVERIFY(parsed.request.overwrite);
}

void TestConvOptions::lamePresets_data()
{
    QTest::addColumn<QString>("preset");
    QTest::addColumn<qint64>("bitsPerSecond");
    QTest::addColumn<int>("quality");

    // A bitrate is written at that constant rate: an average never reaches
    // 320 kbit/s and falls far short on plain sound.
    QTest::newRow("a bitrate") << u"128"_s << qint64(128000) << -1;
    QTest::newRow("12.2") << u"12.2"_s << qint64(12200) << -1;
    QTest::newRow("insane is constant 320") << u"insane"_s << qint64(320000) << -1;
    QTest::newRow("extreme") << u"extreme"_s << qint64(0) << 0;
    QTest::newRow("standard") << u"standard"_s << qint64(0) << 2;
    QTest::newRow("medium") << u"medium"_s << qint64(0) << 4;
}

void TestConvOptions::lamePresets()
{
    QFETCH(QString, preset);
    QFETCH(qint64, bitsPerSecond);
    QFETCH(int, quality);
    const ParsedRequest parsed = parse(
        words(u"/a.avi -ovc lavc -oac mp3lame -lameopts preset="_s + preset + u" -o /o.mp4"_s));
    QVERIFY2(parsed.ok(), qPrintable(parsed.error));
    QCOMPARE(parsed.request.audio.bitsPerSecond.value_or(0), bitsPerSecond);
    QCOMPARE(parsed.request.audio.vbrQuality.value_or(-1), quality);
}

void TestConvOptions::refused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");

    const QString encoders = u" -oac lavc -ovc lavc"_s;
    QTest::newRow("unknown option")
        << words(u"/a.avi -o /o.avi -vf scale"_s + encoders) << u"unknown option -vf"_s;
    QTest::newRow("option without value")
        << words(u"/a.avi"_s + encoders + u" -o"_s) << u"option -o needs a value"_s;
    QTest::newRow("blank typed after a bitrate")
        << words(u"/a.avi -oac lavc -ovc lavc -lavcopts vcodec=mpeg2video:vbitrate=600 :vpass=1 "
                 "-o /o.mpg"_s)
        << u"unexpected argument \":vpass=1\": the input file is already \"/a.avi\""_s;
    QTest::newRow("-ss in words") << words(u"/a.avi -ss start -o /o.avi"_s + encoders)
                                  << u"-ss needs a time such as 90 or 1:30, not \"start\""_s;
    QTest::newRow("-endpos in bytes") << words(u"/a.avi -endpos 10mb -o /o.avi"_s + encoders)
                                      << u"-endpos needs a time such as 90 or 1:30, not \"10mb\""_s;
    QTest::newRow("letters in vbitrate")
        << words(u"/a.avi -lavcopts vbitrate=600k -o /o.avi"_s + encoders)
        << u"-lavcopts vbitrate needs a positive number, not \"600k\""_s;
    QTest::newRow("zero abitrate") << words(u"/a.avi -lavcopts abitrate=0 -o /o.avi"_s + encoders)
                                   << u"-lavcopts abitrate needs a positive number, not \"0\""_s;
    QTest::newRow("vpass 4") << words(u"/a.avi -lavcopts vpass=4 -o /o.avi"_s + encoders)
                             << u"-lavcopts vpass must be 1, 2 or 3, not 4"_s;
    QTest::newRow("unknown lavcopts key")
        << words(u"/a.avi -lavcopts vqscale=2 -o /o.avi"_s + encoders)
        << u"unknown -lavcopts setting vqscale"_s;
    QTest::newRow("unknown video codec")
        << words(u"/a.avi -lavcopts vcodec=vp8 -o /o.avi"_s + encoders)
        << u"unsupported video codec vcodec=vp8"_s;
    QTest::newRow("unknown audio codec")
        << words(u"/a.avi -lavcopts acodec=vorbis -o /o.avi"_s + encoders)
        << u"unsupported audio codec acodec=vorbis"_s;
    QTest::newRow("unknown -oac") << words(u"/a.avi -oac faac -ovc lavc -o /o.avi"_s)
                                  << u"unsupported audio encoder -oac faac: use lavc or mp3lame"_s;
    QTest::newRow("unknown -ovc") << words(u"/a.avi -oac lavc -ovc x264 -o /o.avi"_s)
                                  << u"unsupported video encoder -ovc x264: use lavc"_s;
    QTest::newRow("unknown -of")
        << words(u"/a.avi -of rawvideo -o /o.avi"_s + encoders)
        << u"unsupported output format -of rawvideo: use avi, mpeg or lavf"_s;
    QTest::newRow("frame rate with letters") << words(u"/a.avi -ofps 24fps -o /o.avi"_s + encoders)
                                             << u"-ofps needs a frame rate such as 25 or "
                                                "30000/1001, not \"24fps\""_s;
    QTest::newRow("zero frame rate") << words(u"/a.avi -ofps 0 -o /o.avi"_s + encoders)
                                     << u"-ofps needs a frame rate such as 25 or 30000/1001, "
                                        "not \"0\""_s;
    QTest::newRow("unknown lame preset")
        << words(u"/a.avi -oac mp3lame -lameopts preset=loud -ovc lavc -o /o.mp4"_s)
        << u"-lameopts preset must be a bitrate or medium, standard, extreme or insane, not "
           "\"loud\""_s;
    QTest::newRow("unknown lameopts key")
        << words(u"/a.avi -oac mp3lame -lameopts cbr -ovc lavc -o /o.mp4"_s)
        << u"unknown -lameopts setting cbr"_s;
    QTest::newRow("unknown lavfopts key")
        << words(u"/a.avi -lavfopts muxrate=10 -of lavf -o /o.mpg"_s + encoders)
        << u"unknown -lavfopts setting muxrate"_s;
    QTest::newRow("no input") << words(u"-o /o.avi"_s + encoders) << u"no input file given"_s;
    QTest::newRow("no output") << words(u"/a.avi"_s + encoders)
                               << u"no output file given: use -o"_s;
    QTest::newRow("no -ovc") << words(u"/a.avi -oac lavc -o /o.avi"_s)
                             << u"no video encoder chosen: use -ovc lavc"_s;
    QTest::newRow("no -oac") << words(u"/a.avi -ovc lavc -o /o.avi"_s)
                             << u"no audio encoder chosen: use -oac lavc or -oac mp3lame"_s;
}

void TestConvOptions::refused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    QCOMPARE(parse(arguments).error, reason);
}

void TestConvOptions::leadingDashInput_data()
{
    QTest::addColumn<QString>("existingFile");
    QTest::addColumn<QString>("error");

    QTest::newRow("existing file is the input") << u"-clip 视频.avi"_s << QString();
    QTest::newRow("missing file is an option")
        << u"/elsewhere"_s << u"unknown option -clip 视频.avi"_s;
}

void TestConvOptions::leadingDashInput()
{
    QFETCH(QString, existingFile);
    QFETCH(QString, error);
    const ParsedRequest parsed =
        parse(QStringList{u"-clip 视频.avi"_s} + words(u"-oac lavc -ovc lavc -o -out.avi"_s),
              existingFile);
    QCOMPARE(parsed.error, error);
    if (parsed.ok()) {
        QCOMPARE(parsed.request.input, u"-clip 视频.avi"_s);
        QCOMPARE(parsed.request.output, u"-out.avi"_s);
    }
}

QTEST_GUILESS_MAIN(TestConvOptions)
#include "tst_convoptions.moc"
