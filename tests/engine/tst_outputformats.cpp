#include "engine/ConversionCombos.h"
#include "engine/ConversionSettings.h"
#include "engine/OutputFormats.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(OutputFormat)
Q_DECLARE_METATYPE(ConversionCombo)
Q_DECLARE_METATYPE(std::optional<OutputFormat>)
Q_DECLARE_METATYPE(std::optional<Parameter>)

class TestOutputFormats : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stagePlan_data();
    void stagePlan();
    void fromIndex_data();
    void fromIndex();
    void combos_data();
    void combos();
    void selectFormat_data();
    void selectFormat();
    void channelCount_data();
    void channelCount();
    void parameterText_data();
    void parameterText();
};

void TestOutputFormats::stagePlan_data()
{
    QTest::addColumn<OutputFormat>("format");
    QTest::addColumn<QString>("entryText");
    QTest::addColumn<QString>("stageOne");
    QTest::addColumn<bool>("stageOneInConvStyle");
    QTest::addColumn<QString>("stageTwo"); // empty when there is none
    QTest::addColumn<QString>("extension");

    QTest::newRow("Rmvb") << OutputFormat::Rmvb << u"RMVB(RealPlayerRMVB)"_s << u"conv.exe"_s
                          << true << u"coder.exe"_s << u".rmvb"_s;
    QTest::newRow("Rm") << OutputFormat::Rm << u"RM(RealPlayerRM)"_s << u"conv.exe"_s << true
                        << u"coder.exe"_s << u".rm"_s;
    QTest::newRow("Mpg") << OutputFormat::Mpg << u"MPG(MPEG2)"_s << u"conv.exe"_s << true
                         << QString() << u".mpg"_s;
    QTest::newRow("Avi") << OutputFormat::Avi << u"AVI(Windows Media Player格式)"_s << u"conv.exe"_s
                         << true << QString() << u".avi"_s;
    QTest::newRow("Mp4HighQuality") << OutputFormat::Mp4HighQuality << u"MP4(高清MPEG4格式)"_s
                                    << u"conv.exe"_s << true << QString() << u".mp4"_s;
    QTest::newRow("Mov") << OutputFormat::Mov << u"MOV(QuickTime格式)"_s << u"conv.exe"_s << true
                         << u"coder.exe"_s << u".mov"_s;
    QTest::newRow("Mp4Mobile") << OutputFormat::Mp4Mobile << u"MP4(手机MP4格式)"_s << u"conv.exe"_s
                               << true << u"coder2.exe"_s << u".mp4"_s;
    QTest::newRow("ThreeGpMobile") << OutputFormat::ThreeGpMobile << u"3GP(手机3GP格式)"_s
                                   << u"conv.exe"_s << true << u"coder2.exe"_s << u".3gp"_s;
    QTest::newRow("Mp3Audio") << OutputFormat::Mp3Audio << u"MP3(纯音频格式)"_s << u"coder.exe"_s
                              << false << QString() << u".mp3"_s;
    QTest::newRow("H264Mp4") << OutputFormat::H264Mp4 << u"MP4(H.264 通用格式)"_s << u"coder.exe"_s
                             << false << QString() << u".mp4"_s;
    QTest::newRow("HevcMp4") << OutputFormat::HevcMp4 << u"MP4(H.265 高压缩)"_s << u"coder.exe"_s
                             << false << QString() << u".mp4"_s;
    QTest::newRow("Vp9Webm") << OutputFormat::Vp9Webm << u"WebM(VP9 网页格式)"_s << u"coder.exe"_s
                             << false << QString() << u".webm"_s;
}

void TestOutputFormats::stagePlan()
{
    QFETCH(OutputFormat, format);
    QFETCH(QString, entryText);
    QFETCH(QString, stageOne);
    QFETCH(bool, stageOneInConvStyle);
    QFETCH(QString, stageTwo);
    QFETCH(QString, extension);

    const FormatSpec &description = OutputFormats::of(format);
    QCOMPARE(description.format, format);
    QCOMPARE(description.entryText, entryText);
    QCOMPARE(OutputFormats::entryTexts().at(OutputFormats::indexOf(format)), entryText);
    QCOMPARE(executableName(description.stageOne), stageOne);
    QCOMPARE(styleOf(description.stageOne) == EncoderStyle::Conv, stageOneInConvStyle);
    QCOMPARE(description.hasStageTwo(), !stageTwo.isEmpty());
    if (description.stageTwo) {
        QCOMPARE(executableName(description.stageTwo->encoder), stageTwo);
        QCOMPARE(styleOf(description.stageTwo->encoder), EncoderStyle::Coder);
    }
    QCOMPARE(description.extension, extension);
}

void TestOutputFormats::fromIndex_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<std::optional<OutputFormat>>("expected");

    QTest::newRow("no selection") << -1 << std::optional<OutputFormat>();
    QTest::newRow("first") << 0 << std::optional(OutputFormat::Rmvb);
    QTest::newRow("middle") << 4 << std::optional(OutputFormat::Mp4HighQuality);
    QTest::newRow("last of the first nine") << 8 << std::optional(OutputFormat::Mp3Audio);
    QTest::newRow("first after them") << 9 << std::optional(OutputFormat::H264Mp4);
    QTest::newRow("last") << 11 << std::optional(OutputFormat::Vp9Webm);
    QTest::newRow("past the end") << 12 << std::optional<OutputFormat>();
}

void TestOutputFormats::fromIndex()
{
    QFETCH(int, index);
    QFETCH(std::optional<OutputFormat>, expected);
    QCOMPARE(OutputFormats::fromIndex(index), expected);
    if (expected)
        QCOMPARE(OutputFormats::indexOf(*expected), index);
}

void TestOutputFormats::combos_data()
{
    QTest::addColumn<ConversionCombo>("combo");
    QTest::addColumn<std::optional<Parameter>>("parameter");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("format") << ConversionCombo::Format << std::optional<Parameter>()
                            << QStringList{
                                   u"RMVB(RealPlayerRMVB)"_s, u"RM(RealPlayerRM)"_s,
                                   u"MPG(MPEG2)"_s,           u"AVI(Windows Media Player格式)"_s,
                                   u"MP4(高清MPEG4格式)"_s,   u"MOV(QuickTime格式)"_s,
                                   u"MP4(手机MP4格式)"_s,     u"3GP(手机3GP格式)"_s,
                                   u"MP3(纯音频格式)"_s,      u"MP4(H.264 通用格式)"_s,
                                   u"MP4(H.265 高压缩)"_s,    u"WebM(VP9 网页格式)"_s};
    QTest::newRow("size") << ConversionCombo::Size << std::optional(Parameter::Size)
                          << QStringList{u"原始大小"_s, u"128x96"_s,  u"160x120"_s, u"176x144"_s,
                                         u"320x180"_s,  u"320x240"_s, u"352x288"_s, u"640x272"_s,
                                         u"480x480"_s,  u"640x360"_s, u"640x480"_s, u"720x306"_s,
                                         u"720x320"_s};
    QTest::newRow("video bitrate")
        << ConversionCombo::VideoBitrate << std::optional(Parameter::VideoBitrate)
        << QStringList{u"40"_s,  u"80"_s,  u"120"_s,  u"128"_s,  u"256"_s,
                       u"384"_s, u"512"_s, u"600"_s,  u"640"_s,  u"768"_s,
                       u"800"_s, u"900"_s, u"1000"_s, u"1500"_s, u"自动(按质量)"_s};
    QTest::newRow("frame rate") << ConversionCombo::FrameRate << std::optional(Parameter::FrameRate)
                                << QStringList{u"15"_s, u"23"_s, u"29"_s, u"原始帧率"_s};
    QTest::newRow("audio rate") << ConversionCombo::AudioRate << std::optional(Parameter::AudioRate)
                                << QStringList{u"48000"_s, u"44100"_s, u"32000"_s, u"24000"_s,
                                               u"22050"_s, u"16000"_s, u"12050"_s, u"8000"_s};
    QTest::newRow("audio bitrate")
        << ConversionCombo::AudioBitrate << std::optional(Parameter::AudioBitrate)
        << QStringList{u"10.2"_s, u"12.2"_s, u"32"_s,  u"48"_s,  u"56"_s,
                       u"64"_s,   u"80"_s,   u"96"_s,  u"112"_s, u"128"_s,
                       u"192"_s,  u"224"_s,  u"256"_s, u"320"_s, u"160"_s};
    QTest::newRow("channel") << ConversionCombo::Channel << std::optional(Parameter::Channels)
                             << QStringList{u"单声道"_s, u"双声道"_s};
}

void TestOutputFormats::combos()
{
    QFETCH(ConversionCombo, combo);
    QFETCH(std::optional<Parameter>, parameter);
    QFETCH(QStringList, entries);
    QCOMPARE(ConversionCombos::entries(combo), entries);
    QCOMPARE(ConversionCombos::parameterOf(combo), parameter);
    if (parameter)
        QCOMPARE(ConversionCombos::of(*parameter), combo);
}

void TestOutputFormats::selectFormat_data()
{
    QTest::addColumn<OutputFormat>("format");
    QTest::addColumn<QString>("videoBitrate");
    QTest::addColumn<QString>("frameRate");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("audioRate");
    QTest::addColumn<QString>("audioBitrate");
    QTest::addColumn<int>("channelIndex");

    const QString source = u"原始大小"_s;
    QTest::newRow("Rmvb") << OutputFormat::Rmvb << u"1200"_s << u"29"_s << source << u"44100"_s
                          << u"320"_s << 1;
    QTest::newRow("Rm") << OutputFormat::Rm << u"1200"_s << u"29"_s << source << u"44100"_s
                        << u"320"_s << 1;
    QTest::newRow("Mpg") << OutputFormat::Mpg << u"600"_s << u"24"_s << source << u"28000"_s
                         << u"64"_s << 1;
    QTest::newRow("Avi") << OutputFormat::Avi << u"600"_s << u"24"_s << source << u"28000"_s
                         << u"64"_s << 1;
    QTest::newRow("Mp4HighQuality") << OutputFormat::Mp4HighQuality << u"1200"_s << u"29"_s
                                    << source << u"48000"_s << u"320"_s << 1;
    QTest::newRow("Mov") << OutputFormat::Mov << u"256"_s << u"29"_s << source << u"48000"_s
                         << u"64"_s << 1;
    QTest::newRow("Mp4Mobile") << OutputFormat::Mp4Mobile << u"128"_s << u"29"_s << u"320x240"_s
                               << u"8000"_s << u"12.2"_s << 0;
    QTest::newRow("ThreeGpMobile") << OutputFormat::ThreeGpMobile << u"128"_s << u"29"_s
                                   << u"320x240"_s << u"8000"_s << u"12.2"_s << 0;
    // The typed picture values below survive an audio-only format.
    QTest::newRow("Mp3Audio keeps picture values")
        << OutputFormat::Mp3Audio << u" typed vb"_s << u"typed fps "_s << u"typed size"_s
        << u"48000"_s << u"320"_s << 1;
    QTest::newRow("H264Mp4") << OutputFormat::H264Mp4 << u"自动(按质量)"_s << u"原始帧率"_s
                             << source << u"48000"_s << u"160"_s << 1;
    QTest::newRow("HevcMp4") << OutputFormat::HevcMp4 << u"自动(按质量)"_s << u"原始帧率"_s
                             << source << u"48000"_s << u"160"_s << 1;
    QTest::newRow("Vp9Webm") << OutputFormat::Vp9Webm << u"自动(按质量)"_s << u"原始帧率"_s
                             << source << u"48000"_s << u"128"_s << 1;
}

void TestOutputFormats::selectFormat()
{
    QFETCH(OutputFormat, format);
    QFETCH(QString, videoBitrate);
    QFETCH(QString, frameRate);
    QFETCH(QString, size);
    QFETCH(QString, audioRate);
    QFETCH(QString, audioBitrate);
    QFETCH(int, channelIndex);

    ConversionSettings settings;
    settings.format = OutputFormat::Mov;
    settings.videoBitrate = u" typed vb"_s;
    settings.frameRate = u"typed fps "_s;
    settings.size = u"typed size"_s;
    settings.audioRate = u"typed rate"_s;
    settings.audioBitrate = u"typed bitrate"_s;
    settings.channelIndex = -1;
    settings.outputFolder = u"E:\\out"_s;

    settings.selectFormat(format);
    QCOMPARE(settings.format, format);
    QCOMPARE(settings.videoBitrate, videoBitrate);
    QCOMPARE(settings.frameRate, frameRate);
    QCOMPARE(settings.size, size);
    QCOMPARE(settings.audioRate, audioRate);
    QCOMPARE(settings.audioBitrate, audioBitrate);
    QCOMPARE(settings.channelIndex, channelIndex);
    QCOMPARE(settings.outputFolder, u"E:\\out"_s);
}

void TestOutputFormats::channelCount_data()
{
    QTest::addColumn<int>("channelIndex");
    QTest::addColumn<QString>("channels");

    QTest::newRow("typed text, nothing selected") << -1 << u"0"_s;
    QTest::newRow("mono") << 0 << u"1"_s;
    QTest::newRow("stereo") << 1 << u"2"_s;
}

void TestOutputFormats::channelCount()
{
    QFETCH(int, channelIndex);
    QFETCH(QString, channels);
    ConversionSettings settings;
    settings.channelIndex = channelIndex;
    QCOMPARE(settings.text(Parameter::Channels), channels);
}

// A parameter's text is its own: it comes back as given, leaves the others
// as they were, and only its own entry leaves it to the source.
void TestOutputFormats::parameterText_data()
{
    QTest::addColumn<Parameter>("parameter");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("leftToSource");

    QTest::newRow("size") << Parameter::Size << u" 640x480"_s << false;
    QTest::newRow("source size") << Parameter::Size << u"原始大小"_s << true;
    QTest::newRow("video bitrate") << Parameter::VideoBitrate << u"600"_s << false;
    QTest::newRow("quality") << Parameter::VideoBitrate << u"自动(按质量)"_s << true;
    QTest::newRow("source frame rate") << Parameter::FrameRate << u"原始帧率"_s << true;
    QTest::newRow("frame rate, another's entry") << Parameter::FrameRate << u"原始大小"_s << false;
    QTest::newRow("audio rate") << Parameter::AudioRate << u"44100"_s << false;
    QTest::newRow("audio bitrate") << Parameter::AudioBitrate << u"12.2"_s << false;
    QTest::newRow("channels") << Parameter::Channels << u"2"_s << false;
}

void TestOutputFormats::parameterText()
{
    QFETCH(Parameter, parameter);
    QFETCH(QString, text);
    QFETCH(bool, leftToSource);
    const ConversionSettings before;
    ConversionSettings settings;
    settings.setText(parameter, text);
    QCOMPARE(settings.text(parameter), text);
    QCOMPARE(settings.leftToSource(parameter), leftToSource);
    for (const Parameter other : AllParameters) {
        if (other != parameter)
            QCOMPARE(settings.text(other), before.text(other));
    }
}

QTEST_GUILESS_MAIN(TestOutputFormats)
#include "tst_outputformats.moc"
