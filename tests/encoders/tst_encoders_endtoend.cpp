#include "encoders/protocol/EncoderProtocol.h"
#include "encoders/protocol/JobChoices.h"
#include "tests/encoders/CommandTable.h"
#include "tests/encoders/EncoderRun.h"
#include "tests/encoders/FakeFfmpeg.h"
#include "tests/encoders/FileProbe.h"
#include "tests/helpers/ProcessTable.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <array>
#include <csignal>

using namespace Qt::StringLiterals;
using CommandTable::Format;
using CommandTable::Settings;
using Cause = EncoderProtocol::FailureCause;

// The built conv.exe, coder.exe and coder2.exe run on real clips with the
// system's ffmpeg, driven by the exact argument lists the program passes,
// their outputs checked with ffprobe.
class TestEncodersEndToEnd final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void stageOne_data();
    void stageOne();
    void stageTwo_data();
    void stageTwo();
    void intermediateLeadsToTheSource();
    void intermediateIsBoundToItsSource_data();
    void intermediateIsBoundToItsSource();
    void outputIsOnTheDiskBeforeItHasItsName();
    void everyComboValue_data();
    void everyComboValue();
    void failures_data();
    void failures();
    void endAnnouncedBeforeTheFileIsWritten();
    void awkwardPaths_data();
    void awkwardPaths();
    void stopBySignal_data();
    void stopBySignal();
    void parentDeath();
    void takenNames_data();
    void takenNames();
    void concurrentRuns();
    void wrappedFfmpegEnds_data();
    void wrappedFfmpegEnds();
    void grainyFullHdToRealMedia();

private:
    QString encoder(const QString &name) const;
    QString freshFolder();
    // videoGraph: a lavfi source for the picture, empty for sound only.
    QString makeClip(const QString &name, const QString &videoGraph, double seconds,
                     bool audio) const;
    QString makeIntermediate(const QString &clip);
    QString fakeFfmpeg(const QString &name, const QString &extraArguments, bool execs = true) const;
    QString ffmpegScript(const QString &name, const QString &command) const;
    QProcessEnvironment environment(const QString &kind) const;
    QString partFilesIn(const QString &folder) const;
    QString packetHashes(const QString &path) const;

    QTemporaryDir m_work;
    QString m_data;
    QString m_ffmpeg;
    QString m_ffprobe;
    QString m_clip;
    QString m_intermediate;
    QString m_smallClip;
    QString m_smallIntermediate;
    QString m_longClip;
    int m_folders = 0;
};

namespace {

constexpr double ClipSeconds = 2.0;
constexpr double DurationSlack = 0.3;
constexpr int SignalWaitMilliseconds = 10000;
// The program gives a stopped encoder this long before it kills it; the
// long clip runs in real time for much longer than that.
constexpr int StopWaitMilliseconds = 3000;

constexpr int RunWaitMilliseconds = 60000;

Settings custom(const QString &size, const QString &videoBitrate, const QString &audioRate,
                const QString &audioBitrate, int channels, const QString &frameRate = u"29"_s)
{
    return {size, videoBitrate, frameRate, audioRate, audioBitrate, channels};
}

// conv.exe: every percentage is 3 characters in parentheses, then one
// "(100%)" on the last progress line.
QString convProgressProblem(const QString &output)
{
    static const QRegularExpression group(u"\\(([ \\d]\\d%|100%)\\)"_s);
    QStringList percentages;
    for (const QRegularExpressionMatch &match : group.globalMatch(output))
        percentages.append(match.captured(1));
    if (percentages.count(u"100%"_s) != 1 || percentages.last() != u"100%")
        return u"\"(100%)\" not once and last"_s;
    if (percentages.size() < 2)
        return u"no running percentage"_s;
    const qsizetype lastLine = output.lastIndexOf(u"Pos:"_s);
    if (lastLine < 0 || !output.mid(lastLine).contains(u"(100%)"_s))
        return u"the last progress line is not the finished one"_s;
    return {};
}

// coder.exe, coder2.exe: one "Duration: HH:MM:SS.ss," before any
// "time=", and every time in plain seconds.
QString coderProgressProblem(const QString &output)
{
    static const QRegularExpression duration(u"Duration: \\d\\d:\\d\\d:\\d\\d\\.\\d\\d,"_s);
    static const QRegularExpression time(u"time=(\\S*)"_s);
    static const QRegularExpression seconds(u"^\\d+\\.\\d\\d$"_s);
    const qsizetype durationAt = output.indexOf(duration);
    const qsizetype firstTime = output.indexOf(u"time="_s);
    if (durationAt < 0 || firstTime < 0 || durationAt > firstTime)
        return u"no duration line before the first time"_s;
    if (output.count(u"Duration: "_s) != 1)
        return u"more than one duration line"_s;
    for (const QRegularExpressionMatch &match : time.globalMatch(output)) {
        if (!seconds.match(match.captured(1)).hasMatch())
            return u"time=%1 is not plain seconds"_s.arg(match.captured(1));
    }
    return {};
}

// The command that writes a format's final file, with its defaults.
CommandTable::Command finalCommand(Format format, const QString &input, const QString &output)
{
    const Settings settings = CommandTable::defaults(format);
    return CommandTable::hasStageTwo(format)
               ? CommandTable::stageTwo(format, input, output, settings)
               : CommandTable::stageOne(format, input, output, settings);
}

QString progressToken(const QString &encoderName)
{
    return encoderName == u"conv.exe" ? u"Pos:"_s : u"time="_s;
}

// The file the program takes as written: the last line starting with
// "Saved to: ", which must follow the last progress line at once. Empty
// when there is no such line in that place.
QString savedPath(const QString &output, const QString &encoderName)
{
    static const QString prefix = u"Saved to: "_s;
    const QStringList lines = output.split(u'\n', Qt::SkipEmptyParts);
    qsizetype lastProgress = -1;
    qsizetype lastSaved = -1;
    for (qsizetype index = 0; index < lines.size(); ++index) {
        if (lines.at(index).startsWith(prefix))
            lastSaved = index;
        else if (lines.at(index).contains(progressToken(encoderName)))
            lastProgress = index;
    }
    if (lastSaved < 0 || lastSaved != lastProgress + 1)
        return {};
    return lines.at(lastSaved).mid(prefix.size());
}

// What a running encoder prints until the token shows or the wait is over.
QByteArray readUntil(QProcess &process, const QByteArray &token)
{
    QByteArray printed;
    QElapsedTimer clock;
    clock.start();
    while (!printed.contains(token) && clock.elapsed() < SignalWaitMilliseconds) {
        process.waitForReadyRead(100);
        printed += process.readAll();
    }
    return printed;
}

} // namespace

void TestEncodersEndToEnd::initTestCase()
{
    m_data = qEnvironmentVariable("ZENVORA_PROGRAM_DIR") + u"/data"_s;
    for (const QString &name : {u"conv.exe"_s, u"coder.exe"_s, u"coder2.exe"_s})
        QVERIFY2(QFileInfo(encoder(name)).isExecutable(), qPrintable(encoder(name)));
    m_ffmpeg = QStandardPaths::findExecutable(u"ffmpeg"_s);
    m_ffprobe = QStandardPaths::findExecutable(u"ffprobe"_s);
    QVERIFY2(!m_ffmpeg.isEmpty() && !m_ffprobe.isEmpty(), "ffmpeg and ffprobe must be installed");
    QVERIFY(m_work.isValid());
    m_clip = makeClip(u"clip.avi"_s, u"testsrc=size=640x360:rate=25"_s, ClipSeconds, true);
    m_smallClip = makeClip(u"small.avi"_s, u"testsrc=size=320x240:rate=25"_s, 1.0, true);
    m_longClip = makeClip(u"long.avi"_s, u"testsrc=size=320x240:rate=25"_s, 8.0, true);
    QVERIFY(!m_clip.isEmpty() && !m_smallClip.isEmpty() && !m_longClip.isEmpty());
    m_intermediate = makeIntermediate(m_clip);
    m_smallIntermediate = makeIntermediate(m_smallClip);
    QVERIFY(!m_intermediate.isEmpty() && !m_smallIntermediate.isEmpty());
}

QString TestEncodersEndToEnd::encoder(const QString &name) const
{
    return m_data + u'/' + name;
}

QString TestEncodersEndToEnd::freshFolder()
{
    // Private, as the program's working folder is: only there is a working
    // file followed to its source.
    const QString folder = m_work.filePath(u"run-%1"_s.arg(++m_folders));
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}

QString TestEncodersEndToEnd::makeClip(const QString &name, const QString &videoGraph,
                                       double seconds, bool audio) const
{
    const QString path = m_work.filePath(name);
    QStringList arguments{u"-nostdin"_s, u"-hide_banner"_s, u"-loglevel"_s, u"error"_s};
    if (!videoGraph.isEmpty())
        arguments << u"-f"_s << u"lavfi"_s << u"-i"_s << videoGraph;
    if (audio)
        arguments << u"-f"_s << u"lavfi"_s << u"-i"_s << u"sine=frequency=440:sample_rate=44100"_s;
    arguments << u"-t"_s << QString::number(seconds) << u"-c:v"_s << u"mpeg4"_s << u"-q:v"_s
              << u"5"_s << u"-c:a"_s << u"libmp3lame"_s << u"-ac"_s << u"2"_s << u"-y"_s << path;
    const EncoderRun run = EncoderRun::run(m_ffmpeg, arguments);
    return run.succeeded() ? path : QString();
}

// The intermediate file as the program has stage one make it.
QString TestEncodersEndToEnd::makeIntermediate(const QString &clip)
{
    const QString path = freshFolder() + u"/tmp.mp4"_s;
    const CommandTable::Command command =
        CommandTable::stageOne(Format::Rmvb, clip, path, CommandTable::defaults(Format::Rmvb));
    const EncoderRun run =
        EncoderRun::run(encoder(command.encoder), command.arguments, command.environment);
    if (!run.succeeded())
        qWarning("%s", qPrintable(run.report()));
    return run.succeeded() ? path : QString();
}

// An "ffmpeg" for ZENVORA_FFMPEG that runs the real one with extra
// options in front: "-re" makes it convert in real time, "-t" cuts the
// input short, an unknown option makes it fail. Unless it execs, the real
// ffmpeg is the script's child, as under many wrappers. ffprobe is then
// found on PATH as usual.
QString TestEncodersEndToEnd::fakeFfmpeg(const QString &name, const QString &extraArguments,
                                         bool execs) const
{
    return ffmpegScript(name, u"%1\"%2\" %3 \"$@\""_s.arg(execs ? u"exec "_s : QString(), m_ffmpeg,
                                                          extraArguments));
}

// An "ffmpeg" that runs a shell command, in which {ffmpeg} names the real one.
QString TestEncodersEndToEnd::ffmpegScript(const QString &name, const QString &command) const
{
    return FakeFfmpeg::write(m_work.filePath(name), m_ffmpeg, command);
}

QProcessEnvironment TestEncodersEndToEnd::environment(const QString &kind) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"ZENVORA_FFMPEG"_s);
    if (kind == u"no ffmpeg on PATH")
        environment.insert(u"PATH"_s, m_work.filePath(u"nothing-here"_s));
    else if (kind == u"ZENVORA_FFMPEG missing")
        environment.insert(u"ZENVORA_FFMPEG"_s, m_work.filePath(u"nothing-here/ffmpeg"_s));
    else if (kind == u"slow")
        environment.insert(u"ZENVORA_FFMPEG"_s, fakeFfmpeg(kind, u"-re"_s));
    else if (kind == u"slow, wrapped")
        environment.insert(u"ZENVORA_FFMPEG"_s, fakeFfmpeg(kind, u"-re"_s, false));
    else if (kind == u"subtitles that are none")
        environment.insert(JobChoices::SubtitlesVariable, m_work.filePath(u"notes.srt"_s));
    // ffmpeg writes a second copy where every write fails as on a full disk;
    // raw pictures, so that a write fails before the end (ffmpeg 5.1 exits 0
    // when only its trailer cannot be written).
    else if (kind == u"writing on a full disk")
        environment.insert(
            u"ZENVORA_FFMPEG"_s,
            ffmpegScript(kind,
                         u"exec \"{ffmpeg}\" -y \"$@\" -map 0:v -c:v rawvideo -f nut /dev/full"_s));
    else if (kind == u"refusing")
        environment.insert(u"ZENVORA_FFMPEG"_s, fakeFfmpeg(kind, u"-no_such_option 1"_s));
    else if (kind == u"truncating")
        environment.insert(u"ZENVORA_FFMPEG"_s, fakeFfmpeg(kind, u"-t 0.5"_s));
    else if (kind == u"failing after its end")
        environment.insert(u"ZENVORA_FFMPEG"_s,
                           ffmpegScript(kind, u"\"{ffmpeg}\" \"$@\"; exit 3"_s));
    // Its only "progress=end" comes before the output is written.
    else if (kind == u"announcing its end first")
        environment.insert(
            u"ZENVORA_FFMPEG"_s,
            ffmpegScript(kind, u"echo progress=end; exec \"{ffmpeg}\" \"$@\" >/dev/null"_s));
    return environment;
}

QString TestEncodersEndToEnd::partFilesIn(const QString &folder) const
{
    return QDir(folder)
        .entryList({u".*.part-*"_s}, QDir::Files | QDir::Hidden | QDir::System)
        .join(u", "_s);
}

void TestEncodersEndToEnd::stageOne_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("frameRate");

    const QString src = CommandTable::SourceSize;
    QTest::newRow("MPG defaults 64/600/24")
        << Format::Mpg << CommandTable::defaults(Format::Mpg)
        << u"mpeg | v=mpeg2video 640x360 | a=mp2 44100 2"_s << u"24/1"_s;
    QTest::newRow("MPG 10.2/40/15")
        << Format::Mpg << custom(src, u"40"_s, u"8000"_s, u"10.2"_s, 2, u"15"_s)
        << u"mpeg | v=mpeg2video 640x360 | a=mp2 44100 2"_s << u"24000/1001"_s;
    QTest::newRow("AVI defaults 64/600/24")
        << Format::Avi << CommandTable::defaults(Format::Avi)
        << u"avi | v=mpeg2video 640x360 | a=mp2 44100 2"_s << u"24/1"_s;
    QTest::newRow("AVI 320/1500/29")
        << Format::Avi << custom(src, u"1500"_s, u"48000"_s, u"320"_s, 2, u"29"_s)
        << u"avi | v=mpeg2video 640x360 | a=mp2 44100 2"_s << u"30000/1001"_s;
    QTest::newRow("MP4 high quality defaults 320/1200")
        << Format::Mp4HighQuality << CommandTable::defaults(Format::Mp4HighQuality)
        << u"mov,mp4,m4a,3gp,3g2,mj2 isom | v=mpeg4 640x360 | a=mp3 44100 2"_s << QString();
    QTest::newRow("MP4 high quality 10.2/40")
        << Format::Mp4HighQuality << custom(src, u"40"_s, u"48000"_s, u"10.2"_s, 2)
        << u"mov,mp4,m4a,3gp,3g2,mj2 isom | v=mpeg4 640x360 | a=mp3 44100 2"_s << QString();
    const QString intermediate =
        u"mov,mp4,m4a,3gp,3g2,mj2 isom | v=mpeg4 640x360 | a=mp3 44100 2"_s;
    QTest::newRow("RMVB intermediate")
        << Format::Rmvb << CommandTable::defaults(Format::Rmvb) << intermediate << QString();
    QTest::newRow("RM intermediate")
        << Format::Rm << CommandTable::defaults(Format::Rm) << intermediate << QString();
    QTest::newRow("MOV intermediate")
        << Format::Mov << CommandTable::defaults(Format::Mov) << intermediate << QString();
    QTest::newRow("mobile MP4 intermediate")
        << Format::Mp4Mobile << CommandTable::defaults(Format::Mp4Mobile) << intermediate
        << QString();
    QTest::newRow("3GP intermediate")
        << Format::ThreeGpMobile << CommandTable::defaults(Format::ThreeGpMobile) << intermediate
        << QString();
    QTest::newRow("MP3 48000/320/stereo")
        << Format::Mp3Audio << custom(src, {}, u"48000"_s, u"320"_s, 2) << u"mp3 | a=mp3 48000 2"_s
        << QString();
    QTest::newRow("MP3 12050/10.2/mono")
        << Format::Mp3Audio << custom(src, {}, u"12050"_s, u"10.2"_s, 1) << u"mp3 | a=mp3 12000 1"_s
        << QString();
    QTest::newRow("MP3 28000/64/no channel chosen")
        << Format::Mp3Audio << custom(src, {}, u"28000"_s, u"64"_s, 0) << u"mp3 | a=mp3 32000 2"_s
        << QString();
}

void TestEncodersEndToEnd::stageOne()
{
    QFETCH(Format, format);
    QFETCH(Settings, settings);
    QFETCH(QString, expected);
    QFETCH(QString, frameRate);
    const QString folder = freshFolder();
    const QString output = CommandTable::hasStageTwo(format)
                               ? folder + u"/tmp.mp4"_s
                               : folder + u"/clip-957"_s + CommandTable::extension(format);
    // Run by hand: the command line alone, so the intermediate is encoded.
    const CommandTable::Command command = CommandTable::stageOne(format, m_clip, output, settings);
    const EncoderRun run = EncoderRun::run(encoder(command.encoder), command.arguments);
    QVERIFY2(run.succeeded(), qPrintable(run.report()));

    const FileProbe probe = FileProbe::of(m_ffprobe, output);
    QCOMPARE(probe.description, expected);
    if (!frameRate.isEmpty())
        QCOMPARE(probe.videoFrameRate, frameRate);
    QVERIFY2(qAbs(probe.durationSeconds - ClipSeconds) <= DurationSlack,
             qPrintable(QString::number(probe.durationSeconds)));
    const QString progressProblem = command.encoder == u"conv.exe"
                                        ? convProgressProblem(run.output)
                                        : coderProgressProblem(run.output);
    QVERIFY2(progressProblem.isEmpty(), qPrintable(progressProblem + u'\n' + run.output));
    QVERIFY2(savedPath(run.output, command.encoder) == output, qPrintable(run.output));
    QCOMPARE(partFilesIn(folder), QString());
}

void TestEncodersEndToEnd::stageTwo_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QString>("expected");

    const QString src = CommandTable::SourceSize;
    const QString mp4Family = u"mov,mp4,m4a,3gp,3g2,mj2"_s;
    QTest::newRow("RMVB 原始大小") << Format::Rmvb << CommandTable::defaults(Format::Rmvb)
                                   << u"rm | v=rv10 624x352 | a=ac3 44100 2"_s;
    QTest::newRow("RMVB 320x240 1200 44100 320 stereo")
        << Format::Rmvb << custom(u"320x240"_s, u"1200"_s, u"44100"_s, u"320"_s, 2)
        << u"rm | v=rv10 320x240 | a=ac3 44100 2"_s;
    QTest::newRow("RM 原始大小") << Format::Rm << CommandTable::defaults(Format::Rm)
                                 << u"rm | v=rv10 624x352 | a=ac3 44100 2"_s;
    QTest::newRow("RM 720x306 40 12050 10.2 mono")
        << Format::Rm << custom(u"720x306"_s, u"40"_s, u"12050"_s, u"10.2"_s, 1)
        << u"rm | v=rv10 720x304 | a=ac3 32000 1"_s;
    QTest::newRow("MOV 原始大小") << Format::Mov << CommandTable::defaults(Format::Mov)
                                  << mp4Family + u" qt | v=mpeg4 640x360 | a=aac 48000 2"_s;
    QTest::newRow("MOV 640x480") << Format::Mov
                                 << custom(u"640x480"_s, u"256"_s, u"48000"_s, u"64"_s, 2)
                                 << mp4Family + u" qt | v=mpeg4 640x480 | a=aac 48000 2"_s;
    QTest::newRow("mobile MP4 原始大小")
        << Format::Mp4Mobile << custom(src, u"128"_s, u"8000"_s, u"12.2"_s, 1)
        << mp4Family + u" 3gp4 | v=mpeg4 320x240 | a=amr_nb 8000 1"_s;
    QTest::newRow("mobile MP4 176x144")
        << Format::Mp4Mobile << custom(u"176x144"_s, u"128"_s, u"8000"_s, u"12.2"_s, 1)
        << mp4Family + u" 3gp4 | v=mpeg4 176x144 | a=amr_nb 8000 1"_s;
    QTest::newRow("3GP 原始大小") << Format::ThreeGpMobile
                                  << custom(src, u"128"_s, u"8000"_s, u"12.2"_s, 1)
                                  << mp4Family + u" 3gp4 | v=mpeg4 320x240 | a=amr_nb 8000 1"_s;
    QTest::newRow("3GP 720x320") << Format::ThreeGpMobile
                                 << custom(u"720x320"_s, u"128"_s, u"8000"_s, u"12.2"_s, 1)
                                 << mp4Family + u" 3gp4 | v=mpeg4 720x320 | a=amr_nb 8000 1"_s;
}

void TestEncodersEndToEnd::stageTwo()
{
    QFETCH(Format, format);
    QFETCH(Settings, settings);
    QFETCH(QString, expected);
    const QString folder = freshFolder();
    const QString output = folder + u"/clip-957"_s + CommandTable::extension(format);
    const CommandTable::Command command =
        CommandTable::stageTwo(format, m_intermediate, output, settings);
    const EncoderRun run =
        EncoderRun::run(encoder(command.encoder), command.arguments, command.environment);
    QVERIFY2(run.succeeded(), qPrintable(run.report()));

    const FileProbe probe = FileProbe::of(m_ffprobe, output);
    QCOMPARE(probe.description, expected);
    QVERIFY2(qAbs(probe.durationSeconds - ClipSeconds) <= DurationSlack,
             qPrintable(QString::number(probe.durationSeconds)));
    const QString progressProblem = coderProgressProblem(run.output);
    QVERIFY2(progressProblem.isEmpty(), qPrintable(progressProblem + u'\n' + run.output));
    QVERIFY2(savedPath(run.output, command.encoder) == output, qPrintable(run.output));
    QCOMPARE(partFilesIn(folder), QString());
}

// Every packet of every stream, as ffmpeg hashes them one by one.
QString TestEncodersEndToEnd::packetHashes(const QString &path) const
{
    const EncoderRun run =
        EncoderRun::run(m_ffmpeg, {u"-nostdin"_s, u"-v"_s, u"error"_s, u"-i"_s, path, u"-map"_s,
                                   u"0"_s, u"-c"_s, u"copy"_s, u"-f"_s, u"framemd5"_s, u"-"_s});
    QStringList lines = run.output.split(u'\n', Qt::SkipEmptyParts);
    lines.removeIf([](const QString &line) { return line.startsWith(u'#'); });
    return lines.join(u'\n');
}

// Stage one as the program runs it encodes nothing: its few bytes lead stage
// two to the source, which stage two then converts exactly as if it had
// been given the source itself.
void TestEncodersEndToEnd::intermediateLeadsToTheSource()
{
    const QString folder = freshFolder();
    const QString intermediate = folder + u"/tmp.mp4"_s;
    const CommandTable::Command stageOne = CommandTable::stageOne(
        Format::Mov, m_clip, intermediate, CommandTable::defaults(Format::Mov));
    const EncoderRun first =
        EncoderRun::run(encoder(stageOne.encoder), stageOne.arguments, stageOne.environment);
    QVERIFY2(first.succeeded(), qPrintable(first.report()));
    QVERIFY2(savedPath(first.output, stageOne.encoder) == intermediate, qPrintable(first.output));
    QVERIFY2(first.output.contains(u"(100%)"_s), qPrintable(first.output));
    QVERIFY(QFileInfo(intermediate).size() < QFileInfo(m_clip).size() / 100);

    const CommandTable::Settings settings = CommandTable::defaults(Format::Mov);
    const QString viaIntermediate = folder + u"/via.mov"_s;
    const QString direct = folder + u"/direct.mov"_s;
    for (const auto &[input, output] :
         {std::pair{intermediate, viaIntermediate}, std::pair{m_clip, direct}}) {
        const CommandTable::Command command =
            CommandTable::stageTwo(Format::Mov, input, output, settings);
        const EncoderRun run =
            EncoderRun::run(encoder(command.encoder), command.arguments, command.environment);
        QVERIFY2(run.succeeded(), qPrintable(run.report()));
    }
    const QString hashes = packetHashes(direct);
    QVERIFY(hashes.count(u'\n') > 50);
    QCOMPARE(packetHashes(viaIntermediate), hashes);
}

// Stage two follows only the working file the program named, in a private
// folder, and reads the source again when it is no longer the file stage
// one read.
void TestEncodersEndToEnd::intermediateIsBoundToItsSource_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("expected"); // the output's duration, or words of the failure

    QTest::newRow("the source replaced by a longer file") << u"replace source"_s << u"3.0"_s;
    QTest::newRow("a copy the program did not name")
        << u"copy reference"_s << u"as a video or audio file"_s;
    QTest::newRow("the working file in a folder others can enter")
        << u"open folder"_s << u"as a video or audio file"_s;
}

void TestEncodersEndToEnd::intermediateIsBoundToItsSource()
{
    QFETCH(QString, change);
    QFETCH(QString, expected);
    const QString folder = freshFolder();
    const QString source = folder + u"/clip.avi"_s;
    QVERIFY(QFile::copy(m_clip, source));
    QString intermediate = folder + u"/tmp.mp4"_s;
    const CommandTable::Settings settings = CommandTable::defaults(Format::Mov);
    const CommandTable::Command stageOne =
        CommandTable::stageOne(Format::Mov, source, intermediate, settings);
    QVERIFY(EncoderRun::run(encoder(stageOne.encoder), stageOne.arguments, stageOne.environment)
                .succeeded());
    if (change == u"replace source") {
        const QString longer =
            makeClip(u"longer.avi"_s, u"testsrc=size=320x240:rate=25"_s, 3.0, true);
        QVERIFY(QFile::remove(source) && QFile::copy(longer, source));
    } else if (change == u"copy reference") {
        const QString copy = folder + u"/mine.mp4"_s;
        QVERIFY(QFile::copy(intermediate, copy));
        intermediate = copy;
    } else {
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ExeOwner | QFile::ReadOther |
                                                  QFile::ExeOther));
    }
    const QString output = folder + u"/out.mov"_s;
    CommandTable::Command stageTwo =
        CommandTable::stageTwo(Format::Mov, intermediate, output, settings);
    if (change == u"copy reference")
        stageTwo.environment = stageOne.environment;
    const EncoderRun run =
        EncoderRun::run(encoder(stageTwo.encoder), stageTwo.arguments, stageTwo.environment);
    if (change == u"replace source") {
        QVERIFY2(run.succeeded(), qPrintable(run.report()));
        QCOMPARE(QString::number(FileProbe::of(m_ffprobe, output).durationSeconds, 'f', 1),
                 expected);
    } else {
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.output.contains(expected), qPrintable(run.output));
    }
}

// After a power cut a file that has its name has all its content: the part
// file is flushed before the rename, and the folder's new name after it.
void TestEncodersEndToEnd::outputIsOnTheDiskBeforeItHasItsName()
{
    const QString strace = QStandardPaths::findExecutable(u"strace"_s);
    if (strace.isEmpty())
        QSKIP("strace is not installed (Debian package strace): the flushes cannot be seen");
    const QString folder = freshFolder();
    const QString output = folder + u"/clip.mp3"_s;
    const QString trace = folder + u"/trace"_s;
    const CommandTable::Command command = CommandTable::stageOne(
        Format::Mp3Audio, m_clip, output, CommandTable::defaults(Format::Mp3Audio));
    // LeakSanitizer cannot run in a traced process: an encoder of the
    // sanitized build would fail for that alone. Its other runs look for leaks.
    QProcessEnvironment environment = command.environment;
    const QString sanitizer = environment.value(u"ASAN_OPTIONS"_s);
    environment.insert(u"ASAN_OPTIONS"_s,
                       (sanitizer.isEmpty() ? QString() : sanitizer + u':') + u"detect_leaks=0"_s);
    const EncoderRun run = EncoderRun::run(
        strace,
        QStringList{u"-f"_s, u"-y"_s, u"-o"_s, trace, u"-e"_s,
                    u"trace=fsync,fdatasync,rename,renameat,renameat2,link,linkat"_s,
                    encoder(command.encoder)} +
            command.arguments,
        environment);
    QVERIFY2(run.succeeded(), qPrintable(run.report()));
    QFile file(trace);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString calls = QString::fromUtf8(file.readAll());
    // The rename of the part file onto the output's name, and the part file.
    const QRegularExpressionMatch rename =
        QRegularExpression(uR"re("([^"]*/\.clip\.part-[^"]*)", [^\n]*")re"_s +
                           QRegularExpression::escape(output) + u'"')
            .match(calls);
    QVERIFY2(rename.hasMatch(), qPrintable(calls));
    const QString partFile = rename.captured(1);
    const qsizetype contentFlushed = calls.indexOf(QRegularExpression(
        uR"(f(data)?sync\(\d+<)"_s + QRegularExpression::escape(partFile) + u'>'));
    // strace splits a call that another process interrupts ("<unfinished ...>").
    const qsizetype folderFlushed = calls.indexOf(QRegularExpression(
        uR"(fsync\(\d+<)"_s + QRegularExpression::escape(folder) + uR"(>(\)| <unfinished))"_s));
    QVERIFY2(contentFlushed >= 0 && contentFlushed < rename.capturedStart(), qPrintable(calls));
    QVERIFY2(folderFlushed > rename.capturedStart(), qPrintable(calls));
}

void TestEncodersEndToEnd::everyComboValue_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QString>("expected"); // container and codecs

    // Each combo entry once, plus the texts the program writes itself
    // ("1200", "24", "28000") and the channel count 0 of no selection.
    // Row i takes the i-th value of every list, so a few rows cover all.
    const QStringList sizes{u"128x96"_s,  u"160x120"_s, u"176x144"_s, u"320x180"_s,
                            u"320x240"_s, u"352x288"_s, u"640x272"_s, u"480x480"_s,
                            u"640x360"_s, u"640x480"_s, u"720x306"_s, u"720x320"_s};
    const QStringList videoBitrates{u"40"_s,  u"80"_s,  u"120"_s,  u"128"_s,  u"256"_s,
                                    u"384"_s, u"512"_s, u"600"_s,  u"640"_s,  u"768"_s,
                                    u"800"_s, u"900"_s, u"1000"_s, u"1500"_s, u"1200"_s};
    const QStringList frameRates{u"15"_s, u"23"_s, u"29"_s, u"24"_s};
    const QStringList audioRates{u"48000"_s, u"44100"_s, u"32000"_s, u"24000"_s, u"22050"_s,
                                 u"16000"_s, u"12050"_s, u"8000"_s,  u"28000"_s};
    const QStringList audioBitrates{u"10.2"_s, u"12.2"_s, u"32"_s,  u"48"_s,  u"56"_s,
                                    u"64"_s,   u"80"_s,   u"96"_s,  u"112"_s, u"128"_s,
                                    u"192"_s,  u"224"_s,  u"256"_s, u"320"_s};
    const QList<int> channels{1, 2, 0};
    const auto at = [](const auto &list, qsizetype index) { return list.at(index % list.size()); };
    const QString mp4Family = u"mov,mp4,m4a,3gp,3g2,mj2"_s;

    for (qsizetype i = 0; i < videoBitrates.size(); ++i) {
        const Settings all{at(sizes, i),      at(videoBitrates, i), at(frameRates, i),
                           at(audioRates, i), at(audioBitrates, i), at(channels, i)};
        const QString values =
            u"%1 %2 %3 %4 %5 ch%6"_s
                .arg(all.size, all.videoBitrate, all.frameRate, all.audioRate, all.audioBitrate)
                .arg(all.channels);
        QTest::addRow("%s %s", i % 2 ? "RMVB" : "RM", qPrintable(values))
            << (i % 2 ? Format::Rmvb : Format::Rm) << all << u"rm rv10 ac3"_s;
        QTest::addRow("%s %s", i % 2 ? "AVI" : "MPG", qPrintable(values))
            << (i % 2 ? Format::Avi : Format::Mpg) << all
            << (i % 2 ? u"avi mpeg2video mp2"_s : u"mpeg mpeg2video mp2"_s);
        QTest::addRow("MP4 high quality %s", qPrintable(values))
            << Format::Mp4HighQuality << all << mp4Family + u" mpeg4 mp3"_s;
        if (i < audioBitrates.size())
            QTest::addRow("MP3 %s", qPrintable(values)) << Format::Mp3Audio << all << u"mp3  mp3"_s;
        if (i < sizes.size()) {
            QTest::addRow("MOV %s", qPrintable(all.size))
                << Format::Mov << all << mp4Family + u" mpeg4 aac"_s;
            QTest::addRow("%s %s", i % 2 ? "3GP" : "mobile MP4", qPrintable(all.size))
                << (i % 2 ? Format::ThreeGpMobile : Format::Mp4Mobile) << all
                << mp4Family + u" mpeg4 amr_nb"_s;
        }
    }
}

void TestEncodersEndToEnd::everyComboValue()
{
    QFETCH(Format, format);
    QFETCH(Settings, settings);
    QFETCH(QString, expected);
    const QString folder = freshFolder();
    const QString output = folder + u"/small-957"_s + CommandTable::extension(format);
    const CommandTable::Command command =
        CommandTable::hasStageTwo(format)
            ? CommandTable::stageTwo(format, m_smallIntermediate, output, settings)
            : CommandTable::stageOne(format, m_smallClip, output, settings);
    const EncoderRun run =
        EncoderRun::run(encoder(command.encoder), command.arguments, command.environment);
    QVERIFY2(run.succeeded(), qPrintable(run.report()));
    QCOMPARE(FileProbe::of(m_ffprobe, output).containerAndCodecs, expected);
}

void TestEncodersEndToEnd::failures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("arguments"); // "{out}" stands for the output path
    QTest::addColumn<QString>("environmentKind");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<Cause>("cause");       // the last line's token
    QTest::addColumn<QString>("reason");    // the last line without it
    QTest::addColumn<QString>("forwarded"); // a line of ffmpeg's own, if any

    const QString out = u"{out}"_s;
    const auto mpg = [&](const QString &input) {
        return CommandTable::stageOne(Format::Mpg, input, out, CommandTable::defaults(Format::Mpg))
            .arguments;
    };
    const auto mp3 = [&](const QString &input) {
        return CommandTable::stageOne(Format::Mp3Audio, input, out,
                                      custom({}, {}, u"44100"_s, u"128"_s, 2))
            .arguments;
    };
    const QString missing = m_work.filePath(u"missing.avi"_s);
    QTest::newRow("conv, missing input")
        << u"conv.exe"_s << mpg(missing) << u"system"_s << 1 << Cause::InputMissing
        << u"conv.exe: the input file \"%1\" does not exist"_s.arg(missing) << QString();
    QTest::newRow("coder, missing input")
        << u"coder.exe"_s << mp3(missing) << u"system"_s << 1 << Cause::InputMissing
        << u"coder.exe: the input file \"%1\" does not exist"_s.arg(missing) << QString();
    QTest::newRow("conv, unknown option")
        << u"conv.exe"_s << mpg(m_clip) + QStringList{u"-vf"_s, u"scale"_s} << u"system"_s << 2
        << Cause::BadCommandLine << u"conv.exe: unknown option -vf"_s << QString();
    QTest::newRow("coder2, unknown option")
        << u"coder2.exe"_s << QStringList{u"-i"_s, m_intermediate, u"-threads"_s, u"2"_s, out}
        << u"system"_s << 2 << Cause::BadCommandLine << u"coder2.exe: unknown option -threads"_s
        << QString();
    QTest::newRow("coder, blank typed after the video bitrate")
        << u"coder.exe"_s
        << CommandTable::stageTwo(Format::Rm, m_intermediate, out,
                                  custom(u"320x240"_s, u"1200 "_s, u"44100"_s, u"128"_s, 2))
               .arguments
        << u"system"_s << 2 << Cause::BadCommandLine
        << u"coder.exe: more than one output file: \"k\" and \"{out}\"; is there a blank inside "
           "a value?"_s
        << QString();
    QTest::newRow("ffmpeg not on PATH")
        << u"conv.exe"_s << mpg(m_clip) << u"no ffmpeg on PATH"_s << 1 << Cause::FfmpegMissing
        << u"conv.exe: ffmpeg is not installed: no ffmpeg on PATH "
           "and ZENVORA_FFMPEG is not set"_s
        << QString();
    QTest::newRow("ZENVORA_FFMPEG names nothing")
        << u"coder.exe"_s << mp3(m_clip) << u"ZENVORA_FFMPEG missing"_s << 1 << Cause::FfmpegMissing
        << u"coder.exe: ZENVORA_FFMPEG names \"%1\", which is not an executable file"_s.arg(
               m_work.filePath(u"nothing-here/ffmpeg"_s))
        << QString();
    const QString silent = makeClip(u"silent.avi"_s, u"testsrc=size=320x240:rate=25"_s, 1.0, false);
    const QString soundOnly = makeClip(u"sound.mp3"_s, {}, 1.0, true);
    QTest::newRow("MPG from sound only")
        << u"conv.exe"_s << mpg(soundOnly) << u"system"_s << 1 << Cause::NoVideoStream
        << u"conv.exe: the input has no video stream"_s << QString();
    QTest::newRow("MP3 from a silent film")
        << u"coder.exe"_s << mp3(silent) << u"system"_s << 1 << Cause::NoAudioStream
        << u"coder.exe: the input has no audio stream"_s << QString();
    const QString notMedia = m_work.filePath(u"not-media.avi"_s);
    QFile(notMedia).open(QIODevice::WriteOnly);
    QTest::newRow("not a media file")
        << u"conv.exe"_s << mpg(notMedia) << u"system"_s << 1 << Cause::NotMedia
        << u"conv.exe: cannot read \"%1\" as a video or audio file"_s.arg(notMedia)
        << u"Invalid data found when processing input"_s;
    QFile notes(m_work.filePath(u"notes.srt"_s));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("no subtitles here\n");
    notes.close();
    const QString noFolder = m_work.filePath(u"no/such/folder/clip.mp3"_s);
    QTest::newRow("output folder missing")
        << u"coder.exe"_s << QStringList{u"-i"_s, m_clip, u"-y"_s, noFolder} << u"system"_s << 1
        << Cause::OutputFolderMissing
        << u"coder.exe: the output folder \"%1\" does not exist"_s.arg(
               QFileInfo(noFolder).absolutePath())
        << QString();
    QTest::newRow("existing output without -y")
        << u"coder.exe"_s << QStringList{u"-i"_s, m_clip, u"-vn"_s, m_clip} << u"system"_s << 1
        << Cause::OutputExists
        << u"coder.exe: the output file \"%1\" exists; add -y to write beside it under the next free name"_s
               .arg(m_clip)
        << QString();
    QTest::newRow("ffmpeg refuses its command")
        << u"conv.exe"_s << mpg(m_clip) << u"refusing"_s << 1 << Cause::EncoderError
        << u"conv.exe: the conversion failed: Unrecognized option 'no_such_option'."_s
        << u"Unrecognized option 'no_such_option'."_s;
    QTest::newRow("ffmpeg succeeds with a truncated file")
        << u"coder.exe"_s << mp3(m_clip) << u"truncating"_s << 1 << Cause::EncoderError
        << u"coder.exe: the output is incomplete: it lasts"_s << QString();
    QTest::newRow("ffmpeg fails after writing a good file")
        << u"conv.exe"_s << mpg(m_clip) << u"failing after its end"_s << 1 << Cause::EncoderError
        << u"conv.exe: the conversion failed: ffmpeg exited with status 3 without saying why"_s
        << QString();
    QTest::newRow("a folder as input")
        << u"conv.exe"_s << mpg(m_work.path()) << u"system"_s << 1 << Cause::InputUnreadable
        << u"conv.exe: the input \"%1\" is not a readable file"_s.arg(m_work.path()) << QString();
    QTest::newRow("cut from after the end")
        << u"coder.exe"_s << QStringList{u"-i"_s, m_clip, u"-ss"_s, u"30"_s, u"-y"_s, out}
        << u"system"_s << 1 << Cause::CutPastTheEnd
        << u"coder.exe: nothing is left of the input from 30 s on"_s << QString();
    QTest::newRow("a subtitle file without subtitles")
        << u"conv.exe"_s << mpg(m_clip) << u"subtitles that are none"_s << 1
        << Cause::SubtitlesUnusable
        << u"conv.exe: \"%1\" holds no subtitles"_s.arg(m_work.filePath(u"notes.srt"_s))
        << QString();
    // No one, not even root, may make a file in /sys.
    QTest::newRow("a folder no file may be made in")
        << u"coder.exe"_s << QStringList{u"-i"_s, m_clip, u"-y"_s, u"/sys/out.mp3"_s} << u"system"_s
        << 1 << Cause::NoPermission << u"coder.exe: cannot write the output file \"/sys/out.mp3\""_s
        << QString();
    QTest::newRow("ffmpeg writing on a full disk")
        << u"conv.exe"_s << mpg(m_clip) << u"writing on a full disk"_s << 1 << Cause::DiskFull
        << u"conv.exe: the conversion failed: "_s << u"No space left on device"_s;
}

void TestEncodersEndToEnd::failures()
{
    QFETCH(QString, name);
    QFETCH(QStringList, arguments);
    QFETCH(QString, environmentKind);
    QFETCH(int, exitCode);
    QFETCH(Cause, cause);
    QFETCH(QString, reason);
    QFETCH(QString, forwarded);
    const QString folder = freshFolder();
    const QString output = folder + (name == u"conv.exe" ? u"/out.mpg"_s : u"/out.mp3"_s);
    arguments.replaceInStrings(u"{out}"_s, output);
    const EncoderRun run = EncoderRun::run(encoder(name), arguments, environment(environmentKind));
    QVERIFY2(run.exitCode == exitCode && !run.crashed, qPrintable(run.report()));
    const QStringList lines = run.output.split(u'\n', Qt::SkipEmptyParts);
    QVERIFY(!lines.isEmpty());
    const std::optional<EncoderProtocol::Failure> failure =
        EncoderProtocol::failureIn(lines.last(), name);
    QVERIFY2(failure, qPrintable(run.output));
    QCOMPARE(failure->cause, cause);
    QVERIFY2(
        (name + u": "_s + failure->reason).startsWith(QString(reason).replace(u"{out}"_s, output)),
        qPrintable(run.output));
    QVERIFY2(run.output.contains(forwarded), qPrintable(run.output));
    QVERIFY(!QFileInfo::exists(output));
    QCOMPARE(partFilesIn(folder), QString());
}

// The output is read back as soon as ffmpeg says it has ended; a file not
// complete by then is read again once ffmpeg has exited.
void TestEncodersEndToEnd::endAnnouncedBeforeTheFileIsWritten()
{
    const QString output = freshFolder() + u"/out.mpg"_s;
    const CommandTable::Command command =
        CommandTable::stageOne(Format::Mpg, m_clip, output, CommandTable::defaults(Format::Mpg));
    const EncoderRun run = EncoderRun::run(encoder(command.encoder), command.arguments,
                                           environment(u"announcing its end first"_s));
    QVERIFY2(run.succeeded(), qPrintable(run.report()));
    QCOMPARE(FileProbe::of(m_ffprobe, output).description,
             u"mpeg | v=mpeg2video 640x360 | a=mp2 44100 2"_s);
}

void TestEncodersEndToEnd::awkwardPaths_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<Format>("format");
    QTest::addColumn<bool>("stageTwo");

    const QString name = u"-clip \"1\" 视频 'a'.avi"_s;
    QTest::newRow("conv, leading dash, quotes, Chinese") << name << Format::Mpg << false;
    QTest::newRow("coder, leading dash, quotes, Chinese") << name << Format::Mp3Audio << false;
    QTest::newRow("coder2 from an awkward intermediate")
        << u"-tmp 视频.mp4"_s << Format::ThreeGpMobile << true;
}

void TestEncodersEndToEnd::awkwardPaths()
{
    QFETCH(QString, input);
    QFETCH(Format, format);
    QFETCH(bool, stageTwo);
    const QString folder = freshFolder() + u"/a b \"q\" 视频"_s;
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(QFile::copy(stageTwo ? m_intermediate : m_clip, folder + u'/' + input));
    // Relative names, so the leading dash is the first character seen.
    const QString output = u"-out 视频 \"x\""_s + CommandTable::extension(format);
    const CommandTable::Command command =
        stageTwo ? CommandTable::stageTwo(format, input, output, CommandTable::defaults(format))
                 : CommandTable::stageOne(format, input, output, CommandTable::defaults(format));
    const EncoderRun run =
        EncoderRun::run(encoder(command.encoder), command.arguments, command.environment, folder);
    QVERIFY2(run.succeeded(), qPrintable(run.report()));
    QVERIFY(FileProbe::of(m_ffprobe, folder + u'/' + output).readable);
    QCOMPARE(partFilesIn(folder), QString());
}

void TestEncodersEndToEnd::stopBySignal_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<QString>("progressToken");

    QTest::newRow("conv, SIGTERM") << Format::Mpg << int(SIGTERM) << u"Pos:"_s;
    QTest::newRow("coder, SIGINT") << Format::Mp3Audio << int(SIGINT) << u"time="_s;
    QTest::newRow("coder2, SIGHUP") << Format::Mp4Mobile << int(SIGHUP) << u"time="_s;
}

void TestEncodersEndToEnd::stopBySignal()
{
    QFETCH(Format, format);
    QFETCH(int, signalNumber);
    QFETCH(QString, progressToken);
    const QString folder = freshFolder();
    const QString output = folder + u"/long-957"_s + CommandTable::extension(format);
    const CommandTable::Command command = finalCommand(format, m_longClip, output);

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setProcessEnvironment(environment(u"slow"_s));
    process.start(encoder(command.encoder), command.arguments, QIODevice::ReadOnly);
    QVERIFY(process.waitForStarted());
    QByteArray printed = readUntil(process, progressToken.toUtf8());
    QVERIFY2(printed.contains(progressToken.toUtf8()), printed.constData());
    const QList<ProcessTable::Entry> children = ProcessTable::childrenOf(process.processId());
    QCOMPARE(children.size(), 1);
    QCOMPARE(children.first().name, u"ffmpeg"_s);
    QVERIFY(!partFilesIn(folder).isEmpty());

    ::kill(static_cast<pid_t>(process.processId()), signalNumber);
    QVERIFY(process.waitForFinished(StopWaitMilliseconds));
    printed += process.readAll();
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 128 + signalNumber);
    const std::optional<EncoderProtocol::Failure> failure =
        EncoderProtocol::failureIn(QString::fromUtf8(printed.trimmed()), command.encoder);
    QVERIFY2(failure, printed.constData());
    QCOMPARE(*failure, (EncoderProtocol::Failure{Cause::StoppedBySignal,
                                                 u"stopped by signal %1"_s.arg(signalNumber)}));
    QVERIFY2(printed.trimmed().endsWith(u"stopped by signal %1"_s.arg(signalNumber).toUtf8()),
             printed.constData());
    QVERIFY(!ProcessTable::isAlive(children.first().pid));
    QCOMPARE(partFilesIn(folder), QString());
    QVERIFY(!QFileInfo::exists(output));
}

void TestEncodersEndToEnd::parentDeath()
{
    const QString folder = freshFolder();
    const QString output = folder + u"/long-957.avi"_s;
    const CommandTable::Command command = CommandTable::stageOne(
        Format::Avi, m_longClip, output, CommandTable::defaults(Format::Avi));
    // A shell stands in for the program: it starts the encoder and is then
    // killed outright, with no chance to stop its child.
    QProcess parent;
    parent.setProcessEnvironment(environment(u"slow"_s));
    parent.start(u"/bin/sh"_s,
                 QStringList{u"-c"_s, u"\"$0\" \"$@\" >/dev/null 2>&1 & echo $!; wait"_s,
                             encoder(command.encoder)} +
                     command.arguments,
                 QIODevice::ReadOnly);
    QVERIFY(parent.waitForReadyRead(SignalWaitMilliseconds));
    const qint64 encoderPid = parent.readLine().trimmed().toLongLong();
    QVERIFY(encoderPid > 0);
    // ffprobe looks at the input first; the conversion is under way once
    // ffmpeg is the encoder's child.
    const auto runningFfmpeg = [encoderPid] {
        const QList<ProcessTable::Entry> children = ProcessTable::childrenOf(encoderPid);
        return children.size() == 1 && children.first().name == u"ffmpeg" ? children.first().pid
                                                                          : 0;
    };
    qint64 ffmpegPid = 0;
    QTRY_VERIFY_WITH_TIMEOUT((ffmpegPid = runningFfmpeg()) != 0, SignalWaitMilliseconds);
    QVERIFY(!partFilesIn(folder).isEmpty());

    ::kill(static_cast<pid_t>(parent.processId()), SIGKILL);
    QVERIFY(parent.waitForFinished());
    QTRY_VERIFY_WITH_TIMEOUT(!ProcessTable::isAlive(encoderPid), StopWaitMilliseconds);
    QTRY_VERIFY_WITH_TIMEOUT(!ProcessTable::isAlive(ffmpegPid), StopWaitMilliseconds);
    QCOMPARE(partFilesIn(folder), QString());
    QVERIFY(!QFileInfo::exists(output));
}

void TestEncodersEndToEnd::takenNames_data()
{
    QTest::addColumn<Format>("format");
    // What goes by the target's name, and by the numbered names after it
    // ("-2" stands for "clip-957-2.mp4"): files, and dangling symbolic links.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("links");
    QTest::addColumn<bool>("whileRunning"); // the names are taken once the encode is under way
    QTest::addColumn<QString>("saved");     // where the output lands

    const QString target;
    QTest::newRow("conv, target a file")
        << Format::Mpg << QStringList{target} << QStringList() << false << u"-2"_s;
    QTest::newRow("coder, target a file, -2 a dangling link")
        << Format::Mp3Audio << QStringList{target} << QStringList{u"-2"_s} << false << u"-3"_s;
    QTest::newRow("coder2, target a dangling link made while it runs")
        << Format::Mp4Mobile << QStringList() << QStringList{target} << true << u"-2"_s;
    QTest::newRow("conv, target a link and -2 a file, made while it runs")
        << Format::Avi << QStringList{u"-2"_s} << QStringList{target} << true << u"-3"_s;
}

// Nothing is ever replaced, with -y or without: the output moves on to the
// next free name and says which one it took.
void TestEncodersEndToEnd::takenNames()
{
    QFETCH(Format, format);
    QFETCH(QStringList, files);
    QFETCH(QStringList, links);
    QFETCH(bool, whileRunning);
    QFETCH(QString, saved);
    const QString folder = freshFolder();
    const auto named = [&](const QString &number) {
        return folder + u"/clip-957"_s + number + CommandTable::extension(format);
    };
    const QString nowhere = folder + u"/nowhere"_s;
    const auto takeNames = [&] {
        for (const QString &number : files) {
            QFile file(named(number));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::NewOnly));
            file.write("taken");
        }
        for (const QString &number : links)
            QVERIFY(QFile::link(nowhere, named(number)));
    };
    const CommandTable::Command command =
        finalCommand(format, whileRunning ? m_longClip : m_clip, named({}));
    QVERIFY(command.arguments.contains(u"-y"_s) || command.encoder == u"conv.exe");

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setProcessEnvironment(environment(whileRunning ? u"slow"_s : u"system"_s));
    if (!whileRunning)
        takeNames();
    process.start(encoder(command.encoder), command.arguments, QIODevice::ReadOnly);
    QVERIFY(process.waitForStarted());
    QByteArray printed;
    if (whileRunning) {
        printed = readUntil(process, progressToken(command.encoder).toUtf8());
        QVERIFY2(!partFilesIn(folder).isEmpty(), printed.constData());
        takeNames();
    }
    QVERIFY(process.waitForFinished(RunWaitMilliseconds));
    const QString output = QString::fromUtf8(printed + process.readAll());
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
             qPrintable(output));

    for (const QString &number : files) {
        QFile file(named(number));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("taken"));
    }
    for (const QString &number : links)
        QCOMPARE(QFileInfo(named(number)).symLinkTarget(), nowhere);
    QVERIFY(!QFileInfo::exists(nowhere));
    QVERIFY2(savedPath(output, command.encoder) == named(saved), qPrintable(output));
    QVERIFY(FileProbe::of(m_ffprobe, named(saved)).readable);
    QCOMPARE(partFilesIn(folder), QString());
}

// Two jobs of one batch, or two batches, may convert the same input into
// the same folder in the same second: every run keeps its own file.
void TestEncodersEndToEnd::concurrentRuns()
{
    const QString folder = freshFolder();
    const CommandTable::Command command =
        finalCommand(Format::Mp3Audio, m_clip, folder + u"/clip-957.mp3"_s);
    std::array<QProcess, 3> runs;
    for (QProcess &run : runs) {
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.setProcessEnvironment(environment(u"slow"_s));
        run.start(encoder(command.encoder), command.arguments, QIODevice::ReadOnly);
    }
    QStringList saved;
    for (QProcess &run : runs) {
        QVERIFY(run.waitForFinished(RunWaitMilliseconds));
        const QString output = QString::fromUtf8(run.readAll());
        QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0,
                 qPrintable(output));
        saved.append(savedPath(output, command.encoder));
    }
    saved.sort();
    QCOMPARE(saved, QStringList({folder + u"/clip-957-2.mp3"_s, folder + u"/clip-957-3.mp3"_s,
                                 folder + u"/clip-957.mp3"_s}));
    for (const QString &path : saved) {
        const double seconds = FileProbe::of(m_ffprobe, path).durationSeconds;
        QVERIFY2(qAbs(seconds - ClipSeconds) <= DurationSlack, qPrintable(path));
    }
    QCOMPARE(partFilesIn(folder), QString());
}

void TestEncodersEndToEnd::wrappedFfmpegEnds_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<int>("signalNumber");

    QTest::newRow("conv, SIGTERM") << Format::Mpg << int(SIGTERM);
    QTest::newRow("coder, SIGKILL") << Format::Mp3Audio << int(SIGKILL);
}

// A wrapper that runs ffmpeg as its child rather than becoming it: however
// the encoder ends, even killed outright, the real ffmpeg and anything else
// the wrapper started end with it. ffmpeg ignores SIGPIPE, so the closed
// pipe alone would not stop it.
void TestEncodersEndToEnd::wrappedFfmpegEnds()
{
    QFETCH(Format, format);
    QFETCH(int, signalNumber);
    const QString folder = freshFolder();
    const QString output = folder + u"/long-957"_s + CommandTable::extension(format);
    const CommandTable::Command command = finalCommand(format, m_longClip, output);
    QProcess process;
    process.setProcessEnvironment(environment(u"slow, wrapped"_s));
    process.start(encoder(command.encoder), command.arguments, QIODevice::ReadOnly);
    QVERIFY(process.waitForStarted());
    const qint64 encoderPid = process.processId();
    // The wrapper and all it started, once the real ffmpeg is among them.
    const auto wrapperAndChildren = [encoderPid] {
        QList<qint64> pids;
        for (const ProcessTable::Entry &wrapper : ProcessTable::childrenOf(encoderPid)) {
            const QList<ProcessTable::Entry> children = ProcessTable::childrenOf(wrapper.pid);
            if (std::none_of(
                    children.cbegin(), children.cend(),
                    [](const ProcessTable::Entry &child) { return child.name == u"ffmpeg"; }))
                continue;
            pids.append(wrapper.pid);
            for (const ProcessTable::Entry &child : children)
                pids.append(child.pid);
        }
        return pids;
    };
    QList<qint64> tool;
    QTRY_VERIFY_WITH_TIMEOUT(!(tool = wrapperAndChildren()).isEmpty(), SignalWaitMilliseconds);

    ::kill(static_cast<pid_t>(encoderPid), signalNumber);
    QVERIFY(process.waitForFinished(StopWaitMilliseconds));
    const auto anyAlive = [&tool] {
        return std::any_of(tool.cbegin(), tool.cend(), &ProcessTable::isAlive);
    };
    QTRY_VERIFY_WITH_TIMEOUT(!anyAlive(), StopWaitMilliseconds);
}

// Camera grain in a full-HD picture: RealVideo 1.0 cannot code that many
// macroblocks, and its key frames would outgrow RealMedia's packets.
void TestEncodersEndToEnd::grainyFullHdToRealMedia()
{
    const QString clip = makeClip(
        u"grainy.avi"_s, u"testsrc2=size=1920x1080:rate=25,noise=alls=12:allf=t"_s, 1.0, true);
    QVERIFY(!clip.isEmpty());
    const QString intermediate = makeIntermediate(clip);
    QVERIFY(!intermediate.isEmpty());
    const QString output = freshFolder() + u"/grainy-957.rmvb"_s;
    const CommandTable::Command command = CommandTable::stageTwo(
        Format::Rmvb, intermediate, output, CommandTable::defaults(Format::Rmvb));
    const EncoderRun run =
        EncoderRun::run(encoder(command.encoder), command.arguments, command.environment);
    QVERIFY2(run.succeeded(), qPrintable(run.report()));
    QCOMPARE(FileProbe::of(m_ffprobe, output).description,
             u"rm | v=rv10 1360x768 | a=ac3 44100 2"_s);
}

QTEST_GUILESS_MAIN(TestEncodersEndToEnd)
#include "tst_encoders_endtoend.moc"
