#include "encoders/job/ProgressLines.h"
#include "encoders/job/ProgressReader.h"
#include "encoders/protocol/EncoderProtocol.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

// ffmpeg's -progress blocks in, the lines the program's progress parsers
// read out: a parenthesised percentage for conv.exe, "Duration: " then
// "time=" in plain seconds for the coders; and the lines that tell the
// program where the file went or why there is none.
class TestProgressOutput final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readerSplitsAnywhere_data();
    void readerSplitsAnywhere();
    void readerValues();
    void readerUnknownTimes_data();
    void readerUnknownTimes();
    void convLines_data();
    void convLines();
    void convFinishedLine();
    void coderDurationLines_data();
    void coderDurationLines();
    void coderLines_data();
    void coderLines();
    void partFileName_data();
    void partFileName();
    void isPartFileOf_data();
    void isPartFileOf();
    void savedPathRoundTrip_data();
    void savedPathRoundTrip();
    void failureLineTokens_data();
    void failureLineTokens();
    void failureLineReadBack_data();
    void failureLineReadBack();
};

namespace {

// Recorded from ffmpeg 5.1 with -progress pipe:1 while converting a
// 2-second clip in real time: to MP3 (no frame keys at all) and to MPG.
QByteArray recording(const QString &name)
{
    QFile file(QStringLiteral(ZENVORA_ENCODER_TEST_DATA) + u'/' + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ProgressReader::Snapshot snapshot(double seconds, qint64 frame, double fps)
{
    ProgressReader::Snapshot result;
    result.outSeconds = seconds;
    result.frame = frame;
    result.fps = fps;
    return result;
}

} // namespace

void TestProgressOutput::readerSplitsAnywhere_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("pieceSize");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<qint64>("lastFrame");
    QTest::addColumn<double>("lastSeconds");

    for (const int pieceSize : {1, 7, 100, 100000}) {
        QTest::addRow("mp3 in pieces of %d", pieceSize)
            << u"ffmpeg-5.1-progress-mp3.txt"_s << pieceSize << 6 << qint64(0) << 2.038617;
        QTest::addRow("mpg in pieces of %d", pieceSize)
            << u"ffmpeg-5.1-progress-mpg.txt"_s << pieceSize << 5 << qint64(51) << 2.041678;
    }
}

void TestProgressOutput::readerSplitsAnywhere()
{
    QFETCH(QString, file);
    QFETCH(int, pieceSize);
    QFETCH(int, blocks);
    QFETCH(qint64, lastFrame);
    QFETCH(double, lastSeconds);
    const QByteArray recorded = recording(file);
    QVERIFY(!recorded.isEmpty());
    ProgressReader reader;
    QList<ProgressReader::Snapshot> read;
    for (qsizetype at = 0; at < recorded.size(); at += pieceSize)
        read += reader.feed(recorded.mid(at, pieceSize));
    QCOMPARE(read.size(), blocks);
    for (qsizetype index = 0; index + 1 < read.size(); ++index)
        QVERIFY(!read.at(index).end);
    QVERIFY(read.last().end);
    QCOMPARE(read.last().frame, lastFrame);
    QCOMPARE(read.last().outSeconds, lastSeconds);
}

void TestProgressOutput::readerValues()
{
    ProgressReader reader;
    const QList<ProgressReader::Snapshot> mpg =
        reader.feed(recording(u"ffmpeg-5.1-progress-mpg.txt"_s));
    QCOMPARE(mpg.at(2).fps, 23.46);
    QCOMPARE(mpg.at(2).quality, 2.0);
    QCOMPARE(mpg.at(2).totalBytes, 88064);
    QCOMPARE(mpg.at(2).kilobitsPerSecond, std::optional<double>(633.4));

    ProgressReader audioReader;
    const QList<ProgressReader::Snapshot> mp3 =
        audioReader.feed(recording(u"ffmpeg-5.1-progress-mp3.txt"_s));
    QCOMPARE(mp3.at(0).kilobitsPerSecond, std::nullopt);
    QCOMPARE(mp3.at(1).kilobitsPerSecond, std::optional<double>(145.1));
}

void TestProgressOutput::readerUnknownTimes_data()
{
    QTest::addColumn<QByteArray>("value");

    QTest::newRow("not available") << QByteArray("N/A");
    QTest::newRow("before the first frame") << QByteArray("-9223372036854775807");
}

void TestProgressOutput::readerUnknownTimes()
{
    QFETCH(QByteArray, value);
    ProgressReader reader;
    const QList<ProgressReader::Snapshot> read =
        reader.feed("frame=0\nout_time_us=" + value + "\nprogress=continue\n");
    QCOMPARE(read.size(), 1);
    QCOMPARE(read.at(0).outSeconds, 0.0);
}

void TestProgressOutput::convLines_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<double>("duration");
    QTest::addColumn<QString>("expected");

    QTest::newRow("7 percent") << 10.0 << 140.0 << u"Pos:  10.0s    250f ( 7%)  25.00fps"_s;
    QTest::newRow("42 percent") << 60.1 << 143.0 << u"Pos:  60.1s    250f (42%)  25.00fps"_s;
    QTest::newRow("start") << 0.0 << 140.0 << u"Pos:   0.0s    250f ( 0%)  25.00fps"_s;
    QTest::newRow("never 100 while running")
        << 2.04 << 2.0 << u"Pos:   2.0s    250f (99%)  25.00fps"_s;
    QTest::newRow("unknown duration") << 3.0 << 0.0 << u"Pos:   3.0s    250f ( 0%)  25.00fps"_s;
}

void TestProgressOutput::convLines()
{
    QFETCH(double, seconds);
    QFETCH(double, duration);
    QFETCH(QString, expected);
    const std::optional<double> known =
        duration > 0 ? std::optional<double>(duration) : std::nullopt;
    QCOMPARE(ProgressLines::convLine(snapshot(seconds, 250, 25.0), known), expected);
}

void TestProgressOutput::convFinishedLine()
{
    QCOMPARE(ProgressLines::convFinishedLine(snapshot(2.04, 51, 0.0)),
             u"Pos:   2.0s     51f (100%)   0.00fps"_s);
}

void TestProgressOutput::coderDurationLines_data()
{
    QTest::addColumn<double>("duration");
    QTest::addColumn<qint64>("bitsPerSecond");
    QTest::addColumn<QString>("expected");

    QTest::newRow("2 min 5.5 s") << 125.5 << qint64(512000)
                                 << u"Duration: 00:02:05.50, start: 0.000000, bitrate: 512 kb/s"_s;
    QTest::newRow("rounds into the next minute")
        << 59.999 << qint64(627123)
        << u"Duration: 00:01:00.00, start: 0.000000, bitrate: 627 kb/s"_s;
    QTest::newRow("over an hour") << 3725.25 << qint64(0)
                                  << u"Duration: 01:02:05.25, start: 0.000000, bitrate: N/A"_s;
    QTest::newRow("unknown") << -1.0 << qint64(0)
                             << u"Duration: N/A, start: 0.000000, bitrate: N/A"_s;
}

void TestProgressOutput::coderDurationLines()
{
    QFETCH(double, duration);
    QFETCH(qint64, bitsPerSecond);
    QFETCH(QString, expected);
    MediaInfo input;
    if (duration >= 0)
        input.durationSeconds = duration;
    if (bitsPerSecond > 0)
        input.bitsPerSecond = bitsPerSecond;
    QCOMPARE(ProgressLines::coderDurationLine(input, input.durationSeconds), expected);
}

void TestProgressOutput::coderLines_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<double>("kilobits");
    QTest::addColumn<double>("finishedOf"); // the duration of a finished line, -1 for others
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain seconds")
        << 12.0 << 699.1 << -1.0
        << u"frame=  300 fps= 25 q=2.0 size=    1024kB time=12.00 bitrate= 699.1kbits/s"_s;
    QTest::newRow("past a minute, still seconds")
        << 125.456 << 1200.0 << -1.0
        << u"frame=  300 fps= 25 q=2.0 size=    1024kB time=125.46 bitrate=1200.0kbits/s"_s;
    QTest::newRow("bitrate not known yet")
        << 0.0 << -1.0 << -1.0
        << u"frame=  300 fps= 25 q=2.0 size=    1024kB time=0.00 bitrate=N/A"_s;
    QTest::newRow("finished a stream short of the duration")
        << 9.87 << 699.1 << 10.001
        << u"frame=  300 fps= 25 q=2.0 size=    1024kB time=10.01 bitrate= 699.1kbits/s"_s;
    QTest::newRow("finished past the duration")
        << 10.2 << 699.1 << 10.0
        << u"frame=  300 fps= 25 q=2.0 size=    1024kB time=10.20 bitrate= 699.1kbits/s"_s;
}

void TestProgressOutput::coderLines()
{
    QFETCH(double, seconds);
    QFETCH(double, kilobits);
    QFETCH(double, finishedOf);
    QFETCH(QString, expected);
    ProgressReader::Snapshot block = snapshot(seconds, 300, 25.0);
    block.quality = 2.0;
    block.totalBytes = 1024 * 1024;
    if (kilobits >= 0)
        block.kilobitsPerSecond = kilobits;
    QCOMPARE(finishedOf < 0 ? ProgressLines::coderLine(block)
                            : ProgressLines::coderFinishedLine(block, finishedOf),
             expected);
}

void TestProgressOutput::partFileName_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << u"clip.mp4"_s << u".clip.part-a1B2c3.mp4"_s;
    QTest::newRow("a dotted name") << u"my.clip.rm"_s << u".my.clip.part-a1B2c3.rm"_s;
    QTest::newRow("no extension") << u"clip"_s << u".clip.part-a1B2c3"_s;
    QTest::newRow("an empty extension") << u"clip."_s << u".clip.part-a1B2c3."_s;
    const QString longBase(243, u'a');
    QTest::newRow("near the limit")
        << longBase + u".mpg"_s << u'.' + longBase.first(238) + u".part-a1B2c3.mpg"_s;
    // Three bytes a character: shortened by whole characters.
    const QString wideBase(81, u'视');
    QTest::newRow("wide characters near the limit")
        << wideBase + u".mpg"_s << u'.' + wideBase.first(79) + u".part-a1B2c3.mpg"_s;
}

// The name the encoder writes under is the one a clean-up recognises.
void TestProgressOutput::partFileName()
{
    QFETCH(QString, target);
    QFETCH(QString, expected);
    const QString name = EncoderProtocol::partFileName(target, u"a1B2c3"_s);
    QCOMPARE(name, expected);
    QVERIFY(QFile::encodeName(name).size() <= 255);
    QVERIFY(EncoderProtocol::isPartFileOf(name, target));
}

void TestProgressOutput::isPartFileOf_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("expected");
    QTest::newRow("its own") << u".clip.part-a1B2c3.mp4"_s << u"clip.mp4"_s << true;
    QTest::newRow("a dotted name") << u".my.clip.part-a1B2c3.rm"_s << u"my.clip.rm"_s << true;
    QTest::newRow("no extension") << u".clip.part-a1B2c3"_s << u"clip"_s << true;
    QTest::newRow("brackets are letters")
        << u".Show [720p].part-a1B2c3.avi"_s << u"Show [720p].avi"_s << true;
    QTest::newRow("brackets match no other name")
        << u".Show 7.part-a1B2c3.avi"_s << u"Show [720p].avi"_s << false;
    QTest::newRow("a star matches no other name")
        << u".Show 7.part-a1B2c3.avi"_s << u"Show *.avi"_s << false;
    QTest::newRow("a question mark matches no other name")
        << u".ab.part-a1B2c3.avi"_s << u"a?.avi"_s << false;
    QTest::newRow("another extension") << u".clip.part-a1B2c3.mpg"_s << u"clip.mp4"_s << false;
    QTest::newRow("the finished file") << u"clip.mp4"_s << u"clip.mp4"_s << false;
    QTest::newRow("a longer tag") << u".clip.part-a1B2c3d.mp4"_s << u"clip.mp4"_s << false;
    const QString longBase(243, u'a');
    QTest::newRow("a name near the limit, shortened to fit")
        << u'.' + longBase.first(238) + u".part-a1B2c3.mpg"_s << longBase + u".mpg"_s << true;
    QTest::newRow("a name near the limit, not shortened")
        << u'.' + longBase + u".part-a1B2c3.mpg"_s << longBase + u".mpg"_s << false;
}

void TestProgressOutput::isPartFileOf()
{
    QFETCH(QString, name);
    QFETCH(QString, target);
    QFETCH(bool, expected);
    QCOMPARE(EncoderProtocol::isPartFileOf(name, target), expected);
}

void TestProgressOutput::savedPathRoundTrip_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("expected");
    const QString progress = u"frame=  50 time=2.00\r"_s;
    QTest::newRow("the last line")
        << progress + EncoderProtocol::savedLine(u"/o/a.mpg"_s) + u'\n' << u"/o/a.mpg"_s;
    QTest::newRow("a line break and a percent sign in the name")
        << progress + EncoderProtocol::savedLine(u"/o/50%\nb.mpg"_s) << u"/o/50%\nb.mpg"_s;
    QTest::newRow("not at the start of a line") << u"say Saved to: /o/a.mpg\n"_s << QString();
    QTest::newRow("none") << progress << QString();
}

void TestProgressOutput::savedPathRoundTrip()
{
    QFETCH(QString, output);
    QFETCH(QString, expected);
    QCOMPARE(EncoderProtocol::savedPath(output), expected);
}

// Every cause as it is written: the tokens are what other programs (and the
// stand-in encoder of the batch tests) write and read, so they never change.
void TestProgressOutput::failureLineTokens_data()
{
    using Cause = EncoderProtocol::FailureCause;
    QTest::addColumn<Cause>("cause");
    QTest::addColumn<QString>("token");
    QTest::newRow("input missing") << Cause::InputMissing << u"input-missing"_s;
    QTest::newRow("input unreadable") << Cause::InputUnreadable << u"input-unreadable"_s;
    QTest::newRow("not media") << Cause::NotMedia << u"not-media"_s;
    QTest::newRow("no video") << Cause::NoVideoStream << u"no-video"_s;
    QTest::newRow("no audio") << Cause::NoAudioStream << u"no-audio"_s;
    QTest::newRow("cut past the end") << Cause::CutPastTheEnd << u"cut-past-end"_s;
    QTest::newRow("subtitles unusable") << Cause::SubtitlesUnusable << u"subtitles-unusable"_s;
    QTest::newRow("output exists") << Cause::OutputExists << u"output-exists"_s;
    QTest::newRow("output folder missing")
        << Cause::OutputFolderMissing << u"output-folder-missing"_s;
    QTest::newRow("no permission") << Cause::NoPermission << u"no-permission"_s;
    QTest::newRow("disk full") << Cause::DiskFull << u"disk-full"_s;
    QTest::newRow("ffmpeg missing") << Cause::FfmpegMissing << u"ffmpeg-missing"_s;
    QTest::newRow("bad command line") << Cause::BadCommandLine << u"bad-command-line"_s;
    QTest::newRow("stopped by signal") << Cause::StoppedBySignal << u"stopped-by-signal"_s;
    QTest::newRow("encoder error") << Cause::EncoderError << u"encoder-error"_s;
}

void TestProgressOutput::failureLineTokens()
{
    QFETCH(EncoderProtocol::FailureCause, cause);
    QFETCH(QString, token);
    const QString reason = u"the input file \"[a] b.avi\" does not exist"_s;
    const QString line = EncoderProtocol::failureLine(u"coder.exe"_s, {cause, reason});
    QCOMPARE(line, u"coder.exe: ["_s + token + u"] "_s + reason);
    const std::optional<EncoderProtocol::Failure> read =
        EncoderProtocol::failureIn(u"Pos: 1.0s\n"_s + line + u'\n', u"coder.exe"_s);
    QVERIFY(read);
    QCOMPARE(read->cause, cause);
    QCOMPARE(read->reason, reason);
}

void TestProgressOutput::failureLineReadBack_data()
{
    using Cause = EncoderProtocol::FailureCause;
    QTest::addColumn<QString>("lines");
    QTest::addColumn<bool>("found");
    QTest::addColumn<Cause>("cause");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a line without a token") << u"conv.exe: cannot decode a.avi"_s << true
                                            << Cause::EncoderError << u"cannot decode a.avi"_s;
    QTest::newRow("a token this side does not know")
        << u"conv.exe: [disk-on-fire] it smokes"_s << true << Cause::EncoderError << u"it smokes"_s;
    QTest::newRow("brackets that are no token")
        << u"conv.exe: [mp4 @ 0x5f] No space left on device"_s << true << Cause::EncoderError
        << u"[mp4 @ 0x5f] No space left on device"_s;
    QTest::newRow("a token with nothing after it")
        << u"conv.exe: [disk-full]"_s << true << Cause::DiskFull << QString();
    QTest::newRow("the last of two") << u"conv.exe: [no-video] first\nconv.exe: [no-audio] second"_s
                                     << true << Cause::NoAudioStream << u"second"_s;
    QTest::newRow("another encoder's line")
        << u"coder.exe: [disk-full] full"_s << false << Cause::EncoderError << QString();
    QTest::newRow("not at the start of a line")
        << u"said conv.exe: [disk-full] full"_s << false << Cause::EncoderError << QString();
    QTest::newRow("none") << u"Pos: 1.0s"_s << false << Cause::EncoderError << QString();
}

void TestProgressOutput::failureLineReadBack()
{
    QFETCH(QString, lines);
    QFETCH(bool, found);
    QFETCH(EncoderProtocol::FailureCause, cause);
    QFETCH(QString, reason);
    const std::optional<EncoderProtocol::Failure> read =
        EncoderProtocol::failureIn(lines, u"conv.exe"_s);
    QCOMPARE(read.has_value(), found);
    if (found)
        QCOMPARE(*read, (EncoderProtocol::Failure{cause, reason}));
}

QTEST_GUILESS_MAIN(TestProgressOutput)
#include "tst_progressoutput.moc"
