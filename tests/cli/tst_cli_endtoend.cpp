// zenvora-cli and the batch driver with the real encoders and ffmpeg: every
// format, a queue mixing good and bad files, the cause of each failure, a
// hung encoder, a missing encoder, and Stop.
#include "encoders/protocol/JobChoices.h"
#include "engine/BatchDriver.h"
#include "engine/EncoderProcesses.h"
#include "jobs/JobList.h"
#include "tests/encoders/EncoderRun.h"
#include "tests/encoders/FakeFfmpeg.h"
#include "tests/encoders/FileProbe.h"
#include "tests/encoders/PictureAndSound.h"
#include "tests/helpers/ProcessTable.h"
#include "tests/helpers/Words.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString programDir = qEnvironmentVariable("ZENVORA_PROGRAM_DIR");

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// The path of the one file a run left in folder; none or several fail the test.
QString onlyFileIn(const QString &folder)
{
    const QStringList files = filesIn(folder);
    if (files.size() != 1)
        QTest::qFail(qPrintable(u"%1 holds %2 files"_s.arg(folder).arg(files.size())), __FILE__,
                     __LINE__);
    return files.size() == 1 ? folder + u'/' + files.first() : QString();
}

// The types of an ISO file's top-level boxes in file order, read from the
// bytes themselves: where the index lies is not something probes report.
QStringList topLevelBoxes(const QString &path)
{
    QFile file(path);
    QStringList types;
    if (!file.open(QIODevice::ReadOnly))
        return types;
    while (file.pos() + 8 <= file.size()) {
        const qint64 start = file.pos();
        const QByteArray header = file.read(8);
        quint64 size = qFromBigEndian<quint32>(header.constData());
        types.append(QString::fromLatin1(header.mid(4, 4)));
        if (size == 1) // the size follows in 64 bits
            size = qFromBigEndian<quint64>(file.read(8).constData());
        if (size < 8 || !file.seek(start + static_cast<qint64>(size)))
            break;
    }
    return types;
}

} // namespace

class TestCliEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void convertsEveryFormat_data();
    void convertsEveryFormat();
    void cutKeepsTheTimesGiven_data();
    void cutKeepsTheTimesGiven();
    void burnsTheSubtitlesAndTakesTheTrackAsked_data();
    void burnsTheSubtitlesAndTakesTheTrackAsked();
    void soundHasTheBitrateShown_data();
    void soundHasTheBitrateShown();
    void todaysFormatsPlayEverywhere_data();
    void todaysFormatsPlayEverywhere();
    void keepsTheDetailOfAnHdSource_data();
    void keepsTheDetailOfAnHdSource();
    void reportsBadFilesAndConvertsTheRest();
    void namesTheCauseOfEachFailure_data();
    void namesTheCauseOfEachFailure();
    void reportsAHungEncoderByTheHang();
    void convertsSideBySide();
    void endsWithoutItsEncoder();
    void failsClearlyWithoutFfmpeg();
    void stopInTheMiddleLeavesNothingBehind();
    void interruptedRunLeavesNothingBehind_data();
    void interruptedRunLeavesNothingBehind();
    void interruptedRunLeavesAnotherRunAlone_data();
    void interruptedRunLeavesAnotherRunAlone();
    void unusableCacheFailsOnlyTwoStageJobs();
    void signalEndsARunWhoseReaderStopped();
    void reportsANameWithALineBreak();
    void convertsTheNamesOfAList();
    void convertsOntoAFatDrive();
    void convertsANameNearTheLengthLimit();
    void convertsANameInGbk();

private:
    QString longClip();
    QString detailedHdClip();
    double ssimAgainstSource(const QString &output, const QString &source,
                             const QString &outputPicture = u"null"_s) const;
    EncoderRun
    cli(const QStringList &arguments,
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
        const QString &program = programDir + u"/zenvora-cli"_s);
    QString makeClip(const QString &name, const QStringList &sources, double seconds,
                     const QString &size = u"320x180"_s);
    // An "ffmpeg" for ZENVORA_FFMPEG that runs the shell command given, in
    // which {ffmpeg} names the real one.
    QString ffmpegScript(const QString &name, const QString &command);

    QTemporaryDir m_work;
    QString m_ffmpeg;
    QString m_ffprobe;
    QString m_clip;
    QString m_longClip;
    QString m_detailedHdClip;
};

void TestCliEndToEnd::initTestCase()
{
    m_ffmpeg = QStandardPaths::findExecutable(u"ffmpeg"_s);
    m_ffprobe = QStandardPaths::findExecutable(u"ffprobe"_s);
    QVERIFY2(!m_ffmpeg.isEmpty() && !m_ffprobe.isEmpty(), "ffmpeg and ffprobe must be installed");
    QVERIFY(QFile::exists(programDir + u"/zenvora-cli"_s));
    m_clip = makeClip(u"假期 clip.avi"_s, {u"audio"_s, u"video"_s}, 2);
}

QString TestCliEndToEnd::makeClip(const QString &name, const QStringList &sources, double seconds,
                                  const QString &size)
{
    const QString path = m_work.filePath(name);
    QStringList arguments{u"-nostdin"_s, u"-v"_s, u"error"_s, u"-y"_s};
    if (sources.contains(u"video"_s))
        arguments << u"-f"_s << u"lavfi"_s << u"-i"_s
                  << u"testsrc=size=%1:rate=25:duration=%2"_s.arg(size).arg(seconds);
    if (sources.contains(u"audio"_s))
        arguments << u"-f"_s << u"lavfi"_s << u"-i"_s
                  << u"sine=frequency=440:sample_rate=44100:duration=%1"_s.arg(seconds) << u"-ac"_s
                  << u"2"_s;
    arguments << u"-c:v"_s << u"mpeg4"_s << u"-c:a"_s << u"libmp3lame"_s << path;
    const EncoderRun run = EncoderRun::run(m_ffmpeg, arguments);
    if (!run.succeeded())
        qWarning("%s", qPrintable(run.report()));
    return path;
}

QString TestCliEndToEnd::ffmpegScript(const QString &name, const QString &command)
{
    return FakeFfmpeg::write(m_work.filePath(name), m_ffmpeg, command);
}

EncoderRun TestCliEndToEnd::cli(const QStringList &arguments,
                                const QProcessEnvironment &environment, const QString &program)
{
    QProcessEnvironment withCache = environment;
    if (!withCache.contains(u"XDG_CACHE_HOME"_s))
        withCache.insert(u"XDG_CACHE_HOME"_s, m_work.filePath(u"cache"_s));
    // Its lines are read in Chinese, whatever language the machine has.
    withCache.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
    return EncoderRun::run(program, arguments, withCache);
}

// A minute of 720p: long enough that any run of it can be interrupted.
QString TestCliEndToEnd::longClip()
{
    if (m_longClip.isEmpty())
        m_longClip = makeClip(u"long.avi"_s, {u"audio"_s, u"video"_s}, 60, u"1280x720"_s);
    return m_longClip;
}

// Grain that changes every frame over a detailed picture, as a camera
// films it: a re-encode anywhere on the way shows at once.
QString TestCliEndToEnd::detailedHdClip()
{
    if (!m_detailedHdClip.isEmpty())
        return m_detailedHdClip;
    const QString path = m_work.filePath(u"detailed-hd.mp4"_s);
    const EncoderRun run = EncoderRun::run(
        m_ffmpeg, words(u"-nostdin -v error -f lavfi -i "
                        "mandelbrot=size=480x270:rate=25,scale=1920x1080,noise=alls=5:allf=t "
                        "-f lavfi -i sine=frequency=440:sample_rate=48000 -t 1 -c:v libx264 "
                        "-preset veryfast -crf 18 -pix_fmt yuv420p -c:a aac -y"_s) +
                      QStringList{path});
    if (run.succeeded())
        m_detailedHdClip = path;
    else
        qWarning("%s", qPrintable(run.report()));
    return m_detailedHdClip;
}

// The mean SSIM of an output's picture against its source brought to the
// output's size, or a negative value when ffmpeg cannot tell.
double TestCliEndToEnd::ssimAgainstSource(const QString &output, const QString &source,
                                          const QString &outputPicture) const
{
    const EncoderRun run = EncoderRun::run(
        m_ffmpeg,
        {u"-nostdin"_s, u"-hide_banner"_s, u"-i"_s, source, u"-i"_s, output, u"-lavfi"_s,
         u"[1:v]%1[picture];[0:v][picture]scale2ref=flags=bicubic[src][out];[src][out]ssim"_s.arg(
             outputPicture),
         u"-f"_s, u"null"_s, u"-"_s});
    static const QRegularExpression all(u"SSIM .* All:([0-9.]+)"_s);
    const QRegularExpressionMatch match = all.match(run.output);
    return match.hasMatch() ? match.captured(1).toDouble() : -1.0;
}

void TestCliEndToEnd::convertsEveryFormat_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("containerAndCodecs");
    QTest::addColumn<QString>("streams"); // what ffprobe says of the first streams
    const QString mp4 = u"mov,mp4,m4a,3gp,3g2,mj2"_s;
    const QStringList custom{u"-s"_s,           u"176x144"_s, u"--video-bitrate"_s, u"256"_s,
                             u"--audio-rate"_s, u"48000"_s,   u"--audio-bitrate"_s, u"64"_s,
                             u"--channels"_s,   u"mono"_s};
    QTest::newRow("rmvb") << QStringList{u"-f"_s, u"rmvb"_s} << u".rmvb"_s << u"rm rv10 ac3"_s
                          << u"v=rv10 368x208 | a=ac3 44100 2"_s;
    QTest::newRow("rm with its own size")
        << QStringList{u"-f"_s, u"1"_s} + custom << u".rm"_s << u"rm rv10 ac3"_s
        << u"v=rv10 176x144 | a=ac3 48000 1"_s;
    QTest::newRow("mpg") << QStringList{u"-f"_s, u"mpg"_s} << u".mpg"_s << u"mpeg mpeg2video mp2"_s
                         << u"v=mpeg2video 320x180"_s;
    QTest::newRow("avi") << QStringList{u"-f"_s, u"avi"_s} << u".avi"_s << u"avi mpeg2video mp2"_s
                         << u"v=mpeg2video 320x180"_s;
    QTest::newRow("mp4hq") << QStringList{u"-f"_s, u"mp4hq"_s} << u".mp4"_s << mp4 + u" mpeg4 mp3"_s
                           << u"v=mpeg4 320x180"_s;
    QTest::newRow("mov") << QStringList{u"-f"_s, u"mov"_s} << u".mov"_s << mp4 + u" mpeg4 aac"_s
                         << u"v=mpeg4 320x180 | a=aac 48000 2"_s;
    QTest::newRow("mov with its own size")
        << QStringList{u"-f"_s, u"mov"_s, u"-s"_s, u"160x120"_s} << u".mov"_s
        << mp4 + u" mpeg4 aac"_s << u"v=mpeg4 160x120"_s;
    QTest::newRow("mp4mobile") << QStringList{u"-f"_s, u"mp4mobile"_s} << u".mp4"_s
                               << mp4 + u" mpeg4 amr_nb"_s
                               << u"v=mpeg4 320x240 | a=amr_nb 8000 1"_s;
    QTest::newRow("3gp with its own size")
        << QStringList{u"-f"_s, u"3gp"_s, u"-s"_s, u"176x144"_s} << u".3gp"_s
        << mp4 + u" mpeg4 amr_nb"_s << u"v=mpeg4 176x144 | a=amr_nb 8000 1"_s;
    QTest::newRow("mp3") << QStringList{u"-f"_s, u"mp3"_s} << u".mp3"_s << u"mp3  mp3"_s
                         << u"a=mp3 48000 2"_s;
    QTest::newRow("h264") << QStringList{u"-f"_s, u"h264"_s} << u".mp4"_s << mp4 + u" h264 aac"_s
                          << u"v=h264 320x180 | a=aac 48000 2"_s;
    QTest::newRow("hevc with its own values")
        << QStringList{u"-f"_s, u"hevc"_s, u"--frame-rate"_s, u"15"_s} + custom << u".mp4"_s
        << mp4 + u" hevc aac"_s << u"v=hevc 176x144 | a=aac 48000 1"_s;
    QTest::newRow("webm") << QStringList{u"-f"_s, u"webm"_s} << u".webm"_s
                          << u"matroska,webm vp9 opus"_s << u"v=vp9 320x180 | a=opus 48000 2"_s;
}

void TestCliEndToEnd::convertsEveryFormat()
{
    QFETCH(QStringList, options);
    QFETCH(QString, extension);
    QFETCH(QString, containerAndCodecs);
    QFETCH(QString, streams);
    const QString out = m_work.filePath(u"out-"_s + QString::fromLatin1(QTest::currentDataTag()));
    const EncoderRun run = cli(options + QStringList{u"-o"_s, out, m_clip});
    QVERIFY2(run.succeeded(), qPrintable(run.report()));
    QVERIFY2(run.output.contains(u"1 converted, 0 failed."_s), qPrintable(run.output));

    const QString output = onlyFileIn(out);
    QVERIFY(output.startsWith(out + u"/假期 clip-"_s));
    QVERIFY(output.endsWith(extension));
    QVERIFY2(run.output.contains(u"-> "_s + output), qPrintable(run.output));
    const FileProbe probe = FileProbe::of(m_ffprobe, output);
    QCOMPARE(probe.containerAndCodecs, containerAndCodecs);
    QVERIFY2(probe.description.contains(streams), qPrintable(probe.description));
    QVERIFY(qAbs(probe.durationSeconds - 2.0) < 0.5);
}

// The cut reaches the encoder that really encodes: the first stage of a
// single-stage format, the second of a two-stage one.
void TestCliEndToEnd::cutKeepsTheTimesGiven_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("mpg") << u"mpg"_s;
    QTest::newRow("mp3") << u"mp3"_s;
    QTest::newRow("rmvb in two stages") << u"rmvb"_s;
}

void TestCliEndToEnd::cutKeepsTheTimesGiven()
{
    QFETCH(QString, format);
    const QString clip = makeClip(u"six.avi"_s, {u"audio"_s, u"video"_s}, 6);
    const QString out = m_work.filePath(u"cut-"_s + format);
    const EncoderRun run =
        cli({u"-f"_s, format, u"--from"_s, u"1"_s, u"--to"_s, u"0:03"_s, u"-o"_s, out, clip});
    QVERIFY2(run.succeeded(), qPrintable(run.report()));
    const FileProbe probe = FileProbe::of(m_ffprobe, onlyFileIn(out));
    QVERIFY2(qAbs(probe.durationSeconds - 2.0) < 0.3, qPrintable(probe.description));
}

void TestCliEndToEnd::burnsTheSubtitlesAndTakesTheTrackAsked_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<double>("shownAt"); // negative: text at no moment looked at
    QTest::addColumn<double>("hiddenAt");
    QTest::addColumn<int>("toneHz");

    // The film's own subtitles beside it: a cue from 2 s to 3 s. Its sound
    // tracks: Chinese at 440 Hz, then English at 1000 Hz, flagged default.
    QTest::newRow("the subtitles beside the film, the default track")
        << u"h264"_s << QStringList{} << 2.5 << 1.0 << 1000;
    QTest::newRow("a subtitle file named instead (cue 0.5 s to 1.5 s)")
        << u"h264"_s << QStringList{u"--subtitles"_s, u"{named}"_s} << 1.0 << 2.5 << 1000;
    QTest::newRow("no subtitles") << u"mpg"_s << QStringList{u"--subtitles"_s, u"off"_s} << -1.0
                                  << 2.5 << 1000;
    QTest::newRow("the cutter keeps the cues in time, in two stages")
        << u"rmvb"_s << QStringList{u"--from"_s, u"1"_s} << 1.5 << 2.5 << 1000;
    QTest::newRow("a track by its language")
        << u"mp4mobile"_s << QStringList{u"--audio-track"_s, u"chi"_s} << 2.5 << 1.0 << 440;
    QTest::newRow("a track by its number")
        << u"mp3"_s << QStringList{u"--audio-track"_s, u"1"_s} << -1.0 << -1.0 << 440;
}

void TestCliEndToEnd::burnsTheSubtitlesAndTakesTheTrackAsked()
{
    QFETCH(QString, format);
    QFETCH(QStringList, options);
    QFETCH(double, shownAt);
    QFETCH(double, hiddenAt);
    QFETCH(int, toneHz);
    const QString folder = m_work.filePath(u"subtitled"_s);
    const QString film = folder + u"/film.mkv"_s;
    if (!QFile::exists(film)) {
        QVERIFY(QDir().mkpath(folder));
        const auto write = [](const QString &path, const QByteArray &bytes) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        };
        QStringEncoder gbk("GB18030");
        QVERIFY(write(folder + u"/film.chs.srt"_s,
                      gbk.encode(u"1\n00:00:02,000 --> 00:00:03,000\n中文字幕\n"_s)));
        QVERIFY(write(folder + u"/named.srt"_s, "1\n00:00:00,500 --> 00:00:01,500\nNamed\n"));
        const EncoderRun made = EncoderRun::run(
            m_ffmpeg, words(u"-nostdin -v error -f lavfi -i "
                            "color=c=0x406080:size=320x240:rate=25:duration=4 -f lavfi -i "
                            "sine=frequency=440:duration=4 -f lavfi -i "
                            "sine=frequency=1000:duration=4 -map 0 -map 1 -map 2 -c:v libx264 "
                            "-c:a aac -metadata:s:a:0 language=chi -metadata:s:a:1 language=eng "
                            "-disposition:a:0 0 -disposition:a:1 default"_s) +
                          QStringList{film});
        QVERIFY2(made.succeeded(), qPrintable(made.report()));
    }
    options.replaceInStrings(u"{named}"_s, folder + u"/named.srt"_s);
    const QString out =
        m_work.filePath(u"subtitled-out-"_s + QString::fromUtf8(QTest::currentDataTag()));
    const EncoderRun run =
        cli(QStringList{u"-f"_s, format, u"-o"_s, out} + options + QStringList{film});
    QVERIFY2(run.succeeded(), qPrintable(run.report()));
    const QString output = onlyFileIn(out);
    if (shownAt >= 0) {
        const PictureAndSound::Text text = PictureAndSound::textAt(m_ffmpeg, output, shownAt);
        QVERIFY2(text.brightPixels >= 20 && text.onlyInLowerThird,
                 qPrintable(QString::number(text.brightPixels)));
    }
    if (hiddenAt >= 0)
        QVERIFY(PictureAndSound::textAt(m_ffmpeg, output, hiddenAt).brightPixels < 5);
    const int heard = PictureAndSound::pitch(m_ffmpeg, output);
    QVERIFY2(std::abs(heard - toneHz) <= toneHz / 20, qPrintable(QString::number(heard)));
}

// The window shows the sound bitrate; the file has it, not an average that
// plain sound leaves far below it.
void TestCliEndToEnd::soundHasTheBitrateShown_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("kbps");
    QTest::newRow("mp4hq at its default") << QStringList{u"-f"_s, u"mp4hq"_s} << 320;
    QTest::newRow("mp4hq at 128") << QStringList{u"-f"_s, u"mp4hq"_s, u"--audio-bitrate"_s,
                                                 u"128"_s}
                                  << 128;
}

void TestCliEndToEnd::soundHasTheBitrateShown()
{
    QFETCH(QStringList, options);
    QFETCH(int, kbps);
    const QString out = m_work.filePath(u"kbps-"_s + QString::fromLatin1(QTest::currentDataTag()));
    const EncoderRun run = cli(options + QStringList{u"-o"_s, out, m_clip});
    QVERIFY2(run.succeeded(), qPrintable(run.report()));
    const FileProbe probe = FileProbe::of(m_ffprobe, onlyFileIn(out));
    QVERIFY2(qAbs(probe.audioKbps - kbps) <= kbps / 50,
             qPrintable(QString::number(probe.audioKbps)));
}

// The formats made in two stages encode the source once: the final file is
// as close to the source as one encode with its settings makes it. Each
// floor lies well above what a lossy intermediate copy of the source gave.
void TestCliEndToEnd::todaysFormatsPlayEverywhere_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QString>("tag");  // empty where the container has none
    QTest::addColumn<int>("maxLevel"); // 0: not checked

    // 320x180 at 25 fps needs H.264 level 1.2; 2.0 leaves room for the
    // encoder's choice of reference frames.
    QTest::newRow("h264") << u"h264"_s << u"High"_s << u"avc1"_s << 20;
    QTest::newRow("hevc") << u"hevc"_s << u"Main"_s << u"hvc1"_s << 0;
    QTest::newRow("webm") << u"webm"_s << u"Profile 0"_s << QString() << 0;
}

// A source no player of the web or a phone takes as it is: 10 bits, 4:4:4,
// an alpha plane and odd sides.
void TestCliEndToEnd::todaysFormatsPlayEverywhere()
{
    QFETCH(QString, format);
    QFETCH(QString, profile);
    QFETCH(QString, tag);
    QFETCH(int, maxLevel);
    const QString source = m_work.filePath(u"alpha-444-10bit.mkv"_s);
    if (!QFile::exists(source)) {
        const EncoderRun made = EncoderRun::run(
            m_ffmpeg, {u"-nostdin"_s, u"-v"_s, u"error"_s, u"-f"_s, u"lavfi"_s, u"-i"_s,
                       u"testsrc=size=321x181:rate=25,format=yuva444p10le"_s, u"-f"_s, u"lavfi"_s,
                       u"-i"_s, u"sine=sample_rate=96000"_s, u"-t"_s, u"1"_s, u"-c:v"_s, u"ffv1"_s,
                       u"-c:a"_s, u"flac"_s, source});
        QVERIFY2(made.succeeded(), qPrintable(made.report()));
    }
    const QString out = m_work.filePath(u"today-"_s + format);
    const EncoderRun run = cli({u"-f"_s, format, u"-o"_s, out, source});
    QVERIFY2(run.succeeded(), qPrintable(run.report()));
    const QString path = onlyFileIn(out);

    const FileProbe probe = FileProbe::of(m_ffprobe, path);
    QVERIFY2(probe.description.contains(u" 320x180 | a="_s), qPrintable(probe.description));
    QCOMPARE(probe.videoProfile, profile);
    QCOMPARE(probe.pixelFormat, u"yuv420p"_s);
    if (!tag.isEmpty())
        QCOMPARE(probe.videoTag, tag);
    if (maxLevel > 0)
        QVERIFY2(probe.videoLevel > 0 && probe.videoLevel <= maxLevel,
                 qPrintable(QString::number(probe.videoLevel)));
    if (path.endsWith(u".mp4"_s)) {
        const QStringList boxes = topLevelBoxes(path);
        QVERIFY2(boxes.contains(u"mdat"_s) && boxes.indexOf(u"moov"_s) >= 0 &&
                     boxes.indexOf(u"moov"_s) < boxes.indexOf(u"mdat"_s),
                 qPrintable(boxes.join(u' ')));
    }
}

void TestCliEndToEnd::keepsTheDetailOfAnHdSource_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<double>("lowestSsim");
    QTest::addColumn<QString>("picture"); // where the picture is in the output's frame
    // Through a 1200 kbit/s intermediate these were 0.9706 (RealMedia),
    // 0.9733 (MOV) and 0.9881 (the mobile formats); encoded once, 0.9749,
    // 0.9927 and 0.9917. The mobile formats' 4:3 frame holds the 16:9
    // picture between black bars.
    const QString whole = u"null"_s;
    const QString letterboxed = u"crop=320:180"_s;
    QTest::newRow("rmvb") << u"rmvb"_s << 0.973 << whole;
    QTest::newRow("rm") << u"rm"_s << 0.973 << whole;
    QTest::newRow("mov") << u"mov"_s << 0.985 << whole;
    QTest::newRow("mp4mobile") << u"mp4mobile"_s << 0.990 << letterboxed;
    QTest::newRow("3gp") << u"3gp"_s << 0.990 << letterboxed;
}

void TestCliEndToEnd::keepsTheDetailOfAnHdSource()
{
    QFETCH(QString, format);
    QFETCH(double, lowestSsim);
    QFETCH(QString, picture);
    const QString source = detailedHdClip();
    QVERIFY(!source.isEmpty());
    const QString out = m_work.filePath(u"out-detail-"_s + format);
    const EncoderRun run = cli({u"-f"_s, format, u"-o"_s, out, source});
    QVERIFY2(run.succeeded(), qPrintable(run.report()));
    const double ssim = ssimAgainstSource(onlyFileIn(out), source, picture);
    QVERIFY2(ssim >= lowestSsim,
             qPrintable(u"SSIM %1, at least %2 expected"_s.arg(ssim).arg(lowestSsim)));
}

void TestCliEndToEnd::reportsBadFilesAndConvertsTheRest()
{
    const QString silentVideo = makeClip(u"silent.avi"_s, {u"video"_s}, 1);
    const QString text = m_work.filePath(u"notes.avi"_s);
    QFile notes(text);
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("this is not a video\n");
    notes.close();
    const QString empty = m_work.filePath(u"empty.avi"_s);
    QVERIFY(QFile(empty).open(QIODevice::WriteOnly));
    const QString out = m_work.filePath(u"out-mixed"_s);

    const EncoderRun run = cli({u"-f"_s, u"mp3"_s, u"-o"_s, out, m_clip, silentVideo, text, empty,
                                m_work.filePath(u"gone.avi"_s), m_clip});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.output.contains(u"2 converted, 4 failed."_s), qPrintable(run.output));
    QCOMPARE(run.output.count(u"] 失败："_s), 4);
    // The same input twice: two files, the second never written over the first.
    const QStringList files = filesIn(out);
    QCOMPARE(files.size(), 2);
    for (const QString &file : files)
        QVERIFY(FileProbe::of(m_ffprobe, out + u'/' + file).durationSeconds > 1.5);
}

// What the program tells a person of a failed file is the cause its encoder
// named, each made to happen with the real encoders: a person acts on it.
void TestCliEndToEnd::namesTheCauseOfEachFailure_data()
{
    using Cause = Outcome::Failed::Cause;
    QTest::addColumn<QString>("input");
    QTest::addColumn<OutputFormat>("format");
    QTest::addColumn<int>("cutFrom"); // seconds
    QTest::addColumn<JobChoices::Subtitles>("subtitles");
    QTest::addColumn<QString>("ffmpeg");       // ZENVORA_FFMPEG, if set
    QTest::addColumn<QString>("outputFolder"); // empty for a fresh one
    QTest::addColumn<Cause>("cause");

    const QString none;
    const QString text = m_work.filePath(u"not-media.txt"_s);
    QFile notes(text);
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("this is neither a video nor subtitles\n");
    notes.close();
    const QString folder = m_work.filePath(u"a folder.avi"_s);
    QVERIFY(QDir().mkpath(folder));
    const QString soundOnly = makeClip(u"sound-only.avi"_s, {u"audio"_s}, 1);
    const QString silentFilm = makeClip(u"silent-film.avi"_s, {u"video"_s}, 1);
    const JobChoices::Subtitles auto_;

    QTest::newRow("a file removed from the queue's folder")
        << m_work.filePath(u"removed.avi"_s) << OutputFormat::Mp3Audio << 0 << auto_ << none << none
        << Cause::InputMissing;
    QTest::newRow("a folder") << folder << OutputFormat::Mp3Audio << 0 << auto_ << none << none
                              << Cause::UnreadableInput;
    QTest::newRow("a text file") << text << OutputFormat::Mpg << 0 << auto_ << none << none
                                 << Cause::NotMedia;
    QTest::newRow("sound only to a video format")
        << soundOnly << OutputFormat::Mpg << 0 << auto_ << none << none << Cause::NoVideoStream;
    QTest::newRow("a silent film to MP3") << silentFilm << OutputFormat::Mp3Audio << 0 << auto_
                                          << none << none << Cause::NoAudioStream;
    QTest::newRow("cut from after the end")
        << m_clip << OutputFormat::Mp3Audio << 30 << auto_ << none << none << Cause::CutPastTheEnd;
    QTest::newRow("a subtitle file without subtitles")
        << m_clip << OutputFormat::Mpg << 0
        << JobChoices::Subtitles{JobChoices::Subtitles::Kind::File, text} << none << none
        << Cause::SubtitlesUnusable;
    QTest::newRow("no ffmpeg") << m_clip << OutputFormat::Mp3Audio << 0 << auto_
                               << m_work.filePath(u"nowhere/ffmpeg"_s) << none
                               << Cause::FfmpegMissing;
    // ffmpeg writes a second copy where every write fails as on a full disk;
    // raw pictures, so that a write fails before the end (ffmpeg 5.1 exits 0
    // when only its trailer cannot be written).
    QTest::newRow("a full disk")
        << m_clip << OutputFormat::Mpg << 0 << auto_
        << ffmpegScript(u"full-disk"_s,
                        u"exec \"{ffmpeg}\" -y \"$@\" -map 0:v -c:v rawvideo -f nut /dev/full"_s)
        << none << Cause::DiskFull;
    // No one, not even root, may make a file in /sys.
    QTest::newRow("a folder no file may be made in")
        << m_clip << OutputFormat::Mp3Audio << 0 << auto_ << none << u"/sys"_s
        << Cause::NoPermission;
    QTest::newRow("ffmpeg failing for a reason of its own")
        << m_clip << OutputFormat::Mp3Audio << 0 << auto_
        << ffmpegScript(u"failing"_s, u"echo 'Conversion failed!' >&2; exit 1"_s) << none
        << Cause::EncoderError;
}

void TestCliEndToEnd::namesTheCauseOfEachFailure()
{
    QFETCH(QString, input);
    QFETCH(OutputFormat, format);
    QFETCH(int, cutFrom);
    QFETCH(JobChoices::Subtitles, subtitles);
    QFETCH(QString, ffmpeg);
    QFETCH(QString, outputFolder);
    QFETCH(Outcome::Failed::Cause, cause);
    const QByteArray chosenFfmpeg = qgetenv("ZENVORA_FFMPEG");
    const auto restore = qScopeGuard([&chosenFfmpeg] {
        if (chosenFfmpeg.isNull())
            qunsetenv("ZENVORA_FFMPEG");
        else
            qputenv("ZENVORA_FFMPEG", chosenFfmpeg);
    });
    if (!ffmpeg.isEmpty())
        qputenv("ZENVORA_FFMPEG", QFile::encodeName(ffmpeg));
    const QString out =
        outputFolder.isEmpty()
            ? m_work.filePath(u"out-cause-"_s + QString::fromUtf8(QTest::currentDataTag()))
            : outputFolder;
    CommandEnvironment environment;
    environment.programFolder = programDir;
    environment.intermediatePath = m_work.filePath(u"cause-tmp/tmp.mp4"_s);
    JobList queue;
    queue.addJobs({input});
    BatchDriver driver(queue, environment);
    std::optional<BatchReport> report;
    connect(&driver, &BatchDriver::batchFinished, this, [&](const BatchReport &r) { report = r; });
    ConversionSettings settings = ConversionSettings::startupDefaults();
    settings.selectFormat(format);
    settings.outputFolder = out;
    settings.choices.setCut(cutFrom, 0);
    settings.choices.subtitles = subtitles;
    driver.requestStart(settings, false);
    QTRY_VERIFY_WITH_TIMEOUT(report.has_value(), 60000);

    // Kept by value: the pointer below points into it.
    const QList<JobResult> failures = report->failures();
    QCOMPARE(failures.size(), 1);
    const auto *failed = std::get_if<Outcome::Failed>(&failures.first().outcome);
    QVERIFY(failed);
    QVERIFY2(failed->cause == cause, qPrintable(failed->run.lastLines));
    // What the encoder said reaches the details as words, the token read.
    QVERIFY2(failed->run.failureLine.startsWith(failed->run.encoder + u": "_s) &&
                 !failed->run.failureLine.contains(u'['),
             qPrintable(failed->run.failureLine));
}

void TestCliEndToEnd::reportsAHungEncoderByTheHang()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"ZENVORA_FFMPEG"_s, ffmpegScript(u"silent"_s, u"exec sleep 30"_s));
    const QString out = m_work.filePath(u"out-hung"_s);
    const EncoderRun run =
        cli({u"--stall-timeout"_s, u"1"_s, u"-f"_s, u"mpg"_s, u"-o"_s, out, m_clip}, environment);
    QCOMPARE(run.exitCode, 1);
    const QString hang = u"conv.exe stopped: no output for 1 s"_s;
    QVERIFY2(run.output.contains(u"] 失败："_s + hang + u'\n'), qPrintable(run.output));
    QVERIFY2(run.output.contains(u"  "_s + m_clip + u": "_s + hang + u'\n'),
             qPrintable(run.output));
    // How the encoder took being stopped is among its last lines, below.
    QVERIFY2(run.output.contains(u"\n    conv.exe: [stopped-by-signal] stopped by signal 15"_s),
             qPrintable(run.output));
    QVERIFY(filesIn(out).isEmpty());
}

void TestCliEndToEnd::convertsSideBySide()
{
    const QString other = makeClip(u"other.avi"_s, {u"audio"_s, u"video"_s}, 2);
    const QString out = m_work.filePath(u"out-side-by-side"_s);
    const EncoderRun run =
        cli({u"-j"_s, u"2"_s, u"-f"_s, u"mov"_s, u"-o"_s, out, m_clip, m_clip, other});
    QVERIFY2(run.succeeded(), qPrintable(run.report()));
    QVERIFY2(run.output.contains(u"3 converted, 0 failed."_s), qPrintable(run.output));
    static const QRegularExpression progressLine(u"^\\[[123]/3\\] \\S.*: \\S+ \\d+%$"_s,
                                                 QRegularExpression::MultilineOption);
    QVERIFY2(run.output.contains(progressLine), qPrintable(run.output));
    QVERIFY2(run.output.contains(QRegularExpression(u"^1/3 done, about \\d+:\\d\\d left$"_s,
                                                    QRegularExpression::MultilineOption)),
             qPrintable(run.output));
    // The same input twice, started together: two files, neither over the other.
    const QStringList files = filesIn(out);
    QCOMPARE(files.size(), 3);
    QCOMPARE(files.filter(u"假期 clip-"_s).size(), 2);
    for (const QString &file : files)
        QVERIFY(qAbs(FileProbe::of(m_ffprobe, out + u'/' + file).durationSeconds - 2.0) < 0.5);
    QCOMPARE(QDir(m_work.filePath(u"cache/zenvora"_s)).entryList({u"cli-*"_s}, QDir::Dirs),
             QStringList{});
}

void TestCliEndToEnd::endsWithoutItsEncoder()
{
    // A program folder whose data folder lacks coder.exe.
    const QString app = m_work.filePath(u"incomplete-app"_s);
    QVERIFY(QDir().mkpath(app + u"/data"_s));
    QVERIFY(QFile::copy(programDir + u"/zenvora-cli"_s, app + u"/zenvora-cli"_s));
    QVERIFY(QFile::link(programDir + u"/data/conv.exe"_s, app + u"/data/conv.exe"_s));
    const EncoderRun run =
        cli({u"-f"_s, u"mp3"_s, u"-o"_s, m_work.filePath(u"out-missing-encoder"_s), m_clip},
            QProcessEnvironment::systemEnvironment(), app + u"/zenvora-cli"_s);
    QCOMPARE(run.exitCode, 3);
    QVERIFY2(run.output.contains(u"File or command not found"_s), qPrintable(run.output));
    QVERIFY2(run.output.contains(u"0 converted, 1 failed."_s), qPrintable(run.output));
    QVERIFY(filesIn(m_work.filePath(u"out-missing-encoder"_s)).isEmpty());
}

void TestCliEndToEnd::failsClearlyWithoutFfmpeg()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"ZENVORA_FFMPEG"_s, m_work.filePath(u"nowhere/ffmpeg"_s));
    const EncoderRun run =
        cli({u"-f"_s, u"mpg"_s, u"-o"_s, m_work.filePath(u"out-noff"_s), m_clip}, environment);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.output.contains(u"ffmpeg"_s) && run.output.contains(u"0 converted, 1 failed."_s),
             qPrintable(run.output));
}

void TestCliEndToEnd::stopInTheMiddleLeavesNothingBehind()
{
    const QString longClip = this->longClip();
    const QString out = m_work.filePath(u"out-stop"_s);
    CommandEnvironment environment;
    environment.programFolder = programDir;
    environment.intermediatePath = m_work.filePath(u"stop-tmp/tmp.mp4"_s);
    JobList queue;
    queue.addJobs({longClip, m_clip});
    BatchDriver driver(queue, environment);
    int progressUpdates = 0;
    connect(&driver, &BatchDriver::progressChanged, this, [&] { ++progressUpdates; });
    std::optional<BatchReport> report;
    connect(&driver, &BatchDriver::batchFinished, this, [&](const BatchReport &r) { report = r; });

    ConversionSettings settings = ConversionSettings::startupDefaults();
    settings.selectFormat(OutputFormat::Mp4HighQuality);
    settings.outputFolder = out;
    driver.requestStart(settings, false);
    QTRY_VERIFY_WITH_TIMEOUT(progressUpdates > 0 &&
                                 !EncoderProcesses::findDescendantsNamed(u"ffmpeg"_s).isEmpty(),
                             20000);
    driver.stop();
    QTRY_VERIFY_WITH_TIMEOUT(report.has_value(), 10000);
    QVERIFY(report->stopped);
    QCOMPARE(queue.paths(), (QStringList{longClip, m_clip}));
    QTRY_VERIFY(EncoderProcesses::findDescendantsNamed(u"ffmpeg"_s).isEmpty());
    QVERIFY(EncoderProcesses::findDescendantsNamed(u"conv.exe"_s).isEmpty());
    QVERIFY(EncoderProcesses::findDescendantsNamed(u"probe-server"_s).isEmpty());
    QCOMPARE(filesIn(out), QStringList{});
}

void TestCliEndToEnd::interruptedRunLeavesNothingBehind_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
    QTest::newRow("SIGKILL") << int(SIGKILL);
}

void TestCliEndToEnd::interruptedRunLeavesNothingBehind()
{
    QFETCH(int, signalNumber);
    const QString cache = m_work.filePath(u"cache-signal-%1"_s.arg(signalNumber));
    const QString out = m_work.filePath(u"out-signal-%1"_s.arg(signalNumber));
    const QString temp = m_work.filePath(u"temp-signal-%1"_s.arg(signalNumber));
    QVERIFY(QDir().mkpath(temp));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_CACHE_HOME"_s, cache);
    environment.insert(u"TMPDIR"_s, temp);
    QProcess run;
    run.setProcessEnvironment(environment);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(programDir + u"/zenvora-cli"_s, {u"-f"_s, u"rmvb"_s, u"-o"_s, out, longClip()});
    QVERIFY(run.waitForStarted());
    // Well into the conversion: ffmpeg writes the output.
    QTRY_VERIFY_WITH_TIMEOUT(!EncoderProcesses::findDescendantsNamed(u"ffmpeg"_s).isEmpty() &&
                                 !QDir(cache + u"/zenvora"_s)
                                      .entryList({u"cli-*"_s}, QDir::Dirs | QDir::Hidden)
                                      .isEmpty(),
                             20000);
    const QList<qint64> probeServers = EncoderProcesses::findDescendantsNamed(u"probe-server"_s);
    QCOMPARE(probeServers.size(), 1);
    // Taken before the signal: a killed program's children are no longer
    // this test's descendants.
    const QList<qint64> started = probeServers +
                                  EncoderProcesses::findDescendantsNamed(u"coder.exe"_s) +
                                  EncoderProcesses::findDescendantsNamed(u"ffmpeg"_s);
    ::kill(static_cast<pid_t>(run.processId()), signalNumber);
    QVERIFY(run.waitForFinished(10000));
    // A killed program cleans nothing up itself: what it started must, and
    // its working folder goes with the next run.
    const bool killed = signalNumber == SIGKILL;
    if (!killed) {
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.exitCode(), 128 + signalNumber);
    }
    for (const qint64 process : started)
        QTRY_VERIFY(!ProcessTable::isAlive(process));
    QTRY_COMPARE(QDir(temp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{});
    QTRY_COMPARE(filesIn(out), QStringList{});
    if (killed) {
        run.start(programDir + u"/zenvora-cli"_s, {u"-f"_s, u"mpg"_s, u"-o"_s, out, m_clip});
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(run.exitCode(), 0);
    }
    QCOMPARE(QDir(cache + u"/zenvora"_s).entryList({u"cli-*"_s}, QDir::Dirs | QDir::Hidden),
             QStringList{});
}

void TestCliEndToEnd::interruptedRunLeavesAnotherRunAlone_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<int>("delayMilliseconds"); // after both write their part files
    QTest::newRow("SIGINT at once") << int(SIGINT) << 0;
    QTest::newRow("SIGINT later") << int(SIGINT) << 600;
    QTest::newRow("SIGKILL at once") << int(SIGKILL) << 0;
    QTest::newRow("SIGKILL later") << int(SIGKILL) << 600;
}

// Two runs into one folder from inputs of the same name, as a GNU parallel
// recipe starts them: the one interrupted cleans up its own part file, and
// the other's conversion goes on to its end.
void TestCliEndToEnd::interruptedRunLeavesAnotherRunAlone()
{
    QFETCH(int, signalNumber);
    QFETCH(int, delayMilliseconds);
    const QString out =
        m_work.filePath(u"shared-out-%1-%2"_s.arg(signalNumber).arg(delayMilliseconds));
    const QString first = m_work.filePath(u"first/clip.avi"_s);
    const QString second = m_work.filePath(u"second/clip.avi"_s);
    if (!QFile::exists(first)) {
        QVERIFY(QDir().mkpath(QFileInfo(first).path()) && QDir().mkpath(QFileInfo(second).path()));
        QVERIFY(QFile::copy(longClip(), first) && QFile::copy(longClip(), second));
    }
    const auto partFiles = [&out] {
        return QDir(out).entryList({u".clip-*.part-*"_s}, QDir::Files | QDir::Hidden).size();
    };
    QProcess interrupted;
    interrupted.start(programDir + u"/zenvora-cli"_s, {u"-f"_s, u"rmvb"_s, u"-o"_s, out, first});
    QTRY_VERIFY_WITH_TIMEOUT(partFiles() == 1, 20000);
    QProcess other;
    other.setProcessChannelMode(QProcess::MergedChannels);
    other.start(programDir + u"/zenvora-cli"_s, {u"-f"_s, u"rmvb"_s, u"-o"_s, out, second});
    QTRY_VERIFY_WITH_TIMEOUT(partFiles() == 2, 20000);
    QTest::qWait(delayMilliseconds);
    ::kill(static_cast<pid_t>(interrupted.processId()), signalNumber);
    QVERIFY(interrupted.waitForFinished(10000));
    QVERIFY(other.waitForFinished(120000));
    QVERIFY2(other.exitStatus() == QProcess::NormalExit && other.exitCode() == 0,
             other.readAll().constData());
    QVERIFY(FileProbe::of(m_ffprobe, onlyFileIn(out)).durationSeconds > 59.0);
    QTRY_COMPARE(partFiles(), 0);
}

void TestCliEndToEnd::unusableCacheFailsOnlyTwoStageJobs()
{
    const QString cacheFile = m_work.filePath(u"cache-is-a-file"_s);
    QFile blocker(cacheFile);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_CACHE_HOME"_s, cacheFile);
    const QString out = m_work.filePath(u"out-nocache"_s);

    const EncoderRun mp3 = cli({u"-f"_s, u"mp3"_s, u"-o"_s, out, m_clip}, environment);
    QCOMPARE(mp3.exitCode, 0);
    QVERIFY2(mp3.output.contains(u"1 converted, 0 failed."_s), qPrintable(mp3.output));
    const EncoderRun mov = cli({u"-f"_s, u"mov"_s, u"-o"_s, out, m_clip}, environment);
    QCOMPARE(mov.exitCode, 1);
    QVERIFY2(mov.output.contains(u"无法创建临时文件夹"_s), qPrintable(mov.output));
    const EncoderRun english =
        cli({u"--lang"_s, u"en"_s, u"-f"_s, u"mov"_s, u"-o"_s, out, m_clip}, environment);
    QVERIFY2(english.output.contains(u"] failed: Cannot create the working folder: "_s),
             qPrintable(english.output));
    QVERIFY2(english.output.contains(u"0 converted, 1 failed."_s), qPrintable(english.output));
    QCOMPARE(filesIn(out).size(), 1);
}

// "zenvora-cli ... | less" with the pager not reading: output waits for the
// reader, the batch does not, and Ctrl-C still ends it at once.
void TestCliEndToEnd::signalEndsARunWhoseReaderStopped()
{
    const QString fifo = m_work.filePath(u"stuck-reader"_s);
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    const int filler = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
    QVERIFY(reader >= 0 && filler >= 0);
    const QByteArray block(4096, 'x');
    while (::write(filler, block.constData(), block.size()) > 0) {
    }
    ::close(filler);

    QProcess run;
    run.setStandardOutputFile(fifo);
    run.start(programDir + u"/zenvora-cli"_s,
              {u"-f"_s, u"mpg"_s, u"-o"_s, m_work.filePath(u"out-stuck"_s), longClip()});
    QVERIFY(run.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(!EncoderProcesses::findDescendantsNamed(u"ffmpeg"_s).isEmpty(), 20000);
    QElapsedTimer clock;
    clock.start();
    ::kill(static_cast<pid_t>(run.processId()), SIGINT);
    QVERIFY(run.waitForFinished(5000));
    ::close(reader);
    QVERIFY2(clock.elapsed() < 2500, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(run.exitCode(), 128 + SIGINT);
    QTRY_VERIFY(EncoderProcesses::findDescendantsNamed(u"ffmpeg"_s).isEmpty());
    QCOMPARE(filesIn(m_work.filePath(u"out-stuck"_s)), QStringList{});
}

// The encoders' last line names the file written, whatever its name holds.
void TestCliEndToEnd::reportsANameWithALineBreak()
{
    const QString input = m_work.filePath(u"new\nline 100%.avi"_s);
    QVERIFY(QFile::copy(m_clip, input));
    const QString out = m_work.filePath(u"out-line-break"_s);
    const EncoderRun run = cli({u"-f"_s, u"rmvb"_s, u"-o"_s, out, input});
    QVERIFY2(run.succeeded(), qPrintable(run.report()));
    QVERIFY2(run.output.contains(u"1 converted, 0 failed."_s), qPrintable(run.output));
    const QString output = onlyFileIn(out);
    QVERIFY(output.startsWith(out + u"/new\nline 100%-"_s));
    QVERIFY2(run.output.contains(u"-> "_s + output), qPrintable(run.output));
}

// Names from find -print0 on standard input: a line break stays part of its
// name, and a listed name of no file fails as it does on the command line.
void TestCliEndToEnd::convertsTheNamesOfAList()
{
    const QString folder = m_work.filePath(u"listed"_s);
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::copy(m_clip, folder + u"/two\nlines.avi"_s));
    QVERIFY(QFile::copy(m_clip, folder + u"/plain.avi"_s));
    const QString gone = folder + u"/gone.avi"_s;
    const QString out = m_work.filePath(u"out-listed"_s);
    const EncoderRun run = cli({u"-c"_s,
                                u"{ find \"$1\" -type f -print0; printf '%s\\0' \"$2\"; } |"
                                " exec \"$0\" -f mp3 -o \"$3\" --files-from - -0"_s,
                                programDir + u"/zenvora-cli"_s, folder, gone, out},
                               QProcessEnvironment::systemEnvironment(), u"/bin/sh"_s);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.output.contains(u"2 converted, 1 failed."_s), qPrintable(run.output));
    QVERIFY2(run.output.contains(gone), qPrintable(run.output));
    const QStringList files = filesIn(out);
    QCOMPARE(files.size(), 2);
    QCOMPARE(files.filter(u"two\nlines-"_s).size(), 1);
    QCOMPARE(files.filter(u"plain-"_s).size(), 1);
}

// A USB stick mounted through FUSE: no rename without replacing, no hard
// links, and a colon in a name refused.
void TestCliEndToEnd::convertsOntoAFatDrive()
{
    const QString fusefat = QStandardPaths::findExecutable(u"fusefat"_s);
    const QString mkfs =
        QStandardPaths::findExecutable(u"mkfs.fat"_s, {u"/usr/sbin"_s, u"/sbin"_s});
    if (fusefat.isEmpty() || mkfs.isEmpty() || !QFileInfo(u"/dev/fuse"_s).isWritable())
        QSKIP("needs fusefat, mkfs.fat and a writable /dev/fuse");
    const QString image = m_work.filePath(u"fat.img"_s);
    const QString drive = m_work.filePath(u"fat"_s);
    QVERIFY(QDir().mkpath(drive));
    const EncoderRun format = EncoderRun::run(mkfs, {u"-C"_s, image, u"32768"_s});
    QVERIFY2(format.succeeded(), qPrintable(format.report()));
    if (!EncoderRun::run(fusefat, {u"-o"_s, u"rw+"_s, image, drive}).succeeded())
        QSKIP("the FAT image cannot be mounted here");
    const auto unmount =
        qScopeGuard([&drive] { ::umount2(QFile::encodeName(drive).constData(), MNT_DETACH); });

    const QString input = m_work.filePath(u"a:b.avi"_s);
    QVERIFY(QFile::copy(m_clip, input));
    const QString out = drive + u"/out"_s;
    QStringList before;
    for (int run = 1; run <= 2; ++run) {
        const EncoderRun converted = cli({u"-f"_s, u"mpg"_s, u"-o"_s, out, input});
        QVERIFY2(converted.succeeded(), qPrintable(converted.report()));
        QStringList files = filesIn(out);
        QCOMPARE(files.size(), run);
        for (const QString &old : std::as_const(before))
            files.removeOne(old);
        // fusefat takes ASCII names only, so the full-width colon of a
        // drive that takes Unicode names becomes an underscore here.
        const QString written = files.first();
        QVERIFY2(written.startsWith(u"a：b-"_s) || written.startsWith(u"a_b-"_s),
                 qPrintable(written));
        QVERIFY(qAbs(FileProbe::of(m_ffprobe, out + u'/' + written).durationSeconds - 2.0) < 0.5);
        QVERIFY2(converted.output.contains(u"-> "_s + out + u'/' + written),
                 qPrintable(converted.output));
        before.append(written);
    }
}

// The output's name takes about 250 of the 255 bytes a name may have; the
// hidden name it is written under first must fit as well.
void TestCliEndToEnd::convertsANameNearTheLengthLimit()
{
    const QString input = m_work.filePath(QString(240, u'a') + u".avi"_s);
    QVERIFY(QFile::copy(m_clip, input));
    const QString out = m_work.filePath(u"out-long-name"_s);
    const EncoderRun run = cli({u"-f"_s, u"mpg"_s, u"-o"_s, out, input});
    QVERIFY2(run.succeeded(), qPrintable(run.report()));
    QVERIFY(onlyFileIn(out).startsWith(out + u'/' + QString(240, u'a') + u'-'));
}

// A name of GBK bytes, as old Windows archives have them, given on the
// command line: opened by its bytes, the output named as the name reads.
void TestCliEndToEnd::convertsANameInGbk()
{
    const QByteArray input = QFile::encodeName(m_work.path()) + "/\xbc\xd9\xc6\xda.avi";
    QVERIFY(QFile::copy(m_clip, m_work.filePath(u"gbk-source.avi"_s)));
    QVERIFY(::rename(QFile::encodeName(m_work.filePath(u"gbk-source.avi"_s)).constData(),
                     input.constData()) == 0);
    // Qt cannot name the file to remove it with the rest.
    const auto removeInput = qScopeGuard([&input] { ::unlink(input.constData()); });
    const QString out = m_work.filePath(u"out-gbk"_s);
    // Through the shell, which hands the bytes over as they are.
    const EncoderRun run = cli(
        {u"-c"_s, u"exec \"$0\" -f mov -o \"$1\" \"$(printf '%b' \"$2\")\""_s,
         programDir + u"/zenvora-cli"_s, out,
         QString::fromLatin1(QFile::encodeName(m_work.path())) + u"/\\274\\331\\306\\332.avi"_s},
        QProcessEnvironment::systemEnvironment(), u"/bin/sh"_s);
    QVERIFY2(run.succeeded(), qPrintable(run.report()));
    const QString output = onlyFileIn(out);
    QVERIFY2(output.startsWith(out + u"/假期-"_s), qPrintable(output));
    QVERIFY2(run.output.contains(u"-> "_s + output), qPrintable(run.output));
}

QTEST_GUILESS_MAIN(TestCliEndToEnd)
#include "tst_cli_endtoend.moc"
