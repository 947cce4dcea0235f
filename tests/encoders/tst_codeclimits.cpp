#include "encoders/plan/AudioCodec.h"
#include "encoders/plan/FrameRate.h"
#include "encoders/plan/VideoCodec.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Values a codec cannot take move to the nearest ones it can: sample rates,
// bitrates and channel counts of the audio codecs, frame sizes and frame
// rates of the video codecs.
class TestCodecLimits final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sampleRates_data();
    void sampleRates();
    void bitrates_data();
    void bitrates();
    void channels_data();
    void channels();
    void frameSizes_data();
    void frameSizes();
    void shapeKeepingSizes_data();
    void shapeKeepingSizes();
    void frameRates_data();
    void frameRates();
    void decimalFrameRates_data();
    void decimalFrameRates();
    void encoderNames();
};

void TestCodecLimits::sampleRates_data()
{
    QTest::addColumn<QString>("codec");
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("lowest"); // what the container takes
    QTest::addColumn<int>("expected");

    QTest::newRow("mp3 12050 to 12000") << u"mp3"_s << 12050 << 0 << 12000;
    QTest::newRow("mp3 28000 tie goes up") << u"mp3"_s << 28000 << 0 << 32000;
    QTest::newRow("mp3 96000 to 48000") << u"mp3"_s << 96000 << 0 << 48000;
    QTest::newRow("mp3 8000 kept") << u"mp3"_s << 8000 << 0 << 8000;
    QTest::newRow("mp2 12050 to 16000") << u"mp2"_s << 12050 << 0 << 16000;
    QTest::newRow("mp2 8000 to 16000") << u"mp2"_s << 8000 << 0 << 16000;
    QTest::newRow("mp2 44100 kept") << u"mp2"_s << 44100 << 0 << 44100;
    QTest::newRow("ac3 22050 to 32000") << u"ac3"_s << 22050 << 0 << 32000;
    QTest::newRow("ac3 8000 to 32000") << u"ac3"_s << 8000 << 0 << 32000;
    QTest::newRow("ac3 47000 to 48000") << u"ac3"_s << 47000 << 0 << 48000;
    QTest::newRow("amr_nb always 8000") << u"amr_nb"_s << 48000 << 0 << 8000;
    QTest::newRow("aac 28000 tie goes up") << u"aac"_s << 28000 << 0 << 32000;
    QTest::newRow("opus 44100 to 48000") << u"opus"_s << 44100 << 0 << 48000;
    QTest::newRow("opus 22050 to 24000") << u"opus"_s << 22050 << 0 << 24000;
    QTest::newRow("mp3 8000 in MP4 to 16000") << u"mp3"_s << 8000 << 16000 << 16000;
    QTest::newRow("mp3 11025 in MP4 to 16000") << u"mp3"_s << 11025 << 16000 << 16000;
    QTest::newRow("mp3 96000 in MP4 to 48000") << u"mp3"_s << 96000 << 16000 << 48000;
    QTest::newRow("mp3 22050 in MP4 kept") << u"mp3"_s << 22050 << 16000 << 22050;
}

void TestCodecLimits::sampleRates()
{
    QFETCH(QString, codec);
    QFETCH(int, requested);
    QFETCH(int, lowest);
    QFETCH(int, expected);
    QCOMPARE(AudioCodec::find(codec)->sampleRateFor(requested, lowest), expected);
}

void TestCodecLimits::bitrates_data()
{
    QTest::addColumn<QString>("codec");
    QTest::addColumn<int>("sampleRate");
    QTest::addColumn<qint64>("requested");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("mp2 10.2k at 44100") << u"mp2"_s << 44100 << qint64(10200) << qint64(32000);
    QTest::newRow("mp2 320k at 44100") << u"mp2"_s << 44100 << qint64(320000) << qint64(320000);
    QTest::newRow("mp2 500k at 48000") << u"mp2"_s << 48000 << qint64(500000) << qint64(384000);
    QTest::newRow("mp2 10.2k at 22050") << u"mp2"_s << 22050 << qint64(10200) << qint64(8000);
    QTest::newRow("mp2 320k at 16000") << u"mp2"_s << 16000 << qint64(320000) << qint64(160000);
    QTest::newRow("mp3 12.2k at 44100") << u"mp3"_s << 44100 << qint64(12200) << qint64(32000);
    QTest::newRow("mp3 144k at 48000, tie goes up")
        << u"mp3"_s << 48000 << qint64(144000) << qint64(160000);
    QTest::newRow("mp3 384k at 48000") << u"mp3"_s << 48000 << qint64(384000) << qint64(320000);
    QTest::newRow("mp3 144k at 24000") << u"mp3"_s << 24000 << qint64(144000) << qint64(144000);
    QTest::newRow("mp3 320k at 12000") << u"mp3"_s << 12000 << qint64(320000) << qint64(64000);
    QTest::newRow("mp3 10.2k at 8000") << u"mp3"_s << 8000 << qint64(10200) << qint64(8000);
    QTest::newRow("ac3 10.2k") << u"ac3"_s << 32000 << qint64(10200) << qint64(32000);
    QTest::newRow("ac3 1000k") << u"ac3"_s << 48000 << qint64(1000000) << qint64(640000);
    QTest::newRow("ac3 100k") << u"ac3"_s << 44100 << qint64(100000) << qint64(96000);
    QTest::newRow("amr 12.2k") << u"amr_nb"_s << 8000 << qint64(12200) << qint64(12200);
    QTest::newRow("amr 10.2k") << u"amr_nb"_s << 8000 << qint64(10200) << qint64(10200);
    QTest::newRow("amr 128k") << u"amr_nb"_s << 8000 << qint64(128000) << qint64(12200);
    QTest::newRow("amr 5k") << u"amr_nb"_s << 8000 << qint64(5000) << qint64(5150);
    QTest::newRow("aac takes any") << u"aac"_s << 48000 << qint64(99000) << qint64(99000);
}

void TestCodecLimits::bitrates()
{
    QFETCH(QString, codec);
    QFETCH(int, sampleRate);
    QFETCH(qint64, requested);
    QFETCH(qint64, expected);
    QCOMPARE(AudioCodec::find(codec)->bitrateFor(requested, sampleRate), expected);
}

void TestCodecLimits::channels_data()
{
    QTest::addColumn<QString>("codec");
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("expected");

    QTest::newRow("mp3 from 5.1") << u"mp3"_s << 6 << 2;
    QTest::newRow("mp2 mono") << u"mp2"_s << 1 << 1;
    QTest::newRow("ac3 keeps 5.1") << u"ac3"_s << 6 << 6;
    QTest::newRow("ac3 from 8") << u"ac3"_s << 8 << 6;
    QTest::newRow("amr_nb stereo to mono") << u"amr_nb"_s << 2 << 1;
    QTest::newRow("opus from 5.1") << u"opus"_s << 6 << 2;
}

void TestCodecLimits::channels()
{
    QFETCH(QString, codec);
    QFETCH(int, requested);
    QFETCH(int, expected);
    QCOMPARE(AudioCodec::find(codec)->channelsFor(requested), expected);
}

void TestCodecLimits::frameSizes_data()
{
    QTest::addColumn<QString>("codec");
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("rv10 640x360, tie goes down") << u"rv10"_s << QSize(640, 360) << QSize(640, 352);
    QTest::newRow("rv10 720x306") << u"rv10"_s << QSize(720, 306) << QSize(720, 304);
    QTest::newRow("rv10 320x180") << u"rv10"_s << QSize(320, 180) << QSize(320, 176);
    QTest::newRow("rv10 330x250 rounds up") << u"rv10"_s << QSize(330, 250) << QSize(336, 256);
    QTest::newRow("rv10 never below 16") << u"rv10"_s << QSize(5, 7) << QSize(16, 16);
    QTest::newRow("rv10 176x144 kept") << u"rv10"_s << QSize(176, 144) << QSize(176, 144);
    QTest::newRow("rv10 1280x720 fits 4095 macroblocks")
        << u"rv10"_s << QSize(1280, 720) << QSize(1280, 720);
    QTest::newRow("rv10 full HD shrinks") << u"rv10"_s << QSize(1920, 1080) << QSize(1360, 752);
    QTest::newRow("rv10 1280x1024 shrinks") << u"rv10"_s << QSize(1280, 1024) << QSize(1136, 912);
    QTest::newRow("mpeg4 full HD kept") << u"mpeg4"_s << QSize(1920, 1080) << QSize(1920, 1080);
    QTest::newRow("mpeg4 odd sides") << u"mpeg4"_s << QSize(321, 241) << QSize(320, 240);
    QTest::newRow("mpeg2video 720x306 kept")
        << u"mpeg2video"_s << QSize(720, 306) << QSize(720, 306);
    QTest::newRow("mpeg2video 1x1") << u"mpeg2video"_s << QSize(1, 1) << QSize(2, 2);
    QTest::newRow("h264 odd sides even") << u"h264"_s << QSize(321, 241) << QSize(320, 240);
    QTest::newRow("hevc 4K kept") << u"hevc"_s << QSize(3840, 2160) << QSize(3840, 2160);
    QTest::newRow("vp9 odd sides even") << u"vp9"_s << QSize(199, 99) << QSize(198, 98);
}

void TestCodecLimits::frameSizes()
{
    QFETCH(QString, codec);
    QFETCH(QSize, requested);
    QFETCH(QSize, expected);
    QCOMPARE(VideoCodec::find(codec)->sizeFor(requested), expected);
}

void TestCodecLimits::shapeKeepingSizes_data()
{
    QTest::addColumn<QString>("codec");
    QTest::addColumn<QSizeF>("wanted");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("rv10 16:9 not squeezed to 640x352")
        << u"rv10"_s << QSizeF(640, 360) << QSize(624, 352);
    QTest::newRow("rv10 PAL 16:9 in square pixels")
        << u"rv10"_s << QSizeF(1024, 576) << QSize(1024, 576);
    QTest::newRow("rv10 portrait phone") << u"rv10"_s << QSizeF(360, 640) << QSize(352, 624);
    QTest::newRow("rv10 NTSC 4:3 in square pixels")
        << u"rv10"_s << QSizeF(640, 480) << QSize(640, 480);
    QTest::newRow("rv10 full HD within its macroblocks")
        << u"rv10"_s << QSizeF(1920, 1080) << QSize(1360, 768);
    QTest::newRow("mpeg4 odd sides") << u"mpeg4"_s << QSizeF(641, 361) << QSize(640, 360);
    QTest::newRow("mpeg4 phone 176x144 kept") << u"mpeg4"_s << QSizeF(176, 144) << QSize(176, 144);
}

void TestCodecLimits::shapeKeepingSizes()
{
    QFETCH(QString, codec);
    QFETCH(QSizeF, wanted);
    QFETCH(QSize, expected);
    const QSize size = VideoCodec::find(codec)->sizeKeepingShape(wanted);
    QCOMPARE(size, expected);
}

void TestCodecLimits::frameRates_data()
{
    QTest::addColumn<QString>("codec");
    QTest::addColumn<double>("requested");
    QTest::addColumn<QString>("expected");

    QTest::newRow("mpeg2video 15") << u"mpeg2video"_s << 15.0 << u"24000/1001"_s;
    QTest::newRow("mpeg2video 23") << u"mpeg2video"_s << 23.0 << u"24000/1001"_s;
    QTest::newRow("mpeg2video 24") << u"mpeg2video"_s << 24.0 << u"24/1"_s;
    QTest::newRow("mpeg2video 29") << u"mpeg2video"_s << 29.0 << u"30000/1001"_s;
    QTest::newRow("mpeg2video 24.5, tie goes up") << u"mpeg2video"_s << 24.5 << u"25/1"_s;
    QTest::newRow("mpeg2video 1000") << u"mpeg2video"_s << 1000.0 << u"60/1"_s;
    QTest::newRow("mpeg4 15") << u"mpeg4"_s << 15.0 << u"15/1"_s;
    QTest::newRow("mpeg4 29.97") << u"mpeg4"_s << 29.97 << u"30000/1001"_s;
    QTest::newRow("mpeg4 0.2 to the lowest") << u"mpeg4"_s << 0.2 << u"1/1"_s;
    QTest::newRow("mpeg4 1000 to the highest") << u"mpeg4"_s << 1000.0 << u"120/1"_s;
    QTest::newRow("rv10 23.976 to a whole 24") << u"rv10"_s << 23.976 << u"24/1"_s;
    QTest::newRow("rv10 12.5 to 13") << u"rv10"_s << 12.5 << u"13/1"_s;
    QTest::newRow("rv10 29.97 to 30") << u"rv10"_s << 29.97 << u"30/1"_s;
}

void TestCodecLimits::frameRates()
{
    QFETCH(QString, codec);
    QFETCH(double, requested);
    QFETCH(QString, expected);
    QCOMPARE(VideoCodec::find(codec)->frameRateFor(requested).toString(), expected);
}

void TestCodecLimits::decimalFrameRates_data()
{
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("expected");

    QTest::newRow("whole") << 25.0 << u"25/1"_s;
    QTest::newRow("23.976") << 23.976 << u"24000/1001"_s;
    QTest::newRow("59.94") << 59.94 << u"60000/1001"_s;
    QTest::newRow("12.5") << 12.5 << u"25/2"_s;
    QTest::newRow("7.125") << 7.125 << u"57/8"_s;
}

void TestCodecLimits::decimalFrameRates()
{
    QFETCH(double, rate);
    QFETCH(QString, expected);
    QCOMPARE(FrameRate::fromDecimal(rate).toString(), expected);
}

void TestCodecLimits::encoderNames()
{
    QCOMPARE(AudioCodec::find(u"libmp3lame"_s)->name(), u"mp3"_s);
    QCOMPARE(AudioCodec::find(u"amr_nb"_s)->encoder(), u"libopencore_amrnb"_s);
    QCOMPARE(AudioCodec::find(u"vorbis"_s), nullptr);
    QCOMPARE(VideoCodec::find(u"libx265"_s)->name(), u"hevc"_s);
    QCOMPARE(VideoCodec::find(u"vp9"_s)->encoder(), u"libvpx-vp9"_s);
    QCOMPARE(AudioCodec::find(u"libopus"_s)->name(), u"opus"_s);
    QCOMPARE(VideoCodec::find(u"vp8"_s), nullptr);
}

QTEST_GUILESS_MAIN(TestCodecLimits)
#include "tst_codeclimits.moc"
