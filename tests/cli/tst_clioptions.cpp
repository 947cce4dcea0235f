#include "cli/CliOptions.h"
#include "encoders/protocol/JobChoices.h"
#include "tests/helpers/Words.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

QStringList commandLine(const QStringList &arguments)
{
    return QStringList{u"zenvora-cli"_s} + arguments;
}

} // namespace

class TestCliOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unsetParametersAreWhatTheWindowShows_data();
    void unsetParametersAreWhatTheWindowShows();
    void givenParametersGoThroughUnchanged();
    void rejectsWhatItCannotUse_data();
    void rejectsWhatItCannotUse();
    void readsCutTimes_data();
    void readsCutTimes();
    void readsSubtitlesAndSoundTrack_data();
    void readsSubtitlesAndSoundTrack();
    void warnsOfWhatTheFormatIgnoresOrChanges_data();
    void warnsOfWhatTheFormatIgnoresOrChanges();
    void makesPathsAbsolute();
    void readsNamesFromLists_data();
    void readsNamesFromLists();
    void helpAndVersionNeedNoFiles_data();
    void helpAndVersionNeedNoFiles();
};

void TestCliOptions::unsetParametersAreWhatTheWindowShows_data()
{
    QTest::addColumn<QStringList>("formatArguments");
    QTest::addColumn<OutputFormat>("format");
    // size, video bitrate, frame rate, audio rate, audio bitrate
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("channelIndex");
    const QStringList rmvb{u"原始大小"_s, u"1200"_s, u"29"_s, u"44100"_s, u"320"_s};
    const QStringList mpg{u"原始大小"_s, u"600"_s, u"24"_s, u"28000"_s, u"64"_s};
    const QStringList mobile{u"320x240"_s, u"128"_s, u"29"_s, u"8000"_s, u"12.2"_s};
    QTest::newRow("no format") << QStringList{} << OutputFormat::Rmvb << rmvb << 1;
    QTest::newRow("rm") << words(u"-f rm"_s) << OutputFormat::Rm << rmvb << 1;
    QTest::newRow("mpg by index") << QStringList{u"--format=2"_s} << OutputFormat::Mpg << mpg << 1;
    QTest::newRow("avi") << words(u"-f AVI"_s) << OutputFormat::Avi << mpg << 1;
    QTest::newRow("mp4hq") << words(u"-f mp4hq"_s) << OutputFormat::Mp4HighQuality
                           << words(u"原始大小 1200 29 48000 320"_s) << 1;
    QTest::newRow("mov") << words(u"-f mov"_s) << OutputFormat::Mov
                         << words(u"原始大小 256 29 48000 64"_s) << 1;
    QTest::newRow("mp4mobile") << words(u"-f mp4mobile"_s) << OutputFormat::Mp4Mobile << mobile
                               << 0;
    QTest::newRow("3gp") << words(u"-f 7"_s) << OutputFormat::ThreeGpMobile << mobile << 0;
    // Choosing MP3 leaves size, video bitrate and frame rate as start-up left them.
    QTest::newRow("mp3") << words(u"-f mp3"_s) << OutputFormat::Mp3Audio
                         << words(u"原始大小 1200 29 48000 320"_s) << 1;
    const QStringList byQuality{u"原始大小"_s, u"自动(按质量)"_s, u"原始帧率"_s, u"48000"_s,
                                u"160"_s};
    QTest::newRow("h264") << words(u"-f h264"_s) << OutputFormat::H264Mp4 << byQuality << 1;
    QTest::newRow("hevc by index") << words(u"-f 10"_s) << OutputFormat::HevcMp4 << byQuality << 1;
    QTest::newRow("webm") << words(u"-f WebM"_s) << OutputFormat::Vp9Webm
                          << words(u"原始大小 自动(按质量) 原始帧率 48000 128"_s) << 1;
}

void TestCliOptions::unsetParametersAreWhatTheWindowShows()
{
    QFETCH(QStringList, formatArguments);
    QFETCH(OutputFormat, format);
    QFETCH(QStringList, texts);
    QFETCH(int, channelIndex);
    const CliOptions options =
        CliOptions::parse(commandLine(formatArguments + QStringList{u"/in/a.avi"_s}), u"/out"_s);
    QCOMPARE(options.error, QString());
    const ConversionSettings &s = options.settings;
    QCOMPARE(s.format, format);
    QCOMPARE((QStringList{s.size, s.videoBitrate, s.frameRate, s.audioRate, s.audioBitrate}),
             texts);
    QCOMPARE(s.channelIndex, channelIndex);
    QCOMPARE(s.outputFolder, u"/out"_s);
    QCOMPARE(options.stallTimeoutSeconds, 300);
    QCOMPARE(options.settings.choices.filesAtOnce, 1);
    QCOMPARE(options.warnings, QStringList());
}

void TestCliOptions::givenParametersGoThroughUnchanged()
{
    const CliOptions options = CliOptions::parse(
        commandLine(words(u"-f rmvb -s"_s) +
                    QStringList{u" 640x360"_s, u"--video-bitrate"_s, u"800 "_s} +
                    words(u"--frame-rate 23 --audio-rate 22050 --audio-bitrate 12.2 --channels "
                          "mono --stall-timeout 0 -j 0 --lang en /a.avi"_s)),
        u"/out"_s);
    QCOMPARE(options.error, QString());
    const ConversionSettings &s = options.settings;
    QCOMPARE(s.size, u" 640x360"_s);
    QCOMPARE(s.videoBitrate, u"800 "_s);
    QCOMPARE(s.frameRate, u"23"_s);
    QCOMPARE(s.audioRate, u"22050"_s);
    QCOMPARE(s.audioBitrate, u"12.2"_s);
    QCOMPARE(s.channelCount(), 1);
    QCOMPARE(options.stallTimeoutSeconds, 0);
    QCOMPARE(options.settings.choices.filesAtOnce, std::max(1, QThread::idealThreadCount()));
}

void TestCliOptions::rejectsWhatItCannotUse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("errorStart");
    QTest::newRow("no file") << words(u"-f mp3"_s) << u"No file"_s;
    QTest::newRow("unknown format") << words(u"-f wmv a"_s) << u"Unknown format"_s;
    QTest::newRow("index past the list") << words(u"-f 12 a"_s) << u"Unknown format"_s;
    QTest::newRow("negative index") << words(u"-f=-1 a"_s) << u"Unknown format"_s;
    QTest::newRow("channels") << words(u"--channels surround a"_s) << u"Channels"_s;
    QTest::newRow("unknown option") << words(u"--speed a"_s) << u"Unknown option"_s;
    QTest::newRow("stall timeout not a number")
        << words(u"--stall-timeout 5m a"_s) << u"The stall timeout"_s;
    QTest::newRow("negative stall timeout")
        << words(u"--stall-timeout=-1 a"_s) << u"The stall timeout"_s;
    QTest::newRow("stall timeout past a week")
        << words(u"--stall-timeout=604801 a"_s) << u"The stall timeout"_s;
    QTest::newRow("stall timeout past the milliseconds a watchdog counts")
        << words(u"--stall-timeout=4294968 a"_s) << u"The stall timeout"_s;
    QTest::newRow("negative jobs") << words(u"-j -1 a"_s) << u"The number of jobs"_s;
    QTest::newRow("jobs not a number") << words(u"--jobs=two a"_s) << u"The number of jobs"_s;
    QTest::newRow("size not a size") << words(u"-s abc a"_s) << u"--size"_s;
    QTest::newRow("size of nothing") << words(u"-s 0x240 a"_s) << u"--size"_s;
    QTest::newRow("size without height") << words(u"-s 320x a"_s) << u"--size"_s;
    QTest::newRow("source size with a blank")
        << QStringList{u"-s"_s, u" 原始大小"_s, u"a"_s} << u"--size"_s;
    QTest::newRow("video bitrate in words")
        << words(u"--video-bitrate fast a"_s) << u"--video-bitrate"_s;
    QTest::newRow("video bitrate with its unit")
        << words(u"--video-bitrate 800k a"_s) << u"--video-bitrate"_s;
    QTest::newRow("zero video bitrate") << words(u"--video-bitrate 0 a"_s) << u"--video-bitrate"_s;
    QTest::newRow("negative frame rate") << words(u"--frame-rate=-25 a"_s) << u"--frame-rate"_s;
    QTest::newRow("frame rate over nothing")
        << words(u"--frame-rate 30000/0 a"_s) << u"--frame-rate"_s;
    QTest::newRow("fractional audio rate") << words(u"--audio-rate 44.1 a"_s) << u"--audio-rate"_s;
    QTest::newRow("zero audio rate") << words(u"--audio-rate 0 a"_s) << u"--audio-rate"_s;
    QTest::newRow("audio bitrate with a comma")
        << words(u"--audio-bitrate 12,2 a"_s) << u"--audio-bitrate"_s;
    QTest::newRow("separator without a list") << words(u"-0 a"_s) << u"-0 (--null)"_s;
    QTest::newRow("list that is missing") << words(u"--files-from /nonexistent/list a"_s)
                                          << u"Cannot read the file list /nonexistent/list: "_s;
    QTest::newRow("list that is a folder")
        << words(u"--files-from=/ a"_s) << u"Cannot read the file list /: "_s;
    QTest::newRow("empty list and no file") << words(u"--files-from /dev/null"_s) << u"No file"_s;
    QTest::newRow("unknown language")
        << words(u"--lang=fr a"_s) << u"--lang must be zh or en: fr"_s;
    QTest::newRow("language without a value") << QStringList{u"--lang"_s} << u"Missing value"_s;
    // Formats that write the bitrate and rate into their commands cannot
    // leave them to the source.
    QTest::newRow("quality entry where a bitrate is written")
        << words(u"-f mpg --video-bitrate 自动(按质量) a"_s)
        << u"--video-bitrate 自动(按质量) is not taken by mpg"_s;
    QTest::newRow("source rate entry where a rate is written")
        << words(u"-f avi --frame-rate 原始帧率 a"_s)
        << u"--frame-rate 原始帧率 is not taken by avi"_s;
    QTest::newRow("quality entry with a blank")
        << QStringList{u"-f"_s, u"h264"_s, u"--video-bitrate"_s, u"自动(按质量) "_s, u"a"_s}
        << u"--video-bitrate must be"_s;
    QTest::newRow("start minutes 60")
        << words(u"--from 60:00 a"_s) << u"Minutes must be less than 60"_s;
    QTest::newRow("end seconds 60") << words(u"--to 1:60 a"_s) << u"Seconds must be less than 60"_s;
    QTest::newRow("59.5 seconds fail")
        << words(u"--to 59.5 a"_s) << u"Seconds must be less than 60"_s;
    QTest::newRow("minutes told before seconds")
        << words(u"--from 75:90 a"_s) << u"Minutes must be"_s;
    QTest::newRow("time with four fields") << words(u"--from 1:2:3:4 a"_s) << u"A time must be"_s;
    QTest::newRow("time in words") << words(u"--to end a"_s) << u"A time must be"_s;
    QTest::newRow("end before start") << words(u"--from 5 --to 3 a"_s) << u"--to must be later"_s;
    QTest::newRow("end at 0") << words(u"--to 0 a"_s) << u"--to must be later"_s;
    const QString badSubtitles = u"--subtitles must be auto, off or a readable subtitle file: "_s;
    QTest::newRow("subtitle file that is missing")
        << words(u"--subtitles /nonexistent/a.srt a"_s)
        << badSubtitles + u"/nonexistent/a.srt does not exist"_s;
    QTest::newRow("subtitle file that is a folder")
        << words(u"--subtitles=/ a"_s) << badSubtitles + u"/ is not a file"_s;
    QTest::newRow("subtitle choice in capitals names a file")
        << words(u"--subtitles OFF a"_s) << badSubtitles + u"OFF does not exist"_s;
    QTest::newRow("no subtitle choice") << words(u"--subtitles= a"_s) << badSubtitles;
    const QString badTrack = u"--audio-track must be a track number from 1 or a language code"_s;
    QTest::newRow("track 0") << words(u"--audio-track 0 a"_s) << badTrack;
    QTest::newRow("negative track") << words(u"--audio-track=-1 a"_s) << badTrack;
    QTest::newRow("fractional track") << words(u"--audio-track 1.5 a"_s) << badTrack;
    QTest::newRow("track past an int") << words(u"--audio-track 99999999999 a"_s) << badTrack;
    QTest::newRow("full-width digit") << words(u"--audio-track ２ a"_s) << badTrack;
    QTest::newRow("language of one letter") << words(u"--audio-track e a"_s) << badTrack;
    QTest::newRow("language name") << words(u"--audio-track english a"_s) << badTrack;
    QTest::newRow("language with a region") << words(u"--audio-track zh-CN a"_s) << badTrack;
    QTest::newRow("language in Chinese") << words(u"--audio-track 中文 a"_s) << badTrack;
    QTest::newRow("no track") << words(u"--audio-track= a"_s) << badTrack;
}

void TestCliOptions::readsCutTimes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("none") << QStringList{} << 0 << 0;
    QTest::newRow("seconds") << words(u"--from 1 --to 3"_s) << 1 << 3;
    QTest::newRow("start alone runs to the end") << words(u"--from 1:30"_s) << 90 << 0;
    QTest::newRow("hours, minutes, seconds") << words(u"--to 1:02:03"_s) << 0 << 3723;
    QTest::newRow("hours are not limited") << words(u"--from 100:0:0"_s) << 360000 << 0;
    QTest::newRow("halves round to even") << words(u"--from 2.5 --to 3.5"_s) << 2 << 4;
    QTest::newRow("negative start is the start") << words(u"--from -5 --to 3"_s) << 0 << 3;
}

void TestCliOptions::readsCutTimes()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, from);
    QFETCH(int, to);
    const CliOptions options =
        CliOptions::parse(commandLine(arguments + QStringList{u"a"_s}), u"/out"_s);
    QCOMPARE(options.error, QString());
    QCOMPARE(options.settings.choices.cut.fromSeconds, from);
    QCOMPARE(options.settings.choices.cut.toSeconds, to);
}

void TestCliOptions::readsSubtitlesAndSoundTrack_data()
{
    // "FILE" in the arguments and the result stands for an existing file's
    // absolute path, "HERE" for its name relative to the working folder.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("subtitles");
    QTest::addColumn<QString>("audioTrack");
    QTest::newRow("defaults") << QStringList{} << u"auto"_s << QString();
    QTest::newRow("auto") << words(u"--subtitles auto"_s) << u"auto"_s << QString();
    QTest::newRow("off") << QStringList{u"--subtitles=off"_s} << u"off"_s << QString();
    QTest::newRow("a file") << words(u"--subtitles FILE"_s) << u"FILE"_s << QString();
    QTest::newRow("a file named from the working folder")
        << words(u"--subtitles HERE"_s) << u"FILE"_s << QString();
    QTest::newRow("track number") << words(u"--audio-track 2"_s) << u"auto"_s << u"2"_s;
    QTest::newRow("track number with leading zeros")
        << words(u"--audio-track 007"_s) << u"auto"_s << u"7"_s;
    QTest::newRow("language") << QStringList{u"--audio-track=chi"_s} << u"auto"_s << u"chi"_s;
    QTest::newRow("language of two letters in capitals")
        << words(u"--audio-track ZH"_s) << u"auto"_s << u"zh"_s;
    QTest::newRow("both") << words(u"--subtitles off --audio-track eng"_s) << u"off"_s << u"eng"_s;
}

void TestCliOptions::readsSubtitlesAndSoundTrack()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, subtitles);
    QFETCH(QString, audioTrack);
    QTemporaryFile file(QDir::currentPath() + u"/subtitles-XXXXXX.srt"_s);
    QVERIFY(file.open());
    const QString path = QFileInfo(file.fileName()).absoluteFilePath();
    arguments.replaceInStrings(u"FILE"_s, path);
    arguments.replaceInStrings(u"HERE"_s, QDir::current().relativeFilePath(path));
    const CliOptions options =
        CliOptions::parse(commandLine(arguments + QStringList{u"a"_s}), u"/out"_s);
    QCOMPARE(options.error, QString());
    QCOMPARE(options.settings.choices.subtitles,
             JobChoices::Subtitles::fromText(subtitles.replace(u"FILE"_s, path)));
    QCOMPARE(options.settings.choices.audioTrack.text(), audioTrack);
}

void TestCliOptions::rejectsWhatItCannotUse()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, errorStart);
    const CliOptions options = CliOptions::parse(commandLine(arguments), u"/out"_s);
    QVERIFY2(options.error.startsWith(errorStart), qPrintable(options.error));
}

void TestCliOptions::warnsOfWhatTheFormatIgnoresOrChanges_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("warnings");
    QTest::newRow("used as given") << words(u"-f avi --frame-rate 29.97"_s) << QStringList{};
    QTest::newRow("defaults the format ignores") << words(u"-f mpg"_s) << QStringList{};
    QTest::newRow("channels for mov")
        << words(u"-f mov --channels mono"_s)
        << QStringList{u"--channels is not used by mov; it is ignored (mov uses stereo)."_s};
    QTest::newRow("size for mpg")
        << words(u"-f mpg -s 320x240"_s)
        << QStringList{
               u"--size is not used by mpg; it is ignored (the output keeps the source's)."_s};
    QTest::newRow("bitrate at the source size")
        << words(u"-s 原始大小 --video-bitrate 800"_s)
        << QStringList{u"--video-bitrate is not used by rmvb at the source's size; it is ignored "
                       "(rmvb uses 1200)."_s};
    QTest::newRow("rate MPEG-2 cannot signal")
        << words(u"-f mpg --frame-rate 23"_s)
        << QStringList{u"--frame-rate 23 becomes 23.976 for mpg: the nearest value mpeg2video "
                       "takes."_s};
    QTest::newRow("sample rate AC-3 cannot take")
        << words(u"-f rm -s 320x240 --audio-rate 28000"_s)
        << QStringList{u"--audio-rate 28000 becomes 32000 for rm: the nearest value ac3 takes."_s};
    QTest::newRow("sample rate MP3 cannot take")
        << words(u"-f mp3 --audio-rate 12050"_s)
        << QStringList{u"--audio-rate 12050 becomes 12000 for mp3: the nearest value mp3 takes."_s};
    QTest::newRow("sound bitrate MP3 cannot take at 22.05 kHz")
        << words(u"-f mp3 --audio-rate 22050 --audio-bitrate 320"_s)
        << QStringList{u"--audio-bitrate 320 becomes 160 for mp3: the nearest value mp3 takes."_s};
    QTest::newRow("size RealVideo cannot code")
        << words(u"-s 640x360"_s)
        << QStringList{u"--size 640x360 becomes 640x352 for rmvb: the nearest value rv10 takes."_s};
    QTest::newRow("ignored, so never changed")
        << words(u"-f mp3 --frame-rate 23"_s)
        << QStringList{u"--frame-rate is not used by mp3; it is ignored (mp3 has no picture)."_s};
    QTest::newRow("quality and source rate for hevc")
        << words(u"-f hevc --video-bitrate 自动(按质量) --frame-rate 原始帧率"_s) << QStringList{};
    QTest::newRow("quality entry where it is not used")
        << words(u"-f mp3 --video-bitrate 自动(按质量)"_s)
        << QStringList{
               u"--video-bitrate is not used by mp3; it is ignored (mp3 has no picture)."_s};
    QTest::newRow("sample rate AAC cannot take")
        << words(u"-f h264 --audio-rate 44000"_s)
        << QStringList{
               u"--audio-rate 44000 becomes 44100 for h264: the nearest value aac takes."_s};
    QTest::newRow("sample rate Opus cannot take")
        << words(u"-f webm --audio-rate 44100"_s)
        << QStringList{
               u"--audio-rate 44100 becomes 48000 for webm: the nearest value opus takes."_s};
}

void TestCliOptions::warnsOfWhatTheFormatIgnoresOrChanges()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, warnings);
    const CliOptions options =
        CliOptions::parse(commandLine(arguments + QStringList{u"a"_s}), u"/out"_s);
    QCOMPARE(options.error, QString());
    QCOMPARE(options.warnings, warnings);
}

void TestCliOptions::makesPathsAbsolute()
{
    const CliOptions options = CliOptions::parse(
        commandLine({u"-o"_s, u"outs"_s, u"clip one.avi"_s, u"/abs/假期.mp4"_s}), u"/unused"_s);
    QCOMPARE(options.settings.outputFolder, QDir::current().absoluteFilePath(u"outs"_s));
    QCOMPARE(options.files, (QStringList{QDir::current().absoluteFilePath(u"clip one.avi"_s),
                                         u"/abs/假期.mp4"_s}));
}

void TestCliOptions::readsNamesFromLists_data()
{
    // "LIST" in the arguments stands for a file holding the list's bytes.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("files");
    const QStringList fromList{u"--files-from"_s, u"LIST"_s};
    const QStringList nulSeparated{u"--files-from"_s, u"LIST"_s, u"-0"_s};
    const QString here = QDir::currentPath() + u'/';
    QTest::newRow("one name a line") << fromList << QByteArray("clip one.avi\n/abs/假期.mp4\n")
                                     << QStringList{here + u"clip one.avi"_s, u"/abs/假期.mp4"_s};
    QTest::newRow("last line without a break")
        << fromList << QByteArray("/a.avi\n/b.avi") << words(u"/a.avi /b.avi"_s);
    QTest::newRow("blank lines skipped, blanks in names kept")
        << fromList << QByteArray("\n\n /a.avi \n\n") << QStringList{here + u" /a.avi "_s};
    QTest::newRow("lines written on Windows")
        << fromList << QByteArray("/a.avi\r\n/b.avi\r\n") << words(u"/a.avi /b.avi"_s);
    QTest::newRow("after the names on the command line")
        << words(u"/first.avi --files-from=LIST"_s) << QByteArray("/second.avi\n")
        << words(u"/first.avi /second.avi"_s);
    QTest::newRow("each list in turn")
        << (fromList + fromList) << QByteArray("/a.avi\n") << words(u"/a.avi /a.avi"_s);
    QTest::newRow("separated by NUL, as find -print0 writes")
        << nulSeparated << QByteArray("/new\nline.avi\0/cr\r\0/b.avi\0", 26)
        << words(u"/new\nline.avi /cr\r /b.avi"_s);
    QTest::newRow("NUL list without a final NUL")
        << words(u"--null --files-from LIST"_s) << QByteArray("/a.avi\0\0/b.avi", 14)
        << words(u"/a.avi /b.avi"_s);
    QTest::newRow("an empty list beside another")
        << (fromList + words(u"--files-from /dev/null"_s)) << QByteArray("/a.avi\n\n")
        << QStringList{u"/a.avi"_s};
}

void TestCliOptions::readsNamesFromLists()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, list);
    QFETCH(QStringList, files);
    QTemporaryFile listFile;
    QVERIFY(listFile.open());
    QCOMPARE(listFile.write(list), list.size());
    listFile.close();
    arguments.replaceInStrings(u"LIST"_s, listFile.fileName());
    const CliOptions options = CliOptions::parse(commandLine(arguments), u"/out"_s);
    QCOMPARE(options.error, QString());
    QCOMPARE(options.files, files);
}

void TestCliOptions::helpAndVersionNeedNoFiles_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<bool>("help");
    QTest::addColumn<bool>("version");
    QTest::newRow("--help") << u"--help"_s << true << false;
    QTest::newRow("-h") << u"-h"_s << true << false;
    QTest::newRow("--version") << u"--version"_s << false << true;
    QTest::newRow("-v") << u"-v"_s << false << true;
}

void TestCliOptions::helpAndVersionNeedNoFiles()
{
    QFETCH(QString, argument);
    QFETCH(bool, help);
    QFETCH(bool, version);
    const CliOptions options = CliOptions::parse(commandLine({argument}), u"/out"_s);
    QCOMPARE(options.error, QString());
    QCOMPARE(options.helpRequested, help);
    QCOMPARE(options.versionRequested, version);
    for (const QString &listed :
         {u"--audio-bitrate"_s, u"--files-from <LIST>"_s, u"-0, --null"_s, u"--version"_s,
          u"--from <TIME>"_s, u"--to <TIME>"_s, u"--subtitles <auto|off|FILE>"_s,
          u"--audio-track <N|LANG>"_s, u"--lang <zh|en>"_s})
        QVERIFY(CliOptions::helpText().contains(listed));
}

QTEST_GUILESS_MAIN(TestCliOptions)
#include "tst_clioptions.moc"
