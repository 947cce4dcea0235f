#include "MediaInfo.h"
#include "OutputExpectation.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

// What ffprobe's JSON says about a file, and whether a finished output is
// complete enough to take the target's name.
class TestOutputCheck final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void probeJson_data();
    void probeJson();
    void probeJsonRefused();
    void mismatch_data();
    void mismatch();
};

namespace {

// Recorded with ffprobe 5.1 from outputs of the encoders.
QByteArray recording(const QString &name)
{
    QFile file(QStringLiteral(ZENVORA_ENCODER_TEST_DATA) + u'/' + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString describe(const MediaInfo &info)
{
    const QString video = info.video
                              ? u"%1:%2 %3x%4 turned=%5 pixels=%6 fps=%7"_s.arg(info.video->index)
                                    .arg(info.video->codec)
                                    .arg(info.video->size.width())
                                    .arg(info.video->size.height())
                                    .arg(info.video->rotation)
                                    .arg(info.video->pixelAspect.toString())
                                    .arg(info.video->frameRate.value_or(-1))
                              : u"none"_s;
    const QString audio = info.audio ? u"%1:%2 %3Hz %4ch"_s.arg(info.audio->index)
                                           .arg(info.audio->codec)
                                           .arg(info.audio->sampleRate)
                                           .arg(info.audio->channels)
                                     : u"none"_s;
    return u"%1 brand=%2 duration=%3 video=%4 audio=%5"_s.arg(
        info.formatNames.join(u','), info.majorBrand,
        QString::number(info.durationSeconds.value_or(-1)), video, audio);
}

MediaInfo rmvbFile()
{
    return *MediaInfo::fromProbeJson(recording(u"ffprobe-5.1-rmvb.json"_s));
}

OutputExpectation rmvbExpected()
{
    OutputExpectation expected;
    expected.probeName = u"rm"_s;
    expected.video = MediaInfo::Video{0, u"rv10"_s, QSize(640, 352)};
    expected.audio = MediaInfo::Audio{0, u"ac3"_s, 44100, 2};
    expected.durationSeconds = 2.04;
    return expected;
}

} // namespace

void TestOutputCheck::probeJson_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");

    QTest::newRow("RealMedia") << u"ffprobe-5.1-rmvb.json"_s
                               << u"rm brand= duration=2.054 video=0:rv10 640x352 turned=0 "
                                  "pixels=1/1 fps=25 audio=1:ac3 44100Hz 2ch"_s;
    QTest::newRow("3GP-branded MP4") << u"ffprobe-5.1-3gp-branded.mp4.json"_s
                                     << u"mov,mp4,m4a,3gp,3g2,mj2 brand=3gp4 duration=2.04 "
                                        "video=0:mpeg4 320x240 turned=0 pixels=4/3 fps=25 "
                                        "audio=1:amr_nb 8000Hz 1ch"_s;
    QTest::newRow("phone video shown upright by its display matrix")
        << u"ffprobe-5.1-rotated-phone.mp4.json"_s
        << u"mov,mp4,m4a,3gp,3g2,mj2 brand=isom duration=2 video=0:h264 640x360 turned=90 "
           "pixels=1/1 fps=25 audio=1:aac 44100Hz 1ch"_s;
    QTest::newRow("PAL 16:9 with wide pixels") << u"ffprobe-5.1-pal-16x9.mpg.json"_s
                                               << u"mpeg brand= duration=2.016 video=0:mpeg2video "
                                                  "720x576 turned=0 pixels=64/45 fps=25 "
                                                  "audio=1:mp2 48000Hz 1ch"_s;
    QTest::newRow("cover picture is no video") << u"ffprobe-5.1-mp3-with-cover.json"_s
                                               << u"mp3 brand= duration=2.16 video=none "
                                                  "audio=0:mp3 12000Hz 2ch"_s;
}

void TestOutputCheck::probeJson()
{
    QFETCH(QString, file);
    QFETCH(QString, expected);
    const std::optional<MediaInfo> info = MediaInfo::fromProbeJson(recording(file));
    QVERIFY(info.has_value());
    QCOMPARE(describe(*info), expected);
}

void TestOutputCheck::probeJsonRefused()
{
    QCOMPARE(MediaInfo::fromProbeJson(QByteArray()), std::nullopt);
    QCOMPARE(MediaInfo::fromProbeJson("{\"streams\": []}"), std::nullopt);
}

void TestOutputCheck::mismatch_data()
{
    QTest::addColumn<OutputExpectation>("expected");
    QTest::addColumn<MediaInfo>("found");
    QTest::addColumn<QString>("problem");

    QTest::newRow("as expected") << rmvbExpected() << rmvbFile() << QString();
    OutputExpectation other = rmvbExpected();
    other.probeName = u"avi"_s;
    QTest::newRow("other container") << other << rmvbFile() << u"it is not a avi file"_s;
    other = rmvbExpected();
    other.brand = u"3gp"_s;
    QTest::newRow("other brand") << other << rmvbFile() << u"its brand is \"\", not \"3gp\""_s;
    MediaInfo found = rmvbFile();
    found.audio.reset();
    QTest::newRow("audio missing") << rmvbExpected() << found << u"it has no audio stream"_s;
    found = rmvbFile();
    found.video.reset();
    QTest::newRow("video missing") << rmvbExpected() << found << u"it has no video stream"_s;
    found = rmvbFile();
    found.video->size = QSize(640, 368);
    QTest::newRow("other size") << rmvbExpected() << found
                                << u"its picture is 640x368, not 640x352"_s;
    found = rmvbFile();
    found.video->codec = u"rv20"_s;
    QTest::newRow("other video codec")
        << rmvbExpected() << found << u"its video is rv20, not rv10"_s;
    found = rmvbFile();
    found.audio->channels = 1;
    QTest::newRow("other channels")
        << rmvbExpected() << found
        << u"its audio has 44100 Hz and 1 channels, not 44100 Hz and 2"_s;
    found = rmvbFile();
    found.durationSeconds = 0.9;
    QTest::newRow("truncated") << rmvbExpected() << found << u"it lasts 0.90 s instead of 2.04 s"_s;
    found.durationSeconds = 1.1;
    QTest::newRow("a second short is tolerated") << rmvbExpected() << found << QString();
    found.durationSeconds.reset();
    QTest::newRow("unknown duration passes") << rmvbExpected() << found << QString();
    other = rmvbExpected();
    other.durationSeconds = 0.01;
    found.durationSeconds = 2.04;
    QTest::newRow("longer than a source's estimate passes") << other << found << QString();
    other = rmvbExpected();
    other.durationSeconds = 100.0;
    found.durationSeconds = 94.9;
    QTest::newRow("5 percent of long inputs")
        << other << found << u"it lasts 94.90 s instead of 100.00 s"_s;
    found.durationSeconds = 95.1;
    QTest::newRow("within 5 percent") << other << found << QString();
    other = rmvbExpected();
    other.audio.reset();
    found = rmvbFile();
    found.audio.reset();
    QTest::newRow("no audio expected") << other << found << QString();
}

void TestOutputCheck::mismatch()
{
    QFETCH(OutputExpectation, expected);
    QFETCH(MediaInfo, found);
    QFETCH(QString, problem);
    QCOMPARE(expected.mismatch(found), problem);
}

QTEST_GUILESS_MAIN(TestOutputCheck)
#include "tst_outputcheck.moc"
