#include "encoders/plan/OutputExpectation.h"
#include "encoders/probe/MediaInfo.h"
#include "encoders/probe/MediaProbe.h"
#include "encoders/probe/ProbeClient.h"
#include "encoders/probe/ProbeWire.h"

#include <QLocalSocket>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// What the in-process probe and the probe server read from real files of
// each container, and whether a finished output is complete enough to take
// the target's name.
class TestOutputCheck final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void probe_data();
    void probe();
    void probeRefusesWhatIsNoMedia();
    void soundTrackWithoutPackets();
    void mismatch_data();
    void mismatch();

private:
    QString make(const QString &name, const QString &arguments);
    void compareWithServer(const QString &path);

    QTemporaryDir m_work;
    QString m_ffmpeg;
    QProcess m_server;
    std::unique_ptr<ProbeClient> m_client;
};

namespace {

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
        QString::number(info.durationSeconds.value_or(-1), 'f', 1), video, audio);
}

// An RMVB output of the encoders as probed.
MediaInfo rmvbFile()
{
    MediaInfo info;
    info.formatNames = {u"rm"_s};
    info.durationSeconds = 2.054;
    info.video = MediaInfo::Video{0, u"rv10"_s, QSize(640, 352)};
    info.audio = MediaInfo::Audio{1, u"ac3"_s, 44100, 2};
    return info;
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

void TestOutputCheck::initTestCase()
{
    m_ffmpeg = QStandardPaths::findExecutable(u"ffmpeg"_s);
    QVERIFY2(!m_ffmpeg.isEmpty(), "ffmpeg must be installed");
    QVERIFY(m_work.isValid());
    // The test has no probe module beside it: what the client reads, the
    // server has answered.
    const QString socket = m_work.filePath(u"probe"_s);
    m_server.start(qEnvironmentVariable("ZENVORA_PROGRAM_DIR") + u"/data/probe-server"_s, {socket});
    QVERIFY(m_server.waitForStarted());
    QTRY_VERIFY([&] {
        QLocalSocket probe;
        probe.connectToServer(socket);
        return probe.waitForConnected(100);
    }());
    m_client = std::make_unique<ProbeClient>(socket);
}

void TestOutputCheck::cleanupTestCase()
{
    m_server.kill();
    m_server.waitForFinished();
}

void TestOutputCheck::compareWithServer(const QString &path)
{
    QString localError, serverError;
    const ProbeWire::Reply local{MediaProbe::read(path, &localError), localError};
    const ProbeWire::Reply served{m_client->read(path, &serverError), serverError};
    QCOMPARE(ProbeWire::encodeReply(served), ProbeWire::encodeReply(local));
}

// A short file made by ffmpeg from its own test sources.
QString TestOutputCheck::make(const QString &name, const QString &arguments)
{
    const QString path = m_work.filePath(name);
    QProcess ffmpeg;
    ffmpeg.start(m_ffmpeg, QStringList{u"-nostdin"_s, u"-v"_s, u"error"_s, u"-y"_s} +
                               arguments.split(u' ', Qt::SkipEmptyParts) + QStringList{path});
    return ffmpeg.waitForFinished(30000) && ffmpeg.exitCode() == 0 ? path : QString();
}

void TestOutputCheck::probe_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("arguments"); // for ffmpeg; "{previous}" is the row before's file
    QTest::addColumn<QString>("expected");

    const QString picture = u"-f lavfi -i testsrc=size=640x360:rate=25:duration=2 "_s;
    const QString sound = u"-f lavfi -i sine=sample_rate=44100:duration=2 "_s;
    QTest::newRow("RealMedia") << u"a.rm"_s
                               << picture + sound + u"-s 640x352 -c:v rv10 -c:a ac3 -ac 2"_s
                               << u"rm brand= duration=2.0 video=0:rv10 640x352 turned=0 "
                                  "pixels=1/1 fps=25 audio=1:ac3 44100Hz 2ch"_s;
    QTest::newRow("3GP-branded MP4")
        << u"b.mp4"_s
        << picture + sound +
               u"-s 320x240 -c:v mpeg4 -c:a libopencore_amrnb -ar 8000 -ac 1 -b:a 12.2k -f 3gp"_s
        << u"mov,mp4,m4a,3gp,3g2,mj2 brand=3gp4 duration=2.0 video=0:mpeg4 320x240 turned=0 "
           "pixels=4/3 fps=25 audio=1:amr_nb 8000Hz 1ch"_s;
    QTest::newRow("cover picture is no video")
        << u"c.mp3"_s
        << sound + u"-f lavfi -i testsrc=size=64x64:duration=0.04 -map 0 -map 1 -c:a libmp3lame "
                   "-c:v png -disposition:v attached_pic"_s
        << u"mp3 brand= duration=2.0 video=none audio=0:mp3 44100Hz 1ch"_s;
    QTest::newRow("phone video without its turn")
        << u"d.mp4"_s << picture + sound + u"-c:v libx264 -c:a aac"_s
        << u"mov,mp4,m4a,3gp,3g2,mj2 brand=isom duration=2.0 video=0:h264 640x360 turned=0 "
           "pixels=1/1 fps=25 audio=1:aac 44100Hz 1ch"_s;
    QTest::newRow("phone video shown upright by its display matrix")
        << u"e.mp4"_s << u"-i {previous} -c copy -metadata:s:v:0 rotate=90"_s
        << u"mov,mp4,m4a,3gp,3g2,mj2 brand=isom duration=2.0 video=0:h264 640x360 turned=90 "
           "pixels=1/1 fps=25 audio=1:aac 44100Hz 1ch"_s;
    QTest::newRow("PAL 16:9 with wide pixels")
        << u"f.mpg"_s
        << u"-f lavfi -i testsrc=size=720x576:rate=25:duration=2 "_s + sound +
               u"-vf setsar=64/45 -c:v mpeg2video -c:a mp2"_s
        << u"mpeg brand= duration=2.0 video=0:mpeg2video 720x576 turned=0 pixels=64/45 fps=25 "
           "audio=1:mp2 44100Hz 1ch"_s;
}

void TestOutputCheck::probe()
{
    static QString previous;
    QFETCH(QString, name);
    QFETCH(QString, arguments);
    QFETCH(QString, expected);
    const QString path = make(name, QString(arguments).replace(u"{previous}"_s, previous));
    QVERIFY(!path.isEmpty());
    previous = path;
    const std::optional<MediaInfo> info = MediaProbe::read(path);
    QVERIFY(info.has_value());
    QCOMPARE(describe(*info), expected);
    compareWithServer(path);
}

void TestOutputCheck::probeRefusesWhatIsNoMedia()
{
    QFile text(m_work.filePath(u"notes.avi"_s));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("this is not a video\n");
    text.close();
    QString error;
    QCOMPARE(MediaProbe::read(text.fileName(), &error), std::nullopt);
    QCOMPARE(error, u"Invalid data found when processing input"_s);
    QCOMPARE(MediaProbe::read(m_work.filePath(u"missing.avi"_s), &error), std::nullopt);
    QCOMPARE(error, u"No such file or directory"_s);
    compareWithServer(text.fileName());
    compareWithServer(m_work.filePath(u"missing.avi"_s));
}

// Cut to its first picture before any sound was written: the AVI declares
// a sound track that holds no packet.
void TestOutputCheck::soundTrackWithoutPackets()
{
    const QString empty = make(u"empty.avi"_s, u"-f lavfi -i testsrc -f lavfi -i sine "
                                               "-frames:v 1 -c:v mpeg4 -c:a pcm_s16le"_s);
    const QString full = make(u"full.avi"_s, u"-f lavfi -i testsrc -f lavfi -i sine "
                                             "-t 1 -c:v mpeg4 -c:a pcm_s16le"_s);
    QVERIFY(!empty.isEmpty() && !full.isEmpty());
    QCOMPARE(MediaProbe::read(empty)->audio, std::nullopt);
    QCOMPARE(MediaProbe::read(empty)->video->index, 0);
    QCOMPARE(MediaProbe::read(full)->audio->index, 1);
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
