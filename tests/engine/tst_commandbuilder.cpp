#include "encoders/protocol/JobChoices.h"
#include "engine/CommandBuilder.h"
#include "engine/OutputFormats.h"
#include "tests/helpers/WindowsPathStyle.h"
#include "tests/helpers/Words.h"

#include <QScopeGuard>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ConversionSettings)
Q_DECLARE_METATYPE(OutputFormat)
Q_DECLARE_METATYPE(Parameter)
Q_DECLARE_METATYPE(Parameters)

class TestCommandBuilder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stageOne_data();
    void stageOne();
    void stageTwo_data();
    void stageTwo();
    void singleStageFormatsHaveNoStageTwo_data();
    void singleStageFormatsHaveNoStageTwo();
    void argumentLists_data();
    void argumentLists();
    void nativeEnvironment();
    void encoderEnvironment_data();
    void encoderEnvironment();
    void encoderReadsTheChoices_data();
    void encoderReadsTheChoices();
    void existingOutputGetsCopyNumber();
    void parametersUsed_data();
    void parametersUsed();
    void parameterReachesCommand_data();
    void parameterReachesCommand();
};

namespace {

const QString Input = uR"(D:\clips\holiday.avi)"_s;

CommandEnvironment windowsEnvironment(const QString &programFolder,
                                      const QSet<QString> &existing = {})
{
    CommandEnvironment env;
    env.programFolder = programFolder;
    env.pathStyle = windowsPathStyle();
    env.intermediatePath = uR"(c:\tmp\tmp.mp4)"_s;
    env.clock = [] { return QTime(9, 5, 7); };
    env.pathExists = [existing](const QString &path) { return existing.contains(path); };
    return env;
}

ConversionSettings defaultsOf(OutputFormat format, const QString &outputFolder)
{
    ConversionSettings settings;
    settings.selectFormat(format);
    settings.outputFolder = outputFolder;
    return settings;
}

ConversionSettings custom(OutputFormat format, const QString &size)
{
    ConversionSettings settings = defaultsOf(format, uR"(E:\out)"_s);
    settings.size = size;
    return settings;
}

// The settings with one parameter set to a value no format has as default.
ConversionSettings withOtherValue(ConversionSettings settings, Parameter parameter)
{
    switch (parameter) {
    case Parameter::Size:
        settings.size = u"176x144"_s;
        break;
    case Parameter::VideoBitrate:
        settings.videoBitrate = u"777"_s;
        break;
    case Parameter::FrameRate:
        settings.frameRate = u"17"_s;
        break;
    case Parameter::AudioRate:
        settings.audioRate = u"11111"_s;
        break;
    case Parameter::AudioBitrate:
        settings.audioBitrate = u"33"_s;
        break;
    case Parameter::Channels:
        settings.channelIndex = -1;
        break;
    }
    return settings;
}

} // namespace

void TestCommandBuilder::stageOne_data()
{
    QTest::addColumn<ConversionSettings>("settings");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("outputPath");

    const QString folder = uR"(E:\out\)"_s;
    const QString intermediate = uR"(c:\tmp\tmp.mp4)"_s;
    const QString toIntermediate =
        uR"(C:\App\data\conv.exe "D:\clips\holiday.avi" -oac mp3lame -lameopts preset=320 -ovc lavc -lavcopts vcodec=mpeg4:vbitrate=1200 -of avi -o c:\tmp\tmp.mp4)"_s;
    const QString mpeg2 =
        uR"(C:\App\data\conv.exe "D:\clips\holiday.avi" -oac lavc -lavcopts acodec=mp2:abitrate=64 -ovc lavc -lavcopts vcodec=mpeg2video:vbitrate=600:vpass=1 -ofps 24 -of lavf -lavfopts format=yuv4mpeg -o )"_s;

    // Each format with its defaults, the job D:\clips\holiday.avi at 09:05:07.
    QTest::newRow("Rmvb") << defaultsOf(OutputFormat::Rmvb, folder) << toIntermediate
                          << intermediate;
    QTest::newRow("Mpg") << defaultsOf(OutputFormat::Mpg, folder)
                         << mpeg2 + uR"("E:\out\holiday-957.mpg")"_s
                         << uR"(E:\out\holiday-957.mpg)"_s;
    QTest::newRow("Mp3Audio")
        << defaultsOf(OutputFormat::Mp3Audio, folder)
        << uR"(C:\App\data\coder.exe -i "D:\clips\holiday.avi" -y -vn -ar 48000 -ab 320k -ac 2 "E:\out\holiday-957.mp3")"_s
        << uR"(E:\out\holiday-957.mp3)"_s;

    // The remaining formats.
    for (const OutputFormat format : {OutputFormat::Rm, OutputFormat::Mov, OutputFormat::Mp4Mobile,
                                      OutputFormat::ThreeGpMobile}) {
        QTest::addRow("%s is fixed", qPrintable(OutputFormats::of(format).entryText))
            << custom(format, u"640x480"_s) << toIntermediate << intermediate;
    }
    QTest::newRow("Avi is Mpg with its extension")
        << defaultsOf(OutputFormat::Avi, folder) << mpeg2 + uR"("E:\out\holiday-957.avi")"_s
        << uR"(E:\out\holiday-957.avi)"_s;
    QTest::newRow("Mp4HighQuality")
        << defaultsOf(OutputFormat::Mp4HighQuality, folder)
        << uR"(C:\App\data\conv.exe "D:\clips\holiday.avi" -oac mp3lame -lameopts preset=320 -ovc lavc -lavcopts vcodec=mpeg4:vbitrate=1200 -of avi -o "E:\out\holiday-957.mp4")"_s
        << uR"(E:\out\holiday-957.mp4)"_s;

    // Values typed by the user go in exactly as typed.
    ConversionSettings typed = defaultsOf(OutputFormat::Mpg, folder);
    typed.audioBitrate = u"6 4"_s;
    typed.videoBitrate = u"600 "_s;
    typed.frameRate = u" 24"_s;
    QTest::newRow("Mpg with blanks typed")
        << typed
        << uR"(C:\App\data\conv.exe "D:\clips\holiday.avi" -oac lavc -lavcopts acodec=mp2:abitrate=6 4 -ovc lavc -lavcopts vcodec=mpeg2video:vbitrate=600 :vpass=1 -ofps  24 -of lavf -lavfopts format=yuv4mpeg -o "E:\out\holiday-957.mpg")"_s
        << uR"(E:\out\holiday-957.mpg)"_s;
    ConversionSettings mono = defaultsOf(OutputFormat::Mp3Audio, folder);
    mono.channelIndex = 0;
    mono.audioRate = u"44100 "_s;
    mono.audioBitrate = u"12.2"_s;
    QTest::newRow("Mp3Audio mono, rate with a blank")
        << mono
        << uR"(C:\App\data\coder.exe -i "D:\clips\holiday.avi" -y -vn -ar 44100  -ab 12.2k -ac 1 "E:\out\holiday-957.mp3")"_s
        << uR"(E:\out\holiday-957.mp3)"_s;
    mono.channelIndex = -1;
    QTest::newRow("Mp3Audio without a channel entry")
        << mono
        << uR"(C:\App\data\coder.exe -i "D:\clips\holiday.avi" -y -vn -ar 44100  -ab 12.2k -ac 0 "E:\out\holiday-957.mp3")"_s
        << uR"(E:\out\holiday-957.mp3)"_s;

    // Today's formats leave an option out at its entry that leaves the value
    // to the source or to a quality target.
    QTest::newRow("H264Mp4")
        << defaultsOf(OutputFormat::H264Mp4, folder)
        << uR"(C:\App\data\coder.exe -i "D:\clips\holiday.avi" -y -vcodec libx264 -acodec aac -ar 48000 -ab 160k -ac 2 "E:\out\holiday-957.mp4")"_s
        << uR"(E:\out\holiday-957.mp4)"_s;
    ConversionSettings hevc = custom(OutputFormat::HevcMp4, u"640x480"_s);
    hevc.videoBitrate = u"1500"_s;
    hevc.frameRate = u"29"_s;
    hevc.channelIndex = 0;
    QTest::newRow("HevcMp4, every value given")
        << hevc
        << uR"(C:\App\data\coder.exe -i "D:\clips\holiday.avi" -y -s 640x480 -vcodec libx265 -b 1500k -r 29 -acodec aac -ar 48000 -ab 160k -ac 1 "E:\out\holiday-957.mp4")"_s
        << uR"(E:\out\holiday-957.mp4)"_s;
    QTest::newRow("Vp9Webm")
        << defaultsOf(OutputFormat::Vp9Webm, folder)
        << uR"(C:\App\data\coder.exe -i "D:\clips\holiday.avi" -y -vcodec libvpx-vp9 -acodec libopus -ar 48000 -ab 128k -ac 2 "E:\out\holiday-957.webm")"_s
        << uR"(E:\out\holiday-957.webm)"_s;
    ConversionSettings webmTyped = defaultsOf(OutputFormat::Vp9Webm, folder);
    webmTyped.frameRate = u"原始帧率 "_s;
    webmTyped.videoBitrate = u"自动"_s;
    QTest::newRow("Vp9Webm, entries typed otherwise go in as typed")
        << webmTyped
        << uR"(C:\App\data\coder.exe -i "D:\clips\holiday.avi" -y -vcodec libvpx-vp9 -b 自动k -r 原始帧率  -acodec libopus -ar 48000 -ab 128k -ac 2 "E:\out\holiday-957.webm")"_s
        << uR"(E:\out\holiday-957.webm)"_s;

    // The music cutter goes first, in the option style of the encoder.
    ConversionSettings cutRmvb = defaultsOf(OutputFormat::Rmvb, folder);
    cutRmvb.choices.setCut(90, 180);
    QTest::newRow("Rmvb cut from 1:30 to 3:00")
        << cutRmvb
        << uR"(C:\App\data\conv.exe -ss 90 -endpos 90 "D:\clips\holiday.avi" -oac mp3lame -lameopts preset=320 -ovc lavc -lavcopts vcodec=mpeg4:vbitrate=1200 -of avi -o c:\tmp\tmp.mp4)"_s
        << intermediate;
    ConversionSettings cutMp3 = defaultsOf(OutputFormat::Mp3Audio, folder);
    cutMp3.choices.setCut(-5, 3);
    QTest::newRow("Mp3Audio cut to 3 s, a negative start is the start")
        << cutMp3
        << uR"(C:\App\data\coder.exe -t 3 -i "D:\clips\holiday.avi" -y -vn -ar 48000 -ab 320k -ac 2 "E:\out\holiday-957.mp3")"_s
        << uR"(E:\out\holiday-957.mp3)"_s;
    ConversionSettings cutMpg = defaultsOf(OutputFormat::Mpg, folder);
    cutMpg.choices.setCut(3723, 0);
    QTest::newRow("Mpg from 1:02:03, an end of 0 is the source's end")
        << cutMpg
        << uR"(C:\App\data\conv.exe -ss 3723 "D:\clips\holiday.avi" -oac lavc -lavcopts acodec=mp2:abitrate=64 -ovc lavc -lavcopts vcodec=mpeg2video:vbitrate=600:vpass=1 -ofps 24 -of lavf -lavfopts format=yuv4mpeg -o "E:\out\holiday-957.mpg")"_s
        << uR"(E:\out\holiday-957.mpg)"_s;
    ConversionSettings endBeforeStart = defaultsOf(OutputFormat::Mp3Audio, folder);
    endBeforeStart.choices.setCut(60, 30);
    QTest::newRow("Mp3Audio with the end before the start runs to the end")
        << endBeforeStart
        << uR"(C:\App\data\coder.exe -ss 60 -i "D:\clips\holiday.avi" -y -vn -ar 48000 -ab 320k -ac 2 "E:\out\holiday-957.mp3")"_s
        << uR"(E:\out\holiday-957.mp3)"_s;
}

void TestCommandBuilder::stageOne()
{
    QFETCH(ConversionSettings, settings);
    QFETCH(QString, text);
    QFETCH(QString, outputPath);

    const StageCommand stage =
        CommandBuilder(windowsEnvironment(uR"(C:\App)"_s)).stageOne(settings, Input);
    QCOMPARE(stage.command.text(), text);
    QCOMPARE(stage.outputPath, outputPath);
    QCOMPARE(stage.encoder, OutputFormats::of(settings.format).stageOne);
}

void TestCommandBuilder::stageTwo_data()
{
    QTest::addColumn<ConversionSettings>("settings");
    QTest::addColumn<QString>("text");

    const QString source = u"原始大小"_s;
    // One row per command shape, the job D:\clips\holiday.avi at 09:05:07.
    QTest::newRow("Rmvb, source size")
        << custom(OutputFormat::Rmvb, source)
        << uR"(C:\Prog\data\coder.exe -i c:\tmp\tmp.mp4 -y -vcodec rv10 -b 1200k -f rm  -ab 128k -ac 2 "E:\out\holiday-957.rmvb")"_s;
    ConversionSettings rm = custom(OutputFormat::Rm, u"320x240"_s);
    rm.videoBitrate = u"1200"_s;
    rm.audioRate = u"44100"_s;
    rm.audioBitrate = u"320"_s;
    rm.channelIndex = 1;
    QTest::newRow("Rm, 320x240")
        << rm
        << uR"(C:\Prog\data\coder.exe -i c:\tmp\tmp.mp4 -y -s 320x240 -vcodec rv10 -b 1200k -f rm -ar 44100 -ab 320k -ac 2 "E:\out\holiday-957.rm")"_s;
    QTest::newRow("Mov, 640x480")
        << custom(OutputFormat::Mov, u"640x480"_s)
        << uR"(C:\Prog\data\coder.exe -i c:\tmp\tmp.mp4 -y -s 640x480 -ac 2 -ar 48000 -ab 128k "E:\out\holiday-957.mov")"_s;
    QTest::newRow("ThreeGpMobile, source size")
        << custom(OutputFormat::ThreeGpMobile, source)
        << uR"(C:\Prog\data\coder2.exe -i c:\tmp\tmp.mp4 -y -s 320x240 -vcodec mpeg4 -acodec amr_nb -ac 1 -ar 8000 -ab 12.2k "E:\out\holiday-957.3gp")"_s;

    // The other rows of the table.
    ConversionSettings rmvbMono = custom(OutputFormat::Rmvb, u"640x480"_s);
    rmvbMono.channelIndex = 0;
    QTest::newRow("Rmvb, other size, mono")
        << rmvbMono
        << uR"(C:\Prog\data\coder.exe -i c:\tmp\tmp.mp4 -y -s 640x480 -vcodec rv10 -b 1200k -f rm -ar 44100 -ab 320k -ac 1 "E:\out\holiday-957.rmvb")"_s;
    QTest::newRow("Rm, source size ignores the parameters")
        << custom(OutputFormat::Rm, source)
        << uR"(C:\Prog\data\coder.exe -i c:\tmp\tmp.mp4 -y -vcodec rv10 -b 1200k -f rm  -ab 128k -ac 2 "E:\out\holiday-957.rm")"_s;
    QTest::newRow("Mov, source size")
        << custom(OutputFormat::Mov, source)
        << uR"(C:\Prog\data\coder.exe -i c:\tmp\tmp.mp4 -y -ac 2 -ar 48000 -ab 128k "E:\out\holiday-957.mov")"_s;
    QTest::newRow("Mp4Mobile, source size")
        << custom(OutputFormat::Mp4Mobile, source)
        << uR"(C:\Prog\data\coder2.exe -i c:\tmp\tmp.mp4 -y -s 320x240 -vcodec mpeg4 -acodec amr_nb -ac 1 -ar 8000 -ab 12.2k "E:\out\holiday-957.mp4")"_s;
    QTest::newRow("Mp4Mobile, other size")
        << custom(OutputFormat::Mp4Mobile, u"176x144"_s)
        << uR"(C:\Prog\data\coder2.exe -i c:\tmp\tmp.mp4 -y -s 176x144 -vcodec mpeg4 -acodec amr_nb -ac 1 -ar 8000 -ab 12.2k "E:\out\holiday-957.mp4")"_s;

    // Typed values go in exactly as typed; blanks make the source size a size.
    QTest::newRow("ThreeGpMobile, source size with a blank")
        << custom(OutputFormat::ThreeGpMobile, u"原始大小 "_s)
        << uR"(C:\Prog\data\coder2.exe -i c:\tmp\tmp.mp4 -y -s 原始大小  -vcodec mpeg4 -acodec amr_nb -ac 1 -ar 8000 -ab 12.2k "E:\out\holiday-957.3gp")"_s;
    ConversionSettings rmTyped = custom(OutputFormat::Rm, u" 320x240 "_s);
    rmTyped.videoBitrate = u"1200 "_s;
    QTest::newRow("Rm, blanks around size and bitrate")
        << rmTyped
        << uR"(C:\Prog\data\coder.exe -i c:\tmp\tmp.mp4 -y -s  320x240  -vcodec rv10 -b 1200 k -f rm -ar 44100 -ab 320k -ac 2 "E:\out\holiday-957.rm")"_s;
}

void TestCommandBuilder::stageTwo()
{
    QFETCH(ConversionSettings, settings);
    QFETCH(QString, text);

    const std::optional<StageCommand> stage =
        CommandBuilder(windowsEnvironment(uR"(C:\Prog)"_s)).stageTwo(settings, Input);
    QVERIFY(stage);
    QCOMPARE(stage->command.text(), text);
    QCOMPARE(stage->encoder, OutputFormats::of(settings.format).stageTwo->encoder);
    QVERIFY(text.endsWith(u'"' + stage->outputPath + u'"'));
}

void TestCommandBuilder::singleStageFormatsHaveNoStageTwo_data()
{
    QTest::addColumn<OutputFormat>("format");
    for (int index = 0; index < OutputFormats::Count; ++index) {
        const OutputFormat format = *OutputFormats::fromIndex(index);
        QTest::addRow("%d", index) << format;
    }
}

void TestCommandBuilder::singleStageFormatsHaveNoStageTwo()
{
    QFETCH(OutputFormat, format);
    const CommandBuilder builder(windowsEnvironment(uR"(C:\Prog)"_s));
    const ConversionSettings settings = custom(format, u"640x480"_s);
    QCOMPARE(builder.stageTwo(settings, Input).has_value(),
             OutputFormats::of(format).hasStageTwo());
}

void TestCommandBuilder::argumentLists_data()
{
    QTest::addColumn<ConversionSettings>("settings");
    QTest::addColumn<bool>("secondStage");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("Mpg stage one")
        << defaultsOf(OutputFormat::Mpg, uR"(E:\out\)"_s) << false << Input
        << uR"(C:\App\data\conv.exe)"_s
        << QStringList{Input} +
               words(u"-oac lavc -lavcopts acodec=mp2:abitrate=64 -ovc lavc -lavcopts "
                     "vcodec=mpeg2video:vbitrate=600:vpass=1 -ofps 24 -of lavf -lavfopts "
                     "format=yuv4mpeg -o"_s) +
               QStringList{uR"(E:\out\holiday-957.mpg)"_s};
    const QString blanks = uR"(D:\my clips\holiday "cut".avi)"_s;
    QTest::newRow("Rmvb stage one, input with blanks and quotes")
        << defaultsOf(OutputFormat::Rmvb, uR"(E:\out)"_s) << false << blanks
        << uR"(C:\App\data\conv.exe)"_s
        << QStringList{blanks} +
               words(u"-oac mp3lame -lameopts preset=320 -ovc lavc -lavcopts "
                     "vcodec=mpeg4:vbitrate=1200 -of avi -o"_s) +
               QStringList{uR"(c:\tmp\tmp.mp4)"_s};
    // The double blank before "-ab" gives no empty argument.
    QTest::newRow("Rmvb stage two, source size")
        << custom(OutputFormat::Rmvb, u"原始大小"_s) << true << Input
        << uR"(C:\App\data\coder.exe)"_s
        << QStringList{u"-i"_s, uR"(c:\tmp\tmp.mp4)"_s} +
               words(u"-y -vcodec rv10 -b 1200k -f rm -ab 128k -ac 2"_s) +
               QStringList{uR"(E:\out\holiday-957.rmvb)"_s};
    ConversionSettings typed = custom(OutputFormat::Rm, u" 320x240 "_s);
    typed.videoBitrate = u"1200 "_s;
    QTest::newRow("Rm stage two, typed blanks split like a command line")
        << typed << true << Input << uR"(C:\App\data\coder.exe)"_s
        << QStringList{u"-i"_s, uR"(c:\tmp\tmp.mp4)"_s} +
               words(u"-y -s 320x240 -vcodec rv10 -b 1200 k -f rm -ar 44100 -ab 320k -ac 2"_s) +
               QStringList{uR"(E:\out\holiday-957.rm)"_s};
}

void TestCommandBuilder::argumentLists()
{
    QFETCH(ConversionSettings, settings);
    QFETCH(bool, secondStage);
    QFETCH(QString, input);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);

    const CommandBuilder builder(windowsEnvironment(uR"(C:\App)"_s));
    const EncoderCommand command = secondStage ? builder.stageTwo(settings, input)->command
                                               : builder.stageOne(settings, input).command;
    QCOMPARE(command.program(), program);
    QCOMPARE(command.arguments(), arguments);
}

void TestCommandBuilder::nativeEnvironment()
{
    CommandEnvironment env;
    env.programFolder = u"/opt/zenvora"_s;
    env.intermediatePath = u"/home/u/.cache/zenvora/tmp.mp4"_s;
    env.clock = [] { return QTime(9, 5, 7); };
    env.pathExists = [](const QString &) { return false; };
    const CommandBuilder builder(env);
    ConversionSettings settings = defaultsOf(OutputFormat::Rmvb, u"/home/u/Videos/Zenvora"_s);

    const StageCommand first = builder.stageOne(settings, u"/media/holiday.avi"_s);
    QCOMPARE(first.command.program(), u"/opt/zenvora/data/conv.exe"_s);
    QCOMPARE(first.command.arguments().last(), env.intermediatePath);
    QCOMPARE(first.outputPath, env.intermediatePath);

    const std::optional<StageCommand> second = builder.stageTwo(settings, u"/media/holiday.avi"_s);
    QVERIFY(second);
    QCOMPARE(
        second->command.text(),
        u"/opt/zenvora/data/coder.exe -i /home/u/.cache/zenvora/tmp.mp4 -y -vcodec rv10 -b 1200k -f rm  -ab 128k -ac 2 \"/home/u/Videos/Zenvora/holiday-957.rmvb\""_s);
    QCOMPARE(second->outputPath, u"/home/u/Videos/Zenvora/holiday-957.rmvb"_s);
}

void TestCommandBuilder::encoderEnvironment_data()
{
    QTest::addColumn<ConversionSettings>("settings");
    QTest::addColumn<QString>("subtitles");
    QTest::addColumn<QString>("audioTrack"); // null: not in the environment

    using Kind = JobChoices::Subtitles::Kind;
    using Track = JobChoices::AudioTrack;
    const auto choosing = [](const JobChoices::Subtitles &subtitles, const Track &audioTrack) {
        ConversionSettings settings = defaultsOf(OutputFormat::Rmvb, u"/out"_s);
        settings.choices.subtitles = subtitles;
        settings.choices.audioTrack = audioTrack;
        return settings;
    };
    QTest::newRow("defaults: subtitles found, the source's default track")
        << defaultsOf(OutputFormat::Rmvb, u"/out"_s) << u"auto"_s << QString();
    QTest::newRow("off") << choosing({Kind::Off, {}}, {}) << u"off"_s << QString();
    QTest::newRow("a subtitle file and the second track")
        << choosing({Kind::File, u"/subs/假期 1.zh.srt"_s}, Track::byNumber(2))
        << u"/subs/假期 1.zh.srt"_s << u"2"_s;
    QTest::newRow("a language") << choosing({}, Track::byLanguage(u"chi"_s)) << u"auto"_s
                                << u"chi"_s;
    QTest::newRow("a file choice without its file is auto")
        << choosing({Kind::File, QString()}, {}) << u"auto"_s << QString();
}

// Both stages carry the choices; what the program itself was started with
// never reaches an encoder.
void TestCommandBuilder::encoderEnvironment()
{
    QFETCH(ConversionSettings, settings);
    QFETCH(QString, subtitles);
    QFETCH(QString, audioTrack);
    qputenv("ZENVORA_SUBTITLES", "/inherited.srt");
    qputenv("ZENVORA_AUDIO_TRACK", "9");
    qputenv("ZENVORA_INTERMEDIATE", "/inherited.mp4");
    const auto restore = qScopeGuard([] {
        qunsetenv("ZENVORA_SUBTITLES");
        qunsetenv("ZENVORA_AUDIO_TRACK");
        qunsetenv("ZENVORA_INTERMEDIATE");
    });
    CommandEnvironment env;
    env.programFolder = u"/opt/zenvora"_s;
    env.intermediatePath = u"/cache/tmp.mp4"_s;
    env.clock = [] { return QTime(9, 5, 7); };
    env.pathExists = [](const QString &) { return false; };
    const CommandBuilder builder(env);
    const std::optional<StageCommand> second = builder.stageTwo(settings, u"/in/a.avi"_s);
    QVERIFY(second);

    for (const StageCommand &stage : {builder.stageOne(settings, u"/in/a.avi"_s), *second}) {
        const QProcessEnvironment encoder = stage.environment(u"/run/probe"_s);
        QCOMPARE(encoder.value(u"ZENVORA_SUBTITLES"_s), subtitles);
        QCOMPARE(encoder.contains(u"ZENVORA_AUDIO_TRACK"_s), !audioTrack.isNull());
        QCOMPARE(encoder.value(u"ZENVORA_AUDIO_TRACK"_s), audioTrack);
        QCOMPARE(encoder.value(u"ZENVORA_PROBE_SERVER"_s), u"/run/probe"_s);
        // Stage one writes the working file, stage two reads it.
        QCOMPARE(encoder.value(u"ZENVORA_INTERMEDIATE"_s), env.intermediatePath);
    }
}

void TestCommandBuilder::encoderReadsTheChoices_data()
{
    using Kind = JobChoices::Subtitles::Kind;
    using Track = JobChoices::AudioTrack;
    QTest::addColumn<JobChoices::Subtitles>("subtitles");
    QTest::addColumn<JobChoices::AudioTrack>("audioTrack");
    QTest::newRow("subtitles found, the default track") << JobChoices::Subtitles{} << Track{};
    QTest::newRow("no subtitles, a track by number")
        << JobChoices::Subtitles{Kind::Off, {}} << Track::byNumber(12);
    QTest::newRow("a file with blanks and Chinese, a track by language")
        << JobChoices::Subtitles{Kind::File, u"/home/用户/字幕 文件/假期 1.zh.srt"_s}
        << Track::byLanguage(u"eng"_s);
    QTest::newRow("a file whose name ends in blanks, a language of two letters")
        << JobChoices::Subtitles{Kind::File, u"/subs/film.srt  "_s} << Track::byLanguage(u"zh"_s);
}

// What the program writes for a stage is what its encoder reads back, and
// a track the program itself was started with never replaces the default.
void TestCommandBuilder::encoderReadsTheChoices()
{
    QFETCH(JobChoices::Subtitles, subtitles);
    QFETCH(JobChoices::AudioTrack, audioTrack);
    qputenv("ZENVORA_AUDIO_TRACK", "9");
    const auto restore = qScopeGuard([] { qunsetenv("ZENVORA_AUDIO_TRACK"); });
    ConversionSettings settings = defaultsOf(OutputFormat::Mp3Audio, u"/out"_s);
    settings.choices.subtitles = subtitles;
    settings.choices.audioTrack = audioTrack;
    CommandEnvironment env;
    env.pathExists = [](const QString &) { return false; };
    const StageCommand stage = CommandBuilder(env).stageOne(settings, u"/in/a.avi"_s);

    QStringList notes;
    const JobChoices read = JobChoices::readFrom(stage.environment({}), notes);
    QCOMPARE(notes, QStringList());
    QCOMPARE(read.subtitles, subtitles);
    QCOMPARE(read.audioTrack, audioTrack);
}

void TestCommandBuilder::existingOutputGetsCopyNumber()
{
    const CommandBuilder builder(
        windowsEnvironment(uR"(C:\App)"_s, {uR"(E:\out\holiday-957.mp3)"_s}));
    const StageCommand stage =
        builder.stageOne(defaultsOf(OutputFormat::Mp3Audio, uR"(E:\out)"_s), Input);
    QCOMPARE(stage.outputPath, uR"(E:\out\holiday-957-2.mp3)"_s);
    QVERIFY(stage.command.text().endsWith(uR"( "E:\out\holiday-957-2.mp3")"_s));
}

void TestCommandBuilder::parametersUsed_data()
{
    QTest::addColumn<OutputFormat>("format");
    QTest::addColumn<Parameters>("stageOne");
    QTest::addColumn<Parameters>("stageTwo");
    QTest::addColumn<Parameters>("optional");

    const Parameters real = Parameter::Size | Parameter::VideoBitrate | Parameter::AudioRate |
                            Parameter::AudioBitrate | Parameter::Channels;
    const Parameters mpeg2 =
        Parameter::AudioBitrate | Parameter::VideoBitrate | Parameter::FrameRate;
    QTest::newRow("Rmvb") << OutputFormat::Rmvb << Parameters() << real << Parameters();
    QTest::newRow("Rm") << OutputFormat::Rm << Parameters() << real << Parameters();
    QTest::newRow("Mpg") << OutputFormat::Mpg << mpeg2 << Parameters() << Parameters();
    QTest::newRow("Avi") << OutputFormat::Avi << mpeg2 << Parameters() << Parameters();
    QTest::newRow("Mp4HighQuality")
        << OutputFormat::Mp4HighQuality << (Parameter::AudioBitrate | Parameter::VideoBitrate)
        << Parameters() << Parameters();
    QTest::newRow("Mov") << OutputFormat::Mov << Parameters() << Parameters(Parameter::Size)
                         << Parameters();
    QTest::newRow("Mp4Mobile") << OutputFormat::Mp4Mobile << Parameters()
                               << Parameters(Parameter::Size) << Parameters();
    QTest::newRow("ThreeGpMobile") << OutputFormat::ThreeGpMobile << Parameters()
                                   << Parameters(Parameter::Size) << Parameters();
    QTest::newRow("Mp3Audio") << OutputFormat::Mp3Audio
                              << (Parameter::AudioRate | Parameter::AudioBitrate |
                                  Parameter::Channels)
                              << Parameters() << Parameters();
    const Parameters all = real | Parameter::FrameRate;
    const Parameters optional = Parameter::Size | Parameter::VideoBitrate | Parameter::FrameRate;
    for (const OutputFormat format :
         {OutputFormat::H264Mp4, OutputFormat::HevcMp4, OutputFormat::Vp9Webm}) {
        QTest::addRow("%s", qPrintable(OutputFormats::of(format).cliName))
            << format << all << Parameters() << optional;
    }
}

void TestCommandBuilder::parametersUsed()
{
    QFETCH(OutputFormat, format);
    QFETCH(Parameters, stageOne);
    QFETCH(Parameters, stageTwo);
    QFETCH(Parameters, optional);
    QCOMPARE(CommandBuilder::stageOneParameters(format), stageOne);
    QCOMPARE(CommandBuilder::stageTwoParameters(format), stageTwo);
    QCOMPARE(CommandBuilder::optionalParameters(format), optional);
}

void TestCommandBuilder::parameterReachesCommand_data()
{
    QTest::addColumn<OutputFormat>("format");
    QTest::addColumn<Parameter>("parameter");

    const QList<std::pair<Parameter, const char *>> parameters{
        {Parameter::Size, "size"},
        {Parameter::VideoBitrate, "video bitrate"},
        {Parameter::FrameRate, "frame rate"},
        {Parameter::AudioRate, "audio rate"},
        {Parameter::AudioBitrate, "audio bitrate"},
        {Parameter::Channels, "channels"}};
    for (int index = 0; index < OutputFormats::Count; ++index) {
        const OutputFormat format = *OutputFormats::fromIndex(index);
        for (const auto &[parameter, name] : parameters) {
            QTest::addRow("%s, %s", qPrintable(OutputFormats::of(format).entryText), name)
                << format << parameter;
        }
    }
}

// A parameter changes a stage's command exactly when it is listed as used
// by that stage (with a size other than the source size, so that every
// parameter a stage can take is in its command).
void TestCommandBuilder::parameterReachesCommand()
{
    QFETCH(OutputFormat, format);
    QFETCH(Parameter, parameter);

    const ConversionSettings before = custom(format, u"640x480"_s);
    const ConversionSettings changed = withOtherValue(before, parameter);

    const CommandBuilder builder(windowsEnvironment(uR"(C:\App)"_s));
    const auto stageTwoText = [&](const ConversionSettings &settings) {
        const std::optional<StageCommand> stage = builder.stageTwo(settings, Input);
        return stage ? stage->command.text() : QString();
    };
    QCOMPARE(builder.stageOne(changed, Input).command.text() !=
                 builder.stageOne(before, Input).command.text(),
             CommandBuilder::stageOneParameters(format).testFlag(parameter));
    QCOMPARE(stageTwoText(changed) != stageTwoText(before),
             CommandBuilder::stageTwoParameters(format).testFlag(parameter));
}

QTEST_GUILESS_MAIN(TestCommandBuilder)
#include "tst_commandbuilder.moc"
